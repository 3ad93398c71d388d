#include "ui/Desktop.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QEventLoop>
#include <QFileInfo>
#include <QHideEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QToolBar>
#include <QUrl>
#include <algorithm>

#include "models/BuildingDialog.h"
#include "models/ComponentNames.h"
#include "models/ConiferDialog.h"
#include "models/DeciduousTreeDialog.h"
#include "models/MainWindowModel.h"
#include "models/ObstacleDialog.h"
#include "models/RangeMessages.h"
#include "models/TableWriter.h"
#include "ui/BibliographyWindow.h"
#include "ui/Bilingual.h"
#include "ui/DataFileWindow.h"
#include "ui/DetailWindow.h"
#include "ui/DiagramWindow.h"
#include "ui/GenericWindow.h"
#include "ui/HorizonWindow.h"
#include "ui/MainWindow.h"
#include "ui/ObstacleWindow.h"
#include "ui/PresettingsWindow.h"
#include "ui/TopographyWindow.h"
#include "ui/start.h"

#ifndef UMBRIX_SOURCE_DIR
#define UMBRIX_SOURCE_DIR ""
#endif

namespace umbrix::ui {

// ---- FormWindow --------------------------------------------------------------

FormWindow::FormWindow(FormModel& model, Desktop& desktop)
    : QMainWindow(nullptr), model_(model), desktop_(desktop) {
    setObjectName(QString::fromStdString(model.name()));
    showTitle();
    setAttribute(Qt::WA_DeleteOnClose, false);
}

FormWindow::~FormWindow() {
    if (listener_) model_.removeListener(listener_);
}

void FormWindow::bindWidgets() {
    binder_ = new FormBinder(model_, this, desktop_);
    binder_->bindAll();
    listener_ = model_.addListener([this](const std::string&) {
        showTitle();
        refreshView();
    });
    refreshView();
}

void FormWindow::showTitle() {
    const Language language = desktop_.app().language();
    const QString title = bilingualTitle_ ? WindowTitle(model_.caption, language)
                                          : QString::fromStdString(model_.caption);
    if (windowTitle() != title) setWindowTitle(title);
}

void FormWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (placed_ || event->spontaneous()) return;
    placed_ = true;
    PlaceWindow(*this, objectName(), desktop_.mainWindow(), desktop_.windowMemory());
}

void FormWindow::hideEvent(QHideEvent* event) {
    QMainWindow::hideEvent(event);
    if (!event->spontaneous()) RememberWindow(*this, objectName(), desktop_.windowMemory());
}

void FormWindow::closeEvent(QCloseEvent* event) {
    // the model decides: it hides the window, or keeps it open
    event->ignore();
    desktop_.closeRequested(*this);
}

// ---- Desktop -------------------------------------------------------------------

Desktop::Desktop(QtHost& host, AppSettings settings) : host_(host) {
    app_ = std::make_unique<Application>(host_, std::move(settings));
    windowMemory_ = WindowMemory(
        QFileInfo(QString::fromStdString(app_->sessionFile())).absolutePath() + "/windows.ini");
    host_.title = kProgramTitle;
    host_.modalRunner = [this](FormModel& dialog) { runModal(dialog); };
    host_.messagePump = [this] { pump(); };
    qApp->installEventFilter(this);
}

Desktop::~Desktop() {
    qApp->removeEventFilter(this);
    host_.modalRunner = nullptr;
    host_.messagePump = nullptr;
    // the windows bind to the models: they go first
    for (FormWindow* w : windows_) delete w;
    windows_.clear();
    delete about_.data();
    delete bibliography_.data();
}

