#pragma once
// The part of the main window that the horizon editors touch, with the main window's item names
// so that a test can see it: the horizon sources of the "&Input" menu, "Shadows" and "A&dd".
#include <string>

#include "models/MainWindowLink.h"
#include "platform/FormModel.h"

namespace umbrix::test {

class MainWindowStub : public FormModel, public MainWindowLink {
  public:
    explicit MainWindowStub(Host& host) : FormModel("FormGeodat", host) {
        caption = "Umbrix";
        for (const char* item : {"Horizonteinengung1", "Topographie1", "Hindernisobjekte1"})
            add(item, ControlKind::MenuItem);
        add("Schattenwurf1", ControlKind::MenuItem, "Shadows").enabled = false;
        add("ButtonHinzu", ControlKind::Button, "A&dd");
    }
    void enableAdd() { ctl("ButtonHinzu").enabled = true; }

    const std::string& windowCaption() const override { return caption; }
    bool sourceTakesPart(HorizonSourceKind source) const override { return checked(item(source)); }
    void setSourceTakesPart(HorizonSourceKind source, bool takesPart) override {
        ctl(item(source)).checked = takesPart;
    }
    void requireNewTable() override { ctl("ButtonHinzu").enabled = false; }
    void setShadowsAvailable(bool available) override { ctl("Schattenwurf1").enabled = available; }

  private:
    static const char* item(HorizonSourceKind source) {
        return source == HorizonSourceKind::Drawing   ? "Horizonteinengung1"
               : source == HorizonSourceKind::Terrain ? "Topographie1"
                                                      : "Hindernisobjekte1";
    }
};

}  // namespace umbrix::test
