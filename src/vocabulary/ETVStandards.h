#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// The TV standard of a channel. Enumerators and stored ids differ from DVB-T on.
enum ETVStandards : int
{
    eTVStandard_BG_Pal = 0,
    eTVStandard_BG_Secam = 1,
    eTVStandard_DK_Pal = 2,
    eTVStandard_DK_Secam = 3,
    eTVStandard_I_Pal = 4,
    eTVStandard_K1_Secam = 5,
    eTVStandard_M_Pal = 6,
    eTVStandard_M_NTSC = 7,
    eTVStandard_N_Pal = 8,
    eTVStandard_J83A = 9,
    eTVStandard_J83B = 10,
    eTVStandard_J83C = 11,
    eTVStandard_DTMB = 12,
    eTVStandard_DVBT = 13,
    eTVStandard_DVBT2 = 14,
    eTVStandard_ATSC_8VSB = 15,
    eTVStandard_ATSC_MDTV = 16,
    eTVStandard_TDMB = 17,
    eTVStandard_ISDBT = 18,
    eTVStandard_EuroDOCSIS30 = 19,
    eTVStandard_DOCSIS30 = 20,
    eTVStandard_DOCSIS30_J83C = 21,
    eTVStandard_DOCSIS31 = 22,
    eTVStandard_None = 23 ///< sentinel
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::ETVStandards)
