// The calculation commands of the main window: "&New", "A&dd" and the row loop.
#include <algorithm>
#include <cmath>
#include <future>

#include "engine/HorizonData.h"
#include "engine/Internal.h"
#include "horizon/Fisheye.h"
#include "models/Application.h"
#include "models/ComponentNames.h"
#include "models/DataFileWindowModel.h"
#include "models/DetailTableModel.h"
#include "models/HorizonEditorModel.h"
#include "models/MainWindowModel.h"
#include "models/ObstacleEditorModel.h"
#include "models/OutputWindowModel.h"
#include "models/PresettingsModel.h"
#include "models/RangeMessages.h"
#include "models/TopographyEditorModel.h"
#include "platform/DateTime.h"
#include "platform/Error.h"
#include "platform/Format.h"
#include "platform/TextFile.h"
#include "series/DataFile.h"
#include "umbrix/thread_pool.h"

namespace umbrix {

using namespace main_window;

namespace {

// steps of the progress bar over a file, which fills it by the share of its bytes read
constexpr int kProgressSteps = 1000;

// a data file of the daily course must give the day of each row
const char* const kDailyNeedsDayMessage =
    "For calulating daily data with an input file, there must be a \"date\" or \"day of year\" "
    "parameter column.";

const char* const kDailyNeedsDayMessageGerman =
    "F\u00fcr die Berechnung von Tageswerten mit einer Eingabedatei muss es eine Spalte "
    "\"Datum\" oder \"Tag des Jahres\" geben.";

// Restores the cursor and the progress bar however a command ends.
class BusyScope {
  public:
    explicit BusyScope(Host& host) : host_(host) {
        host_.setBusy(true);
        host_.processMessages();
    }
    ~BusyScope() {
        host_.setBusy(false);
        host_.setProgress(0);
    }

  private:
    Host& host_;
};

const char* modeCaption(OutputMode mode) {
    switch (mode) {
        case OutputMode::Polar:
            return "Diagram (polar)";
        case OutputMode::Cylindrical:
            return "Diagram (cylindrical)";
        case OutputMode::DailyData:
            return "Daily data";
        case OutputMode::Shadows:
            return "Shadows";
        default:
            return "Data table";
    }
}

// Rows read ahead of their calculation: enough to share among the threads, few enough to keep
// memory flat.
constexpr std::size_t kRowBlock = 256;

// A table row read and waiting for its block, with what the table writes around it.
struct PendingTableRow {
    CalculationInputs inputs;
    CalculationResults results;
    float albedo = 0, bowen = 0;
    bool compute = false;
};

// The rows of a block that are computed, their jobs pointed at their own horizons and computed
// together by `compute(jobs, results)`; `apply(result, job, row results)` then fills each row.
template <class Result, class Rows, class Compute, class Apply>
void ComputePending(Rows& rows, Compute compute, Apply apply) {
    std::vector<decltype(rows.front().job)> jobs;
    for (auto& p : rows)
        if (p.compute) {
            p.job.horizon = &*p.horizon;
            jobs.push_back(p.job);
        }
    std::vector<Result> results(jobs.size());
    compute(jobs, results);
    std::size_t k = 0;
    for (auto& p : rows)
        if (p.compute) {
            apply(results[k], jobs[k], p.results);
            ++k;
        }
}

// The rows of a block formatted over the threads, for writing in order.
template <class Rows>
std::vector<FormattedRow> FormatRows(const Rows& rows, const TableRowFormat& format,
                                     const TableContext& context, bool withValues,
                                     batch::ThreadPool& pool) {
    std::vector<FormattedRow> lines(rows.size());
    pool.forEachBlock(rows.size(), 32, [&](std::size_t begin, std::size_t end) {
        TableContext own = context;
        for (std::size_t i = begin; i < end; ++i) {
            const PendingTableRow& p = rows[i];
            // the "Albedo" and "Bowen" columns show what this row used
            own.albedo = p.albedo;
            own.bowen = p.bowen;
            lines[i] = format.format(own, p.inputs, p.results, withValues);
        }
    });
    return lines;
}

// Writes formatted rows in order; `before(row)` runs just before a row is written and
// `after(row)` once it is.
template <class Rows, class Before, class After>
void WriteRowsInOrder(const Rows& rows, std::vector<FormattedRow>& lines, TableSink& sink,
                      Before before, After after) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        before(rows[i]);
        WriteFormattedRow(std::move(lines[i]), sink);
        after(rows[i]);
    }
}

// The sun day's figures into a table row.
void ApplySunDay(const SunDay& day, CalculationResults& r) {
    r.sunrise = day.sunrise;
    r.sunset = day.sunset;
    r.SDmax = day.SDmax;
    r.SDact = day.SDact;
}

// A data row waiting for its calculation.
struct PendingRow : PendingTableRow {
    RowJob job;                      // when computed
    std::optional<Horizon> horizon;  // the row's horizon, for the job
    engine::Place place;             // the row's place and day, for its sun day
    int dayOfYear = 0;
    std::optional<Horizon> dayHorizon;  // the horizon its sunshine is counted over
};

// The sun days of a block's rows, the rows split over the threads in runs of consecutive rows,
// so that a run's rows of one day share that day's sun track. The first run continues the last
// block's track (`cache`), and the last run's track is kept there for the next block.
void SunDaysOf(std::vector<PendingRow>& rows, batch::ThreadPool& pool, SunshineCache& cache) {
    const std::size_t n = rows.size();
    if (n == 0) return;
    const std::size_t run = (n + pool.size() - 1) / pool.size();
    const std::size_t runs = (n + run - 1) / run;
    std::vector<SunshineCache> caches(runs);
    std::swap(caches.front(), cache);
    std::vector<SunDay> days(n);
    pool.forEachBlock(n, run, [&](std::size_t begin, std::size_t end) {
        SunshineCache& own = caches[begin / run];
        for (std::size_t i = begin; i < end; ++i)
            days[i] = engine::DayAt(rows[i].place, rows[i].dayOfYear, *rows[i].dayHorizon, &own);
    });
    std::swap(cache, caches.back());
    for (std::size_t i = 0; i < n; ++i) {
        ApplySunDay(days[i], rows[i].results);
        if (rows[i].compute) rows[i].job.day = days[i];
    }
}

// A day of the daily course read and waiting for its block.
struct PendingDay : PendingTableRow {
    DailyJob job;                    // when computed
    std::optional<Horizon> horizon;  // the day's horizon, for the job
};

void ApplyCourse(const DailyCourse& c, CalculationResults& r) {
    ApplySunDay(c.day, r);
    r.GmaxMax = c.GmaxMax;
    r.GactMax = c.GactMax;
    r.GmaxSum = c.GmaxSum;
    r.GactSum = c.GactSum;
    r.GmaxAvr = c.GmaxAvr;
    r.GactAvr = c.GactAvr;
}

