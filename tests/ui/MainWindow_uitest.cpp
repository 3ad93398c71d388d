// The main window as a user meets it: exit rules of the fields, "&New" and "A&dd", the changes
// that disable "A&dd", errors as messages.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QHelpEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QToolTip>

#include "models/MainWindowModel.h"
#include "models/OutputWindowModel.h"
#include "ui/UiFixture.h"

namespace umbrix::ui::test {
using Change = std::function<void(UiFixture&)>;
}  // namespace umbrix::ui::test

Q_DECLARE_METATYPE(umbrix::ui::test::Change)

namespace umbrix::ui::test {

class MainWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void leavingAFieldAppliesItsExitRule_data();
    void leavingAFieldAppliesItsExitRule();
    void givenRadiationEmptiesTmrtAndKeepsCloudCover();
    void aValueOutsideItsRangeIsRefusedWithAMessage();
    void aRefusedEntryKeepsItsValueAndIsFramed();
    void newFillsTheTextViewWithTheTable();
    void aMissingValueShowsAsADashWithItsReason();
    void aCommandFirstAppliesTheFieldBeingTyped();
    void addAppendsRowsUnderTheSameHeader();
    void addIsDisabledByTheListedChanges_data();
    void addIsDisabledByTheListedChanges();
    void errorsOfACommandBecomeMessages();
    void locationChoiceFillsTheCoordinates();
    void removingAStoredLocationAsksFirst();
    void unreadableLocationLinesAreReportedOnceAtStart();
};

void MainWindowTest::leavingAFieldAppliesItsExitRule_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("other");       // a field the rule also rewrites
    QTest::addColumn<QString>("otherShown");  // its text afterwards
    QTest::newRow("Ta unreadable") << "EditTa"
                                   << "warm"
                                   << "20.0"
                                   << ""
                                   << "";
    QTest::newRow("Ta formatted") << "EditTa"
                                  << "25"
                                  << "25.0"
                                  << ""
                                  << "";
    QTest::newRow("VP sets RH") << "EditVp"
                                << "12.5"
                                << "12.5"
                                << "EditRh"
                                << "53.5";
    QTest::newRow("time zone +14 (Line Islands)") << "EditZz"
                                                  << "14"
                                                  << "14.0"
                                                  << ""
                                                  << "";
    QTest::newRow("time zone -12") << "EditZz"
                                   << "-12"
                                   << "-12.0"
                                   << ""
                                   << "";
    QTest::newRow("comma as degree mark") << "EditLg"
                                          << "7,30"
                                          << "7°30'"
                                          << ""
                                          << "";
    QTest::newRow("negative half degree") << "EditBr"
                                          << "-0.5"
                                          << "-0°30'"
                                          << ""
                                          << "";
    QTest::newRow("24:00 is midnight") << "EditZeit"
                                       << "24:00"
                                       << "0:00"
                                       << ""
                                       << "";
    QTest::newRow("day 0") << "EditTag"
                           << "0"
                           << "365"
                           << "EditDat"
                           << "31.12.2025";
    QTest::newRow("height unreadable") << "EditGr"
                                       << "tall"
                                       << "1.75"
                                       << ""
                                       << "";
    QTest::newRow("age unreadable") << "EditA"
                                    << "3x"
                                    << "35"
                                    << ""
                                    << "";
    QTest::newRow("altitude rounded") << "EditNn"
                                      << "278.6"
                                      << "279"
                                      << ""
                                      << "";
}

void MainWindowTest::leavingAFieldAppliesItsExitRule() {
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QString, other);
    QFETCH(QString, otherShown);
    UiFixture ui;
    QLineEdit* edit = ui.edit(field.toUtf8().constData());
    QVERIFY(edit);
    UiFixture::typeAndLeave(edit, typed);
    QCOMPARE(edit->text(), shown);
    QCOMPARE(QString::fromStdString(ui.app().mainWindow().text(field.toStdString())), shown);
    if (!other.isEmpty()) QCOMPARE(ui.edit(other.toUtf8().constData())->text(), otherShown);
}

void MainWindowTest::givenRadiationEmptiesTmrtAndKeepsCloudCover() {
    UiFixture ui;
    UiFixture::typeAndLeave(ui.edit("EditTmrt"), "30");
    UiFixture::typeAndLeave(ui.edit("EditG"), "600");
    QCOMPARE(ui.edit("EditG")->text(), QString("600.0"));
    QCOMPARE(ui.edit("EditTmrt")->text(), QString());
    // the cloud cover still counts for the long-wave counter-radiation
    QVERIFY(ui.edit("EditN")->isEnabled());
    QVERIFY(ui.find<QLabel>("FormGeodat", "LabelN")->isEnabled());
    UiFixture::typeAndLeave(ui.edit("EditTmrt"), "31");
    QCOMPARE(ui.edit("EditG")->text(), QString());
}

