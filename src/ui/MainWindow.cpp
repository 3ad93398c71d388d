#include "ui/MainWindow.h"

#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QVBoxLayout>
#include <algorithm>

#include "models/ComponentNames.h"
#include "models/MainWindowModel.h"
#include "ui/Layout.h"
#include "ui/ProjectMenu.h"
#include "ui/StayOpenMenu.h"

namespace umbrix::ui {

using namespace main_window;

namespace {

QString qs(const char* s) {
    return QString::fromUtf8(s);
}

// Menu items by menu; every other menu item of the model belongs to "&Table".
const char* const kFileItems[] = {Open1, SaveAs1, "-", Saverestoresession1, "-", Exit1};
const char* const kInputItems[] = {Horizonteinengung1, Topographie1, Hindernisobjekte1, "-",
                                   Wertedatei1,        "-",          Vorgaben1};
const char* const kModeItems[] = {Polar1, Zylinder1, Einzeltab1, Jahresgang1, Schattenwurf1};
const char* const kDetailItems[] = {PETMEMI1, mPETYCC1};
const char* const kLanguageItems[] = {English1, Deutsch1};
const char* const kHelpItems[] = {Help1, Bibliography1, "-", About1};

}  // namespace

MainWindow::MainWindow(MainWindowModel& model, Desktop& desktop) : FormWindow(model, desktop) {
    buildMenus();
    auto* central = new QWidget(this);
    auto* grid = new QGridLayout(central);
    grid->addWidget(buildGeographic(), 0, 0);
    grid->addWidget(buildDateTime(), 0, 1);
    grid->addWidget(buildMeteorology(), 1, 0);
    grid->addWidget(buildPerson(), 1, 1);
    grid->addWidget(buildIndices(), 2, 0, 1, 2);
    grid->addLayout(buildCommands(), 3, 0, 1, 2);
    grid->setRowStretch(4, 1);
    setCentralWidget(central);
    statusBar()->setSizeGripEnabled(true);
    bindWidgets();
}

void MainWindow::buildMenus() {
    QMenuBar* bar = menuBar();
    std::vector<std::string> placed;
    auto addItems = [&](QMenu* menu, auto& names, QActionGroup* group) {
        for (const char* name : names) {
            if (std::string(name) == "-") {
                menu->addSeparator();
                continue;
            }
            if (!model_.find(name)) continue;
            QAction* action = menu->addAction(qs(name));
            action->setObjectName(qs(name));
            if (group) group->addAction(action);
            placed.push_back(name);
        }
    };
    auto menu = [&](const char* name, const char* title) {
        QMenu* m = bar->addMenu(qs(title));
        m->setObjectName(qs(name));
        return m;
    };
    QMenu* file = menu(MenuFile, "&File");
    addItems(file, kFileItems, nullptr);
    QMenu* input = menu(MenuInput, "&Input");
    addItems(input, kInputItems, nullptr);
    QMenu* output = menu(MenuOutput, "&Output");
    // the model keeps exactly one mode checked; the group draws them as radio items
    auto* modes = new QActionGroup(this);
    modes->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    addItems(output, kModeItems, modes);
    output->addSeparator();
    addItems(output, kDetailItems, nullptr);
    QMenu* table = menu(MenuTable, "&Table");
    QMenu* language = menu(MenuLanguage, "Lan&guage");
    auto* languages = new QActionGroup(this);
    languages->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    addItems(language, kLanguageItems, languages);
    QMenu* help = menu(MenuHelp, "&?");
    addItems(help, kHelpItems, nullptr);
    for (const auto& owned : model_.controls()) {
        const Control& c = *owned;
        if (c.kind != ControlKind::MenuItem) continue;
        if (std::find(placed.begin(), placed.end(), c.name) != placed.end()) continue;
        QAction* action = table->addAction(QString::fromStdString(c.name));
        action->setObjectName(QString::fromStdString(c.name));
    }
    // its many columns are chosen one after another
    KeepOpenWhileToggling(table);
    // these items are the shell's; the model only records that they were chosen
    auto after = [this](const char* name, auto slot) {
        if (auto* a = findChild<QAction*>(qs(name))) connect(a, &QAction::triggered, this, slot);
    };
    after(Help1, [this] { desktop_.openHelp(); });
    after(Bibliography1, [this] { desktop_.showBibliography(); });
    after(About1, [this] { desktop_.showAbout(); });
    after(Exit1, [this] { close(); });
    const std::pair<const char*, QKeySequence::StandardKey> keys[] = {
        {Open1, QKeySequence::Open},
        {SaveAs1, QKeySequence::Save},
        {Exit1, QKeySequence::Quit},
        {Help1, QKeySequence::HelpContents}};
    for (const auto& [name, key] : keys)
        if (auto* a = findChild<QAction*>(qs(name))) a->setShortcut(key);
    // the project items after "Save as"
    const QList<QAction*> fileItems = file->actions();
    const qsizetype saveAs = fileItems.indexOf(findChild<QAction*>(qs(SaveAs1)));
    new ProjectMenu(file, saveAs >= 0 ? fileItems.value(saveAs + 1) : nullptr, desktop_);
}

QWidget* MainWindow::buildGeographic() {
    QGroupBox* box = NamedGroup(this, GroupGeo);
    auto* grid = new QGridLayout(box);
    auto* place = new QComboBox(this);
    place->setObjectName(ComboOrt);
    place->setEditable(true);
    place->setInsertPolicy(QComboBox::NoInsert);
    place->lineEdit()->setMaxLength(40);
    place->setMinimumContentsLength(24);
    auto* row = new QHBoxLayout;
    row->addWidget(place, 1);
    for (const char* name : {ButtonOrtHinzu, ButtonOrtEntf})
        row->addWidget(NamedButton(this, name));
    QLabel* label = NamedLabel(this, LabelOrt);
    label->setBuddy(place);
    grid->addWidget(label, 0, 0);
    grid->addLayout(row, 0, 1, 1, 3);
    LabelledField(grid, 1, 0, LabelLg, NamedEdit(this, EditLg));
    LabelledField(grid, 1, 2, LabelBr, NamedEdit(this, EditBr));
    LabelledField(grid, 2, 0, LabelNn, NamedEdit(this, EditNn, 6));
    LabelledField(grid, 2, 2, LabelZz, NamedEdit(this, EditZz));
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    return box;
}

QWidget* MainWindow::buildDateTime() {
    QGroupBox* box = NamedGroup(this, GroupDate);
    auto* grid = new QGridLayout(box);
    LabelledField(grid, 0, 0, LabelDat, NamedEdit(this, EditDat));
    LabelledField(grid, 1, 0, LabelTag, NamedEdit(this, EditTag));
    LabelledField(grid, 2, 0, LabelZeit, NamedEdit(this, EditZeit));
    grid->addWidget(NamedButton(this, ButtonJetzt), 3, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    return box;
}

QWidget* MainWindow::buildMeteorology() {
    QGroupBox* box = NamedGroup(this, GroupMet);
    auto* grid = new QGridLayout(box);
    LabelledField(grid, 0, 0, LabelTa, NamedEdit(this, EditTa));
    LabelledField(grid, 1, 0, LabelVp, NamedEdit(this, EditVp));
    LabelledField(grid, 2, 0, LabelRh, NamedEdit(this, EditRh));
    LabelledField(grid, 3, 0, LabelWG, NamedEdit(this, EditWG));
    LabelledField(grid, 0, 2, LabelN, NamedEdit(this, EditN));
    LabelledField(grid, 1, 2, LabelTs, NamedEdit(this, EditTs));
    LabelledField(grid, 2, 2, LabelG, NamedEdit(this, EditG));
    LabelledField(grid, 3, 2, LabelTmrt, NamedEdit(this, EditTmrt));
    QLabel* note = NamedLabel(this, LabelEmpty);
    note->setEnabled(false);
    grid->addWidget(note, 4, 2, 1, 2);
    grid->setRowStretch(5, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    return box;
}

QWidget* MainWindow::buildPerson() {
    QGroupBox* box = NamedGroup(this, GroupPerson);
    auto* grid = new QGridLayout(box);
    LabelledField(grid, 0, 0, LabelGr, NamedEdit(this, EditGr));
    LabelledField(grid, 1, 0, LabelGew, NamedEdit(this, EditGew));
    LabelledField(grid, 2, 0, LabelA, NamedEdit(this, EditA));
    auto* sex = new QComboBox(this);
    sex->setObjectName(ComboSex);
    LabelledField(grid, 3, 0, LabelSex, sex);
    LabelledField(grid, 4, 0, LabelIcl, NamedEdit(this, EditIcl));
    LabelledField(grid, 5, 0, LabelAct, NamedEdit(this, EditAct));
    auto* position = new QComboBox(this);
    position->setObjectName(ComboPos);
    LabelledField(grid, 6, 0, LabelPos, position);
    grid->addWidget(NamedCheck(this, AutoCloChK), 7, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    return box;
}

QWidget* MainWindow::buildIndices() {
    QGroupBox* box = NamedGroup(this, GroupIndices);
    auto* row = new QHBoxLayout(box);
    for (const char* name : {PmvChk, PetChk, SetChk, UtciChk, PtChK, mPETChK})
        row->addWidget(NamedCheck(this, name));
    row->addStretch(1);
    return box;
}

QLayout* MainWindow::buildCommands() {
    auto* row = new QHBoxLayout;
    for (const char* name : {ButtonNeu, ButtonHinzu, ButtonCancel}) {
        QPushButton* b = NamedButton(this, name);
        b->setMinimumWidth(100);
        row->addWidget(b);
        if (std::string(name) == ButtonNeu) {
            // as its mnemonic does: the focus first, so that the field being left is taken
            auto* key = new QShortcut(QKeySequence::New, this);
            connect(key, &QShortcut::activated, b, [b] {
                if (!b->isEnabled()) return;
                b->setFocus(Qt::ShortcutFocusReason);
                b->click();
            });
        }
    }
    auto* bar = new QProgressBar(this);
    bar->setObjectName(ProgressBar1);
    bar->setRange(0, 365);
    bar->setValue(0);
    bar->setTextVisible(false);
    row->addWidget(bar, 1);
    return row;
}

}  // namespace umbrix::ui
