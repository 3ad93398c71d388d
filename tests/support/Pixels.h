#pragma once
// Counting and locating pixels in test pictures.
#include <algorithm>

#include "platform/Raster.h"

namespace umbrix::test {

inline int CountColour(const Raster& r, Colour c) {
    int n = 0;
    for (int y = 0; y < r.height(); ++y)
        for (int x = 0; x < r.width(); ++x) n += r.pixel(x, y) == c;
    return n;
}

// Bounding box of the pixels that are not white (right and bottom exclusive).
inline Rect NonWhiteExtent(const Raster& r) {
    Rect e{1 << 30, 1 << 30, -1, -1};
    for (int y = 0; y < r.height(); ++y)
        for (int x = 0; x < r.width(); ++x)
            if (r.pixel(x, y) != kWhite) {
                e.left = std::min(e.left, x), e.top = std::min(e.top, y);
                e.right = std::max(e.right, x + 1), e.bottom = std::max(e.bottom, y + 1);
            }
    return e;
}

}  // namespace umbrix::test