void MainWindowTest::aValueOutsideItsRangeIsRefusedWithAMessage() {
    UiFixture ui;
    QLineEdit* rh = ui.edit("EditRh");
    UiFixture::typeAndLeave(rh, "150");
    QCOMPARE(rh->text(), QString("53.5"));
    QCOMPARE(int(ui.messages.size()), 1);
    QCOMPARE(QString::fromStdString(ui.messages[0]),
             QString("Relative humidity RH (EditRh): \"150\" is outside the range 0 to 100 %; "
                     "the field keeps \"53.5\""));
    // the next entry starts from the kept value; a possible one is taken
    UiFixture::typeAndLeave(rh, "95");
    QCOMPARE(rh->text(), QString("95.0"));
    QCOMPARE(int(ui.messages.size()), 1);
    // a latitude beyond the pole is not wrapped
    UiFixture::typeAndLeave(ui.edit("EditBr"), "91");
    QCOMPARE(ui.edit("EditBr")->text(),
             QString::fromStdString(ui.app().mainWindow().text("EditBr")));
    QVERIFY(ui.edit("EditBr")->text() != QString("91°0'"));
    QCOMPARE(int(ui.messages.size()), 2);
}

// Typed and confirmed with Return: the message, the previous value, a red frame until the next
// key.
void MainWindowTest::aRefusedEntryKeepsItsValueAndIsFramed() {
    struct Case {
        const char* window;
        const char* field;
        const char* typed;
        const char* kept;
        const char* message;
    } cases[] = {
        {"FormGeodat", "EditTa", "2O", "20.0",
         "Air temperature Ta (EditTa): \"2O\" is not a number"},
        {"FormGeodat", "EditRh", "-70", "53.5", "is outside the range 0 to 100 %"},
        {"FormGeodat", "EditVp", "abc", "12.5", "is not a number"},
        {"FormGeodat", "EditWG", "fast", "0.1", "is not a number"},
        {"FormVorgaben", "EditAlbedo", "-5", "0.20", "Albedo (EditAlbedo): \"-5\" is outside"},
        {"FormVorgaben", "EditBowen", "one", "1.00", "is not a number"},
    };
    UiFixture ui;
    for (const Case& c : cases) {
        QLineEdit* edit = ui.edit(c.field, c.window);
        QVERIFY(edit);
        ui.messages.clear();
        UiFixture::typeOnly(edit, c.typed);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(edit->text(), QString(c.kept));
        QCOMPARE(int(ui.messages.size()), 1);
        QVERIFY2(QString::fromStdString(ui.messages[0]).contains(c.message),
                 ui.messages[0].c_str());
        QVERIFY2(edit->styleSheet().contains("border"), c.field);
        QTest::keyClick(edit, Qt::Key_End);
        QVERIFY2(edit->styleSheet().contains("border"), c.field);  // moving is no edit
        QTest::keyClick(edit, Qt::Key_0);
        QVERIFY2(edit->styleSheet().isEmpty(), c.field);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClick(edit, Qt::Key_Return);
        QVERIFY2(edit->styleSheet().isEmpty(), c.field);
    }
}

void MainWindowTest::newFillsTheTextViewWithTheTable() {
    UiFixture ui;
    auto* add = ui.find<QPushButton>("FormGeodat", "ButtonHinzu");
    QVERIFY(!add->isEnabled());
    QTest::mouseClick(ui.find<QPushButton>("FormGeodat", "ButtonNeu"), Qt::LeftButton);
    QWidget* map = ui.desktop().window("FormMap");
    QVERIFY(map->isVisible());
    auto* text = ui.find<QPlainTextEdit>("FormMap", "RichEdit1");
    QVERIFY(text->isVisible());
    const auto& lines = ui.app().outputWindow().lines();
    QVERIFY(lines.size() >= 9);  // header, names, units, one row
    // the text view shows the table; the row's missing UTCI (v below its range) as a dash
    QStringList expected;
    for (const auto& l : lines) expected << QString::fromStdString(l);
    QVERIFY(expected.back().contains("\t9999.0\t"));
    expected.back().replace("\t9999.0\t", QString::fromUtf8("\t\u2013\t"));
    QCOMPARE(text->toPlainText(), expected.join('\n'));
    QVERIFY(text->toPlainText().contains("place: \tAthens"));
    QVERIFY(text->toPlainText().contains("21.6.2026"));
    QVERIFY(add->isEnabled());
    QVERIFY(ui.messages.empty());
    // the text view is a table: one font for all characters, no wrapping
    QVERIFY(QFontInfo(text->font()).fixedPitch());
    QCOMPARE(text->lineWrapMode(), QPlainTextEdit::NoWrap);
}

