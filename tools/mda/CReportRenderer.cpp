#include "CReportRenderer.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace
{

const int c_iWidth = 560;
const int c_iHeight = 230;
const int c_iLeft = 70;
const int c_iRight = 16;
const int c_iTop = 14;
const int c_iBottom = 40;

// Status history cell colours, by worst result: not measured, within, error, violation.
const char* const c_aszStatusClass[] = {"st-none", "st-ok", "st-err", "st-viol"};
const char* const c_aszStatusWords[] = {"not measured", "within limits", "measurement error",
                                        "limit violation"};

QString Num(double d)
{
    return QString::number(d, 'f', 1);
}

// Round tick values: 1, 2 or 5 times a power of ten.
double NiceStep(double dSpan, int iTicks)
{
    if (dSpan <= 0)
    {
        return 1;
    }
    const double dRaw = dSpan / iTicks;
    const double dMag = std::pow(10.0, std::floor(std::log10(dRaw)));
    const double dNorm = dRaw / dMag;
    const double dNice = dNorm < 1.5 ? 1 : (dNorm < 3 ? 2 : (dNorm < 7 ? 5 : 10));
    return dNice * dMag;
}

QString FormatTick(double dValue, double dStep)
{
    const int iDecimals =
        dStep >= 1 ? 0 : std::min(6, static_cast<int>(std::ceil(-std::log10(dStep))));
    return QString::number(dValue, 'f', iDecimals);
}

QString FormatLimit(double dValue)
{
    return std::fabs(dValue) < 0.01 && dValue != 0 ? QString::number(dValue, 'e', 1)
                                                   : QString::number(dValue, 'f', 2);
}

QString Rgb(unsigned char r, unsigned char g, unsigned char b)
{
    return QStringLiteral("rgb(%1,%2,%3)").arg(r).arg(g).arg(b);
}

} // namespace

QString CReportRenderer::Escape(const QString& sText)
{
    return sText.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("&#10;"));
}

