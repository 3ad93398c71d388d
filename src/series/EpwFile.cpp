#include "series/EpwFile.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <limits>
#include <utility>

#include "indices/Utci.h"
#include "platform/Format.h"
#include "platform/Utf8.h"

namespace umbrix {

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// Fields of a data line, counted from 0.
enum Field {
    kYear = 0,
    kMonth = 1,
    kDay = 2,
    kHour = 3,
    kMinute = 4,
    kDryBulb = 6,
    kRelativeHumidity = 8,
    kPressure = 9,
    kGlobalHorizontal = 13,
    kDiffuseHorizontal = 15,
    kWindSpeed = 21,
    kTotalSkyCover = 22,
    kFieldsRead = 23,
};

const char* fieldName(int field) {
    switch (field) {
        case kYear:
            return "year";
        case kMonth:
            return "month";
        case kDay:
            return "day";
        case kHour:
            return "hour";
        case kMinute:
            return "minute";
        case kDryBulb:
            return "dry bulb temperature";
        case kRelativeHumidity:
            return "relative humidity";
        case kPressure:
            return "pressure";
        case kGlobalHorizontal:
            return "global horizontal radiation";
        case kDiffuseHorizontal:
            return "diffuse horizontal radiation";
        case kWindSpeed:
            return "wind speed";
        case kTotalSkyCover:
            return "total sky cover";
        default:
            return "";
    }
}

// Header lines 2 to 8, each known by its first word.
struct HeaderLine {
    const char* firstWord;
    const char* name;
};
constexpr HeaderLine kHeaderLines[] = {
    {"DESIGN", "DESIGN CONDITIONS"},   {"TYPICAL", "TYPICAL/EXTREME PERIODS"},
    {"GROUND", "GROUND TEMPERATURES"}, {"HOLIDAYS", "HOLIDAYS/DAYLIGHT SAVINGS"},
    {"COMMENTS", "COMMENTS 1"},        {"COMMENTS", "COMMENTS 2"},
    {"DATA", "DATA PERIODS"}};

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
    return true;
}

bool isBlank(std::string_view line) {
    return std::all_of(line.begin(), line.end(),
                       [](char c) { return c == ' ' || static_cast<unsigned char>(c) < 32; });
}

// Comma-separated fields where a field may be quoted ("Washington, DC"), as in the LOCATION
// line; a doubled quote inside stands for one.
std::vector<std::string> splitQuoted(std::string_view line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                fields.back().push_back('"');
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                fields.back().push_back(c);
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.emplace_back();
        } else {
            fields.back().push_back(c);
        }
    }
    return fields;
}

// A header text for the table: UTF-8, no control characters, no blanks around.
std::string cleanText(std::string_view text) {
    std::string s = TextAsUtf8(TrimBlanks(text));
    for (char& c : s)
        if (static_cast<unsigned char>(c) < 32 || c == 127) c = ' ';
    return s;
}

// A text for a message: at most 40 bytes, cut between characters.
std::string shownText(std::string_view text) {
    std::size_t n = std::min<std::size_t>(text.size(), 40);
    while (n > 0 && n < text.size() && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
    return cleanText(text.substr(0, n));
}

}  // namespace

double WindAtPersonHeight(double v10) {
    // UTCI steps up from 1.1 m to 10 m with this profile; the weather file needs the step down
    return v10 / UtciWind10m(1.0);
}

EpwReader::EpwReader(const std::string& path, EpwOptions options)
    : name_(FileNameOnly(path)), options_(options), lines_([&path] {
          try {
              return LineReader(path, kMaxLineLength);
          } catch (const FileError& e) {
              throw FileError(std::string("EPW file: ") + e.what());
          }
      }()) {
    if (options_.runYear != 0 && (options_.runYear < 1 || options_.runYear > 9999))
        throw UmbrixError("EPW file " + name_ + ": the run year " +
                          std::to_string(options_.runYear) + " is not within 1 ... 9999");
    readHeader();
    fetch();
}