// Hovering a dash: the tooltip says why the value is missing.
static QString TooltipOfField(QPlainTextEdit* view, int block, int column) {
    const QTextBlock line = view->document()->findBlockByNumber(block);
    int pos = 0;
    for (int i = 0; i < column; ++i) pos = int(line.text().indexOf('\t', pos)) + 1;
    QTextCursor at(line);
    at.setPosition(line.position() + pos);
    const QPoint point = view->cursorRect(at).center() + QPoint(3, 0);
    QHelpEvent hover(QEvent::ToolTip, point, view->viewport()->mapToGlobal(point));
    QApplication::sendEvent(view->viewport(), &hover);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

void MainWindowTest::aMissingValueShowsAsADashWithItsReason() {
    UiFixture ui;
    const QString dash = QString::fromUtf8("\u2013");
    auto* view = ui.find<QPlainTextEdit>("FormMap", "RichEdit1");
    QTest::mouseClick(ui.find<QPushButton>("FormGeodat", "ButtonNeu"), Qt::LeftButton);
    const auto& lines = ui.app().outputWindow().lines();
    const QStringList names = QString::fromStdString(lines[lines.size() - 3]).split('\t');
    const int utci = int(names.indexOf("UTCI")), ta = int(names.indexOf("Ta"));
    const int pet = int(names.indexOf("PET"));
    const int last = view->document()->blockCount() - 1;
    QCOMPARE(view->document()->findBlockByNumber(last).text().split('\t').value(utci), dash);
    QVERIFY(TooltipOfField(view, last, utci).contains("UTCI (Ta"));

    // a data-file row without Ta: Ta and the indices are dashes that name the missing input
    const QString file = ui.path("gap.txt");
    QFile out(file);
    QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Text));
    out.write("1.7.2025 12:00 9999 50 1.0 800\n");
    out.close();
    UiFixture::chooseMenuItem(ui.desktop().mainWindow(), ui.action("Wertedatei1"));
    auto* list = ui.find<QListWidget>("FormWerte", "CheckListBox1");
    for (const char* item : {"Date", "Time", "Air temperature Ta (°C)", "Relative humidity RH (%)",
                             "Wind velocity v (m/s)", "Global radiation G (W/m²)"})
        UiFixture::clickCheckBox(
            list, list->row(list->findItems(QString::fromUtf8(item), Qt::MatchExactly).value(0)));
    ui.dialogAnswers.push_back(file.toStdString());
    QTest::mouseClick(ui.find<QPushButton>("FormWerte", "BitBtn1"), Qt::LeftButton);
    QTest::mouseClick(ui.find<QPushButton>("FormGeodat", "ButtonNeu"), Qt::LeftButton);
    QVERIFY(QString::fromStdString(lines.back()).contains("\t9999.0\t"));  // the model keeps it
    const int row = view->document()->blockCount() - 1;
    QCOMPARE(view->document()->findBlockByNumber(row).text().split('\t').value(ta), dash);
    QVERIFY(TooltipOfField(view, row, ta).startsWith("Ta: no value in the input"));
    QVERIFY2(TooltipOfField(view, row, pet).contains("missing input: Ta"),
             qPrintable(TooltipOfField(view, row, pet)));
}

void MainWindowTest::aCommandFirstAppliesTheFieldBeingTyped() {
    UiFixture ui;
    QLineEdit* ta = ui.edit("EditTa");
    UiFixture::typeOnly(ta, "31");
    // a keyboard press of the button does not move the focus out of the field
    ui.find<QPushButton>("FormGeodat", "ButtonNeu")->click();
    QCOMPARE(ta->text(), QString("31.0"));
    const auto& lines = ui.app().outputWindow().lines();
    QVERIFY(!lines.empty());
    QVERIFY(QString::fromStdString(lines.back()).contains("\t31.0\t"));
}

