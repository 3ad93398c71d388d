#include "models/TableWriter.h"

#include <cmath>
#include <cstdlib>
#include <exception>
#include <functional>

#include "indices/StressClasses.h"
#include "platform/Error.h"
#include "platform/Format.h"
#include "platform/OutputFile.h"
#include "platform/TextFile.h"

namespace umbrix {

const char* const kProgramTitle = "Umbrix 0.1.0";

namespace {

const char* const kDegC = "\u00b0C";

// A table cell: fixed(p, d), where a value that rounds to zero is "0.0", never "-0.0" (a
// reader would take the sign for information).
std::string cell(double x, int precision, int decimals) {
    std::string text = fixed(x, precision, decimals);
    if (text.size() > 1 && text[0] == '-' && text.find_first_not_of("0.", 1) == std::string::npos)
        text.erase(0, 1);
    return text;
}

struct Row {
    const TableContext& cx;
    const CalculationInputs& in;
    const CalculationResults& r;

    // A value of the row; one that is not there (NaN) is written as the missing value.
    std::string value(float x, int precision, int decimals) const {
        return cell(std::isnan(x) ? cx.missingValue : x, precision, decimals);
    }
    std::string f61(float x) const { return value(x, 6, 1); }
};

struct Column {
    std::string name;
    std::string unit;
    std::function<std::string(const Row&)> value;
    // for tsv and csv: the kind of the column, a number's decimals, and the value of a column
    // that is no number (a number is read back from its cell)
    ColumnKind kind = ColumnKind::Number;
    int decimals = 1;
    std::function<TableValue(const Row&)> typed;
};

// A time of day of the row, hours; none for "---" (no sunrise or sunset).
TableValue timeValue(const Row& row, float localTime) {
    if (row.r.sunrise == row.r.sunset || std::isnan(localTime)) return {};
    return double(localTime);
}

std::string sunTime(const Row& row, float localTime) {
    if (row.r.sunrise == row.r.sunset) return "---";
    // the daily course writes the time as it stands, the data table rounded to the minute
    if (row.cx.layout.mode == TableMode::DailyData)
        return FormatTime(row.cx.format, double(localTime) / 24.0);
    return RoundedTimeText(row.cx.format, localTime);
}

// The first n characters of a UTF-8 text.
std::string firstCharacters(const std::string& text, std::size_t n) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            if (count == n) return text.substr(0, i);
            ++count;
        }
    }
    return text;
}

// A value as the table prints it (one decimal); NaN for no value or the missing value.
double printed(const Row& row, float x) {
    if (std::isnan(x) || x == row.cx.missingValue) return NAN;
    return std::strtod(cell(x, 6, 1).c_str(), nullptr);
}

// The label of the class of an index value as printed; empty for no value.
std::string classLabel(const Row& row, StressIndex index, float x) {
    const int k = StressClassOf(index, printed(row, x));
    if (k < 0) return {};
    const TextLanguage language = row.cx.german ? TextLanguage::German : TextLanguage::English;
    return std::string(StressClasses(index)[std::size_t(k)].label(language));
}

