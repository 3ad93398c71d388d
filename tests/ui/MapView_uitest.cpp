// The output window's map view: a building drawn in the obstacle editor, the map computed with
// a typed cell size, the pointer hint over open ground and over the building, in English and in
// German. (UMBRIX_UI_SHOTS=folder keeps a picture of the window in each language.)
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "ui/MapView.h"
#include "ui/PointerInput.h"
#include "ui/UiFixture.h"
#include "ui/Widgets.h"

namespace umbrix::ui::test {

class MapViewTest : public QObject {
    Q_OBJECT
  private slots:
    void hintGivesTheCellsValuesInBothLanguages();
};

namespace {

void Shot(QWidget* window, const char* name) {
    if (qEnvironmentVariableIsSet("UMBRIX_UI_SHOTS"))
        window->grab().save(qEnvironmentVariable("UMBRIX_UI_SHOTS") + "/" + name);
}

}  // namespace

void MapViewTest::hintGivesTheCellsValuesInBothLanguages() {
    UiFixture ui;
    // a building 100 m wide from 30 to 50 m north of the location, drawn with four clicks
    ui.action("Hindernisobjekte1")->trigger();
    PictureView* plan = ui.find<PictureView>("FormObs", "ObsImg");
    QVERIFY(plan);
    ui.find<QToolButton>("FormObs", "AddObsBtn")->click();
    for (QPoint corner : {QPoint(150, 150), QPoint(250, 150), QPoint(250, 170), QPoint(150, 170)})
        QTest::mouseClick(plan, Qt::LeftButton, {}, corner);
    ui.find<QToolButton>("FormObs", "AddObsBtn")->click();
    QTest::mouseClick(ui.find<QPushButton>("FormObs", "CloseBtn"), Qt::LeftButton);

    QTest::mouseClick(ui.find<QPushButton>("FormGeodat", "ButtonNeu"), Qt::LeftButton);
    QWidget* window = ui.desktop().window("FormMap");
    QVERIFY(window && window->isVisible());
    QToolButton* mapButton = ui.find<QToolButton>("FormMap", "MapBtn");
    QVERIFY(mapButton->isEnabled());
    QTest::mouseClick(mapButton, Qt::LeftButton);
    MapView* view = ui.find<MapView>("FormMap", "MapView");
    QVERIFY(view && view->isVisible());
    QLineEdit* cell = ui.find<QLineEdit>("FormMap", "MapCell");
    QPushButton* compute = ui.find<QPushButton>("FormMap", "MapComputeBtn");
    QCOMPARE(compute->text(), QString("Compute map"));

    // a cell size that is no number is refused with a message, and no map
    UiFixture::typeOnly(cell, "x");
    QTest::mouseClick(compute, Qt::LeftButton);
    QVERIFY(view->hintText().contains("cell size"));
    QVERIFY(view->picture()->image().isNull());

    // 10 m cells over the frame x -50 … 50, y 0 … 50: 40 pixels a cell from (12, 46)
    UiFixture::typeOnly(cell, "10");
    QTest::mouseClick(compute, Qt::LeftButton);
    QVERIFY(!view->picture()->image().isNull());
    Hover(view->picture(), {12 + 5 * 40 + 20, 46 + 4 * 40 + 20});
    const QString open = view->hintText();
    QVERIFY2(open.startsWith("x 5.0 m, y 5.0 m: Tmrt ") && open.contains(" °C, PET ") &&
                 open.contains("SVF 0.") && open.endsWith("in the sun"),
             qPrintable(open));
    Hover(view->picture(), {12 + 5 * 40 + 20, 46 + 20});
    QCOMPARE(view->hintText(), QString("x 5.0 m, y 45.0 m: inside a building"));
    Shot(window, "map_view_en.png");

    ui.action("Deutsch1")->trigger();
    QCOMPARE(compute->text(), QString("Karte berechnen"));
    QTest::mouseClick(compute, Qt::LeftButton);
    Hover(view->picture(), {12 + 5 * 40 + 20, 46 + 20});
    QCOMPARE(view->hintText(), QString("x 5.0 m, y 45.0 m: im Geb\u00e4ude"));
    Hover(view->picture(), {12 + 5 * 40 + 20, 46 + 4 * 40 + 20});
    Shot(window, "map_view_de.png");
    // back to the table and diagram views
    QCOMPARE(mapButton->text(), QString("Karte"));
    QTest::mouseClick(mapButton, Qt::LeftButton);
    QVERIFY(!view->isVisible());
}

UI_TEST(MapViewTest);

}  // namespace umbrix::ui::test

#include "MapView_uitest.moc"
