#include "models/MainWindowModel.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>

#include "models/Application.h"
#include "models/ComponentNames.h"
#include "models/DataFileWindowModel.h"
#include "models/DetailTableModel.h"
#include "models/HorizonEditorModel.h"
#include "models/Locations.h"
#include "models/ObstacleEditorModel.h"
#include "models/OutputWindowModel.h"
#include "models/PresettingsModel.h"
#include "models/RangeMessages.h"
#include "models/Session.h"
#include "models/TopographyEditorModel.h"
#include "platform/Angle.h"
#include "platform/Error.h"
#include "platform/Format.h"
#include "platform/IniFile.h"
#include "platform/OutputFile.h"
#include "platform/TextFile.h"

namespace umbrix {

using namespace main_window;

namespace {

const char* const kSection = main_window::kForm;
// The location name has a key of its own: a combo box's key holds its item index.
const char* const kLocationKey = "LocationName";
// The humidity field typed last, which leads the other ("EditVp" or "EditRh").
const char* const kHumidityKey = "HumidityTypedLast";
const char* const kSessionFilter =
    "Session files (*.ini)|*.ini|Text files|*.txt|Setting files|*.set|All files (*.*)|*.*";

const std::vector<std::string> kModeItems = {Polar1, Zylinder1, Einzeltab1, Jahresgang1,
                                             Schattenwurf1};
const std::vector<std::string> kLanguageItems = {English1, Deutsch1};
// Fields whose change invalidates the header of the current table.
const std::vector<std::string> kHeaderFields = {EditLg,  EditBr, EditNn,  EditZz, EditGr,
                                                EditGew, EditA,  EditIcl, EditAct};
const std::vector<std::string> kIndexChecks = {PmvChk, PetChk, SetChk, UtciChk, PtChK, mPETChK};

struct TableItem {
    const char* name;
    const char* caption;
    bool on;
};
const TableItem kTableItems[] = {
    {Enumtag1, "Enumerator/tag", false},
    {Datum1, "Date", true},
    {TagdesJahres1, "Day of year", true},
    {Uhrzeit1, "Time", true},
    {Latitude1, "Latitude", false},
    {Longitude1, "Longitude", false},
    {Altitude1, "Altitude", false},
    {Timezone1, "Timezone", false},
    {Tauf1, "Sunrise", true},
    {Tunter1, "Sunset", true},
    {SDmax1, "Max. duration of sunshine", true},
    {SDtat1, "Act. duration of sunshine", true},
    {Sunelevationangle1, "Sun elevation angle", false},
    {Sunazimuthangle1, "Sun azimuth angle", false},
    {SVF1, "Sky view factor (Umbrix)", true},
    {SVFcos1, "Sky view factor (with cos-law)", false},
    {LTF1, "Linke turbidity", false},
    {Albedo1, "Albedo", false},
    {Bowen1, "Bowen ratio", false},
    {Gmax1, "Max. global radiation", false},
    {Gtat1, "Global radiation", true},
    {Smax1, "Max. direct radiation", false},
    {Stat1, "Direct radiation", true},
    {Dmax1, "Max. diffuse radiation", false},
    {Dtat1, "Diffuse radiation", true},
    {A1, "Atmospheric radiation", true},
    {E1, "Thermal radiation", true},
    {To1, "Surface temperature", true},
    {Ta1, "Air temperature", true},
    {Vp1, "Vapour pressure", true},
    {Rh1, "Relative humidity", true},
    {V1, "Wind velocity", true},
    {N1, "Cloud cover", true},
    {Tmrt1, "Mean radiant temperature", true},
    {Clothing1, "Clothing", false},
    {Activity1, "Activity", false},
    {UTCIclass1, "UTCI class", false},
    {PETclass1, "PET class", false},
    {PMVclass1, "PMV class and PPD", false},
    {PTclass1, "PT class", false},
};
const char* const kHiddenTableItems[] = {Gmax1, Smax1, Dmax1, Clothing1, Activity1};

bool contains(const std::vector<std::string>& list, const std::string& s) {
    return std::find(list.begin(), list.end(), s) != list.end();
}

bool lessNoCase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) <
               std::tolower(static_cast<unsigned char>(y));
    });
}

// Cuts a UTF-8 text to at most n characters.
std::string cutCharacters(const std::string& text, std::size_t n) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && count++ == n)
            return text.substr(0, i);
    return text;
}

// The quantity of each main-window field, and the text a refused field returns to when its
// text was set without typing (the value of a fresh start).
struct FieldQuantity {
    const char* name;
    Quantity quantity;
    const char* fallback;
};
const FieldQuantity kFieldQuantities[] = {
    {EditTa, Quantity::AirTemperature, "20.0"},
    {EditVp, Quantity::VapourPressure, "12.5"},
    {EditRh, Quantity::RelativeHumidity, "53.5"},
    {EditWG, Quantity::WindSpeed, "0.1"},
    {EditN, Quantity::CloudCover, "0.0"},
    {EditTs, Quantity::SurfaceTemperature, ""},
    {EditG, Quantity::GlobalRadiation, ""},
    {EditTmrt, Quantity::MeanRadiantTemperature, ""},
    {EditGr, Quantity::Height, "1.75"},
    {EditGew, Quantity::Weight, "75.0"},
    {EditA, Quantity::Age, "35"},
    {EditIcl, Quantity::Clothing, "0.9"},
    {EditAct, Quantity::Activity, "80"},
    {EditNn, Quantity::Altitude, "0"},
    {EditZz, Quantity::TimeZone, "0.0"},
    {EditLg, Quantity::Longitude, "0\u00b00'"},
    {EditBr, Quantity::Latitude, "0\u00b00'"},
};

