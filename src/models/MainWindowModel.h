#pragma once
// The main window: every input of a point calculation, its defaults and exit rules, the
// location list, the session, the menus, and the calculation commands "&New" and "A&dd".
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "diagrams/SunPath.h"
#include "horizon/Fisheye.h"
#include "models/CalculationRecords.h"
#include "models/ComponentNames.h"
#include "models/Locations.h"
#include "models/MainWindowLink.h"
#include "models/RangeMessages.h"
#include "models/TableWriter.h"
#include "platform/Angle.h"
#include "platform/DateTime.h"
#include "platform/FormModel.h"
#include "platform/IniFile.h"
#include "platform/Raster.h"
#include "series/DataFile.h"
#include "series/RecordSource.h"
#include "series/RunSummary.h"
#include "umbrix/engine.h"
#include "umbrix/thread_pool.h"

namespace umbrix {

class Application;
struct MapRequest;
struct MapOutcome;
namespace batch {
class ThreadPool;
}

enum class OutputMode { Polar, Cylindrical, DataTable, DailyData, Shadows };

// A data-file value outside its physical range: where it stands and what the range is.
struct RangeViolation {
    int64_t line = 0;     // 1-based line of the file
    int column = 0;       // 1-based among the checked columns; 0 for a main-window value
    std::string name;     // the column's short name, or the main-window field
    std::string value;    // as read
    std::string message;  // the quantity and its range
};

// The horizon pictures the diagram window lays over the polar diagram: each present only while
// its source exists and its item in the "&Input" menu is checked.
struct HorizonLayers {
    const Picture* topography = nullptr;
    const Raster* drawing = nullptr;
    const Picture* obstacles = nullptr;
};

class MainWindowModel : public FormModel, public MainWindowLink {
  public:
    explicit MainWindowModel(Application& app);
    ~MainWindowModel() override;

    // ---- date helpers (the current year comes from the system clock) ----
    std::string dateFromDayOfYear(int n) const;
    // Throws ConvertError when the text is not a date.
    int dayOfYearFromDate(std::string_view text) const;

    // ---- start-up and session ----
    // Input defaults, the location list, "No&w and today".
    void initialise();
    // The names of the usable lines of the locations list; lines that cannot be read are
    // skipped and noted in locationWarnings().
    void loadLocationList();
    // What the last load of the locations list skipped, one text per line (empty when all was
    // well), for the command line to print.
    std::vector<std::string> locationWarnings() const;
    // True when the locations list offers at least one location.
    bool hasStoredLocations() const { return !ctl(main_window::ComboOrt).items.empty(); }
    // The warnings of the last load and, without any usable location, that the calculation
    // uses the coordinates in the fields: one text for the desktop to show once at start;
    // empty when all is well.
    std::string locationReport() const;
    // Sets the location fields from the stored location of the combo text (zeros when none).
    void lookUpLocation();
    // Read-modify-write under a lock, replacing the file as a whole. Throws FileError.
    void saveSession(const std::string& path) const;
    // Restores the main window from a session file. Every stored field text goes through the
    // field's exit rule, as a typed one would; a text the field cannot take keeps the value the
    // field had. Returns what was not restored as stored, one text per field. With
    // requireSession a file without the main window's section is refused (FileError).
    std::vector<std::string> restoreSession(const std::string& path, bool requireSession = false);
    // The same on the main window's section of an INI file already read (a project file).
    std::vector<std::string> restoreSession(const IniFile& ini);
    // The main window's section as the session file holds it.
    void writeSession(IniFile& ini) const;
    // "&Open" after its dialog: restores a session file (FileError for a file that is not one)
    // and returns what was not restored as stored.
    std::vector<std::string> openSession(const std::string& path);
    // The session file last opened with "&Open" (empty before).
    const std::string& openedSessionFile() const { return openedSession_; }

    // ---- commands ----
    void newTable();
    void addRows();
    void computeRows();
    // The threads the rows of a run are computed on; 0 (the default): one per hardware thread.
    // The results do not depend on it.
    void setThreads(unsigned threads);
    // A map over the obstacle plan with the inputs of the point calculation (MainWindowMap.cpp).
    // Throws UmbrixError without obstacles, std::invalid_argument for a grid or quantity that
    // cannot be.
    MapOutcome computeMap(const MapRequest& request, batch::ThreadPool* pool = nullptr);

    // ---- state read by the other windows ----
    OutputMode outputMode() const;
    // "A&dd" must wait for the next "&New" (location, person, columns, mode, ... changed).
    void disableAdd();

