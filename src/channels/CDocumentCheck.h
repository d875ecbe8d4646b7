#pragma once

#include "MainDataAccess_export.h"

#include "SDocumentFinding.h"

#include <QString>
#include <QVector>

namespace LumoraMeasurement
{

/// Reads a device settings, limit, channel table or measurement configuration file strictly
/// and tells everything in it that the lenient readers would silently take as something else:
/// wrong JSON, a field of the wrong type, an unknown id, a unit that is not recognised or
/// cannot be converted to the item's unit, a low limit above its high limit, a frequency or
/// symbol rate that does not parse, a named file that does not exist. Each call appends its
/// findings and returns true when it found nothing.
class MDA_EXPORT CDocumentCheck
{
public:
    /// Tells the kind from the document's top-level key (or, failing that, a .measconfig
    /// suffix); a document of no known kind is itself a finding.
    static bool CheckFile(const QString& sPath, QVector<SDocumentFinding>& lFindings);
    /// Checks a device settings file.
    static bool CheckDeviceSettings(const QString& sPath, QVector<SDocumentFinding>& lFindings);
    /// Checks a limit file.
    static bool CheckLimitTable(const QString& sPath, QVector<SDocumentFinding>& lFindings);
    /// Checks a channel table file.
    static bool CheckChannelTable(const QString& sPath, QVector<SDocumentFinding>& lFindings);
    /// Also checks that the three files it names exist, and checks each of them in turn.
    static bool CheckMeasurementConfiguration(const QString& sPath,
                                              QVector<SDocumentFinding>& lFindings);
};

} // namespace LumoraMeasurement
