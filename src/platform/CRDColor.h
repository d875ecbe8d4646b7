#pragma once

#include "MainDataAccess_export.h"

namespace OrvelFramework
{

/// An RGB colour of the result display.
class MDA_EXPORT CRDColor
{
public:
    /// The colour with these red, green and blue parts (0 to 255).
    constexpr CRDColor(unsigned char ucRed, unsigned char ucGreen, unsigned char ucBlue)
        : m_ucRed(ucRed), m_ucGreen(ucGreen), m_ucBlue(ucBlue)
    {
    }

    /// The red part.
    constexpr unsigned char GetRed() const { return m_ucRed; }
    /// The green part.
    constexpr unsigned char GetGreen() const { return m_ucGreen; }
    /// The blue part.
    constexpr unsigned char GetBlue() const { return m_ucBlue; }

    /// True when all three parts are equal.
    constexpr bool operator==(const CRDColor& other) const
    {
        return m_ucRed == other.m_ucRed && m_ucGreen == other.m_ucGreen &&
               m_ucBlue == other.m_ucBlue;
    }
    /// True when any part differs.
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
