// Data files of time-series runs: any bytes, with each field separator, any choice of columns
// and the date and time formats; every record is read or refused with DataFileError.
#include <unistd.h>

#include <cmath>
#include <fstream>

#include "FuzzInput.h"
#include "platform/Error.h"
#include "series/DataFile.h"

using namespace umbrix;

namespace {
constexpr char kSeparators[] = {'\t', ',', ';', '|'};
constexpr const char* kDateFormats[] = {"d.m.yyyy", "T.M.JJJJ", "yyyy-mm-dd", "d/m/yy"};
constexpr const char* kTimeFormats[] = {"h:mm", "hh:mm:ss", "h.mm", "h"};
constexpr int kIncrements[] = {10, 12, 15, 18, 20, 24, 30, 36, 45, 60, 90};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    DataFileSettings settings;
    const std::uint8_t choice = in.byte();
    settings.fieldSeparator = kSeparators[choice % 4];
    settings.dateFormat = kDateFormats[(choice >> 2) % 4];
    settings.timeFormat = kTimeFormats[(choice >> 4) % 4];
    settings.skipFirstRow = choice & 0x40;
    if (choice & 0x80) {
        settings.missingText = "-9999";
        settings.missingValue = -9999.0f;
    }
    const std::uint8_t shape = in.byte();
    settings.horizonIncrement = kIncrements[shape % 11];
    const int columns = 1 + (shape >> 4) % 8;
    for (int c = 0; c < columns; ++c)
        settings.columns.push_back(DataColumn(in.byte() % kDataColumnCount));
    settings.currentYear = 2026;

    const std::string_view text = in.rest();
    static const std::string path =
        std::string(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + "/umbrix_fuzz_data_" +
        std::to_string(getpid()) + ".txt";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(text.data(), std::streamsize(text.size()));
    }
    settings.path = path;

    try {
        DataFileReader reader(settings);
        int lastLine = 0;
        std::size_t records = 0;
        while (!reader.atEnd()) {
            const DataRecord record = reader.next();
            fuzz::Check(record.line > lastLine, "records come in line order");
            lastLine = record.line;
            fuzz::Check(++records <= text.size() + 1, "no more records than lines");
            for (int c = 0; c < kDataColumnCount; ++c)
                if (record.present[std::size_t(c)])
                    fuzz::Check(std::isfinite(record.value[std::size_t(c)]), "values are finite");
            for (float x : {record.longitude, record.latitude, record.timeZone, record.hours})
                fuzz::Check(std::isfinite(x), "position and time are finite");
            for (float h : record.horizon.angles)
                fuzz::Check(h >= 0.0f && h <= 90.0f, "horizon angles in 0 ... 90");
            if (record.date) fuzz::Check(IsValidDate(*record.date), "dates are valid");
            fuzz::Check(record.dayOfYear >= 1 && record.dayOfYear <= 366, "day of year in range");
        }
    } catch (const UmbrixError&) {
        // a record that cannot be read ends the run with a message naming it
    }
    return 0;
}
