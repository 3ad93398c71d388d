#include "models/OutputWindowModel.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <memory>
#include <optional>

#include "diagrams/SunPath.h"
#include "models/Application.h"
#include "models/ComponentNames.h"
#include "models/MainWindowModel.h"
#include "models/TableWriter.h"
#include "platform/Bmp.h"
#include "platform/DateTime.h"
#include "platform/Error.h"
#include "platform/Format.h"
#include "platform/Png.h"
#include "platform/TextFile.h"

namespace umbrix {

using namespace output_window;

namespace {

const std::vector<std::string> kModeButtons = {SunOrbitBtn, RBtn, EBtn};
const std::vector<std::string> kModeItems = {SunOrbit1, Reflected1, Thermal1};
// Open gives the picture this much room besides its height.
constexpr int kOpenExtraHeight = 41;

std::string LowerExtension(const std::string& path) {
    std::string name = FileNameOnly(path);
    auto dot = name.rfind('.');
    std::string ext = dot == std::string::npos ? std::string() : name.substr(dot + 1);
    for (char& c : ext) c = char(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

// The declared size of an SVG file's root element; a picture without one is taken as the
// fisheye size.
std::pair<int, int> SvgSize(const std::string& text) {
    auto attribute = [&](const char* name) -> int {
        auto root = text.find("<svg");
        if (root == std::string::npos) return 0;
        auto end = text.find('>', root);
        std::string key = std::string(" ") + name + "=\"";
        auto at = text.find(key, root);
        if (at == std::string::npos || at > end) return 0;
        auto value = parseReal(
            text.substr(at + key.size(), text.find('"', at + key.size()) - at - key.size()));
        return value && *value >= 1 && *value <= 20000 ? int(*value) : 0;
    };
    int w = attribute("width"), h = attribute("height");
    if (w == 0 || h == 0) return {481, 481};
    return {w, h};
}

}  // namespace

OutputWindowModel::OutputWindowModel(Application& app)
    : FormModel(output_window::kForm, app.host()), app_(app) {
    caption = "Output - Ausgabe";
    add(ImageSun, ControlKind::Other);
    add(RichEdit1, ControlKind::Other).visible = false;
    auto button = [this](const char* name, const char* hint, const char* cap = "") -> Control& {
        Control& c = add(name, ControlKind::Button, cap);
        c.hint = hint;
        return c;
    };
    button(OpenBtn, "Open file - datei \u00f6ffnen");
    button(SaveBtn, "Save to file - In Datei speichern");
    button(PrintBtn, "Print - Drucken");
    button(ZoomInBtn, "Zoom in - Vergr\u00f6\u00dfern");
    button(ZoomOutBtn, "Zoom out - Verkleinern");
    auto speed = [this](const char* name, const char* hint, const char* cap, bool down) {
        Control& c = add(name, ControlKind::SpeedButton, cap);
        c.hint = hint;
        c.checked = down;
        return std::ref(c);
    };
    speed(GridBtn, "Put grid into foreground - Gitterlinien in Vordergrund stellen", "", false);
    speed(SunOrbitBtn, "Show sun orbit diagram - Sonnenbahn im Diagramm anzeigen", "", true)
        .get()
        .enabled = false;
    speed(RBtn, "Show short-wave radiation diagram - Kurzwellige Strahlung im Diagramm anzeigen",
          "Rs", false)
        .get()
        .enabled = false;
    speed(EBtn, "Show long-wave radiation diagram - Langwellige Strahlung im Diagramm anzeigen",
          "E", false)
        .get()
        .enabled = false;
    add(Label1, ControlKind::Label, "Time: ").enabled = false;
    Control& time = add(EditTime, ControlKind::Edit);
    time.readOnly = true;
    time.enabled = false;
    Control& up1 = add(UpDown1, ControlKind::UpDown);
    up1.minimum = 0;
    up1.maximum = 1440;
    up1.increment = 30;
    up1.position = 720;
    up1.enabled = false;
    add(Label2, ControlKind::Label, "Increment (min): ").enabled = false;
    Control& inc = add(EditInc, ControlKind::Edit, "30");
    inc.enabled = false;
    Control& up2 = add(UpDown2, ControlKind::UpDown);
    up2.minimum = 1;
    up2.maximum = 240;
    up2.increment = 5;
    up2.position = 30;
    up2.enabled = false;
    // menus
    add(Open1, ControlKind::MenuItem, "&Open...");
    add(SaveAs1, ControlKind::MenuItem, "&Save as...");
    add(Print1, ControlKind::MenuItem, "&Print...");
    add(Close1, ControlKind::MenuItem, "&Close");
    add(View1, ControlKind::MenuItem, "&View");
    add(ZoomIn1, ControlKind::MenuItem, "Zoom &in");
    add(ZoomOut1, ControlKind::MenuItem, "Zoom &out");
    add(SunOrbit1, ControlKind::MenuItem, "Sun orbit").checked = true;
    add(Reflected1, ControlKind::MenuItem, "Reflected radiation");
    add(Thermal1, ControlKind::MenuItem, "Thermal radiation");
}

// ---- the two views -------------------------------------------------------------

void OutputWindowModel::showDiagram(bool picture) {
    pictureView = picture;
    if (!picture) {
        for (const char* name : {View1, ZoomInBtn, ZoomOutBtn, GridBtn, SunOrbitBtn, RBtn, EBtn})
            ctl(name).enabled = false;
        clientWidth = 600;
        clientHeight = kToolbarHeight + 501;
        ctl(ImageSun).visible = false;
        ctl(RichEdit1).visible = true;
        annotate_ = false;
        changed();
        return;
    }
    const bool shadows = app_.mainWindow().outputMode() == OutputMode::Shadows;
    ctl(View1).enabled = true;
    for (const char* name : {ZoomInBtn, ZoomOutBtn, ZoomIn1, ZoomOut1}) ctl(name).enabled = shadows;
    ctl(GridBtn).enabled = true;
    for (const char* name : {SunOrbitBtn, SunOrbit1, Reflected1, Thermal1})
        ctl(name).enabled = !shadows;
    compose();
    image_ = composed_;
    annotate_ = true;
    showPictureView(composed_.width(), composed_.height() + kToolbarHeight);
}

void OutputWindowModel::compose() {
    const MainWindowModel& main = app_.mainWindow();
    const DiagramPictures& d = main.diagrams;
    const OutputMode mode = main.outputMode();
    const bool shadows = mode == OutputMode::Shadows;
    const bool gridInFront = checked(GridBtn);
    const int o = mode == OutputMode::Polar || shadows ? kDiagramOffset : 0;
    auto at = [o](int width, int height) { return Rect{o, o, o + width, o + height}; };
    const Rect gridRect{0, 0, d.grid.width(), d.grid.height()};
    const Rect overlayRect = at(d.overlay.width(), d.overlay.height());

    composed_ = Picture(d.grid.width(), d.grid.height());
    if (!gridInFront) composed_.drawPicture(gridRect, d.grid);
    if (!gridInFront || shadows) composed_.drawPicture(overlayRect, d.overlay);
    if (mode == OutputMode::Polar) {
        const HorizonLayers layers = main.horizonLayers();
        if (layers.topography)
            composed_.drawPicture(at(layers.topography->width(), layers.topography->height()),
                                  *layers.topography);
        if (layers.drawing)
            composed_.drawRaster(at(layers.drawing->width(), layers.drawing->height()),
                                 *layers.drawing, true);
        if (layers.obstacles)
            composed_.drawPicture(at(layers.obstacles->width(), layers.obstacles->height()),
                                  *layers.obstacles);
    }
    if (checked(RBtn))
        composed_.drawRaster(at(d.shading.width() + 1, d.shading.height() + 1), d.shading, true);
    if (checked(EBtn))
        composed_.drawRaster(at(d.longWave.width() + 1, d.longWave.height() + 1), d.longWave, true);
    if (gridInFront) {
        composed_.drawPicture(gridRect, d.grid);
        if (!shadows) composed_.drawPicture(overlayRect, d.overlay);
    }
}

void OutputWindowModel::showPictureView(int width, int height) {
    clientWidth = width;
    clientHeight = height;
    ctl(ImageSun).picture = std::make_shared<const Picture>(image_);
    ctl(ImageSun).visible = true;
    ctl(RichEdit1).visible = false;
    changed();
}

// ---- time, increment, zoom, modes ------------------------------------------------

void OutputWindowModel::setDiagramControlsEnabled(bool enabled) {
    for (const char* name : {Label1, EditTime, UpDown1, Label2, EditInc, UpDown2})
        ctl(name).enabled = enabled;
    changed();
}

void OutputWindowModel::setTimeMinutes(int minutes) {
    Control& up = ctl(UpDown1);
    up.position = std::clamp(minutes, up.minimum, up.maximum);
    ctl(EditTime).text = FormatTime(app_.format(), up.position / 1440.0);
    changed(UpDown1);
}

void OutputWindowModel::changeTime(int minutes) {
    setPosition(UpDown1, minutes);
}

void OutputWindowModel::stepTime(int direction) {
    const Control& up = ctl(UpDown1);
    changeTime(up.position + (direction < 0 ? -up.increment : up.increment));
}

void OutputWindowModel::timeChanged() {
    const int m = timeMinutes();
    ctl(EditTime).text = FormatTime(app_.format(), m / 1440.0);
    MainWindowModel& main = app_.mainWindow();
    switch (main.outputMode()) {
        case OutputMode::Shadows:
            main.drawShadows(m / 60.0);
            break;
        case OutputMode::Polar:
            main.drawSunPosition(m / 60.0);
            break;
        default:
            break;
    }
    showDiagram(pictureView);
    host().setProgress(0);
}

void OutputWindowModel::incrementChanged() {
    Control& up2 = ctl(UpDown2);
    const std::string& text = ctl(EditInc).text;
    const std::optional<int> value = parseInt(text);
    if (value) up2.position = std::clamp(*value, up2.minimum, up2.maximum);
    // the time control takes the increment in every case, the previous one when the text is
    // not a number
    ctl(UpDown1).increment = up2.position;
    changed(UpDown2);
    if (!value)
        throw ConvertError(EditInc, text,
                           "\"" + text + "\" is not a valid integer (field EditInc)");
}

void OutputWindowModel::zoomIn() {
    if (scale <= kMinScale) return;
    scale /= 2;
    timeChanged();
}

void OutputWindowModel::zoomOut() {
    if (scale >= kMaxScale) return;
    scale *= 2;
    timeChanged();
}

void OutputWindowModel::chooseDiagramMode(int mode) {
    mode = std::clamp(mode, 0, 2);
    checkExclusive(kModeButtons[std::size_t(mode)], kModeButtons);
    checkExclusive(kModeItems[std::size_t(mode)], kModeItems);
    showDiagram(true);
}

// ---- files and printing ------------------------------------------------------------

bool OutputWindowModel::open() {
    FileDialogOptions o;
    o.title = "Open";
    o.defaultExt = "svg";
    o.filter = "SVG pictures|*.svg|Bitmaps|*.bmp|Textfiles|*.dat|All files|*.*";
    auto path = host().openFileDialog(o);
    if (!path) return false;
    const std::string ext = LowerExtension(*path);
    if (ext == "bmp") {
        Raster bitmap = ReadBmp(*path);
        image_ = Picture(bitmap.width(), bitmap.height());
        image_.drawRaster(bitmap.bounds(), bitmap);
    } else if (ext == "svg") {
        auto [w, h] = SvgSize(ReadTextFile(*path, std::size_t(64) << 20));
        Raster rendered(w, h);
        std::string error;
        if (!host().renderVectorFile(*path, rendered, error)) throw FileError(*path + ": " + error);
        image_ = Picture(w, h);
        image_.drawRaster(rendered.bounds(), rendered);
    } else {
        // a table written earlier goes to the text view
        lines_ = SplitLines(ReadTextFile(*path));
        caption = std::string(kProgramTitle) + " - " + *path;
        showDiagram(false);
        return true;
    }
    caption = std::string(kProgramTitle) + " - " + *path;
    pictureView = true;
    annotate_ = false;
    showPictureView(image_.width(), image_.height() + kOpenExtraHeight);
    return true;
}

bool OutputWindowModel::saveAs() {
    FileDialogOptions o;
    o.title = "Save as";
    if (!pictureView) {
        o.defaultExt = "dat";
        o.filter =
            "Textfiles|*.dat|Tab-separated values (*.tsv)|*.tsv|Comma-separated values "
            "(*.csv)|*.csv";
        auto path = host().saveFileDialog(o);
        if (!path) return false;
        app_.checkOutputFile(*path);
        // tsv and csv by the file type chosen or the name's extension, for analysis programs
        const std::string ext = LowerExtension(*path);
        std::optional<TableFormat> format;
        if (o.filterIndex == 2 || ext == "tsv") format = TableFormat::Tsv;
        if (o.filterIndex == 3 || ext == "csv") format = TableFormat::Csv;
        if (format && tableValues_.columns.empty())
            throw UmbrixError("only a data table can be saved as tsv or csv: run \"&New\" first");
        std::string content;
        for (const auto& line : format ? tableValues_.lines(*format) : lines_)
            content += line + "\n";
        WriteTextFileAtomic(*path, content);
        return true;
    }
    if (composed_.width() <= 0 || composed_.height() <= 0)
        throw UmbrixError("there is no diagram to save yet: run \"&New\" in a diagram mode");
    if (checked(SunOrbitBtn)) {
        o.defaultExt = "svg";
        o.filter = "SVG pictures|*.svg";
    } else {
        o.defaultExt = "bmp";
        o.filter = "Bitmaps|*.bmp";
    }
    auto path = host().saveFileDialog(o);
    if (!path) return false;
    // the content follows the name: a picture under a name of another kind cannot be opened
    const std::string ext = LowerExtension(*path);
    if (ext != "bmp" && ext != "png" && ext != "svg")
        throw UmbrixError("cannot save the diagram as \"" + *path +
                          "\": the name must end in .svg, .png or .bmp");
    app_.checkOutputFile(*path);
    if (ext == "bmp") {
        WriteBmp(*path, composed_.rasterize());
    } else if (ext == "png") {
        const std::vector<std::uint8_t> png = EncodePng(composed_.rasterize(), false);
        WriteTextFileAtomic(
            *path, std::string_view(reinterpret_cast<const char*>(png.data()), png.size()));
    } else {
        composed_.writeSvg(*path);
    }
    return true;
}

Rect OutputWindowModel::printArea(int pictureWidth, int pictureHeight, int pageWidth) {
    if (pictureWidth <= 0) return {0, 0, pageWidth, 0};
    return {0, 0, pageWidth, int(long(pictureHeight) * pageWidth / pictureWidth)};
}

bool OutputWindowModel::print() {
    PrintJob job;
    job.title = kProgramTitle;
    job.landscape = !pictureView;
    std::string error;
    PrintOutcome outcome;
    if (pictureView) {
        // with its scale, time or legend, as on the screen
        const Picture picture = annotate_ ? annotatedDiagram() : composed_;
        outcome = host().printPicture(
            job, picture,
            [&picture](int pageWidth, int) {
                return printArea(picture.width(), picture.height(), pageWidth);
            },
            error);
    } else {
        outcome = host().printText(job, lines_, error);
    }
    if (outcome == PrintOutcome::Unavailable) host().showMessage(error, MessageKind::Error);
    return outcome == PrintOutcome::Printed;
}

// ---- handlers ----------------------------------------------------------------------

void OutputWindowModel::onClick(const std::string& name) {
    const Control& c = ctl(name);
    if (!c.enabled)
        throw UmbrixError("\"" + (c.caption.empty() ? name : c.caption) + "\" (" + name +
                          ") is disabled now");
    if (name == OpenBtn || name == Open1) open();
    if (name == SaveBtn || name == SaveAs1) saveAs();
    if (name == PrintBtn || name == Print1) print();
    if (name == Close1) hide();
    if (name == ZoomInBtn || name == ZoomIn1) zoomIn();
    if (name == ZoomOutBtn || name == ZoomOut1) zoomOut();
    if (name == GridBtn) {
        ctl(name).checked = !c.checked;
        showDiagram(pictureView);
    }
    for (std::size_t i = 0; i < kModeButtons.size(); ++i)
        if (name == kModeButtons[i] || name == kModeItems[i]) chooseDiagramMode(int(i));
}

void OutputWindowModel::onChange(const std::string& name) {
    if (name == UpDown1) timeChanged();
    if (name == EditInc) incrementChanged();
    if (name == UpDown2) {
        // the up-down writes its position into the edit, whose change then applies it
        ctl(EditInc).text = std::to_string(ctl(UpDown2).position);
        incrementChanged();
    }
}

}  // namespace umbrix
