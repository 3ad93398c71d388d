#pragma once
// A menu of check items that stays open while they are toggled: a click or Space on a check
// item toggles it in place; Enter, Escape or a click elsewhere closes the menu as usual.
class QMenu;

namespace umbrix::ui {

void KeepOpenWhileToggling(QMenu* menu);

}  // namespace umbrix::ui
