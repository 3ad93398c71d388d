#include "models/BuildingDialog.h"

#include "models/ComponentNames.h"

namespace umbrix {

using namespace building_dialog;
using namespace obstacle_dialog;

namespace {
// The corners' coordinates in the order of the obstacle's values: x, y, z of corner 1, ...
const char* const kCornerFields[] = {
    EditX1, EditY1, EditZ1, EditX2, EditY2, EditZ2, EditX3, EditY3, EditZ3, EditX4, EditY4, EditZ4,
    EditX5, EditY5, EditZ5, EditX6, EditY6, EditZ6, EditX7, EditY7, EditZ7, EditX8, EditY8, EditZ8};

std::vector<std::pair<std::string, int>> BuildingFields() {
    std::vector<std::pair<std::string, int>> fields;
    int value = 1;
    for (const char* field : kCornerFields) fields.emplace_back(field, value++);
    fields.emplace_back(EditAlb, 25);
    fields.emplace_back(EditEmi, 26);
    return fields;
}
}  // namespace

BuildingDialog::BuildingDialog(Host& host)
    : ObstacleDialog(building_dialog::kForm, host, BuildingFields()) {
    caption = "Edit building - Gebäude bearbeiten";
    for (const char* label : {LabelTop, LabelBottom, LabelZ}) add(label, ControlKind::Label);
    BuildingDialog::setGerman(false);
}

void BuildingDialog::setGerman(bool german) {
    ctl(LabelTop).caption = german ? "Obere Ecken #1 - #4" : "Top corners #1 - #4";
    ctl(LabelBottom).caption = german ? "Untere Ecken #1 - #4" : "Bottom corners #1 - #4";
    ctl(LabelZ).caption = german ? "z-Koord. (m)" : "z-coord. (m)";
    ObstacleDialog::setGerman(german);
}

}  // namespace umbrix
