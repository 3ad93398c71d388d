#pragma once
// The part of the main window that the horizon editors touch: the Input menu's horizon items
// and "A&dd".
#include "platform/FormModel.h"

namespace umbrix::test {

class MainWindowStub : public FormModel {
  public:
    explicit MainWindowStub(Host& host) : FormModel("FormGeodat", host) {
        caption = "Umbrix";
        for (const char* item : {"Horizonteinengung1", "Topographie1", "Hindernisobjekte1"})
            add(item, ControlKind::MenuItem);
        add("ButtonHinzu", ControlKind::Button, "A&dd");
    }
    void enableAdd() { ctl("ButtonHinzu").enabled = true; }
};

}  // namespace umbrix::test
