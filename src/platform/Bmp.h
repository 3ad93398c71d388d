#pragma once
// Windows bitmap files (.bmp). Written as 24-bit bottom-up files with a BITMAPINFOHEADER;
// read from uncompressed 1, 4 and 8-bit palette files and 24 and 32-bit files (32-bit also
// with bit-field masks), bottom-up or top-down. A bitmap is untrusted input: anything else,
// and every malformed or truncated file, is refused with a FileError naming the file and the
// reason, without reading past the data.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/Raster.h"

namespace umbrix {

// Larger pictures are refused rather than allocated.
constexpr int kBmpMaxSide = 20000;
constexpr std::uint64_t kBmpMaxPixelBytes = 256ull << 20;  // in memory, 4 bytes a pixel

std::vector<std::uint8_t> EncodeBmp(const Raster& picture);
// name stands for the data in error messages.
Raster DecodeBmp(std::span<const std::uint8_t> data, const std::string& name);

void WriteBmp(const std::string& path, const Raster& picture);
Raster ReadBmp(const std::string& path);
// Replaces target only when the whole file has been read.
void LoadBmp(const std::string& path, Raster& target);

}  // namespace umbrix
