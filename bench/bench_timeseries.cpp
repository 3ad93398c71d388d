// A year of hourly weather (8760 lines) through the data-file run, written to an output file:
// the five indices PMV, PET, SET*, UTCI and PT, and mPET on its own.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "models/Application.h"
#include "models/DataFileWindowModel.h"
#include "models/MainWindowModel.h"

namespace {

namespace fs = std::filesystem;

class BenchHost : public umbrix::Host {
  public:
    std::string dataFile, outputFile;
    std::optional<std::string> openFileDialog(umbrix::FileDialogOptions&) override {
        return dataFile;
    }
    std::optional<std::string> saveFileDialog(umbrix::FileDialogOptions&) override {
        return outputFile;
    }
    void showMessage(const std::string&, umbrix::MessageKind) override {}
    umbrix::Answer ask(const std::string&, bool) override { return umbrix::Answer::No; }
    umbrix::ClockTime now() override { return {2025, 1, 1, 12, 0, 0}; }
};

// Hourly weather of a year at a mid-latitude site: seasonal and daily courses of temperature,
// humidity, wind and global radiation.
void WriteYear(const std::string& path) {
    std::ofstream out(path);
    const int monthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int doy = 0;
    for (int month = 1; month <= 12; ++month)
        for (int day = 1; day <= monthDays[month - 1]; ++day) {
            ++doy;
            const double season = -std::cos(2 * M_PI * (doy - 15) / 365.0);
            for (int h = 0; h < 24; ++h) {
                const double daily = -std::cos(2 * M_PI * (h - 4) / 24.0);
                const double ta = 10 + 9 * season + 5 * daily;
                const double rh = 70 - 20 * daily;
                const double v = 1.5 + 1.0 * daily + 0.5 * ((doy * 7 + h) % 5) / 4.0;
                const double sun = std::sin(M_PI * (h - 12 + 6 + 2 * season) / (12 + 4 * season));
                const double g = sun > 0 ? (500 + 350 * season) * sun : 0;
                out << day << '.' << month << ".2025\t" << h << ":00\t" << ta << '\t' << rh << '\t'
                    << v << '\t' << g << '\n';
            }
        }
}

void RunYear(benchmark::State& state, bool fiveIndices, bool mpet) {
    const fs::path dir = fs::temp_directory_path() / ("umbrix_bench_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    BenchHost host;
    host.dataFile = (dir / "year.txt").string();
    host.outputFile = (dir / "table.txt").string();
    WriteYear(host.dataFile);
    umbrix::AppSettings settings;
    settings.programDir = UMBRIX_SOURCE_DIR "/data";
    settings.locationsFile = UMBRIX_SOURCE_DIR "/data/locations.lst";
    {
        umbrix::Application app(host, settings);
        app.start(false);
        umbrix::ComponentRegistry& reg = app.registry();
        for (const char* name : {"PmvChk", "PetChk", "SetChk", "UtciChk", "PtChK"})
            reg.set(name, fiveIndices ? "1" : "0");
        reg.set("mPETChK", mpet ? "1" : "0");
        app.dataFileWindow().click("BitBtn1");
        app.dataFileWindow().selectColumns({"date", "time", "Ta", "RH", "v", "G"});
        reg.set("FormWerte.ChkInDatei", "1");
        for (auto _ : state) app.mainWindow().click("ButtonNeu");
        state.counters["rows"] = 8760;
        state.counters["us/row"] = benchmark::Counter(
            8760, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    }
    fs::remove_all(dir);
}

void BM_YearOfHours_FiveIndices(benchmark::State& state) {
    RunYear(state, true, false);
}
BENCHMARK(BM_YearOfHours_FiveIndices)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_YearOfHours_mPET(benchmark::State& state) {
    RunYear(state, false, true);
}
BENCHMARK(BM_YearOfHours_mPET)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_YearOfHours_NoIndex(benchmark::State& state) {
    RunYear(state, false, false);
}
BENCHMARK(BM_YearOfHours_NoIndex)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
