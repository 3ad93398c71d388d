#pragma once
// Binds a window model to its widgets by name: every widget and action whose objectName is the
// name of one of the model's controls shows that control (text, caption, hint, items, check
// state, enabled, visible) and hands the user's typing, leaving, clicking, choosing, checking,
// dragging and stepping to the model. Controls without a widget get generated ones, so controls
// that a model gains later appear without a change here.
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "models/Language.h"
#include "platform/FormModel.h"

class QFormLayout;
class QMenu;
class QWidget;

namespace umbrix::ui {

// What the binder needs of the desktop shell.
class Dispatcher {
  public:
    virtual ~Dispatcher() = default;
    // Runs a user action on a model: refused while another command runs, errors shown as
    // messages, every window brought up to date afterwards. `commit` first runs the exit rules
    // of fields that were typed into and not left, as moving the focus to a button would.
    virtual void act(FormModel& form, const std::function<void()>& action, bool commit) = 0;
    // True while a long command runs and the form's input must not be used.
    virtual bool inputLocked(const FormModel& form) const = 0;
    // The text a list or combo item shows in the interface language.
    virtual QString itemText(const FormModel& form, const Control& control,
                             const std::string& item) const = 0;
    // The interface language: bilingual hints show its half.
    virtual Language language() const { return Language::English; }
};

class FormBinder : public QObject {
    Q_OBJECT
  public:
    FormBinder(FormModel& model, QWidget* window, Dispatcher& dispatcher);
    ~FormBinder() override;

    FormModel& model() const { return model_; }
    QWidget* window() const { return window_; }

    // Binds every widget and action under the window whose objectName names a control.
    void bindAll();
    // Creates widgets for the controls that have none: fields, boxes, buttons and lists as rows
    // of `layout`, menu items in `menu` (either may be null to skip that kind).
    void createMissing(QFormLayout* layout, QMenu* menu);

    bool isBound(const std::string& name) const { return byName_.count(name) != 0; }
    QObject* object(const std::string& name) const;

    // Model to widgets; `control` names the control that changed, "" when much changed.
    void refresh(const std::string& control = {});
    // Runs the exit rules of the fields typed into since they were last left.
    void commitPending();
    // A key of the field's own dealt with what was typed: leaving it later owes no exit rule.
    void forgetPending(const std::string& name);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Binding {
        Control* control = nullptr;
        QPointer<QObject> object;
        std::vector<std::string> shownItems;  // the model items the widget lists
        bool pendingExit = false;             // typed into, not yet left
        bool everChecked = false;             // menu items that have shown a check mark
    };

    void bind(QObject* object, Control& control);
    void refreshBinding(Binding& b, bool named);
    void typed(const std::string& name, const QString& text);
    void left(const std::string& name);
    void act(const std::function<void()>& action, bool commit);

    FormModel& model_;
    QWidget* window_;
    Dispatcher& dispatcher_;
    std::vector<Binding> bindings_;
    std::unordered_map<std::string, std::size_t> byName_;
    std::unordered_map<QObject*, std::size_t> byObject_;
    int listener_ = 0;
    bool refreshing_ = false;
};

}  // namespace umbrix::ui
