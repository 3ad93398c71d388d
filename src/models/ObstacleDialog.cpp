#include "models/ObstacleDialog.h"

#include <algorithm>
#include <cmath>

#include "models/ComponentNames.h"
#include "platform/Error.h"
#include "platform/Format.h"

namespace umbrix {

using namespace obstacle_dialog;

ObstacleDialog::ObstacleDialog(std::string name, Host& host,
                               std::vector<std::pair<std::string, int>> fields)
    : FormModel(std::move(name), host), fields_(std::move(fields)) {
    for (const auto& [control, index] : fields_) add(control, ControlKind::Edit, "0.00");
    add(OKBtn, ControlKind::Button, "&OK");
    add(CancelBtn, ControlKind::Button, "Cancel");
    for (const char* label : {LabelX, LabelY, LabelAlb, LabelEmi}) add(label, ControlKind::Label);
    ctl(EditAlb).text = "0.30";
    ctl(EditEmi).text = "0.95";
    ObstacleDialog::setGerman(false);
}

void ObstacleDialog::setGerman(bool german) {
    german_ = german;
    ctl(LabelX).caption = german ? "x-Koord. (m)" : "x-coord. (m)";
    ctl(LabelY).caption = german ? "y-Koord. (m)" : "y-coord. (m)";
    ctl(LabelAlb).caption = "Albedo";
    ctl(LabelEmi).caption = german ? "Emissionskoeff." : "Emission coeff.";
    ctl(CancelBtn).caption = german ? "Abbrechen" : "Cancel";
    changed();
}

bool ObstacleDialog::execute(Obstacle& obstacle) {
    original_ = obstacle;
    for (const auto& [control, index] : fields_)
        ctl(control).text = decimals(obstacle.value(index), 2);
    result_ = ModalResult::None;
    show();
    host().runModal(*this);
    hide();
    if (result_ != ModalResult::Ok) return false;
    obstacle = fieldValues();
    return true;
}

Obstacle ObstacleDialog::fieldValues() const {
    Obstacle candidate = original_;
    for (const auto& [control, index] : fields_) {
        // an entry that is not a number keeps the value the dialog was opened with
        std::optional<double> v = parseReal(text(control));
        if (v && std::isfinite(float(*v))) candidate.value(index) = float(*v);
    }
    return candidate;
}

// Albedo and emission coefficient are shares of the radiation, 0 … 1.
std::optional<Quantity> ObstacleDialog::shareQuantity(const std::string& control) {
    if (control == EditAlb) return Quantity::Albedo;
    if (control == EditEmi) return Quantity::Emissivity;
    return std::nullopt;
}

void ObstacleDialog::onExit(const std::string& name) {
    const auto quantity = shareQuantity(name);
    if (!quantity) return;
    auto value = parseReal(text(name), true);
    if (!value || InRange(*quantity, *value)) return;
    const std::string typed(TrimBlanks(text(name)));
    int index = 0;
    for (const auto& [control, i] : fields_)
        if (control == name) index = i;
    Control& c = ctl(name);
    c.text = previousText(name, decimals(original_.value(index), 2));
    changed(name);
    const Language language = german_ ? Language::German : Language::English;
    throw RangeError(OutOfRangeText(*quantity, name, typed, language) +
                     FieldKeepsText(c.text, language));
}

void ObstacleDialog::confirm() {
    Obstacle candidate = fieldValues();
    std::string message;
    std::vector<int> refused;
    for (const auto& [control, index] : fields_) {
        const auto quantity = shareQuantity(control);
        if (quantity && !InRange(*quantity, candidate.value(index))) {
            refused.push_back(index);
            message = OutOfRangeText(*quantity, control, text(control),
                                     german_ ? Language::German : Language::English);
        }
    }
    if (refused.empty()) refused = refusedValues(candidate, message);
    for (int index : refused) candidate.value(index) = original_.value(index);
    for (const auto& [control, index] : fields_)
        ctl(control).text = decimals(candidate.value(index), 2);
    if (!refused.empty()) {
        // the previous values are back in their fields; the dialog stays open
        host().showMessage(message, MessageKind::Warning);
        return;
    }
    result_ = ModalResult::Ok;
}

void ObstacleDialog::onClick(const std::string& name) {
    if (name == OKBtn) confirm();
    if (name == CancelBtn) result_ = ModalResult::Cancel;
}

// ---------------------------------------------------------------------------

TreeDialog::TreeDialog(std::string name, Host& host, std::string bilingualCaption)
    : ObstacleDialog(std::move(name), host,
                     {{tree_dialog::EditX, 1},
                      {tree_dialog::EditY, 2},
                      {tree_dialog::EditZ, 3},
                      {tree_dialog::EditR, 4},
                      {tree_dialog::EditS, 5},
                      {tree_dialog::EditD, 6},
                      {EditAlb, 7},
                      {EditEmi, 8}}) {
    caption = std::move(bilingualCaption);
    for (const char* label :
         {LabelZ, tree_dialog::LabelR, tree_dialog::LabelS, tree_dialog::LabelD})
        add(label, ControlKind::Label);
    TreeDialog::setGerman(false);
}

void TreeDialog::setGerman(bool german) {
    ctl(LabelZ).caption = german ? "Baumhöhe h (m)" : "Tree height h (m)";
    ctl(tree_dialog::LabelR).caption = german ? "Kronenradius r (m)" : "Crown radius r (m)";
    ctl(tree_dialog::LabelS).caption = german ? "Stammlänge l (m)" : "Trunc length l (m)";
    ctl(tree_dialog::LabelD).caption = german ? "Stammdurchm. d (m)" : "Trunc diam. d (m)";
    ObstacleDialog::setGerman(german);
}

std::vector<int> TreeDialog::refusedValues(const Obstacle& candidate, std::string& message) const {
    // a trunk above the tree top, or a negative crown, has no shape to project
    if (candidate.trunkLength() > candidate.height()) {
        message = german() ? "Die Stammlänge darf die Baumhöhe nicht übersteigen."
                           : "The trunk length must not exceed the tree height.";
        return {3, 5};
    }
    if (candidate.crownRadius() < 0) {
        message = german() ? "Der Kronenradius darf nicht negativ sein."
                           : "The crown radius must not be negative.";
        return {4};
    }
    return {};
}

}  // namespace umbrix
