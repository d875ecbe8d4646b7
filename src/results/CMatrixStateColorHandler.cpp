#include "CMatrixStateColorHandler.h"

#include "CChannelTableData.h"
#include "CDBMeasurementController.h"
#include "CEnumTemplate.h"
#include "EMeasurementItemState.h"
#include "ESettingsItems.h"

#include <limits>
#include <set>

using OrvelFramework::CRDColor;
using OrvelFramework::CRDMatrixData;

namespace LumoraMeasurement
{

namespace
{

struct SPaletteRow
{
    unsigned char m_ucRed;
    unsigned char m_ucGreen;
    unsigned char m_ucBlue;
};

// Index 0 first: OK, not measured, error, then yellow to red by rising violation rate.
constexpr SPaletteRow c_Palette[] = {
    {0, 255, 0},     // OK
    {192, 192, 192}, // not measured
    {220, 0, 255},   // error
    {255, 255, 0},   // violation, lowest rate
    {255, 225, 0},   {255, 200, 0}, {255, 175, 0}, {255, 150, 0}, {255, 125, 0}, {255, 100, 0},
    {255, 75, 0},    {255, 50, 0},  {255, 25, 0},  {255, 0, 0}, // violation, highest rate
};

constexpr short c_iPaletteSize = static_cast<short>(sizeof(c_Palette) / sizeof(c_Palette[0]));
constexpr short c_iLastPaletteIndex = c_iPaletteSize - 1;
// Only this many of the most recent scans count for the rate when asked for.
constexpr long c_lRecentScanCount = 12;

const QString& CutMarker()
{
    static const QString s_sMarker = QStringLiteral("\n  ...");
    return s_sMarker;
}

} // namespace

CMatrixStateColorHandler::CMatrixStateColorHandler() = default;

CMatrixStateColorHandler::~CMatrixStateColorHandler() = default;

std::vector<CRDColor> CMatrixStateColorHandler::GetMatrixStateColors() const
{
    std::vector<CRDColor> colors;
    colors.reserve(c_iPaletteSize);
    for (const SPaletteRow& row : c_Palette)
    {
        colors.emplace_back(row.m_ucRed, row.m_ucGreen, row.m_ucBlue);
    }
    return colors;
}

short CMatrixStateColorHandler::DoGetRateIndex(double dRate, bool bRecentScansOnly) const
{
    const short iSteps = c_iPaletteSize - m_iGradientBaseIndex;
    double dSum = 0.0;
    for (short k = 1; k < iSteps; ++k)
    {
        dSum += bRecentScansOnly ? 0.1 : k / 100.0;
        if (dSum >= dRate)
        {
            return static_cast<short>(m_iGradientBaseIndex + k);
        }
    }
    return c_iLastPaletteIndex;
}

bool CMatrixStateColorHandler::DoCreateChannelMatrixData(
    CRDMatrixData& matrix, CDBMeasurementController& controller,
    std::vector<CDBMeasurement>& measurements, CChannelTableData& channelTable, long lSessionId,
    long lScanCount, bool bRecentScansOnly, bool bLoadSessionErrors)
{
    if (lSessionId < 1)
    {
        return true;
    }
    matrix.Clear();
    if (bLoadSessionErrors && !controller.GetAllErrorsForSession(lSessionId, measurements))
    {
        return false;
    }

    const long lFirstCountedScan = bRecentScansOnly ? lScanCount - c_lRecentScanCount : 0;
    const long lWindow = lFirstCountedScan > 0 ? lScanCount - lFirstCountedScan : lScanCount;
    const long lDivisor = lWindow > 1 ? lWindow - 1 : lWindow;

    // One pass over the records instead of one per channel; list order is kept per channel.
    const long lRowCount = channelTable.GetRowCount();
    std::vector<std::vector<const CDBMeasurement*>> byChannel(static_cast<size_t>(lRowCount));
    for (const CDBMeasurement& m : measurements)
    {
        if (m.GetChannelId() >= 0 && m.GetChannelId() < lRowCount)
        {
            byChannel[static_cast<size_t>(m.GetChannelId())].push_back(&m);
        }
    }

    const QString sNameColumn = CEnumTemplate<ESettingsItems>::ToString(eSettingsItem_ChannelName);
    for (long r = 0; r < lRowCount; ++r)
    {
        const QString sName = channelTable.GetValue(r, sNameColumn);
        const long lValues = controller.GetAmountOfMeasurementValuesForChannel(lSessionId, r);
        if (lValues < 0)
        {
            // A count the database could not give is no "not measured".
            matrix.Clear();
            return false;
        }
        if (lValues == 0)
        {
            matrix.AppendMatrixItem(m_iNotMeasuredIndex, QString(), sName);
            continue;
        }

        short iColor = m_iOkIndex;
        QString sDetails;
        long lLineBreaks = 0;
        long lViolations = 0;
        std::set<long> violatedScans;
        for (const CDBMeasurement* pM : byChannel[static_cast<size_t>(r)])
        {
            const EMeasurementItemState eState =
                CEnumTemplate<EMeasurementItemState>::ToEnum(pM->GetMeasurementState());
            if (eState == eMeasurementItemState_Error)
            {
                if (iColor <= m_iErrorIndex)
                {
                    iColor = m_iErrorIndex;
                }
            }
            else if (eState == eMeasurementItemState_OutOfRange)
            {
                ++lViolations;
                if (pM->GetScanId() >= lFirstCountedScan)
                {
                    violatedScans.insert(pM->GetScanId());
                }
                if (lLineBreaks >= m_lDetailLineLimit)
                {
                    if (!sDetails.contains(CutMarker()))
                    {
                        sDetails += CutMarker();
                        ++lLineBreaks;
                    }
                }
                else
                {
                    const QString sLine =
                        QStringLiteral("\n  Limit violation at ScanID %1: ").arg(pM->GetScanId()) +
                        pM->GetErrorDescription();
                    lLineBreaks += sLine.count(QLatin1Char('\n'));
                    sDetails += sLine;
                }
            }
        }

        QString sText =
            QStringLiteral("Channel ") + sName + QStringLiteral("\n----------------------------");
        if (lViolations > 0)
        {
            sText += QStringLiteral("\nTotal limit violation count: %1\n").arg(lViolations);
            iColor = m_iViolationIndex;
        }
        sText += sDetails;

        const double dViolated = static_cast<double>(violatedScans.size());
        // No scan to divide by: any violated scan is the highest rate.
        const double dRate = lDivisor > 0
                                 ? dViolated / static_cast<double>(lDivisor)
                                 : (dViolated > 0 ? std::numeric_limits<double>::infinity() : 0.0);
        if (dRate > 0)
        {
            iColor = DoGetRateIndex(dRate, bRecentScansOnly);
        }
        matrix.AppendMatrixItem(iColor, sText, sName);
    }
    return true;
}

} // namespace LumoraMeasurement