// A row that has no indices (NaN), which the table writes as the missing value.
void SetIndicesToMissing(CalculationResults& r) {
    const float m = NAN;
    for (float* f : {&r.PMV, &r.PET, &r.SET, &r.UTCI, &r.PT, &r.mPET, &r.Tc, &r.Tsk, &r.WL, &r.SWt,
                     &r.H, &r.Rnb, &r.C, &r.Evpd, &r.Esw})
        *f = m;
    // the mPET details too: otherwise the detail row would repeat the previous row's body
    for (float* f :
         {&r.mPET_Tc, &r.mPET_Tsk_m, &r.mPET_Tsk1, &r.mPET_Tsk2, &r.mPET_Tsk3, &r.mPET_Tsk4,
          &r.mPET_Tsk5, &r.mPET_Tcl, &r.mPET_skin_wet, &r.mPET_sweating_rate, &r.mPET_Act,
          &r.mPET_R, &r.mPET_C, &r.mPET_L, &r.mPET_Ere, &r.mPET_RC, &r.mPET_S})
        *f = m;
}

}  // namespace

// A main-window value as the command reads it, refused outside its physical range (a text set
// without leaving its field has not met the exit rule). The missing-value default and the vapour
// pressure, whose limit is the saturation at the row's Ta, are left to the row.
float MainWindowModel::readReal(const std::string& name) {
    const float value = float(toReal(text(name), name));
    if (value != missingValue && name != EditVp) {
        const auto [min, max] = rangeOf(name);
        if (!(value >= min && value <= max))
            throw RangeError(OutOfRangeText(quantityOf(name), name, TrimBlanks(text(name)), min,
                                            max, app_.language()));
    }
    return value;
}

void MainWindowModel::checkInput(const std::string& name, double value) {
    const auto [min, max] = rangeOf(name);
    if (!(value >= min && value <= max))
        throw RangeError(OutOfRangeText(quantityOf(name), name, TrimBlanks(text(name)), min, max,
                                        app_.language()));
}

// Ts, G and Tmrt: an empty field means the quantity is computed (NaN).
float MainWindowModel::readOptional(const std::string& name) {
    const std::string& t = text(name);
    if (t.find_first_not_of(" \t") == std::string::npos) return NAN;
    return readReal(name);
}

void MainWindowModel::readInputs() {
    CalculationInputs in;
    in.dayOfYear = toInt(text(EditTag), EditTag);
    in.longitude = float(ParseAngle(text(EditLg), EditLg));
    checkInput(EditLg, in.longitude);
    in.latitude = float(ParseAngle(text(EditBr), EditBr));
    checkInput(EditBr, in.latitude);
    in.timeZone = readReal(EditZz);
    in.altitude = toInt(text(EditNn), EditNn);
    checkInput(EditNn, in.altitude);
    in.dateText = text(EditDat);
    if (auto d = ParseDate(app_.format(), in.dateText, host().now().year)) in.date = *d;
    in.timeText = text(EditZeit);
    auto t = ParseTime(app_.format(), in.timeText);
    if (!t)
        throw ConvertError(EditZeit, in.timeText,
                           "EditZeit: \"" + in.timeText + "\" is not a valid time");
    in.hours = float(*t * 24.0);
    in.locationName = text(ComboOrt);
    in.clothing = readReal(EditIcl);
    in.activity = readReal(EditAct);
    in.height = readReal(EditGr);
    in.weight = readReal(EditGew);
    in.age = toInt(text(EditA), EditA);
    checkInput(EditA, in.age);
    in.sex = text(ComboSex);
    in.sexIndex = in.sex == "f" ? 1 : 0;
    in.position = ctl(ComboPos).itemIndex == 1 ? 1 : 0;
    in.autoClothing = checked(AutoCloChK);
    in.pmv = checked(PmvChk);
    in.pet = checked(PetChk);
    in.setStar = checked(SetChk);
    in.utci = checked(UtciChk);
    in.pt = checked(PtChK);
    in.mpet = checked(mPETChK);
    in.petDetail = checked(PETMEMI1);
    in.mpetDetail = checked(mPETYCC1);
    PresettingsModel& pre = app_.presettings();
    in.albedo = float(toReal(pre.text(presettings::EditAlbedo), presettings::EditAlbedo));
    in.albedoHuman = float(toReal(pre.text(presettings::EditAlbHum), presettings::EditAlbHum));
    for (const char* name : {presettings::EditAlbedo, presettings::EditAlbHum}) {
        const float albedo = name[8] == 'o' ? in.albedo : in.albedoHuman;
        if (!InRange(Quantity::Albedo, albedo))
            throw RangeError(OutOfRangeText(Quantity::Albedo, name, TrimBlanks(pre.text(name)),
                                            app_.language()));
    }
    inputs = std::move(in);
}

void MainWindowModel::readMissingValue() {
    missingValue = float(toReal(app_.dataFileWindow().text(data_file_window::EditDefVal),
                                data_file_window::EditDefVal));
}

void MainWindowModel::computeSunPosition() {
    const SunPosition sun =
        engine::SunAt(engine::PlaceOf(rowSite()), inputs.dayOfYear, inputs.hours);
    results.trueTime = sun.trueTime;
    results.Z = sun.Z;
    results.azimuth = sun.azimuth;
}

const Raster& MainWindowModel::horizonImage() const {
    static const Raster none;
    return horizonComposed_ ? HorizonRaster(horizon_) : none;
}

// The day routine: local sunrise and sunset (with refraction) and the actual sunshine duration
// over the horizon of the last "&New" (all sky before one), or over the row's own horizon when
// the data file gives one.
void MainWindowModel::computeSunDay() {
    ApplySunDay(
        engine::DayAt(engine::PlaceOf(rowSite()), inputs.dayOfYear, rowHorizon(), &sunshine_),
        results);
}

std::vector<HorizonSource> MainWindowModel::horizonSources() {
    // In the order horizon drawing, topography, obstacles; each only while its item is checked.
    std::vector<HorizonSource> sources;
    if (checked(Horizonteinengung1)) sources.push_back(&app_.horizonEditor().drawing());
    if (checked(Topographie1)) sources.push_back(&app_.topographyEditor().horizonPicture());
    if (checked(Hindernisobjekte1)) sources.push_back(app_.obstacleEditor().horizonPicture());
    return sources;
}

void MainWindowModel::composeHorizon() {
    std::vector<HorizonSource> sources = horizonSources();
    horizon_ = ComposeHorizonOf(sources, &host(), &skyViewImage_);
    horizonComposed_ = true;
}

// "A&dd" keeps the image and both factors of the last "&New": recomputing them could give a
// slightly different value for the same picture.
void MainWindowModel::evaluateHorizon() {
    if (!horizonComposed_) {
        // before any "&New" the sky is free
        results.SVF_Umb = results.SVF_cos = 1.0f;
        return;
    }
    results.SVF_Umb = horizon_.skyViewFactor();
    results.SVF_cos = horizon_.skyViewFactorCos();
}

