#pragma once
// Where the windows open: each window's last size and position, remembered per window name in
// an INI file beside the session file and restored within the screen; a window opened for the
// first time is placed within the screen, clear of the main window's command buttons.
#include <QRect>
#include <QString>
#include <optional>

class QWidget;

namespace umbrix::ui {

// The rectangle moved, and shrunk where it must be, to lie within `available`.
QRect FitInto(const QRect& frame, const QRect& available);

// A place for a window of `size` within `available` that keeps clear of `keepClear`: in the
// first of the free areas right of it, below it, left of it and above it that holds the whole
// window; when none does, in the one that holds the largest part of it, shrunk to fit.
QRect PlaceClear(const QSize& size, const QRect& keepClear, const QRect& available);

class WindowMemory {
  public:
    // No file: nothing is remembered.
    explicit WindowMemory(QString file = {}) : file_(std::move(file)) {}
    std::optional<QRect> load(const QString& window) const;
    void save(const QString& window, const QRect& geometry) const;

  private:
    QString file_;
};

// Places a window that opens for the first time: where it was last (within the screen), or, for
// a window other than `main`, clear of the row of the main window's New and Add buttons (or, when
// it cannot shrink into the room that leaves, clear of the two buttons).
void PlaceWindow(QWidget& window, const QString& name, const QWidget* main,
                 const WindowMemory& memory);
// Makes the window at least `least` large, within the screen and clear of the main window's New
// and Add buttons (moved, and shrunk where the room is smaller).
void GrowWindow(QWidget& window, const QSize& least, const QWidget* main);
// Remembers the window's place.
void RememberWindow(const QWidget& window, const QString& name, const WindowMemory& memory);

}  // namespace umbrix::ui
