// The horizon limitation editor driven with the pointer: a polygon closed by a double click, the
// flood fill under the hourglass, the pick buttons with the pipette cursor, the track bars and
// the albedo display.
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QToolButton>

#include "models/HorizonEditorModel.h"
#include "models/MainWindowModel.h"
#include "ui/EditorIcons.h"
#include "ui/PointerInput.h"
#include "ui/UiFixture.h"
#include "ui/Widgets.h"

namespace umbrix::ui::test {

class HorizonEditorTest : public QObject {
    Q_OBJECT
  private slots:
    void polygonClosedByDoubleClickLowersTheSkyViewFactor();
    void floodFillPaintsTheSkyUnderTheHourglass();
    void pickButtonsTrackBarsAndTheAlbedoDisplay();
    void strokeUndoneAndRedoneByKeysAndTheMenu();
};

namespace {

PictureView* OpenEditor(UiFixture& ui) {
    ui.action("Horizonteinengung1")->trigger();
    return ui.find<PictureView>("FormFreihor", "Image1");
}

QToolButton* Button(UiFixture& ui, const char* name) {
    return ui.find<QToolButton>("FormFreihor", name);
}

QColor SwatchColour(UiFixture& ui, const char* name) {
    return ui.find<QFrame>("FormFreihor", name)->palette().color(QPalette::Window);
}

}  // namespace

void HorizonEditorTest::polygonClosedByDoubleClickLowersTheSkyViewFactor() {
    UiFixture ui;
    PictureView* image = OpenEditor(ui);
    QVERIFY(image && image->isVisible());
    QVERIFY(Button(ui, "SpeedButton1")->isChecked());  // to the edge of the horizon
    ui.find<QPushButton>("FormGeodat", "ButtonNeu")->click();
    QCOMPARE(ui.app().mainWindow().results.SVF_Umb, 1.0f);

    // clicks outside the horizon circle add nothing
    QTest::mouseClick(image, Qt::LeftButton, {}, {5, 5});
    QVERIFY(ui.app().horizonEditor().polygon().empty());
    // clockwise on the screen: the polygon closes along the horizon circle below the clicks
    QTest::mouseClick(image, Qt::LeftButton, {}, {300, 400});
    QTest::mouseClick(image, Qt::LeftButton, {}, {250, 400});
    // the preview line inverts the white sky under it
    QCOMPARE(image->image().pixel(275, 400), qRgb(0, 0, 0));
    DoubleClick(image, {180, 330});
    QVERIFY(ui.app().horizonEditor().polygon().empty());
    QVERIFY(ui.action("Horizonteinengung1")->isChecked());
    QVERIFY(!ui.find<QPushButton>("FormGeodat", "ButtonHinzu")->isEnabled());
    // filled with the brush colour down to the horizon circle
    QCOMPARE(ui.app().horizonEditor().drawing().pixel(270, 420), Rgb(160, 160, 160));
    QCOMPARE(image->image().pixel(270, 420), qRgb(160, 160, 160));
    QCOMPARE(ui.app().horizonEditor().drawing().pixel(240, 100), kWhite);
    ui.find<QPushButton>("FormGeodat", "ButtonNeu")->click();
    const float svf = ui.app().mainWindow().results.SVF_Umb;
    QVERIFY2(svf < 0.99f && svf > 0.5f, std::to_string(svf).c_str());

    // undo takes the polygon back
    Button(ui, "UndoBtn")->click();
    QCOMPARE(ui.app().horizonEditor().drawing().pixel(270, 420), kWhite);
}

void HorizonEditorTest::floodFillPaintsTheSkyUnderTheHourglass() {
    UiFixture ui;
    PictureView* image = OpenEditor(ui);
    Button(ui, "FillBtn")->click();
    QVERIFY(Button(ui, "FillBtn")->isChecked());
    QVERIFY(!Button(ui, "SpeedButton1")->isChecked());
    bool hourglass = false;
    // runs while the fill lets pending events through
    QTimer::singleShot(0, this, [&] {
        hourglass = QApplication::overrideCursor() &&
                    QApplication::overrideCursor()->shape() == Qt::WaitCursor;
    });
    QTest::mouseClick(image, Qt::LeftButton, {}, {240, 240});
    QTest::qWait(1);
    QVERIFY(hourglass);
    QVERIFY(!QApplication::overrideCursor());
    const Raster& drawing = ui.app().horizonEditor().drawing();
    for (QPoint p : {QPoint(240, 240), QPoint(2, 240), QPoint(240, 478), QPoint(0, 0)})
        QCOMPARE(drawing.pixel(p.x(), p.y()), Rgb(160, 160, 160));
    QCOMPARE(image->image().pixel(240, 10), qRgb(160, 160, 160));
    // a fill leaves the source item as it was
    QVERIFY(!ui.action("Horizonteinengung1")->isChecked());
}

void HorizonEditorTest::strokeUndoneAndRedoneByKeysAndTheMenu() {
    UiFixture ui;
    PictureView* image = OpenEditor(ui);
    auto* window = static_cast<QMainWindow*>(ui.desktop().window("FormFreihor"));
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QAction* undo = ui.action("UndoItem", "FormFreihor");
    QAction* redo = ui.action("RedoItem", "FormFreihor");
    QVERIFY(!redo->isEnabled());
    QTest::mouseClick(image, Qt::LeftButton, {}, {300, 400});
    QTest::mouseClick(image, Qt::LeftButton, {}, {250, 400});
    DoubleClick(image, {180, 330});
    const QRgb grey = qRgb(160, 160, 160), white = qRgb(255, 255, 255);
    QCOMPARE(image->image().pixel(270, 420), grey);

    // the keys go to wherever the focus is, as a person's keys do
    auto press = [&](QKeySequence keys) {
        QWidget* focus = QApplication::focusWidget();
        QTest::keySequence(focus ? focus : window, keys);
    };
    press(QKeySequence::Undo);
    QCOMPARE(image->image().pixel(270, 420), white);
    QVERIFY(redo->isEnabled());
    QVERIFY(!ui.action("Horizonteinengung1")->isChecked());
    press(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    QCOMPARE(image->image().pixel(270, 420), grey);
    QVERIFY(ui.action("Horizonteinengung1")->isChecked());
    QVERIFY(!redo->isEnabled());
    UiFixture::chooseMenuItem(window, undo);
    QCOMPARE(image->image().pixel(270, 420), white);
    press(QKeySequence(Qt::CTRL | Qt::Key_Y));
    QCOMPARE(image->image().pixel(270, 420), grey);

    // typing in a field takes Ctrl+Z for the field first
    QLineEdit* albedo = ui.edit("EditA", "FormFreihor");
    albedo->setFocus();
    QTest::keyClick(albedo, Qt::Key_End);
    QTest::keyClick(albedo, Qt::Key_5);
    QCOMPARE(albedo->text(), QString("0.35"));
    QTest::keySequence(albedo, QKeySequence::Undo);
    QCOMPARE(albedo->text(), QString("0.3"));
    QCOMPARE(image->image().pixel(270, 420), grey);
    QTest::keySequence(albedo, QKeySequence::Undo);
    QCOMPARE(image->image().pixel(270, 420), white);
}

void HorizonEditorTest::pickButtonsTrackBarsAndTheAlbedoDisplay() {
    UiFixture ui;
    PictureView* image = OpenEditor(ui);
    ui.desktop().host().colourHook = [](std::uint32_t) { return Rgb(0, 0, 200); };
    Button(ui, "SelBtn")->click();
    QCOMPARE(SwatchColour(ui, "Shape2"), QColor(0, 0, 200));
    UiFixture::typeAndLeave(ui.edit("EditA", "FormFreihor"), "0.6");
    Button(ui, "SpeedButton2")->click();  // a polygon inside the circle
    for (QPoint p : {QPoint(200, 200), QPoint(260, 200)})
        QTest::mouseClick(image, Qt::LeftButton, {}, p);
    DoubleClick(image, {230, 260});
    QCOMPARE(ui.app().horizonEditor().drawing().pixel(230, 220), Rgb(0, 0, 200));

    // the pipette picks the painted colour as the cut-off colour
    Button(ui, "CutPickBtn")->click();
    Hover(image, {230, 220});
    QCOMPARE(image->cursor().shape(), Qt::BitmapCursor);
    QCOMPARE(image->cursor().pixmap().cacheKey(), PipetteCursor().pixmap().cacheKey());
    Hover(image, {3, 3});  // outside the horizon circle
    QCOMPARE(image->cursor().shape(), Qt::ArrowCursor);
    QTest::mouseClick(image, Qt::LeftButton, {}, {230, 220});
    QCOMPARE(ui.find<QSlider>("FormFreihor", "TrackBar3")->value(), 55);
    QCOMPARE(ui.find<QSlider>("FormFreihor", "TrackBar1")->value(), 255);
    QCOMPARE(SwatchColour(ui, "Shape1"), QColor(0, 0, 200));
    ui.find<QSlider>("FormFreihor", "TrackBar1")->setValue(100);
    QCOMPARE(SwatchColour(ui, "Shape1"), QColor(155, 0, 200));

    // the albedo display: the map, its scale, its hint, the drawing tools greyed
    Button(ui, "AlbBtn")->click();
    QVERIFY(ui.find<PictureView>("FormFreihor", "ScaleImg")->isVisible());
    QVERIFY(!ui.edit("EditA", "FormFreihor")->isEnabled());
    QCOMPARE(image->image().pixel(230, 220), qRgb(0, 153, 0));
    Hover(image, {230, 220});
    QCOMPARE(ui.find<QLabel>("FormFreihor", "LabelHint")->text(), QString("Albedo = 0.60"));
    Hover(image, {240, 100});
    QCOMPARE(ui.find<QLabel>("FormFreihor", "LabelHint")->text(), QString());
    Button(ui, "AlbBtn")->click();
    QVERIFY(!ui.find<PictureView>("FormFreihor", "ScaleImg")->isVisible());
    QCOMPARE(image->image().pixel(230, 220), qRgb(0, 0, 200));
}

UI_TEST(HorizonEditorTest);

}  // namespace umbrix::ui::test

#include "HorizonEditor_uitest.moc"
