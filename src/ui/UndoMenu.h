#pragma once
// The "Edit" menu of the editors: Undo and Redo under the platform's standard keys, enabled
// only while the editor has a step to take back or to redo.
#include <functional>

class QAction;
class QMainWindow;

namespace umbrix::ui {

struct UndoMenu {
    QAction* undo = nullptr;
    QAction* redo = nullptr;

    // Adds the menu (objectName `menuName`) with the items "UndoItem" and "RedoItem" to the
    // window's menu bar; their captions come from the caption tables.
    static UndoMenu Add(QMainWindow* window, const char* menuName,
                        const std::function<void()>& undoStep,
                        const std::function<void()>& redoStep);
    void showState(bool canUndo, bool canRedo) const;
    // A field with no typing of its own to take back lets the keys through to the editor, so
    // that Ctrl+Z works wherever the focus was left. Call when the window's fields exist.
    static void PassFieldKeys(QMainWindow* window);
};

}  // namespace umbrix::ui
