#pragma once

#include "MainDataAccess_export.h"

#include <QString>

namespace OrvelFramework
{

/// One tile of the result matrix: a palette index, the detail text and the label.
class MDA_EXPORT CRDMatrixItem
{
public:
    /// A tile with palette index iIndex, detail text sText and label sName.
    CRDMatrixItem(short iIndex, const QString& sText, const QString& sName)
        : m_iIndex(iIndex), m_sText(sText), m_sName(sName)
    {
    }

    /// The palette index (the colour handler's state index).
    short GetIndex() const { return m_iIndex; }
    /// The detail text.
    const QString& GetText() const { return m_sText; }
    /// The label.
    const QString& GetName() const { return m_sName; }

private:
    short m_iIndex;
    QString m_sText;
    QString m_sName;
};

} // namespace OrvelFramework
