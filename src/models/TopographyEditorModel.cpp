#include "models/TopographyEditorModel.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "models/ComponentNames.h"
#include "platform/Format.h"
#include "platform/TextFile.h"

namespace umbrix {

using namespace topography_editor;

namespace {

constexpr const char* kNoFile = "(none - keine)";
constexpr const char* kFileFilter = "Textfiles|*.txt;*.dat;*.asc|All files|*.*";
constexpr const char* kDirections[] = {"N-S", "S-N", "W-E", "E-W"};
// Locations further out than this would overflow the grid indices.
constexpr double kMaxCoordinate = 1e9;

// The direction of the other axis with the same order: N-S with W-E, S-N with E-W.
int PartnerDirection(int index) {
    return (index + 2) % 4;
}

std::string Metres(std::int64_t value) {
    return std::to_string(value) + "m";
}

}  // namespace

TopographyEditorModel::TopographyEditorModel(Host& host, MainWindowLink& mainWindow)
    : FormModel(topography_editor::kForm, host), main_(mainWindow) {
    buildControls();
    setMainCaption(main_.windowCaption());
    newTopography();
}

void TopographyEditorModel::setMainCaption(const std::string& mainCaption) {
    caption = "Edit topography - Topographie bearbeiten";
    if (!mainCaption.empty()) caption += " - " + mainCaption;
}

void TopographyEditorModel::buildControls() {
    add(EditRast, ControlKind::Edit, "50");
    add(EditAnzSp, ControlKind::Edit, "41");
    add(EditAnzZe, ControlKind::Edit, "41");
    for (const char* name : {ComboX, ComboY}) {
        Control& combo = add(name, ControlKind::Combo);
        combo.items.assign(std::begin(kDirections), std::end(kDirections));
    }
    ctl(ComboX).itemIndex = 2;
    ctl(ComboX).text = "W-E";
    ctl(ComboY).itemIndex = 0;
    ctl(ComboY).text = "N-S";
    add(EditX0, ControlKind::Edit, "1000.0");
    add(EditY0, ControlKind::Edit, "1000.0");
    add(EditZ0, ControlKind::Edit, "0");
    add(EditXp, ControlKind::Edit);
    add(EditYp, ControlKind::Edit);
    add(EditZp, ControlKind::Edit);
    add(EditDat, ControlKind::Edit, kNoFile).readOnly = true;
    for (const char* name : {LabelWest, LabelEast, LabelNorth, LabelSouth})
        add(name, ControlKind::Label);
    add(LabelX, ControlKind::Label, "x: ");
    add(LabelY, ControlKind::Label, "y: ");
    add(NeuBtn, ControlKind::Button).hint = "New topography - Neue Topographie";
    add(OpenBtn, ControlKind::Button).hint = "Open Topography file - Topographiedatei öffnen";
    add(SaveBtn, ControlKind::Button).hint =
        "Save as topography file - Topographie in Datei speichern";
    add(AktualBtn, ControlKind::Button, "&Actualize map");
    add(AutoBtn, ControlKind::SpeedButton, "Auto-&enter");
    add(OkBtn, ControlKind::Button, "&Close");
    add(Neu1, ControlKind::Button, "&New");
    add(Oeffnen1, ControlKind::Button, "&Open...");
    add(Speichern1, ControlKind::Button, "&Save...");
    add(Schliessen1, ControlKind::Button, "&Close");
    add(TopoImg, ControlKind::Other);
    updateEdgeLabels();
}

void TopographyEditorModel::setMainItem(bool checked) {
    main_.setSourceTakesPart(HorizonSourceKind::Terrain, checked);
}

void TopographyEditorModel::disableAdd() {
    main_.requireNewTable();
}

// ---------------------------------------------------------------------------
// commands

void TopographyEditorModel::forgetFile(const std::string& path) {
    filePath_ = path;
    values_.clear();
    values_.shrink_to_fit();
    keepAll_ = true;
    fileCount_ = 0;
    edits_.clear();
    window_.clear();
}

void TopographyEditorModel::newTopography() {
    forgetFile({});
    horizon_ = {};
    horizonPicture_.clear();
    selectPoint(0, 0);
    ctl(EditZp).text = decimals(z0_, 1);
    ctl(EditDat).text = kNoFile;
    saveName_.clear();
    redrawMap();
    setMainItem(false);
    disableAdd();
    changed();
}

void TopographyEditorModel::openTopography() {
    FileDialogOptions options;
    options.title = say("Open topography file", "Topographiedatei öffnen");
    options.filter = kFileFilter;
    options.defaultExt = "txt";
    options.fileName = saveName_;
    auto path = host().openFileDialog(options);
    if (path) openTopographyFile(*path);
}

bool TopographyEditorModel::openTopographyFile(const std::string& path) {
    forgetFile(path);
    bool ok = readFile(path, true);
    if (ok && fileCount_ == 0) {
        // nothing read is no terrain: it would pass for a plain at 0 m
        reportUnreadable(say(FileNameOnly(path) + " holds no heights",
                             FileNameOnly(path) + " enth\u00e4lt keine H\u00f6hen"));
        forgetFile({});
        ok = false;
    }
    redrawMap();
    showEditPoint();
    if (ok) {
        ctl(EditDat).text = FileNameOnly(path);
        saveName_ = path;
        setMainItem(true);
    } else {
        setMainItem(false);
    }
    disableAdd();
    changed();
    return ok;
}

bool TopographyEditorModel::readFile(const std::string& path, bool intoHeldValues) {
    const std::int64_t ci = centreI();
    const std::int64_t cj = centreJ();
    TopoReadError error;
    std::uint64_t count = 0;
    const bool ok = ReadTopographyValues(
        path,
        [&](std::uint64_t k, float value) {
            count = k + 1;
            PlaceTopoValue(window_, grid_, ci, cj, k, value);
            if (!intoHeldValues || !keepAll_) return;
            if (k < maxHeld_) {
                values_.push_back(value);
            } else {
                // Too many to hold: keep the window only and read the file again when the
                // location moves.
                keepAll_ = false;
                values_.clear();
                values_.shrink_to_fit();
            }
        },
        error);
    if (intoHeldValues) fileCount_ = count;
    if (!ok) reportUnreadable(error.message());
    return ok;
}

void TopographyEditorModel::reportUnreadable(const std::string& detail) {
    std::string text = say("Invalid source file!", "Quelldatei ist ungültig!");
    if (!detail.empty()) text += "\n" + detail;
    host().showMessage(text, MessageKind::Error);
}

bool TopographyEditorModel::saveWritesWindowOnly() const {
    if (!hasFile()) return false;
    return fileCount_ > std::uint64_t(kTopoWindowSize) * kTopoWindowSize ||
           grid_.columns != kTopoWindowSize || centreI() != kTopoHalf || centreJ() != kTopoHalf;
}

void TopographyEditorModel::saveTopography() {
    FileDialogOptions options;
    options.filter = kFileFilter;
    options.defaultExt = "txt";
    if (saveWritesWindowOnly()) {
        // Writing over the file it came from would lose everything outside the window.
        options.title = say("Save the 41 x 41 window only", "Nur das 41 x 41-Fenster speichern");
    } else {
        options.title = say("Save topography file", "Topographie in Datei speichern");
        options.fileName = saveName_;
    }
    auto path = host().saveFileDialog(options);
    if (!path) return;
    WriteTextFileAtomic(*path, FormatTopographyWindow(window_));
    ctl(EditDat).text = FileNameOnly(*path);
    changed(EditDat);
}

void TopographyEditorModel::restoreTypedHeights(TypedHeights heights) {
    for (auto& [point, height] : heights) edits_[point] = height;
    updateMap();
}

void TopographyEditorModel::updateMap() {
    extractWindow();
    redrawMap();
    showEditPoint();
    setEdgeLabelsEnabled(true);
    updateEdgeLabels();
    changed();
}

void TopographyEditorModel::extractWindow() {
    window_.clear();
    if (hasFile()) {
        if (keepAll_) {
            const std::int64_t ci = centreI();
            const std::int64_t cj = centreJ();
            for (std::uint64_t k = 0; k < values_.size(); ++k)
                PlaceTopoValue(window_, grid_, ci, cj, k, values_[k]);
        } else {
            readFile(filePath_, false);
        }
    }
    for (const auto& [point, height] : edits_) {
        int c = TopoWindowIndex(point.first, centreI());
        int r = TopoWindowIndex(point.second, centreJ());
        if (c >= 0 && r >= 0) window_.at(c, r) = height;
    }
}

std::string TopographyEditorModel::locationOutsideFile() const {
    if (!hasFile()) return {};
    const std::int64_t i = centreI(), j = centreJ();
    const auto columns = std::uint64_t(grid_.columns);
    const std::uint64_t rows = (fileCount_ + columns - 1) / columns;
    const bool inside = i >= 0 && std::uint64_t(i) < columns && j >= 0 &&
                        std::uint64_t(j) * columns + std::uint64_t(i) < fileCount_;
    if (inside) return {};
    const std::string name = FileNameOnly(filePath_);
    const std::string where = "(" + decimals(x0_, 1) + " m, " + decimals(y0_, 1) + " m)";
    if (i >= 0 && std::uint64_t(i) < columns && j >= 0)
        return say(name + " is too short: its " + std::to_string(fileCount_) +
                       " heights end before the location " + where,
                   name + " ist zu kurz: seine " + std::to_string(fileCount_) +
                       " H\u00f6hen enden vor dem Standort " + where);
    const std::string extent =
        "0 ... " + std::to_string(std::int64_t(columns - 1) * grid_.delta) + " m, 0 ... " +
        std::to_string(std::int64_t(rows ? rows - 1 : 0) * grid_.delta) + " m";
    return say("the grid of " + name + " (" + extent + ") does not contain the location " + where,
               "das Gitter von " + name + " (" + extent + ") enth\u00e4lt den Standort " + where +
                   " nicht");
}

bool TopographyEditorModel::closeAndComputeHorizon() {
    // a location beside the file's grid would see a plain at 0 m
    if (std::string outside = locationOutsideFile(); !outside.empty()) {
        host().showMessage(
            say("No horizon calculation possible: ", "Keine Horizontberechnung m\u00f6glich: ") +
                outside,
            MessageKind::Warning);
        return false;
    }
    const double zL = TopoHeightAtLocation(window_, grid_.delta, x0_, y0_);
    if (zL > z0_) {
        host().showMessage(german_ ? "Standort ist \"unterirdisch\" wegen zu kleiner Z-Koord.\n"
                                     "Keine Horizontberechnung möglich!"
                                   : "Location is \"underground\" because of its too low z-coord.\n"
                                     "No horizon calculation possible!",
                           MessageKind::Warning);
        return false;
    }
    horizon_ = ComputeTerrainHorizon(window_, grid_.delta, x0_, y0_, z0_);
    drawHorizonPicture();
    hide();
    return true;
}

// ---------------------------------------------------------------------------
// fields

void TopographyEditorModel::onChange(const std::string& name) {
    if (name == EditZp) {
        heightTyped_ = true;
        setMainItem(true);
    } else if (name == EditRast || name == EditAnzSp || name == EditAnzZe) {
        setEdgeLabelsEnabled(false);
    }
}

void TopographyEditorModel::onExit(const std::string& name) {
    if (name == EditRast || name == EditAnzSp || name == EditAnzZe)
        leaveGridSetting(name);
    else if (name == EditX0 || name == EditY0 || name == EditZ0)
        leaveLocation(name);
    else if (name == EditXp || name == EditYp)
        leaveEditCoordinate(name);
    else if (name == EditZp)
        storeHeight();
}

void TopographyEditorModel::leaveGridSetting(const std::string& name) {
    Control& field = ctl(name);
    auto value = parseInt(field.text);
    if (name == EditRast) {
        // Whole metres and at least one; anything else falls back to 10 m.
        grid_.delta = (value && *value >= 1) ? *value : 10;
        field.text = std::to_string(grid_.delta);
        return;
    }
    int& setting = name == EditAnzSp ? grid_.columns : grid_.rows;
    if (value && *value >= 1) setting = *value;
    field.text = std::to_string(setting);
}

void TopographyEditorModel::leaveLocation(const std::string& name) {
    Control& field = ctl(name);
    double& value = name == EditX0 ? x0_ : name == EditY0 ? y0_ : z0_;
    auto parsed = parseReal(field.text, true);
    const double previous = value;
    if (parsed && std::isfinite(*parsed) && std::fabs(*parsed) <= kMaxCoordinate) value = *parsed;
    field.text = decimals(value, 1);
    if (name == EditZ0 || value == previous) return;
    extractWindow();
    redrawMap();
    showEditPoint();
    setEdgeLabelsEnabled(true);
    updateEdgeLabels();
}

void TopographyEditorModel::leaveEditCoordinate(const std::string& name) {
    const bool isX = name == EditXp;
    auto parsed = parseReal(ctl(name).text, true);
    if (parsed && std::isfinite(*parsed) && std::fabs(*parsed) <= kMaxCoordinate) {
        // Snap toward zero onto the grid.
        const auto index = static_cast<std::int64_t>(std::trunc(*parsed / grid_.delta));
        const int w = TopoWindowIndex(index, isX ? centreI() : centreJ());
        if (w >= 0) {
            selectPoint(isX ? w : editC_, isX ? editR_ : w);
            redrawMap();
            return;
        }
    }
    // Outside the window (or not a number): the previous point stays.
    showEditPoint();
}

void TopographyEditorModel::storeHeight() {
    Control& field = ctl(EditZp);
    auto parsed = parseReal(field.text, true);
    // Only a typed height is stored: passing through the field must not round the height
    // to the one decimal shown.
    if (heightTyped_ && parsed && std::isfinite(*parsed) && std::fabs(*parsed) <= kMaxCoordinate) {
        const float height = static_cast<float>(*parsed);
        window_.at(editC_, editR_) = height;
        edits_[{centreI() + editC_ - kTopoHalf, centreJ() + editR_ - kTopoHalf}] = height;
    }
    field.text = decimals(window_.at(editC_, editR_), 1);
    heightTyped_ = false;
    ctl(AutoBtn).checked = false;
    redrawMap();
}

void TopographyEditorModel::onSelect(const std::string& name) {
    if (name != ComboX && name != ComboY) return;
    const int index = ctl(name).itemIndex;
    if (index >= 0) {
        Control& other = ctl(name == ComboX ? ComboY : ComboX);
        other.itemIndex = PartnerDirection(index);
        other.text = other.items[other.itemIndex];
        changed(other.name);
    }
    setEdgeLabelsEnabled(false);
}

void TopographyEditorModel::onClick(const std::string& name) {
    if (name == NeuBtn || name == Neu1) return newTopography();
    if (name == OpenBtn || name == Oeffnen1) return openTopography();
    if (name == SaveBtn || name == Speichern1) return saveTopography();
    if (name == AktualBtn) return updateMap();
    if (name == OkBtn || name == Schliessen1) {
        closeAndComputeHorizon();
        return;
    }
    if (name == AutoBtn) {
        Control& button = ctl(AutoBtn);
        button.checked = !button.checked;
        if (button.checked && std::abs(editC_ - kTopoHalf) <= kTopoHalf &&
            std::abs(editR_ - kTopoHalf) <= kTopoHalf)
            focused_ = EditZp;
    }
}

// ---------------------------------------------------------------------------
// edit point and pointer

void TopographyEditorModel::selectPoint(int c, int r) {
    editC_ = std::clamp(c, 0, kTopoWindowSize - 1);
    editR_ = std::clamp(r, 0, kTopoWindowSize - 1);
    atLocation_ = false;
    showEditPoint();
}

void TopographyEditorModel::showEditPoint() {
    if (atLocation_) {
        ctl(EditXp).text = std::to_string(static_cast<std::int64_t>(std::nearbyint(x0_)));
        ctl(EditYp).text = std::to_string(static_cast<std::int64_t>(std::nearbyint(y0_)));
    } else {
        ctl(EditXp).text = std::to_string((centreI() + editC_ - kTopoHalf) * grid_.delta);
        ctl(EditYp).text = std::to_string((centreJ() + editR_ - kTopoHalf) * grid_.delta);
    }
    ctl(EditZp).text = decimals(window_.at(editC_, editR_), 1);
    heightTyped_ = false;
}

void TopographyEditorModel::updateEdgeLabels() {
    const std::int64_t d = grid_.delta;
    ctl(LabelWest).caption = Metres((centreI() - kTopoHalf) * d);
    ctl(LabelEast).caption = Metres((centreI() + kTopoHalf) * d);
    ctl(LabelNorth).caption = Metres((centreJ() - kTopoHalf) * d);
    ctl(LabelSouth).caption = Metres((centreJ() + kTopoHalf) * d);
}

void TopographyEditorModel::setEdgeLabelsEnabled(bool enabled) {
    for (const char* name : {LabelWest, LabelEast, LabelNorth, LabelSouth})
        ctl(name).enabled = enabled;
}

void TopographyEditorModel::mapMove(int X, int Y) {
    ctl(LabelX).caption = "x: " + decimals(x0_ + (X - 200) * double(grid_.delta) / 10, 1);
    ctl(LabelY).caption = "y: " + decimals(y0_ + (Y - 200) * double(grid_.delta) / 10, 1);
    changed(LabelX);
}

void TopographyEditorModel::mapClick(int X, int Y) {
    if (X < 0 || Y < 0 || X >= kMapSize || Y >= kMapSize) return;
    const int dx = X - kMapSize / 2;
    const int dy = Y - kMapSize / 2;
    if (dx * dx + dy * dy <= kMarkerRadius * kMarkerRadius) {
        selectPoint(kTopoHalf, kTopoHalf);
        atLocation_ = true;
        showEditPoint();
    } else {
        selectPoint(static_cast<int>(std::nearbyint(X / 10.0)),
                    static_cast<int>(std::nearbyint(Y / 10.0)));
    }
    redrawMap();
    changed();
}

void TopographyEditorModel::mapDoubleClick(int X, int Y) {
    if (X < 0 || Y < 0 || X >= kMapSize || Y >= kMapSize) return;
    focused_ = EditZp;
    changed();
}

void TopographyEditorModel::heightEnter() {
    if (!checked(AutoBtn)) return;
    storeHeight();
    ctl(AutoBtn).checked = true;
    const int lastColumn = std::min(grid_.columns, kTopoWindowSize);
    const int lastRow = std::min(grid_.rows, kTopoWindowSize);
    int c = editC_ + 1;
    int r = editR_;
    if (c >= lastColumn) {
        c = 0;
        ++r;
    }
    if (r >= lastRow) {
        // Done: the edit point stays on the last height stored.
        ctl(AutoBtn).checked = false;
        changed();
        return;
    }
    selectPoint(c, r);
    redrawMap();
    focused_ = EditZp;
    changed();
}

void TopographyEditorModel::heightEscape() {
    ctl(AutoBtn).checked = false;
    changed(AutoBtn);
}

// ---------------------------------------------------------------------------
// drawing

template <typename Grey>
void TopographyEditorModel::drawRelief(Raster& raster, Grey grey) const {
    raster.fill(kWhite);
    for (int r = 1; r < kTopoWindowSize; ++r) {
        for (int c = 1; c < kTopoWindowSize; ++c) {
            const double nw = window_.at(c - 1, r - 1), ne = window_.at(c, r - 1);
            const double sw = window_.at(c - 1, r), se = window_.at(c, r);
            const double D = (nw + ne + sw + se) / 2;
            const Point pnw{10 * (c - 1), 10 * (r - 1)}, pne{10 * c, 10 * (r - 1)};
            const Point psw{10 * (c - 1), 10 * r}, pse{10 * c, 10 * r};
            const Point mid{10 * c - 5, 10 * r - 5};
            struct Triangle {
                Point a, b;
                double za, zb;
                double e, f;
            };
            const Triangle triangles[] = {
                {pnw, pne, nw, ne, D - nw - ne, nw - ne},  // north
                {pnw, psw, nw, sw, sw - nw, nw + sw - D},  // west
                {psw, pse, sw, se, sw + se - D, sw - se},  // south
                {pse, pne, se, ne, se - ne, D - se - ne},  // east
            };
            for (const Triangle& t : triangles) {
                const int g = std::clamp(grey(t, mid, D / 2), 0, 255);
                const Colour colour = Rgb(g, g, g);
                const Point points[] = {t.a, t.b, mid};
                raster.polygon(points, Pen{colour}, Brush{colour});
            }
        }
    }
    const int d = grid_.delta;
    for (int n = 0; n < kTopoWindowSize; ++n) {
        const std::int64_t offset = std::int64_t(n - kTopoHalf) * d;
        const Colour colour = offset % 1000 == 0  ? kBlack
                              : offset % 100 == 0 ? kWhite
                                                  : Colour(0x808080);
        raster.line({0, 10 * n}, {kMapSize, 10 * n}, Pen{colour});
        raster.line({10 * n, 0}, {10 * n, kMapSize}, Pen{colour});
    }
    auto marker = [&](int x, int y, Colour colour) {
        const Rect box{x - kMarkerRadius, y - kMarkerRadius, x + kMarkerRadius + 1,
                       y + kMarkerRadius + 1};
        raster.ellipse(box, Pen{kBlack}, Brush{colour});
    };
    marker(10 * editC_, 10 * editR_, Rgb(255, 255, 0));
    marker(kMapSize / 2, kMapSize / 2, Rgb(255, 0, 0));
}

void TopographyEditorModel::redrawMap() {
    mapsStale_ = true;
}

void TopographyEditorModel::drawMapsIfStale() const {
    if (!mapsStale_) return;
    mapsStale_ = false;
    const int d = grid_.delta;
    drawRelief(map_, [d](const auto& t, Point, double) { return ReliefGrey(t.e, t.f, d); });
    // Lambert shading of each triangle's plane under light from azimuth 315 degrees, 45 degrees
    // high; 10 pixels are one grid distance, y points north
    const double metresPerPixel = d / 10.0;
    const double light[3] = {-0.5, 0.5, std::sqrt(0.5)};
    drawRelief(shadedMap_, [&](const auto& t, Point mid, double zMid) {
        auto vertex = [&](Point p, double z) {
            return std::array<double, 3>{p.x * metresPerPixel, -p.y * metresPerPixel, z};
        };
        const auto a = vertex(t.a, t.za), b = vertex(t.b, t.zb), m = vertex(mid, zMid);
        const double u[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
        const double v[3] = {m[0] - a[0], m[1] - a[1], m[2] - a[2]};
        double n[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2],
                       u[0] * v[1] - u[1] * v[0]};
        const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        if (!(length > 0)) return 255;
        if (n[2] < 0)  // the upward side of the plane
            for (double& x : n) x = -x;
        const double lit = (n[0] * light[0] + n[1] * light[1] + n[2] * light[2]) / length;
        return int(std::lround(255 * std::max(0.0, lit)));
    });
}

void TopographyEditorModel::drawHorizonPicture() {
    DrawTerrainHorizon(horizonPicture_, horizon_);
}

}  // namespace umbrix
