#pragma once
// The data-file window: the data file of a time-series run, its column selection and reading
// formats, the default for missing values and "Output in file".
#include <string>
#include <vector>

#include "platform/FormModel.h"

namespace umbrix {

class Application;

class TFormWerte : public FormModel {
  public:
    explicit TFormWerte(Application& app);

    // The items of CheckListBox1 in their initial order.
    static const std::vector<std::string>& ColumnItems();

  protected:
    void onClick(const std::string& name) override;

  private:
    Application& app_;
};

}  // namespace umbrix
