// umbrix: the command line. Drives the window models as a user would.
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <iostream>

#include "cli/CliHost.h"
#include "cli/MapCommand.h"
#include "cli/Modules.h"
#include "cli/Options.h"
#include "cli/PlotCommand.h"
#include "models/Application.h"
#include "models/ComponentNames.h"
#include "models/DataFileWindowModel.h"
#include "models/HorizonEditorModel.h"
#include "models/MainWindowModel.h"
#include "models/ObstacleEditorModel.h"
#include "models/OutputWindowModel.h"
#include "models/TopographyEditorModel.h"
#include "platform/Bmp.h"
#include "platform/DateTime.h"
#include "platform/Error.h"
#include "platform/FormModel.h"
#include "platform/Format.h"
#include "platform/OutputFile.h"
#include "platform/TextFile.h"
#include "series/DataFile.h"
#include "series/RunSummary.h"

namespace umbrix::cli {

ClockTime CliHost::now() {
    if (clock) return *clock;
    std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

void CliHost::reportRows(std::int64_t rows, double fraction) {
    if (!showProgress) return;
    using namespace std::chrono;
    const auto now = steady_clock::now();
    if (rows == 0) progressStart_ = progressShown_ = now;
    if (fraction >= 1.0) {
        // the run is over: the line goes
        if (progressWidth_) std::cerr << '\r' << std::string(progressWidth_, ' ') << '\r';
        std::cerr.flush();
        progressWidth_ = 0;
        return;
    }
    if (rows > 0 && now - progressShown_ < milliseconds(250)) return;
    progressShown_ = now;
    const double seconds = duration<double>(now - progressStart_).count();
    char text[160];
    int n = std::snprintf(text, sizeof text, "umbrix: %lld rows, %.0f %%, %.0f rows/s",
                          static_cast<long long>(rows), 100.0 * fraction,
                          seconds > 0 ? double(rows) / seconds : 0.0);
    if (fraction > 0.001 && seconds > 0) {
        const long left = std::lround(seconds * (1.0 - fraction) / fraction);
        n += std::snprintf(text + n, sizeof text - std::size_t(n), ", %ld:%02ld left", left / 60,
                           left % 60);
    }
    std::string line(text, std::size_t(std::max(n, 0)));
    const std::size_t width = line.size();
    if (width < progressWidth_) line.append(progressWidth_ - width, ' ');
    progressWidth_ = std::max(progressWidth_, width);
    std::cerr << '\r' << line << std::flush;
}

namespace {
// The parts of a text between the separators ("a,b," gives "a", "b", "").
std::vector<std::string> SplitAt(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        std::size_t at = text.find(separator, start);
        parts.push_back(text.substr(start, at - start));
        if (at == std::string::npos) return parts;
        start = at + 1;
    }
}
}  // namespace

int FilterIndexFor(const std::string& filter, const std::string& path, int current) {
    auto lower = [](std::string s) {
        for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
        return s;
    };
    const std::string name = lower(std::filesystem::path(path).filename().string());
    auto matches = [&name](const std::string& pattern) {
        if (pattern == "*" || pattern == "*.*") return true;
        if (pattern.rfind("*.", 0) != 0) return name == pattern;
        const std::string suffix = pattern.substr(1);
        return name.size() > suffix.size() &&
               name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
    };
    // "caption|patterns|caption|patterns…": the patterns are every second part
    const std::vector<std::string> parts = SplitAt(filter, '|');
    for (std::size_t i = 1; i < parts.size(); i += 2)
        for (const std::string& pattern : SplitAt(lower(parts[i]), ';'))
            if (matches(pattern)) return int(i / 2) + 1;
    return current;
}

namespace {

std::string programDir(const char* argv0) {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) exe = std::filesystem::absolute(argv0, ec);
    return exe.parent_path().string();
}

// "H:MM" as minutes of the day, "24:00" being the end of the day.
int DiagramMinutes(const std::string& text) {
    if (TrimBlanks(text) == "24:00") return 1440;
    auto t = ParseTime(FormatSettings{}, text);
    if (!t) throw UmbrixError("--time: cannot read \"" + text + "\" as H:MM");
    return int(std::nearbyint(*t * 1440));
}

const char* modeItem(const std::string& mode) {
    if (mode == "polar") return main_window::Polar1;
    if (mode == "daily") return main_window::Jahresgang1;
    if (mode == "shadows") return main_window::Schattenwurf1;
    return main_window::Einzeltab1;
}

// the data-file window's file type "EPW weather file (*.epw)"
constexpr int kEpwFileType = 3;

void FlushStandardOutput() {
    errno = 0;
    std::cout.flush();
    if (!std::cout || std::fflush(stdout) != 0 || std::ferror(stdout))
        throw FileError(std::string("cannot write to standard output: ") +
                        std::strerror(errno ? errno : EIO));
}

void CloseStandardOutput() {
    FlushStandardOutput();
    errno = 0;
    // some file systems report a full disk only when the file is closed
    if (std::fclose(stdout) != 0)
        throw FileError(std::string("cannot write to standard output: ") +
                        std::strerror(errno ? errno : EIO));
}

void CheckInputFile(const Step& step) {
    try {
        OpenInputFile(step.value);
    } catch (const FileError& e) {
        throw FileError(step.option + ": " + e.what());
    }
}

class Runner {
  public:
    Runner(Application& app, CliHost& host) : app_(app), host_(host) {}