TableLayout MainWindowModel::tableLayout() const {
    TableLayout l;
    l.mode = outputMode() == OutputMode::DailyData ? TableMode::DailyData : TableMode::DataTable;
    l.enumTag = checked(Enumtag1);
    l.date = checked(Datum1);
    l.dayOfYear = checked(TagdesJahres1);
    l.time = checked(Uhrzeit1);
    l.latitude = checked(Latitude1);
    l.longitude = checked(Longitude1);
    l.altitude = checked(Altitude1);
    l.timeZone = checked(Timezone1);
    l.sunrise = checked(Tauf1);
    l.sunset = checked(Tunter1);
    l.sdMax = checked(SDmax1);
    l.sdAct = checked(SDtat1);
    l.elevation = checked(Sunelevationangle1);
    l.azimuth = checked(Sunazimuthangle1);
    l.svf = checked(SVF1);
    l.svfCos = checked(SVFcos1);
    l.ltf = checked(LTF1);
    l.albedo = checked(Albedo1);
    l.bowen = checked(Bowen1);
    l.global = checked(Gtat1);
    l.direct = checked(Stat1);
    l.diffuse = checked(Dtat1);
    l.atmospheric = checked(A1);
    l.thermal = checked(E1);
    l.surfaceTemp = checked(To1);
    l.ta = checked(Ta1);
    l.vp = checked(Vp1);
    l.rh = checked(Rh1);
    l.v = checked(V1);
    l.n = checked(N1);
    l.tmrt = checked(Tmrt1);
    l.pmv = checked(PmvChk);
    l.pet = checked(PetChk);
    l.setStar = checked(SetChk);
    l.utci = checked(UtciChk);
    l.pt = checked(PtChK);
    l.mpet = checked(mPETChK);
    l.petDetail = checked(PETMEMI1);
    l.mpetDetail = checked(mPETYCC1);
    l.utciClass = l.utci && checked(UTCIclass1);
    l.petClass = l.pet && checked(PETclass1);
    l.pmvClass = l.pmv && checked(PMVclass1);
    l.ptClass = l.pt && checked(PTclass1);
    return l;
}

TableContext MainWindowModel::tableContext() const {
    TableContext cx;
    cx.vocabulary = &app_.vocabulary();
    cx.layout = tableLayout();
    cx.format = app_.format();
    const PresettingsModel& pre = app_.presettings();
    cx.dateUnit = pre.text(presettings::EditODate);
    cx.timeUnit = pre.text(presettings::EditOTime);
    cx.albedo = pre.albedo;
    cx.bowen = pre.bowen;
    cx.dataFileActive = dataFileActive();
    cx.locationLines = !cx.dataFileActive || app_.dataFileWindow().isEpw();
    cx.tableFormat = tableFormat;
    cx.german = app_.language() == Language::German;
    if (cx.dataFileActive) cx.dataFileName = FileNameOnly(app_.dataFileWindow().fileName());
    cx.locationName = text(ComboOrt);
    cx.longitudeText = text(EditLg);
    cx.latitudeText = text(EditBr);
    cx.timeZoneText = text(EditZz);
    cx.timeZone = inputs.timeZone;
    cx.svf = results.SVF_Umb;
    cx.missingValue = missingValue;
    return cx;
}

// ---- commands ----------------------------------------------------------------

// An EPW file's header names the place of its records: it replaces the main window's location
// for the run, and the fields show it.
void MainWindowModel::applyWeatherFileSite() {
    if (!dataFileActive()) return;
    const DataFileWindowModel& dataFileWindow = app_.dataFileWindow();
    if (!dataFileWindow.isEpw()) return;
    const EpwSite site = ReadEpwSite(dataFileWindow.fileName());
    ctl(ComboOrt).text = site.city;
    ctl(ComboOrt).itemIndex = -1;
    ctl(EditLg).text = FormatAngle(site.longitude);
    ctl(EditBr).text = FormatAngle(site.latitude);
    const bool tenths = std::fabs(site.timeZone * 10 - std::round(site.timeZone * 10)) < 1e-6;
    ctl(EditZz).text = fixed(site.timeZone, tenths ? 3 : 5, tenths ? 1 : 2);
    ctl(EditNn).text = std::to_string(std::lround(site.elevation));
    changed();
}

void MainWindowModel::newTable() {
    BusyScope busy(host());
    applyWeatherFileSite();
    readInputs();
    results.rowCounter = 1;
    pet_.reset();
    computeSunPosition();
    app_.outputWindow().lines().clear();
    app_.outputWindow().setTimeMinutes(int(std::nearbyint(double(inputs.hours) * 60.0)));
    const OutputMode mode = outputMode();
    if (mode == OutputMode::Polar)
        runSunPathDiagram(true);
    else if (mode == OutputMode::Shadows)
        runShadowDiagram();
    else if (mode == OutputMode::DataTable)
        runDataTable(true);
    else if (mode == OutputMode::DailyData)
        runDailyData();
    else
        throw UmbrixError(std::string("the output mode \"") + modeCaption(mode) +
                          "\" is not available in this version");
    // The meteorological values are read afresh by the next command.
    results.Ta = results.VP = results.RH = results.v = results.N = missingValue;
    results.G = results.Tmrt = missingValue;
}

void MainWindowModel::addRows() {
    BusyScope busy(host());
    results.rowCounter += 1;
    applyWeatherFileSite();
    readInputs();
    computeSunPosition();
    const OutputMode mode = outputMode();
    if (mode == OutputMode::Polar) return runSunPathDiagram(false);
    if (mode == OutputMode::Shadows) return runShadowDiagram();
    evaluateHorizon();
    if (mode != OutputMode::DataTable)
        throw UmbrixError(std::string("the output mode \"") + modeCaption(mode) +
                          "\" is not available in this version");
    runDataTable(false);
}

// "Daily data": the header and one row per day (or per data-file record) into the in-memory
// table; this mode never writes to the "Output in file" file.
void MainWindowModel::runDailyData() {
    OutputWindowModel& map = app_.outputWindow();
    checkDailyCourseColumns();  // before the table is started
    composeHorizon();
    evaluateHorizon();
    sink_ = TableSink{};
    sink_.memory = &map.lines();
    sink_.values = &map.tableValues();
    WriteTableHeader(tableContext(), sink_);
    computeDailyRows();
    map.showDiagram(false);
    map.show();
}

