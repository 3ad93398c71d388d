#include "models/HorizonEditorModel.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <numbers>

#include "models/ComponentNames.h"
#include "models/RangeMessages.h"
#include "platform/Bmp.h"
#include "platform/Error.h"
#include "platform/Format.h"

namespace umbrix {

using namespace horizon_editor;

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr int kFillLimit = 479;  // the fill stays in columns and rows 0 .. 479
constexpr int kFillDistance = 64;
constexpr const char* kToolGroup[] = {SpeedButton1, SpeedButton2, FillBtn, FillPickBtn, CutPickBtn};
// Disabled while a map is shown. The fill, pick, cut and monochrome controls stay usable:
// they release the map display themselves.
constexpr const char* kDrawGroup[] = {SpeedButton1, SpeedButton2, SelBtn, EditA, EditE};

int ColourDistance(Colour a, Colour b) {
    return std::abs(RedOf(a) - RedOf(b)) + std::abs(GreenOf(a) - GreenOf(b)) +
           std::abs(BlueOf(a) - BlueOf(b));
}

int ByteOf(double share) {
    return static_cast<int>(std::nearbyint(share * 255));
}

}  // namespace

double ScreenAngle(Point p) {
    return std::atan2(double(p.y - kHorizonCentre), double(p.x - kHorizonCentre));
}

Point HorizonCirclePoint(double theta) {
    return {kHorizonCentre + static_cast<int>(std::nearbyint(kHorizonRadius * std::cos(theta))),
            kHorizonCentre + static_cast<int>(std::nearbyint(kHorizonRadius * std::sin(theta)))};
}

bool InsideHorizonCircle(Point p) {
    const int dx = p.x - kHorizonCentre;
    const int dy = p.y - kHorizonCentre;
    return dx * dx + dy * dy <= kHorizonRadius * kHorizonRadius;
}

std::vector<Point> HorizonClosingPoints(double theta0, double theta1) {
    if (theta1 - theta0 < 0) theta1 += kTwoPi;
    const int n = static_cast<int>(std::trunc((theta1 - theta0) / kTwoPi * 100)) + 2;
    std::vector<Point> out;
    out.reserve(n);
    for (int k = 0; k < n; ++k) {
        const double t = double(k) / (n - 1);
        out.push_back(HorizonCirclePoint(theta1 * (1 - t) + theta0 * t));
    }
    return out;
}

Colour AlbedoColour(double albedo) {
    return Rgb(0, ByteOf(albedo), 0);
}
Colour EmissionColour(double emission) {
    return Rgb(ByteOf(emission), 0, 0);
}

std::size_t FloodFillHorizon(HorizonPictures& pictures, Point seed, Colour brush, Colour albedo,
                             Colour emission, const std::function<void()>& step) {
    Raster& drawing = pictures.drawing;
    if (seed.x < 0 || seed.y < 0 || seed.x > kFillLimit || seed.y > kFillLimit ||
        seed.x >= drawing.width() || seed.y >= drawing.height())
        return 0;
    const Colour c0 = drawing.pixel(seed.x, seed.y);
    const int side = kFillLimit + 1;
    std::vector<std::uint8_t> filled(std::size_t(side) * side, 0);
    auto joins = [&](int x, int y) {
        return x >= 0 && y >= 0 && x <= kFillLimit && y <= kFillLimit && x < drawing.width() &&
               y < drawing.height() && !filled[std::size_t(y) * side + x] &&
               ColourDistance(drawing.pixel(x, y), c0) <= kFillDistance;
    };
    auto paint = [&](int x, int y) {
        filled[std::size_t(y) * side + x] = 1;
        drawing.setPixel(x, y, brush);
        pictures.albedo.setPixel(x, y, albedo);
        pictures.emission.setPixel(x, y, emission);
    };
    constexpr int kDx[] = {1, -1, 0, 0};  // right, left, down, up
    constexpr int kDy[] = {0, 0, 1, -1};
    std::vector<Point> stack;
    stack.push_back(seed);
    paint(seed.x, seed.y);
    std::size_t painted = 1;
    std::size_t steps = 0;
    while (!stack.empty()) {
        const Point p = stack.back();
        bool moved = false;
        for (int n = 0; n < 4; ++n) {
            const int x = p.x + kDx[n], y = p.y + kDy[n];
            if (joins(x, y)) {
                paint(x, y);
                ++painted;
                stack.push_back({x, y});
                moved = true;
                break;
            }
        }
        if (!moved) stack.pop_back();
        // Handing control to the user interface at every single step would cost more than
        // the fill itself; every few thousand steps keeps it just as responsive.
        if (step && ++steps % 4096 == 0) step();
    }
    return painted;
}