    // The charts, read before anything runs and drawn at the end.
    PlotCommand& plots() { return plots_; }

    void apply(const Step& step) {
        MainWindowModel& main = app_.mainWindow();
        ComponentRegistry& reg = app_.registry();
        const std::string& v = step.value;
        if (mapMode_ && step.option != "--save") map_.invalidate();
        if (PlotCommand::isPlotOption(step.option)) {
            return;  // read before the run
        } else if (MapCommand::isMapOption(step.option)) {
            map_.apply(step.option, v);
        } else if (step.option == "--mode" && v == "map") {
            mapMode_ = true;
        } else if (mapMode_ && step.option == "--time") {
            map_.setTime(v);
        } else if (mapMode_ && step.option == "--save") {
            saveGiven_ = true;
            map_.save(app_, v);
        } else if (step.option == "--set") {
            auto eq = v.find('=');
            const std::string name = v.substr(0, eq);
            reg.set(name, v.substr(eq + 1));
            if (name == main_window::EditLg || name == "FormGeodat.EditLg") longitudeSet_ = true;
            if (name == main_window::EditBr || name == "FormGeodat.EditBr") latitudeSet_ = true;
        } else if (step.option == "--mode") {
            if (v == "shadows" && !main.enabled(main_window::Schattenwurf1))
                throw UmbrixError("--mode shadows: open an obstacle file first (--obstacles FILE)");
            setChecked(modeItem(v));
        } else if (step.option == "--lang") {
            setChecked(v == "de" ? main_window::Deutsch1 : main_window::English1);
        } else if (step.option == "--location") {
            const Control& combo = main.ctl(main_window::ComboOrt);
            auto it = std::find(combo.items.begin(), combo.items.end(), v);
            if (it == combo.items.end()) {
                std::string best = NearestName(v, combo.items);
                throw UmbrixError("--location: no stored location \"" + v + "\" in " +
                                  app_.locationsFile() +
                                  (best.empty() ? "" : " (did you mean " + best + "?)"));
            }
            main.select(main_window::ComboOrt, int(it - combo.items.begin()));
        } else if (step.option == "--session") {
            std::vector<std::string> problems = main.openSession(v);
            if (!problems.empty()) {
                std::string text;
                for (const auto& p : problems) text += (text.empty() ? "" : "; ") + p;
                throw UmbrixError("--session " + v + ": not restored as stored: " + text);
            }
            longitudeSet_ = latitudeSet_ = true;  // the session holds the coordinates
        } else if (step.option == "--obstacles") {
            ObstacleEditorModel& obs = app_.obstacleEditor();
            host_.nextOpen = v;
            obs.click(obstacle_editor::BitBtn2);  // Open: checks "Obstacles"
            obs.close();                          // the projection
        } else if (step.option == "--horizon") {
            openHorizon(v);
        } else if (step.option == "--topography") {
            openTopography(v);
        } else if (step.option == "--datafile") {
            CheckInputFile(step);
            host_.nextOpen = v;
            app_.dataFileWindow().click(data_file_window::BitBtn1);
        } else if (step.option == "--summary") {
            main.collectSummary = true;
            summaryFile_ = v;
        } else if (step.option == "--format") {
            main.tableFormat = *TableFormatByName(v);
        } else if (step.option == "--epw") {
            CheckInputFile(step);
            host_.nextOpen = v;
            host_.nextFilterIndex = kEpwFileType;
            app_.dataFileWindow().click(data_file_window::BitBtn1);
        } else if (step.option == "--columns") {
            if (v == "auto")
                app_.dataFileWindow().click(data_file_window::LabelsBtn);
            else
                app_.dataFileWindow().selectColumns(SplitAt(v, ','));
        } else if (step.option == "--output") {
            host_.outputFile = v;
            outputGiven_ = true;
            if (!app_.dataFileWindow().checked(data_file_window::ChkInDatei))
                app_.registry().set("FormWerte.ChkInDatei", "1");
        } else if (step.option == "--new") {
            checkLocation();
            lastRunDaily_ = main.checked(main_window::Jahresgang1);
            lastRunTable_ = main.checked(main_window::Einzeltab1);
            main.click(main_window::ButtonNeu);
            ran_ = true;
        } else if (step.option == "--add") {
            checkLocation();
            lastRunDaily_ = main.checked(main_window::Jahresgang1);
            lastRunTable_ = main.checked(main_window::Einzeltab1);
            main.click(main_window::ButtonHinzu);
            ran_ = true;
        } else if (step.option == "--fisheye") {
            if (!ran_) apply({"--new", ""});
            app_.checkOutputFile(v);
            WriteBmp(v, main.horizonImage());
        } else if (step.option == "--time") {
            if (!ran_) apply({"--new", ""});
            OutputWindowModel& map = app_.outputWindow();
            if (!map.enabled(output_window::UpDown1))
                throw UmbrixError(
                    "--time: the diagram time applies in the diagram modes "
                    "(--mode polar or shadows)");
            map.changeTime(DiagramMinutes(v));
        } else if (step.option == "--save") {
            if (!ran_) apply({"--new", ""});
            saveGiven_ = true;
            host_.nextSave = v;
            if (!app_.outputWindow().saveAs()) throw UmbrixError("--save: nothing saved");
        }
    }

