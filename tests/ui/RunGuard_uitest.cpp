// A long command keeps the windows responsive, locks what would start another run or change
// its inputs, and ends cleanly on Cancel or Escape.
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QFile>

#include "calc/Geodat.h"
#include "diagrams/Sunmap.h"
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
    ui.desktop().act(ui.app().geodat(), [&] { command(host); }, true);
    QVERIFY(sawLocked);
    QVERIFY(!command.timedOut);
    QVERIFY(command.rows > 10);
    QVERIFY(progressSeen > 0);
    QVERIFY(ui.app().map().lines().empty());
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
    QTimer::singleShot(400, [&] {
        QTest::keyClick(ui.desktop().mainWindow(), Qt::Key_Escape);
    });
    Host& host = ui.app().host();
    ui.desktop().act(ui.app().geodat(), [&] { command(host); }, true);
    QVERIFY(!command.timedOut);
    QVERIFY(ui.edit("EditTa")->isEnabled());
    // the next command starts with no cancel pending
    QVERIFY(!host.cancelRequested());
    ui.find<QPushButton>("FormGeodat", "ButtonNeu")->click();
    QVERIFY(!ui.app().map().lines().empty());
}

void RunGuardTest::shortCommandDoesNotLock() {
    UiFixture ui;
    bool locked = true;
    Host& host = ui.app().host();
    ui.desktop().act(
        ui.app().geodat(),
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
    ui.desktop().act(ui.app().geodat(), [&] { command(host); }, true);
    QVERIFY(!command.timedOut);
    QVERIFY(!ui.desktop().mainWindow()->isVisible());
    // the session was saved on the way out
    QVERIFY(QFile::exists(ui.path("currentsession.ini")));
}

UI_TEST(RunGuardTest);

}  // namespace umbrix::ui::test

#include "RunGuard_uitest.moc"
