#include "CReportCommand.h"

#include "CComparativeValueDataItem.h"
#include "CConverter.h"
#include "CCountText.h"
#include "CEnumTemplate.h"
#include "CJudgedSession.h"
#include "CMatrixStateColorHandler.h"
#include "CMeasurementData.h"
#include "CRDMatrixData.h"
#include "CReportRenderer.h"
#include "CSessionDigest.h"
#include "CStateItems.h"
#include "CTileLegend.h"
#include "CToolContext.h"
#include "CValueFactory.h"
#include "ETVStandards.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSaveFile>

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

// Scan times as one sortable text, where the stored text reads as a date and time.
QString NormalTime(const QString& sStored)
{
    QDateTime when = QDateTime::fromString(sStored, Qt::ISODate);
    if (!when.isValid())
    {
        when = QDateTime::fromString(sStored, Qt::TextDate);
    }
    if (!when.isValid())
    {
        when = QDateTime::fromString(sStored, QStringLiteral("dd.MM.yyyy hh:mm:ss"));
    }
    return when.isValid() ? when.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")) : sStored;
}

SReportCurve MakeCurve(EMeasurementItems eItem, const CSessionDigest::SItem& item,
                       const CJudgedSession& session, double dPowerOffset)
{
    SReportCurve curve;
    curve.m_sItemName = CEnumTemplate<EMeasurementItems>::ToString(eItem);
    curve.m_sUnit = CConverter::GetUnitString(CValueFactory::MeasurementItem_GetItemUnit(eItem));
    curve.m_bState = CStateItems::GetWords(eItem, curve.m_vStateWords);
    curve.m_bLogAxis = !curve.m_bState && IsRatio(curve.m_sItemName);
    curve.m_lViolations = item.m_lViolations;
    curve.m_lErrors = item.m_lErrors;
    for (const CSessionDigest::SPoint& p : item.m_vPoints)
    {
        SReportPoint point;
        point.m_dScanIndex = static_cast<double>(p.m_lScanIndex);
        point.m_dValue = p.m_dValue;
        bool bHasValue = p.m_bHasNumber;
        if (curve.m_bState)
        {
            const int iState = CStateItems::GetStateIndex(
                curve.m_vStateWords, p.m_bHasNumber ? QString::number(p.m_dValue) : p.m_sValue);
            bHasValue = iState >= 0;
            point.m_dValue = iState;
        }
        switch (p.m_eJudgement)
        {
        case eJudgement_Violation:
            point.m_eKind = SReportPoint::eKind_Violation;
            point.m_sTitle = QStringLiteral("limit violation: ") + p.m_sText;
            break;
        case eJudgement_Error:
            point.m_eKind = SReportPoint::eKind_Error;
            point.m_sTitle = QStringLiteral("measurement error: ") + p.m_sText;
            break;
        default:
            break;
        }
        if (point.m_eKind != SReportPoint::eKind_Error && !bHasValue)
        {
            continue;
        }
        curve.m_vPoints.append(point);
    }
    const CComparativeValueDataItem& limit = session.Limits().GetItem(eItem);
    const double dOffset = eItem == eMeasItem_Power ? dPowerOffset : 0.0;
    const ECompareType eType = limit.GetCompareType();
    if (curve.m_bState)
    {
        if (eType == eCompareType_Equal)
        {
            curve.m_iExpectedState =
                CStateItems::GetStateIndex(curve.m_vStateWords, limit.GetLowValue().toString());
        }
        else if (eType == eCompareType_NotEqual && curve.m_vStateWords.size() == 2)
        {
            const int iNot =
                CStateItems::GetStateIndex(curve.m_vStateWords, limit.GetLowValue().toString());
            curve.m_iExpectedState = iNot < 0 ? -1 : 1 - iNot;
        }
        return curve;
    }
    curve.m_bHasLow = eType == eCompareType_Between || eType == eCompareType_Higher;
    curve.m_bHasHigh = eType == eCompareType_Between || eType == eCompareType_Lower;
    curve.m_dLow = AsNumber(limit.GetLowValue()) + dOffset;
    curve.m_dHigh = AsNumber(limit.GetHighValue()) + dOffset;
    return curve;
}

