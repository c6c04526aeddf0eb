#pragma once

#include <cmath>

namespace quorl::ui {

inline constexpr int kTwipsPerPixel = 15; // at 96 dots per inch

inline int twipsToPixels(int twips)
{
    return int(std::lround(twips / double(kTwipsPerPixel)));
}

inline int pixelsToTwips(int pixels)
{
    return pixels * kTwipsPerPixel;
}

} // namespace quorl::ui