void Desktop::createWindows() {
    if (!windows_.empty()) return;
    auto make = [this](FormModel& model) -> FormWindow* {
        const std::string& n = model.name();
        if (n == main_window::kForm) return new MainWindow(app_->mainWindow(), *this);
        if (n == detail_table::kForm) return new DetailWindow(app_->detailTable(), *this);
        if (n == output_window::kForm) return new DiagramWindow(app_->outputWindow(), *this);
        if (n == data_file_window::kForm) return new DataFileWindow(app_->dataFileWindow(), *this);
        if (n == presettings::kForm) return new PresettingsWindow(app_->presettings(), *this);
        if (n == obstacle_editor::kForm) return new ObstacleWindow(app_->obstacleEditor(), *this);
        if (n == horizon_editor::kForm) return new HorizonWindow(app_->horizonEditor(), *this);
        if (n == topography_editor::kForm)
            return new TopographyWindow(app_->topographyEditor(), *this);
        if (auto* dialog = dynamic_cast<ObstacleDialog*>(&model))
            return new ObstacleDialogWindow(*dialog, *this);
        return new GenericWindow(model, *this);
    };
    // the obstacle dialogs are not in the registry: they are reached through their editor
    auto dialog = [this](const std::string& name) -> FormModel* {
        if (name == building_dialog::kForm) return &app_->buildingDialog();
        if (name == tree_dialog::kDeciduousForm) return &app_->deciduousTreeDialog();
        if (name == tree_dialog::kConiferForm) return &app_->coniferDialog();
        return nullptr;
    };
    // The start-up order of the windows; models that are not listed follow.
    const char* const order[] = {
        main_window::kForm,       detail_table::kForm,         "AboutBox",
        building_dialog::kForm,   tree_dialog::kDeciduousForm, tree_dialog::kConiferForm,
        output_window::kForm,     horizon_editor::kForm,       data_file_window::kForm,
        topography_editor::kForm, presettings::kForm,          "FormBiblio",
        obstacle_editor::kForm};
    ComponentRegistry& registry = app_->registry();
    std::vector<FormModel*> done;
    for (const char* name : order) {
        if (std::string(name) == "AboutBox") {
            about_ = new AboutBox(*this);
            continue;
        }
        if (std::string(name) == "FormBiblio") {
            bibliography_ = new BibliographyWindow(*this);
            continue;
        }
        FormModel* f = registry.form(name);
        if (!f) f = dialog(name);
        if (f) {
            windows_.push_back(make(*f));
            done.push_back(f);
        }
    }
    for (FormModel* f : registry.forms())
        if (std::find(done.begin(), done.end(), f) == done.end()) windows_.push_back(make(*f));

    QMainWindow* main = mainWindow();
    host_.progressBar = main->findChild<QProgressBar*>(main_window::ProgressBar1);
    cancelButton_ = main->findChild<QPushButton*>(main_window::ButtonCancel);
    if (cancelButton_) {
        cancelButton_->setEnabled(false);
        connect(cancelButton_, &QPushButton::clicked, this, [this] { cancel(); });
    }
}

void Desktop::start(bool useSession) {
    createWindows();
    try {
        app_->start(useSession);
    } catch (const std::exception& e) {
        host_.showMessage(e.what(), MessageKind::Error);
    }
    applyLanguage();
    refreshAll();
    mainWindow()->show();
    syncVisibility();
    // once, over the main window: what the locations list could not give
    if (std::string report = app_->mainWindow().locationReport(); !report.empty())
        host_.showMessage(report, MessageKind::Warning);
}

void Desktop::end() {
    if (ended_) return;
    ended_ = true;
    for (FormWindow* w : windows_)
        if (w->isVisible()) RememberWindow(*w, w->objectName(), windowMemory_);
    try {
        app_->end();
    } catch (const std::exception& e) {
        host_.showMessage(e.what(), MessageKind::Error);
    }
}

QWidget* Desktop::window(const std::string& name) const {
    if (name == "AboutBox") return about_;
    if (name == "FormBiblio") return bibliography_;
    for (FormWindow* w : windows_)
        if (w->model().name() == name) return w;
    return nullptr;
}

FormWindow* Desktop::formWindow(const FormModel& model) const {
    for (FormWindow* w : windows_)
        if (&w->model() == &model) return w;
    return nullptr;
}

QMainWindow* Desktop::mainWindow() const {
    return windows_.empty() ? nullptr : windows_.front();
}

// ---- actions -------------------------------------------------------------------

void Desktop::act(FormModel& form, const std::function<void()>& action, bool commit) {
    (void)form;
    // No command starts inside a running one; only a dialog it opened takes input.
    if (depth_ > 0 && modal_.empty()) return;
    const bool outer = depth_ == 0;
    if (outer) {
        host_.clearCancel();
        runClock_.start();
    }
    ++depth_;
    try {
        if (commit)
            for (FormWindow* w : windows_) w->binder()->commitPending();
        action();
    } catch (const RangeError& e) {
        // a refused entry: the field kept its value, nothing failed
        host_.showMessage(e.what(), MessageKind::Warning);
    } catch (const std::exception& e) {
        host_.showMessage(e.what(), MessageKind::Error);
    }
    --depth_;
    if (outer) {
        runClock_.invalidate();
        host_.clearCancel();  // a cancel ends this command only
        if (locked_) lockInput(false);
    }
    applyLanguage();
    refreshAll();
    syncVisibility();
    if (!modal_.empty() && modalFinished(*modal_.back().first)) modal_.back().second->quit();
    if (outer && closeAfterRun_) {
        closeAfterRun_ = false;
        mainWindow()->close();
    }
}

bool Desktop::inputLocked(const FormModel& form) const {
    if (!locked_) return false;
    return modal_.empty() || modal_.back().first != &form;
}

QString Desktop::itemText(const FormModel& form, const Control& control,
                          const std::string& item) const {
    return ItemCaption(app_->language(), form.name(), control.name, item);
}

void Desktop::pump() {
    if (depth_ == 0 || !runClock_.isValid()) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        return;
    }
    if (!locked_) {
        // a short command is not worth locking the windows for: the user's clicks wait
        if (runClock_.elapsed() < lockDelayMs) {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            return;
        }
        lockInput(true);
    }
    QCoreApplication::processEvents();
}