// What a tile with errors but no listed violation tells on hover.
QString ErrorDetail(const CSessionDigest::SChannel& channel)
{
    if (channel.m_lErrors <= 0)
    {
        return QString();
    }
    return CCountText::Get(channel.m_lErrors, QStringLiteral("measurement error"),
                           QStringLiteral("measurement errors")) +
           QStringLiteral("; the first in scan ") + QString::number(channel.m_lFirstErrorScan) +
           QStringLiteral(": ") + channel.m_sFirstError;
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
    QString sReason;
    CJudgedSession session;
    if (!context.OpenSession(session, iExit))
    {
        return iExit;
    }
    const long lSessionId = session.SessionId();
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
        report.m_vScanTimes.append(NormalTime(session.ScanTime(lScanId)));
    }
    const std::vector<OrvelFramework::CRDColor> palette =
        CMatrixStateColorHandler().GetMatrixStateColors();
    const int iColours = std::min(static_cast<int>(palette.size()), CTileLegend::Count());
    for (int i = 0; i < iColours; ++i)
    {
        const auto& colour = palette[static_cast<size_t>(i)];
        report.m_vLegend.append({colour.GetRed(), colour.GetGreen(), colour.GetBlue(),
                                 CTileLegend::Colour(i), CTileLegend::Meaning(i)});
    }
    OrvelFramework::CRDMatrixData matrix;
    if (!digest.CreateChannelMatrixData(session, matrix, sReason))
    {
        context.Progress(QString());
        return context.Fail(sReason);
    }
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
            const CSessionDigest::SChannel& channel = channels[static_cast<size_t>(i)];
            reportTile.m_iChannel = i;
            reportTile.m_lViolations = channel.m_lViolations;
            reportTile.m_lErrors = channel.m_lErrors;
            const QString sErrors = ErrorDetail(channel);
            if (!sErrors.isEmpty())
            {
                reportTile.m_sDetail +=
                    (reportTile.m_sDetail.trimmed().isEmpty() ? QString() : QStringLiteral("\n")) +
                    sErrors;
                reportTile.m_sDetail = reportTile.m_sDetail.trimmed();
            }
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
        channel.m_lViolations = digestChannel.m_lViolations;
        channel.m_lErrors = digestChannel.m_lErrors;
        channel.m_sSummary =
            CCountText::Get(digestChannel.m_lJudged, QStringLiteral("value judged"),
                            QStringLiteral("values judged")) +
            QStringLiteral(", ") +
            CCountText::Get(digestChannel.m_lViolations, QStringLiteral("limit violation"),
                            QStringLiteral("limit violations")) +
            QStringLiteral(", ") +
            CCountText::Get(digestChannel.m_lErrors, QStringLiteral("measurement error"),
                            QStringLiteral("measurement errors")) +
            QStringLiteral("; power limit offset ") + QString::number(dPowerOffset) +
            QStringLiteral(" dB");
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
    // Stored texts may hold "%1": joined, never substituted.
    report.m_sSubtitle =
        data.Description() + QStringLiteral(" — ") + sSite + QStringLiteral(", ") + sTestPoint +
        QStringLiteral("; ") +
        CCountText::Get(static_cast<long>(session.ScanIds().size()), QStringLiteral("scan"),
                        QStringLiteral("scans")) +
        QStringLiteral(" of ") +
        CCountText::Get(static_cast<long>(channels.size()), QStringLiteral("channel"),
                        QStringLiteral("channels")) +
        QStringLiteral(", ") +
        CCountText::Get(digest.Violations(), QStringLiteral("limit violation"),
                        QStringLiteral("limit violations")) +
        QStringLiteral("; first run ") + data.FirstRun() + QStringLiteral(", last run ") +
        data.LastRun() + QStringLiteral(". Judged with ") +
        (bOwnFiles ? QStringLiteral("the channel table and limits stored with the session")
                   : QStringLiteral("files given on the command line")) +
        QLatin1Char('.');
    if (digest.OrphanRows() > 0)
    {
        report.m_sSubtitle +=
            QLatin1Char(' ') +
            CCountText::Get(digest.OrphanRows(), QStringLiteral("stored value belongs"),
                            QStringLiteral("stored values belong")) +
            QStringLiteral(" to no channel of the table or to no stored scan.");
    }

    // Written beside the target and renamed on success: a failed write leaves any older
    // report as it was; a full disk can take part of a write without an error.
    const QByteArray html = CReportRenderer::RenderHtml(report).toUtf8();
    QSaveFile file(sOutput);
    if (!file.open(QIODevice::WriteOnly) || file.write(html) != html.size() || !file.commit())
    {
        context.Progress(QString());
        return context.Fail(QStringLiteral("cannot write '") + sOutput + QStringLiteral("': ") +
                            file.errorString());
    }
    context.Progress(QString());
    return CToolContext::c_iExitOk;
}
