#pragma once

#include "CTableBase.h"

namespace OrvelFramework
{

/// Copies of the limit files a session was measured with: content, hash and the moment of
/// registration, one row per registration, keyed by the row id.
class CTableExportedLimitValues : public CTableBase
{
public:
    explicit CTableExportedLimitValues(CDatabaseMultiInstance& db);

    static inline const QString c_sColumnFile = QStringLiteral("file");
    static inline const QString c_sColumnHash = QStringLiteral("hash");
    static inline const QString c_sColumnAdded = QStringLiteral("added");

    /// lId receives the row id, the key of Get().
    bool Create(const TableRows& row, long& lId);
    /// Pairs file, hash, added of the row whose id is the decimal key; empty when none.
    TableRows Get(const QString& sKey);

public:
    /// The lowest id of a row holding exactly this hash and content; 0 when there is none.
    bool FindFile(const QString& sHash, const QString& sFile, long& lId);
};

} // namespace OrvelFramework
