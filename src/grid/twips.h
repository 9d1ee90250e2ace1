#pragma once

#include <QtGlobal>

#include <cmath>

namespace quillon {

// Window positions and sizes are given in twips (1/1440 inch); the screen's logical DPI turns
// them into pixels, 15 twips a pixel at 96 DPI.
inline constexpr double TwipsPerInch = 1440.0;

inline int twipsToPixels(double twips, double dpi)
{
    return int(std::lround(twips * dpi / TwipsPerInch));
}

inline float pixelsToTwips(double pixels, double dpi)
{
    return float(pixels * TwipsPerInch / dpi);
}

} // namespace quillon