QString CReportRenderer::RenderCurveSvg(const SReportCurve& curve, const SReportData& data)
{
    const int iPlotW = c_iWidth - c_iLeft - c_iRight;
    const int iPlotH = c_iHeight - c_iTop - c_iBottom;
    const double xMin = 0;
    const double xMax = std::max(1.0, static_cast<double>(data.m_vScanIds.size() - 1));

    // The values the axis must show: measured values and limits; on a log axis only those
    // above zero.
    const bool bLog = curve.m_bLogAxis;
    auto usable = [bLog](double d) { return std::isfinite(d) && (!bLog || d > 0); };
    std::vector<double> shown;
    for (const SReportPoint& p : curve.m_vPoints)
    {
        if (p.m_eKind != SReportPoint::eKind_Error && usable(p.m_dValue))
        {
            shown.push_back(p.m_dValue);
        }
    }
    if (curve.m_bHasLow && usable(curve.m_dLow))
    {
        shown.push_back(curve.m_dLow);
    }
    if (curve.m_bHasHigh && usable(curve.m_dHigh))
    {
        shown.push_back(curve.m_dHigh);
    }
    if (shown.empty())
    {
        shown.push_back(bLog ? 1e-6 : 0.0);
    }
    double yMin = *std::min_element(shown.begin(), shown.end());
    double yMax = *std::max_element(shown.begin(), shown.end());
    auto axis = [bLog](double d) { return bLog ? std::log10(d) : d; };
    double aMin = axis(yMin);
    double aMax = axis(yMax);
    double dStep = 1;
    if (bLog)
    {
        aMin = std::floor(aMin);
        aMax = std::max(aMin + 1, std::ceil(aMax));
    }
    else
    {
        if (aMax - aMin < 1e-9)
        {
            aMin -= 1;
            aMax += 1;
        }
        dStep = NiceStep(aMax - aMin, 4);
        aMin = std::floor(aMin / dStep) * dStep;
        aMax = std::ceil(aMax / dStep) * dStep;
    }
    auto sx = [&](double x) { return c_iLeft + (x - xMin) / (xMax - xMin) * iPlotW; };
    auto sy = [&](double y)
    {
        const double a = bLog ? (y > 0 ? std::log10(y) : aMin) : y;
        const double clamped = std::min(aMax, std::max(aMin, a));
        return c_iTop + (aMax - clamped) / (aMax - aMin) * iPlotH;
    };

    QString svg;
    svg += QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%2\" "
                          "viewBox=\"0 0 %1 %2\" role=\"img\" class=\"%3\">")
               .arg(c_iWidth)
               .arg(c_iHeight)
               .arg(bLog ? QStringLiteral("log") : QStringLiteral("linear"));
    svg += QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" class=\"plot\"/>")
               .arg(c_iLeft)
               .arg(c_iTop)
               .arg(iPlotW)
               .arg(iPlotH);
    for (double a = aMin; a <= aMax + dStep / 2; a += dStep)
    {
        const double y = bLog ? std::pow(10.0, a) : a;
        const QString sTick = bLog ? QStringLiteral("1e%1").arg(static_cast<int>(std::lround(a)))
                                   : FormatTick(a, dStep);
        svg += QStringLiteral("<line x1=\"%1\" x2=\"%2\" y1=\"%3\" y2=\"%3\" class=\"grid\"/>"
                              "<text x=\"%4\" y=\"%5\" class=\"ytick\">%6</text>")
                   .arg(c_iLeft)
                   .arg(c_iLeft + iPlotW)
                   .arg(Num(sy(y)))
                   .arg(c_iLeft - 6)
                   .arg(Num(sy(y) + 4))
                   .arg(sTick);
    }
    const int iScans = static_cast<int>(data.m_vScanIds.size());
    const int iXStep = std::max(1, static_cast<int>(NiceStep(iScans, 8)));
    for (int i = 0; i < iScans; i += iXStep)
    {
        svg += QStringLiteral("<text x=\"%1\" y=\"%2\" class=\"xtick\">%3</text>")
                   .arg(Num(sx(i)))
                   .arg(c_iTop + iPlotH + 16)
                   .arg(data.m_vScanIds.at(i));
    }
    svg += QStringLiteral("<text x=\"%1\" y=\"%2\" class=\"xlabel\">scan</text>")
               .arg(c_iLeft + iPlotW / 2)
               .arg(c_iHeight - 6);
    svg += QStringLiteral(
               "<text x=\"12\" y=\"%1\" class=\"ylabel\" transform=\"rotate(-90 12 %1)\">%2</text>")
               .arg(c_iTop + iPlotH / 2)
               .arg(Escape((curve.m_sUnit.isEmpty() ? QStringLiteral("value") : curve.m_sUnit) +
                           (bLog ? QStringLiteral(" (log)") : QString())));
    auto limitLine = [&](double dValue, const QString& sWhich)
    {
        const QString sLabel =
            sWhich + QLatin1Char(' ') + FormatLimit(dValue) +
            (curve.m_sUnit.isEmpty() ? QString() : QLatin1Char(' ') + curve.m_sUnit);
        return QStringLiteral("<line x1=\"%1\" x2=\"%2\" y1=\"%3\" y2=\"%3\" class=\"limit\"/>"
                              "<text x=\"%4\" y=\"%5\" class=\"limitlabel\">%6</text>")
            .arg(c_iLeft)
            .arg(c_iLeft + iPlotW)
            .arg(Num(sy(dValue)))
            .arg(c_iLeft + iPlotW - 4)
            .arg(Num(sy(dValue) - 3))
            .arg(Escape(sLabel));
    };
    if (curve.m_bHasLow)
    {
        svg += limitLine(curve.m_dLow, QStringLiteral("low limit"));
    }
    if (curve.m_bHasHigh)
    {
        svg += limitLine(curve.m_dHigh, QStringLiteral("high limit"));
    }
    QStringList path;
    for (const SReportPoint& p : curve.m_vPoints)
    {
        if (p.m_eKind != SReportPoint::eKind_Error)
        {
            path << Num(sx(p.m_dScanIndex)) + QLatin1Char(',') + Num(sy(p.m_dValue));
        }
    }
    svg += QStringLiteral("<polyline class=\"curve\" points=\"%1\"/>")
               .arg(path.join(QLatin1Char(' ')));
    for (const SReportPoint& p : curve.m_vPoints)
    {
        const QString sTitle =
            QStringLiteral("<title>") + Escape(p.m_sTitle) + QStringLiteral("</title>");
        switch (p.m_eKind)
        {
        case SReportPoint::eKind_Within:
            svg +=
                QStringLiteral("<circle cx=\"%1\" cy=\"%2\" r=\"3.5\" class=\"meas\">%3</circle>")
                    .arg(Num(sx(p.m_dScanIndex)), Num(sy(p.m_dValue)), sTitle);
            break;
        case SReportPoint::eKind_Violation:
        {
            // A violation is a red diamond: told apart from a passing value without colour.
            const double x = sx(p.m_dScanIndex);
            const double y = sy(p.m_dValue);
            svg += QStringLiteral(
                       "<path class=\"violation\" d=\"M%1 %2L%3 %4L%1 %5L%6 %4Z\">%7</path>")
                       .arg(Num(x), Num(y - 6), Num(x + 6), Num(y), Num(y + 6), Num(x - 6), sTitle);
            break;
        }
        case SReportPoint::eKind_Error:
        {
            // No value: an error mark on the scan axis.
            const double x = sx(p.m_dScanIndex);
            const double y = c_iTop + iPlotH;
            svg += QStringLiteral("<path class=\"error\" d=\"M%1 %2l8 -12h-16Z\">%3</path>")
                       .arg(Num(x - 0), Num(y), sTitle);
            break;
        }
        }
    }
    svg += QStringLiteral("</svg>");
    return svg;
}

