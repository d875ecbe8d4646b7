#pragma once

// Renders the demo's HTML report: the colour matrix of the channels and, per channel, the
// curves of a few items over the scans as inline SVG. Knows nothing of the library: the demo
// hands it plain data, so the renderer stays small and separate.

#include <QString>
#include <QVector>

struct SReportTile
{
    QString m_sName;
    unsigned char m_ucRed = 0;
    unsigned char m_ucGreen = 0;
    unsigned char m_ucBlue = 0;
    int m_iPaletteIndex = 0;
    QString m_sDetail;
};

struct SReportPoint
{
    double m_dScanId = 0;
    double m_dValue = 0;
    bool m_bInterpolated = false;
};

struct SReportCurve
{
    QString m_sItemName;
    QString m_sUnit;
    QVector<SReportPoint> m_vPoints;
    bool m_bHasLow = false;
    bool m_bHasHigh = false;
    double m_dLow = 0;
    double m_dHigh = 0;
};

struct SReportChannel
{
    QString m_sName;
    QString m_sStandard;
    QString m_sSummary;
    QVector<SReportCurve> m_vCurves;
};

struct SReportData
{
    QString m_sTitle;
    QString m_sSubtitle;
    QVector<SReportTile> m_vTiles;
    QVector<SReportChannel> m_vChannels;
};

class ReportRenderer
{
public:
    static QString RenderHtml(const SReportData& data);
    static QString RenderCurveSvg(const SReportCurve& curve);
    static QString Escape(const QString& text);
};
