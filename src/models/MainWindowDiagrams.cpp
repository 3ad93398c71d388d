// The calculation commands in the diagram modes: the polar sun path diagram and the shadow
// diagram, and the redrawing of their overlay for another time.
#include "diagrams/Shadows.h"
#include "horizon/Fisheye.h"
#include "models/Application.h"
#include "models/ComponentNames.h"
#include "models/HorizonEditorModel.h"
#include "models/MainWindowModel.h"
#include "models/ObstacleEditorModel.h"
#include "models/OutputWindowModel.h"
#include "models/TopographyEditorModel.h"

namespace umbrix {

using namespace main_window;

namespace {

// One line under the frame in the program's language; it fits the frame's width in the plain
// bitmap font as well.
std::string DiagramCaption(bool shadows, Language language) {
    const bool german = language == Language::German;
    const char* text = shadows
                           ? (german ? "Schattendiagramm - Grundriss, Norden oben"
                                     : "Shadow diagram - plan view, north up")
                           : (german ? "Sonnenbahn - H\u00f6he in Grad, volle Stunden in Ortszeit"
                                     : "Sun path - elevation in degrees, full hours in local time");
    return std::string(text) + " - " + kProgramTitle;
}

}  // namespace

HorizonLayers MainWindowModel::horizonLayers() const {
    HorizonLayers layers;
    if (checked(Topographie1)) layers.topography = &app_.topographyEditor().horizonPicture();
    if (checked(Horizonteinengung1)) layers.drawing = &app_.horizonEditor().drawing();
    if (checked(Hindernisobjekte1)) layers.obstacles = app_.obstacleEditor().horizonPicture();
    return layers;
}

void MainWindowModel::drawSunPosition(double t) {
    DrawSunPosition(diagrams.overlay, diagrams.path, inputs.dayOfYear, inputs.longitude,
                    inputs.latitude, inputs.timeZone, t);
}

void MainWindowModel::drawShadows(double t) {
    const ObstacleEditorModel& obs = app_.obstacleEditor();
    ShadowSettings s;
    s.day = inputs.dayOfYear;
    s.longitude = inputs.longitude;
    s.latitude = inputs.latitude;
    s.timeZone = inputs.timeZone;
    s.scale = app_.outputWindow().scale;
    // the obstacles as the editor shows them, each kind only while it is "in calculation"
    s.buildings = obs.checked(obstacle_editor::GebChk);
    s.deciduous = obs.checked(obstacle_editor::LaubChk);
    s.conifers = obs.checked(obstacle_editor::NadelChk);
    DrawShadows(diagrams.overlay, obs.obstacles(), s, t, &host());
}

void MainWindowModel::runSunPathDiagram(bool isNew) {
    DiagramPictures& d = diagrams;
    if (isNew) {
        d.path = Picture(kPathSize, kPathSize);
        d.overlay.setSize(kOverlaySize, kOverlaySize);
        DrawDiagramGrid(d.grid, false, DiagramCaption(false, app_.language()));
        composeHorizon();
    }
    // the shading by the sun direction takes the place of the sky view factors in this mode
    d.shading.reset(kOverlaySize, kOverlaySize);
    d.longWave.reset(kOverlaySize, kOverlaySize);
    ShadeSkyImage(skyViewImage_, d.shading, results.azimuth, results.Z, &host());
    computeSunDay();
    host().setProgressMax(1440);
    host().setProgress(0);
    // "A&dd" adds the day's path without hour numbers to the paths since the last "&New"
    DrawSunPath(d.path, inputs.dayOfYear, inputs.date.year, isNew, inputs.longitude,
                inputs.latitude, inputs.timeZone, &host());
    drawSunPosition(inputs.hours);
    OutputWindowModel& map = app_.outputWindow();
    map.showDiagram(true);
    map.show();
    ctl(ButtonHinzu).enabled = true;
    changed(ButtonHinzu);
}

void MainWindowModel::runShadowDiagram() {
    DrawDiagramGrid(diagrams.grid, true, DiagramCaption(true, app_.language()));
    drawShadows(inputs.hours);
    OutputWindowModel& map = app_.outputWindow();
    map.chooseDiagramMode(0);  // the sun orbit button pressed, and the diagram composed
    map.show();
}

}  // namespace umbrix
