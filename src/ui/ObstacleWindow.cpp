#include "ui/ObstacleWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "models/ComponentNames.h"
#include "models/ObstacleDialog.h"
#include "models/ObstacleEditorModel.h"
#include "ui/EditorIcons.h"
#include "ui/Layout.h"
#include "ui/RasterImage.h"
#include "ui/Widgets.h"

namespace umbrix::ui {

using namespace obstacle_editor;

namespace {

MouseButton ModelButton(Qt::MouseButton button) {
    return button == Qt::RightButton ? MouseButton::Right : MouseButton::Left;
}

QLineEdit* SizedEdit(QWidget* parent, const std::string& name, int width) {
    QLineEdit* edit = NamedEdit(parent, name);
    edit->setMinimumWidth(width);
    edit->setMaximumWidth(width + 40);
    return edit;
}

}  // namespace

// ---- the editor ------------------------------------------------------------------

ObstacleWindow::ObstacleWindow(ObstacleEditorModel& model, Desktop& desktop)
    : FormWindow(model, desktop), editor_(model) {
    buildMenu();
    auto* central = new QWidget(this);
    auto* rows = new QVBoxLayout(central);
    rows->addWidget(buildToolBar());
    auto* columns = new QHBoxLayout;
    auto* planColumn = new QVBoxLayout;
    plan_ = new PictureView(this);
    plan_->setObjectName(ObsImg);
    planColumn->addWidget(plan_);
    auto* position = new QHBoxLayout;
    for (const char* name : {LabelX, LabelY}) {
        QLabel* label = NamedLabel(this, name);
        label->setMinimumWidth(110);
        position->addWidget(label);
    }
    position->addStretch(1);
    planColumn->addLayout(position);
    planColumn->addStretch(1);
    columns->addLayout(planColumn);
    columns->addWidget(buildSidePanel(), 1);
    rows->addLayout(columns, 1);
    setCentralWidget(central);
    auto* hint = NamedLabel(this, StatusBar1);
    hint->setText({});
    statusBar()->addWidget(hint, 1);
    bindWidgets();
    connectPointer();
    UndoMenu::PassFieldKeys(this);
}

void ObstacleWindow::run(const std::function<void()>& action) {
    desktop_.act(model_, action, true);
}

void ObstacleWindow::buildMenu() {
    QMenu* file = menuBar()->addMenu("&File");
    file->setObjectName(MenuObsFile);
    const std::pair<const char*, QKeySequence::StandardKey> items[] = {
        {New1, QKeySequence::New},
        {Open1, QKeySequence::Open},
        {Save1, QKeySequence::Save},
        {SaveAs1, QKeySequence::SaveAs}};
    for (const auto& [name, key] : items) {
        QAction* a = file->addAction(name);
        a->setObjectName(name);
        a->setShortcut(key);
    }
    file->addSeparator();
    QAction* close = file->addAction(CloseItem);
    close->setObjectName(CloseItem);
    close->setShortcut(QKeySequence::Close);
    connect(close, &QAction::triggered, this, [this] { run([this] { editor_.click(CloseBtn); }); });
    undoMenu_ = UndoMenu::Add(
        this, MenuObsEdit, [this] { run([this] { editor_.undo(); }); },
        [this] { run([this] { editor_.redo(); }); });
}

QWidget* ObstacleWindow::buildToolBar() {
    auto* bar = new QToolBar(this);
    bar->setObjectName("ToolBarObs");
    bar->setIconSize(QSize(20, 20));
    bar->addWidget(IconButton(this, BitBtn1, style()->standardIcon(QStyle::SP_FileIcon)));
    bar->addWidget(IconButton(this, BitBtn2, style()->standardIcon(QStyle::SP_DialogOpenButton)));
    bar->addWidget(IconButton(this, BitBtn3, style()->standardIcon(QStyle::SP_DialogSaveButton)));
    bar->addWidget(NamedLabel(this, LabelDat));
    QLineEdit* file = NamedEdit(this, EditDat);
    file->setFixedWidth(140);
    bar->addWidget(file);
    bar->addSeparator();
    const std::pair<const char*, EditorIcon> modes[] = {{AddObsBtn, EditorIcon::Add},
                                                        {RemoveObsBtn, EditorIcon::Remove},
                                                        {MoveLocBtn, EditorIcon::MoveLocation},
                                                        {ScaleBtn, EditorIcon::Yardstick},
                                                        {MoveMapBtn, EditorIcon::MoveMap},
                                                        {MoveBtn, EditorIcon::MoveAll},
                                                        {GridBtn, EditorIcon::Grid}};
    for (const auto& [name, icon] : modes) bar->addWidget(IconButton(this, name, DrawnIcon(icon)));
    bar->addWidget(IconButton(this, FitBtn, DrawnIcon(EditorIcon::Fit)));
    bar->addSeparator();
    bar->addWidget(IconButton(this, NewMapBtn, DrawnIcon(EditorIcon::ImportMap)));
    bar->addWidget(IconButton(this, RemoveMapBtn, DrawnIcon(EditorIcon::RemoveMap)));
    return bar;
}

QWidget* ObstacleWindow::buildSidePanel() {
    auto* panel = new QWidget(this);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);

