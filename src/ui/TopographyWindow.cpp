#include "ui/TopographyWindow.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "models/ComponentNames.h"
#include "models/TopographyEditorModel.h"
#include "ui/EditorIcons.h"
#include "ui/Layout.h"
#include "ui/RasterImage.h"
#include "ui/Widgets.h"

namespace umbrix::ui {

using namespace topography_editor;

namespace {

QComboBox* NamedCombo(QWidget* parent, const char* name) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    return combo;
}

}  // namespace

TopographyWindow::TopographyWindow(TopographyEditorModel& model, Desktop& desktop)
    : FormWindow(model, desktop), editor_(model) {
    buildMenu();
    auto* central = new QWidget(this);
    auto* columns = new QHBoxLayout(central);
    columns->addWidget(buildSettings());
    columns->addWidget(buildMap(), 1);
    setCentralWidget(central);
    bindWidgets();
    connectPointer();
    height_->installEventFilter(this);
}

void TopographyWindow::buildMenu() {
    QMenu* file = menuBar()->addMenu("&File");
    file->setObjectName(MenuTopoFile);
    const std::pair<const char*, QKeySequence::StandardKey> items[] = {
        {Neu1, QKeySequence::New},
        {Oeffnen1, QKeySequence::Open},
        {Speichern1, QKeySequence::Save},
        {Schliessen1, QKeySequence::Close}};
    for (const auto& [name, key] : items) {
        if (name == Schliessen1) file->addSeparator();
        QAction* a = file->addAction(name);
        a->setObjectName(name);
        a->setShortcut(key);
    }
}

QWidget* TopographyWindow::buildSettings() {
    auto* panel = new QWidget(this);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);

    auto* files = new QHBoxLayout;
    files->addWidget(IconButton(this, NeuBtn, style()->standardIcon(QStyle::SP_FileIcon)));
    files->addWidget(IconButton(this, OpenBtn, style()->standardIcon(QStyle::SP_DialogOpenButton)));
    files->addWidget(IconButton(this, SaveBtn, style()->standardIcon(QStyle::SP_DialogSaveButton)));
    files->addWidget(NamedLabel(this, LabelDat));
    files->addWidget(NamedEdit(this, EditDat), 1);
    column->addLayout(files);

    QGroupBox* grid = NamedGroup(this, GroupGrid);
    auto* gridRows = new QGridLayout(grid);
    LabelledField(gridRows, 0, 0, LabelRast, NamedEdit(this, EditRast));
    LabelledField(gridRows, 1, 0, LabelAnzSp, NamedEdit(this, EditAnzSp));
    LabelledField(gridRows, 2, 0, LabelAnzZe, NamedEdit(this, EditAnzZe));
    LabelledField(gridRows, 3, 0, LabelComboX, NamedCombo(this, ComboX));
    LabelledField(gridRows, 4, 0, LabelComboY, NamedCombo(this, ComboY));
    gridRows->addWidget(NamedButton(this, AktualBtn), 5, 0, 1, 2);
    column->addWidget(grid);

    QGroupBox* location = NamedGroup(this, GroupLocation);
    auto* locationRows = new QGridLayout(location);
    LabelledField(locationRows, 0, 0, LabelX0, NamedEdit(this, EditX0));
    LabelledField(locationRows, 1, 0, LabelY0, NamedEdit(this, EditY0));
    LabelledField(locationRows, 2, 0, LabelZ0, NamedEdit(this, EditZ0));
    column->addWidget(location);

    QGroupBox* point = NamedGroup(this, GroupPoint);
    auto* pointRows = new QGridLayout(point);
    LabelledField(pointRows, 0, 0, LabelXp, NamedEdit(this, EditXp));
    LabelledField(pointRows, 1, 0, LabelYp, NamedEdit(this, EditYp));
    height_ = NamedEdit(this, EditZp);
    LabelledField(pointRows, 2, 0, LabelZp, height_);
    // a speed button: pressing it leaves the focus where it is
    auto* autoEnter = new QToolButton(this);
    autoEnter->setObjectName(AutoBtn);
    autoEnter->setToolButtonStyle(Qt::ToolButtonTextOnly);
    autoEnter->setFocusPolicy(Qt::NoFocus);
    connect(autoEnter, &QToolButton::clicked, this, [this] { focusHeightIfAsked(); });
    pointRows->addWidget(autoEnter, 3, 0, 1, 2);
    column->addWidget(point);

    column->addStretch(1);
    auto* close = new QHBoxLayout;
    close->addStretch(1);
    close->addWidget(NamedButton(this, OkBtn));
    column->addLayout(close);
    return panel;
}

