// Fuzzes the value and unit text parsers with any UTF-8 text: unit recognition, number
// reading and the frequency and symbol-rate readers. Beyond "no crash": every unit text the
// library writes is recognised as that unit, and a text a reader rewrote reads back to the
// same number.

#include "CConverter.h"
#include "FuzzTools.h"

#include <algorithm>
#include <cmath>

using namespace LumoraMeasurement;

namespace
{

using TReader = double (*)(QString&, bool&);

void CheckRewrittenTextReadsBack(TReader pRead, const QString& sInput, const char* sWhat)
{
    QString sText = sInput;
    bool bOk = false;
    const double dValue = pRead(sText, bOk);
    if (!bOk)
    {
        MDA_FUZZ_CHECK(sText == sInput, std::string(sWhat) + ": a refused text was changed");
        return;
    }
    if (!std::isfinite(dValue))
    {
        return;
    }
    QString sAgain = sText;
    bool bAgain = false;
    const double dAgain = pRead(sAgain, bAgain);
    MDA_FUZZ_CHECK(bAgain, std::string(sWhat) + ": rewritten text refused: " + sText.toStdString());
    // The readers work in single precision and write eight decimals of the text's unit, so a
    // text read back may differ in the last float digit or by half the eighth decimal of GHz.
    const double dTolerance = std::max(std::fabs(dValue) * 1e-6, 5.0);
    MDA_FUZZ_CHECK(std::fabs(dAgain - dValue) <= dTolerance,
                   std::string(sWhat) + ": " + sInput.toStdString() + " -> " + sText.toStdString() +
                       " reads " + std::to_string(dAgain) + ", not " + std::to_string(dValue));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t uiSize)
{
    MdaFuzz::Home();
    const QString sInput =
        QString::fromUtf8(reinterpret_cast<const char*>(pData), static_cast<int>(uiSize));

    EUnitTypes eUnit = eUnitType_None;
    if (CConverter::UnitIsValid(sInput, eUnit) && eUnit != eUnitType_None)
    {
        const QString sUnit = CConverter::GetUnitString(eUnit);
        EUnitTypes eAgain = eUnitType_None;
        MDA_FUZZ_CHECK(CConverter::UnitIsValid(QStringLiteral("1 ") + sUnit, eAgain) &&
                           eAgain == eUnit,
                       "unit text " + sUnit.toStdString() + " is not recognised as itself");
        MDA_FUZZ_CHECK(CConverter::GetUnit(sInput) == sUnit, "GetUnit disagrees with UnitIsValid");
    }

    QString sNumber = sInput;
    const double dNumber = CConverter::getORVELFloat(sNumber);
    CConverter::ConvertValue(sInput, eUnitType_Hz);
    CConverter::ConvertValueMeasurement(sInput, eUnitType_dBuV);
    CConverter::ConvertValue(sInput, QStringLiteral("dBm"), QStringLiteral("dBmV"));
    CConverter::ConvertToUnit(sInput, eUnitType_dBmV, eUnitType_dBm, 75);
    QString sOld = sInput;
    CConverter::GetOldLumoraPower(sOld);

    CheckRewrittenTextReadsBack(&CConverter::Convert2Hz, sInput, "Convert2Hz");
    CheckRewrittenTextReadsBack(&CConverter::Convert2Symbols, sInput, "Convert2Symbols");

    // The scaled writers' texts must be readable by their readers.
    if (std::isfinite(dNumber))
    {
        QString sHz = CConverter::GetFrequencyString(dNumber, 8, true);
        CheckRewrittenTextReadsBack(&CConverter::Convert2Hz, sHz, "frequency text");
        QString sRate = CConverter::GetSymbolRateString(dNumber, 8, true);
        CheckRewrittenTextReadsBack(&CConverter::Convert2Symbols, sRate, "symbol rate text");
        CConverter::GetBitString(dNumber, 3, true);
    }
    return 0;
}
