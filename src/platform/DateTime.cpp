#include "platform/DateTime.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/Format.h"

namespace umbrix {

namespace {

enum class Kind {
    Literal,
    DateSeparator,
    TimeSeparator,
    Day,
    Month,
    Year,
    Hour,
    Minute,
    Second,
};

struct Token {
    Kind kind;
    bool wide;  // two digits ("dd", "mm", "hh", "nn", "ss") or the four-digit year
    std::string_view text;
};

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}
bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsDateKind(Kind k) {
    return k == Kind::Day || k == Kind::Month || k == Kind::Year;
}

// A run of one letter is one token; runs longer than two count as the two-letter form (and
// three or more y as the four-digit year).
std::vector<Token> Tokenize(std::string_view format) {
    std::vector<Token> tokens;
    Kind lastLetter = Kind::Literal;
    std::size_t i = 0;
    while (i < format.size()) {
        char c = Lower(format[i]);
        std::size_t run = 1;
        if (c == 'd' || c == 'm' || c == 'n' || c == 'y' || c == 'h' || c == 's') {
            while (i + run < format.size() && Lower(format[i + run]) == c) ++run;
            Kind kind;
            switch (c) {
                case 'd':
                    kind = Kind::Day;
                    break;
                // m after an hour token means minutes, as in "h:mm"
                case 'm':
                    kind = lastLetter == Kind::Hour ? Kind::Minute : Kind::Month;
                    break;
                case 'n':
                    kind = Kind::Minute;
                    break;
                case 'y':
                    kind = Kind::Year;
                    break;
                case 'h':
                    kind = Kind::Hour;
                    break;
                default:
                    kind = Kind::Second;
                    break;
            }
            bool wide = kind == Kind::Year ? run >= 3 : run >= 2;
            tokens.push_back({kind, wide, format.substr(i, run)});
            lastLetter = kind;
        } else if (c == '/') {
            tokens.push_back({Kind::DateSeparator, false, format.substr(i, 1)});
        } else if (c == ':') {
            tokens.push_back({Kind::TimeSeparator, false, format.substr(i, 1)});
        } else {
            tokens.push_back({Kind::Literal, false, format.substr(i, 1)});
        }
        i += run;
    }
    return tokens;
}

void AppendNumber(std::string& out, long long value, int minDigits) {
    std::string digits = std::to_string(value < 0 ? -value : value);
    if (value < 0) out.push_back('-');
    if (int(digits.size()) < minDigits) out.append(std::size_t(minDigits) - digits.size(), '0');
    out.append(digits);
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == separator) {
            parts.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

// 1 to maxDigits decimal digits, nothing else.
std::optional<int> SmallNumber(std::string_view text, std::size_t maxDigits) {
    if (text.empty() || text.size() > maxDigits) return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// Days from 1 January 1970 (H. Hinnant's civil calendar algorithms), in 64 bits throughout.
long long DaysFromCivil(long long y, long long m, long long d) {
    y -= m <= 2;
    long long era = (y >= 0 ? y : y - 399) / 400;
    long long yoe = y - era * 400;
    long long mp = (m + 9) % 12;
    long long doy = (153 * mp + 2) / 5 + d - 1;
    long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

Date CivilFromDays(long long z) {
    z += 719468;
    long long era = (z >= 0 ? z : z - 146096) / 146097;
    long long doe = z - era * 146097;
    long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    long long mp = (5 * doy + 2) / 153;
    long long d = doy - (153 * mp + 2) / 5 + 1;
    long long m = mp < 10 ? mp + 3 : mp - 9;
    long long y = yoe + era * 400 + (m <= 2);
    return Date{int(y), int(m), int(d)};
}

// Serial of 1 January of year 1 is 1.
constexpr long long kSerialOffset = 719163;
// Keeps every year inside int (about five million years either way).
constexpr long long kSerialLimit = 365LL * 5000000;

long long ClampSerial(long long serial) {
    return std::clamp(serial, -kSerialLimit, kSerialLimit);
}

}  // namespace

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsValidDate(const Date& date) {
    return date.year >= 1 && date.year <= 9999 && date.month >= 1 && date.month <= 12 &&
           date.day >= 1 && date.day <= DaysInMonth(date.year, date.month);
}

long DateToSerial(const Date& date) {
    return long(ClampSerial(DaysFromCivil(date.year, date.month, date.day) + kSerialOffset));
}

Date SerialToDate(long serial) {
    return CivilFromDays(ClampSerial(serial) - kSerialOffset);
}

Date AddDays(const Date& date, long days) {
    long long serial = DateToSerial(date) + ClampSerial(days);
    return SerialToDate(long(ClampSerial(serial)));
}

int DayOfYear(const Date& date) {
    return int(DateToSerial(date) - DateToSerial(Date{date.year, 1, 1}) + 1);
}

int DaysInYear(int year) {
    return IsLeapYear(year) ? 366 : 365;
}

Date DateOfDayOfYear(int year, long day) {
    return AddDays(Date{year, 1, 1}, ClampSerial(day) - 1);
}

std::string FormatDate(std::string_view format, char dateSeparator, const Date& date) {
    std::string out;
    for (const Token& t : Tokenize(format)) {
        switch (t.kind) {
            case Kind::Day:
                AppendNumber(out, date.day, t.wide ? 2 : 1);
                break;
            case Kind::Month:
                AppendNumber(out, date.month, t.wide ? 2 : 1);
                break;
            case Kind::Year:
                if (t.wide)
                    AppendNumber(out, date.year, 4);
                else
                    AppendNumber(out, ((date.year % 100) + 100) % 100, 2);
                break;
            case Kind::DateSeparator:
                out.push_back(dateSeparator);
                break;
            default:  // a date has no time of day: its letters stay
                out.append(t.text);
                break;
        }
    }
    return out;
}

std::string FormatDate(const FormatSettings& settings, const Date& date) {
    return FormatDate(settings.shortDateFormat, settings.dateSeparator, date);
}

std::optional<Date> ParseDate(const FormatSettings& settings, std::string_view text,
                              int currentYear) {
    // order of day, month and year as the format names them; unnamed ones follow as d, m, y
    std::vector<Kind> order;
    for (const Token& t : Tokenize(settings.shortDateFormat)) {
        if (IsDateKind(t.kind) && std::find(order.begin(), order.end(), t.kind) == order.end())
            order.push_back(t.kind);
    }
    for (Kind k : {Kind::Day, Kind::Month, Kind::Year}) {
        if (std::find(order.begin(), order.end(), k) == order.end()) order.push_back(k);
    }

    std::vector<std::string_view> parts = Split(TrimBlanks(text), settings.dateSeparator);
    // one separator may close the text, so that a format such as "d.m." reads its own output
    if (parts.size() > 2 && parts.back().empty()) parts.pop_back();
    if (parts.size() != 2 && parts.size() != 3) return std::nullopt;
    if (parts.size() == 2) order.erase(std::find(order.begin(), order.end(), Kind::Year));

    currentYear = std::clamp(currentYear, 1, 9999);
    Date date{currentYear, 1, 1};
    for (std::size_t i = 0; i < parts.size(); ++i) {
        auto n = SmallNumber(parts[i], 4);
        if (!n) return std::nullopt;
        switch (order[i]) {
            case Kind::Day:
                date.day = *n;
                break;
            case Kind::Month:
                date.month = *n;
                break;
            default:
                date.year = parts[i].size() <= 2 ? currentYear / 100 * 100 + *n : *n;
                break;
        }
    }
    if (!IsValidDate(date)) return std::nullopt;
    return date;
}

std::string FormatTime(std::string_view format, char timeSeparator, double fractionOfDay) {
    constexpr long long kMsPerDay = 86400000;
    double fraction = std::isfinite(fractionOfDay) ? fractionOfDay - std::floor(fractionOfDay) : 0;
    // whole milliseconds first, so that 9:15 stored as a binary fraction is not 9:14:59.999
    long long ms = std::llround(fraction * double(kMsPerDay)) % kMsPerDay;
    long long seconds = ms / 1000;
    std::string out;
    for (const Token& t : Tokenize(format)) {
        switch (t.kind) {
            case Kind::Hour:
                AppendNumber(out, seconds / 3600, t.wide ? 2 : 1);
                break;
            case Kind::Minute:
                AppendNumber(out, seconds / 60 % 60, t.wide ? 2 : 1);
                break;
            case Kind::Second:
                AppendNumber(out, seconds % 60, t.wide ? 2 : 1);
                break;
            case Kind::TimeSeparator:
                out.push_back(timeSeparator);
                break;
            default:  // a time has no date: its letters stay
                out.append(t.text);
                break;
        }
    }
    return out;
}

std::string FormatTime(const FormatSettings& settings, double fractionOfDay) {
    return FormatTime(settings.longTimeFormat, settings.timeSeparator, fractionOfDay);
}

std::optional<double> ParseTime(const FormatSettings& settings, std::string_view text) {
    std::vector<std::string_view> parts = Split(TrimBlanks(text), settings.timeSeparator);
    if (parts.size() > 3) return std::nullopt;
    static constexpr int kLimit[3] = {23, 59, 59};
    static constexpr int kSeconds[3] = {3600, 60, 1};
    int total = 0;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        auto n = SmallNumber(parts[i], 2);
        if (!n || *n > kLimit[i]) return std::nullopt;
        total += *n * kSeconds[i];
    }
    return total / 86400.0;
}

bool IsUsableDateFormat(std::string_view format) {
    bool day = false, month = false, year = false;
    for (const Token& t : Tokenize(format)) {
        day |= t.kind == Kind::Day;
        month |= t.kind == Kind::Month;
        year |= t.kind == Kind::Year;
    }
    return day && month && year;
}

bool IsUsableTimeFormat(std::string_view format) {
    bool hour = false, minute = false;
    for (const Token& t : Tokenize(format)) {
        hour |= t.kind == Kind::Hour;
        minute |= t.kind == Kind::Minute;
    }
    return hour && minute;
}

std::string StandardDateLetters(std::string_view format) {
    std::string out(format);
    for (char& c : out) {
        if (c == 't' || c == 'T')
            c = 'd';
        else if (c == 'j' || c == 'J')
            c = 'y';
    }
    return out;
}

std::string StandardTimeLetters(std::string_view format) {
    std::string out(format);
    for (char& c : out) {
        if (c == 'm' || c == 'M') c = 'n';
    }
    return out;
}

std::string ShownTimeFormat(std::string_view format) {
    std::string out(format);
    for (char& c : out) {
        if (c == 'n')
            c = 'm';
        else if (c == 'N')
            c = 'M';
    }
    return out;
}

std::optional<char> FirstNonLetter(std::string_view format) {
    for (char c : format) {
        if (!IsAsciiLetter(c)) return c;
    }
    return std::nullopt;
}

}  // namespace umbrix
