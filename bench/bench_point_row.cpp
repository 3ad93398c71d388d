// One "&New" in the "Data table" mode: reading the inputs, the header and one point row.
#include <benchmark/benchmark.h>

#include "models/Application.h"
#include "models/MainWindowModel.h"
#include "models/OutputWindowModel.h"

namespace {

class BenchHost : public umbrix::Host {
  public:
    std::optional<std::string> openFileDialog(umbrix::FileDialogOptions&) override { return {}; }
    std::optional<std::string> saveFileDialog(umbrix::FileDialogOptions&) override { return {}; }
    void showMessage(const std::string&, umbrix::MessageKind) override {}
    umbrix::Answer ask(const std::string&, bool) override { return umbrix::Answer::No; }
    umbrix::ClockTime now() override { return {2026, 6, 21, 12, 0, 0}; }
};

void BM_PointRow(benchmark::State& state) {
    BenchHost host;
    umbrix::AppSettings settings;
    settings.programDir = UMBRIX_SOURCE_DIR "/data";
    settings.locationsFile = UMBRIX_SOURCE_DIR "/data/locations.lst";
    umbrix::Application app(host, settings);
    app.start(false);
    for (auto _ : state) {
        app.mainWindow().click("ButtonNeu");
        benchmark::DoNotOptimize(app.outputWindow().lines().back());
    }
}
BENCHMARK(BM_PointRow);

}  // namespace
