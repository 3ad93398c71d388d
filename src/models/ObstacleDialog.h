#pragma once
// The modal dialogs that edit one obstacle's values: every field shows one value with two
// decimals; "&OK" reads them all back, "Cancel" leaves the obstacle as it was.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "horizon/Obstacles.h"
#include "models/RangeMessages.h"
#include "platform/FormModel.h"

namespace umbrix {

class ObstacleDialog : public FormModel {
  public:
    enum class ModalResult { None, Ok, Cancel };
    ModalResult modalResult() const { return result_; }

    // Fills the fields from the obstacle and shows the dialog modally. On "&OK" the values go
    // into the obstacle as the fields then show them, with two decimals, and the result is
    // true.
    bool execute(Obstacle& obstacle);

    // Captions and labels in the interface language.
    virtual void setGerman(bool german);

    // What is in the fields now, read as "&OK" reads it (for the desktop view).
    Obstacle fieldValues() const;

  protected:
    // fields: control name and the obstacle value (1-based) it shows.
    ObstacleDialog(std::string name, Host& host, std::vector<std::pair<std::string, int>> fields);

    // Values that leave the geometry undefined: their numbers, and the message shown.
    virtual std::vector<int> refusedValues(const Obstacle& /*candidate*/,
                                           std::string& /*message*/) const {
        return {};
    }

    void onClick(const std::string& name) override;
    // Albedo and emission coefficient outside 0 … 1 are refused; the field keeps its value.
    void onExit(const std::string& name) override;

    bool german() const { return german_; }

  private:
    static std::optional<Quantity> shareQuantity(const std::string& control);
    void confirm();

    std::vector<std::pair<std::string, int>> fields_;
    Obstacle original_;
    ModalResult result_ = ModalResult::None;
    bool german_ = false;
};

// The deciduous and coniferous tree dialogs: the same fields, their own captions.
class TreeDialog : public ObstacleDialog {
  public:
    void setGerman(bool german) override;

  protected:
    // The caption carries both languages.
    TreeDialog(std::string name, Host& host, std::string bilingualCaption);
    std::vector<int> refusedValues(const Obstacle& candidate, std::string& message) const override;
};

}  // namespace umbrix