std::vector<Column> columnsFor(const TableContext& cx) {
    const Vocabulary& w = *cx.vocabulary;
    const TableLayout& l = cx.layout;
    const bool table = l.mode == TableMode::DataTable;
    std::vector<Column> c;
    auto add = [&c](bool on, std::string name, std::string unit, auto value,
                    ColumnKind kind = ColumnKind::Number, int decimals = 1,
                    std::function<TableValue(const Row&)> typed = {}) {
        if (on) c.push_back({std::move(name), std::move(unit), value, kind, decimals, typed});
    };
    const ColumnKind integer = ColumnKind::Number, text = ColumnKind::Text;
    // the daily rows carry neither the enumerator nor the location columns
    add(
        table && l.enumTag, "Enum.", "/tag",
        [](const Row& x) { return x.in.tag.empty() ? std::to_string(x.r.rowCounter) : x.in.tag; },
        text, 0);
    add(
        l.date, w[13], cx.dateUnit + "   ", [](const Row& x) { return x.in.dateText + " "; },
        ColumnKind::Date, 0,
        [](const Row& x) -> TableValue {
            if (auto d = ParseDate(x.cx.format, x.in.dateText, x.in.date.year)) return *d;
            return {};
        });
    add(
        l.dayOfYear, w[14], w[20], [](const Row& x) { return std::to_string(x.in.dayOfYear); },
        integer, 0);
    add(
        table && l.time, w[25], cx.timeUnit,
        [](const Row& x) { return RoundedTimeText(x.cx.format, x.in.hours); }, ColumnKind::Time, 0,
        [](const Row& x) -> TableValue { return double(x.in.hours); });
    add(
        table && l.latitude, "Latit.", "\u00b0N",
        [](const Row& x) { return x.value(x.in.latitude, 6, 2); }, integer, 2);
    add(
        table && l.longitude, "Long.", "\u00b0E",
        [](const Row& x) { return x.value(x.in.longitude, 6, 2); }, integer, 2);
    add(
        table && l.altitude, "Altit.", "m",
        [](const Row& x) { return std::to_string(x.in.altitude); }, integer, 0);
    add(table && l.timeZone, "UTC", "h", [](const Row& x) { return x.f61(x.in.timeZone); });
    add(
        l.sunrise, w[15], cx.timeUnit, [](const Row& x) { return sunTime(x, x.r.sunrise); },
        ColumnKind::Time, 0, [](const Row& x) { return timeValue(x, x.r.sunrise); });
    add(
        l.sunset, w[16], cx.timeUnit, [](const Row& x) { return sunTime(x, x.r.sunset); },
        ColumnKind::Time, 0, [](const Row& x) { return timeValue(x, x.r.sunset); });
    add(
        l.sdMax, w[17], w[23], [](const Row& x) { return std::to_string(x.r.SDmax); }, integer, 0);
    add(
        l.sdAct, w[18], w[24], [](const Row& x) { return std::to_string(x.r.SDact); }, integer, 0);
    if (!table) {
        // daily course: maxima, sums and averages of clear-sky and actual global radiation
        const char* names[] = {"GmaxMax", "GactMax", "GmaxSum", "GactSum", "GmaxAvr", "GactAvr"};
        const char* units[] = {"W/m\u00b2",  "W/m\u00b2", "Wh/m\u00b2",
                               "Wh/m\u00b2", "W/m\u00b2", "W/m\u00b2"};
        float CalculationResults::*fields[] = {
            &CalculationResults::GmaxMax, &CalculationResults::GactMax,
            &CalculationResults::GmaxSum, &CalculationResults::GactSum,
            &CalculationResults::GmaxAvr, &CalculationResults::GactAvr};
        for (int i = 0; i < 6; ++i) {
            auto field = fields[i];
            add(l.global, names[i], units[i], [field](const Row& x) { return x.f61(x.r.*field); });
        }
        return c;
    }
    add(l.elevation, "elev.", "\u00b0", [](const Row& x) { return x.f61(90.0f - x.r.Z); });
    add(l.azimuth, "azim.", "\u00b0", [](const Row& x) { return x.f61(x.r.azimuth); });
    add(
        l.svf, "SVF_Umb", "", [](const Row& x) { return x.value(x.r.SVF_Umb, 6, 3); }, integer, 3);
    add(
        l.svfCos, "SVF_cos", "", [](const Row& x) { return x.value(x.r.SVF_cos, 6, 3); }, integer,
        3);
    add(l.ltf, "LTF", "", [](const Row& x) { return x.f61(x.r.turbidity); });
    add(l.albedo, "Albedo", "", [](const Row& x) { return x.f61(x.cx.albedo); });
    add(l.bowen, "Bowen", "", [](const Row& x) { return x.f61(x.cx.bowen); });
    add(l.global, w[26], w[54], [](const Row& x) { return x.f61(x.r.G0); });
    add(l.global, w[29], w[57], [](const Row& x) { return x.f61(x.r.G); });
    add(l.direct, w[30], w[58], [](const Row& x) { return x.f61(x.r.S); });
    add(l.diffuse, w[31], w[59], [](const Row& x) { return x.f61(x.r.D); });
    add(l.atmospheric, w[32], w[60], [](const Row& x) { return x.f61(x.r.A); });
    add(l.thermal, w[33], w[61], [](const Row& x) { return x.f61(x.r.E); });
    add(l.surfaceTemp, w[34], w[62], [](const Row& x) { return x.f61(x.r.Ts); });
    add(l.ta, w[35], w[63], [](const Row& x) { return x.f61(x.r.Ta); });
    add(l.vp, w[36], w[64], [](const Row& x) { return x.f61(x.r.VP); });
    add(l.rh, w[37], w[65], [](const Row& x) { return x.f61(x.r.RH); });
    add(l.v, w[38], w[66], [](const Row& x) { return x.f61(x.r.v); });
    add(l.n, w[39], w[67], [](const Row& x) { return x.f61(x.r.N); });
    add(l.tmrt, w[40], w[68], [](const Row& x) { return x.f61(x.r.Tmrt); });
    const bool personal = l.pmv || l.pet || l.setStar || l.mpet;
    add(personal, w[7], "m", [](const Row& x) { return x.f61(x.in.height); });
    add(personal, w[8], "kg", [](const Row& x) { return x.f61(x.in.weight); });
    add(
        personal, w[9], "a", [](const Row& x) { return std::to_string(x.in.age); }, integer, 0);
    add(
        personal, w[10], "", [](const Row& x) { return x.in.sex; }, text, 0);
    add(
        personal, w[11], "clo", [](const Row& x) { return x.value(x.in.clothing, 6, 2); }, integer,
        2);
    add(personal, w[12], "W", [](const Row& x) { return x.f61(x.in.activity); });
    // the class of the value as printed, so that the number and its class never disagree
    auto addClass = [&](bool on, StressIndex index, float CalculationResults::*field) {
        const std::string name =
            std::string(StressIndexName(index)) + (cx.german ? "-Klasse" : " class");
        add(
            on, name, "",
            [index, field](const Row& x) {
                const std::string label = classLabel(x, index, x.r.*field);
                return label.empty() ? std::string("---") : label;
            },
            text, 0,
            [index, field](const Row& x) -> TableValue {
                const std::string label = classLabel(x, index, x.r.*field);
                if (label.empty()) return {};
                return label;
            });
    };
    add(l.pmv, w[41], w[69], [](const Row& x) { return x.f61(x.r.PMV); });
    addClass(l.pmvClass, StressIndex::PMV, &CalculationResults::PMV);
    add(l.pmvClass, "PPD", "%", [](const Row& x) {
        return x.f61(float(PredictedPercentDissatisfied(printed(x, x.r.PMV))));
    });
    add(l.pet, w[51], w[79], [](const Row& x) { return x.f61(x.r.PET); });
    addClass(l.petClass, StressIndex::PET, &CalculationResults::PET);
    add(l.setStar, w[52], w[80], [](const Row& x) { return x.f61(x.r.SET); });
    add(l.utci, "UTCI", kDegC, [](const Row& x) { return x.f61(x.r.UTCI); });
    addClass(l.utciClass, StressIndex::UTCI, &CalculationResults::UTCI);
    add(l.pt, "PT", kDegC, [](const Row& x) { return x.f61(x.r.PT); });
    addClass(l.ptClass, StressIndex::PT, &CalculationResults::PT);
    add(l.mpet, "mPET", kDegC, [](const Row& x) { return x.f61(x.r.mPET); });
    return c;
}

