// The main window's map run: the point calculation's inputs for every cell of a grid over the
// obstacle plan, at one time, over a range of times, or over the rows of the data file.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "models/Application.h"
#include "models/ComponentNames.h"
#include "models/DataFileWindowModel.h"
#include "models/HorizonEditorModel.h"
#include "models/MainWindowModel.h"
#include "models/MapRequest.h"
#include "models/ObstacleEditorModel.h"
#include "models/TopographyEditorModel.h"
#include "platform/Error.h"
#include "platform/Format.h"
#include "platform/TextFile.h"
#include "series/DataFile.h"

namespace umbrix {

using namespace main_window;

namespace {

std::string ClockText(int minutes) {
    char text[16];
    std::snprintf(text, sizeof text, "%d:%02d", minutes / 60, minutes % 60);
    return text;
}

HorizonImage ImageOf(const Raster& raster) {
    HorizonImage image{raster.width(), raster.height(), {}};
    image.pixels.reserve(std::size_t(raster.width()) * std::size_t(raster.height()));
    for (int y = 0; y < raster.height(); ++y)
        image.pixels.insert(image.pixels.end(), raster.row(y), raster.row(y) + raster.width());
    return image;
}

TerrainWindow TerrainOf(const TopographyEditorModel& editor) {
    TerrainWindow terrain;
    for (int r = 0; r < TerrainWindow::kSize; ++r)
        for (int c = 0; c < TerrainWindow::kSize; ++c)
            terrain.heights[std::size_t(r) * TerrainWindow::kSize + c] = editor.window().at(c, r);
    terrain.spacing = editor.grid().delta;
    terrain.x0 = editor.x0();
    terrain.y0 = editor.y0();
    terrain.z0 = editor.z0();
    return terrain;
}

// The hours a data-file row stands for: the usual spacing of the rows (their median), one hour
// for a file of one row.
double RowSpacing(const std::vector<double>& hoursOfYear) {
    std::vector<double> steps;
    for (std::size_t i = 1; i < hoursOfYear.size(); ++i)
        if (hoursOfYear[i] > hoursOfYear[i - 1])
            steps.push_back(hoursOfYear[i] - hoursOfYear[i - 1]);
    if (steps.empty()) return 1;
    std::nth_element(steps.begin(), steps.begin() + steps.size() / 2, steps.end());
    return steps[steps.size() / 2];
}

// The busy state of a run (the commands that would start another are locked) and its progress
// bar, restored however the run ends.
class BusyRun {
  public:
    explicit BusyRun(Host& host) : host_(host) { host_.setBusy(true); }
    ~BusyRun() {
        host_.setBusy(false);
        host_.setProgress(0);
    }

