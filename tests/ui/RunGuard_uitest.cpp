// A long command keeps the windows responsive, locks what would start another run or change
// its inputs, and ends cleanly on Cancel or Escape.
#include <QCheckBox>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTextStream>
#include <QTimer>
#include <algorithm>

#include "models/MainWindowModel.h"
#include "models/OutputWindowModel.h"
#include "ui/UiFixture.h"

namespace umbrix::ui::test {

namespace {

// A command that runs until it is cancelled (or 5 s pass), stepping the progress bar and
// letting pending events run, as the row loops do.
struct LongCommand {
    int rows = 0;
    bool timedOut = false;
    void operator()(Host& host) {
        QElapsedTimer clock;
        clock.start();
        host.setProgressMax(365);
        while (!host.cancelRequested()) {
            if (clock.elapsed() > 5000) {
                timedOut = true;
                break;
            }
            ++rows;
            host.stepProgress();
            host.processMessages();
            QTest::qSleep(2);
        }
    }
};

}  // namespace

class RunGuardTest : public QObject {
    Q_OBJECT
  private slots:
    void longCommandLocksInputAndCancelEndsIt();
    void escapeEndsTheRunAndInputComesBack();
    void shortCommandDoesNotLock();
    void closingTheMainWindowDuringARunCancelsFirst();
    void cancelledDataFileRunKeepsTheRowsWritten();
};

void RunGuardTest::longCommandLocksInputAndCancelEndsIt() {
    UiFixture ui;
    auto* neu = ui.find<QPushButton>("FormGeodat", "ButtonNeu");
    auto* cancel = ui.find<QPushButton>("FormGeodat", "ButtonCancel");
    auto* ta = ui.edit("EditTa");
    auto* bar = ui.find<QProgressBar>("FormGeodat", "ProgressBar1");
    QVERIFY(!cancel->isEnabled());
    LongCommand command;
    bool sawLocked = false;
    int progressSeen = 0;
    QTimer::singleShot(400, [&] {
        sawLocked = ui.desktop().runningLocked() && !neu->isEnabled() && !ta->isEnabled() &&
                    !ui.desktop().mainWindow()->menuBar()->isEnabled() && cancel->isEnabled() &&
                    bar->isEnabled();
        progressSeen = bar->value();
        // a click on "&New" inside the run does not start a second table
        neu->click();
        ui.action("Deutsch1")->trigger();
        QTest::mouseClick(cancel, Qt::LeftButton);
    });
    Host& host = ui.app().host();
    ui.desktop().act(
        ui.app().mainWindow(), [&] { command(host); }, true);
    QVERIFY(sawLocked);
    QVERIFY(!command.timedOut);
    QVERIFY(command.rows > 10);
    QVERIFY(progressSeen > 0);
    QVERIFY(ui.app().outputWindow().lines().empty());
    QVERIFY(!ui.action("Deutsch1")->isChecked());
    // everything is back as the model says
    QVERIFY(!ui.desktop().runningLocked());
    QVERIFY(neu->isEnabled() && ta->isEnabled() && !cancel->isEnabled());
    QVERIFY(ui.desktop().mainWindow()->menuBar()->isEnabled());
    QVERIFY(!ui.find<QPushButton>("FormGeodat", "ButtonHinzu")->isEnabled());
}

void RunGuardTest::escapeEndsTheRunAndInputComesBack() {
    UiFixture ui;
    LongCommand command;
    QTimer::singleShot(400, [&] { QTest::keyClick(ui.desktop().mainWindow(), Qt::Key_Escape); });
    Host& host = ui.app().host();
    ui.desktop().act(
        ui.app().mainWindow(), [&] { command(host); }, true);
    QVERIFY(!command.timedOut);
    QVERIFY(ui.edit("EditTa")->isEnabled());
    // the next command starts with no cancel pending
    QVERIFY(!host.cancelRequested());
    ui.find<QPushButton>("FormGeodat", "ButtonNeu")->click();
    QVERIFY(!ui.app().outputWindow().lines().empty());
}

void RunGuardTest::shortCommandDoesNotLock() {
    UiFixture ui;
    bool locked = true;
    Host& host = ui.app().host();
    ui.desktop().act(
        ui.app().mainWindow(),
        [&] {
            host.processMessages();
            locked = ui.desktop().runningLocked();
        },
        true);
    QVERIFY(!locked);
}

void RunGuardTest::closingTheMainWindowDuringARunCancelsFirst() {
    UiFixture ui;
    LongCommand command;
    QTimer::singleShot(400, [&] { ui.desktop().mainWindow()->close(); });
    Host& host = ui.app().host();
    ui.desktop().act(
        ui.app().mainWindow(), [&] { command(host); }, true);
    QVERIFY(!command.timedOut);
    QVERIFY(!ui.desktop().mainWindow()->isVisible());
    // the session was saved on the way out
    QVERIFY(QFile::exists(ui.path("currentsession.ini")));
}

void RunGuardTest::cancelledDataFileRunKeepsTheRowsWritten() {
    UiFixture ui;
    ui.desktop().lockDelayMs = 0;
    // a year of hourly weather
    const QString file = ui.path("year.txt");
    {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Text));
        QTextStream text(&out);
        for (int hour = 0; hour < 8760; ++hour)
            text << QDate(2025, 1, 1).addDays(hour / 24).toString("d.M.yyyy") << '\t' << hour % 24
                 << ":00\t" << 10 + hour % 24 * 0.5 << "\t60\t1.5\t"
                 << (hour % 24 > 6 && hour % 24 < 19 ? 400 : 0) << '\n';
    }
    auto* list = ui.find<QListWidget>("FormWerte", "CheckListBox1");
    for (const char* column :
         {"Date", "Time", "Air temperature Ta (°C)", "Relative humidity RH (%)",
          "Wind velocity v (m/s)", "Global radiation G (W/m²)"})
        UiFixture::clickCheckBox(
            list, list->row(list->findItems(QString::fromUtf8(column), Qt::MatchExactly).value(0)));
    ui.dialogAnswers.push_back(file.toStdString());
    ui.find<QPushButton>("FormWerte", "BitBtn1")->click();
    QVERIFY(ui.action("Wertedatei1")->isChecked());

    const auto& lines = ui.app().outputWindow().lines();
    auto* cancel = ui.find<QPushButton>("FormGeodat", "ButtonCancel");
    std::size_t atCancel = 0;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (lines.size() > 200 && cancel->isEnabled() && atCancel == 0) {
            atCancel = lines.size();
            cancel->click();
        }
    });
    poll.start();
    ui.find<QPushButton>("FormGeodat", "ButtonNeu")->click();
    poll.stop();
    QVERIFY(ui.messages.empty());
    QVERIFY(atCancel > 0);
    // the run ended soon after the cancel: what was read before it is written (the block in work
    // and the one being read, at most 256 rows each), every row whole
    QVERIFY(lines.size() >= atCancel && lines.size() <= atCancel + 2 * 256);
    QVERIFY(lines.size() < 8760);
    const auto fields = [](const std::string& line) {
        return std::count(line.begin(), line.end(), '\t');
    };
    const auto width = fields(lines[lines.size() - 2]);
    QCOMPARE(fields(lines.back()), width);
    // banner, institution, empty line, names, units, then one row per hour in file order
    const int rows = int(lines.size()) - 5;
    const QString last = QString::fromStdString(lines.back());
    QVERIFY2(
        last.startsWith(QDate(2025, 1, 1).addDays((rows - 1) / 24).toString("d.M.yyyy") + " \t"),
        qPrintable(last));
    QVERIFY2(last.contains(QString("\t%1:00\t").arg((rows - 1) % 24)), qPrintable(last));
    // the table is shown as far as it came
    QCOMPARE(ui.find<QPlainTextEdit>("FormMap", "RichEdit1")->document()->blockCount(),
             int(lines.size()));
}

UI_TEST(RunGuardTest);

}  // namespace umbrix::ui::test

#include "RunGuard_uitest.moc"