const char* const kMpetNames[] = {
    "mPET_Tc",   "mPET_Tsk_m", "mPET_Tsk1",     "mPET_Tsk2",          "mPET_Tsk3", "mPET_Tsk4",
    "mPET_Tsk5", "mPET_Tcl",   "mPET_skin_wet", "mPET_sweating_rate", "mPET_Act",  "mPET_R",
    "mPET_C",    "mPET_L",     "mPET_Ere",      "mPET_R+C",           "mPET_S",    "mPET"};

std::string joinTabs(const std::vector<std::string>& parts) {
    std::string out;
    for (std::size_t i = 0; i < parts.size(); ++i) out += (i ? "\t" : "") + parts[i];
    return out;
}

}  // namespace

// ---------------------------------------------------------------------------

TableSink::TableSink() = default;
TableSink::~TableSink() {
    abandonFiles();
}
TableSink::TableSink(TableSink&&) noexcept = default;
TableSink& TableSink::operator=(TableSink&& other) noexcept {
    if (this != &other) {
        abandonFiles();
        memory = other.memory;
        detailMemory = other.detailMemory;
        file_ = std::move(other.file_);
        detailFile_ = std::move(other.detailFile_);
    }
    return *this;
}

void TableSink::openFiles(const std::string& path, const std::string& detailPath, bool append) {
    abandonFiles();
    const auto mode = append ? OutputFile::Mode::Append : OutputFile::Mode::Replace;
    file_ = std::make_unique<OutputFile>(path, mode);
    if (!detailPath.empty()) {
        try {
            detailFile_ = std::make_unique<OutputFile>(detailPath, mode);
        } catch (...) {
            file_.reset();
            throw;
        }
    }
}

