#include "diagrams/Sunmap.h"

#include <algorithm>
#include <functional>

#include "calc/Application.h"
#include "calc/Table.h"
#include "platform/Error.h"

namespace umbrix {

TFormMap::TFormMap(Application& app) : FormModel("FormMap", app.host()), app_(app) {
    caption = "Output - Ausgabe";
    add("ImageSun", ControlKind::Other);
    add("RichEdit1", ControlKind::Other).visible = false;
    auto button = [this](const char* name, const char* hint, const char* cap = "") -> Control& {
        Control& c = add(name, ControlKind::Button, cap);
        c.hint = hint;
        return c;
    };
    button("OpenBtn", "Open file - datei \u00f6ffnen");
    button("SaveBtn", "Save to file - In Datei speichern");
    button("PrintBtn", "Print - Drucken");
    button("ZoomInBtn", "Zoom in - Vergr\u00f6\u00dfern");
    button("ZoomOutBtn", "Zoom out - Verkleinern");
    auto speed = [this](const char* name, const char* hint, const char* cap, bool down) {
        Control& c = add(name, ControlKind::SpeedButton, cap);
        c.hint = hint;
        c.checked = down;
        return std::ref(c);
    };
    speed("GridBtn", "Put grid into foreground - Gitterlinien in Vordergrund stellen", "", false);
    speed("SunOrbitBtn", "Show sun orbit diagram - Sonnenbahn im Diagramm anzeigen", "", true)
        .get()
        .enabled = false;
    speed("RBtn", "Show short-wave radiation diagram - Kurzwellige Strahlung im Diagramm anzeigen",
          "Rs", false)
        .get()
        .enabled = false;
    speed("EBtn", "Show long-wave radiation diagram - Langwellige Strahlung im Diagramm anzeigen",
          "E", false)
        .get()
        .enabled = false;
    add("Label1", ControlKind::Label, "Time: ").enabled = false;
    Control& time = add("EditTime", ControlKind::Edit);
    time.readOnly = true;
    time.enabled = false;
    Control& up1 = add("UpDown1", ControlKind::UpDown);
    up1.minimum = 0;
    up1.maximum = 1440;
    up1.increment = 30;
    up1.position = 720;
    up1.enabled = false;
    add("Label2", ControlKind::Label, "Increment (min): ").enabled = false;
    Control& inc = add("EditInc", ControlKind::Edit, "30");
    inc.enabled = false;
    Control& up2 = add("UpDown2", ControlKind::UpDown);
    up2.minimum = 1;
    up2.maximum = 240;
    up2.increment = 5;
    up2.position = 30;
    up2.enabled = false;
    // menus
    add("Open1", ControlKind::MenuItem, "&Open...");
    add("SaveAs1", ControlKind::MenuItem, "&Save as...");
    add("Print1", ControlKind::MenuItem, "&Print...");
    add("Close1", ControlKind::MenuItem, "&Close");
    add("View1", ControlKind::MenuItem, "&View");
    add("ZoomIn1", ControlKind::MenuItem, "Zoom &in");
    add("ZoomOut1", ControlKind::MenuItem, "Zoom &out");
    add("SunOrbit1", ControlKind::MenuItem, "Sun orbit").checked = true;
    add("Reflected1", ControlKind::MenuItem, "Reflected radiation");
    add("Thermal1", ControlKind::MenuItem, "Thermal radiation");
}

void TFormMap::ShowDiagram(bool picture) {
    pictureView = picture;
    if (!picture) {
        for (const char* name :
             {"View1", "ZoomInBtn", "ZoomOutBtn", "GridBtn", "SunOrbitBtn", "RBtn", "EBtn"})
            ctl(name).enabled = false;
        ctl("ImageSun").visible = false;
        ctl("RichEdit1").visible = true;
        changed();
        return;
    }
    // The picture view is composed by the diagram drawing once it exists.
    ctl("ImageSun").visible = true;
    ctl("RichEdit1").visible = false;
    changed();
}

void TFormMap::setDiagramControlsEnabled(bool enabled) {
    for (const char* name : {"Label1", "EditTime", "UpDown1", "Label2", "EditInc", "UpDown2"})
        ctl(name).enabled = enabled;
    changed();
}

void TFormMap::setTimeMinutes(int minutes) {
    Control& up = ctl("UpDown1");
    up.position = std::clamp(minutes, up.minimum, up.maximum);
    changed("UpDown1");
}

bool TFormMap::saveAs() {
    if (pictureView) throw UmbrixError("saving diagrams is not available in this version");
    FileDialogOptions o;
    o.title = "Save as";
    o.defaultExt = "dat";
    o.filter = "Textfiles|*.dat";
    return SaveLinesAs(host(), o, lines_);
}

void TFormMap::onClick(const std::string& name) {
    if (name == "SaveBtn" || name == "SaveAs1") saveAs();
    if (name == "Close1") hide();
}

}  // namespace umbrix