void CutOffBright(HorizonPictures& pictures, Colour cutoff, const std::function<void()>& row) {
    const int W = pictures.drawing.width(), H = pictures.drawing.height();
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            const Colour c = pictures.drawing.pixel(x, y);
            const double u = 2.0 * x / W - 1, v = 2.0 * y / H - 1;
            const bool bright = RedOf(c) >= RedOf(cutoff) && GreenOf(c) >= GreenOf(cutoff) &&
                                BlueOf(c) >= BlueOf(cutoff);
            if (bright || u * u + v * v > 1) {
                pictures.drawing.setPixel(x, y, kWhite);
                pictures.albedo.setPixel(x, y, kWhite);
                pictures.emission.setPixel(x, y, kWhite);
            }
        }
        if (row) row();
    }
}

void MakeMonochrome(Raster& drawing) {
    for (int y = 0; y < drawing.height(); ++y) {
        Colour* line = drawing.row(y);
        for (int x = 0; x < drawing.width(); ++x)
            if (line[x] != kWhite) line[x] = kBlack;
    }
}

// ---------------------------------------------------------------------------

HorizonEditorModel::HorizonEditorModel(Host& host, MainWindowLink& mainWindow)
    : FormModel(horizon_editor::kForm, host), main_(mainWindow) {
    buildControls();
    setMainCaption(main_.windowCaption());
    // The empty drawing of the start is undoable, as after New; the main window's items are
    // left as the session made them.
    pushUndo();
}

void HorizonEditorModel::setMainCaption(const std::string& mainCaption) {
    caption = "Edit free sky view factor - Horizonteinengung frei zeichnen";
    if (!mainCaption.empty()) caption += " - " + mainCaption;
}

void HorizonEditorModel::buildControls() {
    add(Shape2, ControlKind::Other).hint = "Brush color - Zeichenfarbe";
    add(EditA, ControlKind::Edit, "0.3");
    add(EditE, ControlKind::Edit, "0.95");
    for (const char* name : {TrackBar1, TrackBar2, TrackBar3}) {
        Control& bar = add(name, ControlKind::TrackBar);
        bar.minimum = 0;
        bar.maximum = 255;
        bar.position = 32;
    }
    add(Shape1, ControlKind::Other).hint =
        "Color of selected RGB value - Farbe des ausgewählten RGB-Werts";
    add(SpeedButton1, ControlKind::SpeedButton).hint =
        "Limitation to the edge of horizon - Einschränkung bis zum Horizontrand";
    ctl(SpeedButton1).checked = true;
    add(SpeedButton2, ControlKind::SpeedButton).hint =
        "Limitation not to the edge of horizon - Einschränkung nicht bis zum Horizontrand";
    add(FillBtn, ControlKind::SpeedButton).hint = "Fill color - Farbe füllen";
    for (const char* name : {FillPickBtn, CutPickBtn})
        add(name, ControlKind::SpeedButton).hint =
            "Pick color from image - Farbe direkt vom Bild auswählen";
    add(NeuBtn, ControlKind::Button).hint = "New horizon limitation - Neue Horizonteinschränkung";
    add(OeffnenBtn, ControlKind::Button).hint =
        "Open horizon limitation - Horizonteinschränkung öffnen";
    add(ImportBtn, ControlKind::Button).hint =
        "Import horizon limitation - Horizonteinschränkung importieren";
    add(SpeichernBtn, ControlKind::Button).hint =
        "Save horizon limitation - Horizonteinschränkung speichern";
    add(CutBtn, ControlKind::Button).hint =
        "Cut off everything brighter than the RGB value - Alles, heller als der RGB-Wert, "
        "ausschneiden";
    add(MonoBtn, ControlKind::Button).hint = "Monochrome - Einfarbig";
    add(SelBtn, ControlKind::Button).hint =
        "Select from color palette - Farbe von Palette auswählen";
    add(UndoBtn, ControlKind::Button).hint = "Undo - Rückgängig";
    add(RedoBtn, ControlKind::Button).hint = "Redo - Wiederholen";
    ctl(RedoBtn).enabled = false;
    add(GridBtn, ControlKind::SpeedButton).hint =
        "Put grid into foreground - Gitterlinien in Vordergrund stellen";
    add(AlbBtn, ControlKind::SpeedButton).hint = "Show albedo values - Albedowerte zeigen";
    add(EmiBtn, ControlKind::SpeedButton).hint =
        "Show emission coefficient values - Emissionskoeffizientenwerte zeigen";
    add(Image1, ControlKind::Other);
}

