// The session: File -> Save as and Open, the restore at start and the save at the end.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "models/MainWindowModel.h"
#include "ui/UiFixture.h"

namespace umbrix::ui::test {

namespace {

struct State {
    QString ta, age, height;
    int sex, position;
    bool pmv, date, elevation, polar;

    static State of(UiFixture& ui) {
        return {ui.edit("EditTa")->text(),
                ui.edit("EditA")->text(),
                ui.edit("EditGr")->text(),
                ui.find<QComboBox>("FormGeodat", "ComboSex")->currentIndex(),
                ui.find<QComboBox>("FormGeodat", "ComboPos")->currentIndex(),
                ui.find<QCheckBox>("FormGeodat", "PmvChk")->isChecked(),
                ui.action("Datum1")->isChecked(),
                ui.action("Sunelevationangle1")->isChecked(),
                ui.action("Polar1")->isChecked()};
    }
    bool operator==(const State&) const = default;
};

void choose(UiFixture& ui, const char* combo, int index) {
    auto* c = ui.find<QComboBox>("FormGeodat", combo);
    c->setCurrentIndex(index);
    emit c->activated(index);
}

// Fields, boxes, items and combo choices that differ from a fresh start.
void changeEverything(UiFixture& ui) {
    UiFixture::typeAndLeave(ui.edit("EditTa"), "27.5");
    UiFixture::typeAndLeave(ui.edit("EditA"), "61");
    UiFixture::typeAndLeave(ui.edit("EditGr"), "1.62");
    choose(ui, "ComboSex", 1);
    choose(ui, "ComboPos", 1);
    ui.find<QCheckBox>("FormGeodat", "PmvChk")->click();
    ui.action("Datum1")->trigger();
    ui.action("Sunelevationangle1")->trigger();
    ui.action("Polar1")->trigger();
}

}  // namespace

class SessionTest : public QObject {
    Q_OBJECT
  private slots:
    void saveAsThenOpenRestoresFieldsBoxesAndChoices();
    void endSavesAndTheNextStartRestores();
    void uncheckedOptionStartsFromTheDefaults();
    void cancelledOpenChangesNothing();
    void openRefusesAFileThatIsNoSession();
    void projectSavedAndOpenedThroughTheMenuAndTypedFileNames();
};

void SessionTest::saveAsThenOpenRestoresFieldsBoxesAndChoices() {
    UiFixture ui;
    changeEverything(ui);
    const State saved = State::of(ui);
    QCOMPARE(saved.sex, 1);
    QVERIFY(!saved.pmv && !saved.date && saved.elevation && saved.polar);
    const QString file = ui.path("mine.ini");
    ui.dialogAnswers.push_back(file.toStdString());
    ui.action("SaveAs1")->trigger();
    QVERIFY(QFile::exists(file));
    QCOMPARE(ui.dialogs.back().defaultExt, std::string("txt"));

    // back to the values of a fresh start, then open the file
    UiFixture::typeAndLeave(ui.edit("EditTa"), "20");
    UiFixture::typeAndLeave(ui.edit("EditGr"), "1.75");
    choose(ui, "ComboSex", 0);
    choose(ui, "ComboPos", 0);
    ui.find<QCheckBox>("FormGeodat", "PmvChk")->click();
    ui.action("Datum1")->trigger();
    ui.action("Einzeltab1")->trigger();
    QVERIFY(!(State::of(ui) == saved));

    ui.dialogAnswers.push_back(file.toStdString());
    ui.action("Open1")->trigger();
    QVERIFY(ui.messages.empty());
    QVERIFY(State::of(ui) == saved);
    QCOMPARE(ui.dialogs.back().defaultExt, std::string("ini"));
}

void SessionTest::endSavesAndTheNextStartRestores() {
    QTemporaryDir folder;
    State saved;
    {
        UiFixture first(true, folder.path());
        changeEverything(first);
        saved = State::of(first);
        first.desktop().mainWindow()->close();
        QVERIFY(QFile::exists(folder.path() + "/currentsession.ini"));
    }
    UiFixture second(true, folder.path());
    QVERIFY(State::of(second) == saved);
    QVERIFY(second.messages.empty());
}

void SessionTest::uncheckedOptionStartsFromTheDefaults() {
    QTemporaryDir folder;
    {
        UiFixture first(true, folder.path());
        changeEverything(first);
        first.action("Saverestoresession1")->trigger();
        QVERIFY(!first.action("Saverestoresession1")->isChecked());
        first.desktop().mainWindow()->close();
    }
    UiFixture second(true, folder.path());
    QCOMPARE(second.edit("EditTa")->text(), QString("20.0"));
    QCOMPARE(second.find<QComboBox>("FormGeodat", "ComboSex")->currentIndex(), 0);
    QVERIFY(second.action("Einzeltab1")->isChecked());
    // the option itself is remembered as off
    QVERIFY(!second.action("Saverestoresession1")->isChecked());
}

void SessionTest::cancelledOpenChangesNothing() {
    UiFixture ui;
    changeEverything(ui);
    const State before = State::of(ui);
    ui.action("Open1")->trigger();  // no answer: cancelled
    QVERIFY(State::of(ui) == before);
    QVERIFY(ui.messages.empty());
}

void SessionTest::openRefusesAFileThatIsNoSession() {
    UiFixture ui;
    changeEverything(ui);
    const State before = State::of(ui);
    QFile other(ui.path("notes.txt"));
    QVERIFY(other.open(QIODevice::WriteOnly));
    other.write("EditTa=99\nsome notes\n");
    other.close();
    ui.dialogAnswers.push_back(ui.path("notes.txt").toStdString());
    ui.action("Open1")->trigger();
    QVERIFY(State::of(ui) == before);
    QCOMPARE(ui.messages.size(), std::size_t(1));
    QVERIFY2(ui.messages[0].find("notes.txt\": it is not a session file") != std::string::npos,
             ui.messages[0].c_str());

    // a session with a value no field can take: the rest is restored, that one reported
    QFile session(ui.path("odd.ini"));
    QVERIFY(session.open(QIODevice::WriteOnly));
    session.write("[FormGeodat]\nEditTa=1e308\nEditA=61\nEditDat=31.2.2026\n");
    session.close();
    ui.dialogAnswers.push_back(ui.path("odd.ini").toStdString());
    ui.action("Open1")->trigger();
    QCOMPARE(ui.edit("EditTa")->text(), before.ta);
    QCOMPARE(ui.edit("EditA")->text(), QString("61"));
    QCOMPARE(ui.edit("EditDat")->text(), QString("21.6.2026"));
    QCOMPARE(ui.messages.size(), std::size_t(2));
    QVERIFY(ui.messages[1].find("EditTa \"1e308\" is out of range") != std::string::npos);
    QVERIFY(ui.messages[1].find("EditDat \"31.2.2026\" is not a valid date") != std::string::npos);
}

void SessionTest::projectSavedAndOpenedThroughTheMenuAndTypedFileNames() {
    UiFixture ui;
    QMainWindow* main = ui.desktop().mainWindow();
    changeEverything(ui);
    const State saved = State::of(ui);
    const QString file = ui.path("my study.umbrix");
    ui.typeInNextFileDialog("my study");
    UiFixture::chooseMenuItem(main, ui.action("SaveProject1"));
    QVERIFY(QFile::exists(file));

    UiFixture::typeAndLeave(ui.edit("EditTa"), "12");
    ui.typeInNextFileDialog("my study.umbrix");
    UiFixture::chooseMenuItem(main, ui.action("OpenProject1"));
    QCOMPARE(State::of(ui), saved);

    // the recent projects list it, and its item opens it again
    UiFixture::typeAndLeave(ui.edit("EditTa"), "12");
    QMenu* recent = ui.find<QMenu>("FormGeodat", "MenuRecent");
    QVERIFY(recent->isEnabled());
    QAction* first = recent->findChild<QAction*>("RecentProject1");
    QVERIFY(first && first->text().endsWith("my study.umbrix"));
    QMenuBar* bar = main->menuBar();
    QMenu* fileMenu = ui.find<QMenu>("FormGeodat", "MenuFile");
    QTest::mouseClick(bar, Qt::LeftButton, {},
                      bar->actionGeometry(fileMenu->menuAction()).center());
    QTRY_VERIFY(fileMenu->isVisible());
    QTest::mouseClick(fileMenu, Qt::LeftButton, {},
                      fileMenu->actionGeometry(recent->menuAction()).center());
    QTRY_VERIFY(recent->isVisible());
    QTest::mouseClick(recent, Qt::LeftButton, {}, recent->actionGeometry(first).center());
    QTRY_COMPARE(ui.edit("EditTa")->text(), saved.ta);
    QTRY_VERIFY(!fileMenu->isVisible());

    // a file that is no project: a message, and nothing changes
    QFile junk(ui.path("junk.umbrix"));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write("[FormGeodat]\nEditTa=40\n");
    junk.close();
    UiFixture::typeAndLeave(ui.edit("EditTa"), "12");
    ui.typeInNextFileDialog("junk.umbrix");
    UiFixture::chooseMenuItem(main, ui.action("OpenProject1"));
    QVERIFY(!ui.messages.empty());
    QVERIFY2(ui.messages.back().find("no Umbrix project file") != std::string::npos,
             ui.messages.back().c_str());
    QCOMPARE(ui.edit("EditTa")->text(), QString("12.0"));
}

UI_TEST(SessionTest);

}  // namespace umbrix::ui::test

#include "Session_uitest.moc"