void TableSink::commitFiles() {
    if (file_) file_->commit();
    if (detailFile_) detailFile_->commit();
}

void TableSink::closeFiles() {
    // both are closed even when the first fails
    std::unique_ptr<OutputFile> file = std::move(file_), detail = std::move(detailFile_);
    std::exception_ptr failure;
    for (OutputFile* f : {file.get(), detail.get()}) {
        if (!f) continue;
        try {
            f->close();
        } catch (const FileError&) {
            if (!failure) failure = std::current_exception();
        }
    }
    if (failure) std::rethrow_exception(failure);
}

void TableSink::abandonFiles() noexcept {
    std::unique_ptr<OutputFile> file = std::move(file_), detail = std::move(detailFile_);
    for (OutputFile* f : {file.get(), detail.get()}) {
        if (!f) continue;
        try {
            if (f->committed())
                f->close();  // the rows written so far stay
            else
                f->abandon();
        } catch (const FileError&) {
        }
    }
}

void TableSink::header(const std::string& line) {
    if (memory) memory->push_back(line);
    if (file_) file_->write(line + "\n");
}

void TableSink::row(const std::string& line) {
    if (file_) {
        file_->write(line + "\n");
        commitFiles();  // the first row makes the new table replace the old file
    } else if (memory) {
        memory->push_back(line);
    }
}

void TableSink::detail(const std::string& line) {
    if (detailFile_)
        detailFile_->write(line + "\n");
    else if (!file_ && detailMemory)
        detailMemory->push_back(line);
}

std::string DetailFilePath(const std::string& outputPath, bool petDetail, bool mpetDetail) {
    if (!petDetail && !mpetDetail) return {};
    const char* prefix = petDetail && mpetDetail ? "memi_mPET_model_"
                         : petDetail             ? "memi_"
                                                 : "mPET_model_";
    return JoinPath(DirectoryOf(outputPath), prefix + FileNameOnly(outputPath));
}

std::string RoundedTimeText(const FormatSettings& format, double hours) {
    double fraction = (hours * 3600.0 + 30.0) / 86400.0;
    fraction -= std::floor(fraction);  // 23:59:45 rounds to 0:00
    return FormatTime(format, fraction);
}

bool SaveLinesAs(Host& host, FileDialogOptions options, const std::vector<std::string>& lines) {
    auto path = host.saveFileDialog(options);
    if (!path) return false;
    std::string content;
    for (const auto& line : lines) content += line + "\n";
    WriteTextFileAtomic(*path, content);
    return true;
}

