#pragma once
// EnergyPlus weather (EPW) files as a source of hourly weather for a time-series run.
//
// An EPW file has eight header lines (LOCATION, DESIGN CONDITIONS, TYPICAL/EXTREME PERIODS,
// GROUND TEMPERATURES, HOLIDAYS/DAYLIGHT SAVINGS, COMMENTS 1, COMMENTS 2, DATA PERIODS) and
// then one comma-separated line per hour. Only LOCATION is read; the other seven are checked
// by their first word. Of a data line the fields (counted from 0) year 0, month 1, day 2,
// hour 3 (1 … 24, the hour ending then), minute 4, dry bulb 6, relative humidity 8,
// pressure 9, global horizontal 13, diffuse horizontal 15, wind speed 21 and total sky cover 22
// are read; an hour's radiation is its sum in Wh/m², which is the hour's mean in W/m².
//
// Conversions into the conventions of the model:
// - Wind: EPW gives the speed 10 m above ground; the person's is the speed at 1.1 m, from the
//   logarithmic profile that UTCI uses backwards (roughness length 0.01 m):
//   v(1.1) = v(10) · log(1.1/0.01) / log(10/0.01) = 0.6805 · v(10).
// - Total sky cover in tenths becomes octas: × 0.8.
// - The missing-value codes (dry bulb 99.9, humidity 999, pressure 999999, radiation 9999,
//   wind 999, sky cover 99; anything at or above its code, and an empty field) become NaN.
// - Times: EPW data are in local standard time of the header's time zone, so there is no
//   daylight saving time to undo (the HOLIDAYS/DAYLIGHT SAVINGS line only tells simulation
//   programs when to shift their schedules). By default a record stands at the middle of its
//   hour (hour 13 at 12:30), where an hour's mean radiation belongs; EndOfHour puts it at the
//   hour's end, hour 24 at 24:00 of its own date.
// - Years: typical-year files take each month from another year, so a record keeps its line's
//   year unless the caller gives a run year. A leap year's 29 February stays when the file has
//   it; with a common run year those records are dropped and counted (the days after it keep
//   their dates), and a 29 February under a common year of the file itself is an error.
//
// The file is untrusted input: a regular file only, lines of bounded length, memory flat, and
// every error (DataFileError) names the line and the field.
#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "platform/DateTime.h"
#include "platform/LineReader.h"
#include "series/DataFile.h"

namespace umbrix {

// The site of the LOCATION line, texts in UTF-8 (Latin-1 files converted).
struct EpwSite {
    std::string city, region, country, source, wmo;
    double latitude = 0;   // °N
    double longitude = 0;  // °E
    double timeZone = 0;   // hours east of UTC
    double elevation = 0;  // m above sea level
};

enum class EpwTimeStamp {
    MiddleOfHour,  // hour h at h − 0.5 (0:30 … 23:30)
    EndOfHour,     // hour h at h (1:00 … 24:00)
};

struct EpwOptions {
    EpwTimeStamp timeStamp = EpwTimeStamp::MiddleOfHour;
    int runYear = 0;  // 0: each record keeps its line's year; else 1 … 9999 for every record
};

// One hour of weather; NaN where the file gives the missing-value code.
struct EpwRecord {
    std::int64_t line = 0;  // 1-based line in the file
    int fileYear = 0;       // the line's year
    Date date;              // with the run year when one is given
    int hour = 1;           // as in the file: 1 … 24, the hour ending then
    float hours = 0;        // local standard time of the record, 0.5 … 23.5 or 1 … 24
    float Ta = 0;           // air temperature (dry bulb), °C
    float RH = 0;           // relative humidity, %
    float p = 0;            // air pressure, hPa
    float v10 = 0;          // wind speed 10 m above ground, m/s
    float v = 0;            // wind speed at the person's 1.1 m, m/s
    float N = 0;            // cloud cover, octas
    float G = 0;            // global radiation on the horizontal, the hour's mean, W/m²
    float D = 0;            // diffuse radiation on the horizontal, the hour's mean, W/m²
};

// v(1.1 m) from v(10 m) with the logarithmic wind profile of UTCI (roughness 0.01 m).
double WindAtPersonHeight(double v10);

class EpwReader {
  public:
    // Longest line accepted; a longer one is reported rather than buffered.
    static constexpr std::size_t kMaxLineLength = 64 * 1024;

    // Opens the file and reads the eight header lines. Throws FileError when the file cannot
    // be opened or is no regular file, DataFileError when the header is not that of an EPW
    // file, UmbrixError for a run year outside 1 … 9999.
    explicit EpwReader(const std::string& path, EpwOptions options = {});

    const EpwSite& site() const { return site_; }
    // True when no further record follows (blank lines do not count).
    bool atEnd() const { return !pending_ && !pendingError_; }
    // The next record. Throws DataFileError for a line that cannot be read, once the record
    // before it has been delivered.
    EpwRecord next();
    // Records of 29 February left out because the run year is a common year.
    std::int64_t droppedLeapDays() const { return droppedLeapDays_; }
    // The share of the file's bytes read so far, 0 … 1 (for progress).
    double fractionRead() const { return lines_.fractionRead(); }

  private:
    void readHeader();
    void fetch();
    std::optional<EpwRecord> parse(const std::string& line);
    [[noreturn]] void fail(int field, std::string_view text, const std::string& why) const;

    std::string name_;  // the file name, for messages
    EpwOptions options_;
    LineReader lines_;
    EpwSite site_;
    std::optional<EpwRecord> pending_;
    std::exception_ptr pendingError_;
    std::int64_t droppedLeapDays_ = 0;
};

// The run's side: the data-file columns that an EPW record fills (date, time, Ta, RH, v, N, D,
// G), and the record as a data-file record, so that an EPW run reads exactly as a data file
// holding the converted values: NaN becomes the missing-value default, a negative G or D 0,
// and a time of 24:00 midnight of the record's own date, as the data-file reader takes
// "24:00".
const std::vector<DataColumn>& EpwDataColumns();
DataRecord ToDataRecord(const EpwRecord& record, float missingValue);

}  // namespace umbrix