void MainWindowModel::runDataTable(bool isNew) {
    OutputWindowModel& map = app_.outputWindow();
    DetailTableModel& detailTable = app_.detailTable();
    if (isNew) {
        detailTable.lines().clear();
        composeHorizon();
        evaluateHorizon();
    }
    // a column choice that cannot run is refused before the table starts
    if (dataFileActive()) CheckDataColumns(app_.dataFileWindow().dataFileSettings());
    const TableLayout layout = tableLayout();
    const bool detail = layout.petDetail || layout.mpetDetail;
    sink_ = TableSink{};
    if (app_.dataFileWindow().checked(data_file_window::ChkInDatei)) {
        std::string path;
        if (isNew) {
            FileDialogOptions o;
            o.title = "Save as";
            o.filter =
                "Session files (*.ini)|*.ini|Text files|*.txt|Setting files|*.set|All files "
                "(*.*)|*.*";
            o.filterIndex = 2;
            o.defaultExt = "txt";
            o.purpose = DialogPurpose::TableOutput;
            auto chosen = host().saveFileDialog(o);
            if (!chosen) return;  // cancelled: nothing computed, "A&dd" stays disabled
            path = *chosen;
        } else if (outputFile_.empty()) {
            throw UmbrixError("no output file has been chosen: start a new table with \"&New\"");
        } else {
            path = outputFile_;
        }
        const std::string detailPath = DetailFilePath(path, layout.petDetail, layout.mpetDetail);
        // Everything that can be checked before a file is opened: an earlier file stays whole
        // when the run cannot start.
        app_.checkOutputFile(path);
        if (!detailPath.empty()) app_.checkOutputFile(detailPath);
        prepareRun();
        sink_.memory = &map.lines();
        // the rows go into the file; kept on request, "&New" starting them afresh
        if (keepTableValues)
            sink_.values = &map.tableValues();
        else
            map.tableValues() = TableValues{};
        try {
            sink_.openFiles(path, detailPath, !isNew);
        } catch (...) {
            preparedReader_.reset();  // no stale file for a later run
            throw;
        }
        outputFile_ = path;
        try {
            if (isNew) WriteTableHeader(tableContext(), sink_);
            computeRows();
        } catch (...) {
            // the rows written so far stay in the file; without a row the earlier file stays
            sink_.abandonFiles();
            throw;
        }
        sink_.closeFiles();
    } else {
        sink_.memory = &map.lines();
        sink_.values = &map.tableValues();
        sink_.detailMemory = &detailTable.lines();
        if (isNew) WriteTableHeader(tableContext(), sink_);
        computeRows();
        if (detail)
            detailTable.show();
        else
            detailTable.hide();
        map.showDiagram(false);
        map.show();
    }
    ctl(ButtonHinzu).enabled = true;
    changed(ButtonHinzu);
}

// ---- the row loop ------------------------------------------------------------

bool MainWindowModel::readPointRow() {
    results.Ta = readReal(EditTa);
    // the humidity typed last leads; the other follows from it, not from its rounded display
    const float vp = float(toReal(text(EditVp), EditVp));
    const float rh = float(toReal(text(EditRh), EditRh));
    const bool vapour = vapourTypedLast_ ? vp != missingValue : rh == missingValue;
    results.VP = vapour ? vp : missingValue;
    results.RH = vapour ? missingValue : readReal(EditRh);
    results.v = readReal(EditWG);
    results.N = readReal(EditN);
    results.Ts = readOptional(EditTs);
    results.G = readOptional(EditG);
    results.Tmrt = readOptional(EditTmrt);
    return true;
}

// A row that is not computed has no values (NaN), which the table writes as the missing value.
void MainWindowModel::setComputedToMissing() {
    CalculationResults& r = results;
    // the turbidity too: otherwise the row would show the previous row's
    for (float* f :
         {&r.turbidity, &r.G0, &r.S0, &r.D0, &r.S, &r.G, &r.D, &r.A, &r.E, &r.Q, &r.Ts, &r.Tmrt})
        *f = NAN;
    setIndicesToMissing();
}

void MainWindowModel::setIndicesToMissing() {
    SetIndicesToMissing(results);
}

Site MainWindowModel::rowSite() const {
    Site site;
    site.longitude = inputs.longitude;
    site.latitude = inputs.latitude;
    site.altitude = inputs.altitude;
    site.timeZone = inputs.timeZone;
    site.name = inputs.locationName;
    return site;
}

Person MainWindowModel::rowPerson() const {
    Person p;
    p.height = inputs.height;
    p.weight = inputs.weight;
    p.age = inputs.age;
    p.sex = inputs.sexIndex == 1 ? Sex::Female : Sex::Male;
    p.clothing = inputs.clothing;
    p.activity = inputs.activity;
    p.posture = inputs.position == 1 ? Posture::Sitting : Posture::Standing;
    p.autoClothing = inputs.autoClothing;
    return p;
}

Settings MainWindowModel::rowSettings() const {
    const PresettingsModel& pre = app_.presettings();
    Settings s;
    s.albedo = inputs.albedo;
    s.albedoHuman = inputs.albedoHuman;
    s.bowen = pre.bowen;
    s.turbidity = pre.turbidity;
    s.diffuseRatio = inputs.dgRatio;
    s.fogLimit = pre.fogLimit;
    s.reduceGByObstacles = pre.reduceGByObstacles();
    s.tmrtFromHorizontalDirect = pre.tmrtFromHorizontalDirect();
    s.setStarSedentary = pre.setStarSedentary();
    return s;
}

Weather MainWindowModel::rowWeather() const {
    const CalculationResults& r = results;
    const float m = missingValue;
    auto given = [m](float x) { return x == m ? double(NAN) : double(x); };
    Weather w;
    w.Ta = given(r.Ta);
    w.VP = given(readVP_);
    w.RH = given(readRH_);
    w.v = given(r.v);
    w.N = given(r.N);
    w.G = given(r.G);
    w.Ts = given(r.Ts);
    w.Tmrt = given(r.Tmrt);
    return w;
}

RowJob MainWindowModel::rowJob() const {
    RowJob job;
    job.inputs = {rowSite(), {inputs.dayOfYear, inputs.hours}, rowWeather(), rowPerson()};
    job.settings = rowSettings();
    // computeSunDay has the row's day
    job.day = SunDay{results.sunrise, results.sunset, results.SDmax, results.SDact};
    IndexSelection& indices = job.indices;
    indices.pmv = inputs.pmv;
    // the detail tables show the models' values also without their index column
    indices.pet = inputs.pet || inputs.petDetail;
    indices.setStar = inputs.setStar;
    indices.utci = inputs.utci;
    indices.pt = inputs.pt;
    indices.mpet = inputs.mpet || inputs.mpetDetail;
    return job;
}