namespace {

std::vector<TableColumn> delimitedColumns(const TableContext& cx,
                                          const std::vector<Column>& columns) {
    const Vocabulary& w = *cx.vocabulary;
    std::vector<TableColumn> out;
    for (const Column& c : columns) {
        // dates and times are written as yyyy-mm-dd and hh:mm, whatever the table's units
        const bool clock = c.kind == ColumnKind::Date || c.kind == ColumnKind::Time;
        std::string name(TrimBlanks(c.name)), unit(TrimBlanks(c.unit));
        if (clock) unit.clear();
        // the table's two-line title "day of / year" is one name
        if (c.name == w[14] && c.unit == w[20]) name += " " + unit, unit.clear();
        out.push_back({name, unit, c.kind, c.decimals});
    }
    return out;
}

TableMetadata metadataOf(const TableContext& cx) {
    TableMetadata meta;
    meta.emplace_back("program", kProgramTitle);
    if (cx.locationLines) {
        meta.emplace_back("place", cx.locationName);
        meta.emplace_back("longitude", cx.longitudeText);
        meta.emplace_back("latitude", cx.latitudeText);
        meta.emplace_back("time zone", std::string("UTC ") + (cx.timeZone >= 0 ? "+" : "") +
                                           cx.timeZoneText + " h");
    }
    meta.emplace_back("horizon limitation", cell(100.0f - 100.0f * cx.svf, 3, 1) + " %");
    meta.emplace_back("sky view factor", cell(cx.svf, 4, 3));
    if (!cx.dataFileName.empty()) meta.emplace_back("data file", cx.dataFileName);
    meta.emplace_back("missing values", "empty fields");
    return meta;
}

void writeDelimitedHeader(const TableContext& cx, TableSink& sink) {
    const DelimitedTableWriter writer(cx.tableFormat, delimitedColumns(cx, columnsFor(cx)),
                                      cx.missingValue);
    for (const std::string& line : writer.headerLines(metadataOf(cx))) sink.header(line);
}

std::vector<TableValue> rowValues(const std::vector<Column>& columns, const Row& row) {
    std::vector<TableValue> values;
    values.reserve(columns.size());
    for (const Column& c : columns) {
        if (c.typed) {
            values.push_back(c.typed(row));
        } else if (c.kind == ColumnKind::Text) {
            values.emplace_back(std::string(TrimBlanks(c.value(row))));
        } else {
            // a number as the table writes it, so that both formats agree to the last digit
            const std::string text = c.value(row);
            char* end = nullptr;
            const double x = std::strtod(text.c_str(), &end);
            if (end == text.c_str())
                values.emplace_back();
            else
                values.emplace_back(x);
        }
    }
    return values;
}

}  // namespace

std::vector<std::string> TableValues::lines(TableFormat format) const {
    const DelimitedTableWriter writer(format, columns, missingValue);
    std::vector<std::string> out = writer.headerLines(metadata);
    for (const auto& row : rows) out.push_back(writer.rowLine(row));
    return out;
}

void WriteTableHeader(const TableContext& cx, TableSink& sink) {
    if (sink.values) {
        sink.values->columns = delimitedColumns(cx, columnsFor(cx));
        sink.values->metadata = metadataOf(cx);
        sink.values->missingValue = cx.missingValue;
        sink.values->rows.clear();
    }
    if (cx.tableFormat != TableFormat::Table) return writeDelimitedHeader(cx, sink);
    const Vocabulary& w = *cx.vocabulary;
    sink.header(kProgramTitle);
    sink.header(w[0]);
    if (cx.locationLines) {
        sink.header(w[1] + "\t" + firstCharacters(cx.locationName, 40));
        sink.header(w[2] + "\t" + cx.longitudeText + "\t" + w[3] + "\t" + cx.latitudeText + "\t" +
                    w[4] + "\t" + (cx.timeZone >= 0 ? "+" : "") + cx.timeZoneText + " h");
        sink.header(w[5] + "\t" + cell(100.0f - 100.0f * cx.svf, 3, 1) + "% \t" + w[6] + "\t" +
                    cell(cx.svf, 4, 3));
    }
    sink.header("");
    std::string names, units;
    for (const Column& c : columnsFor(cx)) {
        names += c.name + "\t";
        units += c.unit + "\t";
    }
    sink.header(names);
    sink.header(units);

    if (!cx.layout.petDetail && !cx.layout.mpetDetail) return;
    std::vector<std::string> dn, du;
    for (int i : {13, 14, 25, 35, 36, 38, 39, 40, 7, 8, 9, 10, 11, 12}) dn.push_back(w[i]);
    for (int i : {19, 20, 53, 63, 64, 66, 67, 68}) du.push_back(w[i]);
    for (const char* u : {"m", "kg", "a", "", "clo", "W"}) du.push_back(u);
    if (cx.layout.petDetail) {
        for (int i = 42; i <= 51; ++i) dn.push_back(w[i]);
        for (int i = 70; i <= 79; ++i) du.push_back(w[i]);
    }
    if (cx.layout.mpetDetail) {
        for (const char* n : kMpetNames) dn.push_back(n);
        for (int i = 0; i < 8; ++i) du.push_back(kDegC);
        du.push_back("-");
        du.push_back("g/h");
        for (int i = 0; i < 7; ++i) du.push_back("W");
        du.push_back(kDegC);
    }
    sink.detail(joinTabs(dn));
    sink.detail(joinTabs(du));
}

