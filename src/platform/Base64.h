#pragma once
// Base64 (RFC 4648, with padding) for binary data kept in text files.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace umbrix {

std::string EncodeBase64(const std::vector<std::uint8_t>& data);
// Nothing when the text is not base64: a character outside the alphabet, a length that is no
// multiple of four, or padding anywhere but at the end.
std::optional<std::vector<std::uint8_t>> DecodeBase64(std::string_view text);

}  // namespace umbrix
