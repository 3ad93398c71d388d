#pragma once
// Support of the window tests: a desktop on a scratch folder with a fixed clock, dialogs and
// messages answered by the test, and helpers that type, leave and click as a user does.
#include <QAction>
#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "models/Application.h"
#include "ui/Desktop.h"
#include "ui/QtHost.h"

namespace umbrix::ui::test {

// Test classes register themselves; main runs the one named on the command line, or all.
void RegisterTest(const char* name, std::function<QObject*()> make);
#define UI_TEST(Class)                     \
    static const bool registered_##Class = \
        (::umbrix::ui::test::RegisterTest(#Class, [] { return new Class; }), true)

class UiFixture {
  public:
    // A desktop on a fresh scratch folder (or on `folder` to see a previous run's session).
    explicit UiFixture(bool useSession = false, const QString& folder = {});
    ~UiFixture();

    Desktop& desktop() { return *desktop_; }
    Application& app() { return desktop_->app(); }
    QtHost& host() { return host_; }
    QString folder() const { return folder_; }
    QString path(const QString& name) const { return folder_ + "/" + name; }

    // A widget or action of a window by objectName; fails the test when missing.
    template <class T>
    T* find(const char* window, const char* name) {
        QWidget* w = desktop_->window(window);
        T* found = w ? w->findChild<T*>(QString::fromUtf8(name)) : nullptr;
        if (!found) std::fprintf(stderr, "no %s in %s\n", name, window);
        return found;
    }
    QLineEdit* edit(const char* name, const char* window = "FormGeodat") {
        return find<QLineEdit>(window, name);
    }
    QAction* action(const char* name, const char* window = "FormGeodat") {
        return find<QAction>(window, name);
    }

    // Replaces the field's text by typing and leaves it with the Tab key's focus change.
    static void typeAndLeave(QLineEdit* edit, const QString& text);
    static void typeOnly(QLineEdit* edit, const QString& text);
    static void leave(QWidget* widget);

    // Chooses a menu item with the mouse: its title in the window's menu bar, then the item.
    static void chooseMenuItem(QMainWindow* window, QAction* item);
    // A mouse click on the check box of a check list's row.
    static void clickCheckBox(QListWidget* list, int row);

    // The next file dialog comes up for real; the name (of a file in the folder it shows) is
    // typed into its name field and confirmed with its Open (or Save) button.
    void typeInNextFileDialog(const QString& name);

    // The next message box comes up for real instead of being answered by the hook, and is
    // answered with a mouse click on `button`, as a person answers it; its text goes to `seen`,
    // the texts of its buttons to `buttons`.
    // (UMBRIX_UI_HOLD_MS in the environment keeps it on the screen that long first.)
    void clickInNextMessageBox(QMessageBox::StandardButton button, QString* seen,
                               QStringList* buttons = nullptr);

    // Answers of the next file dialogs (nothing = cancel) and what the dialogs were asked.
    std::deque<std::optional<std::string>> dialogAnswers;
    std::vector<FileDialogOptions> dialogs;
    std::vector<std::string> messages;
    std::vector<QUrl> openedUrls;

  private:
    QObject watchers_;  // owns the timers that look for a message box
    std::function<Answer(const std::string&, MessageKind, bool, bool)> hook_;
    QTemporaryDir scratch_;
    QString folder_;
    QtHost host_;
    std::unique_ptr<Desktop> desktop_;
};

}  // namespace umbrix::ui::test
