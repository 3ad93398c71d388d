// The output window's charts after a run of the summer-days example: opened with the "Charts"
// button, another kind and a second column picked with the keyboard, the chart saved as SVG,
// the view in German, and the chart of a daily course that follows. (UMBRIX_UI_SHOTS=folder keeps a
// picture of the window in each language.)
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

#include "ui/ChartsPage.h"
#include "ui/UiFixture.h"

namespace umbrix::ui::test {

class ChartsPageTest : public QObject {
    Q_OBJECT
  private slots:
    void chartsOfADataFileRunByClicks();
};

namespace {

void Shot(QWidget* window, const char* name) {
    if (!qEnvironmentVariableIsSet("UMBRIX_UI_SHOTS")) return;
    QTest::qWait(50);  // the layout as the screen would show it
    window->grab().save(qEnvironmentVariable("UMBRIX_UI_SHOTS") + "/" + name);
}

QString ChartTitle(ChartsPage* page) {
    auto* view = qobject_cast<QChartView*>(page->chart());
    return view ? view->chart()->title() : QString("(no chart: %1)").arg(page->message());
}

// One step down the combo box, as the arrow key does it.
void StepDown(QComboBox* combo) {
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
}

}  // namespace

void ChartsPageTest::chartsOfADataFileRunByClicks() {
    UiFixture ui;
    UiFixture::chooseMenuItem(ui.desktop().mainWindow(), ui.action("Wertedatei1"));
    ui.dialogAnswers.push_back(std::string(UMBRIX_SOURCE_DIR) + "/examples/summer_days.txt");
    QTest::mouseClick(ui.find<QPushButton>("FormWerte", "BitBtn1"), Qt::LeftButton);
    auto* skip = ui.find<QCheckBox>("FormWerte", "ChkUeberschriften");
    QTest::mouseClick(skip, Qt::LeftButton, {}, QPoint(8, skip->height() / 2));
    auto* list = ui.find<QListWidget>("FormWerte", "CheckListBox1");
    for (const char* item : {"Date", "Time", "Air temperature Ta (°C)", "Relative humidity RH (%)",
                             "Wind velocity v (m/s)", "Global radiation G (W/m²)"})
        UiFixture::clickCheckBox(
            list, list->row(list->findItems(QString::fromUtf8(item), Qt::MatchExactly).value(0)));
    QTest::mouseClick(ui.find<QPushButton>("FormWerte", "OkBtn"), Qt::LeftButton);
    QTest::mouseClick(ui.find<QPushButton>("FormGeodat", "ButtonNeu"), Qt::LeftButton);
    QVERIFY2(ui.messages.empty(), ui.messages.empty() ? "" : ui.messages.front().c_str());

    QWidget* window = ui.desktop().window("FormMap");
    QToolButton* chartsButton = ui.find<QToolButton>("FormMap", "ChartsBtn");
    QTest::mouseClick(chartsButton, Qt::LeftButton);
    auto* page = ui.find<ChartsPage>("FormMap", "ChartsPage");
    QVERIFY(page && page->isVisible());
    // the heat map of UTCI first, over the four days of the file
    QVERIFY2(ChartTitle(page).contains("UTCI"), qPrintable(ChartTitle(page)));
    Shot(window, "charts_en.png");

    // a time series of Ta, then of Ta and the next column
    auto* kind = ui.find<QComboBox>("FormMap", "ChartKind");
    StepDown(kind);
    QCOMPARE(kind->currentText(), QString("Time series"));
    auto* first = ui.find<QComboBox>("FormMap", "ChartColumn");
    auto* second = ui.find<QComboBox>("FormMap", "ChartColumn2");
    QVERIFY(second->isVisible());
    first->setFocus();
    QTest::keyClick(first, Qt::Key_Home);
    QCOMPARE(ChartTitle(page), QString("%1 over time").arg(first->currentText()));
    // the second box starts at "(none)"; the first column again is no second line
    StepDown(second);
    QCOMPARE(ChartTitle(page), QString("%1 over time").arg(first->currentText()));
    StepDown(second);
    QCOMPARE(ChartTitle(page),
             QString("%1 and %2 over time").arg(first->currentText(), second->currentText()));

    // saved as SVG at the size shown
    const QString svg = ui.path("chart.svg");
    ui.dialogAnswers.push_back(svg.toStdString());
    QTest::mouseClick(ui.find<QPushButton>("FormMap", "ChartSaveBtn"), Qt::LeftButton);
    QVERIFY2(ui.messages.empty(), ui.messages.empty() ? "" : ui.messages.front().c_str());
    QFile file(svg);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("<svg"));

    // in German the kinds, titles and buttons follow
    UiFixture::chooseMenuItem(ui.desktop().mainWindow(), ui.action("Deutsch1"));
    QCOMPARE(kind->currentText(), QString("Zeitreihen"));
    QVERIFY2(ChartTitle(page).endsWith("im Zeitverlauf"), qPrintable(ChartTitle(page)));
    QCOMPARE(ui.find<QPushButton>("FormMap", "ChartCopyBtn")->text(), QString("Kopieren"));
    Shot(window, "charts_de.png");

    // the "Map" button takes the place of the charts, and the charts come back
    QTest::mouseClick(ui.find<QToolButton>("FormMap", "MapBtn"), Qt::LeftButton);
    QVERIFY(!page->isVisible() && !chartsButton->isChecked());
    QTest::mouseClick(chartsButton, Qt::LeftButton);
    QVERIFY(page->isVisible() && page->chart());

    // a daily course run while the charts are shown: its chart comes first, one point a day
    UiFixture::chooseMenuItem(ui.desktop().mainWindow(), ui.action("Jahresgang1"));
    QTest::mouseClick(ui.find<QPushButton>("FormGeodat", "ButtonNeu"), Qt::LeftButton);
    QCOMPARE(kind->currentText(), QString("Tageswerte"));
    QVERIFY2(ChartTitle(page).startsWith("Tageswerte"), qPrintable(ChartTitle(page)));
    QVERIFY(!first->isVisible());
    Shot(window, "charts_daily_de.png");
}

UI_TEST(ChartsPageTest);

}  // namespace umbrix::ui::test

#include "ChartsPage_uitest.moc"
