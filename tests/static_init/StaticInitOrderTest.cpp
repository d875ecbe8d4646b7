// Reads the tables from a static constructor that runs before the library's own static
// initialisation (this object is linked ahead of the library objects). A table built by a
// plain static initialiser would still be empty here.
#include "CConverter.h"
#include "CEnumConverter.h"
#include "CEnumTemplate.h"
#include "CMeasurementItem.h"
#include "CValueFactory.h"
#include "ETVStandards.h"

#include <cstdio>

using namespace LumoraMeasurement;

namespace
{

struct SEarlyReader
{
    QString m_sText;
    ETVStandards m_eFromId;
    int m_iRows;
    EUnitTypes m_eUnit = eUnitType_None;
    bool m_bUnitValid = false;
    QString m_sFrequency;
    EMeasurementItems m_eItem;
    QString m_sCell;

    SEarlyReader()
        : m_sText(CEnumTemplate<ETVStandards>::ToString(eTVStandard_DVBT2)),
          m_eFromId(CEnumTemplate<ETVStandards>::ToEnum(13)),
          m_iRows(CEnumTemplate<ETVStandards>::ToStringList().size()),
          m_sFrequency(CConverter::GetFrequencyString(474000000, 3, true)),
          m_eItem(CEnumConverter::ConvertToEMeasurementItems(QStringLiteral("mer (rms) [db]")))
    {
        m_bUnitValid = CConverter::UnitIsValid(QStringLiteral("6.9 MSymb/s"), m_eUnit);
        CMeasurementItem cell(eMeasItem_MERRMSdB);
        cell.Set(32.5, eUnitType_None);
        m_sCell = cell.ToString();
    }
};

SEarlyReader g_EarlyReader;

int Check(bool bOk, const char* pszWhat)
{
    if (!bOk)
    {
        std::fprintf(stderr, "static initialisation order: %s\n", pszWhat);
    }
    return bOk ? 0 : 1;
}

} // namespace

int main()
{
    int failures = 0;
    failures += Check(g_EarlyReader.m_sText == QStringLiteral("DVB-T2 (digital)"), "enum text");
    failures += Check(g_EarlyReader.m_eFromId == eTVStandard_DTMB, "enum from id");
    failures += Check(g_EarlyReader.m_iRows == 23, "row count");
    failures += Check(g_EarlyReader.m_bUnitValid && g_EarlyReader.m_eUnit == eUnitType_MSymbolPerSec,
                      "unit spelling");
    failures += Check(g_EarlyReader.m_sFrequency == QStringLiteral("474.000 MHz"), "scale table");
    failures += Check(g_EarlyReader.m_eItem == eMeasItem_MERRMSdB, "profile names");
    failures += Check(g_EarlyReader.m_sCell == QStringLiteral("32.5 dB"), "measurement cell");
    std::printf("%d passed, %d failed\n", 7 - failures, failures);
    return failures == 0 ? 0 : 1;
}