    // the kinds, each beside its "in calculation" box
    QGroupBox* kinds = NamedGroup(this, GroupKind);
    auto* kindRow = new QHBoxLayout(kinds);
    auto* radios = new QWidget(this);
    radios->setObjectName(RadioGrp);
    auto* radioColumn = new QVBoxLayout(radios);
    radioColumn->setContentsMargins(0, 0, 0, 0);
    auto* checks = new QVBoxLayout;
    const char* boxes[] = {GebChk, LaubChk, NadelChk};
    for (int i = 0; i < 3; ++i) {
        kinds_[i] = new QRadioButton(radios);
        radioColumn->addWidget(kinds_[i]);
        connect(kinds_[i], &QRadioButton::clicked, this,
                [this, i] { run([this, i] { editor_.select(RadioGrp, i); }); });
        checks->addWidget(NamedCheck(this, boxes[i]));
    }
    kindRow->addWidget(radios, 1);
    kindRow->addLayout(checks);
    column->addWidget(kinds);

    QGroupBox* edit = NamedGroup(this, GroupEdit);
    auto* grid = new QGridLayout(edit);
    auto* number = new QHBoxLayout;
    number->addWidget(SizedEdit(this, EditNr, 50));
    auto* upDown = new UpDownWidget(this);
    upDown->setObjectName(UpDownNr);
    connect(upDown, &UpDownWidget::stepped, this, [this](int d) { stepNumber(d); });
    number->addWidget(upDown);
    number->addStretch(1);
    QLabel* numberLabel = NamedLabel(this, LabelNr);
    grid->addWidget(numberLabel, 0, 0);
    grid->addLayout(number, 0, 1, 1, 2);
    grid->addWidget(NamedButton(this, EditObsBtn), 1, 0);
    grid->addWidget(NamedButton(this, CopyObsBtn), 1, 1);
    grid->addWidget(NamedButton(this, PasteObsBtn), 1, 2);
    LabelledField(grid, 2, 0, LabelRot, SizedEdit(this, EditRot, 60));
    grid->addWidget(NamedButton(this, RotateBtn), 2, 2);
    column->addWidget(edit);

    QGroupBox* view = NamedGroup(this, GroupScale);
    auto* scale = new QGridLayout(view);
    LabelledField(scale, 0, 0, LabelScale, SizedEdit(this, EditScale, 80));
    scale->addWidget(NamedButton(this, ApplyButton), 0, 2);
    LabelledField(scale, 1, 0, LabelYardstick, SizedEdit(this, EditYardstick, 80));
    scale->addWidget(NamedButton(this, ZoomInBtn), 2, 0);
    scale->addWidget(NamedButton(this, ZoomOutBtn), 2, 1);
    column->addWidget(view);

