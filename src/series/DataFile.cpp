#include "series/DataFile.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <numbers>
#include <utility>

#include "platform/Angle.h"
#include "platform/Format.h"
#include "platform/TextFile.h"
#include "solar/SunPosition.h"

namespace umbrix {

namespace {

struct ColumnInfo {
    const char* item;
    const char* shortName;
};

const ColumnInfo kColumns[kDataColumnCount] = {
    {"Enumerator/tag", "tag"},
    {"Date", "date"},
    {"Day of year", "doy"},
    {"Time", "time"},
    {"Geogr. longitude (\u00b0E)", "lon"},
    {"Geogr. latitude (\u00b0N)", "lat"},
    {"Altitude (m)", "alt"},
    {"Timezone (UTC+h)", "tz"},
    {"Air temperature Ta (\u00b0C)", "Ta"},
    {"Vapour pressure VP (hPa)", "VP"},
    {"Relative humidity RH (%)", "RH"},
    {"Wind velocity v (m/s)", "v"},
    {"Cloud cover N (octas)", "N"},
    {"Surface temperature Ts (\u00b0C)", "Ts"},
    {"Linke turbidity", "LTF"},
    {"Albedo", "albedo"},
    {"Bowen ratio", "bowen"},
    {"Ratio of diffuse and global radiation", "DG"},
    {"Diffuse radiation D (W/m\u00b2)", "D"},
    {"Global radiation G (W/m\u00b2)", "G"},
    {"Mean radiant temp. Tmrt (\u00b0C)", "Tmrt"},
    {"Clothing (clo)", "clo"},
    {"Activity (W)", "act"},
    {"Horizon elevation angle (\u00b0)", "horizon"},
};

bool equalNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// Splits one line into the fields of a record. The field separator splits; blanks (spaces and
// control characters other than the separator) end a field as well, so runs of blanks count
// once. A separator directly after another (or at the start of the line) gives an empty field;
// one trailing separator is allowed.
class FieldScanner {
  public:
    FieldScanner(std::string_view line, char separator) : s_(line), sep_(separator) {}

    // The next field, or nothing when the line has no further field. The field continues over
    // `cont` (where that would end it) at most maxCont times: a date "21 6 2026" whose
    // separator is a blank.
    std::optional<std::string_view> next(char cont = 0, std::size_t maxCont = 0) {
        skipBlanks();
        if (pos_ == s_.size()) {
            if (!afterSeparator_) return std::nullopt;
            afterSeparator_ = false;  // an empty field after a trailing separator, once
            return std::string_view();
        }
        if (s_[pos_] == sep_) {
            ++pos_;
            afterSeparator_ = true;
            return std::string_view();
        }
        const std::size_t start = pos_;
        std::size_t used = 0;
        while (pos_ < s_.size()) {
            const char c = s_[pos_];
            if (terminates(c)) {
                if (cont != 0 && c == cont && used < maxCont && pos_ + 1 < s_.size()) {
                    ++used;
                    ++pos_;
                    continue;
                }
                break;
            }
            ++pos_;
        }
        std::string_view field = s_.substr(start, pos_ - start);
        skipBlanks();
        afterSeparator_ = pos_ < s_.size() && s_[pos_] == sep_;
        if (afterSeparator_) ++pos_;
        return field;
    }

    // True when only blanks (or one trailing separator already consumed) remain.
    bool done() {
        skipBlanks();
        return pos_ == s_.size();
    }

  private:
    bool blank(char c) const {
        return c != sep_ && (c == ' ' || static_cast<unsigned char>(c) < 32);
    }
    bool terminates(char c) const { return c == sep_ || blank(c); }
    void skipBlanks() {
        while (pos_ < s_.size() && blank(s_[pos_])) ++pos_;
    }

