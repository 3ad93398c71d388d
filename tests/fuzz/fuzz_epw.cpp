// EPW weather files: any bytes, with either time stamp and with or without a run year; the
// header is read or refused, and every record is read or refused with DataFileError.
#include <unistd.h>

#include <cmath>
#include <fstream>

#include "FuzzInput.h"
#include "platform/Error.h"
#include "platform/Utf8.h"
#include "series/EpwFile.h"

using namespace umbrix;

namespace {

bool finiteOrMissing(float x) {
    return std::isnan(x) || std::isfinite(x);
}

bool cleanText(const std::string& s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) < 32) return false;
    return IsValidUtf8(s);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const std::uint8_t choice = in.byte();
    EpwOptions options;
    options.timeStamp = choice & 1 ? EpwTimeStamp::EndOfHour : EpwTimeStamp::MiddleOfHour;
    constexpr int kYears[] = {0, 2023, 2024, 0};
    options.runYear = kYears[(choice >> 1) % 4];

    const std::string_view text = in.rest();
    static const std::string path =
        std::string(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + "/umbrix_fuzz_epw_" +
        std::to_string(getpid()) + ".epw";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(text.data(), std::streamsize(text.size()));
    }

    try {
        EpwReader reader(path, options);
        const EpwSite& site = reader.site();
        fuzz::Check(site.latitude >= -90 && site.latitude <= 90, "latitude in range");
        fuzz::Check(site.longitude >= -180 && site.longitude <= 180, "longitude in range");
        fuzz::Check(site.timeZone >= -12 && site.timeZone <= 14, "time zone in range");
        for (const std::string* s : {&site.city, &site.region, &site.country, &site.source})
            fuzz::Check(cleanText(*s), "site texts are UTF-8 without control characters", *s);
        std::int64_t lastLine = 8;
        while (!reader.atEnd()) {
            const EpwRecord r = reader.next();
            fuzz::Check(r.line > lastLine, "records come in line order");
            lastLine = r.line;
            fuzz::Check(IsValidDate(r.date), "dates are valid");
            if (options.runYear != 0) fuzz::Check(r.date.year == options.runYear, "the run year");
            fuzz::Check(r.hour >= 1 && r.hour <= 24, "hour 1 ... 24");
            fuzz::Check(r.hours > 0 && r.hours <= 24, "time within the day");
            for (float x : {r.Ta, r.RH, r.p, r.v10, r.v, r.N, r.G, r.D})
                fuzz::Check(finiteOrMissing(x), "values finite or missing");
            fuzz::Check(std::isnan(r.v) == std::isnan(r.v10), "wind converted");
            const DataRecord run = ToDataRecord(r, 9999.0f);
            for (DataColumn c : EpwDataColumns())
                fuzz::Check(std::isfinite(run[c]), "run values are finite");
            fuzz::Check(run.hours >= 0 && run.hours < 24, "run time within the day");
        }
    } catch (const UmbrixError&) {
        // a header or a line that cannot be read ends the run with a message naming it
    }
    return 0;
}