    // ---- what the horizon editors change ----
    const std::string& windowCaption() const override { return caption; }
    bool sourceTakesPart(HorizonSourceKind source) const override;
    void setSourceTakesPart(HorizonSourceKind source, bool takesPart) override;
    void requireNewTable() override { disableAdd(); }
    void setShadowsAvailable(bool available) override;
    // The date and time fields rewritten from their stored values with the current formats.
    void rewriteDateField();
    void rewriteTimeField();
    bool dataFileActive() const { return checked(main_window::Wertedatei1); }
    // The fisheye horizon image of the last "&New" (sun test); empty before.
    const Raster& horizonImage() const;
    // The horizon of the current row: the row's horizon profile when the data file gives one,
    // otherwise the horizon composed by the last "&New".
    const Horizon& rowHorizon() const { return rowHorizon_ ? *rowHorizon_ : horizon_; }
    bool isSunHidden(double Z, double A) const { return rowHorizon().isSunHidden(Z, A); }
    // The day routine for the current row's day and place: sunrise, sunset and SDact into the
    // results (reused while day, place and horizon stay the same).
    void computeSunDay();
    // The sun track of the last day the sunshine duration was counted for.
    SunshineCache& sunshineCache() { return sunshine_; }
    // Reads the missing-value default of the data-file window and sets NotGiven from it.
    void readMissingValue();
    // The data-file record into the row: the quantities of its columns into the input record,
    // the results and the pre-settings. (The quantities it does not supply are filled by the
    // caller.)
    void applyDataRecord(const DataRecord& record, const std::vector<DataColumn>& columns);
    // The first value of a data-file record outside its physical range, judged with the row's
    // day, latitude and Ta (so after the row is filled).
    std::optional<RangeViolation> findOutOfRange(const DataRecord& record,
                                                 const std::vector<DataColumn>& columns);
    // Couples VP and RH of the row at its Ta, the given one leading. False when a given VP lies
    // outside 0 … saturation (within 0.05 hPa above it the air is saturated). The values as
    // read stay for the engine, which couples them the same way.
    bool coupleHumidity();
    // The row's weather as the engine takes it: NaN for what is missing or not given, the
    // humidity as read.
    Weather rowWeather() const;
    // The place, the person and the pre-settings of the current row for the engine.
    Site rowSite() const;
    Person rowPerson() const;
    Settings rowSettings() const;
    // Throws RangeError when a value a command reads from a main-window field lies outside the
    // field's range.
    void checkInput(const std::string& name, double value);
    // Which humidity field leads: the one typed last (the relative humidity before either).
    bool vapourLeads() const { return vapourTypedLast_; }
    // Counts a data-file row with a value outside its range, naming the first few; the report
    // (one message) comes at the end of the run.
    void noteOutOfRange(const RangeViolation& violation);
    void reportOutOfRangeRows();
    static constexpr int kNamedOutOfRangeRows = 5;

    // Starts a row: the D/G ratio of the pre-settings, no horizon profile of its own yet.
    void startRow();
    // The sky view factor of the current row: that of its horizon profile, else of the image.
    float rowSkyViewFactor() const;
    // Ends a data-file run: the row's horizon is dropped, and pre-settings that data columns
    // changed show their last values.
    void finishDataRun();
    // The table writer's view of the windows, as they stand now.
    TableContext tableContext() const;
    // The table of the current command (in-memory table, or output file and detail file).
    TableSink& sink() { return sink_; }

    // ---- diagrams ----
    // The grid, path, overlay and shading pictures, kept between commands.
    DiagramPictures diagrams;
    HorizonLayers horizonLayers() const;
    // The overlay redrawn for local time t (hours): the sun's position on the polar diagram,
    // or the shadows of the obstacle editor's obstacles at the diagram window's scale.
    void drawSunPosition(double t);
    void drawShadows(double t);

    CalculationInputs inputs;
    CalculationResults results;
    float missingValue = kDefaultMissingValue;
    // The format of the data table (--format): the program's own, tsv or csv.
    TableFormat tableFormat = TableFormat::Table;
    // When set, the next data-table runs (from "&New" on) are summed up here: hours per stress
    // class per month, min/mean/max (--summary).
    bool collectSummary = false;
    std::optional<RunSummary> summary;
    // When set, the output window keeps the table's values also while the rows go into the
    // output file (--plot draws them; a year of hourly rows is a few megabytes).
    bool keepTableValues = false;
    // The output file of the last "&New" with "Output in file"; "A&dd" appends to it only.
    const std::string& outputFile() const { return outputFile_; }

  protected:
    void onChange(const std::string& name) override;
    void onExit(const std::string& name) override;
    void onClick(const std::string& name) override;
    void onSelect(const std::string& name) override;

