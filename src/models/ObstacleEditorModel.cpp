#include "models/ObstacleEditorModel.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "models/BuildingDialog.h"
#include "models/ComponentNames.h"
#include "models/ConiferDialog.h"
#include "models/DeciduousTreeDialog.h"
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
      coniferDialog_(coniferDialog),
      files_(host) {
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
    add(FitBtn, ControlKind::Button).hint = "Fit all obstacles - Alle Hindernisse einpassen";
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
    files_.setGerman(german);
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
    if (name == FitBtn) return fitToObstacles();
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
    if (name == RadioGrp && !pointer_.pendingClicks()) showModeHint();
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
    if (pointer_.release()) {
        ctl(RadioGrp).enabled = true;
        redraw();
    }
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
    pointer_.forgetHover();
}

void ObstacleEditorModel::setModified() {
    modified_ = true;
}

void ObstacleEditorModel::appendObstacle(const Obstacle& obstacle) {
    rememberForUndo();
    obstacles_.push_back(obstacle);
    updateCount();
    setModified();
    selectObstacle(int(obstacles_.size()) - 1);
}

ObstacleEditorModel::ListState ObstacleEditorModel::listState() const {
    return {obstacles_, selected_,
            main_ ? main_->sourceTakesPart(HorizonSourceKind::Obstacles) : false};
}

void ObstacleEditorModel::restoreList(ListState state) {
    obstacles_ = std::move(state.obstacles);
    updateCount();
    setModified();
    if (main_ && main_->sourceTakesPart(HorizonSourceKind::Obstacles) != state.takesPart) {
        setTakesPart(state.takesPart);
        requireNewTable();
    }
    selectObstacle(state.selected < int(obstacles_.size()) ? state.selected : -1);
}

void ObstacleEditorModel::undo() {
    if (std::optional<ListState> before = history_.undo(listState()))
        restoreList(std::move(*before));
}

void ObstacleEditorModel::redo() {
    if (std::optional<ListState> after = history_.redo(listState())) restoreList(std::move(*after));
}

void ObstacleEditorModel::removeSelected() {
    if (selected_ < 0) return;
    rememberForUndo();
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
    ListState before = listState();
    Obstacle& ob = obstacles_[selected_];
    ObstacleDialog* dialog = &buildingDialog_;
    if (ob.kind == ObstacleKind::Deciduous) dialog = &deciduousDialog_;
    if (ob.kind == ObstacleKind::Conifer) dialog = &coniferDialog_;
    if (!dialog->execute(ob)) return;
    history_.record(std::move(before));
    defaultAlbedo_ = ob.albedo();
    defaultEmission_ = ob.emission();
    setModified();
    redraw();
}

void ObstacleEditorModel::shiftAll(double dx, double dy) {
    if (obstacles_.empty()) return;
    rememberForUndo();
    for (Obstacle& ob : obstacles_) ob.moveAll(dx, dy);
    setModified();
    redraw();
}

void ObstacleEditorModel::rotate() {
    std::optional<double> angle = FieldNumber(text(EditRot));
    ctl(EditRot).text = "0";
    if (!angle || obstacles_.empty()) return;
    rememberForUndo();
    for (Obstacle& ob : obstacles_) ob.rotate(*angle * std::numbers::pi / 180.0);
    setModified();
    redraw();
}

// ---------------------------------------------------------------------------
// scale and map

void ObstacleEditorModel::zoom(bool in) {
    plan_.zoom(in);
    ctl(EditScale).text = general(plan_.scale(), 7);
    redraw();
}

void ObstacleEditorModel::fitToObstacles() {
    if (!plan_.fit(obstacles_)) return;
    ctl(EditScale).text = general(plan_.scale(), 7);
    redraw();
}

void ObstacleEditorModel::applyScale(bool redrawAfter) {
    std::optional<double> typed = FieldNumber(text(EditScale));
    plan_.setScale(typed ? *typed : 1.0);
    ctl(EditScale).text = general(plan_.scale(), 7);
    ctl(EditYardstick).enabled = false;
    if (redrawAfter) redraw();
}

