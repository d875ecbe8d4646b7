#include "EAnalogGroupDelay.h"

using namespace LumoraMeasurement;

// clang-format off
MDA_DEFINE_REPRESENTATION(EAnalogGroupDelay,
    {eAnalogGroupDelay_General, 0, "General"},
    {eAnalogGroupDelay_GeneralHalf, 1, "GeneralHalf"},
    {eAnalogGroupDelay_Australia, 2, "Australia"},
    {eAnalogGroupDelay_Denmark, 3, "Denmark"},
    {eAnalogGroupDelay_NewZealand, 4, "NewZealand"},
    {eAnalogGroupDelay_Norway, 5, "Norway"},
    {eAnalogGroupDelay_SwedenFull, 6, "SwedenFull"},
    {eAnalogGroupDelay_Flat, 7, "Flat"},
    {eAnalogGroupDelay_Oirt, 8, "Oirt"},
    {eAnalogGroupDelay_Oirt75, 9, "Oirt75"},
    {eAnalogGroupDelay_Oirt83, 10, "Oirt83"},
    {eAnalogGroupDelay_CCIR, 11, "CCIR"},
    {eAnalogGroupDelay_TDF, 12, "TDF"},
    {eAnalogGroupDelay_K1, 13, "K1"},
    {eAnalogGroupDelay_FCC, 14, "FCC"})
// clang-format on
