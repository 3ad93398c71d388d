#pragma once
// The detail window of the PET/MEMI and mPET models: the detail table as text lines.
#include <string>
#include <vector>

#include "platform/FormModel.h"

namespace umbrix {

class Application;

class DetailTableModel : public FormModel {
  public:
    explicit DetailTableModel(Application& app);

    std::vector<std::string>& lines() { return lines_; }
    const std::vector<std::string>& lines() const { return lines_; }

    // "Save as": writes the lines as a text file; false when the dialog was cancelled.
    bool saveAs();

  protected:
    void onClick(const std::string& name) override;

  private:
    std::vector<std::string> lines_;
};

}  // namespace umbrix