QString CReportRenderer::RenderStatusHistory(const SReportData& data)
{
    QString html;
    html += QStringLiteral("<table class=\"history\"><thead><tr><th>channel</th>");
    for (int i = 0; i < data.m_vScanIds.size(); ++i)
    {
        // Only every few scans labelled: the columns stay narrow.
        const bool bLabel = data.m_vScanIds.size() <= 40 || i % 10 == 0;
        html += QStringLiteral("<th title=\"scan %1, %2\">%3</th>")
                    .arg(data.m_vScanIds.at(i))
                    .arg(Escape(data.m_vScanTimes.value(i)))
                    .arg(bLabel ? QString::number(data.m_vScanIds.at(i)) : QString());
    }
    html += QStringLiteral("</tr></thead><tbody>\n");
    for (const SReportChannel& channel : data.m_vChannels)
    {
        html += QStringLiteral("<tr><th>%1</th>").arg(Escape(channel.m_sName));
        for (int i = 0; i < channel.m_vScanStatus.size(); ++i)
        {
            const int iStatus = std::min(3, std::max(0, channel.m_vScanStatus.at(i)));
            html += QStringLiteral("<td class=\"%1\" title=\"%2 — scan %3, %4: %5\"></td>")
                        .arg(QLatin1String(c_aszStatusClass[iStatus]))
                        .arg(Escape(channel.m_sName))
                        .arg(data.m_vScanIds.value(i))
                        .arg(Escape(data.m_vScanTimes.value(i)))
                        .arg(QLatin1String(c_aszStatusWords[iStatus]));
        }
        html += QStringLiteral("</tr>\n");
    }
    html += QStringLiteral("</tbody></table>\n");
    return html;
}