  private:
    Host& host_;
};

}  // namespace

MapOutcome MainWindowModel::computeMap(const MapRequest& request, batch::ThreadPool* pool) {
    Application& app = app_;
    const ObstacleEditorModel& editor = app.obstacleEditor();
    if (!checked(Hindernisobjekte1) || editor.obstacles().empty())
        throw UmbrixError(
            "a map is computed over the obstacle plan: open an obstacle file first (--obstacles "
            "FILE, or the obstacle editor)");
    const BusyRun busy(host());
    readInputs();
    readMissingValue();

    MapOutcome out;
    out.scene = editor.scene();
    MapSetup setup;
    setup.scene = out.scene;
    setup.grid = request.extent
                     ? MapGridOver((*request.extent)[0], (*request.extent)[1], (*request.extent)[2],
                                   (*request.extent)[3], request.cell)
                     : DefaultMapGrid(out.scene, request.cell);
    setup.bands = ParseMapBands(request.quantities);
    // the horizon sources of the main window besides the obstacles, the same for every cell
    std::optional<HorizonImage> drawing;
    std::optional<TerrainWindow> terrain;
    if (checked(Horizonteinengung1)) drawing = ImageOf(app.horizonEditor().drawing());
    const TopographyEditorModel& topography = app.topographyEditor();
    if (checked(Topographie1) && !topography.horizonPicture().empty())
        terrain = TerrainOf(topography);
    setup.drawing = drawing ? &*drawing : nullptr;
    setup.terrain = terrain ? &*terrain : nullptr;

    const bool fromFile = dataFileActive() && !request.minute && !request.range;
    std::vector<int> minutes;
    if (request.range) {
        const auto [from, to] = *request.range;
        if (!(from >= 0 && to > from && to <= 1440 && request.stepMinutes > 0))
            throw UmbrixError("the map's range of times must run forwards within the day");
        for (int m = from; m < to; m += request.stepMinutes) minutes.push_back(m);
        out.when = inputs.dateText + " " + ClockText(from) + "-" + ClockText(to);
    } else if (!fromFile) {
        const int m =
            request.minute ? *request.minute : int(std::nearbyint(double(inputs.hours) * 60.0));
        if (m < 0 || m >= 1440) throw UmbrixError("the map's time must lie within the day");
        minutes.push_back(m);
        out.when = inputs.dateText + " " + ClockText(m);
    }
    if (minutes.size() > 1 || fromFile)
        for (const MapBand& band : setup.bands)
            if (NeedsSingleStep(band))
                throw UmbrixError("map quantity " + band.name +
                                  " is a value of one time: over a range of times use " +
                                  band.name + "_mean, " + band.name + "_max, " + band.name +
                                  "_min or hours per class");

    MapRun run(std::move(setup), pool);
    const auto progress = [this](std::size_t done, std::size_t total) {
        host().setProgress(int(100.0 * double(done) / double(std::max<std::size_t>(total, 1))));
        host().processMessages();
        return !host().cancelRequested();
    };
    host().setProgressMax(100);

    if (!fromFile) {
        // the weather of the main window for every step
        const CalculationResults kept = results;
        readPointRow();
        const bool saturated = coupleHumidity();
        if (!saturated)
            throw RangeError("the vapour pressure lies above saturation at the air temperature");
        const Weather weather = rowWeather();
        results = kept;
        RowInputs row{rowSite(), {inputs.dayOfYear, 0}, weather, rowPerson()};
        for (int m : minutes) run.announceTime(row.site, {inputs.dayOfYear, float(m / 60.0)});
        if (run.computeHorizons(progress)) {
            const double stepHours = minutes.size() > 1 ? request.stepMinutes / 60.0 : 0;
            for (int m : minutes) {
                row.time.hours = float(m / 60.0);
                if (!run.addStep(row, rowSettings(), stepHours, progress)) break;
            }
        }
        out.map = run.result();
        return out;
    }

    // the data file: read once for the times, and again for the steps
    const DataFileSettings fileSettings = app.dataFileWindow().dataFileSettings();
    const std::vector<DataColumn> columns = fileSettings.columns;
    struct Finish {
        MainWindowModel& self;
        ~Finish() { self.finishDataRun(); }
    } finish{*this};
    std::vector<double> hoursOfYear;
    {
        const std::unique_ptr<RecordSource> reader = OpenRecordSource(fileSettings);
        while (!reader->atEnd()) {
            startRow();
            readDataRow(*reader, columns);
            run.announceTime(rowSite(), {inputs.dayOfYear, inputs.hours});
            hoursOfYear.push_back(inputs.dayOfYear * 24.0 + inputs.hours);
        }
    }
    if (hoursOfYear.empty()) throw UmbrixError("the data file holds no rows for the map");
    out.when = "data file " + FileNameOnly(fileSettings.path) + ", " +
               std::to_string(hoursOfYear.size()) + " rows";
    const double stepHours = RowSpacing(hoursOfYear);
    readInputs();
    if (run.computeHorizons(progress)) {
        const std::unique_ptr<RecordSource> reader = OpenRecordSource(fileSettings);
        while (!reader->atEnd()) {
            startRow();
            readDataRow(*reader, columns);
            const bool saturated = coupleHumidity();
            Weather weather = rowWeather();
            // a row with a value outside its range is computed with nothing: no values
            if (rowOutOfRange_ || !saturated) weather.Ta = NAN;
            const RowInputs row{rowSite(), {inputs.dayOfYear, inputs.hours}, weather, rowPerson()};
            if (!run.addStep(row, rowSettings(), stepHours)) break;
            results.Ta = results.VP = results.RH = results.v = results.Tmrt = missingValue;
        }
    }
    out.map = run.result();
    return out;
}

}  // namespace umbrix