void EpwReader::readHeader() {
    std::string line;
    auto headerLine = [&](int n, const char* keyword, const char* name) {
        bool read = false;
        try {
            read = lines_.next(line);
        } catch (const LineTooLongError& e) {
            throw DataFileError(e.line(), "", "",
                                "EPW file " + name_ + ", header line " + std::to_string(n) +
                                    " is longer than " + std::to_string(kMaxLineLength) +
                                    " characters");
        }
        if (!read)
            throw DataFileError(n, "", "",
                                "EPW file " + name_ +
                                    ": the file ends within the 8 header "
                                    "lines (line " +
                                    std::to_string(n) + ", " + name + ", is missing)");
        if (!startsWithNoCase(TrimBlanks(line), keyword)) {
            const std::string found = shownText(line);
            throw DataFileError(n, "", found,
                                "EPW file " + name_ + ", line " + std::to_string(n) + ": \"" +
                                    found + "\" where the header line " + name +
                                    " stands (is this an EPW weather file?)");
        }
    };

    headerLine(1, "LOCATION", "LOCATION");
    const std::vector<std::string> f = splitQuoted(line);
    auto bad = [&](int field, const std::string& what, std::string_view text,
                   const std::string& why) {
        throw DataFileError(
            1, "field " + std::to_string(field) + " (" + what + ")", shownText(text),
            "EPW file " + name_ + ", line 1 (LOCATION), field " + std::to_string(field) + " (" +
                what + "): cannot read \"" + shownText(text) + "\" " + why);
    };
    if (f.size() < 10)
        throw DataFileError(1, "", "",
                            "EPW file " + name_ +
                                ", line 1 (LOCATION): " + std::to_string(f.size()) +
                                " fields where city, region, country, source, WMO number, "
                                "latitude, longitude, time zone and elevation follow the keyword");
    site_.city = cleanText(f[1]);
    site_.region = cleanText(f[2]);
    site_.country = cleanText(f[3]);
    site_.source = cleanText(f[4]);
    site_.wmo = cleanText(f[5]);
    struct Number {
        int field;
        const char* what;
        double min, max;
        double* to;
    };
    const Number numbers[] = {{6, "latitude", -90, 90, &site_.latitude},
                              {7, "longitude", -180, 180, &site_.longitude},
                              {8, "time zone", -12, 14, &site_.timeZone},
                              {9, "elevation", -1000, 9999.9, &site_.elevation}};
    for (const Number& n : numbers) {
        const std::string& text = f[std::size_t(n.field)];
        auto x = parseReal(text);
        if (!x) bad(n.field, n.what, text, "as a number");
        if (!(*x >= n.min && *x <= n.max))
            bad(n.field, n.what, text, "(" + general(n.min) + " ... " + general(n.max) + ")");
        *n.to = *x;
    }

    for (int n = 2; n <= 8; ++n)
        headerLine(n, kHeaderLines[n - 2].firstWord, kHeaderLines[n - 2].name);
    // DATA PERIODS,periods,records per hour,...: only hourly data are read
    const std::vector<std::string> periods = splitQuoted(line);
    if (periods.size() > 2) {
        auto perHour = parseInt(periods[2]);
        if (perHour && *perHour != 1)
            throw DataFileError(8, "field 2 (records per hour)", periods[2],
                                "EPW file " + name_ +
                                    ", line 8 (DATA PERIODS): " + std::to_string(*perHour) +
                                    " records per hour; only hourly files can be read");
    }
}

void EpwReader::fail(int field, std::string_view text, const std::string& why) const {
    const std::string shown = shownText(text);
    const std::string column = "field " + std::to_string(field) + " (" + fieldName(field) + ")";
    throw DataFileError(lines_.lineNumber(), column, shown,
                        "EPW file " + name_ + ", line " + std::to_string(lines_.lineNumber()) +
                            ", " + column + ": cannot read \"" + shown + "\"" +
                            (why.empty() ? "" : " " + why));
}

