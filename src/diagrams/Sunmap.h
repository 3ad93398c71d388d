#pragma once
// The diagram window: a picture view for the sun path and shadow diagrams and a text view for
// the data table.
#include <string>
#include <vector>

#include "platform/FormModel.h"

namespace umbrix {

class Application;

class TFormMap : public FormModel {
  public:
    explicit TFormMap(Application& app);

    // Lines of the text view (RichEdit1): the data table.
    std::vector<std::string>& lines() { return lines_; }
    const std::vector<std::string>& lines() const { return lines_; }

    // True while the picture view is meant; false for the text view.
    bool pictureView = false;
    // Scale of the shadow diagram, metres per pixel.
    double scale = 1.0;

    // Shows the picture view (true) or the text view (false) and enables the controls for it.
    void ShowDiagram(bool picture);
    // The time and increment controls: enabled in the diagram modes.
    void setDiagramControlsEnabled(bool enabled);
    void setTimeMinutes(int minutes);
    int timeMinutes() const { return ctl("UpDown1").position; }

    // "&Save as...": the text view's lines as a text file (default extension "dat"). False
    // when the dialog was cancelled.
    bool saveAs();

  protected:
    void onClick(const std::string& name) override;

  private:
    Application& app_;
    std::vector<std::string> lines_;
};

}  // namespace umbrix
