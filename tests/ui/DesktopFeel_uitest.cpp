// Where windows open and what they keep: remembered places within the screen, clear of the
// main window's commands; a new table keeps the output window's size; the output table as a
// table view (sorting by a header click, Ctrl+C as tab-separated text, the missing value's dash);
// the "&Table" menu stays open while its items are toggled.
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QToolButton>

#include "models/MainWindowModel.h"
#include "models/OutputWindowModel.h"
#include "ui/DiagramWindow.h"
#include "ui/OutputTable.h"
#include "ui/UiFixture.h"
#include "ui/Widgets.h"
#include "ui/WindowPlacement.h"

namespace umbrix::ui::test {

namespace {

QWidget* NewTable(UiFixture& ui) {
    QTest::mouseClick(ui.find<QPushButton>("FormGeodat", "ButtonNeu"), Qt::LeftButton);
    return ui.desktop().window("FormMap");
}

// The column of the table view whose header starts with name.
int ColumnNamed(OutputTableView* table, const QString& name) {
    for (int c = 0; c < table->model()->columnCount(); ++c)
        if (table->model()->headerData(c, Qt::Horizontal).toString().startsWith(name)) return c;
    return -1;
}

void ClickHeader(OutputTableView* table, int column) {
    QHeaderView* header = table->horizontalHeader();
    table->scrollTo(table->model()->index(0, column));
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

QPoint CellCentre(OutputTableView* table, int row, int column) {
    table->scrollTo(table->model()->index(row, column));
    return table->visualRect(table->model()->index(row, column)).center();
}

}  // namespace

class DesktopFeelTest : public QObject {
    Q_OBJECT
  private slots:
    void placesStayOnTheScreenAndClearOfTheCommands();
    void windowsComeBackWhereTheyWereWithinTheScreen();
    void aNewTableKeepsTheOutputWindowsSize();
    void chartsAndMapGrowTheWindowClearOfTheCommands();
    void tableViewSortsByAHeaderClickAndCopiesTheSelection();
    void tableMenuStaysOpenWhileItemsAreToggled();
};

void DesktopFeelTest::placesStayOnTheScreenAndClearOfTheCommands() {
    const QRect screen(0, 0, 1366, 768);
    const QRect commands(0, 500, 910, 40);  // the main window's row of New and Add
    struct Case {
        const char* what;
        QRect frame;
        QRect fitted;
    } fits[] = {
        {"inside stays", {100, 100, 400, 300}, {100, 100, 400, 300}},
        {"past the right edge moves in", {1200, 100, 400, 300}, {966, 100, 400, 300}},
        {"above the top moves down", {10, -50, 400, 300}, {10, 0, 400, 300}},
        {"larger than the screen shrinks", {-20, 10, 2000, 900}, {0, 0, 1366, 768}},
    };
    for (const Case& c : fits) QCOMPARE(FitInto(c.frame, screen), c.fitted);
    struct Place {
        const char* what;
        QSize size;
        QRect placed;
    } places[] = {
        {"narrow: right of the commands", {400, 700}, {910, 0, 400, 700}},
        {"wide and low: below them", {1300, 200}, {0, 540, 1300, 200}},
        {"wide and high: above them, as high as there is room", {1300, 700}, {0, 0, 1300, 500}},
        {"wider than anything: shrunk into the largest area", {1500, 400}, {0, 0, 1366, 400}},
    };
    for (const Place& p : places) {
        const QRect placed = PlaceClear(p.size, commands, screen);
        QVERIFY2(placed == p.placed, p.what);
        QVERIFY2(!placed.intersects(commands) && screen.contains(placed), p.what);
    }
}

void DesktopFeelTest::windowsComeBackWhereTheyWereWithinTheScreen() {
    QTemporaryDir folder;
    QRect moved;
    {
        UiFixture first(false, folder.path());
        QWidget* output = NewTable(first);
        QVERIFY(output->isVisible());
        const QRect available = output->screen()->availableGeometry();
        // the window clears the main window's New and Add and stays on the screen
        QWidget* add = first.find<QWidget>("FormGeodat", "ButtonHinzu");
        const QRect addRect(add->mapToGlobal(QPoint(0, 0)), add->size());
        QVERIFY(!output->frameGeometry().intersects(addRect));
        QVERIFY(available.contains(output->frameGeometry()));
        // the user drags and resizes it (the window manager's part), then closes it
        moved = QRect(available.left() + 30, available.top() + 40, 420, 330);
        output->setGeometry(moved);
        output->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(output));
        QTest::keySequence(first.find<QWidget>("FormMap", "RichEdit1"),
                           QKeySequence(QKeySequence::Close));
        QVERIFY(!output->isVisible());
    }
    {
        UiFixture again(false, folder.path());
        QWidget* output = NewTable(again);
        QCOMPARE(output->geometry(), moved);
    }
    // a place off the screen (a screen since unplugged) comes back within the screen
    QSettings(folder.path() + "/windows.ini", QSettings::IniFormat)
        .setValue("FormMap/geometry", QRect(5000, 3000, 5000, 420));
    UiFixture third(false, folder.path());
    QWidget* output = NewTable(third);
    QVERIFY(output->screen()->availableGeometry().contains(output->frameGeometry()));
    QCOMPARE(output->height(), 420);
}

void DesktopFeelTest::chartsAndMapGrowTheWindowClearOfTheCommands() {
    UiFixture ui;
    QWidget* output = NewTable(ui);
    QWidget* add = ui.find<QWidget>("FormGeodat", "ButtonHinzu");
    QWidget* neu = ui.find<QWidget>("FormGeodat", "ButtonNeu");
    const QRect commands = QRect(neu->mapToGlobal(QPoint(0, 0)), neu->size())
                               .united(QRect(add->mapToGlobal(QPoint(0, 0)), add->size()));
    for (const char* button : {"ChartsBtn", "MapBtn"}) {
        QTest::mouseClick(ui.find<QToolButton>("FormMap", button), Qt::LeftButton);
        QVERIFY(!output->frameGeometry().intersects(commands));
        QVERIFY(output->screen()->availableGeometry().contains(output->frameGeometry()));
    }
}

void DesktopFeelTest::aNewTableKeepsTheOutputWindowsSize() {
    UiFixture ui;
    QMainWindow* main = ui.desktop().mainWindow();
    // the daily course's table is narrower than the data table
    UiFixture::chooseMenuItem(main, ui.action("Jahresgang1"));
    QWidget* output = NewTable(ui);
    const QSize size = output->size();
    UiFixture::chooseMenuItem(main, ui.action("Einzeltab1"));
    NewTable(ui);
    QVERIFY(ui.app().outputWindow().lines().size() > 7);
    QCOMPARE(output->size(), size);
}

void DesktopFeelTest::tableViewSortsByAHeaderClickAndCopiesTheSelection() {
    UiFixture ui;
    NewTable(ui);
    UiFixture::typeAndLeave(ui.edit("EditZeit"), "15:00");
    QTest::mouseClick(ui.find<QPushButton>("FormGeodat", "ButtonHinzu"), Qt::LeftButton);
    UiFixture::typeAndLeave(ui.edit("EditZeit"), "12:00");
    QTest::mouseClick(ui.find<QPushButton>("FormGeodat", "ButtonHinzu"), Qt::LeftButton);
    auto* window = qobject_cast<DiagramWindow*>(ui.desktop().window("FormMap"));
    OutputTableView* table = window->tableView();
    auto* toggle = ui.find<QToolButton>("FormMap", "TableViewBtn");
    QCOMPARE(toggle->text(), QString("Table"));
    QTest::mouseClick(toggle, Qt::LeftButton);
    QVERIFY(table->isVisible());
    QVERIFY(!window->textView()->isVisible());
    QCOMPARE(toggle->text(), QString("Text"));
    QCOMPARE(table->model()->rowCount(), 3);
    // rows in the order computed; the row header carries date and time
    const QAbstractItemModel* m = table->model();
    QCOMPARE(m->headerData(1, Qt::Vertical).toString(), QString("2026-06-21 15:00"));

    // Gact is largest at noon, then at 15:00: a click sorts ascending, a second one descending
    const int gact = ColumnNamed(table, "Gact");
    QVERIFY(gact >= 0);
    ClickHeader(table, gact);
    ClickHeader(table, gact);
    QCOMPARE(m->headerData(0, Qt::Vertical).toString(), QString("2026-06-21 12:00"));
    QCOMPARE(m->headerData(1, Qt::Vertical).toString(), QString("2026-06-21 15:00"));
    QCOMPARE(m->headerData(2, Qt::Vertical).toString(), QString("2026-06-21 9:00"));

    // UTCI is missing (v below its range): a dash that says why
    const int utci = ColumnNamed(table, "UTCI");
    QCOMPARE(m->index(0, utci).data().toString(), QString::fromUtf8("\u2013"));
    QVERIFY(m->index(0, utci).data(Qt::ToolTipRole).toString().startsWith("UTCI: no value"));

    // click the noon row's Ta, shift-click the 15:00 row's UTCI, Ctrl+C
    const int ta = ColumnNamed(table, "Ta");
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, CellCentre(table, 0, ta));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      CellCentre(table, 2, utci));
    QApplication::clipboard()->clear();
    QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
    const QStringList lines = QApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    for (int row = 0; row < 3; ++row) {
        QStringList expected;
        for (int c = ta; c <= utci; ++c) {
            const QString shown = m->index(row, c).data().toString();
            expected << (shown == QString::fromUtf8("\u2013") ? QString() : shown);
        }
        QCOMPARE(lines[row], expected.join('\t'));
    }
    QVERIFY(lines[0].startsWith("20.0\t"));
    QVERIFY(lines[0].endsWith('\t'));  // the missing UTCI copies as an empty field
}