void Desktop::lockInput(bool locked) {
    locked_ = locked;
    for (FormWindow* w : windows_) {
        if (QMenuBar* bar = w->menuBar()) bar->setEnabled(!locked);
        for (QToolBar* tools : w->findChildren<QToolBar*>()) tools->setEnabled(!locked);
    }
    if (cancelButton_) cancelButton_->setEnabled(locked);
    refreshAll();
}

void Desktop::cancel() {
    if (busy()) host_.requestCancel();
}

bool Desktop::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && locked_ &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        cancel();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void Desktop::closeRequested(FormWindow& window) {
    if (&window == mainWindow()) {
        if (busy()) {
            // end the running command first; the window closes when it has stopped
            cancel();
            closeAfterRun_ = true;
            return;
        }
        end();
        for (FormWindow* w : windows_) w->hide();
        if (about_) about_->hide();
        if (bibliography_) bibliography_->hide();
        QCoreApplication::quit();
        return;
    }
    FormModel& m = window.model();
    act(
        m,
        [&m] {
            if (dynamic_cast<ObstacleDialog*>(&m)) {
                m.click(obstacle_dialog::CancelBtn);
                return;
            }
            // the detail table closes as the output window does, the topography editor as the
            // data-file window
            for (const char* closer :
                 {obstacle_editor::CloseBtn, output_window::Close1, data_file_window::OkBtn}) {
                const Control* c = m.find(closer);
                if (c && c->enabled) {
                    m.click(closer);
                    return;
                }
            }
            m.hide();
        },
        true);
}

void Desktop::runModal(FormModel& dialog) {
    FormWindow* w = formWindow(dialog);
    if (!w) return;
    QEventLoop loop;
    modal_.emplace_back(&dialog, &loop);
    w->setWindowModality(Qt::ApplicationModal);
    refreshAll();
    w->show();
    w->raise();
    w->activateWindow();
    if (!modalFinished(dialog)) loop.exec();
    modal_.pop_back();
    w->hide();
    w->setWindowModality(Qt::NonModal);
}

bool Desktop::modalFinished(const FormModel& dialog) const {
    if (!dialog.isVisible()) return true;
    if (auto* d = dynamic_cast<const ObstacleDialog*>(&dialog))
        return d->modalResult() != ObstacleDialog::ModalResult::None;
    return false;
}

// ---- views -----------------------------------------------------------------------

void Desktop::refreshAll() {
    for (FormWindow* w : windows_) {
        w->binder()->refresh();
        w->refreshView();
    }
}

void Desktop::syncVisibility() {
    for (FormWindow* w : windows_) {
        if (w == mainWindow()) continue;
        const bool want = w->model().isVisible();
        if (want && !w->isVisible()) {
            w->show();
            w->raise();
        } else if (!want && w->isVisible()) {
            w->hide();
        }
    }
}

void Desktop::applyLanguage() {
    const Language language = app_->language();
    if (captionsApplied_ && language == applied_) return;
    captions_.applyToModels(app_->registry(), language);
    qtLanguage_.apply(language);  // without the translation installed, Qt's texts stay English
    for (FormWindow* w : windows_)
        CaptionSwitch::applyToWidgets(w, w->model().name(), language, &w->model());
    if (auto* about = qobject_cast<AboutBox*>(about_.data())) about->retranslate(language);
    if (auto* biblio = qobject_cast<BibliographyWindow*>(bibliography_.data()))
        biblio->retranslate(language);
    applied_ = language;
    captionsApplied_ = true;
    emit languageApplied();
}

std::string Desktop::helpFile() const {
    // installed, beside the program in the build tree, or in the build tree of these sources
    const QString dir = QCoreApplication::applicationDirPath();
    const QStringList candidates = {dir + "/../share/doc/umbrix/manual.html", dir + "/manual.html",
                                    QString(UMBRIX_BINARY_DIR) + "/manual.html"};
    for (const QString& c : candidates)
        if (QFileInfo(c).isFile()) return QFileInfo(c).canonicalFilePath().toStdString();
    return {};
}

void Desktop::openHelp() {
    const std::string path = helpFile();
    if (path.empty()) {
        host_.showMessage(app_->language() == Language::German
                              ? "Das Benutzerhandbuch (manual.html) wurde nicht gefunden."
                              : "The user manual (manual.html) was not found.",
                          MessageKind::Warning);
        return;
    }
    const QUrl url = QUrl::fromLocalFile(QString::fromStdString(path));
    const bool opened = urlOpener ? urlOpener(url) : QDesktopServices::openUrl(url);
    if (!opened)
        host_.showMessage((app_->language() == Language::German ? "Kein Programm zum Öffnen von "
                                                                : "No program to open ") +
                              path,
                          MessageKind::Warning);
}

void Desktop::showAbout() {
    if (!about_) return;
    about_->show();
    about_->raise();
}

void Desktop::showBibliography() {
    if (!bibliography_) return;
    bibliography_->show();
    bibliography_->raise();
}

}  // namespace umbrix::ui
