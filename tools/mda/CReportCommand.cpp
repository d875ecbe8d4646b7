#include "CReportCommand.h"

#include "CComparativeValueDataItem.h"
#include "CConverter.h"
#include "CEnumTemplate.h"
#include "CJudgedSession.h"
#include "CMatrixStateColorHandler.h"
#include "CMeasurementData.h"
#include "CRDMatrixData.h"
#include "CReportRenderer.h"
#include "CSessionDigest.h"
#include "CTileLegend.h"
#include "CToolContext.h"
#include "CValueFactory.h"
#include "ETVStandards.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

using namespace LumoraMeasurement;

namespace
{

// The key items of a channel, drawn after those with violations or errors, in this order.
const EMeasurementItems c_aKeyItems[] = {
    eMeasItem_Power,
    eMeasItem_VisionCarrierLevel,
    eMeasItem_MERRMSdB,
    eMeasItem_BERBeforeRS,
    eMeasItem_SNVideoWeightedBar,
    eMeasItem_MEROverallRMS,
    eMeasItem_SignalPowerPer6MHz,
};
constexpr int c_iCurvesPerChannel = 6;

double AsNumber(const QVariant& value)
{
    bool bOk = false;
    const double d = value.toDouble(&bOk);
    if (bOk)
    {
        return d;
    }
    QString sText = value.toString();
    return CConverter::getORVELFloat(sText);
}

// Error ratios span decades: they are drawn on a log axis.
bool IsRatio(const QString& sItemName)
{
    return sItemName.startsWith(QStringLiteral("BER")) ||
           sItemName.contains(QStringLiteral("Error Ratio"));
}

SReportCurve MakeCurve(EMeasurementItems eItem, const CSessionDigest::SItem& item,
                       const CJudgedSession& session, double dPowerOffset)
{
    SReportCurve curve;
    curve.m_sItemName = CEnumTemplate<EMeasurementItems>::ToString(eItem);
    curve.m_sUnit = CConverter::GetUnitString(CValueFactory::MeasurementItem_GetItemUnit(eItem));
    curve.m_bLogAxis = IsRatio(curve.m_sItemName);
    curve.m_lViolations = item.m_lViolations;
    curve.m_lErrors = item.m_lErrors;
    for (const CSessionDigest::SPoint& p : item.m_vPoints)
    {
        SReportPoint point;
        point.m_dScanIndex = static_cast<double>(p.m_lScanIndex);
        point.m_dValue = p.m_dValue;
        QString sTitle =
            QStringLiteral("scan %1, %2: ").arg(p.m_lScanId).arg(session.ScanTime(p.m_lScanId));
        switch (p.m_eJudgement)
        {
        case eJudgement_Violation:
            point.m_eKind = SReportPoint::eKind_Violation;
            sTitle += p.m_sValue + QStringLiteral(" — limit violation: ") + p.m_sText;
            break;
        case eJudgement_Error:
            point.m_eKind = SReportPoint::eKind_Error;
            sTitle += QStringLiteral("measurement error: ") + p.m_sText;
            break;
        default:
            sTitle += p.m_sValue;
            break;
        }
        if (point.m_eKind != SReportPoint::eKind_Error && !p.m_bHasNumber)
        {
            continue;
        }
        point.m_sTitle = sTitle;
        curve.m_vPoints.append(point);
    }
    const CComparativeValueDataItem& limit = session.Limits().GetItem(eItem);
    const double dOffset = eItem == eMeasItem_Power ? dPowerOffset : 0.0;
    const ECompareType eType = limit.GetCompareType();
    curve.m_bHasLow = eType == eCompareType_Between || eType == eCompareType_Higher;
    curve.m_bHasHigh = eType == eCompareType_Between || eType == eCompareType_Lower;
    curve.m_dLow = AsNumber(limit.GetLowValue()) + dOffset;
    curve.m_dHigh = AsNumber(limit.GetHighValue()) + dOffset;
    return curve;
}

} // namespace