void DesktopFeelTest::tableMenuStaysOpenWhileItemsAreToggled() {
    UiFixture ui;
    QMainWindow* main = ui.desktop().mainWindow();
    QMenuBar* bar = main->menuBar();
    auto* menu = ui.find<QMenu>("FormGeodat", "MenuTable");
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
    QTRY_VERIFY(menu->isVisible());
    const MainWindowModel& model = ui.app().mainWindow();
    const bool date = model.checked("Datum1"), elevation = model.checked("Sunelevationangle1");
    // two clicks toggle two items; the menu stays open after each
    for (const char* name : {"Datum1", "Sunelevationangle1"}) {
        QAction* item = ui.action(name);
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
        QVERIFY2(menu->isVisible(), name);
        QCOMPARE(item->isChecked(), model.checked(name));
    }
    QCOMPARE(model.checked("Datum1"), !date);
    QCOMPARE(model.checked("Sunelevationangle1"), !elevation);
    // Space on the item under the keyboard toggles it back; Escape closes the menu
    QTest::mouseMove(menu, menu->actionGeometry(ui.action("Datum1")).center());
    QTRY_COMPARE(menu->activeAction(), ui.action("Datum1"));
    QTest::keyClick(menu, Qt::Key_Space);
    QVERIFY(menu->isVisible());
    QCOMPARE(model.checked("Datum1"), date);
    QTest::keyClick(menu, Qt::Key_Escape);
    QTRY_VERIFY(!menu->isVisible());
    // the columns chosen are the table's
    QTest::mouseClick(ui.find<QPushButton>("FormGeodat", "ButtonNeu"), Qt::LeftButton);
    bool hasElevation = false;
    for (const auto& line : ui.app().outputWindow().lines())
        hasElevation = hasElevation || line.find("elev.") != std::string::npos;
    QCOMPARE(hasElevation, !elevation);
}

UI_TEST(DesktopFeelTest);

}  // namespace umbrix::ui::test

#include "DesktopFeel_uitest.moc"