void MainWindowModel::ApplyRow(const RowResult& row, const IndexSelection& indices,
                               CalculationResults& r) {
    r.trueTime = row.trueTime;
    r.turbidity = row.turbidity;
    r.G0 = row.G0;
    r.S0 = row.S0;
    r.D0 = row.D0;
    r.G = row.G;
    r.S = row.S;
    r.D = row.D;
    r.A = row.A;
    r.E = row.E;
    r.Q = row.Q;
    r.Ts = row.Ts;
    r.Tmrt = row.Tmrt;
    if (std::isnan(row.Tmrt)) {
        SetIndicesToMissing(r);
        return;
    }
    if (indices.pmv) r.PMV = row.PMV;
    if (indices.pet) {
        const PetDetails& p = row.pet;
        r.PET = p.PET;
        r.Tc = p.Tc;
        r.Tsk = p.Tsk;
        r.WL = p.WL;
        r.SWt = p.SWt;
        r.H = p.H;
        r.Rnb = p.Rnb;
        r.C = p.C;
        r.Evpd = p.Evpd;
        r.Esw = p.Esw;
    }
    if (indices.setStar) r.SET = row.SET;
    if (indices.utci) r.UTCI = row.UTCI;
    if (indices.pt) r.PT = row.PT;
    if (indices.mpet) {
        const MpetDetails& p = row.mpet;
        r.mPET = p.mPET;
        r.mPET_Tc = p.Tc;
        r.mPET_Tsk_m = p.Tsk;
        r.mPET_Tsk1 = p.Tsk1;
        r.mPET_Tsk2 = p.Tsk2;
        r.mPET_Tsk3 = p.Tsk3;
        r.mPET_Tsk4 = p.Tsk4;
        r.mPET_Tsk5 = p.Tsk5;
        r.mPET_Tcl = p.Tcl;
        r.mPET_skin_wet = p.skinWettedness;
        r.mPET_sweating_rate = p.sweatRate;
        r.mPET_Act = p.activity;
        r.mPET_R = p.R;
        r.mPET_C = p.C;
        r.mPET_L = p.L;
        r.mPET_Ere = p.Ere;
        r.mPET_RC = p.RC;
        r.mPET_S = p.S;
    }
}

// Ts, G and Tmrt from their fields and the quantities the file does not supply from the main
// window, around the record itself.
void MainWindowModel::readDataRow(RecordSource& reader, const std::vector<DataColumn>& columns) {
    CalculationResults& r = results;
    const float m = missingValue;
    r.Ts = readOptional(EditTs);
    r.G = readOptional(EditG);
    r.Tmrt = readOptional(EditTmrt);
    const DataRecord record = reader.next();
    lastRecordLine_ = record.line;
    applyDataRecord(record, columns);
    if (!record.has(DataColumn::Ta)) r.Ta = readReal(EditTa);
    if (!record.has(DataColumn::VP) && !record.has(DataColumn::RH)) {
        // the humidity typed last in the main window leads, as in a point calculation
        r.VP = r.RH = m;
        const bool vp = !TrimBlanks(text(EditVp)).empty(), rh = !TrimBlanks(text(EditRh)).empty();
        if (vp && (vapourTypedLast_ || !rh))
            r.VP = readReal(EditVp);
        else if (rh)
            r.RH = readReal(EditRh);
    }
    if (!record.has(DataColumn::V)) r.v = readReal(EditWG);
    // N from the main window for every row when the file has no N column
    if (!record.has(DataColumn::N)) r.N = readReal(EditN);
    rowOutOfRange_ = findOutOfRange(record, columns);
}

// The quantity of each data-file column that has a physical range.
static const std::pair<DataColumn, Quantity> kColumnQuantities[] = {
    {DataColumn::Longitude, Quantity::Longitude},
    {DataColumn::Latitude, Quantity::Latitude},
    {DataColumn::Altitude, Quantity::Altitude},
    {DataColumn::TimeZone, Quantity::TimeZone},
    {DataColumn::Ta, Quantity::AirTemperature},
    {DataColumn::VP, Quantity::VapourPressure},
    {DataColumn::RH, Quantity::RelativeHumidity},
    {DataColumn::V, Quantity::WindSpeed},
    {DataColumn::N, Quantity::CloudCover},
    {DataColumn::Ts, Quantity::SurfaceTemperature},
    {DataColumn::Turbidity, Quantity::LinkeTurbidity},
    {DataColumn::Albedo, Quantity::Albedo},
    {DataColumn::Bowen, Quantity::BowenRatio},
    {DataColumn::DGRatio, Quantity::DiffuseGlobalRatio},
    {DataColumn::D, Quantity::DiffuseRadiation},
    {DataColumn::G, Quantity::GlobalRadiation},
    {DataColumn::Tmrt, Quantity::MeanRadiantTemperature},
    {DataColumn::Clothing, Quantity::Clothing},
    {DataColumn::Activity, Quantity::Activity},
};

// The first value of the record outside its physical range (the missing-value default is no
// value and is left to the row's missing-value rule).
std::optional<RangeViolation> MainWindowModel::findOutOfRange(
    const DataRecord& rec, const std::vector<DataColumn>& columns) {
    const float m = missingValue;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const DataColumn c = columns[i];
        auto known = std::find_if(std::begin(kColumnQuantities), std::end(kColumnQuantities),
                                  [c](const auto& p) { return p.first == c; });
        if (!rec.has(c) || known == std::end(kColumnQuantities)) continue;
        const Quantity q = known->second;
        double value = rec[c];
        if (c == DataColumn::Longitude) value = rec.longitude;
        if (c == DataColumn::Latitude) value = rec.latitude;
        if (c == DataColumn::Altitude) value = rec.altitude;
        if (c == DataColumn::TimeZone) value = rec.timeZone;
        if (float(value) == m) continue;
        // a negative turbidity or D/G ratio means automatic
        if ((c == DataColumn::Turbidity || c == DataColumn::DGRatio) && value < 0) continue;
        double min = RangeOf(q).min, max = RangeOf(q).max;
        // limits that follow the row: saturation at its Ta, the sun of its day and latitude
        if (c == DataColumn::VP && results.Ta != m && InRange(Quantity::AirTemperature, results.Ta))
            max = VapourPressureLimit(results.Ta);
        if (c == DataColumn::D || c == DataColumn::G)
            max = GlobalRadiationLimit(inputs.dayOfYear, inputs.latitude);
        if (value >= min && value <= max) continue;
        return RangeViolation{rec.line, int(i) + 1, ColumnShortName(c), RangeNumber(value),
                              OutOfRangeText(q, "", RangeNumber(value), min, max, app_.language())};
    }
    return std::nullopt;
}

// VP and RH at Ta, the given one leading (engine::Couple); the values as read stay for the
// engine. False when a given VP lies above saturation by more than its last digit.
bool MainWindowModel::coupleHumidity() {
    CalculationResults& r = results;
    const float m = missingValue;
    readVP_ = r.VP;
    readRH_ = r.RH;
    // a value outside its range makes the row missing anyway, and the formulas could overflow
    if (r.Ta == m) return true;
    auto given = [m](float x) { return x == m ? NAN : x; };
    const engine::Humidity h = engine::Couple(r.Ta, given(r.VP), given(r.RH));
    if (!h.valid) return false;
    r.VP = std::isnan(h.VP) ? m : h.VP;
    r.RH = std::isnan(h.RH) ? m : h.RH;
    return true;
}

void MainWindowModel::noteOutOfRange(const RangeViolation& violation) {
    if (outOfRangeRows_++ < kNamedOutOfRangeRows) outOfRange_.push_back(violation);
}