const FieldQuantity* fieldQuantity(std::string_view name) {
    for (const FieldQuantity& f : kFieldQuantities)
        if (name == f.name) return &f;
    return nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------

// ---------------------------------------------------------------------------

MainWindowModel::MainWindowModel(Application& app)
    : FormModel(main_window::kForm, app.host()), app_(app) {
    caption = kProgramTitle;
    buildControls();
    buildMenus();
}

MainWindowModel::~MainWindowModel() = default;

void MainWindowModel::buildControls() {
    add(EditDat, ControlKind::Edit);
    add(EditTag, ControlKind::Edit);
    add(EditZeit, ControlKind::Edit);
    add(ComboOrt, ControlKind::Combo);
    add(EditLg, ControlKind::Edit);
    add(EditBr, ControlKind::Edit);
    add(EditNn, ControlKind::Edit);
    add(EditZz, ControlKind::Edit);
    add(ButtonOrtHinzu, ControlKind::Button, "Add location").enabled = false;
    add(ButtonOrtEntf, ControlKind::Button, "Remove location");
    add(EditTa, ControlKind::Edit, "20.0");
    add(EditVp, ControlKind::Edit, "12.5");
    add(EditRh, ControlKind::Edit, "53.5");
    add(EditWG, ControlKind::Edit, "0.1");
    add(LabelN, ControlKind::Label, "Cloud cover (octas)");
    add(EditN, ControlKind::Edit, "0.0");
    add(EditTs, ControlKind::Edit);
    add(EditG, ControlKind::Edit);
    add(EditTmrt, ControlKind::Edit);
    add(EditGr, ControlKind::Edit, "1.75");
    add(EditGew, ControlKind::Edit, "75.0");
    add(EditA, ControlKind::Edit, "35");
    Control& sex = add(ComboSex, ControlKind::Combo, "m");
    sex.items = {"m", "f"};
    sex.itemIndex = 0;
    sex.readOnly = true;
    add(EditIcl, ControlKind::Edit, "0.9");
    add(EditAct, ControlKind::Edit, "80");
    add(LabelPos, ControlKind::Label, "Position");
    Control& pos = add(ComboPos, ControlKind::Combo, "standing");
    pos.items = {"standing", "sitting"};
    pos.itemIndex = 0;
    pos.readOnly = true;
    add(AutoCloChK, ControlKind::CheckBox, "Automatic standard clothing (mPET)").checked = true;
    add(PmvChk, ControlKind::CheckBox, "PMV").checked = true;
    add(PetChk, ControlKind::CheckBox, "PET").checked = true;
    add(SetChk, ControlKind::CheckBox, "SET*").checked = true;
    add(UtciChk, ControlKind::CheckBox, "UTCI").checked = true;
    add(PtChK, ControlKind::CheckBox, "PT").checked = true;
    add(mPETChK, ControlKind::CheckBox, "mPET").checked = true;
    add(ButtonNeu, ControlKind::Button, "&New");
    add(ButtonHinzu, ControlKind::Button, "A&dd").enabled = false;
    add(ButtonJetzt, ControlKind::Button, "No&w and today");
    Control& bar = add(ProgressBar1, ControlKind::Other);
    bar.maximum = 365;
}

void MainWindowModel::buildMenus() {
    auto item = [this](const char* name, const char* caption, bool check = false,
                       bool on = false) -> Control& {
        Control& c = add(name, ControlKind::MenuItem, caption);
        c.autoCheck = check;
        c.checked = on;
        return c;
    };
    // &File
    item(Open1, "&Open");
    item(SaveAs1, "&Save as...");
    item(Saverestoresession1, "Save && restore session", true, true);
    item(Exit1, "E&xit");
    // &Input: the horizon sources and the data file are checked by their windows
    item(Horizonteinengung1, "Sky view factor");
    item(Topographie1, "Topography");
    item(Hindernisobjekte1, "Obstacles");
    item(Wertedatei1, "Datafile");
    item(Vorgaben1, "Additional pre-settings");
    // &Output
    item(Polar1, "Diagram (polar)");
    Control& cyl = item(Zylinder1, "Diagram (cylindrical)");
    cyl.visible = false;
    cyl.enabled = false;
    item(Einzeltab1, "Data table").checked = true;
    item(Jahresgang1, "Daily data");
    item(Schattenwurf1, "Shadows").enabled = false;
    item(PETMEMI1, "PET/MEMI", true);
    item(mPETYCC1, "mPET/mPET_model", true);
    // &Table
    for (const TableItem& t : kTableItems) item(t.name, t.caption, true, t.on);
    for (const char* hidden : kHiddenTableItems) ctl(hidden).visible = false;
    ctl(A1).enabled = false;
    // Lan&guage
    item(English1, "English").checked = true;
    item(Deutsch1, "Deutsch");
    // &?
    item(Help1, "&Help");
    item(Bibliography1, "&Bibliography");
    item(About1, "&About");
}

// ---- date helpers ----------------------------------------------------------

std::string MainWindowModel::dateFromDayOfYear(int n) const {
    Date first{host().now().year, 1, 1};
    return FormatDate(app_.format(), AddDays(first, long(n) - 1));
}

int MainWindowModel::dayOfYearFromDate(std::string_view text) const {
    auto d = ParseDate(app_.format(), text, host().now().year);
    if (!d)
        throw ConvertError(EditDat, std::string(text),
                           "EditDat: \"" + std::string(text) + "\" is not a valid date");
    return DayOfYear(*d);
}

// ---- start-up ----------------------------------------------------------------

void MainWindowModel::initialise() {
    app_.format() = FormatSettings{};
    loadLocationList();
    lookUpLocation();
    nowAndToday();
    updatePositionEnabling();
    applyOutputModeEffects();
    ctl(ButtonHinzu).enabled = false;
}

void MainWindowModel::loadLocationList() {
    Control& combo = ctl(ComboOrt);
    combo.items.clear();
    const std::string& file = app_.locationsFile();
    LocationList list = LoadLocationList(file);
    locationError_ = list.error;
    skippedLocations_ = list.skipped;
    for (auto& loc : list.locations) combo.items.push_back(loc.name);
    std::stable_sort(combo.items.begin(), combo.items.end(), lessNoCase);
    combo.itemIndex = combo.items.empty() ? -1 : 0;
    combo.text = combo.items.empty() ? std::string() : combo.items[0];
    changed(ComboOrt);
}

std::vector<std::string> MainWindowModel::locationWarnings() const {
    std::vector<std::string> out;
    if (!locationError_.empty()) out.push_back(locationError_);
    for (const SkippedLocationLine& skipped : skippedLocations_)
        out.push_back(app_.locationsFile() + ", line " + std::to_string(skipped.line) +
                      ": skipped, " + skipped.reason);
    return out;
}

std::string MainWindowModel::locationReport() const {
    const bool german = app_.language() == Language::German;
    const std::string& file = app_.locationsFile();
    std::string report = locationError_;
    if (!skippedLocations_.empty()) {
        report += (report.empty() ? "" : "\n\n") +
                  (german ? "Nicht lesbare Zeilen von " + file + " wurden \u00fcbergangen:"
                          : "Lines of " + file + " that cannot be read were skipped:");
        // a few lines named one by one, the rest counted
        constexpr std::size_t kNamed = 8;
        for (std::size_t i = 0; i < skippedLocations_.size() && i < kNamed; ++i)
            report += (german ? "\nZeile " : "\nline ") +
                      std::to_string(skippedLocations_[i].line) + ": " +
                      skippedLocations_[i].reason;
        if (skippedLocations_.size() > kNamed)
            report += (german ? "\nund " : "\nand ") +
                      std::to_string(skippedLocations_.size() - kNamed) +
                      (german ? " weitere" : " more");
    }
    if (!hasStoredLocations()) {
        report += (report.empty() ? "" : "\n\n") +
                  (german ? "Kein verwendbarer Standort in " + file +
                                ": gerechnet wird mit den Koordinaten in den Feldern (0\u00b0 0', "
                                "UTC+0), bis Sie einen Standort hinzuf\u00fcgen."
                          : "No usable location in " + file +
                                ": the calculation uses the coordinates in the fields (0\u00b0 "
                                "0', UTC+0) until you add a location.");
    }
    return report;
}

void MainWindowModel::lookUpLocation() {
    Control& combo = ctl(ComboOrt);
    Location loc;
    if (auto found = FindLocation(app_.locationsFile(), LocationKey(combo.text))) loc = *found;
    ctl(EditLg).text = FormatAngle(loc.longitude);
    ctl(EditBr).text = FormatAngle(loc.latitude);
    ctl(EditZz).text = fixed(loc.timeZone, 3, 1);
    ctl(EditNn).text = std::to_string(loc.altitude);
    combo.text = loc.name;
    auto it = std::find(combo.items.begin(), combo.items.end(), loc.name);
    combo.itemIndex =
        it == combo.items.end() || loc.name.empty() ? -1 : int(it - combo.items.begin());
    disableAdd();
    ctl(ButtonOrtEntf).enabled = true;
    changed();
}

void MainWindowModel::selectLocationByName(const std::string& name) {
    Control& combo = ctl(ComboOrt);
    auto it = std::find(combo.items.begin(), combo.items.end(), name);
    if (it == combo.items.end()) return;
    select(ComboOrt, int(it - combo.items.begin()));
}

void MainWindowModel::addLocation() {
    Location loc;
    loc.name = ctl(ComboOrt).text;
    if (loc.name.empty()) throw UmbrixError("a location needs a name (ComboOrt is empty)");
    if (std::string fault = LocationNameFault(loc.name); !fault.empty())
        throw UmbrixError("the location \"" + loc.name + "\" cannot be stored: " + fault);
    loc.longitude = float(ParseAngle(text(EditLg), EditLg));
    loc.latitude = float(ParseAngle(text(EditBr), EditBr));
    loc.timeZone = float(toReal(text(EditZz), EditZz));
    loc.altitude = toInt(text(EditNn), EditNn);
    AddLocation(app_.locationsFile(), loc);
    Control& combo = ctl(ComboOrt);
    if (!contains(combo.items, loc.name)) {
        auto at = std::upper_bound(combo.items.begin(), combo.items.end(), loc.name, lessNoCase);
        combo.items.insert(at, loc.name);
    }
    combo.itemIndex =
        int(std::find(combo.items.begin(), combo.items.end(), loc.name) - combo.items.begin());
    ctl(ButtonOrtEntf).enabled = true;
    ctl(ButtonOrtHinzu).enabled = false;
    disableAdd();
}

void MainWindowModel::removeLocation() {
    Control& combo = ctl(ComboOrt);
    const std::string name = combo.text;
    if (name.empty()) return;
    if (!host().confirm(app_.language() == Language::German
                            ? "Den gespeicherten Standort \"" + name + "\" l\u00f6schen?"
                            : "Remove the stored location \"" + name + "\"?"))
        return;
    if (!RemoveLocation(app_.locationsFile(), name)) return;  // no such line: nothing deleted
    auto it = std::find(combo.items.begin(), combo.items.end(), name);
    if (it != combo.items.end()) {
        int position = int(it - combo.items.begin());
        combo.items.erase(it);
        if (combo.items.empty()) {
            combo.itemIndex = -1;
            combo.text.clear();
        } else {
            combo.itemIndex = std::min(position, int(combo.items.size()) - 1);
            combo.text = combo.items[combo.itemIndex];
        }
    }
    lookUpLocation();
}

// ---- session ---------------------------------------------------------------------

void MainWindowModel::saveSession(const std::string& path) const {
    // Another program may save into the same file now: the keys it wrote stay.
    FileUpdateLock lock(path);
    IniFile ini = IniFile::load(path);
    writeSession(ini);
    ini.save(path);
}

void MainWindowModel::writeSession(IniFile& ini) const {
    WriteComponents(*this, kSection, ini);
    ini.writeString(kSection, kLocationKey, text(ComboOrt));
    ini.writeString(kSection, kHumidityKey, vapourTypedLast_ ? EditVp : EditRh);
}

// Why a stored text cannot go into the field (empty when it can): the tests of the field's
// exit rule, so that an impossible value keeps the field's value instead of a fallback.
std::string MainWindowModel::unusableSessionText(const std::string& name,
                                                 const std::string& text) const {
    auto number = [&](bool emptyAllowed) -> std::string {
        if (emptyAllowed && TrimBlanks(text).empty()) return {};
        auto x = parseReal(text, true);
        if (!x) return "is not a number";
        if (!std::isfinite(float(*x))) return "is out of range";
        return {};
    };
    if (name == EditTs || name == EditG || name == EditTmrt) return number(true);
    if (name == EditTa || name == EditVp || name == EditRh || name == EditWG || name == EditN ||
        name == EditGr || name == EditGew || name == EditIcl || name == EditAct || name == EditZz ||
        name == EditNn)
        return number(false);
    if (name == EditA || name == EditTag) return parseInt(text) ? "" : "is not a whole number";
    if (name == EditDat)
        return ParseDate(app_.format(), text, host().now().year) ? "" : "is not a valid date";
    if (name == EditZeit)
        return text.rfind("24", 0) == 0 || ParseTime(app_.format(), text) ? ""
                                                                          : "is not a valid time";
    if (name == EditLg || name == EditBr) {
        try {
            return std::isfinite(float(ParseAngle(text, name))) ? "" : "is out of range";
        } catch (const ConvertError&) {
            return "is not a valid angle";
        }
    }
    return {};
}

// True when the exit rule only wrote the stored value in its own format ("20" as "20.0").
bool MainWindowModel::sameSessionValue(const std::string& name, const std::string& stored,
                                       const std::string& shown) const {
    if (stored == shown) return true;
    if (name == EditDat)
        return ParseDate(app_.format(), stored, host().now().year) ==
               ParseDate(app_.format(), shown, host().now().year);
    if (name == EditZeit) {
        auto a = ParseTime(app_.format(), stored), b = ParseTime(app_.format(), shown);
        return a && b && std::fabs(*a - *b) * 1440.0 < 0.5 + 1e-9;
    }
    double a = 0, b = 0, half = 0;
    try {
        const bool angle = name == EditLg || name == EditBr;
        a = angle ? ParseAngle(stored, name) : toReal(stored, name);
        b = angle ? ParseAngle(shown, name) : toReal(shown, name);
        if (angle) {
            half = 0.5 / 60.0;
        } else {
            const std::size_t point = shown.find('.');
            const int decimals = point == std::string::npos ? 0 : int(shown.size() - point - 1);
            half = 0.5 * std::pow(10.0, -decimals);
        }
    } catch (const ConvertError&) {
        return false;
    }
    return std::fabs(a - b) <= half * (1 + 1e-9) + 1e-12;
}

std::vector<std::string> MainWindowModel::restoreSession(const std::string& path,
                                                         bool requireSession) {
    IniFile ini = IniFile::load(path);
    if (requireSession && !ini.hasSection(kSection))
        throw FileError("cannot open \"" + path + "\": it is not a session file (it has no [" +
                        std::string(kSection) + "] section)");
    return restoreSession(ini);
}

std::vector<std::string> MainWindowModel::restoreSession(const IniFile& ini) {
    std::vector<std::pair<std::string, std::string>> before;  // the fields as they were
    for (const auto& c : controls())
        if (c->kind == ControlKind::Edit) before.emplace_back(c->name, c->text);
    const std::string name = ini.readString(kSection, kLocationKey, text(ComboOrt));
    std::vector<std::string> problems = ReadComponents(*this, kSection, ini);
    // The horizon sources and the data file are not part of the session: a check without its
    // picture or file would fail at the next "&New".
    for (const char* item : {Horizonteinengung1, Topographie1, Hindernisobjekte1, Wertedatei1})
        ctl(item).checked = false;
    app_.setLanguage(checked(Deutsch1) ? Language::German : Language::English);

    // Each stored text through its field's exit rule, as typed; the day of year follows the
    // date.
    struct Restoring {
        bool& flag;
        explicit Restoring(bool& f) : flag(f) { flag = true; }
        ~Restoring() { flag = false; }
    };
    std::optional<Restoring> restoring(std::in_place, restoring_);
    const bool dateStored = ini.hasKey(kSection, EditDat);
    for (const auto& entry : before) {
        const std::string& field = entry.first;
        const std::string& previous = entry.second;
        if (!ini.hasKey(kSection, field) || (field == EditTag && dateStored)) continue;
        Control& c = ctl(field);
        const std::string stored = c.text;
        auto keep = [&](const std::string& why) {
            c.text = previous;
            if (field == EditDat)
                for (const auto& [other, otherText] : before)
                    if (other == EditTag) ctl(other).text = otherText;
            problems.push_back(field + " \"" + stored + "\" " + why + "; it keeps \"" + previous +
                               "\"");
        };
        if (std::string why = unusableSessionText(field, stored); !why.empty()) {
            keep(why);
            continue;
        }
        try {
            onExit(field);
        } catch (const UmbrixError& e) {
            keep(std::string("is refused (") + e.what() + ")");
            continue;
        }
        if (!sameSessionValue(field, stored, c.text))
            problems.push_back(field + " \"" + stored + "\" became \"" + c.text + "\"");
    }
    restoring.reset();
    // the field that leads the humidity coupling, as it was when the session was saved
    vapourTypedLast_ = ini.readString(kSection, kHumidityKey, EditRh) == EditVp;
    // Keep the restored texts of date and time, and their stored values in step with them.
    if (auto d = ParseDate(app_.format(), text(EditDat), host().now().year)) storedDate_ = d;
    if (auto t = ParseTime(app_.format(), text(EditZeit))) storedTime_ = *t;
    Control& combo = ctl(ComboOrt);
    if (contains(combo.items, name)) {
        selectLocationByName(name);
    } else {
        // A place no longer in the list keeps the restored coordinates.
        combo.text = name;
        combo.itemIndex = -1;
    }
    updatePositionEnabling();
    applyOutputModeEffects();
    disableAdd();
    changed();
    return problems;
}

std::vector<std::string> MainWindowModel::openSession(const std::string& path) {
    std::vector<std::string> problems = restoreSession(path, true);
    openedSession_ = path;
    return problems;
}

void MainWindowModel::openSessionDialog() {
    FileDialogOptions o;
    o.title = "Open";
    o.filter = "Session files (*.ini)|*.ini|All files (*.*)|*.*";
    o.defaultExt = "ini";
    auto path = host().openFileDialog(o);
    if (!path) return;
    std::vector<std::string> problems = openSession(*path);
    if (problems.empty()) return;
    std::string text = "session " + FileNameOnly(*path) + ": not restored as stored:";
    for (const auto& p : problems) text += "\n" + p;
    host().showMessage(text, MessageKind::Warning);
}

void MainWindowModel::saveSessionDialog() {
    FileDialogOptions o;
    o.title = "Save as";
    o.filter = kSessionFilter;
    o.filterIndex = 2;
    o.defaultExt = "txt";
    auto path = host().saveFileDialog(o);
    if (!path) return;
    // a session may replace a session, never another file the program reads
    for (const auto& [what, input] : app_.inputFiles())
        if (what != "session file" && SameFile(*path, input)) app_.checkOutputFile(*path);
    saveSession(*path);
}

// ---- exit rules --------------------------------------------------------------

void MainWindowModel::onChange(const std::string& name) {
    if (contains(kHeaderFields, name)) {
        if (name == EditNn) ctl(name).text = cutCharacters(ctl(name).text, 6);
        disableAdd();
    } else if (name == ComboOrt) {
        Control& c = ctl(name);
        c.text = cutCharacters(c.text, 40);
        c.itemIndex = -1;
        ctl(ButtonOrtHinzu).enabled = true;
        ctl(ButtonOrtEntf).enabled = false;
    }
}

void MainWindowModel::onExit(const std::string& name) {
    if (name == EditDat) return leaveDate();
    if (name == EditTag) return leaveDayOfYear();
    if (name == EditZeit) return leaveTime();
    if (name == EditVp || name == EditRh) return leaveHumidity(name);
    if (name == EditLg || name == EditBr) {
        // a latitude is not wrapped like a longitude: 91° is no place
        const std::string typed = text(name);
        checkTyped(name, AngleAsTyped(typed), typed);
        ctl(name).text = FormatAngle(typed);
        return;
    }
    leaveNumber(name);
}

// ---- physical ranges -----------------------------------------------------------

Quantity MainWindowModel::quantityOf(const std::string& name) {
    const FieldQuantity* f = fieldQuantity(name);
    if (!f) throw UmbrixError("no physical range for the field " + name);
    return f->quantity;
}

std::pair<double, double> MainWindowModel::rangeOf(const std::string& name) const {
    const Quantity q = quantityOf(name);
    if (q == Quantity::GlobalRadiation) {
        // the day and latitude the fields hold now; the command checks again with its own
        auto day = parseInt(text(EditTag));
        double latitude = 0;
        try {
            latitude = ParseAngle(text(EditBr), EditBr);
        } catch (const ConvertError&) {
        }
        return {0.0, GlobalRadiationLimit(day ? *day : 172, latitude)};
    }
    if (q == Quantity::VapourPressure) {
        auto ta = parseReal(text(EditTa), true);
        return {0.0, VapourPressureLimit(ta ? *ta : 0.0)};
    }
    return {RangeOf(q).min, RangeOf(q).max};
}

void MainWindowModel::checkTyped(const std::string& name, double value, const std::string& typed) {
    const auto [min, max] = rangeOf(name);
    if (value >= min && value <= max) return;
    refuse(name, OutOfRangeText(fieldQuantity(name)->quantity, name, TrimBlanks(typed), min, max,
                                app_.language()));
}

void MainWindowModel::refuse(const std::string& name, const std::string& message) {
    Control& c = ctl(name);
    c.text = previousText(name, fieldQuantity(name)->fallback);
    changed(name);
    throw RangeError(message + FieldKeepsText(c.text, app_.language()));
}

// A vapour pressure typed last stays when Ta changes; above saturation at the new Ta the air
// would hold more water than it can, so the new Ta is refused.
void MainWindowModel::checkHumidityAt(const std::string& name, double ta) {
    if (!vapourTypedLast_) return;
    auto vp = parseReal(text(EditVp), true);
    if (!vp || *vp <= VapourPressureLimit(ta)) return;
    const std::string typed(TrimBlanks(text(name)));
    const std::string es = RangeNumber(humidity::SaturationVapourPressure(ta));
    const std::string rh = fixed(float(humidity::RelativeHumidity(ta, *vp)), 6, 0);
    const PhysicalRange& ta_ = RangeOf(Quantity::AirTemperature);
    refuse(name, app_.language() == Language::German
                     ? std::string(ta_.german) + " (" + name + "): bei \"" + typed +
                           "\" liegt der Dampfdruck " + text(EditVp) +
                           " hPa (EditVp) \u00fcber der S\u00e4ttigung (" + es +
                           " hPa), die relative Feuchte w\u00e4re " + rh + " % statt 0 bis 100 %"
                     : std::string(ta_.english) + " (" + name + "): at \"" + typed +
                           "\" the vapour pressure " + text(EditVp) +
                           " hPa (EditVp) lies above saturation (" + es +
                           " hPa), the relative humidity would be " + rh +
                           " % instead of 0 to 100 %");
}

void MainWindowModel::leaveNumber(const std::string& name) {
    Control& c = ctl(name);
    auto parsed = parseReal(c.text, true);
    // letters are no value: the field keeps its previous one (an empty field has its own rule)
    if (!parsed && fieldQuantity(name) && !TrimBlanks(c.text).empty())
        refuse(name, NotANumberText(quantityOf(name), name, TrimBlanks(c.text), app_.language()));
    if (parsed && !std::isfinite(*parsed)) parsed.reset();
    std::optional<float> value;
    if (parsed) value = float(*parsed);
    // {fixed precision, decimals, value for an unreadable text}; NaN: the field is emptied
    struct Rule {
        const char* name;
        int p, d;
        double fallback;
    };
    static const Rule rules[] = {
        {EditTa, 4, 1, 0},    {EditWG, 5, 1, 0},     {EditN, 5, 1, 0},     {EditTs, 4, 1, NAN},
        {EditG, 5, 1, NAN},   {EditTmrt, 5, 1, NAN}, {EditGr, 4, 2, 1.75}, {EditGew, 4, 1, 75},
        {EditIcl, 3, 2, 0.9}, {EditAct, 5, 1, 80},
    };
    if (name == EditA) {
        auto age = parseInt(c.text);
        if (age) checkTyped(name, *age, c.text);
        c.text = std::to_string(age ? *age : 35);
        return;
    }
    if (name == EditNn) {
        if (parsed) checkTyped(name, *parsed, c.text);
        c.text = std::to_string(int(parsed ? std::nearbyint(*parsed) : 0.0));
        return;
    }
    if (name == EditZz) {
        // −12 and +14 are both real zones (west of the date line, Line Islands): none wraps
        if (parsed) checkTyped(name, *parsed, c.text);
        c.text = fixedTyped(parsed ? *parsed : 0.0, 3, 1);
        return;
    }
    for (const Rule& r : rules) {
        if (name != r.name) continue;
        if (value) checkTyped(name, *parsed, c.text);
        if (value && name == EditTa) checkHumidityAt(name, *parsed);
        // a number beyond a float would be computed as infinity
        const bool tooLarge = value && !std::isfinite(*value);
        const std::string typed = c.text;
        if (tooLarge) value.reset();
        if (value) {
            // the number as typed, not its float: "12.65" shows as 12.7 (halves away from zero)
            c.text = fixedTyped(*parsed, r.p, r.d);
        } else if (std::isnan(r.fallback)) {
            c.text.clear();
        } else if (name == EditTa || name == EditWG || name == EditN) {
            c.text = "0";
        } else {
            c.text = fixed(float(r.fallback), r.p, r.d);
        }
        if (!restoring_) {
            if (name == EditG && value) ctl(EditTmrt).text.clear();
            if (name == EditTmrt && value) ctl(EditG).text.clear();
            if (name == EditTa) recomputeHumidity(vapourTypedLast_);
        }
        if (tooLarge) throw ConvertError(name, typed, name + ": \"" + typed + "\" is out of range");
        return;
    }
}

void MainWindowModel::leaveHumidity(const std::string& name) {
    const bool vapour = name == EditVp;
    const std::string typed = text(name);
    auto parsed = parseReal(typed, true);
    if (!parsed && !TrimBlanks(typed).empty())
        refuse(name, NotANumberText(quantityOf(name), name, TrimBlanks(typed), app_.language()));
    // a number beyond a float would be computed as infinity
    const bool tooLarge = parsed && !std::isfinite(float(*parsed));
    if (parsed && !tooLarge) {
        checkTyped(name, *parsed, typed);
        vapourTypedLast_ = vapour;
        ctl(name).text = fixedTyped(*parsed, 5, 1);
        if (!restoring_) recomputeHumidity(vapour);
    } else {
        // refill this field from Ta and the other humidity field, which leads from now on
        vapourTypedLast_ = !vapour;
        recomputeHumidity(!vapour);
    }
    // a number beyond a float would be computed as infinity
    if (tooLarge) throw ConvertError(name, typed, name + ": \"" + typed + "\" is out of range");
}

void MainWindowModel::recomputeHumidity(bool fromVapour) {
    auto ta = parseReal(text(EditTa), true);
    float t = ta ? float(*ta) : 0.0f;
    const char* source = fromVapour ? EditVp : EditRh;
    const char* target = fromVapour ? EditRh : EditVp;
    auto value = parseReal(text(source), true);
    if (!value || !std::isfinite(*value)) {
        // neither field readable: the relative humidity of a fresh start, which then leads
        vapourTypedLast_ = false;
        ctl(EditRh).text = "53.5";
        ctl(EditVp).text = fixed(float(humidity::VapourPressure(t, 53.5f)), 5, 1);
        return;
    }
    float v = float(*value);
    float other =
        float(fromVapour ? humidity::RelativeHumidity(t, v) : humidity::VapourPressure(t, v));
    // a vapour pressure within its last digit of saturation is saturated air
    if (fromVapour) other = std::min(other, 100.0f);
    ctl(target).text = fixed(other, 5, 1);
}

void MainWindowModel::leaveDate() {
    Control& c = ctl(EditDat);
    auto d = ParseDate(app_.format(), c.text, host().now().year);
    if (!d) {
        ClockTime now = host().now();
        d = Date{now.year, now.month, now.day};
    }
    storedDate_ = d;
    c.text = FormatDate(app_.format(), *d);
    ctl(EditTag).text = std::to_string(DayOfYear(*d));
}

void MainWindowModel::leaveDayOfYear() {
    auto n = parseInt(text(EditTag));
    // keep the date within a sane span of years around the current one
    long day = std::clamp<long>(n ? *n : 1, -36600, 36600);
    Date d = AddDays(Date{host().now().year, 1, 1}, day - 1);
    storedDate_ = d;
    ctl(EditDat).text = FormatDate(app_.format(), d);
    ctl(EditTag).text = std::to_string(dayOfYearFromDate(text(EditDat)));
}

void MainWindowModel::leaveTime() {
    Control& c = ctl(EditZeit);
    std::string t = c.text;
    if (t.rfind("24", 0) == 0) t = "0";
    auto fraction = ParseTime(app_.format(), t);
    if (!fraction) fraction = ParseTime(FormatSettings{}, "12:00");
    storedTime_ = fraction.value_or(0.5);
    c.text = FormatTime(app_.format(), storedTime_);
}

void MainWindowModel::rewriteDateField() {
    if (storedDate_) {
        ctl(EditDat).text = FormatDate(app_.format(), *storedDate_);
        changed(EditDat);
    }
}

void MainWindowModel::rewriteTimeField() {
    ctl(EditZeit).text = FormatTime(app_.format(), storedTime_);
    changed(EditZeit);
}

void MainWindowModel::nowAndToday() {
    ClockTime now = host().now();
    ctl(EditDat).text = FormatDate(app_.format(), Date{now.year, now.month, now.day});
    ctl(EditZeit).text =
        FormatTime(app_.format(), (now.hour * 3600.0 + now.minute * 60.0 + now.second) / 86400.0);
    leaveDate();
    leaveTime();
    changed();
}

// ---- enabling rules ----------------------------------------------------------

void MainWindowModel::disableAdd() {
    ctl(ButtonHinzu).enabled = false;
    changed(ButtonHinzu);
}

namespace {
// The "&Input" menu's item of each horizon source.
const char* SourceItem(HorizonSourceKind source) {
    switch (source) {
        case HorizonSourceKind::Drawing:
            return Horizonteinengung1;
        case HorizonSourceKind::Terrain:
            return Topographie1;
        case HorizonSourceKind::Obstacles:
            break;
    }
    return Hindernisobjekte1;
}
}  // namespace

bool MainWindowModel::sourceTakesPart(HorizonSourceKind source) const {
    return checked(SourceItem(source));
}

void MainWindowModel::setSourceTakesPart(HorizonSourceKind source, bool takesPart) {
    ctl(SourceItem(source)).checked = takesPart;
    changed(SourceItem(source));
}

void MainWindowModel::setShadowsAvailable(bool available) {
    ctl(Schattenwurf1).enabled = available;
    changed(Schattenwurf1);
}

void MainWindowModel::updatePositionEnabling() {
    // PET and mPET are the indices that use the position.
    bool on = checked(PetChk) || checked(PETMEMI1) || checked(mPETChK) || checked(mPETYCC1);
    ctl(ComboPos).enabled = on;
    ctl(LabelPos).enabled = on;
}

OutputMode MainWindowModel::outputMode() const {
    if (checked(Polar1)) return OutputMode::Polar;
    if (checked(Zylinder1)) return OutputMode::Cylindrical;
    if (checked(Jahresgang1)) return OutputMode::DailyData;
    if (checked(Schattenwurf1)) return OutputMode::Shadows;
    return OutputMode::DataTable;
}

void MainWindowModel::setOutputMode(const std::string& item) {
    checkExclusive(item, kModeItems);
    disableAdd();
    applyOutputModeEffects();
}

void MainWindowModel::applyOutputModeEffects() {
    OutputMode mode = outputMode();
    bool tableMode = mode == OutputMode::DataTable || mode == OutputMode::DailyData;
    ctl(Wertedatei1).enabled = tableMode;
    ctl(Topographie1).enabled = mode != OutputMode::Shadows;
    ctl(Horizonteinengung1).enabled = mode != OutputMode::Shadows;
    app_.outputWindow().setDiagramControlsEnabled(!tableMode);
    app_.outputWindow().pictureView = !tableMode;
}

void MainWindowModel::setLanguageItem(const std::string& item) {
    checkExclusive(item, kLanguageItems);
    app_.setLanguage(item == Deutsch1 ? Language::German : Language::English);
    disableAdd();
}

void MainWindowModel::toggleObstacles() {
    Control& item = ctl(Hindernisobjekte1);
    // Unchecked, the editor opens and its picture takes part in the horizon (as it was left at
    // the editor's last close); checked, the obstacles stop taking part.
    if (!item.checked) app_.obstacleEditor().show();
    item.checked = !item.checked;
    disableAdd();
}

void MainWindowModel::toggleDataFile() {
    Control& item = ctl(Wertedatei1);
    if (item.checked) {
        item.checked = false;
    } else {
        app_.dataFileWindow().show();
        item.checked = true;
    }
    disableAdd();
}

// ---- clicks and choices ------------------------------------------------------

void MainWindowModel::onClick(const std::string& name) {
    Control& c = ctl(name);
    if (!c.enabled) {
        if (c.autoCheck) c.checked = !c.checked;  // a disabled control does not react
        throw UmbrixError("\"" + (c.caption.empty() ? name : c.caption) + "\" (" + name +
                          ") is disabled now" +
                          (name == ButtonHinzu ? ": start a new table with \"&New\"" : ""));
    }
    if (name == ButtonNeu) return newTable();
    if (name == ButtonHinzu) return addRows();
    if (name == ButtonJetzt) return nowAndToday();
    if (name == ButtonOrtHinzu) return addLocation();
    if (name == ButtonOrtEntf) return removeLocation();
    if (contains(kModeItems, name)) return setOutputMode(name);
    if (contains(kLanguageItems, name)) return setLanguageItem(name);
    if (name == Open1) return openSessionDialog();
    if (name == SaveAs1) return saveSessionDialog();
    if (name == Wertedatei1) return toggleDataFile();
    if (name == Hindernisobjekte1) return toggleObstacles();
    // The editors check and uncheck these items themselves.
    if (name == Horizonteinengung1) return app_.horizonEditor().show();
    if (name == Topographie1) return app_.topographyEditor().show();
    if (name == Vorgaben1) return app_.presettings().show();
    if (name == Saverestoresession1) return;
    if (contains(kIndexChecks, name) || name == PETMEMI1 || name == mPETYCC1) {
        disableAdd();
        updatePositionEnabling();
        return;
    }
    for (const TableItem& t : kTableItems)
        if (name == t.name) return disableAdd();
}

void MainWindowModel::onSelect(const std::string& name) {
    if (name == ComboOrt) {
        lookUpLocation();
    } else if (name == ComboSex || name == ComboPos) {
        disableAdd();
    } else if (contains(kModeItems, name)) {
        setOutputMode(name);
    }
}

}  // namespace umbrix