void HorizonEditorModel::setMainItem(bool checked) {
    main_.setSourceTakesPart(HorizonSourceKind::Drawing, checked);
}

void HorizonEditorModel::disableAdd() {
    main_.requireNewTable();
}

HorizonEditorModel::Snapshot HorizonEditorModel::snapshot() const {
    return {pictures_, main_.sourceTakesPart(HorizonSourceKind::Drawing)};
}

void HorizonEditorModel::pushUndo() {
    history_.record(snapshot());
    updateUndoButtons();
}

void HorizonEditorModel::updateUndoButtons() {
    ctl(UndoBtn).enabled = history_.canUndo();
    ctl(RedoBtn).enabled = history_.canRedo();
}

void HorizonEditorModel::restore(Snapshot state) {
    pictures_ = std::move(state.pictures);
    setMainItem(state.sourceChecked);
    updateUndoButtons();
    changed();
}

void HorizonEditorModel::Undo() {
    if (std::optional<Snapshot> before = history_.undo(snapshot())) restore(std::move(*before));
}

void HorizonEditorModel::Redo() {
    if (std::optional<Snapshot> after = history_.redo(snapshot())) restore(std::move(*after));
}

void HorizonEditorModel::releaseDisplay() {
    ctl(AlbBtn).checked = false;
    ctl(EmiBtn).checked = false;
    setDrawGroupEnabled(true);
}

void HorizonEditorModel::setDrawGroupEnabled(bool enabled) {
    for (const char* name : kDrawGroup) ctl(name).enabled = enabled;
}

const Raster& HorizonEditorModel::displayed() const {
    if (checked(AlbBtn)) return pictures_.albedo;
    if (checked(EmiBtn)) return pictures_.emission;
    return pictures_.drawing;
}

Colour HorizonEditorModel::cutOffColour() const {
    return Rgb(255 - ctl(TrackBar1).position, 255 - ctl(TrackBar2).position,
               255 - ctl(TrackBar3).position);
}

// ---------------------------------------------------------------------------
// commands

void HorizonEditorModel::newDrawing() {
    pushUndo();
    pictures_ = HorizonPictures{};
    points_.clear();
    releaseDisplay();
    setMainItem(false);
    disableAdd();
    changed();
}

void HorizonEditorModel::drawingReplaced() {
    points_.clear();
    releaseDisplay();
    setMainItem(true);
    disableAdd();
    changed();
}

std::optional<std::string> HorizonEditorModel::askOpenPath(const char* title, const char* filter,
                                                           const char* defaultExt) {
    FileDialogOptions options;
    options.title = title;
    options.filter = filter;
    options.defaultExt = defaultExt;
    return host().openFileDialog(options);
}

void HorizonEditorModel::openDrawing() {
    auto path =
        askOpenPath("Open horizon limitation", "Bitmaps (*.bmp)|*.bmp|All files|*.*", "bmp");
    if (path) openDrawingFile(*path);
}

void HorizonEditorModel::openDrawingFile(const std::string& path) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec && size > kMaxBitmapFileBytes)
        throw FileError("cannot open " + path + ": " + std::to_string(size) +
                        " bytes is too large for a horizon drawing of 481 x 481 pixels");
    const Raster loaded = ReadBmp(path);  // throws FileError; nothing has changed yet
    if (loaded.width() != kHorizonSize || loaded.height() != kHorizonSize)
        throw FileError(path + ": a horizon drawing must be 481 x 481 pixels, not " +
                        std::to_string(loaded.width()) + " x " + std::to_string(loaded.height()));
    pushUndo();
    drawingFile_ = path;
    pictures_.drawing.drawRaster(pictures_.drawing.bounds(), loaded);
    const Colour painted = Rgb(ByteOf(emission_), ByteOf(albedo_), 0);
    host().setProgressMax(kHorizonSize);
    for (int x = 0; x < kHorizonSize; ++x) {
        for (int y = 0; y < kHorizonSize; ++y) {
            const Colour c = pictures_.drawing.pixel(x, y) == kWhite ? kWhite : painted;
            pictures_.albedo.setPixel(x, y, c);
            pictures_.emission.setPixel(x, y, c);
        }
        host().stepProgress();
    }
    host().setProgress(0);
    drawingReplaced();
}

