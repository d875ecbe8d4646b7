#pragma once

#include "CSessionReader.h"
#include "EValueType.h"

#include <QString>

#include <vector>

class CJudgedSession;

/// The columns of the CSV for analysts that one session's configuration decides: a state
/// item's value in words, the limit each value was judged against and its margin, the
/// channel's standard and frequency. Everything is looked up once per session; a row only
/// appends ready fields, and formats numbers only where they vary.
class CCsvSessionColumns
{
public:
    explicit CCsvSessionColumns(CJudgedSession& session);

    /// The value and unit fields of a row (a state item's value as its word, a text item's
    /// value whole), then sCode receives the field of the stored state code (empty for other
    /// items).
    void AppendValue(QString& sLine, const LumoraMeasurement::CSessionReader::SRow& row,
                     QString& sCode) const;
    /// compare_type, limit_low, limit_high, limit_unit, limit_offset, margin, each preceded by
    /// a comma.
    void AppendLimits(QString& sLine, const LumoraMeasurement::CSessionReader::SRow& row) const;
    /// channel_standard, channel_frequency_hz, each preceded by a comma.
    void AppendChannel(QString& sLine, long lChannelId) const;

    /// A stored scan time ("yyyy-MM-dd HH:mm:ss", local time of this machine) in ISO 8601 with
    /// its UTC offset; a text that is no such time, or a local time that does not exist, is
    /// given back as it is.
    static QString ToIsoTime(const QString& sStored);
    /// A frequency cell ("306 MHz", "55.25MHz", a bare number in MHz) in Hz; false when it is
    /// none.
    static bool ReadFrequency(const QString& sCell, double& dHz);

private:
    struct SLimitFields
    {
        QString m_sLow;
        QString m_sHigh;
        QString m_sOffset;
        double m_dLow = 0.0; ///< as the judge compares: single precision, offset added
        double m_dHigh = 0.0;
    };
    struct SItem
    {
        bool m_bKnown = false;
        LumoraMeasurement::EValueType m_eValueType = LumoraMeasurement::eValueType_None;
        bool m_bState = false;
        std::vector<QString> m_vStateWords; ///< the state's word by stored code
        QString m_sCompare;
        QString m_sUnit;
        QString m_sUnitText; ///< the limit's unit as a value text writes it
        bool m_bLow = false;
        bool m_bHigh = false;
        bool m_bMargin = false;     ///< both are numbers in the same unit, compared as a range
        bool m_bPerChannel = false; ///< the channel's power limit offset shifts the limits
        SLimitFields m_Limits;
    };

    const SItem* Item(long lItemId) const;
    const SLimitFields& Limits(const SItem& item, long lChannelId) const;
    bool Margin(const SItem& item, const SLimitFields& limits,
                const LumoraMeasurement::CSessionReader::SRow& row, double& dMargin) const;

    std::vector<SItem> m_vItems;
    std::vector<SLimitFields> m_vPowerLimits; ///< by channel id
    SLimitFields m_PowerBeyondTable;
    std::vector<QString> m_vChannelFields; ///< ",standard,frequency" by channel id
    QString m_sNoChannel;
};
