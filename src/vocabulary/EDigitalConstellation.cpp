#include "EDigitalConstellation.h"

using namespace LumoraMeasurement;

// clang-format off
MDA_DEFINE_REPRESENTATION(EDigitalConstellation,
    {eDigitalConstellation_QAM4, 0, "QAM4"},
    {eDigitalConstellation_QAM16, 1, "QAM16"},
    {eDigitalConstellation_QAM32, 2, "QAM32"},
    {eDigitalConstellation_QAM64, 3, "QAM64"},
    {eDigitalConstellation_QAM128, 4, "QAM128"},
    {eDigitalConstellation_QAM256, 5, "QAM256"},
    {eDigitalConstellation_QPSK, 6, "QPSK"},
    {eDigitalConstellation_QAM16NH, 7, "QAM16NH"},
    {eDigitalConstellation_QAM16H1, 8, "QAM16H1"},
    {eDigitalConstellation_QAM16H2, 9, "QAM16H2"},
    {eDigitalConstellation_QAM16H4, 10, "QAM16H4"},
    {eDigitalConstellation_QAM64NH, 12, "QAM64NH"},
    {eDigitalConstellation_QAM64H1, 13, "QAM64H1"},
    {eDigitalConstellation_QAM64H2, 14, "QAM64H2"},
    {eDigitalConstellation_QAM64H4, 15, "QAM64H4"},
    {eDigitalConstellation_QAM4NR, 17, "QAM4NR"},
    {eDigitalConstellation_BPSK, 18, "BPSK"},
    {eDigitalConstellation_VSB, 19, "VSB"})
// clang-format on