void MainWindowModel::reportOutOfRangeRows() {
    if (outOfRangeRows_ == 0) return;
    const bool german = app_.language() == Language::German;
    std::string text =
        german ? std::to_string(outOfRangeRows_) + (outOfRangeRows_ == 1 ? " Zeile" : " Zeilen") +
                     " der Wertedatei mit einem Wert au\u00dferhalb seines physikalischen "
                     "Bereichs: die berechneten Spalten zeigen den Wert f\u00fcr fehlende Werte (" +
                     fixed(missingValue, 6, 1) + ")."
               : std::to_string(outOfRangeRows_) + (outOfRangeRows_ == 1 ? " row" : " rows") +
                     " of the data file held a value outside its physical range: the computed "
                     "columns show the missing value (" +
                     fixed(missingValue, 6, 1) + ").";
    for (const RangeViolation& v : outOfRange_)
        text += (german ? "\nZeile " : "\nline ") + std::to_string(v.line) +
                (v.column == 0 ? std::string()
                               : (german ? ", Spalte " : ", column ") + std::to_string(v.column)) +
                " (" + v.name + "): " + v.message;
    if (outOfRangeRows_ > int(outOfRange_.size())) text += "\n...";
    outOfRangeRows_ = 0;
    outOfRange_.clear();
    host().showMessage(text, MessageKind::Warning);
}

void MainWindowModel::applyDataRecord(const DataRecord& rec,
                                      const std::vector<DataColumn>& columns) {
    CalculationResults& r = results;
    PresettingsModel& pre = app_.presettings();
    const float m = missingValue;
    auto value = [&rec](DataColumn c) { return rec[c]; };
    for (DataColumn c : columns) {
        if (!rec.has(c)) continue;
        switch (c) {
            case DataColumn::Tag:
                inputs.tag = rec.tag;
                break;
            case DataColumn::Date:
                inputs.date = *rec.date;
                inputs.dayOfYear = rec.dayOfYear;
                // written in the output date format, which the unit line names
                inputs.dateText = FormatDate(app_.format(), *rec.date);
                break;
            case DataColumn::DayOfYear:
                inputs.dayOfYear = rec.dayOfYear;
                if (std::find(columns.begin(), columns.end(), DataColumn::Date) == columns.end())
                    inputs.dateText = dateFromDayOfYear(rec.dayOfYear);
                break;
            case DataColumn::Time:
                inputs.hours = rec.hours;
                break;
            case DataColumn::Longitude:
                inputs.longitude = rec.longitude;
                break;
            case DataColumn::Latitude:
                inputs.latitude = rec.latitude;
                break;
            case DataColumn::Altitude:
                inputs.altitude = rec.altitude;
                break;
            case DataColumn::TimeZone:
                inputs.timeZone = rec.timeZone;
                break;
            case DataColumn::Ta:
                r.Ta = value(c);
                break;
            case DataColumn::VP:
                r.VP = value(c);
                r.RH = m;
                break;
            case DataColumn::RH:
                r.RH = value(c);
                r.VP = m;
                break;
            case DataColumn::V:
                r.v = value(c);
                break;
            case DataColumn::N:
                r.N = value(c);
                break;
            case DataColumn::Ts:
                r.Ts = value(c);
                break;
            case DataColumn::D:
                r.D = value(c);
                break;
            case DataColumn::G:
                r.G = value(c);
                break;
            case DataColumn::Tmrt:
                r.Tmrt = value(c);
                break;
            // a value outside its range makes the row missing and stays out of the pre-settings
            case DataColumn::Turbidity:
                if (value(c) >= 0 && !InRange(Quantity::LinkeTurbidity, value(c))) break;
                pre.turbidity = value(c);
                preSettingsFromFile_ = true;
                break;
            case DataColumn::Albedo:
                if (!InRange(Quantity::Albedo, value(c))) break;
                pre.albedo = inputs.albedo = value(c);
                preSettingsFromFile_ = true;
                break;
            case DataColumn::Bowen:
                if (!InRange(Quantity::BowenRatio, value(c))) break;
                pre.bowen = value(c);
                preSettingsFromFile_ = true;
                break;
            case DataColumn::DGRatio:
                inputs.dgRatio = value(c);
                break;
            case DataColumn::Clothing:
                inputs.clothing = value(c);
                break;
            case DataColumn::Activity:
                inputs.activity = value(c);
                break;
            case DataColumn::Horizon:
                rowHorizon_ = Horizon::FromProfile(rec.horizon);
                break;
        }
    }
    // a measured D with its G gives the row's split of G; a missing D leaves the ratio as it was
    if (rec.has(DataColumn::D) && rec.has(DataColumn::G)) {
        const float d = rec[DataColumn::D], g = rec[DataColumn::G];
        if (d != m && g != m && g > 0) inputs.dgRatio = std::clamp(d / g, 0.0f, 1.0f);
    }
}

void MainWindowModel::startRow() {
    inputs.dgRatio = app_.presettings().dgRatio;
    rowHorizon_.reset();
    rowOutOfRange_.reset();
}

float MainWindowModel::rowSkyViewFactor() const {
    return rowHorizon_ ? rowHorizon_->skyViewFactor() : results.SVF_Umb;
}

// Values that data-file columns wrote into the pre-settings stay there, and its fields show them.
void MainWindowModel::finishDataRun() {
    rowHorizon_.reset();
    if (!preSettingsFromFile_) return;
    preSettingsFromFile_ = false;
    PresettingsModel& pre = app_.presettings();
    pre.ctl(presettings::EditTrb).text = pre.turbidity < 0 ? "auto" : fixed(pre.turbidity, 4, 2);
    pre.ctl(presettings::EditAlbedo).text = fixed(pre.albedo, 4, 2);
    pre.ctl(presettings::EditBowen).text = fixed(pre.bowen, 4, 2);
    pre.changed();
}

void MainWindowModel::prepareRun() {
    readMissingValue();
    preparedReader_.reset();
    if (dataFileActive()) {
        preparedReader_ = OpenRecordSource(app_.dataFileWindow().dataFileSettings());
        const RecordSource& reader = *preparedReader_;
        auto isColumn = [&reader](DataColumn c) {
            const auto& cols = reader.columns();
            return std::find(cols.begin(), cols.end(), c) != cols.end();
        };
        // the fields that stand in for columns the file lacks (as readDataRow reads them)
        readOptional(EditTs);
        readOptional(EditG);
        readOptional(EditTmrt);
        if (!isColumn(DataColumn::Ta)) readReal(EditTa);
        if (!isColumn(DataColumn::VP) && !isColumn(DataColumn::RH)) {
            if (TrimBlanks(text(EditVp)).size())
                readReal(EditVp);
            else if (TrimBlanks(text(EditRh)).size())
                readReal(EditRh);
        }
        if (!isColumn(DataColumn::V)) readReal(EditWG);
        if (!isColumn(DataColumn::N)) readReal(EditN);
    } else {
        const CalculationResults kept = results;
        readPointRow();
        results = kept;
    }
}

