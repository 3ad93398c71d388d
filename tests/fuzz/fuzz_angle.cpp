// Angle fields: "D°M'" or a decimal number, read back as decimal degrees and reformatted.
#include <cmath>

#include "FuzzInput.h"
#include "platform/Angle.h"
#include "platform/Error.h"

using namespace umbrix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const double value = ParseAngle(text, "EditLg");
        fuzz::Check(std::isfinite(value), "ParseAngle gives a finite angle", text);
    } catch (const ConvertError&) {
    }
    const std::string shown = FormatAngle(text);
    // the formatted angle is whole degrees and minutes in [-180°, 180°) and reads back
    try {
        const double back = ParseAngle(shown, "EditLg");
        fuzz::Check(back >= -180.0 && back < 180.0, "FormatAngle wraps into [-180, 180)", shown);
    } catch (const ConvertError&) {
        fuzz::Fail("FormatAngle output converts", shown);
    }
    return 0;
}