int CReportCommand::Run(const QStringList& arguments)
{
    CToolContext context(QStringLiteral("report"), QStringLiteral("SESSION"),
                         QStringLiteral("Writes the report of a stored session as one HTML file "
                                        "that opens without any network."));
    context.AddDatabaseOptions();
    context.AddSessionOptions();
    context.Parser().addOption(QCommandLineOption({QStringLiteral("o"), QStringLiteral("output")},
                                                  QStringLiteral("The HTML file to write."),
                                                  QStringLiteral("file")));
    int iExit = 0;
    if (!context.Parse(arguments, 1, iExit))
    {
        return iExit;
    }
    const QString sOutput = context.Value(QStringLiteral("o"));
    if (sOutput.isEmpty())
    {
        return context.Fail(QStringLiteral("-o FILE is required"));
    }
    CJudgedSession session;
    if (!context.OpenSession(session, iExit))
    {
        return iExit;
    }
    const long lSessionId = session.SessionId();
    QString sReason;
    context.Progress(QStringLiteral("report: judging session %1 ...").arg(lSessionId));
    CSessionDigest digest;
    if (!digest.Build(session, true, sReason))
    {
        context.Progress(QString());
        return context.Fail(sReason);
    }
    context.Progress(QStringLiteral("report: drawing ..."));

    SReportData report;
    for (long lScanId : session.ScanIds())
    {
        report.m_vScanIds.append(lScanId);
        report.m_vScanTimes.append(session.ScanTime(lScanId));
    }
    const std::vector<OrvelFramework::CRDColor> palette =
        CMatrixStateColorHandler().GetMatrixStateColors();
    for (int i = 0; i < static_cast<int>(palette.size()); ++i)
    {
        const auto& colour = palette[static_cast<size_t>(i)];
        report.m_vLegend.append({colour.GetRed(), colour.GetGreen(), colour.GetBlue(),
                                 CTileLegend::Colour(i), CTileLegend::Meaning(i)});
    }
    OrvelFramework::CRDMatrixData matrix;
    digest.CreateChannelMatrixData(session, matrix);
    const auto& channels = digest.Channels();
    for (int i = 0; i < matrix.GetItemCount(); ++i)
    {
        const OrvelFramework::CRDMatrixItem& tile = matrix.GetItem(i);
        const size_t uIndex =
            std::min(static_cast<size_t>(std::max<short>(0, tile.GetIndex())), palette.size() - 1);
        SReportTile reportTile;
        reportTile.m_sName = tile.GetName();
        reportTile.m_ucRed = palette[uIndex].GetRed();
        reportTile.m_ucGreen = palette[uIndex].GetGreen();
        reportTile.m_ucBlue = palette[uIndex].GetBlue();
        reportTile.m_iPaletteIndex = tile.GetIndex();
        reportTile.m_sDetail = tile.GetText();
        if (static_cast<size_t>(i) < channels.size())
        {
            reportTile.m_lViolations = channels[static_cast<size_t>(i)].m_lViolations;
            reportTile.m_lErrors = channels[static_cast<size_t>(i)].m_lErrors;
        }
        report.m_vTiles.append(reportTile);
    }

    for (size_t r = 0; r < channels.size(); ++r)
    {
        const long lRow = static_cast<long>(r);
        const CSessionDigest::SChannel& digestChannel = channels[r];
        const ETVStandards eStandard = session.Channels().GetTvStandard(lRow);
        const double dPowerOffset = session.Reader().PowerLimitOffset(lRow);
        SReportChannel channel;
        channel.m_sName = session.ChannelName(lRow);
        channel.m_sStandard = CEnumTemplate<ETVStandards>::ToString(eStandard);
        channel.m_sSummary =
            QStringLiteral("%1 values judged, %2 limit violations, %3 measurement errors; power "
                           "limit offset %4 dB")
                .arg(digestChannel.m_lJudged)
                .arg(digestChannel.m_lViolations)
                .arg(digestChannel.m_lErrors)
                .arg(dPowerOffset);
        for (CSessionDigest::EScanStatus eStatus : digestChannel.m_vScanStatus)
        {
            channel.m_vScanStatus.append(static_cast<int>(eStatus));
        }

        // Items with violations or errors first (most first), then the key items.
        std::vector<std::pair<long, EMeasurementItems>> chosen;
        for (const auto& entry : digestChannel.m_Items)
        {
            const long lBad = entry.second.m_lViolations + entry.second.m_lErrors;
            const EMeasurementItems eItem = CEnumTemplate<EMeasurementItems>::ToEnum(entry.first);
            if (lBad > 0 && eItem != eMeasItem_None)
            {
                chosen.emplace_back(lBad, eItem);
            }
        }
        std::stable_sort(chosen.begin(), chosen.end(),
                         [](const auto& a, const auto& b) { return a.first > b.first; });
        std::vector<EMeasurementItems> items;
        for (const auto& entry : chosen)
        {
            items.push_back(entry.second);
        }
        const QList<EMeasurementItems> supported =
            CMeasurementData::GetSupportedMeasValuesOnly(eStandard);
        for (EMeasurementItems eItem : c_aKeyItems)
        {
            if (supported.contains(eItem) &&
                std::find(items.begin(), items.end(), eItem) == items.end())
            {
                items.push_back(eItem);
            }
        }
        for (EMeasurementItems eItem : items)
        {
            if (channel.m_vCurves.size() >= c_iCurvesPerChannel)
            {
                break;
            }
            const auto it =
                digestChannel.m_Items.find(CEnumTemplate<EMeasurementItems>::ToId(eItem));
            if (it == digestChannel.m_Items.end())
            {
                continue;
            }
            channel.m_vCurves.append(MakeCurve(eItem, it->second, session, dPowerOffset));
        }
        report.m_vChannels.append(channel);
    }

    const CDBSessionData& data = session.Reader().Session();
    QString sSite;
    QString sTestPoint;
    data.GetSessionLocationData(sSite, sTestPoint);
    report.m_sTitle = QStringLiteral("Measurement session %1").arg(lSessionId);
    const bool bOwnFiles = context.Value(QStringLiteral("channels")).isEmpty() &&
                           context.Value(QStringLiteral("limits")).isEmpty();
    report.m_sSubtitle =
        QStringLiteral("%1 — %2, %3; %4 scans of %5 channels, %6 limit violations; first run %7, "
                       "last run %8. Judged with %9.")
            .arg(data.Description(), sSite, sTestPoint)
            .arg(static_cast<long>(session.ScanIds().size()))
            .arg(channels.size())
            .arg(digest.Violations())
            .arg(data.FirstRun(), data.LastRun(),
                 bOwnFiles ? QStringLiteral("the channel table and limits stored with the session")
                           : QStringLiteral("files given on the command line"));
    if (digest.OrphanRows() > 0)
    {
        report.m_sSubtitle += QStringLiteral(" %1 stored values belong to no channel of the table "
                                             "or to no stored scan.")
                                  .arg(digest.OrphanRows());
    }

    // A full disk can take part of a write without an error.
    const QByteArray html = CReportRenderer::RenderHtml(report).toUtf8();
    QFile file(sOutput);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(html) != html.size() ||
        !file.flush())
    {
        context.Progress(QString());
        return context.Fail(
            QStringLiteral("cannot write '%1': %2").arg(sOutput, file.errorString()));
    }
    context.Progress(QString());
    return CToolContext::c_iExitOk;
}