void MainWindowTest::addAppendsRowsUnderTheSameHeader() {
    UiFixture ui;
    auto* text = ui.find<QPlainTextEdit>("FormMap", "RichEdit1");
    ui.find<QPushButton>("FormGeodat", "ButtonNeu")->click();
    const int before = text->document()->blockCount();
    UiFixture::typeAndLeave(ui.edit("EditZeit"), "15:00");
    ui.find<QPushButton>("FormGeodat", "ButtonHinzu")->click();
    QCOMPARE(text->document()->blockCount(), before + 1);
    QVERIFY(text->document()->lastBlock().text().contains("15:00"));
    QCOMPARE(text->toPlainText().count("place: "), 1);
}

void MainWindowTest::addIsDisabledByTheListedChanges_data() {
    QTest::addColumn<Change>("change");
    QTest::addColumn<bool>("disables");
    auto typed = [](const char* field, const char* text) {
        return Change([=](UiFixture& ui) { UiFixture::typeOnly(ui.edit(field), text); });
    };
    auto left = [](const char* field, const char* text) {
        return Change([=](UiFixture& ui) { UiFixture::typeAndLeave(ui.edit(field), text); });
    };
    auto trigger = [](const char* item) {
        return Change([=](UiFixture& ui) { ui.action(item)->trigger(); });
    };
    auto click = [](const char* box) {
        return Change([=](UiFixture& ui) { ui.find<QCheckBox>("FormGeodat", box)->click(); });
    };
    auto choose = [](const char* combo, int index) {
        return Change([=](UiFixture& ui) {
            auto* c = ui.find<QComboBox>("FormGeodat", combo);
            c->setCurrentIndex(index);
            emit c->activated(index);
        });
    };
    // typing into a location field is enough, before it is left
    QTest::newRow("longitude typed") << typed("EditLg", "8") << true;
    QTest::newRow("time zone typed") << typed("EditZz", "2") << true;
    QTest::newRow("altitude typed") << typed("EditNn", "300") << true;
    QTest::newRow("latitude") << left("EditBr", "50") << true;
    QTest::newRow("height") << left("EditGr", "1.80") << true;
    QTest::newRow("weight") << left("EditGew", "80") << true;
    QTest::newRow("age") << left("EditA", "40") << true;
    QTest::newRow("clothing") << left("EditIcl", "0.5") << true;
    QTest::newRow("activity") << left("EditAct", "120") << true;
    QTest::newRow("sex") << choose("ComboSex", 1) << true;
    QTest::newRow("position") << choose("ComboPos", 1) << true;
    QTest::newRow("location") << choose("ComboOrt", 1) << true;
    QTest::newRow("index box") << click("PetChk") << true;
    QTest::newRow("output mode") << trigger("Jahresgang1") << true;
    QTest::newRow("table item") << trigger("Sunelevationangle1") << true;
    QTest::newRow("detail item") << trigger("PETMEMI1") << true;
    QTest::newRow("language") << trigger("Deutsch1") << true;
    QTest::newRow("output in file")
        << Change([](UiFixture& ui) { ui.find<QCheckBox>("FormWerte", "ChkInDatei")->click(); })
        << true;
    // the meteorological values, date and time and the session option leave it alone
    QTest::newRow("air temperature") << left("EditTa", "30") << false;
    QTest::newRow("wind") << left("EditWG", "2") << false;
    QTest::newRow("date") << left("EditDat", "1.7.2026") << false;
    QTest::newRow("time") << left("EditZeit", "14:00") << false;
    QTest::newRow("session option") << trigger("Saverestoresession1") << false;
}

void MainWindowTest::addIsDisabledByTheListedChanges() {
    QFETCH(Change, change);
    QFETCH(bool, disables);
    UiFixture ui;
    auto* add = ui.find<QPushButton>("FormGeodat", "ButtonHinzu");
    ui.find<QPushButton>("FormGeodat", "ButtonNeu")->click();
    QVERIFY(add->isEnabled());
    change(ui);
    QCOMPARE(add->isEnabled(), !disables);
    QCOMPARE(ui.app().mainWindow().enabled("ButtonHinzu"), !disables);
}

