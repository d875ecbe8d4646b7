#include "CStateItems.h"

#include "CEnumTemplate.h"
#include "ELocked.h"
#include "EOnOff.h"
#include "EPresent.h"

using namespace LumoraMeasurement;

namespace
{

enum EFamily
{
    eFamily_Locked,
    eFamily_OnOff,
    eFamily_Present,
};

struct SStateRow
{
    EMeasurementItems m_eItem;
    EFamily m_eFamily;
};

// The same items the library shows as state texts.
constexpr SStateRow c_StateRows[] = {
    {eMeasItem_InternalReference, eFamily_Locked}, {eMeasItem_DemodLock, eFamily_Locked},
    {eMeasItem_MPEGLock, eFamily_Locked},          {eMeasItem_PLPLock, eFamily_Locked},
    {eMeasItem_FICLock, eFamily_Locked},           {eMeasItem_VisionDetector, eFamily_Locked},
    {eMeasItem_DecodeLock, eFamily_Locked},        {eMeasItem_PLCLock, eFamily_Locked},
    {eMeasItem_Preamplifier, eFamily_OnOff},       {eMeasItem_Preselector, eFamily_OnOff},
    {eMeasItem_FM1SoundCarrier, eFamily_Present},  {eMeasItem_FM2SoundCarrier, eFamily_Present},
};

template <typename E> QVector<QString> WordsOf(E eEnd)
{
    QVector<QString> vWords;
    for (int i = 0; i < static_cast<int>(eEnd); ++i)
    {
        vWords.append(CEnumTemplate<E>::ToString(static_cast<E>(i)));
    }
    return vWords;
}

} // namespace

bool CStateItems::GetWords(EMeasurementItems eItem, QVector<QString>& vWords)
{
    for (const SStateRow& row : c_StateRows)
    {
        if (row.m_eItem != eItem)
        {
            continue;
        }
        switch (row.m_eFamily)
        {
        case eFamily_Locked:
            vWords = WordsOf(eLocked_None);
            break;
        case eFamily_OnOff:
            vWords = WordsOf(eOnOff_None);
            break;
        case eFamily_Present:
            vWords = WordsOf(ePresent_None);
            break;
        }
        return true;
    }
    return false;
}

int CStateItems::GetStateIndex(const QVector<QString>& vWords, const QString& sText)
{
    const QString sTrimmed = sText.trimmed();
    bool bOk = false;
    const double dNumber = sTrimmed.toDouble(&bOk);
    if (bOk)
    {
        const int iIndex = static_cast<int>(dNumber);
        return iIndex == dNumber && iIndex >= 0 && iIndex < vWords.size() ? iIndex : -1;
    }
    for (int i = 0; i < vWords.size(); ++i)
    {
        if (vWords.at(i).compare(sTrimmed, Qt::CaseInsensitive) == 0)
        {
            return i;
        }
    }
    return -1;
}