    void finish() {
        if (map_.optionGiven() && !mapMode_)
            throw UmbrixError("the --map-... options belong to --mode map");
        if (mapMode_) {
            if (plots_.wanted())
                throw UmbrixError(
                    "--plot draws the table of a data-table or daily-data run, not a map");
            if (!saveGiven_)
                throw UmbrixError(
                    "--mode map: save the map with --save FILE.tif, FILE.asc, "
                    "FILE.svg or FILE.png");
            return;
        }
        if (!ran_) apply({"--new", ""});
        if (plots_.wanted()) {
            if (!lastRunDaily_ && !lastRunTable_)
                throw UmbrixError(
                    "--plot draws the table of a data-table or daily-data run (--mode table or "
                    "daily), not a diagram");
            plots_.save(app_);
        }
        if (summaryFile_.empty()) return;
        MainWindowModel& main = app_.mainWindow();
        if (!main.summary)
            throw UmbrixError("--summary " + summaryFile_ + ": no data table was computed");
        const TextLanguage language =
            app_.language() == Language::German ? TextLanguage::German : TextLanguage::English;
        std::string ext = std::filesystem::path(summaryFile_).extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(),
                       [](unsigned char c) { return char(std::tolower(c)); });
        const bool csv = ext == ".csv";
        app_.checkOutputFile(summaryFile_);
        WriteTextFileAtomic(summaryFile_, csv ? SummaryCsv(*main.summary, language)
                                              : SummaryText(*main.summary, language));
    }

