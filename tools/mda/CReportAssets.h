#pragma once

#include <QString>

/// The style sheet and the script the report carries inline: the page opens with no network.
class CReportAssets
{
public:
    static QString Style();
    /// Draws the status history and the charts from the page's JSON data, and runs the switch
    /// that shows only the channels with problems.
    static QString Script();
};
