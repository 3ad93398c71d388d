#pragma once
// Text that leaves the program is UTF-8. Files from elsewhere may hold other bytes: weather
// files of older tools are often Latin-1, and arbitrary bytes must never pass on unchecked.
#include <string>
#include <string_view>

namespace umbrix {

// True when the text is well-formed UTF-8 (no overlong forms, surrogates or values beyond
// U+10FFFF).
bool IsValidUtf8(std::string_view text);
// Every byte that does not start a well-formed sequence becomes U+FFFD.
std::string ValidUtf8(std::string_view text);
// Each byte as the Latin-1 character of that code.
std::string Latin1ToUtf8(std::string_view text);
// Well-formed UTF-8 as it is, anything else read as Latin-1.
std::string TextAsUtf8(std::string_view text);

}  // namespace umbrix
