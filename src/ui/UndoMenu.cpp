#include "ui/UndoMenu.h"

#include <QAction>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace umbrix::ui {

namespace {

class FieldKeyPass : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ShortcutOverride) return false;
        auto* edit = qobject_cast<QLineEdit*>(watched);
        auto* key = static_cast<QKeyEvent*>(event);
        const bool undo = key->matches(QKeySequence::Undo);
        const bool redo = key->matches(QKeySequence::Redo) ||
                          key->keyCombination() == QKeyCombination(Qt::CTRL, Qt::Key_Y) ||
                          key->keyCombination() == QKeyCombination(Qt::CTRL | Qt::SHIFT, Qt::Key_Z);
        if (!edit || !(undo || redo)) return false;
        if ((undo && edit->isUndoAvailable()) || (redo && edit->isRedoAvailable())) return false;
        event->ignore();  // not taken by the field: the window's shortcut runs
        return true;
    }
};

}  // namespace

UndoMenu UndoMenu::Add(QMainWindow* window, const char* menuName,
                       const std::function<void()>& undoStep,
                       const std::function<void()>& redoStep) {
    QMenu* menu = window->menuBar()->addMenu("&Edit");
    menu->setObjectName(menuName);
    UndoMenu out;
    out.undo = menu->addAction("&Undo");
    out.undo->setObjectName("UndoItem");
    out.undo->setShortcuts(QKeySequence::Undo);
    out.redo = menu->addAction("&Redo");
    out.redo->setObjectName("RedoItem");
    // Ctrl+Shift+Z shown first, Ctrl+Y as well: users of either convention find their key
    QList<QKeySequence> redoKeys = {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                                    QKeySequence(Qt::CTRL | Qt::Key_Y)};
    for (const QKeySequence& key : QKeySequence::keyBindings(QKeySequence::Redo))
        if (!redoKeys.contains(key)) redoKeys << key;
    out.redo->setShortcuts(redoKeys);
    QObject::connect(out.undo, &QAction::triggered, window, undoStep);
    QObject::connect(out.redo, &QAction::triggered, window, redoStep);
    out.showState(false, false);
    return out;
}

void UndoMenu::PassFieldKeys(QMainWindow* window) {
    auto* pass = new FieldKeyPass(window);
    for (QLineEdit* edit : window->findChildren<QLineEdit*>()) edit->installEventFilter(pass);
}

void UndoMenu::showState(bool canUndo, bool canRedo) const {
    if (undo->isEnabled() != canUndo) undo->setEnabled(canUndo);
    if (redo->isEnabled() != canRedo) redo->setEnabled(canRedo);
}

}  // namespace umbrix::ui
