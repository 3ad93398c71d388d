#pragma once
// What the horizon editors change in the main window, without naming its controls: whether
// their source takes part in the horizon (the items of the "&Input" menu), that "A&dd" must wait
// for the next "&New" because the table's header no longer fits, and whether the shadow diagram
// can be drawn. The main window implements it; the tests give a stub.
#include <string>

namespace umbrix {

enum class HorizonSourceKind { Drawing, Terrain, Obstacles };

class MainWindowLink {
  public:
    virtual ~MainWindowLink() = default;

    virtual const std::string& windowCaption() const = 0;
    virtual bool sourceTakesPart(HorizonSourceKind source) const = 0;
    virtual void setSourceTakesPart(HorizonSourceKind source, bool takesPart) = 0;
    virtual void requireNewTable() = 0;
    virtual void setShadowsAvailable(bool available) = 0;
};

}  // namespace umbrix