    std::string_view s_;
    char sep_;
    std::size_t pos_ = 0;
    bool afterSeparator_ = true;  // the start of a line counts as after a separator
};

std::size_t countFields(std::string_view line, char separator) {
    FieldScanner scan(line, separator);
    std::size_t n = 0;
    while (scan.next()) ++n;
    return n;
}

std::string columnLabel(const std::vector<DataColumn>& columns, int index) {
    return std::to_string(index + 1) + " (" + ColumnShortName(columns[std::size_t(index)]) + ")";
}

}  // namespace

// ---- columns -------------------------------------------------------------------

const std::string& ColumnItemText(DataColumn column) {
    static const std::vector<std::string> items = [] {
        std::vector<std::string> v;
        for (const ColumnInfo& c : kColumns) v.emplace_back(c.item);
        return v;
    }();
    return items[std::size_t(column)];
}

const char* ColumnShortName(DataColumn column) {
    return kColumns[int(column)].shortName;
}

std::optional<DataColumn> ColumnByName(std::string_view name) {
    name = TrimBlanks(name);
    for (int i = 0; i < kDataColumnCount; ++i)
        if (name == kColumns[i].item || equalNoCase(name, kColumns[i].shortName))
            return DataColumn(i);
    return std::nullopt;
}

// ---- reader --------------------------------------------------------------------

void CheckDataColumns(const DataFileSettings& settings) {
    const auto& cols = settings.columns;
    auto uses = [&cols](DataColumn c) {
        return std::find(cols.begin(), cols.end(), c) != cols.end();
    };
    // D is used as its share of the measured G; alone it cannot split anything
    if (uses(DataColumn::D) && !uses(DataColumn::G))
        throw UmbrixError("data file " + FileNameOnly(settings.path) + ": the column \"" +
                          ColumnItemText(DataColumn::D) + "\" needs the column \"" +
                          ColumnItemText(DataColumn::G) + "\" (D is used as a share of G)");
}

DataFileReader::DataFileReader(DataFileSettings settings) : settings_(std::move(settings)) {
    const auto& cols = settings_.columns;
    auto uses = [&cols](DataColumn c) {
        return std::find(cols.begin(), cols.end(), c) != cols.end();
    };
    const std::string name = FileNameOnly(settings_.path);

    // The reading formats: German letters become the standard ones, and the first character
    // that is not a letter is the file's separator.
    std::string date = StandardDateLetters(settings_.dateFormat);
    std::string time = StandardTimeLetters(settings_.timeFormat);
    auto dateSep = FirstNonLetter(date);
    auto timeSep = FirstNonLetter(time);
    if (uses(DataColumn::Date) && (!dateSep || !IsUsableDateFormat(date)))
        throw UmbrixError("data file " + name + ": the input date format \"" +
                          settings_.dateFormat + "\" needs day, month, year and a separator");
    CheckDataColumns(settings_);
    if (uses(DataColumn::Time) && (!timeSep || !IsUsableTimeFormat(time)))
        throw UmbrixError("data file " + name + ": the input time format \"" +
                          settings_.timeFormat + "\" needs hours, minutes and a separator");
    dateReading_.shortDateFormat = date;
    dateReading_.dateSeparator = dateSep.value_or('.');
    timeReading_.longTimeFormat = time;
    timeReading_.timeSeparator = timeSep.value_or(':');
    if (dateSep) dateSeparators_ = std::size_t(std::count(date.begin(), date.end(), *dateSep));
    if (timeSep) timeSeparators_ = std::size_t(std::count(time.begin(), time.end(), *timeSep));

    if (settings_.path.empty()) throw FileError("no data file has been chosen");
    try {
        file_ = OpenInputFile(settings_.path).release();
    } catch (const FileError& e) {
        throw FileError(std::string("data file: ") + e.what());
    }
    struct stat st {};
    if (fstat(fileno(file_), &st) == 0) size_ = std::int64_t(st.st_size);
    buffer_.resize(std::size_t(1) << 16);
    if (settings_.skipFirstRow) {
        std::string labels;
        readLine(labels);
    }
    fetchRecordLine();
}

double DataFileReader::fractionRead() const {
    if (size_ <= 0) return 1.0;
    const double done = double(filled_ - std::int64_t(bufferEnd_ - bufferPos_)) / double(size_);
    return std::clamp(done, 0.0, 1.0);
}

DataFileReader::~DataFileReader() {
    if (file_) std::fclose(file_);
}

// One line without its end (CR LF, LF or a lone CR); false at the end of the file.
bool DataFileReader::readLine(std::string& line) {
    line.clear();
    bool any = false;
    for (;;) {
        if (bufferPos_ == bufferEnd_) {
            if (eof_) return any;
            bufferEnd_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
            filled_ += std::int64_t(bufferEnd_);
            bufferPos_ = 0;
            if (bufferEnd_ < buffer_.size()) {
                if (std::ferror(file_))
                    throw FileError("cannot read data file \"" + settings_.path +
                                    "\": " + std::strerror(errno ? errno : EIO));
                eof_ = true;
            }
            if (bufferEnd_ == 0) return any;
        }
        if (!any) {
            any = true;
            ++lineNumber_;
        }
        const char c = buffer_[bufferPos_++];
        if (c == '\n') return true;
        if (c == '\r') {
            // CR LF counts once
            if (bufferPos_ == bufferEnd_ && !eof_) {
                bufferEnd_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
                filled_ += std::int64_t(bufferEnd_);
                bufferPos_ = 0;
                if (bufferEnd_ < buffer_.size()) eof_ = true;
            }
            if (bufferPos_ < bufferEnd_ && buffer_[bufferPos_] == '\n') ++bufferPos_;
            return true;
        }
        if (line.size() >= kMaxLineLength)
            throw DataFileError(lineNumber_, "", "",
                                "data file " + FileNameOnly(settings_.path) + ", line " +
                                    std::to_string(lineNumber_) + " is longer than " +
                                    std::to_string(kMaxLineLength) + " characters");
        line.push_back(c);
    }
}

// The next line that holds anything but blanks becomes the pending record.
void DataFileReader::fetchRecordLine() {
    pending_.reset();
    std::string line;
    for (;;) {
        try {
            if (!readLine(line)) break;
        } catch (const UmbrixError&) {
            // reported in turn: the record before it is still delivered
            pendingError_ = std::current_exception();
            return;
        }
        if (lineNumber_ == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
        bool blank = std::all_of(line.begin(), line.end(), [](char c) {
            return c == ' ' || static_cast<unsigned char>(c) < 32;
        });
        if (blank) continue;
        pending_ = std::move(line);
        pendingLine_ = lineNumber_;
        return;
    }
}

void DataFileReader::fail(int column, std::string_view text, const std::string& why) const {
    const auto& cols = settings_.columns;
    std::string label = columnLabel(cols, column);
    throw DataFileError(recordLine_, ColumnShortName(cols[std::size_t(column)]), std::string(text),
                        "data file " + FileNameOnly(settings_.path) + ", line " +
                            std::to_string(recordLine_) + ", column " + label + ": cannot read \"" +
                            std::string(text) + "\"" + (why.empty() ? "" : " " + why));
}

DataRecord DataFileReader::next() {
    if (pendingError_) std::rethrow_exception(std::exchange(pendingError_, nullptr));
    if (!pending_)
        throw UmbrixError("data file " + FileNameOnly(settings_.path) + ": no further record");
    const std::string line = std::move(*pending_);
    recordLine_ = pendingLine_;
    pending_.reset();

    DataRecord rec;
    rec.line = recordLine_;
    const auto& cols = settings_.columns;
    const float missing = settings_.missingValue;
    const char sep = settings_.fieldSeparator;
    const std::string_view missingText = TrimBlanks(settings_.missingText);
    FieldScanner scan(line, sep);

    std::size_t expected = cols.size();
    if (std::find(cols.begin(), cols.end(), DataColumn::Horizon) != cols.end())
        expected += std::size_t(360 / settings_.horizonIncrement) - 1;
    auto wrongCount = [&]() {
        const std::size_t have = countFields(line, sep);
        throw DataFileError(recordLine_, "", line,
                            "data file " + FileNameOnly(settings_.path) + ", line " +
                                std::to_string(recordLine_) + ": " + std::to_string(have) +
                                (have == 1 ? " field" : " fields") +
                                " where the checked columns need " + std::to_string(expected));
    };
    // A number, or the missing-value default for an empty field.
    auto real = [&](int i, std::string_view text) -> float {
        if (TrimBlanks(text).empty()) return missing;
        auto x = parseReal(text, sep != ',');
        if (!x) fail(i, text, "as a number");
        const float f = float(*x);
        if (!std::isfinite(f)) fail(i, text, "(out of range)");
        return f;
    };

    // The fields of every column first, so that a line with too few or too many fields is
    // reported as such rather than as the first value that landed in the wrong column.
    std::vector<std::string_view> fields;
    fields.reserve(expected);
    for (const DataColumn c : cols) {
        char cont = 0;
        std::size_t maxCont = 0;
        if (c == DataColumn::Date || c == DataColumn::Tag) {
            cont = dateReading_.dateSeparator;
            maxCont = dateSeparators_;
        } else if (c == DataColumn::Time) {
            cont = timeReading_.timeSeparator;
            maxCont = timeSeparators_;
        }
        const int count = c == DataColumn::Horizon ? 360 / settings_.horizonIncrement : 1;
        for (int k = 0; k < count; ++k) {
            auto f = scan.next(cont, maxCont);
            if (!f) wrongCount();
            fields.push_back(*f);
        }
    }
    if (!scan.done()) wrongCount();

    std::size_t next = 0;
    for (int i = 0; i < int(cols.size()); ++i) {
        const DataColumn c = cols[std::size_t(i)];
        const std::size_t ci = std::size_t(c);
        if (c == DataColumn::Horizon) {
            const int inc = settings_.horizonIncrement;
            rec.horizon.increment = inc;
            rec.horizon.angles.clear();
            for (int k = 0; k < 360 / inc; ++k) {
                float h = real(i, fields[next++]);
                // a missing angle leaves the sector free; the others are clamped to 0 … 90°
                if (h == missing) h = 0;
                rec.horizon.angles.push_back(std::clamp(h, 0.0f, 90.0f));
            }
            rec.present[ci] = true;
            continue;
        }
        const std::string_view text = fields[next++];
        const std::string_view trimmed = TrimBlanks(text);
        switch (c) {
            case DataColumn::Tag:
                rec.tag = std::string(trimmed);
                rec.present[ci] = true;
                break;
            case DataColumn::Date: {
                const bool isMissing = trimmed.empty() || trimmed == missingText;
                // a missing date is read as the text "1", which is not a date
                std::string t = isMissing ? std::string("1") : std::string(trimmed);
                auto d = ParseDate(dateReading_, t, settings_.currentYear);
                if (!d)
                    fail(i, text,
                         isMissing ? "(a missing date)"
                                   : "as a date in the format " + settings_.dateFormat);
                rec.date = *d;
                rec.dayOfYear = DayOfYear(*d);
                rec.present[ci] = true;
                break;
            }
            case DataColumn::DayOfYear: {
                float x = real(i, text);
                if (x == missing) {
                    rec.dayOfYear = 1;
                } else {
                    if (!(x >= 1.0f && x < 367.0f)) fail(i, text, "(a day of year is 1 ... 366)");
                    rec.dayOfYear = int(x);
                }
                rec.present[ci] = true;
                break;
            }
            case DataColumn::Time: {
                std::string t(trimmed);
                // any time from "24" on is midnight of the same date, as in the main window's
                // time field; "24:30" is not half past midnight
                if (t.rfind("24", 0) == 0) t = "0";
                if (t.empty() || trimmed == missingText) {
                    rec.hours = 0;
                } else {
                    auto fraction = ParseTime(timeReading_, t);
                    if (!fraction) fail(i, text, "as a time in the format " + settings_.timeFormat);
                    rec.hours = float(*fraction * 24.0);
                }
                rec.present[ci] = true;
                break;
            }
            case DataColumn::Longitude:
            case DataColumn::Latitude: {
                if (trimmed.empty() || trimmed == missingText) break;
                double a = 0;
                try {
                    a = ParseAngle(text, ColumnShortName(c));
                } catch (const ConvertError&) {
                    fail(i, text, "as an angle");
                }
                // an angle beyond a float would become an infinite position
                if (!std::isfinite(float(a))) fail(i, text, "(out of range)");
                if (float(a) == missing) break;
                (c == DataColumn::Longitude ? rec.longitude : rec.latitude) = float(a);
                rec.present[ci] = true;
                break;
            }
            case DataColumn::Altitude: {
                if (trimmed.empty() || trimmed == missingText) break;
                auto n = parseInt(text);
                if (!n) fail(i, text, "as a whole number");
                if (float(*n) == missing) break;
                rec.altitude = *n;
                rec.present[ci] = true;
                break;
            }
            case DataColumn::TimeZone: {
                float x = real(i, text);
                if (x == missing) break;
                rec.timeZone = x;
                rec.present[ci] = true;
                break;
            }
            case DataColumn::VP:
            case DataColumn::RH:
            case DataColumn::Ta:
            case DataColumn::V:
            case DataColumn::N:
            case DataColumn::Tmrt:
                rec.value[ci] = real(i, text);
                rec.present[ci] = true;
                break;
            case DataColumn::D:
            case DataColumn::G: {
                float g = real(i, text);
                if (g < 0 && g != missing) g = 0;  // no negative irradiance
                rec.value[ci] = g;
                rec.present[ci] = true;
                break;
            }
            case DataColumn::DGRatio: {
                float r = real(i, text);
                if (r == missing) break;
                // negative: automatic, as in the pre-settings; above 1 the row is refused
                rec.value[ci] = r >= 0 ? r : -1.0f;
                rec.present[ci] = true;
                break;
            }
            case DataColumn::Turbidity: {
                float t = real(i, text);
                if (t == missing) break;
                rec.value[ci] = t >= 0 ? t : -1.0f;  // negative: automatic
                rec.present[ci] = true;
                break;
            }
            default: {  // Ts, albedo, Bowen ratio, clothing, activity
                float x = real(i, text);
                if (x == missing) break;  // the main window supplies it
                rec.value[ci] = x;
                rec.present[ci] = true;
                break;
            }
        }
    }
    fetchRecordLine();
    return rec;
}

}  // namespace umbrix
