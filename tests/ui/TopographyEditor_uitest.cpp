// The topography editor as a user meets it: the sample valley opened and the editor closed
// with its terrain horizon (and the "underground" refusal), the edit point chosen on the map,
// and heights typed with Auto-enter.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "models/MainWindowModel.h"
#include "models/TopographyEditorModel.h"
#include "ui/PointerInput.h"
#include "ui/RasterImage.h"
#include "ui/UiFixture.h"
#include "ui/Widgets.h"

namespace umbrix::ui::test {

class TopographyEditorTest : public QObject {
    Q_OBJECT
  private slots:
    void openingTheValleyAndClosingChangesTheHorizon();
    void mapChoosesTheEditPointAndAutoEnterWalksOn();
};

namespace {

PictureView* OpenEditor(UiFixture& ui) {
    ui.action("Topographie1")->trigger();
    return ui.find<PictureView>("FormTopo", "TopoImg");
}

QString Text(UiFixture& ui, const char* name) {
    return ui.edit(name, "FormTopo")->text();
}

}  // namespace

void TopographyEditorTest::openingTheValleyAndClosingChangesTheHorizon() {
    UiFixture ui;
    PictureView* map = OpenEditor(ui);
    QVERIFY(map && map->isVisible());
    ui.dialogAnswers.push_back(std::string(UMBRIX_SOURCE_DIR) + "/examples/valley.txt");
    ui.find<QToolButton>("FormTopo", "OpenBtn")->click();
    QCOMPARE(Text(ui, "EditDat"), QString("valley.txt"));
    QVERIFY(ui.action("Topographie1")->isChecked());
    QCOMPARE(ui.find<QLabel>("FormTopo", "LabelEast")->text(), QString("2000m"));
    // the map shows the model's relief with its grid lines and markers; a click on it shows
    // the height of the point nearest to it
    QCOMPARE(map->image(), ToQImage(ui.app().topographyEditor().shadedMap()));
    // lit from the north-west: the slope facing west is brighter than the flat land, the one
    // facing east darker
    const int westFacing = qGray(map->image().pixel(275, 255));
    const int flat = qGray(map->image().pixel(35, 255));
    const int eastFacing = qGray(map->image().pixel(125, 255));
    QVERIFY2(westFacing > flat + 20 && flat > eastFacing + 20,
             qPrintable(QString("%1 %2 %3").arg(westFacing).arg(flat).arg(eastFacing)));
    QTest::mouseClick(map, Qt::LeftButton, {}, {98, 100});
    QCOMPARE(Text(ui, "EditZp"), QString("384.1"));
    QCOMPARE(map->image().pixel(100, 100), qRgb(255, 255, 0));  // the edit point's marker

    // the valley floor lies above z0 = 0: no horizon, the window stays
    ui.find<QPushButton>("FormTopo", "OkBtn")->click();
    QVERIFY(!ui.messages.empty());
    QVERIFY(QString::fromStdString(ui.messages.back()).contains("\"underground\""));
    QVERIFY(ui.desktop().window("FormTopo")->isVisible());

    UiFixture::typeAndLeave(ui.edit("EditZ0", "FormTopo"), "102");
    QCOMPARE(Text(ui, "EditZ0"), QString("102.0"));
    ui.find<QPushButton>("FormTopo", "OkBtn")->click();
    QVERIFY(!ui.desktop().window("FormTopo")->isVisible());
    const auto& H = ui.app().topographyEditor().horizon();
    QVERIFY(*std::max_element(H.begin(), H.end()) > 0.2);
    ui.find<QPushButton>("FormGeodat", "ButtonNeu")->click();
    const float svf = ui.app().mainWindow().results.SVF_Umb;
    QVERIFY2(svf > 0.6f && svf < 0.75f, std::to_string(svf).c_str());
}

void TopographyEditorTest::mapChoosesTheEditPointAndAutoEnterWalksOn() {
    UiFixture ui;
    PictureView* map = OpenEditor(ui);
    QTest::mouseClick(map, Qt::LeftButton, {}, {103, 198});  // nearest point: column 10, row 20
    QCOMPARE(Text(ui, "EditXp"), QString("500"));
    QCOMPARE(Text(ui, "EditYp"), QString("1000"));
    QCOMPARE(Text(ui, "EditZp"), QString("0.0"));
    Hover(map, {300, 100});
    QCOMPARE(ui.find<QLabel>("FormTopo", "LabelX")->text(), QString("x: 1500.0"));
    QCOMPARE(ui.find<QLabel>("FormTopo", "LabelY")->text(), QString("y: 500.0"));
    QLineEdit* height = ui.edit("EditZp", "FormTopo");
    DoubleClick(map, {103, 198});
    QCOMPARE(ui.desktop().window("FormTopo")->focusWidget(), height);

    auto* autoEnter = ui.find<QToolButton>("FormTopo", "AutoBtn");
    autoEnter->click();
    QVERIFY(autoEnter->isChecked());
    const QImage flat = map->image();
    UiFixture::typeOnly(height, "123.4");
    QTest::keyClick(height, Qt::Key_Return);
    QCOMPARE(ui.app().topographyEditor().window().at(10, 20), 123.4f);
    QCOMPARE(Text(ui, "EditXp"), QString("550"));
    QVERIFY(autoEnter->isChecked());
    QVERIFY(map->image() != flat);
    UiFixture::typeOnly(height, "50");
    QTest::keyClick(height, Qt::Key_Enter);
    QCOMPARE(ui.app().topographyEditor().window().at(11, 20), 50.0f);
    QCOMPARE(Text(ui, "EditXp"), QString("600"));
    QVERIFY(ui.action("Topographie1")->isChecked());  // typing a height checks it
    // the heights are stored: a click releases Auto-enter and nothing presses it again
    autoEnter->click();
    QVERIFY(!autoEnter->isChecked());
    autoEnter->click();
    QVERIFY(autoEnter->isChecked());
    QTest::keyClick(height, Qt::Key_Escape);
    QVERIFY(!autoEnter->isChecked());
    // without Auto-enter, Enter stores the height and stays on the point
    UiFixture::typeOnly(height, "7");
    QTest::keyClick(height, Qt::Key_Return);
    QCOMPARE(ui.app().topographyEditor().window().at(12, 20), 7.0f);
    QCOMPARE(Text(ui, "EditXp"), QString("600"));
}

UI_TEST(TopographyEditorTest);

}  // namespace umbrix::ui::test

#include "TopographyEditor_uitest.moc"