    // The daily course never writes to the output file: its table is the text view's only copy.
    bool tableToStdout() const {
        return !mapMode_ && !saveGiven_ && (!outputGiven_ || lastRunDaily_);
    }
    bool dailyOutputIgnored() const { return outputGiven_ && lastRunDaily_ && !saveGiven_; }
    // A diagram was drawn but neither saved nor written anywhere.
    bool diagramUnsaved() const {
        return !mapMode_ && !saveGiven_ && app_.outputWindow().pictureView;
    }

  private:
    // With no usable stored location the table would be computed at 0°/0°, UTC+0: only
    // coordinates given on the command line (or by the session, or data-file columns) will do.
    void checkLocation() {
        if (app_.mainWindow().hasStoredLocations()) return;
        if (longitudeSet_ && latitudeSet_) return;
        DataFileWindowModel& dataFileWindow = app_.dataFileWindow();
        if (app_.mainWindow().dataFileActive() && dataFileWindow.isEpw()) return;
        if (app_.mainWindow().dataFileActive() && dataFileWindow.isColumn(DataColumn::Longitude) &&
            dataFileWindow.isColumn(DataColumn::Latitude))
            return;
        throw UmbrixError("no usable location in " + app_.locationsFile() +
                          ": choose a list with --locations, or give the place with --set "
                          "EditLg=... --set EditBr=... (and EditZz, EditNn)");
    }

    void openHorizon(const std::string& path) {
        HorizonEditorModel& editor = app_.horizonEditor();
        std::string ext = std::filesystem::path(path).extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(),
                       [](unsigned char c) { return char(std::tolower(c)); });
        if (ext == ".svg" || ext == ".emf" || ext == ".wmf") {
            // Import, which only a front end that renders vector pictures can do.
            host_.nextOpen = path;
            editor.click(horizon_editor::ImportBtn);
            return;
        }
        host_.nextOpen = path;
        editor.click(horizon_editor::OeffnenBtn);  // Open: checks "Sky view factor"
    }

    void openTopography(const std::string& path) {
        TopographyEditorModel& topo = app_.topographyEditor();
        std::vector<std::string> messages;
        auto failure = [&]() {
            std::string text;
            for (const auto& m : messages) text += (text.empty() ? "" : " ") + m;
            std::replace(text.begin(), text.end(), '\n', ' ');
            return UmbrixError("--topography " + path + ": " + text);
        };
        host_.heldMessages = &messages;
        struct Release {
            CliHost& host;
            ~Release() { host.heldMessages = nullptr; }
        } release{host_};
        topo.show();
        if (!topo.openTopographyFile(path)) throw failure();
        // "&Close": the terrain horizon, or the underground message
        topo.click(topography_editor::OkBtn);
        if (topo.isVisible()) throw failure();
    }

    void setChecked(const char* item) {
        if (!app_.mainWindow().checked(item)) app_.mainWindow().click(item);
    }

    Application& app_;
    CliHost& host_;
    bool ran_ = false;
    bool outputGiven_ = false;
    bool saveGiven_ = false;
    bool lastRunDaily_ = false;
    bool lastRunTable_ = false;
    bool longitudeSet_ = false;
    bool latitudeSet_ = false;
    bool mapMode_ = false;
    MapCommand map_;
    PlotCommand plots_;
    std::string summaryFile_;
};

// Every line of the text view; a write that fails (a full disk, a closed pipe) throws.
void printTable(const Application& app) {
    auto& lines = const_cast<Application&>(app).outputWindow().lines();
    for (const auto& line : lines) {
        std::cout << line << '\n';
        if (!std::cout) break;
    }
    FlushStandardOutput();
}