void MainWindowTest::errorsOfACommandBecomeMessages() {
    UiFixture ui;
    // a location without a name cannot be stored
    auto* combo = ui.find<QComboBox>("FormGeodat", "ComboOrt");
    combo->lineEdit()->clear();
    QTest::keyClick(combo->lineEdit(), Qt::Key_Space);
    QTest::keyClick(combo->lineEdit(), Qt::Key_Backspace);
    auto* addPlace = ui.find<QPushButton>("FormGeodat", "ButtonOrtHinzu");
    QVERIFY(addPlace->isEnabled());
    addPlace->click();
    QCOMPARE(ui.messages.size(), std::size_t(1));
    QVERIFY(QString::fromStdString(ui.messages[0]).contains("ComboOrt"));
    // the window goes on working
    ui.find<QPushButton>("FormGeodat", "ButtonNeu")->click();
    QCOMPARE(ui.messages.size(), std::size_t(1));
    QVERIFY(!ui.app().outputWindow().lines().empty());
}

void MainWindowTest::locationChoiceFillsTheCoordinates() {
    UiFixture ui;
    auto* combo = ui.find<QComboBox>("FormGeodat", "ComboOrt");
    QVERIFY(combo->count() > 1);
    const int other = combo->findText("Freiburg") == 0 ? 1 : 0;
    combo->setCurrentIndex(other);
    emit combo->activated(other);
    const MainWindowModel& main = ui.app().mainWindow();
    QCOMPARE(combo->currentText(), QString::fromStdString(main.text("ComboOrt")));
    QCOMPARE(ui.edit("EditLg")->text(), QString::fromStdString(main.text("EditLg")));
    QVERIFY(ui.edit("EditLg")->text() != QString("7°51'"));
    QVERIFY(ui.find<QPushButton>("FormGeodat", "ButtonOrtEntf")->isEnabled());
    // typing a new name offers to store it
    QTest::keyClicks(combo->lineEdit(), "x");
    QVERIFY(ui.find<QPushButton>("FormGeodat", "ButtonOrtHinzu")->isEnabled());
    QVERIFY(!ui.find<QPushButton>("FormGeodat", "ButtonOrtEntf")->isEnabled());
}

void MainWindowTest::removingAStoredLocationAsksFirst() {
    UiFixture ui;
    auto* combo = ui.find<QComboBox>("FormGeodat", "ComboOrt");
    const QString place = combo->currentText();
    const int count = combo->count();
    QPushButton* remove = ui.find<QPushButton>("FormGeodat", "ButtonOrtEntf");
    QString question;
    ui.clickInNextMessageBox(QMessageBox::No, &question);
    QTest::mouseClick(remove, Qt::LeftButton);
    QCOMPARE(question, "Remove the stored location \"" + place + "\"?");
    QCOMPARE(combo->count(), count);
    QFile list(ui.path("locations.lst"));
    QVERIFY(list.open(QIODevice::ReadOnly));
    QVERIFY(list.readAll().contains(place.toUtf8()));
    list.close();

    ui.clickInNextMessageBox(QMessageBox::Yes, &question);
    QTest::mouseClick(remove, Qt::LeftButton);
    QCOMPARE(combo->count(), count - 1);
    QCOMPARE(combo->findText(place), -1);
    QVERIFY(list.open(QIODevice::ReadOnly));
    QVERIFY(!list.readAll().contains(("\t" + place + "\n").toUtf8()));
}

void MainWindowTest::unreadableLocationLinesAreReportedOnceAtStart() {
    QTemporaryDir folder;
    QFile list(folder.path() + "/locations.lst");
    QVERIFY(list.open(QIODevice::WriteOnly));
    list.write("\xEF\xBB\xBF# places\n7.85\t48.00\t1.0\t278\tFreiburg\n13.40\t52.5\n");
    list.close();
    UiFixture ui(false, folder.path());
    QCOMPARE(ui.messages.size(), std::size_t(1));
    QVERIFY2(ui.messages[0].find("locations.lst that cannot be read were skipped:\nline 3: ") !=
                 std::string::npos,
             ui.messages[0].c_str());
    QCOMPARE(ui.find<QComboBox>("FormGeodat", "ComboOrt")->currentText(), QString("Freiburg"));

    // a list with nothing usable says so, once
    QTemporaryDir empty;
    QFile none(empty.path() + "/locations.lst");
    QVERIFY(none.open(QIODevice::WriteOnly));
    none.close();
    UiFixture bare(false, empty.path());
    QCOMPARE(bare.messages.size(), std::size_t(1));
    QVERIFY(bare.messages[0].rfind("No usable location in ", 0) == 0);
    QTest::mouseClick(bare.find<QPushButton>("FormGeodat", "ButtonNeu"), Qt::LeftButton);
    QCOMPARE(bare.messages.size(), std::size_t(1));
}

UI_TEST(MainWindowTest);

}  // namespace umbrix::ui::test

#include "MainWindow_uitest.moc"
