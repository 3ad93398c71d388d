#include "ui/WindowPlacement.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QWidget>
#include <algorithm>

#include "models/ComponentNames.h"

namespace umbrix::ui {

QRect FitInto(const QRect& frame, const QRect& available) {
    if (!available.isValid()) return frame;
    const int width = std::min(frame.width(), available.width());
    const int height = std::min(frame.height(), available.height());
    const int x = std::clamp(frame.x(), available.left(), available.right() + 1 - width);
    const int y = std::clamp(frame.y(), available.top(), available.bottom() + 1 - height);
    return {x, y, width, height};
}

QRect PlaceClear(const QSize& size, const QRect& keepClear, const QRect& available) {
    const QRect clear = keepClear & available;
    if (clear.isEmpty()) return FitInto(QRect(available.topLeft(), size), available);
    const QRect areas[] = {
        QRect(QPoint(clear.right() + 1, available.top()), available.bottomRight()),    // right
        QRect(QPoint(available.left(), clear.bottom() + 1), available.bottomRight()),  // below
        QRect(available.topLeft(), QPoint(clear.left() - 1, available.bottom())),      // left
        QRect(available.topLeft(), QPoint(available.right(), clear.top() - 1)),        // above
    };
    const QRect* best = nullptr;
    long long bestArea = -1;
    for (const QRect& area : areas) {
        if (area.width() <= 0 || area.height() <= 0) continue;
        if (area.width() >= size.width() && area.height() >= size.height())
            return QRect(area.topLeft(), size);
        const long long held =
            1LL * std::min(area.width(), size.width()) * std::min(area.height(), size.height());
        if (held > bestArea) bestArea = held, best = &area;
    }
    if (!best) return FitInto(QRect(available.topLeft(), size), available);
    return FitInto(QRect(best->topLeft(), size), *best);
}

std::optional<QRect> WindowMemory::load(const QString& window) const {
    if (file_.isEmpty()) return std::nullopt;
    const QSettings settings(file_, QSettings::IniFormat);
    const QRect rect = settings.value(window + "/geometry").toRect();
    if (!rect.isValid() || rect.width() < 50 || rect.height() < 50) return std::nullopt;
    return rect;
}

void WindowMemory::save(const QString& window, const QRect& geometry) const {
    if (file_.isEmpty() || !geometry.isValid()) return;
    QSettings settings(file_, QSettings::IniFormat);
    settings.setValue(window + "/geometry", geometry);
}

namespace {

// The window's frame around its geometry: known once a window manager framed it (the main
// window's), otherwise none.
QMargins frameOf(const QWidget* window) {
    if (!window || !window->isVisible()) return {};
    const QRect frame = window->frameGeometry(), inner = window->geometry();
    return {inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
            frame.bottom() - inner.bottom()};
}

QRect availableAt(const QPoint& point, const QWidget* fallback) {
    QScreen* screen = QGuiApplication::screenAt(point);
    if (!screen && fallback) screen = fallback->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

// Whether another window is open with its frame's corner at `corner`.
bool openAt(const QPoint& corner, const QWidget* except) {
    for (const QWidget* w : QApplication::topLevelWidgets())
        if (w != except && w->isVisible() && w->frameGeometry().topLeft() == corner) return true;
    return false;
}

}  // namespace

namespace {
// The main window's New and Add buttons on the screen (empty when not shown).
QRect commandButtons(const QWidget* main) {
    QRect buttons;
    if (!main || !main->isVisible()) return buttons;
    for (const char* name : {main_window::ButtonNeu, main_window::ButtonHinzu})
        if (const auto* b = main->findChild<const QPushButton*>(name); b && b->isVisible())
            buttons |= QRect(b->mapToGlobal(QPoint(0, 0)), b->size());
    return buttons;
}
}  // namespace

void GrowWindow(QWidget& window, const QSize& least, const QWidget* main) {
    const QMargins frame = frameOf(&window);
    const QRect available = availableAt(window.geometry().center(), main);
    const QRect buttons = &window == main ? QRect() : commandButtons(main);
    QRect grown = window.geometry();
    grown.setSize(grown.size().expandedTo(least));
    grown = grown.marginsAdded(frame);
    if (grown.intersects(buttons)) grown = PlaceClear(grown.size(), buttons, available);
    window.setGeometry(FitInto(grown, available).marginsRemoved(frame));
}

void PlaceWindow(QWidget& window, const QString& name, const QWidget* main,
                 const WindowMemory& memory) {
    const QMargins frame = frameOf(main).isNull() ? frameOf(&window) : frameOf(main);
    if (std::optional<QRect> saved = memory.load(name)) {
        const QRect available = availableAt(saved->center(), main);
        window.setGeometry(FitInto(saved->marginsAdded(frame), available).marginsRemoved(frame));
        return;
    }
    const QRect available = availableAt(window.geometry().center(), main);
    const QRect current = window.geometry().marginsAdded(frame);
    if (&window == main || !main || !main->isVisible()) {
        window.setGeometry(FitInto(current, available).marginsRemoved(frame));
        return;
    }
    const QRect buttons = commandButtons(main);
    // the whole row of the commands: New, Add, Cancel and the progress beside them
    const QRect mainFrame = main->frameGeometry();
    const QRect row = buttons.isEmpty() ? mainFrame
                                        : QRect(mainFrame.left(), buttons.top(), mainFrame.width(),
                                                buttons.height());
    QRect placed = PlaceClear(current.size(), row, available);
    // a window that cannot shrink into the room beside the row keeps clear of New and Add alone
    const QSize least = window.minimumSizeHint().expandedTo(window.minimumSize()) +
                        QSize(frame.left() + frame.right(), frame.top() + frame.bottom());
    if (!buttons.isEmpty() && (placed.width() < least.width() || placed.height() < least.height()))
        placed = PlaceClear(current.size(), buttons, available);
    // cascaded from the windows already open at the same place, as long as it stays clear
    for (int step = 0; step < 8 && openAt(placed.topLeft(), &window); ++step) {
        const QRect next = placed.translated(30, 30);
        if (!available.contains(next) || next.intersects(buttons)) break;
        placed = next;
    }
    window.setGeometry(placed.marginsRemoved(frame));
}

void RememberWindow(const QWidget& window, const QString& name, const WindowMemory& memory) {
    memory.save(name, window.isMaximized() ? window.normalGeometry() : window.geometry());
}

}  // namespace umbrix::ui