void HorizonEditorModel::importDrawing() {
    auto path = askOpenPath("Import horizon limitation",
                            "Vector pictures (*.svg)|*.svg|All files|*.*", "svg");
    if (path) importDrawingFile(*path);
}

void HorizonEditorModel::importDrawingFile(const std::string& path) {
    // Rendered onto (0, 0)-(480, 480) of a white 481 x 481 picture.
    Raster rendered(kHorizonSize - 1, kHorizonSize - 1);
    std::string error;
    if (!host().renderVectorFile(path, rendered, error))
        throw FileError("cannot import " + path + ": " + error);
    Raster picture(kHorizonSize, kHorizonSize);
    picture.drawRaster({0, 0, kHorizonSize - 1, kHorizonSize - 1}, rendered);
    pushUndo();
    pictures_.drawing = std::move(picture);
    drawingReplaced();
}

void HorizonEditorModel::replacePictures(HorizonPictures pictures, bool takesPart) {
    pushUndo();
    pictures_ = std::move(pictures);
    points_.clear();
    releaseDisplay();
    setMainItem(takesPart);
    disableAdd();
    changed();
}

void HorizonEditorModel::saveDrawing() {
    FileDialogOptions options;
    options.title = "Save horizon limitation";
    options.filter = "Bitmaps (*.bmp)|*.bmp";
    options.defaultExt = "bmp";
    options.fileName = "example.bmp";
    auto path = host().saveFileDialog(options);
    if (path) saveDrawingFile(*path);
}

void HorizonEditorModel::saveDrawingFile(const std::string& path) const {
    WriteBmp(path, pictures_.drawing);
}

void HorizonEditorModel::CutOff() {
    pushUndo();
    host().setProgressMax(kHorizonSize);
    CutOffBright(pictures_, cutOffColour(), [this] { host().stepProgress(); });
    host().setProgress(0);
    changed();
}

void HorizonEditorModel::Monochrome() {
    pushUndo();
    MakeMonochrome(pictures_.drawing);
    releaseDisplay();
    changed();
}

void HorizonEditorModel::moveTrackBar(const std::string& name, int position) {
    Control& bar = ctl(name);
    bar.position = std::clamp(position, bar.minimum, bar.maximum);
    changed(name);
    changed(Shape1);
}

void HorizonEditorModel::onExit(const std::string& name) {
    if (name != EditA && name != EditE) return;
    double& value = name == EditA ? albedo_ : emission_;
    const double fallback = name == EditA ? 0.3 : 0.95;
    auto parsed = parseReal(text(name), true);
    const Quantity quantity = name == EditA ? Quantity::Albedo : Quantity::Emissivity;
    if (parsed && !InRange(quantity, *parsed)) {
        // a share of the radiation outside 0 … 1: the field keeps its value
        const std::string typed(TrimBlanks(text(name)));
        ctl(name).text = decimals(value, 2);
        changed(name);
        const Language language = german_ ? Language::German : Language::English;
        throw RangeError(OutOfRangeText(quantity, "FormFreihor." + name, typed, language) +
                         FieldKeepsText(ctl(name).text, language));
    }
    value = parsed ? *parsed : fallback;
    ctl(name).text = decimals(value, 2);
}

void HorizonEditorModel::toggleDisplay(const std::string& name) {
    Control& button = ctl(name);
    button.checked = !button.checked;
    if (button.checked) ctl(name == AlbBtn ? EmiBtn : AlbBtn).checked = false;
    setDrawGroupEnabled(!displayDown());
}

