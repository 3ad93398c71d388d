#include "ui/PresettingsWindow.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "models/ComponentNames.h"
#include "models/PresettingsModel.h"
#include "ui/Layout.h"

namespace umbrix::ui {

using namespace presettings;

PresettingsWindow::PresettingsWindow(PresettingsModel& model, Desktop& desktop)
    : FormWindow(model, desktop) {
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);

    QGroupBox* parameters = NamedGroup(this, GroupModel);
    auto* grid = new QGridLayout(parameters);
    int row = 0;
    const char* fields[][2] = {{LabelBowen, EditBowen},     {LabelAlbedo, EditAlbedo},
                               {LabelAlbHum, EditAlbHum},   {LabelTrb, EditTrb},
                               {LabelDGratio, EditDGratio}, {LabelFoglimit, EditFoglimit}};
    for (const auto& [label, edit] : fields)
        LabelledField(grid, row++, 0, label, NamedEdit(this, edit));
    QLabel* note = NamedLabel(this, LabelAuto);
    note->setEnabled(false);
    grid->addWidget(note, row++, 0, 1, 2);
    grid->addWidget(NamedCheck(this, RedGChk), row++, 0, 1, 2);
    // the models of earlier versions, for reproducing their tables
    grid->addWidget(NamedCheck(this, TmrtHorizontalChk), row++, 0, 1, 2);
    grid->addWidget(NamedCheck(this, SetSedentaryChk), row++, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    column->addWidget(parameters);

    QGroupBox* formats = NamedGroup(this, GroupFormats);
    auto* formatGrid = new QGridLayout(formats);
    LabelledField(formatGrid, 0, 0, LabelODate, NamedEdit(this, EditODate));
    LabelledField(formatGrid, 1, 0, LabelOTime, NamedEdit(this, EditOTime));
    formatGrid->addWidget(NamedCheck(this, ChkNow), 2, 0, 1, 2);
    formatGrid->setColumnStretch(0, 1);
    column->addWidget(formats);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    QPushButton* ok = NamedButton(this, OKBtn);
    ok->setDefault(true);
    QPushButton* cancel = NamedButton(this, CancelBtn);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(NamedButton(this, ApplyBtn));
    column->addLayout(buttons);
    column->addStretch(1);
    setCentralWidget(central);
    bindWidgets();
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, cancel, &QPushButton::click);
}

}  // namespace umbrix::ui