// Checks that need no run, made before anything is written: the input files can be read, no
// output names an input file, every --set names a control, and an --output that the --add of
// an earlier --new would not use is refused.
void CheckBeforeRunning(const Options& options, Application& app, PlotCommand& plots) {
    std::vector<std::pair<std::string, std::string>> inputs, outputs;  // option, file
    inputs.emplace_back("--locations", app.locationsFile());
    std::string output, outputOfNew;
    bool ranNew = false;
    for (const Step& step : options.steps) {
        const std::string& o = step.option;
        if (o == "--set") {
            const std::string name = step.value.substr(0, step.value.find('='));
            if (!app.registry().find(name).control) {
                const std::string hint = app.registry().nearest(name.substr(name.find('.') + 1));
                throw UmbrixError("unknown component \"" + name + "\"" +
                                  (hint.empty() ? "" : " (did you mean " + hint + "?)"));
            }
        } else if (o == "--datafile" || o == "--epw" || o == "--session" || o == "--obstacles" ||
                   o == "--topography" || o == "--horizon") {
            CheckInputFile(step);
            inputs.emplace_back(o, step.value);
        } else if (o == "--mode" && step.value == "map") {
            MapsFunctions();  // a map run that cannot write its map fails before it computes
        } else if (PlotCommand::isPlotOption(o)) {
            plots.apply(o, step.value);
            if (o == "--plot") outputs.emplace_back(o, step.value.substr(step.value.find('=') + 1));
        } else if (o == "--output" || o == "--save" || o == "--fisheye" || o == "--summary") {
            outputs.emplace_back(o, step.value);
            if (o == "--output") output = step.value;
        } else if (o == "--new") {
            outputOfNew = output;
            ranNew = true;
        } else if (o == "--add" && ranNew && output != outputOfNew) {
            throw UmbrixError("--output " + output +
                              " comes after the --new whose table --add "
                              "continues" +
                              (outputOfNew.empty() ? "" : " in " + outputOfNew) +
                              ": give --output before --new, or start a new table with --new");
        }
    }
    for (const auto& [outOption, out] : outputs)
        for (const auto& [inOption, in] : inputs)
            if (SameFile(out, in))
                throw FileError(outOption + " " + out + " is the file of " + inOption + " " + in +
                                ": an output never replaces an input");
}

}  // namespace

int Main(int argc, char** argv) {
    Options options;
    try {
        options = ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& e) {
        std::cerr << "umbrix: error: " << e.what() << "\n";
        return 1;
    }
    if (options.help) {
        std::cout << Usage();
        try {
            CloseStandardOutput();
        } catch (const FileError& e) {
            std::cerr << "umbrix: error: " << e.what() << "\n";
            return 1;
        }
        return 0;
    }
    CliHost host;
    host.clock = options.now;
    host.showProgress = !options.quiet && isatty(STDERR_FILENO);
    AppSettings settings;
    settings.programDir = programDir(argv[0]);
    settings.locationsFile = options.locationsFile;
    Application app(host, settings);
    Runner runner(app, host);
    bool tablePrinted = false;
    try {
        app.start(false);  // the command line leaves currentsession.ini alone
        for (const std::string& warning : app.mainWindow().locationWarnings())
            std::cerr << "umbrix: " << warning << "\n";
        CheckBeforeRunning(options, app, runner.plots());
        // the charts need the rows also when they go into the output file
        app.mainWindow().keepTableValues = runner.plots().wanted();
        for (const Step& step : options.steps) runner.apply(step);
        runner.finish();
        if (runner.diagramUnsaved()) {
            std::cerr << "umbrix: the diagram was drawn; save it with --save FILE.svg, FILE.png "
                         "or FILE.bmp\n";
        } else if (runner.tableToStdout()) {
            tablePrinted = true;
            printTable(app);
        }
        if (runner.dailyOutputIgnored())
            std::cerr << "umbrix: the daily data are not written to the --output file; they went "
                         "to standard output (save them with --save FILE)\n";
        CloseStandardOutput();
    } catch (const std::exception& e) {
        host.reportRows(0, 1.0);  // the progress line goes before the message
        // rows already written stay: the table so far still goes out
        if (runner.tableToStdout() && !tablePrinted) {
            try {
                printTable(app);
            } catch (const FileError&) {
            }
        }
        std::cerr << "umbrix: error: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

}  // namespace umbrix::cli

int main(int argc, char** argv) {
    return umbrix::cli::Main(argc, argv);
}
