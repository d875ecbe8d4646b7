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

// Each lookup is made before main(); the names of those that gave a wrong answer.
const QStringList g_lFailed = []
{
    QStringList lFailed;
    const auto Expect = [&lFailed](bool bOk, const char* pszWhat)
    {
        if (!bOk)
        {
            lFailed << QString::fromLatin1(pszWhat);
        }
    };
    Expect(CEnumTemplate<ETVStandards>::ToString(eTVStandard_DVBT2) == "DVB-T2 (digital)",
           "enum text");
    Expect(CEnumTemplate<ETVStandards>::ToEnum(13) == eTVStandard_DTMB, "enum from id");
    Expect(CEnumTemplate<ETVStandards>::ToStringList().size() == 23, "row count");
    EUnitTypes eUnit = eUnitType_None;
    Expect(CConverter::UnitIsValid(QStringLiteral("6.9 MSymb/s"), eUnit) &&
               eUnit == eUnitType_MSymbolPerSec,
           "unit spelling");
    Expect(CConverter::GetFrequencyString(474000000, 3, true) == "474.000 MHz", "scale table");
    Expect(CEnumConverter::ConvertToEMeasurementItems(QStringLiteral("mer (rms) [db]")) ==
               eMeasItem_MERRMSdB,
           "profile names");
    CMeasurementItem cell(eMeasItem_MERRMSdB);
    cell.Set(32.5, eUnitType_None);
    Expect(cell.ToString() == "32.5 dB", "measurement cell");
    return lFailed;
}();

} // namespace

int main()
{
    for (const QString& sFailed : g_lFailed)
    {
        std::fprintf(stderr, "static initialisation order: %s\n", qPrintable(sFailed));
    }
    return g_lFailed.isEmpty() ? 0 : 1;
}