  private:
    void buildControls();
    void buildMenus();

    // The physical range of a field's value ([0, limit] for G and VP, whose limits follow the
    // day, latitude and Ta in their fields).
    std::pair<double, double> rangeOf(const std::string& name) const;
    // The quantity of a main-window field with a physical range.
    static Quantity quantityOf(const std::string& name);
    // Refuses (RangeError) a typed value outside the range of its field.
    void checkTyped(const std::string& name, double value, const std::string& typed);
    // Puts the field's previous text back and throws RangeError with the message.
    [[noreturn]] void refuse(const std::string& name, const std::string& message);
    void checkHumidityAt(const std::string& name, double ta);
    void leaveNumber(const std::string& name);
    void leaveHumidity(const std::string& name);
    void recomputeHumidity(bool fromVapour);
    void leaveDate();
    void leaveDayOfYear();
    void leaveTime();
    void updatePositionEnabling();
    void setOutputMode(const std::string& item);
    void applyOutputModeEffects();
    void setLanguageItem(const std::string& item);
    void nowAndToday();
    void addLocation();
    void removeLocation();
    void selectLocationByName(const std::string& name);
    void openSessionDialog();
    std::string unusableSessionText(const std::string& name, const std::string& text) const;
    bool sameSessionValue(const std::string& name, const std::string& stored,
                          const std::string& shown) const;
    void saveSessionDialog();
    void toggleDataFile();
    void toggleObstacles();

    // ---- calculation steps ----
    void readInputs();
    void computeSunPosition();
    void composeHorizon();
    std::vector<HorizonSource> horizonSources();
    void evaluateHorizon();
    void runDataTable(bool isNew);
    void runSunPathDiagram(bool isNew);
    void runShadowDiagram();
    void runDailyData();
    // "Daily data" with a data file needs a "Date" or "Day of year" column (UmbrixError).
    void checkDailyCourseColumns() const;
    // The rows of the daily course: the days 1 to 365 at the location, or one per data-file
    // record.
    void computeDailyRows();
    bool readPointRow();
    void readDataRow(RecordSource& reader, const std::vector<DataColumn>& columns);
    // The calculation of the current row, and its results into a row's record.
    RowJob rowJob() const;
    static void ApplyRow(const RowResult& row, const IndexSelection& indices,
                         CalculationResults& r);
    batch::ThreadPool& threadPool();
    void setComputedToMissing();
    void setIndicesToMissing();
    // Converts, before any output file is opened, what the row loop will read from the fields
    // and opens the data file, so that a run that cannot start fails before it writes.
    void prepareRun();
    void applyWeatherFileSite();
    std::vector<SummaryQuantity> summaryQuantities() const;
    void addToSummary(const CalculationInputs& in, const CalculationResults& r);
    TableLayout tableLayout() const;
    float readReal(const std::string& name);
    float readOptional(const std::string& name);

    Application& app_;
    std::string locationError_;                          // the list could not be read
    std::vector<SkippedLocationLine> skippedLocations_;  // its lines that could not
    std::string openedSession_;
    // While a session is restored, each field's exit rule touches that field only.
    bool restoring_ = false;
    // The data file opened by prepareRun for the next computeRows.
    std::unique_ptr<RecordSource> preparedReader_;
    std::optional<Date> storedDate_;
    double storedTime_ = 0;  // fraction of a day
    // Which humidity field was typed last and leads the other; before either is typed the
    // relative humidity keeps when Ta changes.
    bool vapourTypedLast_ = false;
    std::string outputFile_;
    TableSink sink_;
    // The horizon composed by "&New" (the sun test and the sky view factors); "A&dd" keeps it.
    Horizon horizon_;
    bool horizonComposed_ = false;
    Raster skyViewImage_;  // the image the factors come from, for the polar diagram's shading
    SunshineCache sunshine_;
    // The horizon of the current data-file row's elevation angles, when that column is checked.
    std::optional<Horizon> rowHorizon_;
    // The row's humidity as read, before coupling.
    float readVP_ = 0, readRH_ = 0;
    bool preSettingsFromFile_ = false;
    // The current data-file row's value outside its range, and the run's count of such rows.
    std::optional<RangeViolation> rowOutOfRange_;
    int lastRecordLine_ = 0;
    int outOfRangeRows_ = 0;
    std::vector<RangeViolation> outOfRange_;
    // The PET model keeps working state between calls; a new table starts it afresh.
    PetState pet_;
    unsigned threads_ = 0;
    std::unique_ptr<batch::ThreadPool> pool_;
};

}  // namespace umbrix
