#pragma once

#include "SReportData.h"

#include <QString>

/// Renders the session report: one self-contained HTML page (inline CSS and SVG, nothing
/// fetched) with the channel matrix and its legend, the status history of every channel
/// scan by scan, and per channel the curves of its most telling items with their limits.
class CReportRenderer
{
public:
    static QString RenderHtml(const SReportData& data);
    static QString RenderCurveSvg(const SReportCurve& curve, const SReportData& data);
    static QString RenderStatusHistory(const SReportData& data);
    static QString Escape(const QString& sText);
};
