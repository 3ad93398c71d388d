#include "ui/DataFileWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "models/ComponentNames.h"
#include "models/DataFileWindowModel.h"
#include "ui/Layout.h"
#include "ui/Widgets.h"

namespace umbrix::ui {

using namespace data_file_window;

DataFileWindow::DataFileWindow(DataFileWindowModel& model, Desktop& desktop)
    : FormWindow(model, desktop) {
    auto* central = new QWidget(this);
    auto* columns = new QHBoxLayout(central);
    auto* left = new QVBoxLayout;

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(NamedLabel(this, LabelDatei));
    QLineEdit* file = NamedEdit(this, EditDatei);
    file->setMinimumWidth(180);
    fileRow->addWidget(file, 1);
    QPushButton* open = NamedButton(this, BitBtn1);
    open->setText({});
    open->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    QPushButton* none = NamedButton(this, BitBtn2);
    none->setText({});
    none->setIcon(style()->standardIcon(QStyle::SP_DialogResetButton));
    fileRow->addWidget(open);
    fileRow->addWidget(none);
    left->addLayout(fileRow);
    auto* labelsRow = new QHBoxLayout;
    labelsRow->addWidget(NamedCheck(this, ChkUeberschriften), 1);
    labelsRow->addWidget(NamedButton(this, LabelsBtn));
    left->addLayout(labelsRow);

    QGroupBox* formats = NamedGroup(this, GroupFormat);
    auto* grid = new QGridLayout(formats);
    LabelledField(grid, 0, 0, LabelDefVal, NamedEdit(this, EditDefVal));
    LabelledField(grid, 1, 0, LabelIDate, NamedEdit(this, EditIDate));
    LabelledField(grid, 2, 0, LabelITime, NamedEdit(this, EditITime));
    auto* separator = new QComboBox(this);
    separator->setObjectName(ComboFileSep);
    LabelledField(grid, 3, 0, LabelFileSep, separator);
    auto* stamp = new QComboBox(this);
    stamp->setObjectName(ComboEpwTime);
    LabelledField(grid, 4, 0, LabelEpwTime, stamp);
    grid->setColumnStretch(0, 1);
    left->addWidget(formats);
    left->addWidget(NamedCheck(this, ChkInDatei));
    left->addStretch(1);
    auto* close = new QHBoxLayout;
    close->addStretch(1);
    close->addWidget(NamedButton(this, OkBtn));
    left->addLayout(close);
    columns->addLayout(left);

    QGroupBox* list = NamedGroup(this, GroupColumns);
    auto* listColumn = new QVBoxLayout(list);
    auto* checkList = new CheckListWidget(this);
    checkList->setObjectName(CheckListBox1);
    checkList->setMinimumSize(260, 380);
    listColumn->addWidget(checkList, 1);
    auto* increment = new QComboBox(this);
    increment->setObjectName(ComboHorAz);
    auto* incrementRow = new QHBoxLayout;
    QLabel* incrementLabel = NamedLabel(this, LabelHorAz);
    incrementLabel->setBuddy(increment);
    incrementRow->addWidget(incrementLabel);
    incrementRow->addWidget(increment);
    listColumn->addLayout(incrementRow);
    columns->addWidget(list, 1);

    setCentralWidget(central);
    bindWidgets();
}

}  // namespace umbrix::ui
