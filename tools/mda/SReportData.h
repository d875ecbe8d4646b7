#pragma once

// Plain data the report renderer draws: filled by the report command from the library, so
// the renderer knows nothing of the library.

#include <QString>
#include <QVector>

struct SReportTile
{
    QString m_sName;
    unsigned char m_ucRed = 0;
    unsigned char m_ucGreen = 0;
    unsigned char m_ucBlue = 0;
    int m_iPaletteIndex = 0;
    long m_lViolations = 0;
    long m_lErrors = 0;
    int m_iChannel = -1; ///< row of the channel table, -1 for none
    QString m_sDetail;   ///< the violations the tile lists, or its first errors
};

struct SReportLegendRow
{
    unsigned char m_ucRed = 0;
    unsigned char m_ucGreen = 0;
    unsigned char m_ucBlue = 0;
    QString m_sColour;
    QString m_sMeaning;
};

struct SReportPoint
{
    enum EKind
    {
        eKind_Within,
        eKind_Violation,
        eKind_Error,
    };
    double m_dScanIndex = 0;
    double m_dValue = 0;
    EKind m_eKind = eKind_Within;
    QString m_sTitle; ///< hover text: scan, time, value, violation or error
};

struct SReportCurve
{
    QString m_sItemName;
    QString m_sUnit;
    bool m_bLogAxis = false;
    QVector<SReportPoint> m_vPoints;
    bool m_bHasLow = false;
    bool m_bHasHigh = false;
    double m_dLow = 0;
    double m_dHigh = 0;
    long m_lViolations = 0;
    long m_lErrors = 0;
    /// A state item (lock, on/off, present): m_dValue is the index into m_vStateWords.
    bool m_bState = false;
    QVector<QString> m_vStateWords;
    int m_iExpectedState = -1; ///< -1: none expected
};

struct SReportChannel
{
    QString m_sName;
    QString m_sStandard;
    QString m_sSummary;
    long m_lViolations = 0;
    long m_lErrors = 0;
    /// Worst result per scan: 0 not measured, 1 within, 2 error, 3 violation.
    QVector<int> m_vScanStatus;
    QVector<SReportCurve> m_vCurves;
};

struct SReportData
{
    QString m_sTitle;
    QString m_sSubtitle;
    QVector<SReportTile> m_vTiles;
    QVector<SReportLegendRow> m_vLegend;
    QVector<long> m_vScanIds;
    QVector<QString> m_vScanTimes; ///< "yyyy-MM-dd hh:mm:ss" where the stored text reads as one
    QVector<SReportChannel> m_vChannels;
};
