#include "models/DataFileWindowModel.h"

#include <algorithm>

#include "models/Application.h"
#include "models/ComponentNames.h"
#include "models/MainWindowModel.h"
#include "platform/Error.h"
#include "platform/Format.h"
#include "platform/TextFile.h"
#include "series/ColumnLabels.h"
#include "series/EpwFile.h"

namespace umbrix {

using namespace data_file_window;

namespace {
const char* const kList = CheckListBox1;
const char* const kOpenFilter =
    "Textfiles|*.txt;*.dat;*.asc|Csvfiles|*.csv|EPW weather file (*.epw)|*.epw|All files|*.*";
constexpr int kEpwFilter = 3;
}  // namespace

const std::vector<std::string>& DataFileWindowModel::ColumnItems() {
    static const std::vector<std::string> items = [] {
        std::vector<std::string> v;
        for (int i = 0; i < kDataColumnCount; ++i) v.push_back(ColumnItemText(DataColumn(i)));
        return v;
    }();
    return items;
}

DataFileWindowModel::DataFileWindowModel(Application& app)
    : FormModel(data_file_window::kForm, app.host()), app_(app) {
    caption = "Datafile - Wertedatei";
    Control& file = add(EditDatei, ControlKind::Edit, kNoFile);
    file.readOnly = true;
    add(BitBtn1, ControlKind::Button).hint = "Open datafile - Wertedatei \u00f6ffnen";
    add(BitBtn2, ControlKind::Button).hint = "Use current data - Aktuelle Werte verwenden";
    add(LabelsBtn, ControlKind::Button, "Columns from labels");
    add(ChkUeberschriften, ControlKind::CheckBox, "Skip first row (labels)");
    add(EditDefVal, ControlKind::Edit, "9999");
    add(EditITime, ControlKind::Edit, "h:mm");
    add(EditIDate, ControlKind::Edit, "d.m.yyyy");
    Control& sep = add(ComboFileSep, ControlKind::Combo, "Space or Tab");
    sep.items = {"Space or Tab", ",", ";", "|"};
    sep.itemIndex = 0;
    sep.readOnly = true;
    Control& list = add(kList, ControlKind::CheckList);
    list.items = ColumnItems();
    list.itemChecked.assign(list.items.size(), false);
    add(LabelHorAz, ControlKind::Label, "Horizon azimutal increment").enabled = false;
    Control& az = add(ComboHorAz, ControlKind::Combo, "30\u00b0 (12 values)");
    az.items = {"10\u00b0 (36 values)", "12\u00b0 (30 values)", "15\u00b0 (24 values)",
                "18\u00b0 (20 values)", "20\u00b0 (18 values)", "24\u00b0 (15 values)",
                "30\u00b0 (12 values)", "36\u00b0 (10 values)", "45\u00b0 (8 values)",
                "60\u00b0 (6 values)",  "90\u00b0 (4 values)"};
    az.itemIndex = 6;
    az.readOnly = true;
    az.enabled = false;
    // an EPW record's time: its hour's middle (where the hour's mean radiation belongs) or end
    Control& stamp = add(ComboEpwTime, ControlKind::Combo, "middle of hour");
    stamp.items = {"middle of hour", "end of hour"};
    stamp.itemIndex = 0;
    stamp.readOnly = true;
    add(ChkInDatei, ControlKind::CheckBox, "Output in file");
    add(OkBtn, ControlKind::Button, "&Close");
    add(OpenDialog1, ControlKind::Other);
}

// ---- the column list -----------------------------------------------------------

std::vector<DataColumn> DataFileWindowModel::columnOrder() const {
    std::vector<DataColumn> order;
    for (const std::string& item : ctl(kList).items)
        if (auto c = ColumnByName(item)) order.push_back(*c);
    return order;
}

std::vector<DataColumn> DataFileWindowModel::checkedColumns() const {
    const Control& list = ctl(kList);
    std::vector<DataColumn> out;
    for (std::size_t i = 0; i < list.items.size(); ++i)
        if (i < list.itemChecked.size() && list.itemChecked[i])
            if (auto c = ColumnByName(list.items[i])) out.push_back(*c);
    return out;
}

int DataFileWindowModel::indexOf(DataColumn column) const {
    const Control& list = ctl(kList);
    auto it = std::find(list.items.begin(), list.items.end(), ColumnItemText(column));
    return it == list.items.end() ? -1 : int(it - list.items.begin());
}

bool DataFileWindowModel::isColumn(DataColumn column) const {
    const int i = indexOf(column);
    const Control& list = ctl(kList);
    return i >= 0 && std::size_t(i) < list.itemChecked.size() && list.itemChecked[std::size_t(i)];
}

void DataFileWindowModel::uncheck(DataColumn column) {
    const int i = indexOf(column);
    if (i >= 0) ctl(kList).itemChecked[std::size_t(i)] = false;
}

void DataFileWindowModel::moveColumn(int from, int to) {
    moveItem(kList, from, to);
}

// After a move, Ta must stand above both humidity items: it changes places with the higher of
// them, both keeping their check marks.
void DataFileWindowModel::onItemMoved(const std::string& name, int, int) {
    if (name != kList) return;
    Control& list = ctl(kList);
    const int ta = indexOf(DataColumn::Ta);
    const int higher = std::min(indexOf(DataColumn::VP), indexOf(DataColumn::RH));
    if (ta <= higher) return;
    std::swap(list.items[std::size_t(ta)], list.items[std::size_t(higher)]);
    const bool a = list.itemChecked[std::size_t(ta)];
    list.itemChecked[std::size_t(ta)] = list.itemChecked[std::size_t(higher)];
    list.itemChecked[std::size_t(higher)] = a;
}

void DataFileWindowModel::onItemChecked(const std::string& name, int index) {
    if (name != kList) return;
    const Control& list = ctl(kList);
    auto column = ColumnByName(list.items[std::size_t(index)]);
    if (!column) return;
    if (list.itemChecked[std::size_t(index)]) {
        // quantities that exclude each other
        switch (*column) {
            case DataColumn::VP:
                uncheck(DataColumn::RH);
                break;
            case DataColumn::RH:
                uncheck(DataColumn::VP);
                break;
            case DataColumn::Tmrt:
                uncheck(DataColumn::G);
                uncheck(DataColumn::N);
                break;
            // a measured G drives the short wave and N the long-wave counter-radiation: the two
            // go together, only a given Tmrt makes both needless
            case DataColumn::G:
            case DataColumn::N:
                uncheck(DataColumn::Tmrt);
                break;
            default:
                break;
        }
    }
    if (*column == DataColumn::Horizon) updateHorizonEnabling();
}

void DataFileWindowModel::updateHorizonEnabling() {
    const bool on = isColumn(DataColumn::Horizon);
    ctl(LabelHorAz).enabled = on;
    ctl(ComboHorAz).enabled = on;
    changed(ComboHorAz);
}

void DataFileWindowModel::selectColumns(const std::vector<std::string>& names) {
    std::vector<DataColumn> wanted;
    for (const std::string& name : names) {
        auto c = ColumnByName(name);
        if (!c) {
            std::string known;
            for (int i = 0; i < kDataColumnCount; ++i)
                known += std::string(known.empty() ? "" : " ") + ColumnShortName(DataColumn(i));
            throw UmbrixError("--columns: unknown column \"" + name + "\" (columns: " + known +
                              ")");
        }
        if (std::find(wanted.begin(), wanted.end(), *c) != wanted.end())
            throw UmbrixError("--columns: column \"" + name + "\" given twice");
        wanted.push_back(*c);
    }
    auto pos = [&wanted](DataColumn c) {
        auto it = std::find(wanted.begin(), wanted.end(), c);
        return it == wanted.end() ? -1 : int(it - wanted.begin());
    };
    const int ta = pos(DataColumn::Ta);
    for (DataColumn h : {DataColumn::VP, DataColumn::RH})
        if (pos(h) >= 0 && ta > pos(h))
            throw UmbrixError(std::string("--columns: \"Ta\" must come before \"") +
                              ColumnShortName(h) +
                              "\" (the column list keeps air temperature "
                              "above the humidity)");
    // The list: the chosen columns on top in the given order, the rest below as they stood;
    // an unchosen Ta goes just above the first chosen humidity column, where it leaves the
    // order of the checked columns as it is.
    Control& list = ctl(kList);
    std::vector<DataColumn> order;
    for (DataColumn c : wanted) {
        if (ta < 0 && (c == DataColumn::VP || c == DataColumn::RH) &&
            std::find(order.begin(), order.end(), DataColumn::Ta) == order.end())
            order.push_back(DataColumn::Ta);
        order.push_back(c);
    }
    for (DataColumn c : columnOrder())
        if (std::find(order.begin(), order.end(), c) == order.end()) order.push_back(c);
    list.items.clear();
    for (DataColumn c : order) list.items.push_back(ColumnItemText(c));
    list.itemChecked.assign(list.items.size(), false);
    for (DataColumn c : wanted) setItemChecked(kList, indexOf(c), true);
    for (DataColumn c : wanted)
        if (!isColumn(c)) {
            std::string by;
            for (DataColumn other : wanted)
                if (other != c && pos(other) > pos(c)) by = ColumnShortName(other);
            throw UmbrixError(std::string("--columns: \"") + ColumnShortName(c) + "\" and \"" + by +
                              "\" exclude each other");
        }
    updateHorizonEnabling();
    changed(kList);
}

void DataFileWindowModel::columnsFromLabels() {
    if (fileName_.empty()) throw FileError("no data file has been chosen");
    if (epw_) return;  // a weather file's columns are fixed
    const std::vector<DataColumn> columns =
        ReadColumnLabels(fileName_, DataFileSeparatorFor(fileName_, fieldSeparator()));
    std::vector<std::string> names;
    for (DataColumn c : columns) names.push_back(ColumnShortName(c));
    selectColumns(names);
    if (!checked(ChkUeberschriften)) {
        ctl(ChkUeberschriften).checked = true;
        changed(ChkUeberschriften);
    }
}

// ---- settings ------------------------------------------------------------------

int DataFileWindowModel::horizonIncrement() const {
    const std::string& t = text(ComboHorAz);
    auto n = parseInt(t.substr(0, std::min<std::size_t>(2, t.size())));
    // only the listed increments divide the circle; anything else falls back to the default
    static const int allowed[] = {10, 12, 15, 18, 20, 24, 30, 36, 45, 60, 90};
    if (n && std::find(std::begin(allowed), std::end(allowed), *n) != std::end(allowed)) return *n;
    return 30;
}

char DataFileWindowModel::fieldSeparator() const {
    const std::string& t = text(ComboFileSep);
    return t.size() == 1 ? t[0] : '\t';
}

DataFileSettings DataFileWindowModel::dataFileSettings() const {
    DataFileSettings s;
    s.path = fileName_;
    s.columns = checkedColumns();
    s.skipFirstRow = checked(ChkUeberschriften);
    s.missingText = text(EditDefVal);
    s.missingValue = float(toReal(s.missingText, EditDefVal));
    s.dateFormat = text(EditIDate);
    s.timeFormat = text(EditITime);
    // a .csv file is read with "," and a decimal point whatever the choice
    s.fieldSeparator = DataFileSeparatorFor(fileName_, fieldSeparator());
    s.horizonIncrement = horizonIncrement();
    s.currentYear = host().now().year;
    if (epw_) {
        s.epw = true;
        s.epwEndOfHour = ctl(ComboEpwTime).itemIndex == 1;
        s.columns = EpwDataColumns();
    }
    return s;
}

// ---- buttons -------------------------------------------------------------------

void DataFileWindowModel::openDataFile() {
    FileDialogOptions o;
    o.title = "Open";
    o.filter = kOpenFilter;
    o.filterIndex = 1;
    o.fileName = fileName_;
    auto chosen = host().openFileDialog(o);
    if (chosen) useDataFile(*chosen, o.filterIndex == kEpwFilter);
    // the filter chosen in the dialog sets the separator, confirmed or not
    if (o.filterIndex == 1) select(ComboFileSep, 0);
    if (o.filterIndex == 2) select(ComboFileSep, 1);
    changed(EditDatei);
}

void DataFileWindowModel::useDataFile(const std::string& path, bool epw) {
    useCurrentData();
    fileName_ = path;
    epw_ = epw;
    if (epw_) {
        // the weather file's fields are fixed: the column list shows them
        std::vector<std::string> names;
        for (DataColumn c : EpwDataColumns()) names.push_back(ColumnShortName(c));
        selectColumns(names);
    }
    ctl(OpenDialog1).text = path;
    ctl(EditDatei).text = FileNameOnly(path);
    Control& item = app_.mainWindow().ctl(main_window::Wertedatei1);
    item.checked = true;
    app_.mainWindow().changed(main_window::Wertedatei1);
    changed(EditDatei);
}

void DataFileWindowModel::useCurrentData() {
    ctl(EditDatei).text = kNoFile;
    Control& item = app_.mainWindow().ctl(main_window::Wertedatei1);
    item.checked = false;
    app_.mainWindow().changed(main_window::Wertedatei1);
    changed(EditDatei);
}

void DataFileWindowModel::onClick(const std::string& name) {
    if (name == BitBtn1) {
        openDataFile();
        app_.mainWindow().disableAdd();
    } else if (name == LabelsBtn) {
        columnsFromLabels();
        app_.mainWindow().disableAdd();
    } else if (name == BitBtn2) {
        useCurrentData();
        app_.mainWindow().disableAdd();
    } else if (name == ChkInDatei) {
        // a new output destination needs a new table
        app_.mainWindow().disableAdd();
    } else if (name == OkBtn) {
        // A data file without a chosen file or a checked column cannot be read: closing the
        // window then drops it, so that "&New" computes the main window's values again.
        if (app_.mainWindow().dataFileActive() &&
            (text(EditDatei) == kNoFile || checkedColumns().empty())) {
            useCurrentData();
            app_.mainWindow().disableAdd();
        }
        hide();
    }
}

}  // namespace umbrix
