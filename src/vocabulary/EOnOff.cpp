#include "EOnOff.h"

using namespace LumoraMeasurement;

MDA_DEFINE_REPRESENTATION(EOnOff,
    {eOnOff_On, 0, "On"},
    {eOnOff_Off, 1, "Off"})
