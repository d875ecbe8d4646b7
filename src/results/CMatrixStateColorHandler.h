#pragma once

#include "MainDataAccess_export.h"

#include "CDBMeasurement.h"
#include "CRDColor.h"
#include "CRDMatrixData.h"

#include <QString>

#include <vector>

namespace LumoraMeasurement
{

class CChannelTableData;
class CDBMeasurementController;

/// Colours of the result display's channel matrix: the palette of tile colours and the
/// builder that gives every channel of the channel table one tile, coloured by whether the
/// channel was measured, had errors and how often its limits were violated, with a text
/// listing the violations.
class MDA_EXPORT CMatrixStateColorHandler
{
public:
    CMatrixStateColorHandler();
    virtual ~CMatrixStateColorHandler();

    /// The 14 tile colours, index 0 first: OK, not measured, error, then the violation
    /// gradient from yellow to red.
    std::vector<OrvelFramework::CRDColor> GetMatrixStateColors() const;

    /// Fills the matrix with one tile per channel row. measurements are the session's error
    /// and violation records (fetched here when bLoadSessionErrors); bRecentScansOnly judges
    /// the violation rate over the last 12 scans only. A session id below 1 leaves the matrix
    /// untouched.
    /// False (the matrix then empty) when a read of the database failed; the reason is the
    /// controller's LastError().
    bool DoCreateChannelMatrixData(OrvelFramework::CRDMatrixData& matrix,
                                   CDBMeasurementController& controller,
                                   std::vector<CDBMeasurement>& measurements,
                                   CChannelTableData& channelTable, long lSessionId,
                                   long lScanCount, bool bRecentScansOnly, bool bLoadSessionErrors);

    /// How many lines of violations a tile's text lists at most: each listed violation takes
    /// one line or more, so no more of a channel's violation texts are read.
    long DetailLineLimit() const { return m_lDetailLineLimit; }

private:
    short DoGetRateIndex(double dRate, bool bRecentScansOnly) const;

    long m_lDetailLineLimit = 15;
    // Palette index just below the first gradient colour.
    short m_iGradientBaseIndex = 2;
    short m_iOkIndex = 0;
    short m_iNotMeasuredIndex = 1;
    short m_iErrorIndex = 2;
    short m_iViolationIndex = 3;
};

} // namespace LumoraMeasurement
