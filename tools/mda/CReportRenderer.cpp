#include "CReportRenderer.h"

#include "CCountText.h"
#include "CReportAssets.h"

#include <cmath>

namespace
{

QString Rgb(unsigned char r, unsigned char g, unsigned char b)
{
    return QStringLiteral("rgb(") + QString::number(r) + QLatin1Char(',') + QString::number(g) +
           QLatin1Char(',') + QString::number(b) + QLatin1Char(')');
}

QString Counts(long lViolations, long lErrors)
{
    return CCountText::Violations(lViolations) + QStringLiteral(" · ") +
           CCountText::Errors(lErrors);
}

bool HasProblems(const SReportChannel& channel)
{
    return channel.m_lViolations > 0 || channel.m_lErrors > 0;
}

QString Anchor(int iChannel)
{
    return QStringLiteral("ch-") + QString::number(iChannel);
}

// One character per scan: ' ' no point, '0' within, '1' violation, '2' error.
void AppendCurve(QString& json, const SReportCurve& curve, int iChannel, int iScans)
{
    // Only the scans with a value are written (their positions, kinds and numbers): a session
    // of many scans and few values makes a small file; the page spreads them out when it draws
    // the chart.
    QVector<const SReportPoint*> byScan(iScans, nullptr);
    for (const SReportPoint& point : curve.m_vPoints)
    {
        const int i = static_cast<int>(point.m_dScanIndex);
        if (i >= 0 && i < iScans)
        {
            byScan[i] = &point;
        }
    }
    json += QStringLiteral("{\"c\":") + QString::number(iChannel) + QStringLiteral(",\"n\":") +
            CReportRenderer::JsonString(curve.m_sItemName) + QStringLiteral(",\"u\":") +
            CReportRenderer::JsonString(curve.m_sUnit) + QStringLiteral(",\"log\":") +
            (curve.m_bLogAxis ? QLatin1Char('1') : QLatin1Char('0'));
    if (curve.m_bState)
    {
        json += QStringLiteral(",\"st\":[");
        for (int i = 0; i < curve.m_vStateWords.size(); ++i)
        {
            json += (i > 0 ? QStringLiteral(",") : QString()) +
                    CReportRenderer::JsonString(curve.m_vStateWords.at(i));
        }
        json += QStringLiteral("],\"ex\":") + QString::number(curve.m_iExpectedState);
    }
    json +=
        QStringLiteral(",\"lo\":") +
        (curve.m_bHasLow ? CReportRenderer::JsonNumber(curve.m_dLow) : QStringLiteral("null")) +
        QStringLiteral(",\"hi\":") +
        (curve.m_bHasHigh ? CReportRenderer::JsonNumber(curve.m_dHigh) : QStringLiteral("null"));
    QString sKinds;
    json += QStringLiteral(",\"pi\":[");
    bool bFirst = true;
    for (int i = 0; i < iScans; ++i)
    {
        if (const SReportPoint* pPoint = byScan.at(i))
        {
            json += (bFirst ? QString() : QStringLiteral(",")) + QString::number(i);
            sKinds += QLatin1Char(static_cast<char>('0' + static_cast<int>(pPoint->m_eKind)));
            bFirst = false;
        }
    }
    json += QStringLiteral("],\"pk\":\"") + sKinds + QStringLiteral("\",\"py\":[");
    bFirst = true;
    for (int i = 0; i < iScans; ++i)
    {
        if (const SReportPoint* pPoint = byScan.at(i))
        {
            // Kept short: one number of millions in a large session.
            json += (bFirst ? QString() : QStringLiteral(",")) +
                    (pPoint->m_eKind != SReportPoint::eKind_Error
                         ? CReportRenderer::JsonNumber(pPoint->m_dValue)
                         : QStringLiteral("null"));
            bFirst = false;
        }
    }
    json += QStringLiteral("],\"t\":{");
    bFirst = true;
    for (int i = 0; i < iScans; ++i)
    {
        const SReportPoint* pPoint = byScan.at(i);
        if (pPoint && !pPoint->m_sTitle.isEmpty())
        {
            json += (bFirst ? QStringLiteral("\"") : QStringLiteral(",\"")) + QString::number(i) +
                    QStringLiteral("\":") + CReportRenderer::JsonString(pPoint->m_sTitle);
            bFirst = false;
        }
    }
    json += QStringLiteral("}}");
}

} // namespace

QString CReportRenderer::Escape(const QString& sText)
{
    return sText.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("&#10;"));
}

QString CReportRenderer::JsonString(const QString& sText)
{
    QString s;
    s.reserve(sText.size() + 2);
    s += QLatin1Char('"');
    for (const QChar c : sText)
    {
        const ushort u = c.unicode();
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
        {
            s += QLatin1Char('\\');
            s += c;
        }
        else if (u < 0x20 || c == QLatin1Char('<') || c == QLatin1Char('>') ||
                 c == QLatin1Char('&') || u == 0x2028 || u == 0x2029)
        {
            s += QStringLiteral("\\u") + QStringLiteral("%1").arg(u, 4, 16, QLatin1Char('0'));
        }
        else
        {
            s += c;
        }
    }
    s += QLatin1Char('"');
    return s;
}

