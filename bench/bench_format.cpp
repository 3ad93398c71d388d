#include <benchmark/benchmark.h>

#include <string>

#include "platform/DateTime.h"
#include "platform/Format.h"
#include "platform/IniFile.h"

// One output row has some 80 numbers: fixed() is on the path of every table line.
static void BM_FixedRow(benchmark::State& state) {
    for (auto _ : state) {
        std::size_t length = 0;
        for (int i = 0; i < 80; ++i) length += umbrix::fixed(i * 13.37 - 400.0, 5, 1).size();
        benchmark::DoNotOptimize(length);
    }
    state.SetItemsProcessed(state.iterations() * 80);
}
BENCHMARK(BM_FixedRow);

// A data-file record: a handful of numbers, a date and a time.
static void BM_ParseRecord(benchmark::State& state) {
    const umbrix::FormatSettings settings;
    const char* fields[] = {"20.5", "-3.25", "1013.2", "0.8", "53.5", "12.5", "625", "7.85"};
    for (auto _ : state) {
        double sum = 0;
        for (const char* f : fields) sum += *umbrix::parseReal(f);
        sum += umbrix::ParseDate(settings, "21.6.2026", 2026)->day;
        sum += *umbrix::ParseTime(settings, "13:45");
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ParseRecord);

static void BM_FormatDateTime(benchmark::State& state) {
    const umbrix::FormatSettings settings;
    for (auto _ : state) {
        std::string text = umbrix::FormatDate(settings, umbrix::Date{2026, 6, 21}) + " " +
                           umbrix::FormatTime(settings, 0.5729);
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_FormatDateTime);

// A session file of about 150 components, read and written back.
static void BM_SessionRoundTrip(benchmark::State& state) {
    umbrix::IniFile ini;
    for (int i = 0; i < 150; ++i) {
        ini.writeString("FormGeodat", "Component" + std::to_string(i), std::to_string(i * 7));
    }
    const std::string text = ini.text();
    for (auto _ : state) {
        umbrix::IniFile parsed = umbrix::IniFile::parse(text);
        parsed.writeString("FormGeodat", "Component149", "x");
        benchmark::DoNotOptimize(parsed.text());
    }
}
BENCHMARK(BM_SessionRoundTrip);