void ObstacleEditorModel::applyYardstick() {
    Control& field = ctl(EditYardstick);
    if (!field.enabled) return;
    std::optional<double> length = FieldNumber(field.text);
    if (length && plan_.setScaleFromYardstick(*length, pointer_.yardstickPixels()))
        ctl(EditScale).text = general(plan_.scale(), 7);
    field.enabled = false;
    if (focus_ == EditYardstick) focus_.clear();
    redraw();
}

void ObstacleEditorModel::importMap() {
    std::optional<ObstacleFiles::Map> map = files_.importMap(plan_.mapFileName(), kPlanSize);
    if (!map) return;
    plan_.setMap(std::move(map->picture), map->path);
    ctl(MoveMapBtn).enabled = true;
    ctl(RemoveMapBtn).enabled = true;
    redraw();
}

void ObstacleEditorModel::removeMap() {
    plan_.removeMap();
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
    if (!obstacles_.empty()) rememberForUndo();
    obstacles_.clear();
    plan_.resetScale();
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

void ObstacleEditorModel::openFile() {
    if (!offerSave()) return;
    // read first: a file that cannot be read leaves the list as it was
    std::optional<ObstacleFiles::Opened> opened = files_.open(defaultAlbedo_, defaultEmission_);
    if (!opened) return;
    obstacles_ = std::move(opened->obstacles);
    // another file's list is no step back from this one
    history_.clear();
    ctl(EditDat).text = FileNameOnly(opened->path);
    updateCount();
    modified_ = false;
    selected_ = -1;
    ctl(EditNr).text = std::to_string(obstacles_.size());
    ctl(CopyObsBtn).enabled = false;
    // a file opens with all its obstacles in view
    if (plan_.fit(obstacles_)) ctl(EditScale).text = general(plan_.scale(), 7);
    redraw();
    setTakesPart(true);
    setShadowsAvailable(true);
    requireNewTable();
    if (!opened->warning.empty()) host().showMessage(opened->warning, MessageKind::Warning);
}

void ObstacleEditorModel::replaceList(std::vector<Obstacle> obstacles, bool takesPart) {
    releaseModes();
    obstacles_ = std::move(obstacles);
    history_.clear();
    updateCount();
    modified_ = false;
    selectObstacle(-1);
    ctl(EditNr).text = std::to_string(obstacles_.size());
    if (plan_.fit(obstacles_)) ctl(EditScale).text = general(plan_.scale(), 7);
    setTakesPart(takesPart && !obstacles_.empty());
    setShadowsAvailable(!obstacles_.empty());
    if (takesPart) buildHorizonPicture();
    requireNewTable();
    redraw();
}

bool ObstacleEditorModel::saveFile() {
    std::optional<TemplateLine> templateLine;
    if (!plan_.mapFileName().empty())
        templateLine = TemplateLine{plan_.mapX(), plan_.mapY(), plan_.scale(), plan_.mapFileName()};
    std::string programCaption =
        main_ && !main_->windowCaption().empty() ? main_->windowCaption() : "Umbrix";
    if (!files_.save(obstacles_, programCaption, templateLine)) return false;
    modified_ = false;
    ctl(EditDat).text = FileNameOnly(files_.fileName());
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

ObstacleScene ObstacleEditorModel::scene() const {
    ObstacleScene scene;
    scene.obstacles = obstacles_;
    const std::optional<double> eye = FieldNumber(text(EditAlt));
    scene.eyeHeight = float(eye ? *eye : 1.0);
    scene.buildings = checked(GebChk);
    scene.deciduous = checked(LaubChk);
    scene.conifers = checked(NadelChk);
    return scene;
}

// ---------------------------------------------------------------------------
// drawing

void ObstacleEditorModel::redraw() {
    ObstaclePlan::Marks marks;
    marks.selected = selected_;
    marks.pending = pointer_.pendingClicks();
    marks.hover = pointer_.hover();
    marks.gridOnTop = checked(GridBtn);
    plan_.draw(obstacles_, marks);
    changed(ObsImg);
}

}  // namespace umbrix
