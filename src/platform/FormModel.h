#pragma once
// Headless model of a window: its controls under their component names, and the handlers
// that run when the user types, leaves a field, clicks or chooses. The Qt views bind widgets
// by objectName to these controls; the command line and the session file reach them through
// ComponentRegistry.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/Host.h"

namespace umbrix {

class Picture;
class Raster;

enum class ControlKind {
    Edit,
    Combo,
    CheckBox,
    MenuItem,
    Button,
    SpeedButton,  // may stay down: `checked` is its down state
    Label,
    RadioGroup,
    CheckList,
    TrackBar,
    UpDown,
    Other
};

struct Control {
    std::string name;
    ControlKind kind = ControlKind::Other;
    std::string text;     // edits and combo boxes
    std::string caption;  // labels, buttons, check boxes, menu items
    std::string hint;
    std::vector<std::string> items;  // combo boxes, radio groups, check lists
    std::vector<bool> itemChecked;   // check lists
    int itemIndex = -1;
    bool checked = false;  // check boxes, check menu items, speed buttons (down)
    bool enabled = true;
    bool visible = true;
    bool readOnly = false;
    int position = 0;  // track bars and up-downs
    int minimum = 0;
    int maximum = 100;
    int increment = 1;
    bool autoCheck = false;  // check boxes and such menu items toggle before their handler runs
    // An edit's text before the typing that its exit rule is about to judge; an exit rule that
    // refuses the new text puts this one back.
    std::string textBeforeEdit;
    bool edited = false;
    // The exit rule refused the text last typed (views mark the field until the next typing).
    bool refused = false;
    // What a picture control shows (a diagram, an editor's image); a view draws whichever is
    // set, the vector picture first.
    std::shared_ptr<const Picture> picture;
    std::shared_ptr<const Raster> image;

    // Which properties the session file stores for this control.
    bool hasText() const { return kind == ControlKind::Edit || kind == ControlKind::Combo; }
    bool hasItemIndex() const {
        return kind == ControlKind::Combo || kind == ControlKind::RadioGroup;
    }
    bool hasChecked() const {
        return kind == ControlKind::CheckBox || kind == ControlKind::MenuItem;
    }
};

class FormModel {
  public:
    FormModel(std::string name, Host& host);
    virtual ~FormModel();
    FormModel(const FormModel&) = delete;
    FormModel& operator=(const FormModel&) = delete;

    const std::string& name() const { return name_; }
    Host& host() const { return host_; }

    std::string caption;
    bool isVisible() const { return visible_; }
    virtual void show();
    virtual void hide();

    // Throws UmbrixError when the form has no such control.
    Control& ctl(std::string_view name);
    const Control& ctl(std::string_view name) const;
    Control* find(std::string_view name);
    const Control* find(std::string_view name) const;
    // In creation order, the order of the session file.
    const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }

    // Convenience accessors.
    const std::string& text(std::string_view name) const { return ctl(name).text; }
    bool checked(std::string_view name) const { return ctl(name).checked; }
    bool enabled(std::string_view name) const { return ctl(name).enabled; }

    // ---- what a user does ----
    // Typing replaces the text and runs the change handler (not the exit rule).
    void type(std::string_view name, std::string text);
    // Leaving a field runs its exit rule.
    void leave(std::string_view name);
    // The text a field held before the typing that its exit rule now judges; `fallback` when
    // the text was set without typing.
    std::string previousText(std::string_view name, std::string_view fallback) const;
    void typeAndLeave(std::string_view name, std::string text);
    // Buttons, check boxes (toggled first), menu items (toggled first when autoCheck).
    void click(std::string_view name);
    // Choosing an item of a combo box, radio group or list; -1 clears the choice.
    void select(std::string_view name, int index);
    // Checking an item of a check list.
    void setItemChecked(std::string_view name, int index, bool checked);
    // Dragging an item of a list onto another position; it keeps its check mark.
    void moveItem(std::string_view name, int from, int to);
    // Moving an up-down or a track bar; the position is kept within minimum .. maximum and
    // the change handler runs.
    void setPosition(std::string_view name, int position);

    // ---- views ----
    // Called with the control's name after a change, or with "" when much changed.
    using Listener = std::function<void(const std::string& control)>;
    int addListener(Listener listener);
    void removeListener(int id);
    void changed(const std::string& control = {});

  protected:
    Control& add(std::string name, ControlKind kind, std::string captionOrText = {});

    virtual void onChange(const std::string& /*name*/) {}
    virtual void onExit(const std::string& /*name*/) {}
    virtual void onClick(const std::string& /*name*/) {}
    virtual void onSelect(const std::string& /*name*/) {}
    virtual void onItemChecked(const std::string& /*name*/, int /*index*/) {}
    // After the item has moved from `from` to `to`.
    virtual void onItemMoved(const std::string& /*name*/, int /*from*/, int /*to*/) {}

    // Checks one item of a radio group of menu items or speed buttons and unchecks the rest.
    void checkExclusive(std::string_view name, const std::vector<std::string>& group);

  private:
    std::string name_;
    Host& host_;
    bool visible_ = false;
    std::vector<std::unique_ptr<Control>> controls_;
    std::unordered_map<std::string, Control*> byName_;
    std::vector<std::pair<int, Listener>> listeners_;
    int nextListener_ = 1;
};

// Edit distance of two names, ignoring case (for "did you mean" hints).
std::size_t EditDistance(std::string_view a, std::string_view b);
// The candidate nearest to name; empty when there are none.
std::string NearestName(std::string_view name, const std::vector<std::string>& candidates);

// Finds controls across all windows by name ("EditTa") or qualified name ("FormTopo.EditDat");
// unqualified names are searched in the order the windows were registered (main window first).
class ComponentRegistry {
  public:
    void add(FormModel& form);
    const std::vector<FormModel*>& forms() const { return forms_; }
    FormModel* form(std::string_view formName) const;

    struct Found {
        FormModel* form = nullptr;
        Control* control = nullptr;
    };
    Found find(std::string_view name) const;

    // Acts as a user would: an edit gets the text and is left; a check box or check menu item
    // takes "1" or "0" and is clicked when its state differs; a combo box or radio group takes
    // an item text (an editable combo box also any text). Throws UmbrixError for an unknown
    // name, naming the nearest known one.
    void set(std::string_view name, const std::string& value);

    std::vector<std::string> names() const;
    std::string nearest(std::string_view name) const;

  private:
    std::vector<FormModel*> forms_;
};

}  // namespace umbrix
