#pragma once

#include "MainDataAccess_export.h"

namespace OrvelFramework
{

/// An RGB colour of the result display.
class MDA_EXPORT CRDColor
{
public:
    constexpr CRDColor(unsigned char ucRed, unsigned char ucGreen, unsigned char ucBlue)
        : m_ucRed(ucRed), m_ucGreen(ucGreen), m_ucBlue(ucBlue)
    {
    }

    constexpr unsigned char GetRed() const { return m_ucRed; }
    constexpr unsigned char GetGreen() const { return m_ucGreen; }
    constexpr unsigned char GetBlue() const { return m_ucBlue; }

    constexpr bool operator==(const CRDColor& other) const
    {
        return m_ucRed == other.m_ucRed && m_ucGreen == other.m_ucGreen &&
               m_ucBlue == other.m_ucBlue;
    }
    constexpr bool operator!=(const CRDColor& other) const { return !(*this == other); }

private:
    unsigned char m_ucRed;
    unsigned char m_ucGreen;
    unsigned char m_ucBlue;
};

// Constant-initialised, so usable from any static constructor.
inline constexpr CRDColor c_ColorGreen(0, 255, 0);
inline constexpr CRDColor c_ColorLightGray(192, 192, 192);
inline constexpr CRDColor c_ColorYellow(255, 255, 0);
inline constexpr CRDColor c_ColorRed(255, 0, 0);

} // namespace OrvelFramework
