// Time fields and data-file times: any text, and any fraction of a day written back.
#include <cmath>

#include "FuzzInput.h"
#include "platform/DateTime.h"

using namespace umbrix;

namespace {
constexpr const char* kFormats[] = {"h:mm", "hh:nn:ss", "h:mm:ss", "h.mm"};
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const std::uint8_t choice = in.byte();
    const double fraction = in.rawDouble();
    FormatSettings settings;
    if (choice < 4) {
        settings.longTimeFormat = kFormats[choice];
    } else {
        settings.longTimeFormat = StandardTimeLetters(in.line());  // a format as typed
    }
    settings.timeSeparator = FirstNonLetter(settings.longTimeFormat).value_or(':');
    const std::string_view text = in.rest();

    if (auto t = ParseTime(settings, text)) {
        fuzz::Check(*t >= 0.0 && *t < 1.0, "ParseTime gives a fraction of a day", text);
        if (choice < 4) {
            // whole seconds survive writing and reading with a seconds format
            FormatSettings full{.longTimeFormat = "hh:nn:ss"};
            auto back = ParseTime(full, FormatTime(full, *t));
            fuzz::Check(back && std::fabs(*back - *t) < 0.5 / 86400, "time round trip", text);
        }
    }
    const std::string shown = FormatTime(settings, fraction);
    (void)FormatDate(settings.longTimeFormat, settings.timeSeparator, Date{});
    (void)IsUsableTimeFormat(text);
    fuzz::Check(shown.size() < 64 + 8 * settings.longTimeFormat.size(), "FormatTime stays short",
                shown);
    return 0;
}
