#pragma once

#include "CRepresentation.h"

namespace LumoraMeasurement
{

/// The modulation constellation of a digital channel.
enum EDigitalConstellation : int
{
    eDigitalConstellation_QAM4 = 0,
    eDigitalConstellation_QAM16 = 1,
    eDigitalConstellation_QAM32 = 2,
    eDigitalConstellation_QAM64 = 3,
    eDigitalConstellation_QAM128 = 4,
    eDigitalConstellation_QAM256 = 5,
    eDigitalConstellation_QPSK = 6,
    eDigitalConstellation_QAM16NH = 7,
    eDigitalConstellation_QAM16H1 = 8,
    eDigitalConstellation_QAM16H2 = 9,
    eDigitalConstellation_QAM16H4 = 10,
    eDigitalConstellation_QAM64NH = 11,
    eDigitalConstellation_QAM64H1 = 12,
    eDigitalConstellation_QAM64H2 = 13,
    eDigitalConstellation_QAM64H4 = 14,
    eDigitalConstellation_QAM4NR = 15,
    eDigitalConstellation_BPSK = 16,
    eDigitalConstellation_VSB = 17,
    eDigitalConstellation_None = 18 ///< sentinel
};

} // namespace LumoraMeasurement

MDA_DECLARE_REPRESENTATION(LumoraMeasurement::EDigitalConstellation)
