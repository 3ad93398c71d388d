#pragma once
// The pre-settings window: model parameters that rarely change and the output date and time
// formats. Values live on the window for the program's lifetime; they are not in the session.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "models/ComponentNames.h"
#include "models/RangeMessages.h"
#include "platform/DateTime.h"
#include "platform/FormModel.h"

namespace umbrix {

class Application;

class PresettingsModel : public FormModel {
  public:
    explicit PresettingsModel(Application& app);

    // Stored values, read directly by the calculation.
    float bowen = 1.0f;       // Bowen ratio
    float albedo = 0.2f;      // albedo of the surroundings
    float turbidity = -1.0f;  // Linke turbidity; negative: automatic
    float dgRatio = -1.0f;    // ratio of diffuse and global radiation; negative: automatic
    float fogLimit = 90.0f;   // rel. humidity (%) from which the radiation is fully diffuse

    bool reduceGByObstacles() const { return checked(presettings::RedGChk); }
    // The models of earlier versions, for reproducing their tables.
    bool tmrtFromHorizontalDirect() const { return checked(presettings::TmrtHorizontalChk); }
    bool setStarSedentary() const { return checked(presettings::SetSedentaryChk); }

    // Runs the exit rule of every edit field; the refusals come together in one RangeError.
    void apply();
    // Opening takes note of the values, so that Cancel can bring them back.
    void show() override;

  protected:
    void onExit(const std::string& name) override;
    void onClick(const std::string& name) override;

  private:
    // Throws RangeError, with the field showing `previous` again, for a value outside the range.
    void refuseOutside(const std::string& name, Quantity quantity, double value,
                       const std::string& previous);
    void leaveDateFormat();
    void leaveTimeFormat();
    void restoreOpened();
    Application& app_;

    // The values as the window opened.
    struct Opened {
        std::vector<std::pair<std::string, std::string>> texts;
        std::vector<std::pair<std::string, bool>> checks;
        float bowen, albedo, turbidity, dgRatio, fogLimit;
        FormatSettings format;
    };
    std::optional<Opened> opened_;
};

}  // namespace umbrix