QString CReportRenderer::JsonNumber(double dValue)
{
    if (!std::isfinite(dValue))
    {
        return QStringLiteral("null");
    }
    return dValue == 0 ? QStringLiteral("0") : QString::number(dValue, 'g', 7);
}

QString CReportRenderer::RenderData(const SReportData& data)
{
    const int iScans = static_cast<int>(data.m_vScanIds.size());
    QString json;
    json += QStringLiteral("{\"scans\":[");
    for (int i = 0; i < iScans; ++i)
    {
        json += (i > 0 ? QStringLiteral(",") : QString()) + QString::number(data.m_vScanIds.at(i));
    }
    json += QStringLiteral("],\"times\":[");
    for (int i = 0; i < iScans; ++i)
    {
        json += (i > 0 ? QStringLiteral(",") : QString()) + JsonString(data.m_vScanTimes.value(i));
    }
    json += QStringLiteral("],\"charts\":[");
    bool bFirst = true;
    for (int c = 0; c < data.m_vChannels.size(); ++c)
    {
        for (const SReportCurve& curve : data.m_vChannels.at(c).m_vCurves)
        {
            if (!bFirst)
            {
                json += QStringLiteral(",\n");
            }
            bFirst = false;
            AppendCurve(json, curve, c, iScans);
        }
    }
    json += QStringLiteral("]}");
    return json;
}