    auto* altitude = new QGridLayout;
    LabelledField(altitude, 0, 0, LabelAlt, SizedEdit(this, EditAlt, 60));
    altitude->setColumnStretch(2, 1);
    column->addLayout(altitude);
    column->addStretch(1);
    auto* close = new QHBoxLayout;
    close->addStretch(1);
    close->addWidget(NamedButton(this, CloseBtn));
    column->addLayout(close);
    return panel;
}

void ObstacleWindow::connectPointer() {
    // The pointer on the plan does not take the focus from a field, so no exit rule runs.
    auto pointer = [this](const std::function<void()>& action) {
        desktop_.act(model_, action, false);
    };
    connect(plan_, &PictureView::pressed, this, [this, pointer](int x, int y, Qt::MouseButton b) {
        pointer([this, x, y, b] { editor_.mouseDown(x, y, ModelButton(b)); });
    });
    connect(plan_, &PictureView::moved, this,
            [this, pointer](int x, int y) { pointer([this, x, y] { editor_.mouseMove(x, y); }); });
    connect(plan_, &PictureView::released, this, [this, pointer](int x, int y, Qt::MouseButton b) {
        pointer([this, x, y, b] { editor_.mouseUp(x, y, ModelButton(b)); });
    });
    // The second press of a double click is a press as well; a double click in a pointer
    // mode is no more than that.
    connect(plan_, &PictureView::doubleClicked, this, [this, pointer](int x, int y) {
        pointer([this, x, y] {
            editor_.mouseDown(x, y, MouseButton::Left);
            editor_.doubleClick();
        });
    });
}

void ObstacleWindow::stepNumber(int direction) {
    run([this, direction] {
        const Control& nr = editor_.ctl(EditNr);
        int current = 0;
        try {
            current = std::stoi(nr.text);
        } catch (const std::exception&) {
        }
        const int next =
            std::clamp(current + direction, nr.minimum, std::max(nr.minimum, nr.maximum));
        editor_.type(EditNr, std::to_string(next));
    });
}

void ObstacleWindow::refreshView() {
    if (!plan_) return;  // still being built
    undoMenu_.showState(editor_.canUndo(), editor_.canRedo());
    // the plan is drawn again only when the model drew it anew
    if (!(editor_.planImage() == shownPlan_ && editor_.mapImage() == shownMap_)) {
        shownPlan_ = editor_.planImage();
        shownMap_ = editor_.mapImage();
        plan_->setImage(ToQImage(editor_.composedView()));
    }
    plan_->setCursor(editor_.mode().empty() ? Qt::ArrowCursor : Qt::CrossCursor);
    const Control& kind = editor_.ctl(RadioGrp);
    for (int i = 0; i < 3; ++i) {
        const QString text =
            i < int(kind.items.size()) ? QString::fromStdString(kind.items[i]) : QString();
        if (kinds_[i]->text() != text) kinds_[i]->setText(text);
        if (kinds_[i]->isChecked() != (kind.itemIndex == i))
            kinds_[i]->setChecked(kind.itemIndex == i);
    }
    // a command hands the focus to a field (the yardstick's true length)
    const std::string& focus = editor_.focusedControl();
    if (focus != focusShown_) {
        focusShown_ = focus;
        if (auto* edit = findChild<QLineEdit*>(QString::fromStdString(focus))) {
            edit->setFocus(Qt::OtherFocusReason);
            edit->selectAll();
        }
    }
}

// ---- the dialogs -----------------------------------------------------------------

