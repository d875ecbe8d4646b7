#pragma once

#include "MainDataAccess_export.h"

#include <QString>

namespace LumoraMeasurement
{

/// One problem that CDocumentCheck found in a configuration document: where it is and what a
/// person should know about it.
struct MDA_EXPORT SDocumentFinding
{
    /// The document's path.
    QString m_sFile;
    /// 1-based; 0 when not known.
    int m_iLine = 0;
    /// 1-based; 0 when not known.
    int m_iColumn = 0;
    /// The field, e.g. ComparativeValues[3].LowValue; empty for the document as a whole.
    QString m_sJsonPath;
    /// What is wrong, for a person.
    QString m_sMessage;

    /// "<file>:<line>:<column>: <message>" on one line.
    QString ToString() const;
};

} // namespace LumoraMeasurement
