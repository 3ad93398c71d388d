#include "ui/ProjectMenu.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

#include "models/Application.h"
#include "models/ComponentNames.h"
#include "models/MainWindowModel.h"
#include "models/ProjectFile.h"
#include "platform/TextFile.h"
#include "ui/Desktop.h"
#include "ui/QtHost.h"

namespace umbrix::ui {

namespace {

constexpr char kFilter[] = "Umbrix projects (*.umbrix)|*.umbrix|All files (*.*)|*.*";

}  // namespace

// The dialogs start in the folder of the latest project (or of the session before the first);
// saving proposes the latest project's name.
std::string ProjectMenu::proposedName(bool save) const {
    const std::vector<std::string> list = RecentProjects(listFile().toStdString());
    const QFileInfo latest(list.empty() ? QString::fromStdString(desktop_.app().sessionFile())
                                        : QString::fromStdString(list.front()));
    const QString name = list.empty() ? "study.umbrix" : latest.fileName();
    return (latest.absolutePath() + "/" + (save ? name : QString())).toStdString();
}

ProjectMenu::ProjectMenu(QMenu* file, QAction* before, Desktop& desktop)
    : QObject(file), desktop_(desktop) {
    auto* save = new QAction("Save &project...", file);
    save->setObjectName(main_window::SaveProject1);
    auto* open = new QAction("Open p&roject...", file);
    open->setObjectName(main_window::OpenProject1);
    recent_ = new QMenu("Recent projects", file);
    recent_->setObjectName(main_window::MenuRecent);
    file->insertSeparator(before);
    file->insertAction(before, open);
    file->insertAction(before, save);
    file->insertMenu(before, recent_);
    connect(save, &QAction::triggered, this, &ProjectMenu::save);
    connect(open, &QAction::triggered, this, &ProjectMenu::chooseAndOpen);
    // the list as it stands whenever the menu opens (another instance may have added to it)
    connect(file, &QMenu::aboutToShow, this, &ProjectMenu::fillRecent);
    fillRecent();
}

QString ProjectMenu::listFile() const {
    const QFileInfo session(QString::fromStdString(desktop_.app().sessionFile()));
    return session.absolutePath() + "/recentprojects.ini";
}

void ProjectMenu::remember(const std::string& path) {
    RememberRecentProject(listFile().toStdString(), path);
    fillRecent();
}

void ProjectMenu::fillRecent() {
    recent_->clear();
    const std::vector<std::string> list = RecentProjects(listFile().toStdString());
    int n = 0;
    for (const std::string& path : list) {
        ++n;
        const QString text = QString("&%1 %2").arg(n).arg(QString::fromStdString(path));
        QAction* item = recent_->addAction(text);
        item->setObjectName(QString("RecentProject%1").arg(n));
        connect(item, &QAction::triggered, this, [this, path] { open(path); });
    }
    recent_->setEnabled(!list.empty());
}

void ProjectMenu::save() {
    Application& app = desktop_.app();
    desktop_.act(
        app.mainWindow(),
        [this, &app] {
            FileDialogOptions o;
            o.title = "Save project";
            o.filter = kFilter;
            o.defaultExt = "umbrix";
            o.fileName = proposedName(true);
            auto path = app.host().saveFileDialog(o);
            if (!path) return;
            // a project never replaces a file the program reads
            app.checkOutputFile(*path);
            SaveProject(app, *path);
            remember(*path);
        },
        true);
}

void ProjectMenu::chooseAndOpen() {
    Application& app = desktop_.app();
    FileDialogOptions o;
    o.title = "Open project";
    o.filter = kFilter;
    o.defaultExt = "umbrix";
    o.fileName = proposedName(false);
    std::optional<std::string> path;
    desktop_.act(
        app.mainWindow(), [&] { path = app.host().openFileDialog(o); }, true);
    if (path) open(*path);
}

void ProjectMenu::open(const std::string& path) {
    Application& app = desktop_.app();
    desktop_.act(
        app.mainWindow(),
        [this, &app, path] {
            if (!OfferToSaveEditors(app)) return;
            std::vector<std::string> problems = OpenProject(app, path);  // throws: nothing changed
            remember(path);
            if (problems.empty()) return;
            std::string text = "project " + FileNameOnly(path) + ": not restored as stored:";
            for (const auto& p : problems) text += "\n" + p;
            app.host().showMessage(text, MessageKind::Warning);
        },
        true);
}

}  // namespace umbrix::ui