QString CReportRenderer::RenderHtml(const SReportData& data)
{
    QString html;
    html += QStringLiteral("<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
                           "<meta name=\"viewport\" content=\"width=device-width\"><title>") +
            Escape(data.m_sTitle) + QStringLiteral("</title><style>") + CReportAssets::Style() +
            QStringLiteral("</style></head><body>\n<h1>") + Escape(data.m_sTitle) +
            QStringLiteral("</h1><p class=\"sub\">") + Escape(data.m_sSubtitle) +
            QStringLiteral("</p>\n");

    // Contents: the parts, then every channel with its counts.
    int iProblems = 0;
    for (const SReportChannel& channel : data.m_vChannels)
    {
        iProblems += HasProblems(channel);
    }
    html += QStringLiteral("<nav class=\"toc\" id=\"contents\"><b>Contents:</b> "
                           "<a href=\"#matrix\">Channel matrix</a> · "
                           "<a href=\"#history\">Status history</a> · "
                           "<a href=\"#channels\">Channels</a>"
                           "<label class=\"switch\"><input type=\"checkbox\" "
                           "id=\"only-problems\"> show only the ") +
            CCountText::Get(iProblems, QStringLiteral("channel"), QStringLiteral("channels")) +
            QStringLiteral(" with violations or errors</label>\n<details><summary>") +
            CCountText::Get(data.m_vChannels.size(), QStringLiteral("channel"),
                            QStringLiteral("channels")) +
            QStringLiteral("</summary><ol>\n");
    for (int c = 0; c < data.m_vChannels.size(); ++c)
    {
        const SReportChannel& channel = data.m_vChannels.at(c);
        html += QStringLiteral("<li class=\"") +
                (HasProblems(channel) ? QStringLiteral("bad") : QStringLiteral("clean")) +
                QStringLiteral("\"><a href=\"#") + Anchor(c) + QStringLiteral("\">") +
                Escape(channel.m_sName) + QStringLiteral("</a> <small>") +
                Counts(channel.m_lViolations, channel.m_lErrors) +
                QStringLiteral("</small></li>\n");
    }
    html += QStringLiteral("</ol></details></nav>\n");

    html += QStringLiteral("<section id=\"matrix\"><h2>Channel matrix</h2><p>Hover a tile for its "
                           "violations and errors, click it for its channel. A violet badge "
                           "counts a channel's measurement errors.</p>\n<div class=\"matrix\">\n");
    for (const SReportTile& tile : data.m_vTiles)
    {
        const bool bClean = tile.m_lViolations == 0 && tile.m_lErrors == 0;
        html += QStringLiteral("<a class=\"tile") +
                (bClean ? QStringLiteral(" clean") : QString()) + QStringLiteral("\" href=\"#") +
                (tile.m_iChannel >= 0 ? Anchor(tile.m_iChannel) : QStringLiteral("channels")) +
                QStringLiteral("\" data-index=\"") + QString::number(tile.m_iPaletteIndex) +
                QStringLiteral("\" data-channel=\"") + QString::number(tile.m_iChannel) +
                QStringLiteral("\" style=\"background:") +
                Rgb(tile.m_ucRed, tile.m_ucGreen, tile.m_ucBlue) + QStringLiteral("\"><b>") +
                Escape(tile.m_sName) + QStringLiteral("</b><span class=\"counts\">") +
                Counts(tile.m_lViolations, tile.m_lErrors) + QStringLiteral("</span>");
        if (tile.m_lErrors > 0)
        {
            html += QStringLiteral("<span class=\"errmark\" title=\"") +
                    CCountText::Get(tile.m_lErrors, QStringLiteral("measurement error"),
                                    QStringLiteral("measurement errors")) +
                    QStringLiteral("\">⚠ ") + QString::number(tile.m_lErrors) +
                    QStringLiteral("</span>");
        }
        if (!tile.m_sDetail.trimmed().isEmpty())
        {
            html += QStringLiteral("<span class=\"tip\">") + tile.m_sDetail.toHtmlEscaped() +
                    QStringLiteral("</span>");
        }
        html += QStringLiteral("</a>\n");
    }
    html += QStringLiteral("</div>\n<div class=\"legend\">\n");
    for (const SReportLegendRow& row : data.m_vLegend)
    {
        html += QStringLiteral("<div class=\"legend-row\"><span class=\"sw\" style=\"background:") +
                Rgb(row.m_ucRed, row.m_ucGreen, row.m_ucBlue) + QStringLiteral("\"></span>") +
                Escape(row.m_sColour) + QStringLiteral(": ") + Escape(row.m_sMeaning) +
                QStringLiteral("</div>\n");
    }
    html += QStringLiteral("</div></section>\n");

    html += QStringLiteral(
        "<section id=\"history\"><h2>Status history</h2><p class=\"key\">One column per scan "
        "(per group of scans when they outnumber the pixels), coloured by the worst result:"
        "<span class=\"st-ok\"></span>within limits<span class=\"st-viol\"></span>limit "
        "violation<span class=\"st-err\"></span>measurement error<span class=\"st-none\"></span>"
        "not measured. Hover for scan and time, click a row for its channel.</p>\n"
        "<div class=\"history\" id=\"history-grid\">\n");
    for (int c = 0; c < data.m_vChannels.size(); ++c)
    {
        const SReportChannel& channel = data.m_vChannels.at(c);
        QString sStatus;
        sStatus.reserve(channel.m_vScanStatus.size());
        for (int iStatus : channel.m_vScanStatus)
        {
            sStatus += QLatin1Char(static_cast<char>('0' + std::min(3, std::max(0, iStatus))));
        }
        html += QStringLiteral("<a class=\"hrow ") +
                (HasProblems(channel) ? QStringLiteral("bad") : QStringLiteral("clean")) +
                QStringLiteral("\" href=\"#") + Anchor(c) + QStringLiteral("\" data-status=\"") +
                sStatus + QStringLiteral("\"><span class=\"hname\">") + Escape(channel.m_sName) +
                QStringLiteral("</span><span class=\"hcells\"><canvas></canvas></span></a>\n");
    }
    html += QStringLiteral("<div class=\"haxis\"><div class=\"hticks\"></div></div></div>"
                           "</section>\n");

    html += QStringLiteral(
        "<section id=\"channels\"><h2>Channels</h2>\n<p>Per channel the items with violations "
        "or errors first, then the key items of its standard. Blue dots are values within "
        "limits, red diamonds limit violations, violet marks on the axis measurement errors; "
        "dashed red lines are limits, labelled right of the chart. States (locks, switches) are "
        "drawn in lanes, the expected one shaded. Hover a chart for scan, time and value; drag "
        "across it to zoom, double-click to see all scans again.</p>\n");
    int iChart = 0;
    for (int c = 0; c < data.m_vChannels.size(); ++c)
    {
        const SReportChannel& channel = data.m_vChannels.at(c);
        html += QStringLiteral("<section class=\"channel ") +
                (HasProblems(channel) ? QStringLiteral("bad") : QStringLiteral("clean")) +
                QStringLiteral("\" id=\"") + Anchor(c) + QStringLiteral("\"><h2>") +
                Escape(channel.m_sName) + QStringLiteral(" <small>") + Escape(channel.m_sStandard) +
                QStringLiteral("</small><a href=\"#contents\">contents</a></h2>"
                               "<div class=\"summary\">") +
                channel.m_sSummary.toHtmlEscaped() +
                QStringLiteral("</div><div class=\"curves\">\n");
        for (const SReportCurve& curve : channel.m_vCurves)
        {
            QString sCounts;
            if (curve.m_lViolations > 0 || curve.m_lErrors > 0)
            {
                sCounts = QStringLiteral(" <small>(") +
                          CCountText::Violations(curve.m_lViolations) + QStringLiteral(", ") +
                          CCountText::Errors(curve.m_lErrors) + QStringLiteral(")</small>");
            }
            html += QStringLiteral("<figure class=\"chart\" data-chart=\"") +
                    QString::number(iChart++) + QStringLiteral("\"><figcaption>") +
                    Escape(curve.m_sItemName) + sCounts +
                    QStringLiteral("</figcaption><div class=\"plot\"></div><p class=\"note\">"
                                   "</p></figure>\n");
        }
        html += QStringLiteral("</div></section>\n");
    }
    html += QStringLiteral("</section>\n<script type=\"application/json\" id=\"mda-data\">") +
            RenderData(data) + QStringLiteral("</script>\n<script>") + CReportAssets::Script() +
            QStringLiteral("</script>\n</body></html>\n");
    return html;
}