QString CReportRenderer::RenderHtml(const SReportData& data)
{
    QString html;
    html +=
        QStringLiteral(
            "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
            "<title>%1</title><style>\n"
            "body{font-family:sans-serif;margin:24px;color:#222;background:#fafafa}\n"
            "h1{margin-bottom:4px}.sub{color:#555;margin-top:0}\n"
            ".matrix{display:flex;flex-wrap:wrap;gap:8px;margin:16px 0 12px}\n"
            ".tile{width:132px;height:70px;border:1px solid #555;border-radius:6px;display:flex;"
            "flex-direction:column;align-items:center;justify-content:center;text-align:center;"
            "font-size:13px;cursor:help;position:relative}\n"
            ".tile b{font-size:14px}.tile .counts{font-size:12px;margin-top:4px}\n"
            ".tile .tip{display:none;position:absolute;top:74px;left:0;z-index:5;background:#fff;"
            "border:1px solid #888;padding:6px;white-space:pre;font:12px monospace;text-align:left;"
            "box-shadow:2px 2px 6px #aaa}\n"
            ".tile:hover .tip{display:block}\n"
            ".legend{display:grid;grid-template-columns:repeat(2,minmax(0,480px));grid-template-"
            "rows:"
            "repeat(7,auto);grid-auto-flow:column;gap:2px 24px;"
            "font-size:13px;margin-bottom:24px}\n"
            ".legend span.sw{display:inline-block;width:14px;height:14px;border:1px solid #555;"
            "vertical-align:middle;margin-right:6px}\n"
            "table.history{border-collapse:separate;border-spacing:1px;font-size:11px;"
            "margin-bottom:8px}\n"
            "table.history th{font-weight:normal;text-align:right;padding-right:6px;"
            "white-space:nowrap}\n"
            "table.history td{width:12px;min-width:6px;height:16px}\n"
            ".st-ok{background:#2e9e3e}.st-viol{background:#e02020}.st-err{background:#b000e0}"
            ".st-none{background:#d0d0d0}\n"
            ".key span{display:inline-block;width:12px;height:12px;vertical-align:middle;"
            "margin:0 4px 0 12px}\n"
            ".channel{background:#fff;border:1px solid #ddd;border-radius:6px;padding:10px "
            "14px;margin:14px 0}\n"
            ".channel h2{margin:4px 0;font-size:18px}.summary{color:#444;white-space:pre-wrap}\n"
            ".curves{display:flex;flex-wrap:wrap;gap:12px}.curve-box h3{font-size:14px;margin:6px "
            "0}\n"
            "svg .plot{fill:#fff;stroke:#999}svg .grid{stroke:#e4e4e4}\n"
            "svg .ytick{font-size:10px;text-anchor:end;fill:#444}svg .xtick{font-size:10px;"
            "text-anchor:middle;fill:#444}\n"
            "svg .xlabel,svg .ylabel{font-size:11px;text-anchor:middle;fill:#222}\n"
            "svg .limit{stroke:#d22;stroke-dasharray:6 4}svg .limitlabel{font-size:10px;fill:#d22;"
            "text-anchor:end}\n"
            "svg .curve{fill:none;stroke:#1565c0;stroke-width:1.5}\n"
            "svg .meas{fill:#1565c0}svg .violation{fill:#e02020;stroke:#600;stroke-width:1}\n"
            "svg .error{fill:#b000e0}\n"
            "</style></head><body>\n")
            .arg(Escape(data.m_sTitle));
    html += QStringLiteral("<h1>%1</h1><p class=\"sub\">%2</p>\n")
                .arg(Escape(data.m_sTitle), Escape(data.m_sSubtitle));

    html += QStringLiteral("<h2>Channel matrix</h2><p>Hover a tile for its violations.</p>\n"
                           "<div class=\"matrix\">\n");
    for (const SReportTile& tile : data.m_vTiles)
    {
        html += QStringLiteral("<div class=\"tile\" data-index=\"%1\" style=\"background:%2\">"
                               "<b>%3</b><span class=\"counts\">%4 violations · %5 errors</span>"
                               "<div class=\"tip\">%6</div></div>\n")
                    .arg(tile.m_iPaletteIndex)
                    .arg(Rgb(tile.m_ucRed, tile.m_ucGreen, tile.m_ucBlue))
                    .arg(Escape(tile.m_sName))
                    .arg(tile.m_lViolations)
                    .arg(tile.m_lErrors)
                    .arg(tile.m_sDetail.toHtmlEscaped());
    }
    html += QStringLiteral("</div>\n<div class=\"legend\">\n");
    for (const SReportLegendRow& row : data.m_vLegend)
    {
        html += QStringLiteral("<div class=\"legend-row\"><span class=\"sw\" style=\"background:"
                               "%1\"></span>%2: %3</div>\n")
                    .arg(Rgb(row.m_ucRed, row.m_ucGreen, row.m_ucBlue), Escape(row.m_sColour),
                         Escape(row.m_sMeaning));
    }
    html += QStringLiteral("</div>\n");

    html += QStringLiteral(
        "<h2>Status history</h2><p class=\"key\">One cell per scan, coloured by the scan's "
        "worst result:<span class=\"st-ok\"></span>within limits<span class=\"st-viol\"></span>"
        "limit violation<span class=\"st-err\"></span>measurement error"
        "<span class=\"st-none\"></span>not measured</p>\n");
    html += RenderStatusHistory(data);

    html += QStringLiteral(
        "<h2>Channels</h2>\n<p>Per channel the items with violations or errors first, then the "
        "key items of its standard. Blue dots are values within limits, red diamonds limit "
        "violations, violet marks on the axis measurement errors; dashed red lines are limits. "
        "Hover a point for its scan, time and value.</p>\n");
    for (const SReportChannel& channel : data.m_vChannels)
    {
        html += QStringLiteral("<div class=\"channel\"><h2>%1 <small>%2</small></h2>"
                               "<div class=\"summary\">%3</div><div class=\"curves\">\n")
                    .arg(Escape(channel.m_sName), Escape(channel.m_sStandard),
                         channel.m_sSummary.toHtmlEscaped());
        for (const SReportCurve& curve : channel.m_vCurves)
        {
            QString sCounts;
            if (curve.m_lViolations > 0 || curve.m_lErrors > 0)
            {
                sCounts = QStringLiteral(" <small>(%1 violations, %2 errors)</small>")
                              .arg(curve.m_lViolations)
                              .arg(curve.m_lErrors);
            }
            html += QStringLiteral("<div class=\"curve-box\"><h3>%1%2</h3>%3</div>\n")
                        .arg(Escape(curve.m_sItemName), sCounts, RenderCurveSvg(curve, data));
        }
        html += QStringLiteral("</div></div>\n");
    }
    html += QStringLiteral("</body></html>\n");
    return html;
}
