// Weather files in, analysis tables out: reading the Mannheim test reference year (8760 hours,
// from the shared folder beside the repository) and writing a year of rows as csv.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "series/EpwFile.h"
#include "series/TableFormats.h"

namespace {

using namespace umbrix;

std::filesystem::path MannheimYear() {
    for (std::filesystem::path dir = UMBRIX_SOURCE_DIR; !dir.empty(); dir = dir.parent_path()) {
        const auto file = dir.parent_path() / "shared" / "data" / "weather" / "mannheim.epw";
        if (std::filesystem::exists(file)) return file;
        if (dir == dir.parent_path()) break;
    }
    return {};
}

// The whole file: header, 8760 records, conversions and the records as data-file records.
void BM_EpwYear(benchmark::State& state) {
    const std::filesystem::path file = MannheimYear();
    if (file.empty()) {
        state.SkipWithError("shared/data/weather/mannheim.epw not found");
        return;
    }
    std::int64_t records = 0;
    for (auto _ : state) {
        EpwReader reader(file.string());
        while (!reader.atEnd()) {
            const DataRecord r = ToDataRecord(reader.next(), 9999.0f);
            benchmark::DoNotOptimize(r);
            ++records;
        }
    }
    state.SetItemsProcessed(records);
}
BENCHMARK(BM_EpwYear)->Unit(benchmark::kMillisecond);

// 8760 rows of a typical table (date, time and 30 numbers) as csv lines.
void BM_CsvYear(benchmark::State& state) {
    std::vector<TableColumn> columns = {{"date", "", ColumnKind::Date, 0},
                                        {"time", "", ColumnKind::Time, 0}};
    for (int i = 0; i < 30; ++i) columns.push_back({"q" + std::to_string(i), "W/m²"});
    const DelimitedTableWriter writer(TableFormat::Csv, columns, 9999.0f);
    std::vector<TableValue> row(columns.size());
    std::size_t bytes = 0;
    for (auto _ : state) {
        for (int hour = 0; hour < 8760; ++hour) {
            row[0] = AddDays(Date{2025, 1, 1}, hour / 24);
            row[1] = hour % 24 + 0.5;
            for (std::size_t i = 2; i < row.size(); ++i) row[i] = 0.37 * double(hour) + double(i);
            bytes += writer.rowLine(row).size();
        }
    }
    state.SetBytesProcessed(std::int64_t(bytes));
}
BENCHMARK(BM_CsvYear)->Unit(benchmark::kMillisecond);

}  // namespace
