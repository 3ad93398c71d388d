// Date fields and data-file dates: any text against common and arbitrary formats.
#include <cctype>

#include "FuzzInput.h"
#include "platform/DateTime.h"

using namespace umbrix;

namespace {
// Day, month and year each once, as runs of letters with a separator between them, the
// first at the start.
bool OneRunEach(std::string_view format) {
    if (format.empty() || !std::isalpha(static_cast<unsigned char>(format[0]))) return false;
    std::string runs;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (!std::isalpha(static_cast<unsigned char>(format[i]))) continue;
        if (i > 0 && std::isalpha(static_cast<unsigned char>(format[i - 1]))) {
            if (format[i - 1] != format[i]) return false;  // no separator between two fields
            continue;
        }
        runs += format[i];
    }
    return runs.size() == 3 && runs.find_first_not_of("dmy") == std::string::npos &&
           runs[0] != runs[1] && runs[1] != runs[2] && runs[0] != runs[2];
}

constexpr const char* kFormats[] = {"d.m.yyyy", "dd.mm.yyyy", "d/m/yy",   "yyyy-mm-dd",
                                    "m/d/yyyy", "d.m.",       "T.M.JJJJ", "yy/m/d"};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const std::uint8_t choice = in.byte();
    const int currentYear = int(in.byte()) * 40 - 200;  // also years outside 1..9999
    FormatSettings settings;
    if (choice < 8) {
        settings.shortDateFormat = StandardDateLetters(kFormats[choice]);
    } else {
        settings.shortDateFormat = StandardDateLetters(in.line());  // a format as typed
    }
    settings.dateSeparator = FirstNonLetter(settings.shortDateFormat).value_or('.');
    const std::string_view text = in.rest();

    if (auto date = ParseDate(settings, text, currentYear)) {
        fuzz::Check(IsValidDate(*date), "ParseDate gives a valid date", text);
        fuzz::Check(DayOfYear(*date) >= 1 && DayOfYear(*date) <= DaysInYear(date->year),
                    "day of year in range", text);
        fuzz::Check(SerialToDate(DateToSerial(*date)) == *date, "serial round trip", text);
        const std::string written = FormatDate(settings, *date);
        // a format of date letters and separators with a four-digit year reads its own output
        const std::string plain = std::string("dmy/") + settings.dateSeparator;
        if (settings.shortDateFormat.find("yyy") != std::string::npos &&
            settings.shortDateFormat.find_first_not_of(plain) == std::string::npos &&
            OneRunEach(settings.shortDateFormat) && IsUsableDateFormat(settings.shortDateFormat)) {
            auto back = ParseDate(settings, written, currentYear);
            fuzz::Check(back && *back == *date, "FormatDate output reads back", written);
        }
    }
    (void)IsUsableDateFormat(text);
    (void)ShownTimeFormat(text);
    return 0;
}
