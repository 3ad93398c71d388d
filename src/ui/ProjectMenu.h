#pragma once
// The project items of the main window's File menu: "Save project...", "Open project..." and
// the recently used projects (kept beside the session file).
#include <QObject>
#include <QString>
#include <string>

class QAction;
class QMenu;

namespace umbrix::ui {

class Desktop;

class ProjectMenu : public QObject {
    Q_OBJECT
  public:
    // Inserts the items into `file` before `before` (at the end when null).
    ProjectMenu(QMenu* file, QAction* before, Desktop& desktop);

  private:
    QString listFile() const;
    std::string proposedName(bool save) const;
    void save();
    void open(const std::string& path);
    void chooseAndOpen();
    void remember(const std::string& path);
    void fillRecent();

    Desktop& desktop_;
    QMenu* recent_ = nullptr;
};

}  // namespace umbrix::ui
