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
    /// Ends a text cut at c_iMaxTextLength characters.
    static inline const QString c_sCutMarker =
        QStringLiteral(" [cut: longer than 4194304 characters]");

    /// All ids 0; item and state are the ids of "none" (-1, as no row carries them).
    CDBMeasurement();
    /// The given ids; texts empty, item and state -1 as in the default record.
    CDBMeasurement(qint64 lSessionId, qint64 lScanId, qint64 lChannelId, qint64 lMeasurementId);
    /// A copy of the other record.
    CDBMeasurement(const CDBMeasurement&) = default;
    /// Takes the other record's fields.
    CDBMeasurement(CDBMeasurement&&) noexcept = default;
    /// Copies the other record's fields.
    CDBMeasurement& operator=(const CDBMeasurement&) = default;
    /// Takes the other record's fields.
    CDBMeasurement& operator=(CDBMeasurement&&) noexcept = default;
    virtual ~CDBMeasurement() = default;

    /// The row id of the session the value was measured in.
    qint64 GetSessionId() const { return m_lSessionId; }
    /// Sets the session id; CDBMeasurementController::Update() uses it to find the row.
    void SetSessionId(qint64 lSessionId) { m_lSessionId = lSessionId; }
    /// The id of the scan within the session.
    qint64 GetScanId() const { return m_lScanId; }
    /// Sets the scan id; CDBMeasurementController::Update() uses it to find the row.
    void SetScanId(qint64 lScanId) { m_lScanId = lScanId; }
    /// The channel's row in the channel table of the session's channel file.
    qint64 GetChannelId() const { return m_lChannelId; }
    /// Sets the channel row.
    void SetChannelId(qint64 lChannelId) { m_lChannelId = lChannelId; }
    /// The row id of the measurement; 0 for a record not read from the database.
    qint64 GetMeasurementId() const { return m_lMeasurementId; }
    /// Sets the row id; CDBMeasurementController::Update() fails for one below 1.
    void SetMeasurementId(qint64 lMeasurementId) { m_lMeasurementId = lMeasurementId; }
    /// The measured text: a number, optionally followed by one space and a unit; empty before it is
    /// measured.
    const QString& GetValue() const { return m_sValue; }
    /// Sets the measured text.
    void SetValue(const QString& sValue) { m_sValue = sValue; }
    /// Why the measurement failed, in words; empty when it did not.
    const QString& GetErrorDescription() const { return m_sErrorDescription; }
    /// Sets the error text; an empty one never overwrites a stored text on update.
    void SetErrorDescription(const QString& sErrorDescription)
    {
        m_sErrorDescription = sErrorDescription;
    }
    /// The stored id of the measured item's representation row; -1 when none is set.
    long GetMeasurementItem() const { return m_lMeasurementItem; }
    /// Sets the stored id of the item's representation row (not the enumerator).
    void SetMeasurementItem(long lMeasurementItem) { m_lMeasurementItem = lMeasurementItem; }
    /// The stored id of the item state's representation row; -1 when none is set.
    long GetMeasurementState() const { return m_lMeasurementState; }
    /// Sets the stored id of the state's representation row (not the enumerator).
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
