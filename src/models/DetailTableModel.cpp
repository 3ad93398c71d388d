#include "models/DetailTableModel.h"

#include "models/Application.h"
#include "models/ComponentNames.h"
#include "models/TableWriter.h"

namespace umbrix {

using namespace detail_table;

DetailTableModel::DetailTableModel(Application& app) : FormModel(detail_table::kForm, app.host()) {
    caption = "PET/MEMI - mPET";
    add(Memo1, ControlKind::Other).readOnly = true;
    add(SaveAs1, ControlKind::MenuItem, "&Save as...");
    add(Close1, ControlKind::MenuItem, "&Close");
}

bool DetailTableModel::saveAs() {
    FileDialogOptions o;
    o.title = "Save as";
    o.filter = "Textfiles|*.txt|All files|*.*";
    o.defaultExt = "txt";
    return SaveLinesAs(host(), o, lines_);
}

void DetailTableModel::onClick(const std::string& name) {
    if (name == SaveAs1) saveAs();
    if (name == Close1) hide();
}

}  // namespace umbrix
