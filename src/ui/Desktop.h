#pragma once
// The desktop program's shell: owns the Application (every window model) and one window per
// model, created once in the start-up order; runs every user action through one guard that
// shows errors as messages, keeps a long command from being re-entered, lets Cancel and Escape
// end it, and brings every window up to date afterwards; switches the interface language.
#include <QElapsedTimer>
#include <QMainWindow>
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "models/Application.h"
#include "ui/Captions.h"
#include "ui/FormBinder.h"
#include "ui/QtHost.h"
#include "ui/QtLanguage.h"
#include "ui/WindowPlacement.h"

class QPushButton;
class QUrl;
class QEventLoop;

namespace umbrix::ui {

class Desktop;

// A window that shows one window model. Closing it is the model's business: the model hides
// it, or keeps it open (a dialog that asks first).
class FormWindow : public QMainWindow {
    Q_OBJECT
  public:
    FormWindow(FormModel& model, Desktop& desktop);
    ~FormWindow() override;
    FormModel& model() const { return model_; }
    FormBinder* binder() const { return binder_; }

    // Binds the widgets built so far to the model (called by the window's constructor).
    void bindWidgets();
    // The parts the binder does not know: text views, pictures, view-only texts.
    virtual void refreshView() {}
    // The model's caption, in the interface language where it holds both.
    void showTitle();

  protected:
    void closeEvent(QCloseEvent* event) override;
    // the place of the window: restored when it first opens, remembered when it closes
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

    FormModel& model_;
    Desktop& desktop_;
    FormBinder* binder_ = nullptr;
    int listener_ = 0;
    bool bilingualTitle_ = true;  // false where " - " joins two names
    bool placed_ = false;
};

class Desktop : public QObject, public Dispatcher {
    Q_OBJECT
  public:
    Desktop(QtHost& host, AppSettings settings);
    ~Desktop() override;

    Application& app() { return *app_; }
    QtHost& host() { return host_; }

    // Creates the windows, shows the main window and runs the start-up of the main window:
    // defaults, locations, now, and the session restore when `useSession`.
    void start(bool useSession);
    // Program end: the session is saved (or only the unchecked option). Runs once.
    void end();

    // The window of a model ("FormGeodat", ...) or of the about box ("AboutBox") and the
    // bibliography ("FormBiblio").
    QWidget* window(const std::string& name) const;
    FormWindow* formWindow(const FormModel& model) const;
    QMainWindow* mainWindow() const;

    // ---- Dispatcher ----
    void act(FormModel& form, const std::function<void()>& action, bool commit) override;
    bool inputLocked(const FormModel& form) const override;
    QString itemText(const FormModel& form, const Control& control,
                     const std::string& item) const override;
    Language language() const override { return app_->language(); }

    // True from the start of a user action to its end.
    bool busy() const { return depth_ > 0; }
    // True once a long command has locked the input (Cancel is then enabled).
    bool runningLocked() const { return locked_; }
    // Cancel button and Escape.
    void cancel();
    // A window's close box.
    void closeRequested(FormWindow& window);

    // Help items: the README beside the program or in the source tree, opened with the
    // desktop's default program (tests replace the opener).
    std::string helpFile() const;
    void openHelp();
    std::function<bool(const QUrl&)> urlOpener;
    void showAbout();
    void showBibliography();

    // Brings every window up to date with its model.
    void refreshAll();
    // The windows' places, beside the session file.
    const WindowMemory& windowMemory() const { return windowMemory_; }

    // How long a command may run before the input is locked (and user events are delivered).
    int lockDelayMs = 150;

  signals:
    void languageApplied();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void createWindows();
    void applyLanguage();
    void syncVisibility();
    void pump();
    void lockInput(bool locked);
    void runModal(FormModel& dialog);
    bool modalFinished(const FormModel& dialog) const;

    QtHost& host_;
    std::unique_ptr<Application> app_;
    std::vector<FormWindow*> windows_;  // owned by Qt (no parent: deleted in ~Desktop)
    QPointer<QWidget> about_;
    QPointer<QWidget> bibliography_;
    QPointer<QPushButton> cancelButton_;
    CaptionSwitch captions_;
    QtLanguage qtLanguage_;
    WindowMemory windowMemory_;
    Language applied_ = Language::English;
    bool captionsApplied_ = false;

    int depth_ = 0;
    bool locked_ = false;
    bool ended_ = false;
    bool closeAfterRun_ = false;
    QElapsedTimer runClock_;
    std::vector<std::pair<FormModel*, QEventLoop*>> modal_;
};

}  // namespace umbrix::ui
