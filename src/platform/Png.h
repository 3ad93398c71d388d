#pragma once
// PNG encoding of a raster, for pictures embedded in vector files. The data are stored
// without compression: simple, exact, and small enough for the 481-pixel pictures involved.
#include <cstdint>
#include <vector>

#include "platform/Raster.h"

namespace umbrix {

// 8-bit RGB; with whiteTransparent a tRNS chunk marks pure white as transparent.
std::vector<std::uint8_t> EncodePng(const Raster& picture, bool whiteTransparent);

}  // namespace umbrix
