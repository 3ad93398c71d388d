#include "models/ObstacleEditorModel.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "models/BuildingDialog.h"
#include "models/ComponentNames.h"
#include "models/ConiferDialog.h"
#include "models/DeciduousTreeDialog.h"
#include "platform/Bmp.h"
#include "platform/Error.h"
#include "platform/Format.h"
#include "platform/TextFile.h"

namespace umbrix {

using namespace obstacle_editor;

namespace {

// The speed buttons of the pointer modes and the hint shown while each is down (the add mode's
// hint depends on the kind).
struct PointerMode {
    const char* button;
    const char* hint;
};
constexpr PointerMode kModes[] = {
    {AddObsBtn, ""},
    {RemoveObsBtn,
     "Select obstacles to be removed - Objekte auswählen, die entfernt werden sollen"},
    {MoveLocBtn,
     "Click onto the new destination of the location of calculation - "
     "Klicken, um neuen Berechnungsort festzulegen"},
    {ScaleBtn,
     "Click and draw from start to end of a template yardstick - "
     "Vom Anfang zum Ende eines Maßstabs der Vorlage klicken und ziehen"},
    {MoveMapBtn,
     "Click and draw to move the template map - "
     "Klicken und ziehen, um die Kartenvorlage zu verschieben"},
    {MoveBtn,
     "Click and draw to move the viewframe - "
     "Klicken und ziehen, um Kartenausschnitt zu verschieben"},
};
constexpr const char* kNoFile = "(none - keine)";
constexpr const char* kHintCrown = "Set crown expansion - Baumkronenausdehnung festlegen";
constexpr const char* kHintYardstickEnd =
    "Release mouse button on end of yardstick - Maustaste am Ende des Maßstabs loslassen";

constexpr Colour kGrey = 0x808080;
constexpr Colour kLightGrey = 0xC0C0C0;
constexpr Colour kYellow = 0x00FFFF;
constexpr Colour kDeciduousGreen = 0x008000;
constexpr Colour kConiferTeal = 0x808000;
constexpr Colour kRed = 0x0000FF;

// New obstacles from clicks: a building 10 m high, a tree 10 m high with its crown from 4 m.
constexpr float kNewHeight = 10.0f;
constexpr float kNewTrunkLength = 4.0f;

// A scale at or below zero has no plan, and one beyond a million kilometres per pixel no grid;
// such a scale is refused and the previous one kept.
bool UsableScale(double s) {
    return s > 0 && s <= 1e9;
}

// Keeps plan coordinates of far obstacles within what the drawing can take.
int ClampPixel(double v) {
    return int(std::clamp(v, -1.0e6, 1.0e6));
}

std::string WithPoint(std::string text) {
    std::replace(text.begin(), text.end(), ',', '.');
    return text;
}

// A number typed into a field, "," taken as "."; nothing when it does not convert or is not
// finite.
std::optional<double> FieldNumber(const std::string& text) {
    std::optional<double> v = parseReal(WithPoint(text));
    if (v && !std::isfinite(*v)) return std::nullopt;
    return v;
}

}  // namespace

ObstacleEditorModel::ObstacleEditorModel(Host& host, BuildingDialog& buildingDialog,
                                         DeciduousTreeDialog& deciduousDialog,
                                         ConiferDialog& coniferDialog)
    : FormModel(obstacle_editor::kForm, host),
      buildingDialog_(buildingDialog),
      deciduousDialog_(deciduousDialog),
      coniferDialog_(coniferDialog) {
    caption = "Edit obstacles - Hindernisobjekte bearbeiten";
    for (const char* item : {New1, Open1, Save1, SaveAs1}) add(item, ControlKind::MenuItem);
    ctl(New1).caption = "&New";
    ctl(Open1).caption = "&Open...";
    ctl(Save1).caption = "&Save";
    ctl(SaveAs1).caption = "Save &as...";
    add(CloseBtn, ControlKind::Button, "&Close");
    add(BitBtn1, ControlKind::Button).hint =
        "Remove all obstacles - Alle Hindernisobjekte entfernen";
    add(BitBtn2, ControlKind::Button).hint = "Open obstacles file - Hindernisobjekte-Datei öffnen";
    add(BitBtn3, ControlKind::Button).hint =
        "Save obstacle in file - Hindernisobjekte in Datei speichern";
    add(EditDat, ControlKind::Edit, kNoFile).readOnly = true;

    add(AddObsBtn, ControlKind::SpeedButton).hint =
        "Add new obstacles - Neue Hindernisobjekte hinzufügen";
    add(RemoveObsBtn, ControlKind::SpeedButton).hint =
        "Remove obstacles - Hindernisobjekte entfernen";
    add(MoveLocBtn, ControlKind::SpeedButton).hint = "Move location - Standort verschieben";
    add(ScaleBtn, ControlKind::SpeedButton).hint = "Set yardstick - Maßstab festlegen";
    Control& moveMap = add(MoveMapBtn, ControlKind::SpeedButton);
    moveMap.hint = "Move template map - Vorlagenplan verschieben";
    moveMap.enabled = false;
    add(MoveBtn, ControlKind::SpeedButton).hint = "Move everything - Alles verschieben";
    add(GridBtn, ControlKind::SpeedButton).hint =
        "Put grid into foreground - Gitterlinien in Vordergrund stellen";

    Control& kind = add(RadioGrp, ControlKind::RadioGroup);
    kind.items = {"Building", "Deciduous tree", "Coniferous tree"};
    kind.itemIndex = 0;
    Control& nr = add(EditNr, ControlKind::Edit, "0");
    nr.minimum = 0;
    nr.maximum = 0;
    add(EditObsBtn, ControlKind::Button, "Edit");
    add(CopyObsBtn, ControlKind::Button, "Copy").enabled = false;
    add(PasteObsBtn, ControlKind::Button, "Paste").enabled = false;
    add(EditRot, ControlKind::Edit, "0");
    add(RotateBtn, ControlKind::Button, "Rotate");
    add(ZoomInBtn, ControlKind::Button, "Zoom in");
    add(ZoomOutBtn, ControlKind::Button, "Zoom out");
    add(EditScale, ControlKind::Edit, "1");
    add(EditYardstick, ControlKind::Edit).enabled = false;
    add(ApplyButton, ControlKind::Button, "Apply");
    add(NewMapBtn, ControlKind::Button).hint =
        "Import map image as template - Plan als Vorlage importieren";
    add(RemoveMapBtn, ControlKind::Button).enabled = false;
    add(EditAlt, ControlKind::Edit, "1.00");
    for (const char* box : {GebChk, LaubChk, NadelChk})
        add(box, ControlKind::CheckBox, "in calculation").checked = true;
    add(LabelX, ControlKind::Label, "x: ");
    add(LabelY, ControlKind::Label, "y: ");
    add(StatusBar1, ControlKind::Label);
    add(ObsImg, ControlKind::Other);
    add(MapImg, ControlKind::Other);
    redraw();
}

ObstacleEditorModel::~ObstacleEditorModel() = default;

void ObstacleEditorModel::setGerman(bool german) {
    german_ = german;
    ctl(RadioGrp).items =
        german ? std::vector<std::string>{"Gebäude", "Laubbaum", "Nadelbaum"}
               : std::vector<std::string>{"Building", "Deciduous tree", "Coniferous tree"};
    for (ObstacleDialog* d : std::initializer_list<ObstacleDialog*>{
             &buildingDialog_, &deciduousDialog_, &coniferDialog_})
        d->setGerman(german);
    changed();
}

// ---------------------------------------------------------------------------
// main window

void ObstacleEditorModel::setTakesPart(bool takesPart) {
    if (main_) main_->setSourceTakesPart(HorizonSourceKind::Obstacles, takesPart);
}

void ObstacleEditorModel::setShadowsAvailable(bool available) {
    if (main_) main_->setShadowsAvailable(available);
}

void ObstacleEditorModel::requireNewTable() {
    if (main_) main_->requireNewTable();
}

// ---------------------------------------------------------------------------
// handlers

void ObstacleEditorModel::onClick(const std::string& name) {
    for (const PointerMode& mode : kModes)
        if (name == mode.button) return chooseMode(name);
    if (name == GridBtn) {
        Control& grid = ctl(GridBtn);
        grid.checked = !grid.checked;
        return redraw();
    }
    if (name == LaubChk || name == GebChk || name == NadelChk) return;
    // every other command first releases the mode buttons
    releaseModes();
    if (name == New1 || name == BitBtn1) return newList();
    if (name == Open1 || name == BitBtn2) return openFile();
    if (name == Save1 || name == SaveAs1 || name == BitBtn3) {
        saveFile();
        return;
    }
    if (name == CloseBtn) return close();
    if (name == EditObsBtn) return edit();
    if (name == CopyObsBtn) return copyObstacle();
    if (name == PasteObsBtn) return pasteObstacle();
    if (name == RotateBtn) return rotate();
    if (name == ZoomInBtn) return zoom(true);
    if (name == ZoomOutBtn) return zoom(false);
    if (name == ApplyButton) return applyScale(true);
    if (name == NewMapBtn) return importMap();
    if (name == RemoveMapBtn) return removeMap();
}

void ObstacleEditorModel::onExit(const std::string& name) {
    if (name == EditAlt) {
        std::optional<double> v = FieldNumber(text(EditAlt));
        ctl(EditAlt).text = v ? decimals(*v, 2) : "1.00";
    } else if (name == EditRot) {
        Control& rot = ctl(EditRot);
        rot.text = FieldNumber(rot.text) ? WithPoint(rot.text) : "0";
    } else if (name == EditScale) {
        applyScale(false);
    } else if (name == EditYardstick) {
        applyYardstick();
    } else if (name == EditNr) {
        if (!parseInt(text(EditNr))) ctl(EditNr).text = "0";
        onChange(EditNr);
    }
}

void ObstacleEditorModel::onChange(const std::string& name) {
    if (name != EditNr) return;
    std::optional<int> n = parseInt(text(EditNr));
    if (!n) return;  // the exit rule replaces an unreadable number
    int count = int(obstacles_.size());
    int chosen = std::clamp(*n, 0, count);
    selectObstacle(chosen - 1);
}

void ObstacleEditorModel::onSelect(const std::string& name) {
    if (name == RadioGrp && !pending_) showModeHint();
}

// ---------------------------------------------------------------------------
// modes

std::string ObstacleEditorModel::mode() const {
    for (const PointerMode& m : kModes)
        if (checked(m.button)) return m.button;
    return {};
}

void ObstacleEditorModel::setHint(const std::string& hint) {
    ctl(StatusBar1).caption = hint;
}

void ObstacleEditorModel::releaseModes() {
    for (const PointerMode& m : kModes) ctl(m.button).checked = false;
    if (pending_) {
        pending_.reset();
        ctl(RadioGrp).enabled = true;
        redraw();
    }
    pressed_ = false;
    setHint("");
}

void ObstacleEditorModel::chooseMode(const std::string& button) {
    bool wasDown = ctl(button).checked;
    releaseModes();
    // pressing Remove removes at once and releases the button
    if (button == RemoveObsBtn) return removeSelected();
    if (wasDown) return;  // a second click releases the button
    ctl(button).checked = true;
    showModeHint();
}

void ObstacleEditorModel::showModeHint() {
    std::string m = mode();
    if (m == AddObsBtn)
        return setHint(ctl(RadioGrp).itemIndex == 0
                           ? "Set building corner position - Hauseckenposition festlegen"
                           : "Set trunc position - Baumstammposition festlegen");
    for (const PointerMode& p : kModes)
        if (m == p.button) return setHint(p.hint);
    setHint("");
}

// ---------------------------------------------------------------------------
// list

void ObstacleEditorModel::selectObstacle(int index, int handle) {
    selected_ = index;
    selectedHandle_ = handle;
    ctl(EditNr).text = std::to_string(index + 1);
    ctl(CopyObsBtn).enabled = index >= 0;
    redraw();
}

void ObstacleEditorModel::updateCount() {
    ctl(EditNr).maximum = int(obstacles_.size());
    hover_.reset();
}

void ObstacleEditorModel::setModified() {
    modified_ = true;
}

void ObstacleEditorModel::appendObstacle(const Obstacle& obstacle) {
    obstacles_.push_back(obstacle);
    updateCount();
    setModified();
    selectObstacle(int(obstacles_.size()) - 1);
}

void ObstacleEditorModel::removeSelected() {
    if (selected_ < 0) return;
    obstacles_.erase(obstacles_.begin() + selected_);
    updateCount();
    setModified();
    selectObstacle(-1);
}

void ObstacleEditorModel::copyObstacle() {
    if (selected_ < 0) return;
    clipboard_ = obstacles_[selected_];
    ctl(PasteObsBtn).enabled = true;
}

void ObstacleEditorModel::pasteObstacle() {
    if (clipboard_) appendObstacle(*clipboard_);
}

void ObstacleEditorModel::edit() {
    if (selected_ < 0) return;
    Obstacle& ob = obstacles_[selected_];
    ObstacleDialog* dialog = &buildingDialog_;
    if (ob.kind == ObstacleKind::Deciduous) dialog = &deciduousDialog_;
    if (ob.kind == ObstacleKind::Conifer) dialog = &coniferDialog_;
    if (!dialog->execute(ob)) return;
    defaultAlbedo_ = ob.albedo();
    defaultEmission_ = ob.emission();
    setModified();
    redraw();
}

void ObstacleEditorModel::shiftAll(double dx, double dy) {
    if (obstacles_.empty()) return;
    for (Obstacle& ob : obstacles_) ob.moveAll(dx, dy);
    setModified();
    redraw();
}

void ObstacleEditorModel::rotate() {
    std::optional<double> angle = FieldNumber(text(EditRot));
    ctl(EditRot).text = "0";
    if (!angle || obstacles_.empty()) return;
    for (Obstacle& ob : obstacles_) ob.rotate(*angle * std::numbers::pi / 180.0);
    setModified();
    redraw();
}

// ---------------------------------------------------------------------------
// scale and map

void ObstacleEditorModel::zoom(bool in) {
    if (in && scale_ > 0.05) {
        scale_ /= 2;
        mapZoom_ /= 2;
    } else if (!in && scale_ < 20) {
        scale_ *= 2;
        mapZoom_ *= 2;
    }
    ctl(EditScale).text = general(scale_, 7);
    redraw();
}

void ObstacleEditorModel::applyScale(bool redrawAfter) {
    std::optional<double> typed = FieldNumber(text(EditScale));
    double s = typed ? *typed : 1.0;
    if (UsableScale(s)) {
        mapZoom_ *= s / scale_;
        scale_ = s;
    }
    ctl(EditScale).text = general(scale_, 7);
    ctl(EditYardstick).enabled = false;
    if (redrawAfter) redraw();
}

void ObstacleEditorModel::applyYardstick() {
    Control& field = ctl(EditYardstick);
    if (!field.enabled) return;
    std::optional<double> length = FieldNumber(field.text);
    if (length && yardstickPixels_ > 0 && UsableScale(*length / yardstickPixels_)) {
        mapZoom_ = scale_;
        scale_ = *length / yardstickPixels_;
        ctl(EditScale).text = general(scale_, 7);
    }
    field.enabled = false;
    if (focus_ == EditYardstick) focus_.clear();
    redraw();
}

void ObstacleEditorModel::importMap() {
    FileDialogOptions options;
    options.title = german_ ? "Kartenvorlage importieren" : "Import map image";
    options.filter =
        "Pictures (*.bmp;*.svg)|*.bmp;*.svg|Bitmaps (*.bmp)|*.bmp|"
        "Vector pictures (*.svg)|*.svg";
    options.defaultExt = "bmp";
    options.fileName = mapFileName_;
    std::optional<std::string> path = host().openFileDialog(options);
    if (!path) return;
    Raster loaded;
    std::string lower = *path;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    if (lower.size() >= 4 && lower.compare(lower.size() - 4, 4, ".svg") == 0) {
        loaded.reset(4 * kPlanSize, 4 * kPlanSize);
        std::string error;
        if (!host().renderVectorFile(*path, loaded, error)) {
            host().showMessage(error, MessageKind::Error);
            return;
        }
    } else {
        loaded = ReadBmp(*path);  // throws FileError naming the file
    }
    map_ = std::move(loaded);
    mapFileName_ = *path;
    mapX_ = mapY_ = 200;
    ctl(MoveMapBtn).enabled = true;
    ctl(RemoveMapBtn).enabled = true;
    redraw();
}

void ObstacleEditorModel::removeMap() {
    map_ = Raster();
    mapX_ = mapY_ = 200;
    mapZoom_ = 1;
    ctl(MoveMapBtn).enabled = false;
    ctl(RemoveMapBtn).enabled = false;
    redraw();
}

// ---------------------------------------------------------------------------
// files

bool ObstacleEditorModel::offerSave() {
    if (!modified_) return true;
    const Answer answer = host().ask(german_ ? "\u00c4nderungen an den Hindernisobjekten speichern?"
                                             : "Save the changes to the obstacles?",
                                     true);
    if (answer == Answer::No) return true;
    // Cancel, here or in the save dialog, keeps everything as it was
    if (answer == Answer::Cancel || !saveFile()) return false;
    setTakesPart(true);
    return true;
}

void ObstacleEditorModel::newList() {
    if (!offerSave()) return;
    obstacles_.clear();
    scale_ = 1;
    mapZoom_ = 1;
    ctl(EditScale).text = "1";
    ctl(EditDat).text = kNoFile;
    modified_ = false;
    updateCount();
    removeMap();
    setTakesPart(false);
    setShadowsAvailable(false);
    requireNewTable();
    selectObstacle(-1);
}

// The open and save dialogs share the filter and remember the last file.
FileDialogOptions ObstacleEditorModel::fileDialog(const std::string& title) const {
    FileDialogOptions options;
    options.title = title;
    options.filter = std::string(german_ ? "Hindernisobjekt-Dateien" : "Obstacle files") + "|*.obs";
    options.defaultExt = "obs";
    options.fileName = fileName_;
    return options;
}

void ObstacleEditorModel::openFile() {
    if (!offerSave()) return;
    FileDialogOptions options =
        fileDialog(german_ ? "Hindernisobjekt-Datei öffnen" : "Open obstacle file");
    std::optional<std::string> path = host().openFileDialog(options);
    if (!path) return;
    // read first: a file that cannot be read leaves the list as it was
    const std::string text = ReadTextFile(*path, std::size_t(64) << 20);
    if (text.rfind("\xFF\xFE", 0) == 0 || text.rfind("\xFE\xFF", 0) == 0)
        throw FileError("cannot open \"" + *path + "\": it is in UTF-16; save it as UTF-8");
    ObstacleFileContent content = ParseObstacleFile(text, defaultAlbedo_, defaultEmission_);
    if (content.obstacles.empty() &&
        (!content.hasContent || content.otherLines > 0 || content.droppedLines > 0)) {
        std::string why = "it is empty";
        if (content.droppedLines > 0)
            why = "no obstacle line can be read (line " + std::to_string(content.firstDroppedLine) +
                  ": " + content.firstDropReason + ")";
        else if (content.otherLines > 0)
            why = "it holds no obstacle lines (line " + std::to_string(content.firstOtherLine) +
                  " is none)";
        throw FileError("cannot open \"" + *path + "\" as an obstacle file: " + why);
    }
    obstacles_ = std::move(content.obstacles);
    fileName_ = *path;
    ctl(EditDat).text = FileNameOnly(*path);
    updateCount();
    modified_ = false;
    selected_ = -1;
    ctl(EditNr).text = std::to_string(obstacles_.size());
    ctl(CopyObsBtn).enabled = false;
    redraw();
    setTakesPart(true);
    setShadowsAvailable(true);
    requireNewTable();
    if (content.droppedLines > 0) {
        std::string n = std::to_string(content.droppedLines);
        std::string line = std::to_string(content.firstDroppedLine);
        host().showMessage(
            german_ ? FileNameOnly(*path) + ": " + n +
                          " Hindernisobjekt-Zeile(n) nicht lesbar und übergangen (erste: Zeile " +
                          line + ", " + content.firstDropReason + ")"
                    : FileNameOnly(*path) + ": " + n +
                          " obstacle line(s) could not be read and were skipped (first: line " +
                          line + ", " + content.firstDropReason + ")",
            MessageKind::Warning);
    }
}

bool ObstacleEditorModel::saveFile() {
    FileDialogOptions options =
        fileDialog(german_ ? "Hindernisobjekte speichern" : "Save obstacles");
    std::optional<std::string> path = host().saveFileDialog(options);
    if (!path) return false;
    std::optional<TemplateLine> templateLine;
    if (!mapFileName_.empty()) templateLine = TemplateLine{mapX_, mapY_, scale_, mapFileName_};
    std::string programCaption =
        main_ && !main_->windowCaption().empty() ? main_->windowCaption() : "Umbrix";
    WriteTextFileAtomic(*path, FormatObstacleFile(obstacles_, programCaption, templateLine));
    fileName_ = *path;
    modified_ = false;
    ctl(EditDat).text = FileNameOnly(*path);
    return true;
}

// ---------------------------------------------------------------------------
// closing and projection

void ObstacleEditorModel::close() {
    if (!offerSave()) return;  // the editor stays open with everything as it was
    releaseModes();
    buildHorizonPicture();
    hide();
}

void ObstacleEditorModel::buildHorizonPicture() {
    std::optional<double> alt = FieldNumber(text(EditAlt));
    ProjectionSettings settings;
    settings.z0 = float(alt ? *alt : 1.0);
    settings.buildings = checked(GebChk);
    settings.deciduous = checked(LaubChk);
    settings.conifers = checked(NadelChk);

    std::vector<ProjectedShape> previous = std::move(shapes_);
    shapes_.clear();
    if (!main_ || main_->sourceTakesPart(HorizonSourceKind::Obstacles)) {
        std::vector<std::size_t> order = SortForProjection(obstacles_);
        if (selected_ >= 0) {
            auto it = std::find(order.begin(), order.end(), std::size_t(selected_));
            selectObstacle(int(it - order.begin()), selectedHandle_);
        }
        shapes_ = ProjectObstacles(obstacles_, settings, [this] { host().processMessages(); });
    }
    horizon_ = RenderObstacleHorizon(shapes_);
    // a different obstacle horizon makes the table's header stale
    if (shapes_ != previous) requireNewTable();
}

// ---------------------------------------------------------------------------
// pointer

Point ObstacleEditorModel::planPoint(double x, double y) const {
    return {kPlanCentre + ClampPixel(std::nearbyint(x / scale_)),
            kPlanCentre - ClampPixel(std::nearbyint(y / scale_))};
}

std::optional<std::pair<int, int>> ObstacleEditorModel::hitTest(int X, int Y) const {
    double x = groundX(X), y = groundY(Y);
    for (std::size_t i = 0; i < obstacles_.size(); ++i) {
        const Obstacle& ob = obstacles_[i];
        for (int h = 1; h <= ob.handleCount(); ++h)
            if (std::abs(x - ob.handleX(h)) <= scale_ && std::abs(y - ob.handleY(h)) <= scale_)
                return std::pair{int(i), h};
    }
    return std::nullopt;
}

void ObstacleEditorModel::mouseDown(int X, int Y, MouseButton button) {
    pressed_ = true;
    pressButton_ = button;
    press_ = {X, Y};
    pressMapX_ = mapX_;
    pressMapY_ = mapY_;
    std::string m = mode();
    if (m.empty()) {
        if (auto hit = hitTest(X, Y))
            selectObstacle(hit->first, hit->second);
        else
            selectObstacle(-1);
    } else if (m == ScaleBtn) {
        setHint(kHintYardstickEnd);
    }
}

void ObstacleEditorModel::mouseMove(int X, int Y) {
    ctl(LabelX).caption = "x: " + decimals(groundX(X), 2);
    ctl(LabelY).caption = "y: " + decimals(groundY(Y), 2);
    std::string m = mode();
    if (pressed_ && m == MoveMapBtn) {
        // the map moves with the pointer, so its centre pixel moves against it
        mapX_ = ClampPixel(pressMapX_ - std::nearbyint((X - press_.x) * mapZoom_));
        mapY_ = ClampPixel(pressMapY_ - std::nearbyint((Y - press_.y) * mapZoom_));
        drawMapView();
        changed(MapImg);
        return;
    }
    if (m == AddObsBtn || m == MoveMapBtn) return;
    std::optional<std::pair<int, int>> hit = hitTest(X, Y);
    if (hit == hover_) return;
    hover_ = hit;
    redraw();
}

void ObstacleEditorModel::mouseUp(int X, int Y, MouseButton button) {
    if (!pressed_) return;
    pressed_ = false;
    double dx = (X - press_.x) * scale_, dy = (press_.y - Y) * scale_;
    std::string m = mode();
    if (m.empty()) {
        if (selected_ < 0) return;
        if (button == MouseButton::Left)
            obstacles_[selected_].moveAll(dx, dy);
        else
            obstacles_[selected_].moveHandle(selectedHandle_, dx, dy);
        setModified();
        redraw();
    } else if (m == AddObsBtn) {
        addClick({X, Y});
    } else if (m == MoveLocBtn) {
        shiftAll(-groundX(X), -groundY(Y));
    } else if (m == MoveBtn) {
        shiftAll(-dx, -dy);
    } else if (m == ScaleBtn) {
        double length = std::hypot(double(X - press_.x), double(Y - press_.y));
        releaseModes();
        // a yardstick over no distance gives no scale
        if (length == 0) return;
        yardstickPixels_ = length;
        Control& field = ctl(EditYardstick);
        field.text = general(length * scale_, 7);
        field.enabled = true;
        focus_ = EditYardstick;
        defaultButton_ = ApplyButton;
    } else if (m == MoveMapBtn) {
        redraw();
    }
}

void ObstacleEditorModel::doubleClick() {
    // In a pointer mode the second click of a double click is just a click: placing corners
    // quickly must neither lose one nor open the dialog of the obstacle selected before.
    if (!mode().empty()) return;
    pressed_ = false;
    if (selected_ >= 0) edit();
}

void ObstacleEditorModel::addClick(Point p) {
    if (!pending_) {
        int kindIndex = ctl(RadioGrp).itemIndex;
        pending_ = PendingAdd{kindIndex == 1   ? ObstacleKind::Deciduous
                              : kindIndex == 2 ? ObstacleKind::Conifer
                                               : ObstacleKind::Building,
                              {}};
        ctl(RadioGrp).enabled = false;
    }
    pending_->clicks.push_back(p);
    const std::vector<Point>& c = pending_->clicks;
    Obstacle ob;
    ob.kind = pending_->kind;
    if (ob.isBuilding()) {
        if (c.size() < 4) return redraw();
        for (int k = 1; k <= 4; ++k) {
            float x = float(groundX(c[k - 1].x)), y = float(groundY(c[k - 1].y));
            ob.setCorner(k, x, y, kNewHeight);
            ob.setCorner(k + 4, x, y, 0.0f);
        }
    } else {
        if (c.size() < 2) {
            setHint(kHintCrown);
            return redraw();
        }
        float r = float(std::hypot(double(c[1].x - c[0].x), double(c[1].y - c[0].y)) * scale_);
        ob = MakeTree(ob.kind, float(groundX(c[0].x)), float(groundY(c[0].y)), kNewHeight, r,
                      kNewTrunkLength, r / 10, 0, 0);
    }
    ob.setAlbedo(defaultAlbedo_);
    ob.setEmission(defaultEmission_);
    pending_.reset();
    ctl(RadioGrp).enabled = true;
    showModeHint();
    appendObstacle(ob);
}

// ---------------------------------------------------------------------------
// drawing

Raster ObstacleEditorModel::composedView() const {
    Raster out = mapView_;
    out.drawRaster(out.bounds(), plan_, true);
    return out;
}

void ObstacleEditorModel::drawMapView() {
    mapView_.reset(kPlanSize, kPlanSize);
    if (map_.empty()) return;
    for (int Y = 0; Y < kPlanSize; ++Y) {
        int sy = ClampPixel(mapY_ + std::nearbyint((Y - kPlanCentre) * mapZoom_));
        Colour* row = mapView_.row(Y);
        for (int X = 0; X < kPlanSize; ++X)
            row[X] =
                map_.pixel(ClampPixel(mapX_ + std::nearbyint((X - kPlanCentre) * mapZoom_)), sy);
    }
}

void ObstacleEditorModel::drawGrid() {
    double e0 = kPlanCentre * scale_;
    int a = int(std::trunc(std::log10(e0)));
    double unit = std::pow(10.0, a);
    int c = int(std::trunc(e0 / unit));
    double extent = c * unit;
    double coarse = unit / scale_;
    double q = c == 1 ? coarse / 5 : (c >= 2 && c <= 5 ? coarse / 2 : coarse);
    Pen fine{kGrey};
    Pen black{kBlack};
    auto lines = [this](double step, int from, int to, const Pen& pen) {
        for (int k = from; k <= to; ++k) {
            int at = kPlanCentre + ClampPixel(std::nearbyint(k * step));
            plan_.line({at, 0}, {at, kPlanSize}, pen);
            plan_.line({0, at}, {kPlanSize, at}, pen);
        }
    };
    int nFine = int(std::trunc(kPlanCentre / q));
    lines(q, -nFine, nFine, fine);
    lines(coarse, -c, c, black);
    plan_.rectangle(Rect{0, 0, kPlanSize, kPlanSize}, black, Brush{kWhite, BrushStyle::Clear});
    std::string plus = general(extent, 5) + " m", minus = general(-extent, 5) + " m";
    int offset = ClampPixel(std::nearbyint(extent / scale_));
    constexpr double kTextHeight = 10;
    int h = int(kTextHeight);
    auto clampX = [](int x, const std::string& s) {
        return std::clamp(x, 2, kPlanSize - 2 - TextWidth(s, kTextHeight));
    };
    plan_.text({clampX(kPlanCentre + offset - TextWidth(plus, kTextHeight) / 2, plus), 2}, plus,
               kBlack, kTextHeight);
    plan_.text({clampX(kPlanCentre - offset - TextWidth(minus, kTextHeight) / 2, minus), 2}, minus,
               kBlack, kTextHeight);
    // the labels of the y axis keep clear of the x axis labels along the top edge
    const int top = 2 + h + 4;
    plan_.text({2, std::clamp(kPlanCentre - offset - h / 2, top, kPlanSize - 2 - h)}, plus, kBlack,
               kTextHeight);
    plan_.text({2, std::clamp(kPlanCentre + offset - h / 2, top, kPlanSize - 2 - h)}, minus, kBlack,
               kTextHeight);
}

void ObstacleEditorModel::drawObstacle(const Obstacle& ob, bool selected) {
    Pen pen{kBlack};
    if (ob.isBuilding()) {
        Brush brush{selected ? kYellow : kLightGrey};
        std::array<Point, 4> bottom, top;
        for (int k = 1; k <= 4; ++k) {
            Point3 t = ob.corner(k), b = ob.corner(k + 4);
            top[k - 1] = planPoint(t.x, t.y);
            bottom[k - 1] = planPoint(b.x, b.y);
        }
        plan_.polygon(bottom, pen, brush);
        for (int k = 0; k < 4; ++k) plan_.polyline(std::array<Point, 2>{bottom[k], top[k]}, pen);
        plan_.polygon(top, pen, brush);
        return;
    }
    Colour fill = selected                             ? kYellow
                  : ob.kind == ObstacleKind::Deciduous ? kDeciduousGreen
                                                       : kConiferTeal;
    Point centre = planPoint(ob.x(), ob.y());
    int r = ClampPixel(std::nearbyint(std::abs(ob.crownRadius()) / scale_));
    plan_.ellipse(Rect{centre.x - r, centre.y - r, centre.x + r, centre.y + r}, pen, Brush{fill});
    plan_.setPixel(centre.x, centre.y, kBlack);
}

void ObstacleEditorModel::redraw() {
    drawMapView();
    plan_.reset(kPlanSize, kPlanSize);
    bool gridOnTop = checked(GridBtn);
    if (!gridOnTop) drawGrid();
    for (const Obstacle& ob : obstacles_) drawObstacle(ob, false);
    if (selected_ >= 0 && selected_ < int(obstacles_.size()))
        drawObstacle(obstacles_[selected_], true);
    if (pending_ && pending_->clicks.size() > 1) plan_.polyline(pending_->clicks, Pen{kBlack});
    plan_.ellipse(Rect{197, 197, 204, 204}, Pen{kRed}, Brush{kRed});
    if (gridOnTop) drawGrid();
    if (hover_ && hover_->first < int(obstacles_.size())) {
        const Obstacle& ob = obstacles_[hover_->first];
        Point p = planPoint(ob.handleX(hover_->second), ob.handleY(hover_->second));
        plan_.ellipse(Rect{p.x - 5, p.y - 5, p.x + 5, p.y + 5},
                      Pen{kBlack, 1, PenStyle::Solid, PenMode::Invert},
                      Brush{kWhite, BrushStyle::Clear});
    }
    changed(ObsImg);
}

}  // namespace umbrix
