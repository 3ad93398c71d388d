#pragma once
// The pictures of the horizon editors' buttons and the pipette cursor, drawn in code: the
// platform's icon set has no yardstick, flood fill or pipette.
#include <QCursor>
#include <QIcon>
#include <QImage>
#include <string>

class QToolButton;
class QWidget;

namespace umbrix::ui {

enum class EditorIcon {
    Add,
    Remove,
    MoveLocation,
    Yardstick,
    MoveMap,
    MoveAll,
    Grid,
    ImportMap,
    RemoveMap,
    ToEdge,
    NotToEdge,
    Fill,
    Pipette,
    Palette,
    Cut,
    Monochrome,
    Undo,
    Redo,
    Albedo,
    Emission,
    Import,
    Fit
};

QIcon DrawnIcon(EditorIcon kind);

// A dropper held at 45 degrees; the hot spot is the tip at the lower left.
QCursor PipetteCursor();

// A tool button named for binding, showing only its picture: its hint is its tooltip.
QToolButton* IconButton(QWidget* parent, const std::string& name, const QIcon& icon);

// The same picture with white made transparent, for drawing one horizon picture over another.
QImage WhiteTransparent(const QImage& image);

}  // namespace umbrix::ui
