#pragma once

#include "MainDataAccess_export.h"

#include "EAnalogGroupDelay.h"
#include "EAnalogSoundSystem.h"
#include "ECategory.h"
#include "EChannelBandwidth.h"
#include "EChannelType.h"
#include "EColorSystem.h"
#include "EDigitalConstellation.h"
#include "EMeasurementItems.h"
#include "EOnOff.h"
#include "ERollOffFactor.h"
#include "ESettingsItems.h"
#include "ESideBandPosition.h"
#include "ETVStandards.h"
#include "ETestLineType.h"

#include <QString>

namespace LumoraMeasurement
{

/// Converts enumerators to and from the short tokens and numeric codes the application
/// exchanges with instruments and older files. These tokens are not the display texts of the
/// representation tables. Every conversion answers; unknown input gives a fixed fallback.
class MDA_EXPORT CEnumConverter
{
public:
    CEnumConverter() = delete;

    // Short tokens. ...ToEnum(QString) matches by case-insensitive containment, testing a
    // token before any shorter token it contains, unless stated otherwise.

    /// "General", "Digital", "Analog"; "Unknown ECategory" otherwise.
    static QString ECategoryToString(ECategory eCategory);
    /// Trimmed, then exact and case-sensitive: "Analogue", "Digital", "General"; anything
    /// else is analogue.
    static ECategory ECategoryToEnum(const QString& sText);

    /// The instrument token of the group delay; "Unknown EAnalogGroupDelay" without one.
    static QString EAnalogGroupDelayToString(EAnalogGroupDelay eDelay);
    /// General when no token is contained.
    static EAnalogGroupDelay EAnalogGroupDelayToEnum(const QString& sText);

    /// The instrument token of the sound system; "Unknown EAnalogSoundSystem" without one.
    static QString EAnalogSoundSystemToString(EAnalogSoundSystem eSystem);
    /// FM 5.5 MHz / NICAM 5.85 MHz when no token is contained.
    static EAnalogSoundSystem EAnalogSoundSystemToEnum(const QString& sText);

    /// The instrument token of the colour system; "Unknown EColorSystem" without one.
    static QString EColorSystemToString(EColorSystem eSystem);
    /// SECAM when no token is contained.
    static EColorSystem EColorSystemToEnum(const QString& sText);

    /// The DOCSIS standards have no token: "Unknown EDigitalStandard".
    static QString ETVStandardsToString(ETVStandards eStandard);
    /// B/G Pal when no token is contained.
    static ETVStandards ETVStandardsToEnum(const QString& sText);

    /// Exact and case-sensitive: "Analogue" and "Analog" are analogue, "Digital" digital,
    /// anything else eChannelType_Unknown.
    static EChannelType EChannelTypeToEnum(const QString& sText);

    ///@{
    /// The enumerator of a numeric code of the instrument interface; a code outside the table
    /// gives the fallback.
    static EAnalogGroupDelay EAnalogGroupDelayToEnum(short iCode);
    static EAnalogSoundSystem EAnalogSoundSystemToEnum(short iCode);
    static ETVStandards ETVStandardsAnalogToEnum(short iCode);
    static ETVStandards ETVStandardsDigitalToEnum(short iCode);
    static ETVStandards EVideoStandardToEnum(short iCode);
    static ETestLineType ETestLineTypeToEnum(short iCode);
    ///@}
    /// Any non-zero code is eOnOff_Off.
    static EOnOff EAutoTPSToEnum(short iCode);
    /// The code is the bandwidth in MHz (2 stands for 1.7 MHz).
    static EChannelBandwidth EChannelBandWidthToEnum(short iCode);
    /// The constellation of an instrument code; eDigitalConstellation_None outside the table.
    static EDigitalConstellation EQAMOrderToEnum(short iCode);
    /// The code is the factor in hundredths (115 stands for 0.115).
    static ERollOffFactor ERollOfFactorToEnum(short iCode);
    /// The sideband position of an instrument code; eSideBandPosition_Normal outside the table.
    static ESideBandPosition ESideBandPositionToEnum(short iCode);
    /// The channel type of an instrument code; eChannelType_Unknown outside the table.
    static EChannelType EChannelTypeToEnum(short iCode);
    /// The instrument code of a channel type; 0 for a type without one.
    static short EChannelTypeToNumber(EChannelType eType);

    /// The item whose profile name is sName (trimmed, any case); eMeasItem_None for an empty or
    /// unknown name.
    static EMeasurementItems ConvertToEMeasurementItems(const QString& sName);
    /// The item with that numeric id; eMeasItem_None for an id no item has.
    static EMeasurementItems ConvertIdToEMeasurementItems(long lId);
    /// The item's numeric id; an item without one gives the largest id (HUM's).
    static long ConvertEMeasurementItemsToId(EMeasurementItems eItem);
    /// The profile text of a state value of the item; "unknown" for a pair without one.
    static QString ConvertProfileEnumValueForEMeasurementItemsToString(EMeasurementItems eItem,
                                                                       short iValue);
    /// The settings item whose profile name is sName (trimmed, any case); eSettingsItem_None for
    /// an unknown name.
    static ESettingsItems ConvertToESettingsItem(const QString& sName);
};

} // namespace LumoraMeasurement