QWidget* TopographyWindow::buildMap() {
    auto* panel = new QWidget(this);
    auto* grid = new QGridLayout(panel);
    grid->setSpacing(2);
    map_ = new PictureView(panel);
    map_->setObjectName(TopoImg);
    map_->setCursor(Qt::CrossCursor);
    grid->addWidget(NamedLabel(this, LabelNorth), 0, 1, Qt::AlignHCenter);
    grid->addWidget(NamedLabel(this, LabelWest), 1, 0, Qt::AlignVCenter | Qt::AlignRight);
    grid->addWidget(map_, 1, 1);
    grid->addWidget(NamedLabel(this, LabelEast), 1, 2, Qt::AlignVCenter | Qt::AlignLeft);
    grid->addWidget(NamedLabel(this, LabelSouth), 2, 1, Qt::AlignHCenter);
    auto* position = new QHBoxLayout;
    for (const char* name : {LabelX, LabelY}) {
        QLabel* label = NamedLabel(this, name);
        label->setMinimumWidth(110);
        position->addWidget(label);
    }
    position->addStretch(1);
    grid->addLayout(position, 3, 1);
    grid->setRowStretch(4, 1);
    grid->setColumnStretch(3, 1);
    return panel;
}

void TopographyWindow::connectPointer() {
    auto pointer = [this](const std::function<void()>& action) {
        desktop_.act(model_, action, false);
    };
    connect(map_, &PictureView::moved, this,
            [this, pointer](int x, int y) { pointer([this, x, y] { editor_.mapMove(x, y); }); });
    connect(map_, &PictureView::pressed, this, [this, pointer](int x, int y, Qt::MouseButton b) {
        if (b == Qt::LeftButton) pointer([this, x, y] { editor_.mapClick(x, y); });
    });
    connect(map_, &PictureView::doubleClicked, this, [this, pointer](int x, int y) {
        pointer([this, x, y] { editor_.mapDoubleClick(x, y); });
        if (editor_.focused() == EditZp) {
            height_->setFocus(Qt::OtherFocusReason);
            height_->selectAll();
        }
    });
}

void TopographyWindow::focusHeightIfAsked() {
    if (!editor_.checked(AutoBtn) || editor_.focused() != EditZp) return;
    height_->setFocus(Qt::OtherFocusReason);
    height_->selectAll();
}

bool TopographyWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == height_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && editor_.checked(AutoBtn)) {
            desktop_.act(
                model_, [this] { editor_.heightEnter(); }, false);
            // the height is stored: leaving the field later owes no exit rule
            binder_->forgetPending(EditZp);
            focusHeightIfAsked();
            return true;
        }
        if (key == Qt::Key_Escape) {
            desktop_.act(
                model_, [this] { editor_.heightEscape(); }, false);
            return true;
        }
    }
    return FormWindow::eventFilter(watched, event);
}

void TopographyWindow::refreshView() {
    if (!map_) return;  // still being built
    if (!(editor_.shadedMap() == shownMap_)) {
        shownMap_ = editor_.shadedMap();
        map_->setImage(ToQImage(shownMap_));
    }
}

}  // namespace umbrix::ui
