#pragma once

#include "SReportData.h"

#include <QString>

/// Renders the session report: one self-contained HTML page (inline style, script and data,
/// nothing fetched) with a table of contents, the channel matrix and its legend, the status
/// history of every channel and per channel the charts of its most telling items. The page's
/// script draws the history and the charts from the data, so the file grows with the values,
/// not with the drawing.
class CReportRenderer
{
public:
    static QString RenderHtml(const SReportData& data);
    /// The data the page's script draws from, as JSON.
    static QString RenderData(const SReportData& data);
    /// Text safe inside HTML elements and attributes.
    static QString Escape(const QString& sText);
    /// A JSON string literal that cannot end the script element it sits in.
    static QString JsonString(const QString& sText);
    /// A number as JSON: at most 7 significant digits, null when not finite.
    static QString JsonNumber(double dValue);
};
