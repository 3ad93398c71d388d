#pragma once
// A small 5 × 7 bitmap font for text in raster output, and the UTF-8 decoding it needs.
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace umbrix {

// Glyph cell: 5 columns of 7 rows, plus one blank column and one blank row of spacing.
constexpr int kGlyphColumns = 5;
constexpr int kGlyphRows = 7;
constexpr int kCellColumns = 6;
constexpr int kCellRows = 8;

// The glyph of a code point as 5 column bytes, bit 0 the top row. Characters without a glyph
// get a hollow box.
const std::array<std::uint8_t, kGlyphColumns>& GlyphColumns(char32_t code);

// Code points of a UTF-8 text; every byte that does not start a valid sequence becomes
// U+FFFD, so that malformed text never escapes as stray bytes.
std::vector<char32_t> DecodeUtf8(std::string_view text);

}  // namespace umbrix
