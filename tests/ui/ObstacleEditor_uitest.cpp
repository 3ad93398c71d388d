// The obstacle editor driven with the pointer: corners clicked into a building, a drag that
// moves it, the dialog of a double click, closing with the save question, and the German
// captions of the three editors.
#include <QAbstractButton>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>

#include "models/MainWindowModel.h"
#include "models/ObstacleEditorModel.h"
#include "ui/PointerInput.h"
#include "ui/UiFixture.h"
#include "ui/Widgets.h"

namespace umbrix::ui::test {

class ObstacleEditorTest : public QObject {
    Q_OBJECT
  private slots:
    void fourCornerClicksAddABuildingAndDragsMoveIt();
    void doubleClickOpensTheDialogButNotWhileAdding();
    void closingOffersToSaveAndLowersTheSkyViewFactor();
    void germanCaptionsReachEveryEditor();
    void anOpenedFileAndTheFitButtonShowEveryObstacleLarge();
    void anAddedBuildingIsUndoneAndRedoneByKeys();
};

namespace {

// Plan pixel (X, Y) is ground ((X - 200) s, (200 - Y) s); s = 1 m at the start.
const QPoint kCorners[] = {{150, 150}, {250, 150}, {250, 250}, {150, 250}};

PictureView* OpenEditor(UiFixture& ui) {
    ui.action("Hindernisobjekte1")->trigger();
    return ui.find<PictureView>("FormObs", "ObsImg");
}

}  // namespace

void ObstacleEditorTest::anAddedBuildingIsUndoneAndRedoneByKeys() {
    UiFixture ui;
    PictureView* plan = OpenEditor(ui);
    auto* window = static_cast<QMainWindow*>(ui.desktop().window("FormObs"));
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    const ObstacleEditorModel& obs = ui.app().obstacleEditor();
    QAction* undo = ui.action("UndoItem", "FormObs");
    QAction* redo = ui.action("RedoItem", "FormObs");
    QVERIFY(!undo->isEnabled() && !redo->isEnabled());
    const QImage empty = plan->image();
    QTest::mouseClick(ui.find<QToolButton>("FormObs", "AddObsBtn"), Qt::LeftButton);
    for (QPoint corner : kCorners) QTest::mouseClick(plan, Qt::LeftButton, {}, corner);
    QCOMPARE(obs.obstacles().size(), std::size_t(1));
    QVERIFY(undo->isEnabled());

    auto press = [&](QKeySequence keys) {
        QWidget* focus = QApplication::focusWidget();
        QTest::keySequence(focus ? focus : window, keys);
    };
    press(QKeySequence::Undo);
    QVERIFY(obs.obstacles().empty());
    QVERIFY(!undo->isEnabled() && redo->isEnabled());
    QCOMPARE(ui.edit("EditNr", "FormObs")->text(), QString("0"));
    press(QKeySequence(Qt::CTRL | Qt::Key_Y));
    QCOMPARE(obs.obstacles().size(), std::size_t(1));
    QVERIFY(plan->image() != empty);  // the building is drawn again
    UiFixture::chooseMenuItem(window, undo);
    QVERIFY(obs.obstacles().empty());
    QCOMPARE(plan->image(), empty);
}

void ObstacleEditorTest::fourCornerClicksAddABuildingAndDragsMoveIt() {
    UiFixture ui;
    PictureView* plan = OpenEditor(ui);
    QVERIFY(plan && plan->isVisible());
    const ObstacleEditorModel& obs = ui.app().obstacleEditor();
    ui.find<QToolButton>("FormObs", "AddObsBtn")->click();
    QVERIFY(ui.find<QToolButton>("FormObs", "AddObsBtn")->isChecked());
    // the status line shows the hint's English half
    QCOMPARE(ui.find<QLabel>("FormObs", "StatusBar1")->text(),
             QString("Set building corner position"));
    QCOMPARE(plan->cursor().shape(), Qt::CrossCursor);
    for (int i = 0; i < 3; ++i) QTest::mouseClick(plan, Qt::LeftButton, {}, kCorners[i]);
    // the kind cannot change while a building is half placed
    QVERIFY(!ui.find<QWidget>("FormObs", "RadioGrp")->isEnabled());
    QVERIFY(obs.obstacles().empty());
    QTest::mouseClick(plan, Qt::LeftButton, {}, kCorners[3]);
    QCOMPARE(obs.obstacles().size(), std::size_t(1));
    QVERIFY(ui.find<QWidget>("FormObs", "RadioGrp")->isEnabled());
    const Obstacle& b = obs.obstacles()[0];
    const float expected[][2] = {{-50, 50}, {50, 50}, {50, -50}, {-50, -50}};
    for (int k = 1; k <= 4; ++k) {
        QCOMPARE(b.corner(k).x, expected[k - 1][0]);
        QCOMPARE(b.corner(k).y, expected[k - 1][1]);
        QCOMPARE(b.corner(k).z, 10.0f);
        QCOMPARE(b.corner(k + 4).z, 0.0f);
    }
    // the new building is selected: drawn in yellow on the plan
    QCOMPARE(plan->image().pixel(170, 170), qRgb(255, 255, 0));
    QCOMPARE(ui.edit("EditNr", "FormObs")->text(), QString("1"));

    // without a mode a left drag from a corner moves the whole building
    ui.find<QToolButton>("FormObs", "AddObsBtn")->click();
    QVERIFY(obs.mode().empty());
    Drag(plan, kCorners[0], {160, 140});
    QCOMPARE(obs.obstacles()[0].corner(1).x, -40.0f);
    QCOMPARE(obs.obstacles()[0].corner(1).y, 60.0f);
    QCOMPARE(obs.obstacles()[0].corner(3).x, 60.0f);
    QCOMPARE(plan->image().pixel(155, 245), qRgb(255, 255, 255));
    QCOMPARE(plan->image().pixel(255, 235), qRgb(255, 255, 0));
    // a right drag moves only the corner taken
    Drag(plan, {260, 140}, {270, 130}, Qt::RightButton);
    QCOMPARE(obs.obstacles()[0].corner(2).x, 70.0f);
    QCOMPARE(obs.obstacles()[0].corner(1).x, -40.0f);
    // hovering over a corner marks it with the inverting circle
    Hover(plan, {161, 140});
    QVERIFY(obs.hoverHandle().has_value());
    QCOMPARE(ui.find<QLabel>("FormObs", "LabelX")->text(), QString("x: -39.00"));
}

void ObstacleEditorTest::doubleClickOpensTheDialogButNotWhileAdding() {
    UiFixture ui;
    PictureView* plan = OpenEditor(ui);
    ObstacleEditorModel& obs = ui.app().obstacleEditor();
    obs.appendObstacle(MakeTree(ObstacleKind::Deciduous, 20, 10, 12, 3, 4, 0.3f, 0.3f, 0.95f));
    ui.desktop().refreshAll();
    QString trunkLabel;
    bool shown = false;
    QTimer::singleShot(0, this, [&] {
        QWidget* dialog = ui.desktop().window("LaubForm");
        shown = dialog && dialog->isVisible() && dialog->isModal();
        trunkLabel = ui.find<QLabel>("LaubForm", "LabelS")->text();
        UiFixture::typeOnly(ui.edit("EditZ", "LaubForm"), "15.5");
        ui.find<QPushButton>("LaubForm", "OKBtn")->click();
    });
    DoubleClick(plan, {220, 190});  // the trunk
    QVERIFY(shown);
    QCOMPARE(trunkLabel, QString("Trunc length l (m)"));
    QVERIFY(!ui.desktop().window("LaubForm")->isVisible());
    QCOMPARE(obs.obstacles()[0].height(), 15.5f);
    QVERIFY(obs.modified());

    // adding corners quickly: the second click of a double click is a corner, not a dialog
    ui.find<QToolButton>("FormObs", "AddObsBtn")->click();
    bool opened = false;
    QTimer::singleShot(0, this, [&] {
        opened = ui.desktop().window("LaubForm")->isVisible();
        ui.find<QPushButton>("LaubForm", "CancelBtn")->click();
    });
    QTest::mouseClick(plan, Qt::LeftButton, {}, kCorners[0]);
    DoubleClick(plan, kCorners[1]);  // two clicks, two corners
    QTest::mouseClick(plan, Qt::LeftButton, {}, kCorners[2]);
    QTest::qWait(1);
    QVERIFY(!opened);
    QCOMPARE(obs.obstacles().size(), std::size_t(2));
    QCOMPARE(obs.obstacles()[1].corner(2).x, 50.0f);
    QCOMPARE(obs.obstacles()[1].corner(3).y, 50.0f);
    QCOMPARE(obs.obstacles()[1].corner(4).y, -50.0f);
}

void ObstacleEditorTest::closingOffersToSaveAndLowersTheSkyViewFactor() {
    UiFixture ui;
    PictureView* plan = OpenEditor(ui);
    QTest::mouseClick(ui.find<QPushButton>("FormGeodat", "ButtonNeu"), Qt::LeftButton);
    const float open = ui.app().mainWindow().results.SVF_Umb;
    QCOMPARE(open, 1.0f);
    ui.find<QToolButton>("FormObs", "AddObsBtn")->click();
    for (QPoint corner : kCorners)
        QTest::mouseClick(plan, Qt::LeftButton, {}, corner - QPoint(0, 40));
    QPushButton* close = ui.find<QPushButton>("FormObs", "CloseBtn");
    QWidget* editor = ui.desktop().window("FormObs");

    // "Save changes?" comes first; Cancel keeps the editor open with everything as it was
    QString question;
    ui.clickInNextMessageBox(QMessageBox::Cancel, &question);
    QTest::mouseClick(close, Qt::LeftButton);
    QCOMPARE(question, QString("Save the changes to the obstacles?"));
    QVERIFY(ui.dialogs.empty());
    QVERIFY(editor->isVisible());
    QCOMPARE(ui.app().obstacleEditor().obstacles().size(), std::size_t(1));
    QVERIFY(ui.app().obstacleEditor().modified());
    QVERIFY(ui.app().obstacleEditor().horizonPicture() == nullptr);

    // Yes, then Cancel in the save dialog: still nothing lost and nothing closed
    ui.clickInNextMessageBox(QMessageBox::Yes, &question);
    QTest::mouseClick(close, Qt::LeftButton);
    QCOMPARE(ui.dialogs.size(), std::size_t(1));
    QCOMPARE(ui.dialogs[0].filter, std::string("Obstacle files|*.obs"));
    QVERIFY(editor->isVisible());
    QVERIFY(ui.app().obstacleEditor().modified());

    // No: the editor closes without saving and the obstacles become a horizon source
    ui.clickInNextMessageBox(QMessageBox::No, &question);
    QTest::mouseClick(close, Qt::LeftButton);
    QCOMPARE(ui.dialogs.size(), std::size_t(1));
    QVERIFY(!editor->isVisible());
    QVERIFY(ui.app().obstacleEditor().horizonPicture() != nullptr);
    QVERIFY(ui.action("Hindernisobjekte1")->isChecked());
    QTest::mouseClick(ui.find<QPushButton>("FormGeodat", "ButtonNeu"), Qt::LeftButton);
    QVERIFY2(ui.app().mainWindow().results.SVF_Umb < 0.9f,
             std::to_string(ui.app().mainWindow().results.SVF_Umb).c_str());

    // "Remove all" asks as well: Cancel keeps the obstacles
    ui.action("Hindernisobjekte1")->trigger();  // unchecks
    ui.action("Hindernisobjekte1")->trigger();  // opens the editor again
    QVERIFY(editor->isVisible());
    question.clear();
    ui.clickInNextMessageBox(QMessageBox::Cancel, &question);
    QTest::mouseClick(ui.find<QAbstractButton>("FormObs", "BitBtn1"), Qt::LeftButton);
    QCOMPARE(question, QString("Save the changes to the obstacles?"));
    QCOMPARE(ui.app().obstacleEditor().obstacles().size(), std::size_t(1));

    // saved this time: the file is written when the editor closes after a change
    Drag(plan, {150, 110}, {140, 110});
    ui.clickInNextMessageBox(QMessageBox::Yes, &question);
    ui.dialogAnswers.push_back(ui.path("yard.obs").toStdString());
    editor->close();  // the close box
    QVERIFY(QFile::exists(ui.path("yard.obs")));
    QVERIFY(!editor->isVisible());
    QCOMPARE(ui.edit("EditDat", "FormObs")->text(), QString("yard.obs"));
}

void ObstacleEditorTest::germanCaptionsReachEveryEditor() {
    UiFixture ui;
    ui.action("Deutsch1")->trigger();
    QCOMPARE(ui.find<QPushButton>("FormObs", "CloseBtn")->text(), QString("&Schließen"));
    QCOMPARE(ui.desktop().window("FormObs")->findChildren<QRadioButton*>()[1]->text(),
             QString("Laubbaum"));
    QCOMPARE(ui.find<QLabel>("FormObs", "LabelScale")->text(), QString("Maßstab (m/Pixel)"));
    QCOMPARE(ui.find<QLabel>("GebForm", "LabelTop")->text(), QString("Obere Ecken #1 - #4"));
    QCOMPARE(ui.find<QPushButton>("NadelForm", "CancelBtn")->text(), QString("Abbrechen"));
    QCOMPARE(ui.find<QLabel>("FormFreihor", "LabelEast")->text(), QString("O"));
    QCOMPARE(ui.find<QPushButton>("FormTopo", "AktualBtn")->text(),
             QString("Karte &aktualisieren"));
    QCOMPARE(ui.find<QComboBox>("FormTopo", "ComboX")->currentText(), QString("W-O"));
    // a bilingual hint shows its German half
    QCOMPARE(ui.find<QToolButton>("FormObs", "RemoveMapBtn")->toolTip(),
             QString("Vorlagenplan entfernen"));
    ui.action("English1")->trigger();
    QCOMPARE(ui.find<QPushButton>("FormObs", "CloseBtn")->text(), QString("&Close"));
    QCOMPARE(ui.find<QComboBox>("FormTopo", "ComboX")->currentText(), QString("W-E"));
    QCOMPARE(ui.find<QLabel>("GebForm", "LabelTop")->text(), QString("Top corners #1 - #4"));
}

void ObstacleEditorTest::anOpenedFileAndTheFitButtonShowEveryObstacleLarge() {
    UiFixture ui;
    PictureView* plan = OpenEditor(ui);
    QLineEdit* scale = ui.edit("EditScale", "FormObs");
    // the courtyard reaches 22 m from the location: 1 m per pixel would leave it tiny
    ui.dialogAnswers.push_back(std::string(UMBRIX_SOURCE_DIR) + "/examples/courtyard.obs");
    QTest::mouseClick(ui.find<QAbstractButton>("FormObs", "BitBtn2"), Qt::LeftButton);
    QCOMPARE(ui.app().obstacleEditor().obstacles().size(), std::size_t(7));
    QCOMPARE(scale->text(), QString("0.125"));
    // the northern block (y 12 … 22 m) fills the upper part of the plan, 176 pixels out
    const QRgb building = qRgb(192, 192, 192);
    QCOMPARE(plan->image().pixel(205, 62), building);
    QCOMPARE(plan->image().pixel(205, 20), qRgb(255, 255, 255));

    QAbstractButton* zoomOut = ui.find<QAbstractButton>("FormObs", "ZoomOutBtn");
    QTest::mouseClick(zoomOut, Qt::LeftButton);
    QTest::mouseClick(zoomOut, Qt::LeftButton);
    QCOMPARE(scale->text(), QString("0.5"));
    QVERIFY(plan->image().pixel(205, 62) != building);
    QTest::mouseClick(ui.find<QToolButton>("FormObs", "FitBtn"), Qt::LeftButton);
    QCOMPARE(scale->text(), QString("0.125"));
    QCOMPARE(plan->image().pixel(205, 62), building);
}

UI_TEST(ObstacleEditorTest);

}  // namespace umbrix::ui::test

#include "ObstacleEditor_uitest.moc"
