// Date fields and data-file dates: any text against common and arbitrary formats.
#include "FuzzInput.h"
#include "platform/DateTime.h"

using namespace umbrix;

namespace {
// Exactly "A/B/C" or "A/B/C/" with day, month and year runs A, B, C in some order and one
// separator between them: the formats whose output the reader splits back into its fields.
bool PlainFormat(std::string_view format, char separator) {
    std::string runs;
    std::size_t i = 0;
    while (i < format.size()) {
        const char letter = format[i];
        if (letter != 'd' && letter != 'm' && letter != 'y') return false;
        runs += letter;
        while (i < format.size() && format[i] == letter) ++i;
        if (i == format.size()) break;
        if (format[i] != separator && format[i] != '/') return false;
        ++i;
    }
    return runs.size() == 3 && runs[0] != runs[1] && runs[1] != runs[2] && runs[0] != runs[2];
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
        // a plain format with a four-digit year reads its own output
        if (settings.shortDateFormat.find("yyy") != std::string::npos &&
            PlainFormat(settings.shortDateFormat, settings.dateSeparator)) {
            auto back = ParseDate(settings, written, currentYear);
            fuzz::Check(back && *back == *date, "FormatDate output reads back", written);
        }
    }
    (void)IsUsableDateFormat(text);
    (void)ShownTimeFormat(text);
    return 0;
}
