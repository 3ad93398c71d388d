#include "models/BuildingDialog.h"

namespace umbrix {

namespace {
std::vector<std::pair<std::string, int>> BuildingFields() {
    std::vector<std::pair<std::string, int>> fields;
    for (int k = 1; k <= 8; ++k) {
        fields.emplace_back("EditX" + std::to_string(k), 3 * k - 2);
        fields.emplace_back("EditY" + std::to_string(k), 3 * k - 1);
        fields.emplace_back("EditZ" + std::to_string(k), 3 * k);
    }
    fields.emplace_back("EditAlb", 25);
    fields.emplace_back("EditEmi", 26);
    return fields;
}
}  // namespace

BuildingDialog::BuildingDialog(Host& host) : ObstacleDialog("GebForm", host, BuildingFields()) {
    caption = "Edit building - Gebäude bearbeiten";
    for (const char* label : {"LabelTop", "LabelBottom", "LabelZ"}) add(label, ControlKind::Label);
    BuildingDialog::setGerman(false);
}

void BuildingDialog::setGerman(bool german) {
    ctl("LabelTop").caption = german ? "Obere Ecken #1 - #4" : "Top corners #1 - #4";
    ctl("LabelBottom").caption = german ? "Untere Ecken #1 - #4" : "Bottom corners #1 - #4";
    ctl("LabelZ").caption = german ? "z-Koord. (m)" : "z-coord. (m)";
    ObstacleDialog::setGerman(german);
}

}  // namespace umbrix
