// The output window's diagram as the desktop draws it: with the shadow diagram's scale and time
// or the sun path diagram's legend of the horizon layers.
#include "diagrams/Annotations.h"
#include "horizon/ObstacleProjection.h"
#include "horizon/Terrain.h"
#include "models/Application.h"
#include "models/HorizonEditorModel.h"
#include "models/MainWindowModel.h"
#include "models/OutputWindowModel.h"
#include "platform/DateTime.h"

namespace umbrix {

Picture OutputWindowModel::annotatedDiagram() const {
    Picture p = composed_;
    if (p.width() <= 0 || p.height() <= 0) return p;
    const MainWindowModel& main = app_.mainWindow();
    const bool german = app_.language() == Language::German;
    const Rect whole{0, 0, p.width(), p.height()};
    if (main.outputMode() == OutputMode::Shadows) {
        const std::string when = FormatDate(app_.format(), main.inputs.date) + "  " +
                                 FormatTime(app_.format(), timeMinutes() / 1440.0) +
                                 (german ? " Ortszeit" : " local time");
        p.drawPicture(whole, ShadowAnnotations(scale, when));
    } else if (main.outputMode() == OutputMode::Polar) {
        const HorizonLayers layers = main.horizonLayers();
        std::vector<LegendEntry> entries;
        if (layers.obstacles) {
            entries.push_back(
                {german ? "Geb\u00e4ude, St\u00e4mme" : "buildings, trunks", kBuildingColour});
            entries.push_back({german ? "Baumkronen" : "tree crowns", kCrownColour});
        }
        if (layers.topography)
            entries.push_back({german ? "Gel\u00e4nde" : "terrain", kTerrainGrey});
        if (layers.drawing)
            entries.push_back(
                {german ? "Zeichnung" : "drawing", app_.horizonEditor().brushColour()});
        if (!entries.empty()) p.drawPicture(whole, HorizonLegend(entries));
    }
    return p;
}

std::shared_ptr<const Picture> OutputWindowModel::screenPicture() const {
    // made anew each time: the time and the language may have changed since the diagram
    if (annotate_) return std::make_shared<const Picture>(annotatedDiagram());
    return ctl(output_window::ImageSun).picture;
}

}  // namespace umbrix
