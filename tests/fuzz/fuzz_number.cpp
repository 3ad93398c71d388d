// Number fields and the number formats: strict parsing of any text, formatting of any double.
#include <cmath>

#include "FuzzInput.h"
#include "platform/Error.h"
#include "platform/Format.h"

using namespace umbrix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const std::uint8_t mode = in.byte();
    const int precision = in.byte() % 24;
    const int decimalCount = in.byte() % 48 - 4;  // out-of-range counts are clamped
    const double raw = in.rawDouble();
    const std::string_view text = in.rest();

    if (auto v = parseReal(text, mode & 1)) {
        fuzz::Check(std::isfinite(*v), "parseReal gives a finite number", text);
        // what the program writes, it reads back
        auto back = parseReal(general(*v, 17));
        fuzz::Check(back.has_value(), "general() output converts", text);
        fuzz::Check(*back == *v || std::fabs(*back - *v) <= 1e-15 * std::fabs(*v),
                    "general() keeps the value", text);
    }
    (void)parseInt(text);
    (void)TrimBlanks(text);
    try {
        (void)toReal(text, "EditTa");
    } catch (const ConvertError&) {
    }

    for (double value : {raw, double(float(raw))}) {
        const std::string f = fixed(value, precision, decimalCount);
        const std::string g = general(value, precision);
        const std::string d = decimals(value, decimalCount < 0 ? 0 : decimalCount % 12);
        // rounding the largest doubles up to p digits may pass the largest double
        if (std::fabs(value) < 1e300) {
            fuzz::Check(parseReal(f).has_value(), "fixed() output converts", f);
            fuzz::Check(parseReal(g).has_value(), "general() output converts", g);
            fuzz::Check(parseReal(d).has_value(), "decimals() output converts", d);
        }
    }
    return 0;
}
