#include "calc/Memi.h"

#include "calc/Application.h"
#include "platform/TextFile.h"

namespace umbrix {

TFormMemi::TFormMemi(Application& app) : FormModel("FormMemi", app.host()) {
    caption = "PET/MEMI - mPET";
    add("Memo1", ControlKind::Other).readOnly = true;
    add("SaveAs1", ControlKind::MenuItem, "&Save as...");
    add("Close1", ControlKind::MenuItem, "&Close");
}

bool TFormMemi::saveAs() {
    FileDialogOptions o;
    o.title = "Save as";
    o.filter = "Textfiles|*.txt|All files|*.*";
    o.defaultExt = "txt";
    auto path = host().saveFileDialog(o);
    if (!path) return false;
    std::string content;
    for (const auto& line : lines_) content += line + "\n";
    WriteTextFile(*path, content);
    return true;
}

void TFormMemi::onClick(const std::string& name) {
    if (name == "SaveAs1") saveAs();
    if (name == "Close1") hide();
}

}  // namespace umbrix