void MainWindowModel::computeRows() {
    const FormatSettings remembered = app_.format();
    readMissingValue();
    outOfRangeRows_ = 0;
    outOfRange_.clear();
    TableContext context = tableContext();
    std::unique_ptr<RecordSource> reader = std::move(preparedReader_);
    std::vector<DataColumn> columns;
    if (dataFileActive() && !reader)
        reader = OpenRecordSource(app_.dataFileWindow().dataFileSettings());
    if (reader) columns = reader->columns();
    const bool nColumn =
        reader && std::find(columns.begin(), columns.end(), DataColumn::N) != columns.end();
    struct Finish {
        MainWindowModel& self;
        ~Finish() { self.finishDataRun(); }
    } finish{*this};
    // a file's progress is the share of its bytes read, so the bar fills once over the run
    host().setProgressMax(reader ? kProgressSteps : 365);
    const PresettingsModel& pre = app_.presettings();
    std::int64_t rowsRead = 0;
    if (collectSummary && (!summary || results.rowCounter == 1))
        summary.emplace(summaryQuantities(), RunSummary::StepOfRows{});
    // Rows are read in order into a block, computed together (over the threads) and written in
    // order: the table of a run row by row, with the memory of one block.
    std::vector<PendingRow> block;
    // what a row read leaves for the next: the weather is read afresh
    const auto forgetWeather = [&](CalculationResults& r) {
        const float m = missingValue;
        r.Ta = r.VP = r.RH = r.v = r.Tmrt = m;
        if (nColumn) r.N = m;
    };
    const TableRowFormat rowFormat(context);
    const bool withValues = rowFormat.wantsValues(sink_);
    batch::ThreadPool& pool = threadPool();
    struct ComputedBlock {
        std::vector<PendingRow> rows;
        std::vector<FormattedRow> lines;
    };
    // touches only its rows, the sun track cache and the PET state: the next block is read
    // meanwhile
    const auto compute = [&](std::vector<PendingRow> rows) {
        SunDaysOf(rows, pool, sunshine_);
        ComputePending<RowResult>(
            rows,
            [&](const std::vector<RowJob>& jobs, std::vector<RowResult>& computed) {
                ComputeRows(jobs, computed, pet_, &pool, &sunshine_);
            },
            [](const RowResult& computed, const RowJob& job, CalculationResults& r) {
                ApplyRow(computed, job.indices, r);
            });
        std::vector<FormattedRow> lines = FormatRows(rows, rowFormat, context, withValues, pool);
        return ComputedBlock{std::move(rows), std::move(lines)};
    };
    const auto write = [&](ComputedBlock done, bool last) {
        WriteRowsInOrder(
            done.rows, done.lines, sink_, [&](const PendingRow&) { app_.format() = remembered; },
            [&](const PendingRow& p) {
                if (summary) addToSummary(p.inputs, p.results);
            });
        // the results end as the last row of the run leaves them
        if (!last || done.rows.empty()) return;
        results = done.rows.back().results;
        forgetWeather(results);
    };
    // A full block is computed on a thread of its own while the next one is read, and written
    // before the next one starts.
    std::future<ComputedBlock> pending;
    const auto writePending = [&](bool last) {
        if (pending.valid()) write(pending.get(), last);
    };
    const auto startBlock = [&] {
        writePending(false);
        pending = std::async(std::launch::async, compute, std::move(block));
        block.clear();
    };
    // the rows read so far, up to the last, into the table
    const auto writeAll = [&](bool last) {
        if (block.empty()) return writePending(last);
        writePending(false);
        std::vector<PendingRow> rows = std::move(block);
        block.clear();
        write(compute(std::move(rows)), last);
    };
    try {
        for (bool first = true;; first = false) {
            if (reader ? reader->atEnd() : !first) break;
            if (!first) {
                if (host().cancelRequested()) break;
                ++results.rowCounter;  // each data line is a row of its own
            }
            if (reader) {
                const double fraction = reader->fractionRead();
                host().setProgress(int(fraction * kProgressSteps));
                host().reportRows(rowsRead++, fraction);
            } else {
                host().stepProgress();
            }
            host().processMessages();
            startRow();
            if (reader)
                readDataRow(*reader, columns);
            else
                readPointRow();
            const float m = missingValue;
            CalculationResults& r = results;
            if (!coupleHumidity()) {
                // a vapour pressure above saturation at the row's Ta: from the file's column,
                // or from the main window for a row whose Ta the file gives
                const std::string vp = RangeNumber(r.VP);
                const std::string range =
                    OutOfRangeText(Quantity::VapourPressure, "", vp, 0, VapourPressureLimit(r.Ta),
                                   app_.language());
                if (!reader)
                    throw RangeError(OutOfRangeText(Quantity::VapourPressure, EditVp, vp, 0,
                                                    VapourPressureLimit(r.Ta), app_.language()));
                auto at = std::find(columns.begin(), columns.end(), DataColumn::VP);
                if (!rowOutOfRange_)
                    rowOutOfRange_ =
                        at == columns.end()
                            ? RangeViolation{lastRecordLine_, 0, EditVp, vp, range}
                            : RangeViolation{lastRecordLine_, int(at - columns.begin()) + 1, "VP",
                                             vp, range};
            }
            if (rowHorizon_) {
                // the row's own horizon decides its sky view factors
                r.SVF_Umb = rowHorizon_->skyViewFactor();
                r.SVF_cos = rowHorizon_->skyViewFactorCos();
            } else {
                evaluateHorizon();
            }
            computeSunPosition();
            // the sun day (sunrise, sunset, SDmax, SDact) follows with the block
            PendingRow row;
            row.place = engine::PlaceOf(rowSite());
            row.dayOfYear = inputs.dayOfYear;
            row.dayHorizon.emplace(rowHorizon());
            if (rowOutOfRange_) {
                // a value outside its range is never computed with
                noteOutOfRange(*rowOutOfRange_);
                setComputedToMissing();
            } else if (r.Ta != m && r.VP != m && r.RH != m && r.v != m && r.N != m && r.G != m &&
                       r.Tmrt != m) {
                row.compute = true;
                row.job = rowJob();
                row.horizon.emplace(rowHorizon());
            } else {
                setComputedToMissing();
            }
            app_.format() = remembered;
            // the "Albedo" and "Bowen" columns show what this row used
            row.albedo = pre.albedo;
            row.bowen = pre.bowen;
            row.inputs = inputs;
            row.results = results;
            block.push_back(std::move(row));
            if (block.size() == kRowBlock) startBlock();
            forgetWeather(r);
        }
    } catch (...) {
        // the rows read before stay in the table, as they would row by row
        writeAll(false);
        throw;
    }
    writeAll(true);
    if (reader) host().reportRows(rowsRead, 1.0);
    reportOutOfRangeRows();
}

