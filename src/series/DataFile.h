#pragma once
// The data file (value file) of a time-series run: one record per line, one field per checked
// column of the data-file window, in the order of the checked items. The reader takes the file
// as untrusted input: it reads line by line with a bounded line length (memory stays flat
// however long the file is), never reads past a field, and reports a record it cannot read
// with the line number, the column and the text.
#include <array>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/DateTime.h"
#include "platform/Error.h"
#include "umbrix/horizon.h"

namespace umbrix {

// The quantities of the column list, in its initial order.
enum class DataColumn {
    Tag,
    Date,
    DayOfYear,
    Time,
    Longitude,
    Latitude,
    Altitude,
    TimeZone,
    Ta,
    VP,
    RH,
    V,
    N,
    Ts,
    Turbidity,
    Albedo,
    Bowen,
    DGRatio,
    D,
    G,
    Tmrt,
    Clothing,
    Activity,
    Horizon,
};
inline constexpr int kDataColumnCount = 24;

// The item text of the column list ("Air temperature Ta (°C)").
const std::string& ColumnItemText(DataColumn column);
// The short name of the command line ("Ta", "doy", "horizon").
const char* ColumnShortName(DataColumn column);
// By item text or short name (short names ignoring case); nothing when unknown.
std::optional<DataColumn> ColumnByName(std::string_view name);

// The settings of the data-file window that a run reads.
struct DataFileSettings {
    std::string path;
    std::vector<DataColumn> columns;   // the checked items, in file order
    bool skipFirstRow = false;         // "Skip first row (labels)"
    std::string missingText = "9999";  // text of "Default for missing values"
    float missingValue = 9999.0f;
    std::string dateFormat = "d.m.yyyy";  // input formats as typed ("T.M.JJJJ" allowed)
    std::string timeFormat = "h:mm";
    char fieldSeparator = '\t';  // TAB stands for "Space or Tab"; a space always ends a field
    int horizonIncrement = 30;   // degrees
    int currentYear = 2000;      // for dates without a year and two-digit years
    // An EPW weather file instead of a data file: its own columns (EpwDataColumns), the
    // record at the middle of its hour unless epwEndOfHour.
    bool epw = false;
    bool epwEndOfHour = false;
};

// One record. Only the fields of the checked columns are set (has()); a missing value (the
// default for missing values, or an empty field) is kept as that number for Ta, VP, RH, v, N,
// G and Tmrt, and leaves every other quantity unset so that the main window supplies it.
struct DataRecord {
    std::int64_t line = 0;  // 1-based line number in the file (files may be long)
    std::array<bool, kDataColumnCount> present{};
    std::array<float, kDataColumnCount> value{};  // the numeric columns
    std::string tag;
    std::optional<Date> date;
    int dayOfYear = 1;
    float hours = 0;  // local time
    float longitude = 0, latitude = 0, timeZone = 0;
    int altitude = 0;
    HorizonProfile horizon;

    bool has(DataColumn c) const { return present[std::size_t(c)]; }
    float operator[](DataColumn c) const { return value[std::size_t(c)]; }
};

// A record or a line that cannot be read: names the file, the line, the column and the text.
class DataFileError : public ConvertError {
  public:
    DataFileError(std::int64_t line, std::string column, std::string text,
                  const std::string& message)
        : ConvertError(std::move(column), std::move(text), message), line_(line) {}
    std::int64_t line() const { return line_; }

  private:
    std::int64_t line_;
};

// Refuses a column choice that cannot be run (UmbrixError naming the columns): a diffuse
// radiation D without the global radiation G.
void CheckDataColumns(const DataFileSettings& settings);

// Reads a data file record by record.
class DataFileReader {
  public:
    // Longest line accepted; a longer one is reported rather than buffered.
    static constexpr std::size_t kMaxLineLength = 64 * 1024;

    // PrepareDataFile: checks the input formats, opens the file (FileError naming the reason
    // when it cannot, or when it is not a regular file), skips the first line when "Skip first
    // row (labels)" is on and finds the first record.
    explicit DataFileReader(DataFileSettings settings);
    ~DataFileReader();
    DataFileReader(const DataFileReader&) = delete;
    DataFileReader& operator=(const DataFileReader&) = delete;

    // True when no further record follows (blank lines do not count).
    bool atEnd() const { return !pending_ && !pendingError_; }
    // ReadDataRecord: the next record. Throws DataFileError when a field does not convert, the
    // line holds more or fewer fields than the checked columns, or the line is too long; a line
    // that cannot be read is reported when its record is asked for, so that the record before
    // it is still delivered.
    DataRecord next();

    const DataFileSettings& settings() const { return settings_; }
    // The share of the file's bytes read so far, 0 … 1 (for progress).
    double fractionRead() const;

  private:
    bool readLine(std::string& line);
    void fetchRecordLine();
    [[noreturn]] void fail(int column, std::string_view text, const std::string& why) const;

    DataFileSettings settings_;
    FormatSettings dateReading_, timeReading_;
    std::size_t dateSeparators_ = 0, timeSeparators_ = 0;
    std::FILE* file_ = nullptr;
    std::vector<char> buffer_;
    std::size_t bufferPos_ = 0, bufferEnd_ = 0;
    bool eof_ = false;
    std::int64_t lineNumber_ = 0;
    std::optional<std::string> pending_;  // the next record's line
    std::exception_ptr pendingError_;     // or why it cannot be read
    std::int64_t pendingLine_ = 0;
    std::int64_t recordLine_ = 0;
    std::int64_t filled_ = 0, size_ = 0;  // bytes read into the buffer, the file's size
};

}  // namespace umbrix
