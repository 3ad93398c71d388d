#include "ui/StayOpenMenu.h"

#include <QAction>
#include <QEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

namespace umbrix::ui {

namespace {

class ToggleInPlace : public QObject {
  public:
    explicit ToggleInPlace(QMenu* menu) : QObject(menu), menu_(menu) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != menu_) return false;
        QAction* action = nullptr;
        if (event->type() == QEvent::MouseButtonRelease) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != Qt::LeftButton) return false;
            action = menu_->actionAt(mouse->position().toPoint());
        } else if (event->type() == QEvent::KeyPress &&
                   static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
            action = menu_->activeAction();
        }
        if (!action || !action->isCheckable() || !action->isEnabled() || action->menu())
            return false;
        action->trigger();  // the menu stays open: the next item can be toggled at once
        return true;
    }

  private:
    QMenu* menu_;
};

}  // namespace

void KeepOpenWhileToggling(QMenu* menu) {
    menu->installEventFilter(new ToggleInPlace(menu));
}

}  // namespace umbrix::ui
