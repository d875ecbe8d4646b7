#include "ReportRenderer.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace
{

const int c_iWidth = 520;
const int c_iHeight = 220;
const int c_iLeft = 64;
const int c_iRight = 16;
const int c_iTop = 14;
const int c_iBottom = 40;

QString Num(double d)
{
    return QString::number(d, 'f', 1);
}

// Round tick values: 1, 2 or 5 times a power of ten.
double NiceStep(double span, int ticks)
{
    if (span <= 0)
    {
        return 1;
    }
    const double raw = span / ticks;
    const double mag = std::pow(10.0, std::floor(std::log10(raw)));
    const double norm = raw / mag;
    const double nice = norm < 1.5 ? 1 : (norm < 3 ? 2 : (norm < 7 ? 5 : 10));
    return nice * mag;
}

QString FormatTick(double v, double step)
{
    const int decimals =
        step >= 1 ? 0 : std::min(6, static_cast<int>(std::ceil(-std::log10(step))));
    return QString::number(v, 'f', decimals);
}

} // namespace

QString ReportRenderer::Escape(const QString& text)
{
    return text.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("&#10;"));
}

QString ReportRenderer::RenderCurveSvg(const SReportCurve& curve)
{
    const int plotW = c_iWidth - c_iLeft - c_iRight;
    const int plotH = c_iHeight - c_iTop - c_iBottom;
    if (curve.m_vPoints.isEmpty())
    {
        return QStringLiteral("<p class=\"none\">no scans</p>");
    }
    double xMin = curve.m_vPoints.first().m_dScanId;
    double xMax = curve.m_vPoints.last().m_dScanId;
    double yMin = curve.m_vPoints.first().m_dValue;
    double yMax = yMin;
    for (const SReportPoint& p : curve.m_vPoints)
    {
        yMin = std::min(yMin, p.m_dValue);
        yMax = std::max(yMax, p.m_dValue);
    }
    if (curve.m_bHasLow)
    {
        yMin = std::min(yMin, curve.m_dLow);
        yMax = std::max(yMax, curve.m_dLow);
    }
    if (curve.m_bHasHigh)
    {
        yMin = std::min(yMin, curve.m_dHigh);
        yMax = std::max(yMax, curve.m_dHigh);
    }
    if (yMax - yMin < 1e-9)
    {
        yMin -= 1;
        yMax += 1;
    }
    const double yStep = NiceStep(yMax - yMin, 4);
    yMin = std::floor(yMin / yStep) * yStep;
    yMax = std::ceil(yMax / yStep) * yStep;
    if (xMax <= xMin)
    {
        xMax = xMin + 1;
    }
    auto sx = [&](double x) { return c_iLeft + (x - xMin) / (xMax - xMin) * plotW; };
    auto sy = [&](double y) { return c_iTop + (yMax - y) / (yMax - yMin) * plotH; };

    QString svg;
    svg += QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%2\" "
                          "viewBox=\"0 0 %1 %2\" role=\"img\">")
               .arg(c_iWidth)
               .arg(c_iHeight);
    svg += QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" class=\"plot\"/>")
               .arg(c_iLeft)
               .arg(c_iTop)
               .arg(plotW)
               .arg(plotH);
    for (double y = yMin; y <= yMax + yStep / 2; y += yStep)
    {
        svg += QStringLiteral("<line x1=\"%1\" x2=\"%2\" y1=\"%3\" y2=\"%3\" class=\"grid\"/>"
                              "<text x=\"%4\" y=\"%5\" class=\"ytick\">%6</text>")
                   .arg(c_iLeft)
                   .arg(c_iLeft + plotW)
                   .arg(Num(sy(y)))
                   .arg(c_iLeft - 6)
                   .arg(Num(sy(y) + 4))
                   .arg(FormatTick(y, yStep));
    }
    const double xStep = std::max(1.0, NiceStep(xMax - xMin, 8));
    for (double x = std::ceil(xMin / xStep) * xStep; x <= xMax + 1e-9; x += xStep)
    {
        svg += QStringLiteral("<text x=\"%1\" y=\"%2\" class=\"xtick\">%3</text>")
                   .arg(Num(sx(x)))
                   .arg(c_iTop + plotH + 16)
                   .arg(FormatTick(x, 1));
    }
    svg += QStringLiteral("<text x=\"%1\" y=\"%2\" class=\"xlabel\">scan id</text>")
               .arg(c_iLeft + plotW / 2)
               .arg(c_iHeight - 6);
    svg += QStringLiteral(
               "<text x=\"12\" y=\"%1\" class=\"ylabel\" transform=\"rotate(-90 12 %1)\">%2</text>")
               .arg(c_iTop + plotH / 2)
               .arg(Escape(curve.m_sUnit.isEmpty() ? QStringLiteral("value") : curve.m_sUnit));
    auto limitLine = [&](double v, const QString& label)
    {
        return QStringLiteral("<line x1=\"%1\" x2=\"%2\" y1=\"%3\" y2=\"%3\" class=\"limit\"/>"
                              "<text x=\"%4\" y=\"%5\" class=\"limitlabel\">%6</text>")
            .arg(c_iLeft)
            .arg(c_iLeft + plotW)
            .arg(Num(sy(v)))
            .arg(c_iLeft + plotW - 4)
            .arg(Num(sy(v) - 3))
            .arg(label);
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
        path << Num(sx(p.m_dScanId)) + QLatin1Char(',') + Num(sy(p.m_dValue));
    }
    svg += QStringLiteral("<polyline class=\"curve\" points=\"%1\"/>")
               .arg(path.join(QLatin1Char(' ')));
    for (const SReportPoint& p : curve.m_vPoints)
    {
        const QString title =
            QStringLiteral("<title>scan %1: %2 %3%4</title>")
                .arg(p.m_dScanId)
                .arg(p.m_dValue)
                .arg(Escape(curve.m_sUnit))
                .arg(p.m_bInterpolated ? QStringLiteral(" (interpolated)") : QString());
        svg += QStringLiteral("<circle cx=\"%1\" cy=\"%2\" r=\"3.5\" class=\"%3\">%4</circle>")
                   .arg(Num(sx(p.m_dScanId)))
                   .arg(Num(sy(p.m_dValue)))
                   .arg(p.m_bInterpolated ? QStringLiteral("interp") : QStringLiteral("meas"))
                   .arg(title);
    }
    svg += QStringLiteral("</svg>");
    return svg;
}

