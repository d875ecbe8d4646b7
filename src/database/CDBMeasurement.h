#pragma once

#include "MainDataAccess_export.h"

#include <QString>

namespace LumoraMeasurement
{

/// One measured value of one item on one channel in one scan, as stored in the measurement
/// table. Item and state hold the stored ids of their representation rows, not enumerators;
/// the channel id is the channel's row in the channel table.
class MDA_EXPORT CDBMeasurement
{
public:
    /// A value or error text read from the database keeps at most this many characters; a
    /// longer one is cut there and ends with c_sCutMarker.
    static constexpr int c_iMaxTextLength = 4 * 1024 * 1024;
    static inline const QString c_sCutMarker =
        QStringLiteral(" [cut: longer than 4194304 characters]");

    /// All ids 0; item and state are the ids of "none" (-1, as no row carries them).
    CDBMeasurement();
    CDBMeasurement(qint64 lSessionId, qint64 lScanId, qint64 lChannelId, qint64 lMeasurementId);
    CDBMeasurement(const CDBMeasurement&) = default;
    CDBMeasurement(CDBMeasurement&&) noexcept = default;
    CDBMeasurement& operator=(const CDBMeasurement&) = default;
    CDBMeasurement& operator=(CDBMeasurement&&) noexcept = default;
    virtual ~CDBMeasurement() = default;

    qint64 GetSessionId() const { return m_lSessionId; }
    void SetSessionId(qint64 lSessionId) { m_lSessionId = lSessionId; }
    qint64 GetScanId() const { return m_lScanId; }
    void SetScanId(qint64 lScanId) { m_lScanId = lScanId; }
    qint64 GetChannelId() const { return m_lChannelId; }
    void SetChannelId(qint64 lChannelId) { m_lChannelId = lChannelId; }
    qint64 GetMeasurementId() const { return m_lMeasurementId; }
    void SetMeasurementId(qint64 lMeasurementId) { m_lMeasurementId = lMeasurementId; }
    const QString& GetValue() const { return m_sValue; }
    void SetValue(const QString& sValue) { m_sValue = sValue; }
    const QString& GetErrorDescription() const { return m_sErrorDescription; }
    void SetErrorDescription(const QString& sErrorDescription)
    {
        m_sErrorDescription = sErrorDescription;
    }
    long GetMeasurementItem() const { return m_lMeasurementItem; }
    void SetMeasurementItem(long lMeasurementItem) { m_lMeasurementItem = lMeasurementItem; }
    long GetMeasurementState() const { return m_lMeasurementState; }
    void SetMeasurementState(long lMeasurementState) { m_lMeasurementState = lMeasurementState; }

private:
    qint64 m_lSessionId = 0;
    qint64 m_lScanId = 0;
    qint64 m_lChannelId = 0;
    qint64 m_lMeasurementId = 0;
    QString m_sValue;
    QString m_sErrorDescription;
    long m_lMeasurementItem;
    long m_lMeasurementState;
};

} // namespace LumoraMeasurement
