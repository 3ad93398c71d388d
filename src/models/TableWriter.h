#pragma once
// The output table: header lines, a name line, a unit line and one tab-separated line per row,
// kept in the diagram window's text view or streamed to the output file; and the PET/MEMI and
// mPET detail table beside it.
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "models/CalculationRecords.h"
#include "models/Language.h"
#include "platform/DateTime.h"
#include "platform/Host.h"
#include "series/TableFormats.h"

namespace umbrix {

// Product name and version: the banner line of every table and the title of the windows.
extern const char* const kProgramTitle;

enum class TableMode { DataTable, DailyData };

// The columns chosen in the "&Table" menu and by the index check boxes.
struct TableLayout {
    TableMode mode = TableMode::DataTable;
    bool enumTag = false, date = true, dayOfYear = true, time = true;
    bool latitude = false, longitude = false, altitude = false, timeZone = false;
    bool sunrise = true, sunset = true, sdMax = true, sdAct = true;
    bool elevation = false, azimuth = false, svf = true, svfCos = false, ltf = false;
    bool albedo = false, bowen = false;
    bool global = true, direct = true, diffuse = true, atmospheric = true, thermal = true;
    bool surfaceTemp = true, ta = true, vp = true, rh = true, v = true, n = true, tmrt = true;
    bool pmv = true, pet = true, setStar = true, utci = true, pt = true, mpet = true;
    bool petDetail = false, mpetDetail = false;  // "PET/MEMI", "mPET/mPET_model"
    // the stress class beside its index (PMV's with PPD)
    bool utciClass = false, petClass = false, pmvClass = false, ptClass = false;
};

// Everything besides the two records that the writers read.
struct TableContext {
    const Vocabulary* vocabulary = nullptr;
    TableLayout layout;
    FormatSettings format;  // output date and time formats
    std::string dateUnit;   // texts of the pre-settings' output formats
    std::string timeUnit;
    float albedo = 0.2f;  // pre-settings, for the "Albedo" and "Bowen" columns
    float bowen = 1.0f;
    // header lines 3 to 5 (only without a data file)
    bool dataFileActive = false;
    bool locationLines = true;  // lines 3 to 5: no data file, or an EPW file's site
    std::string locationName;
    std::string longitudeText, latitudeText, timeZoneText;
    float timeZone = 0;
    float svf = 1;
    // written where a row has no value (NaN)
    float missingValue = kDefaultMissingValue;
    // the program's own table, or tsv/csv for analysis programs (one header line, metadata
    // as # comments, missing values as empty fields)
    TableFormat tableFormat = TableFormat::Table;
    bool german = false;       // the language of the stress classes' labels
    std::string dataFileName;  // metadata of tsv/csv: the data file of the run, if any
};

class OutputFile;

// The in-memory table as values, so that the text view can be saved as tsv or csv too.
struct TableValues {
    std::vector<TableColumn> columns;
    TableMetadata metadata;
    std::vector<std::vector<TableValue>> rows;
    float missingValue = kDefaultMissingValue;
    // The lines of the table in format (tsv or csv).
    std::vector<std::string> lines(TableFormat format) const;
};

// Where the lines go: the in-memory table and the detail window, or the output file and the
// detail file. Files are written line by line, so a long run keeps memory flat. A new file is
// written under a temporary name and takes the place of an earlier one with its first row: a
// run that fails before that leaves the earlier file as it was.
class TableSink {
  public:
    TableSink();
    ~TableSink();
    TableSink(TableSink&&) noexcept;
    TableSink& operator=(TableSink&&) noexcept;

    std::vector<std::string>* memory = nullptr;        // text view of the diagram window
    std::vector<std::string>* detailMemory = nullptr;  // detail window
    TableValues* values = nullptr;                     // the text view's table as values

    // Creates (or appends to) the output file and, when detailPath is not empty, the detail
    // file. Throws FileError.
    void openFiles(const std::string& path, const std::string& detailPath, bool append);
    // Puts new files in place and closes them; throws FileError when anything could not be
    // written.
    void closeFiles();
    // A failed run: files that have no row yet are dropped, the others closed as they are.
    void abandonFiles() noexcept;
    bool toFile() const { return file_ != nullptr; }

    void header(const std::string& line);  // in-memory table and output file
    void row(const std::string& line);     // output file, else in-memory table
    void detail(const std::string& line);  // detail file, else detail window

  private:
    void commitFiles();
    std::unique_ptr<OutputFile> file_, detailFile_;
};

// Name of the detail file for the output file path: "memi_mPET_model_", "memi_" or
// "mPET_model_" before the file name; empty when no detail output is on.
std::string DetailFilePath(const std::string& outputPath, bool petDetail, bool mpetDetail);

// The time of day, hours, in the long time format, rounded to the minute.
std::string RoundedTimeText(const FormatSettings& format, double hours);

// Asks for a file with the save dialog and writes the lines there, one per line. False when
// the dialog was cancelled; throws FileError.
bool SaveLinesAs(Host& host, FileDialogOptions options, const std::vector<std::string>& lines);

void WriteTableHeader(const TableContext& context, TableSink& sink);
void WriteTableRow(const TableContext& context, const CalculationInputs& inputs,
                   const CalculationResults& results, TableSink& sink);

// A row of the table as its lines, made apart from the sink, so that a block's rows can be
// formatted over the threads and still be written in order.
struct FormattedRow {
    std::string line;
    std::optional<std::vector<TableValue>> values;  // for the text view's table as values
    std::optional<std::string> detail;
    std::exception_ptr error;  // raised when the row is written, after the rows before it
};

// The columns of a table, worked out once for all its rows: they follow from the layout, the
// vocabulary and the units; a row's own albedo and Bowen ratio come with the context it is
// formatted with.
class TableRowFormat {
  public:
    explicit TableRowFormat(const TableContext& context);
    ~TableRowFormat();
    // Whether the rows go into the sink's table of values too (not under other columns).
    bool wantsValues(const TableSink& sink) const;
    // Safe to call from several threads at once. Never throws: an error travels in the row.
    FormattedRow format(const TableContext& context, const CalculationInputs& inputs,
                        const CalculationResults& results, bool withValues) const noexcept;

  private:
    struct Columns;
    std::unique_ptr<const Columns> columns_;
};

// Writes a formatted row (or raises its error).
void WriteFormattedRow(FormattedRow&& row, TableSink& sink);

}  // namespace umbrix