void HorizonEditorModel::onClick(const std::string& name) {
    for (const char* tool : kToolGroup) {
        if (name != tool) continue;
        checkExclusive(name, {std::begin(kToolGroup), std::end(kToolGroup)});
        points_.clear();
        if (name != SpeedButton1 && name != SpeedButton2) releaseDisplay();
        return;
    }
    if (name == NeuBtn) return newDrawing();
    if (name == OeffnenBtn) return openDrawing();
    if (name == ImportBtn) return importDrawing();
    if (name == SpeichernBtn) return saveDrawing();
    if (name == CutBtn) return CutOff();
    if (name == MonoBtn) return Monochrome();
    if (name == UndoBtn) return Undo();
    if (name == RedoBtn) return Redo();
    if (name == SelBtn) {
        if (auto colour = host().chooseColour(brush_)) brush_ = *colour & 0xFFFFFF;
        return;
    }
    if (name == GridBtn) {
        ctl(GridBtn).checked = !ctl(GridBtn).checked;
        return;
    }
    if (name == AlbBtn || name == EmiBtn) return toggleDisplay(name);
}

// ---------------------------------------------------------------------------
// pointer

PointerFeedback HorizonEditorModel::pointerMove(int X, int Y) const {
    PointerFeedback out;
    if (!InsideHorizonCircle({X, Y})) return out;
    out.cursor =
        checked(FillPickBtn) || checked(CutPickBtn) ? PointerCursor::Pipette : PointerCursor::Cross;
    if (checked(AlbBtn)) {
        const Colour c = pictures_.albedo.pixel(X, Y);
        if (c != kWhite) out.hint = "Albedo = " + decimals(GreenOf(c) / 255.0, 2);
    } else if (checked(EmiBtn)) {
        const Colour c = pictures_.emission.pixel(X, Y);
        if (c != kWhite) out.hint = "Emission coeff. = " + decimals(RedOf(c) / 255.0, 2);
    }
    return out;
}

void HorizonEditorModel::pointerPress(int X, int Y) {
    const Point p{X, Y};
    if (!InsideHorizonCircle(p) || displayDown()) return;
    if (checked(FillPickBtn) || checked(CutPickBtn)) return pick(p);
    if (checked(FillBtn)) return fill(p);
    addPoint(p);
}

void HorizonEditorModel::addPoint(Point p) {
    if (points_.empty() && checked(SpeedButton1)) {
        theta0_ = ScreenAngle(p);
        points_.push_back(HorizonCirclePoint(theta0_));
    }
    if (points_.size() >= kMaxPolygonPoints)
        points_.back() = p;
    else
        points_.push_back(p);
    changed(Image1);
}

void HorizonEditorModel::pointerDoubleClick(int X, int Y) {
    if (!InsideHorizonCircle({X, Y}) || displayDown()) return;
    if (!checked(SpeedButton1) && !checked(SpeedButton2)) return;
    if (points_.empty()) return;
    closePolygon();
}

void HorizonEditorModel::closePolygon() {
    if (checked(SpeedButton1)) {
        auto arc = HorizonClosingPoints(theta0_, ScreenAngle(points_.back()));
        points_.insert(points_.end(), arc.begin(), arc.end());
    }
    pushUndo();
    auto paint = [&](Raster& picture, Colour colour) {
        picture.polygon(points_, Pen{colour}, Brush{colour});
    };
    paint(pictures_.albedo, AlbedoColour(albedo_));
    paint(pictures_.emission, EmissionColour(emission_));
    paint(pictures_.drawing, brush_);
    points_.clear();
    setMainItem(true);
    disableAdd();
    changed();
}

void HorizonEditorModel::fill(Point seed) {
    host().setBusy(true);
    pushUndo();
    FloodFillHorizon(pictures_, seed, brush_, AlbedoColour(albedo_), EmissionColour(emission_),
                     [this] { host().processMessages(); });
    host().setBusy(false);
    releaseDisplay();
    changed();
}

void HorizonEditorModel::pick(Point p) {
    const Colour c = pictures_.drawing.pixel(p.x, p.y);
    if (checked(FillPickBtn)) {
        brush_ = c;
        changed(Shape2);
    } else {
        ctl(TrackBar1).position = 255 - RedOf(c);
        ctl(TrackBar2).position = 255 - GreenOf(c);
        ctl(TrackBar3).position = 255 - BlueOf(c);
        changed(Shape1);
    }
    releaseDisplay();
}

}  // namespace umbrix