ObstacleDialogWindow::ObstacleDialogWindow(ObstacleDialog& model, Desktop& desktop)
    : FormWindow(model, desktop) {
    auto* central = new QWidget(this);
    auto* rows = new QVBoxLayout(central);
    auto* grid = new QGridLayout;
    if (model.find(building_dialog::EditX1))
        buildBuilding(grid);
    else
        buildTree(grid);
    rows->addLayout(grid);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    ok_ = NamedButton(this, obstacle_dialog::OKBtn);
    ok_->setDefault(true);
    QPushButton* cancel = NamedButton(this, obstacle_dialog::CancelBtn);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel);
    rows->addLayout(buttons);
    setCentralWidget(central);
    bindWidgets();
    // Enter confirms and Escape cancels, as in any dialog
    for (QLineEdit* edit : findChildren<QLineEdit*>())
        connect(edit, &QLineEdit::returnPressed, ok_, &QPushButton::click);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, cancel, &QPushButton::click);
}

QLineEdit* ObstacleDialogWindow::field(const std::string& name) {
    QLineEdit* edit = NamedEdit(this, name);
    edit->setMinimumWidth(70);
    edit->setMaximumWidth(90);
    return edit;
}

void ObstacleDialogWindow::buildBuilding(QGridLayout* grid) {
    // top corners #1-#4 above, the bottom corners below them, as columns of x, y and z
    using namespace building_dialog;
    const char* labels[] = {obstacle_dialog::LabelX, obstacle_dialog::LabelY,
                            obstacle_dialog::LabelZ};
    // [half][coordinate][corner]
    const char* fields[2][3][4] = {{{EditX1, EditX2, EditX3, EditX4},
                                    {EditY1, EditY2, EditY3, EditY4},
                                    {EditZ1, EditZ2, EditZ3, EditZ4}},
                                   {{EditX5, EditX6, EditX7, EditX8},
                                    {EditY5, EditY6, EditY7, EditY8},
                                    {EditZ5, EditZ6, EditZ7, EditZ8}}};
    int row = 0;
    for (int half = 0; half < 2; ++half) {
        grid->addWidget(NamedLabel(this, half == 0 ? LabelTop : LabelBottom), row++, 0, 1, 5);
        for (int k = 1; k <= 4; ++k)
            grid->addWidget(new QLabel(QString("#%1").arg(k), this), row, k, Qt::AlignHCenter);
        ++row;
        for (int i = 0; i < 3; ++i) {
            QLabel* label;
            if (half == 0) {
                label = NamedLabel(this, labels[i]);
            } else {
                label = new QLabel(this);
                repeated_[i] = label;
            }
            grid->addWidget(label, row, 0);
            for (int k = 0; k < 4; ++k) grid->addWidget(field(fields[half][i][k]), row, k + 1);
            ++row;
        }
    }
    LabelledField(grid, row, 0, obstacle_dialog::LabelAlb, field(obstacle_dialog::EditAlb));
    LabelledField(grid, row, 2, obstacle_dialog::LabelEmi, field(obstacle_dialog::EditEmi));
}

void ObstacleDialogWindow::buildTree(QGridLayout* grid) {
    const char* rows[][2] = {{obstacle_dialog::LabelX, tree_dialog::EditX},
                             {obstacle_dialog::LabelY, tree_dialog::EditY},
                             {obstacle_dialog::LabelZ, tree_dialog::EditZ},
                             {tree_dialog::LabelR, tree_dialog::EditR},
                             {tree_dialog::LabelS, tree_dialog::EditS},
                             {tree_dialog::LabelD, tree_dialog::EditD},
                             {obstacle_dialog::LabelAlb, obstacle_dialog::EditAlb},
                             {obstacle_dialog::LabelEmi, obstacle_dialog::EditEmi}};
    int row = 0;
    for (const auto& r : rows) LabelledField(grid, row++, 0, r[0], field(r[1]));
}

void ObstacleDialogWindow::refreshView() {
    const char* names[] = {obstacle_dialog::LabelX, obstacle_dialog::LabelY,
                           obstacle_dialog::LabelZ};
    for (int i = 0; i < 3; ++i)
        if (repeated_[i])
            repeated_[i]->setText(QString::fromStdString(model_.ctl(names[i]).caption));
}

}  // namespace umbrix::ui
