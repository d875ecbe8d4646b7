#include "EChannelProfile.h"

using namespace LumoraMeasurement;

// clang-format off
MDA_DEFINE_REPRESENTATION(EChannelProfile,
    {eChannelProfile_All, 0, "All"},
    {eChannelProfile_A, 1, "A"},
    {eChannelProfile_B, 2, "B"},
    {eChannelProfile_C, 3, "C"},
    {eChannelProfile_D, 4, "D"},
    {eChannelProfile_E, 5, "E"},
    {eChannelProfile_F, 6, "F"},
    {eChannelProfile_G, 7, "G"},
    {eChannelProfile_H, 8, "H"},
    {eChannelProfile_I, 9, "I"},
    {eChannelProfile_J, 10, "J"},
    {eChannelProfile_K, 11, "K"},
    {eChannelProfile_L, 12, "L"},
    {eChannelProfile_M, 13, "M"},
    {eChannelProfile_N, 14, "N"},
    {eChannelProfile_O, 15, "O"},
    {eChannelProfile_P, 16, "P"})
// clang-format on