struct TableRowFormat::Columns {
    std::vector<Column> columns;
    std::optional<DelimitedTableWriter> delimited;  // tsv and csv
};

TableRowFormat::TableRowFormat(const TableContext& cx) {
    auto c = std::make_unique<Columns>();
    c->columns = columnsFor(cx);
    if (cx.tableFormat != TableFormat::Table)
        c->delimited.emplace(cx.tableFormat, delimitedColumns(cx, c->columns), cx.missingValue);
    columns_ = std::move(c);
}

TableRowFormat::~TableRowFormat() = default;

bool TableRowFormat::wantsValues(const TableSink& sink) const {
    // an "A&dd" under other columns has no place in the values' table
    return sink.values && sink.values->columns.size() == columns_->columns.size();
}

FormattedRow TableRowFormat::format(const TableContext& cx, const CalculationInputs& in,
                                    const CalculationResults& r, bool withValues) const noexcept {
    FormattedRow out;
    try {
        const Row row{cx, in, r};
        const std::vector<Column>& columns = columns_->columns;
        if (columns_->delimited) {
            out.line = columns_->delimited->rowLine(rowValues(columns, row));
        } else {
            for (const Column& c : columns) out.line += c.value(row) + "\t";
        }
        if (withValues) out.values = rowValues(columns, row);

        if (!cx.layout.petDetail && !cx.layout.mpetDetail) return out;
        std::string d = in.dateText + " \t" + std::to_string(in.dayOfYear);
        std::vector<std::string> parts{RoundedTimeText(cx.format, in.hours),
                                       row.f61(r.Ta),
                                       row.f61(r.VP),
                                       row.f61(r.v),
                                       row.f61(r.N),
                                       row.f61(r.Tmrt),
                                       row.f61(in.height),
                                       row.f61(in.weight),
                                       std::to_string(in.age),
                                       in.sex,
                                       row.value(in.clothing, 6, 2),
                                       row.f61(in.activity)};
        if (cx.layout.petDetail)
            for (float x : {r.Tc, r.Tsk, r.WL, r.SWt, r.H, r.Rnb, r.C, r.Evpd, r.Esw, r.PET})
                parts.push_back(row.f61(x));
        if (cx.layout.mpetDetail)
            for (float x :
                 {r.mPET_Tc, r.mPET_Tsk_m, r.mPET_Tsk1, r.mPET_Tsk2, r.mPET_Tsk3, r.mPET_Tsk4,
                  r.mPET_Tsk5, r.mPET_Tcl, r.mPET_skin_wet, r.mPET_sweating_rate, r.mPET_Act,
                  r.mPET_R, r.mPET_C, r.mPET_L, r.mPET_Ere, r.mPET_RC, r.mPET_S, r.mPET})
                parts.push_back(row.f61(x));
        out.detail = d + "\t" + joinTabs(parts);
    } catch (...) {
        out.error = std::current_exception();
    }
    return out;
}

void WriteFormattedRow(FormattedRow&& row, TableSink& sink) {
    if (row.error) std::rethrow_exception(row.error);
    sink.row(row.line);
    if (row.values) sink.values->rows.push_back(std::move(*row.values));
    if (row.detail) sink.detail(*row.detail);
}

void WriteTableRow(const TableContext& cx, const CalculationInputs& in, const CalculationResults& r,
                   TableSink& sink) {
    const TableRowFormat format(cx);
    WriteFormattedRow(format.format(cx, in, r, format.wantsValues(sink)), sink);
}

}  // namespace umbrix