batch::ThreadPool& MainWindowModel::threadPool() {
    if (!pool_) pool_ = std::make_unique<batch::ThreadPool>(threads_);
    return *pool_;
}

void MainWindowModel::setThreads(unsigned threads) {
    threads_ = threads;
    pool_.reset();
}

std::vector<SummaryQuantity> MainWindowModel::summaryQuantities() const {
    using Q = SummaryQuantity;
    std::vector<Q> q{Q::Ta, Q::Tmrt};
    const CalculationInputs& in = inputs;
    for (auto [on, quantity] : {std::pair{in.pmv, Q::PMV},
                                {in.pet, Q::PET},
                                {in.setStar, Q::SET},
                                {in.utci, Q::UTCI},
                                {in.pt, Q::PT},
                                {in.mpet, Q::mPET}})
        if (on) q.push_back(quantity);
    return q;
}

// The row as the table printed it: the missing value is no value.
void MainWindowModel::addToSummary(const CalculationInputs& in, const CalculationResults& r) {
    using Q = SummaryQuantity;
    SummaryRow row;
    row.month = in.date.month;
    // the step between rows' times gives the hours a row stands for (ten-minute data: 1/6)
    if (IsValidDate(in.date)) row.time = double(DateToSerial(in.date)) * 24.0 + in.hours;
    for (auto [quantity, x] : {std::pair{Q::Ta, r.Ta},
                               {Q::Tmrt, r.Tmrt},
                               {Q::PMV, r.PMV},
                               {Q::PET, r.PET},
                               {Q::SET, r.SET},
                               {Q::UTCI, r.UTCI},
                               {Q::PT, r.PT},
                               {Q::mPET, r.mPET}})
        row[quantity] = x == missingValue || std::isnan(x)
                            ? NAN
                            : std::round(double(x) * 10.0) / 10.0;  // the value as printed
    summary->add(row);
}

// ---- the daily course ----------------------------------------------------------

void MainWindowModel::checkDailyCourseColumns() const {
    const DataFileWindowModel& dataFileWindow = app_.dataFileWindow();
    if (!dataFileActive() || dataFileWindow.isColumn(DataColumn::Date) ||
        dataFileWindow.isColumn(DataColumn::DayOfYear))
        return;
    throw UmbrixError(app_.language() == Language::German ? kDailyNeedsDayMessageGerman
                                                          : kDailyNeedsDayMessage);
}

void MainWindowModel::computeDailyRows() {
    DataFileWindowModel& dataFileWindow = app_.dataFileWindow();
    const PresettingsModel& pre = app_.presettings();
    CalculationInputs& in = inputs;
    CalculationResults& r = results;

    const float ta = float(toReal(text(EditTa), EditTa));
    // the humidity typed last leads, as in a point calculation
    const bool vapour = vapourLeads();
    const char* const humidityField = vapour ? EditVp : EditRh;
    const float humidity = float(toReal(text(humidityField), humidityField));
    const float v = float(toReal(text(EditWG), EditWG));
    const float n = float(toReal(text(EditN), EditN));
    checkInput(EditTa, ta);
    if (!vapour) checkInput(EditRh, humidity);
    checkInput(EditWG, v);
    checkInput(EditN, n);
    readMissingValue();
    const float m = missingValue;
    TableContext context = tableContext();

    std::unique_ptr<RecordSource> reader;
    std::vector<DataColumn> columns;
    if (dataFileActive()) {
        checkDailyCourseColumns();
        reader = OpenRecordSource(dataFileWindow.dataFileSettings());
        columns = reader->columns();
    }
    struct Finish {
        MainWindowModel& self;
        ~Finish() { self.finishDataRun(); }
    } finish{*this};

    host().setProgressMax(reader ? kProgressSteps : 365);
    const FormatSettings remembered = app_.format();
    std::int64_t rows = 0;
    // As in a data-file run: days read in order into a block, their courses computed together
    // over the threads, the rows written in order.
    std::vector<PendingDay> block;
    const auto writeBlock = [&](bool keepResults) {
        std::vector<PendingDay> days = std::move(block);
        block.clear();
        ComputePending<DailyCourse>(
            days,
            [&](const std::vector<DailyJob>& jobs, std::vector<DailyCourse>& courses) {
                ComputeDailyCourses(jobs, courses, &threadPool(), &sunshine_);
            },
            [](const DailyCourse& course, const DailyJob&, CalculationResults& r) {
                ApplyCourse(course, r);
            });
        const TableRowFormat format(context);
        std::vector<FormattedRow> lines =
            FormatRows(days, format, context, format.wantsValues(sink_), threadPool());
        WriteRowsInOrder(
            days, lines, sink_, [&](const PendingDay&) { app_.format() = remembered; },
            [](const PendingDay&) {});
        // the results end as the last row leaves them
        if (!keepResults && !days.empty()) results = days.back().results;
    };
    try {
        for (int day = 0;;) {
            if (reader ? reader->atEnd() : day == 365) break;
            if (host().cancelRequested()) break;
            startRow();
            r.Ta = ta;
            r.VP = vapour ? humidity : m;
            r.RH = vapour ? m : humidity;
            r.v = v;
            r.N = n;
            std::optional<RangeViolation> outOfRange;
            if (reader) {
                const DataRecord record = reader->next();
                applyDataRecord(record, columns);
                outOfRange = findOutOfRange(record, columns);
            } else {
                ++day;
                in.dayOfYear = day;
                in.dateText = dateFromDayOfYear(day);
            }
            const bool saturated = coupleHumidity();
            const double fraction = reader ? reader->fractionRead() : day / 365.0;
            host().setProgress(int(fraction * (reader ? kProgressSteps : 365)));
            host().reportRows(rows++, fraction);
            host().processMessages();
            PendingDay pending;
            if (outOfRange || !saturated) {
                computeSunDay();
                // a value outside its range is never computed with
                if (outOfRange) noteOutOfRange(*outOfRange);
                for (float* f :
                     {&r.GmaxMax, &r.GactMax, &r.GmaxSum, &r.GactSum, &r.GmaxAvr, &r.GactAvr})
                    *f = NAN;
            } else {
                // the course needs the air only: G went into the row's D/G ratio already
                Weather weather = rowWeather();
                weather.G = weather.Ts = weather.Tmrt = NAN;
                pending.compute = true;
                pending.job = {rowSite(), in.dayOfYear, weather, rowSettings(), nullptr};
                pending.horizon.emplace(rowHorizon());
            }
            app_.format() = remembered;
            pending.albedo = pre.albedo;
            pending.bowen = pre.bowen;
            pending.inputs = in;
            pending.results = r;
            block.push_back(std::move(pending));
            if (block.size() == kRowBlock) writeBlock(false);
        }
    } catch (...) {
        // the rows read before stay in the table, as they would row by row
        writeBlock(true);
        throw;
    }
    writeBlock(false);
    host().reportRows(rows, 1.0);
    reportOutOfRangeRows();
}

}  // namespace umbrix
