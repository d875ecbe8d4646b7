#include "CTileLegend.h"

namespace
{

struct SLegendRow
{
    const char* m_pszColour;
    const char* m_pszShort;
    const char* m_pszMeaning;
};

// By palette index: ok, not measured, error, then the violation gradient. A tile's gradient
// step is the share of scans with a violation (violated scans over the scan count less one),
// the step k of 11 reaching up to k(k+1)/2 per cent.
constexpr SLegendRow c_Legend[] = {
    {"green", "ok", "ok: every judged value within its limits"},
    {"grey", "not measured", "not measured: no stored value"},
    {"violet", "measurement error", "measurement error, no violation"},
    {"yellow", "violations, up to 1% of scans", "violations in up to 1% of scans"},
    {"gold", "violations, 1-3% of scans", "violations in more than 1% up to 3% of scans"},
    {"amber", "violations, 3-6% of scans", "violations in more than 3% up to 6% of scans"},
    {"saffron", "violations, 6-10% of scans", "violations in more than 6% up to 10% of scans"},
    {"light orange", "violations, 10-15% of scans",
     "violations in more than 10% up to 15% of scans"},
    {"orange", "violations, 15-21% of scans", "violations in more than 15% up to 21% of scans"},
    {"dark orange", "violations, 21-28% of scans",
     "violations in more than 21% up to 28% of scans"},
    {"deep orange", "violations, 28-36% of scans",
     "violations in more than 28% up to 36% of scans"},
    {"red-orange", "violations, 36-45% of scans", "violations in more than 36% up to 45% of scans"},
    {"scarlet", "violations, 45-55% of scans", "violations in more than 45% up to 55% of scans"},
    {"red", "violations, over 55% of scans", "violations in more than 55% of scans"},
};

constexpr int c_iRows = static_cast<int>(sizeof(c_Legend) / sizeof(c_Legend[0]));

} // namespace

int CTileLegend::Count()
{
    return c_iRows;
}

QString CTileLegend::Colour(int iIndex)
{
    return QString::fromUtf8(c_Legend[iIndex].m_pszColour);
}

QString CTileLegend::Meaning(int iIndex)
{
    return QString::fromUtf8(c_Legend[iIndex].m_pszMeaning);
}

QString CTileLegend::Words(int iIndex)
{
    if (iIndex < 0 || iIndex >= c_iRows)
    {
        return QStringLiteral("unknown colour %1").arg(iIndex);
    }
    return Colour(iIndex) + QStringLiteral(" (") + QString::fromUtf8(c_Legend[iIndex].m_pszShort) +
           QLatin1Char(')');
}