// The record of a data line; nothing when it is dropped (29 February in a common run year).
std::optional<EpwRecord> EpwReader::parse(const std::string& line) {
    std::array<std::string_view, kFieldsRead> f;
    std::size_t count = 0, start = 0;
    const std::string_view s(line);
    while (count < kFieldsRead) {
        const std::size_t comma = s.find(',', start);
        f[count++] =
            s.substr(start, comma == std::string_view::npos ? s.size() - start : comma - start);
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    if (count < kFieldsRead)
        throw DataFileError(lines_.lineNumber(), "", "",
                            "EPW file " + name_ + ", line " + std::to_string(lines_.lineNumber()) +
                                ": " + std::to_string(count) + (count == 1 ? " field" : " fields") +
                                " where a data line has 35 (at least 23 are read)");

    auto integer = [&](int field, int min, int max, const char* range) {
        auto n = parseInt(f[std::size_t(field)]);
        if (!n) fail(field, f[std::size_t(field)], "as a whole number");
        if (*n < min || *n > max) fail(field, f[std::size_t(field)], range);
        return *n;
    };
    // NaN for an empty field and for the missing-value code or above
    auto real = [&](int field, double missingCode) {
        const std::string_view text = TrimBlanks(f[std::size_t(field)]);
        if (text.empty()) return kNaN;
        auto x = parseReal(text);
        if (!x) fail(field, text, "as a number");
        if (*x >= missingCode) return kNaN;
        const float value = float(*x);
        if (!std::isfinite(value)) fail(field, text, "(out of range)");
        return value;
    };

    EpwRecord r;
    r.line = lines_.lineNumber();
    r.fileYear =
        integer(kYear, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), "");
    const int month = integer(kMonth, 1, 12, "(a month is 1 ... 12)");
    const int day = integer(kDay, 1, DaysInMonth(2000, month), "(not a day of that month)");
    r.hour = integer(kHour, 1, 24, "(an hour is 1 ... 24, the hour ending then)");
    integer(kMinute, 0, 60, "(a minute is 0 ... 60)");
    if (options_.runYear != 0) {
        if (month == 2 && day == 29 && !IsLeapYear(options_.runYear)) return std::nullopt;
        r.date = {options_.runYear, month, day};
    } else {
        r.date = {r.fileYear, month, day};
        if (r.fileYear < 1 || r.fileYear > 9999) fail(kYear, f[kYear], "(a year is 1 ... 9999)");
        if (!IsValidDate(r.date))
            fail(kDay, f[kDay],
                 "(29 February in the common year " + std::to_string(r.fileYear) +
                     "; give a run year to use this file)");
    }
    r.hours =
        options_.timeStamp == EpwTimeStamp::MiddleOfHour ? float(r.hour) - 0.5f : float(r.hour);

    r.Ta = real(kDryBulb, 99.9);
    r.RH = real(kRelativeHumidity, 999);
    r.p = real(kPressure, 999999);
    if (!std::isnan(r.p)) r.p /= 100.0f;  // Pa to hPa
    r.G = real(kGlobalHorizontal, 9999);
    r.D = real(kDiffuseHorizontal, 9999);
    r.v10 = real(kWindSpeed, 999);
    r.v = float(WindAtPersonHeight(r.v10));
    r.N = real(kTotalSkyCover, 99);
    if (!std::isnan(r.N)) r.N *= 0.8f;  // tenths to octas
    return r;
}

// The next line that holds anything but blanks and is not dropped becomes the pending record;
// a line that cannot be read is kept as the pending error.
void EpwReader::fetch() {
    pending_.reset();
    std::string line;
    try {
        while (lines_.next(line)) {
            if (isBlank(line)) continue;
            pending_ = parse(line);
            if (pending_) return;
            ++droppedLeapDays_;
        }
    } catch (const LineTooLongError& e) {
        pendingError_ = std::make_exception_ptr(
            DataFileError(e.line(), "", "",
                          "EPW file " + name_ + ", line " + std::to_string(e.line()) +
                              " is longer than " + std::to_string(kMaxLineLength) + " characters"));
    } catch (const UmbrixError&) {
        pendingError_ = std::current_exception();
    }
}

EpwRecord EpwReader::next() {
    if (pendingError_) std::rethrow_exception(std::exchange(pendingError_, nullptr));
    if (!pending_) throw UmbrixError("EPW file " + name_ + ": no further record");
    EpwRecord record = *pending_;
    fetch();
    return record;
}

const std::vector<DataColumn>& EpwDataColumns() {
    static const std::vector<DataColumn> columns = {
        DataColumn::Date, DataColumn::Time, DataColumn::Ta, DataColumn::RH,
        DataColumn::V,    DataColumn::N,    DataColumn::D,  DataColumn::G};
    return columns;
}

DataRecord ToDataRecord(const EpwRecord& e, float missingValue) {
    DataRecord r;
    r.line = e.line;
    for (DataColumn c : EpwDataColumns()) r.present[std::size_t(c)] = true;
    r.date = e.date;
    r.dayOfYear = DayOfYear(e.date);
    r.hours = e.hours >= 24.0f ? 0.0f : e.hours;
    auto set = [&](DataColumn c, float x) {
        r.value[std::size_t(c)] = std::isnan(x) ? missingValue : x;
    };
    set(DataColumn::Ta, e.Ta);
    set(DataColumn::RH, e.RH);
    set(DataColumn::V, e.v);
    set(DataColumn::N, e.N);
    // no negative irradiance, as in a data file
    set(DataColumn::D, e.D < 0 ? 0.0f : e.D);
    set(DataColumn::G, e.G < 0 ? 0.0f : e.G);
    return r;
}

}  // namespace umbrix
