#include "ETVStandards.h"

using namespace LumoraMeasurement;

MDA_DEFINE_REPRESENTATION(ETVStandards,
    {eTVStandard_BG_Pal, 0, "B/G Pal (analog)"},
    {eTVStandard_BG_Secam, 1, "B/G Secam (analog)"},
    {eTVStandard_DK_Pal, 2, "D/K Pal (analog)"},
    {eTVStandard_DK_Secam, 3, "D/K Secam (analog)"},
    {eTVStandard_I_Pal, 4, "I Pal (analog)"},
    {eTVStandard_K1_Secam, 5, "K1 Secam (analog)"},
    {eTVStandard_M_Pal, 6, "M Pal (analog)"},
    {eTVStandard_M_NTSC, 7, "M NTSC (analog)"},
    {eTVStandard_N_Pal, 8, "N Pal (analog)"},
    {eTVStandard_J83A, 9, "DVB-C / J83/A (digital)"},
    {eTVStandard_J83B, 10, "J83/B (digital)"},
    {eTVStandard_J83C, 11, "J83/C (digital)"},
    {eTVStandard_DVBT, 14, "DVB-T (digital)"},
    {eTVStandard_DVBT2, 12, "DVB-T2 (digital)"},
    {eTVStandard_ATSC_8VSB, 15, "ATSC / 8VSB (digital)"},
    {eTVStandard_ATSC_MDTV, 22, "ATSC / MDTV (digital)"},
    {eTVStandard_DTMB, 13, "DTMB (digital)"},
    {eTVStandard_TDMB, 16, "T-DMB / DAB (digital)"},
    {eTVStandard_ISDBT, 17, "ISDB-T (digital)"},
    {eTVStandard_EuroDOCSIS30, 18, "EuroDOCSIS 3.0 (digital)"},
    {eTVStandard_DOCSIS30, 19, "DOCSIS 3.0 (digital)"},
    {eTVStandard_DOCSIS30_J83C, 20, "DOCSIS 3.0 J.83/C (digital)"},
    {eTVStandard_DOCSIS31, 21, "DOCSIS 3.1 (digital)"})