QString ReportRenderer::RenderHtml(const SReportData& data)
{
    QString html;
    html +=
        QStringLiteral(
            "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
            "<title>%1</title><style>\n"
            "body{font-family:sans-serif;margin:24px;color:#222;background:#fafafa}\n"
            "h1{margin-bottom:4px}.sub{color:#666;margin-top:0}\n"
            ".matrix{display:flex;flex-wrap:wrap;gap:8px;margin:16px 0 28px}\n"
            ".tile{width:120px;height:64px;border:1px solid #555;border-radius:6px;display:flex;"
            "align-items:center;justify-content:center;text-align:center;font-weight:bold;"
            "font-size:14px;cursor:help;position:relative}\n"
            ".tile .tip{display:none;position:absolute;top:68px;left:0;z-index:5;background:#fff;"
            "border:1px solid #888;padding:6px;white-space:pre;font:12px monospace;text-align:left;"
            "box-shadow:2px 2px 6px #aaa}\n"
            ".tile:hover .tip{display:block}\n"
            ".legend span{display:inline-block;width:14px;height:14px;border:1px solid #555;"
            "vertical-align:middle;margin:0 4px 0 12px}\n"
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
            "svg .meas{fill:#1565c0}svg .interp{fill:#fff;stroke:#e65100;stroke-width:1.5}\n"
            "</style></head><body>\n")
            .arg(Escape(data.m_sTitle));
    html += QStringLiteral("<h1>%1</h1><p class=\"sub\">%2</p>\n")
                .arg(Escape(data.m_sTitle), Escape(data.m_sSubtitle));
    html +=
        QStringLiteral("<h2>Channel matrix</h2><p class=\"legend\">Hover a tile for its details."
                       "<span style=\"background:#00ff00\"></span>ok"
                       "<span style=\"background:#c0c0c0\"></span>not measured"
                       "<span style=\"background:#dc00ff\"></span>measurement error"
                       "<span style=\"background:#ffff00\"></span>limit violations"
                       "<span style=\"background:#ff0000\"></span>violations in most scans</p>\n");
    html += QStringLiteral("<div class=\"matrix\">\n");
    for (const SReportTile& tile : data.m_vTiles)
    {
        html += QStringLiteral(
                    "<div class=\"tile\" data-index=\"%1\" style=\"background:rgb(%2,%3,%4)\">"
                    "%5<div class=\"tip\">%6</div></div>\n")
                    .arg(tile.m_iPaletteIndex)
                    .arg(tile.m_ucRed)
                    .arg(tile.m_ucGreen)
                    .arg(tile.m_ucBlue)
                    .arg(Escape(tile.m_sName), tile.m_sDetail.toHtmlEscaped());
    }
    html +=
        QStringLiteral("</div>\n<h2>Channels</h2>\n<p>Filled dots are measured values, hollow "
                       "orange dots are interpolated where a scan has no value; dashed red lines "
                       "are limits.</p>\n");
    for (const SReportChannel& channel : data.m_vChannels)
    {
        html += QStringLiteral("<div class=\"channel\"><h2>%1 <small>%2</small></h2>"
                               "<div class=\"summary\">%3</div><div class=\"curves\">\n")
                    .arg(Escape(channel.m_sName), Escape(channel.m_sStandard),
                         channel.m_sSummary.toHtmlEscaped());
        for (const SReportCurve& curve : channel.m_vCurves)
        {
            html += QStringLiteral("<div class=\"curve-box\"><h3>%1</h3>%2</div>\n")
                        .arg(Escape(curve.m_sItemName), RenderCurveSvg(curve));
        }
        html += QStringLiteral("</div></div>\n");
    }
    html += QStringLiteral("</body></html>\n");
    return html;
}
