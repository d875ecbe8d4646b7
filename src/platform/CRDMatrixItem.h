#pragma once

#include "MainDataAccess_export.h"

#include <QString>

namespace OrvelFramework
{

/// One tile of the result matrix: a palette index, the detail text and the label.
class MDA_EXPORT CRDMatrixItem
{
public:
    CRDMatrixItem(short iIndex, const QString& sText, const QString& sName)
        : m_iIndex(iIndex), m_sText(sText), m_sName(sName)
    {
    }

    short GetIndex() const { return m_iIndex; }
    const QString& GetText() const { return m_sText; }
    const QString& GetName() const { return m_sName; }

private:
    short m_iIndex;
    QString m_sText;
    QString m_sName;
};

} // namespace OrvelFramework
