// Both caption sets: the language menu switches every window's captions and the table
// vocabulary, and back; the caption tables name only what exists.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <set>

#include "models/DataFileWindowModel.h"
#include "models/MainWindowModel.h"
#include "models/OutputWindowModel.h"
#include "models/TableWriter.h"
#include "ui/Captions.h"
#include "ui/QtLanguage.h"
#include "ui/UiFixture.h"

namespace umbrix::ui::test {

namespace {

QStringList menuTitles(QMainWindow* window) {
    QStringList titles;
    for (QAction* a : window->menuBar()->actions()) titles << a->text();
    return titles;
}

QString tableText(UiFixture& ui) {
    QStringList lines;
    for (const auto& l : ui.app().outputWindow().lines()) lines << QString::fromStdString(l);
    return lines.join('\n');
}

}  // namespace

class LanguageTest : public QObject {
    Q_OBJECT
  private slots:
    void languageMenuIsEnabledWithEnglishChecked();
    void germanSwitchesCaptionsAndVocabulary();
    void englishRestoresTheModelsCaptions();
    void restoredGermanSessionStartsInGerman();
    void hintsTitlesAndQtsButtonsShowTheLanguage();
    void captionKeysNameExistingControls();
};

void LanguageTest::languageMenuIsEnabledWithEnglishChecked() {
    UiFixture ui;
    QVERIFY(ui.action("English1")->isEnabled());
    QVERIFY(ui.action("Deutsch1")->isEnabled());
    QVERIFY(ui.action("English1")->isChecked());
    QVERIFY(!ui.action("Deutsch1")->isChecked());
    auto* menu = ui.find<QMenu>("FormGeodat", "MenuLanguage");
    QVERIFY(menu->isEnabled());
    QCOMPARE(menuTitles(ui.desktop().mainWindow()),
             QStringList({"&File", "&Input", "&Output", "&Table", "Lan&guage", "&?"}));
}

void LanguageTest::germanSwitchesCaptionsAndVocabulary() {
    UiFixture ui;
    ui.action("Deutsch1")->trigger();
    QVERIFY(ui.action("Deutsch1")->isChecked());
    QVERIFY(!ui.action("English1")->isChecked());
    QCOMPARE(menuTitles(ui.desktop().mainWindow()),
             QStringList({"&Datei", "&Eingabe", "&Ausgabe", "&Tabelle", "&Sprache", "&?"}));
    QCOMPARE(ui.find<QPushButton>("FormGeodat", "ButtonNeu")->text(), QString("&Neu"));
    QCOMPARE(ui.find<QLabel>("FormGeodat", "LabelTa")->text(), QString("Lufttemperatur Ta (°C)"));
    QCOMPARE(ui.find<QLabel>("FormGeodat", "LabelN")->text(), QString("Bewölkung (Achtel)"));
    QCOMPARE(ui.find<QGroupBox>("FormGeodat", "GroupPerson")->title(), QString("Personendaten"));
    QCOMPARE(ui.action("Datum1")->text(), QString("Datum"));
    // item texts are shown in German, while the model keeps the texts it reads
    auto* sex = ui.find<QComboBox>("FormGeodat", "ComboSex");
    QCOMPARE(sex->itemText(1), QString("w"));
    QCOMPARE(ui.app().mainWindow().ctl("ComboSex").items[1], std::string("f"));
    auto* columns = ui.find<QListWidget>("FormWerte", "CheckListBox1");
    QCOMPARE(columns->item(8)->text(), QString("Lufttemperatur Ta (°C)"));
    // the other windows
    QCOMPARE(ui.find<QPushButton>("FormVorgaben", "ApplyBtn")->text(), QString("Übernehmen"));
    QCOMPARE(ui.find<QLabel>("FormMap", "Label2")->text(), QString("Schrittweite (min): "));
    QCOMPARE(ui.desktop().window("AboutBox")->windowTitle(), QString("Über"));

    // the table vocabulary
    ui.find<QPushButton>("FormGeodat", "ButtonNeu")->click();
    const QString table = tableText(ui);
    QVERIFY(table.contains("Standort: \tAthens"));
    QVERIFY(table.contains("Datum     \t"));
    QVERIFY(table.contains("\tHimmelssichtfaktor (Umbrix): \t1.000"));
    QVERIFY(table.contains("\tAchtel\t"));
    QVERIFY(!table.contains("octas"));
    QVERIFY(!table.contains("place: "));
}

void LanguageTest::englishRestoresTheModelsCaptions() {
    UiFixture ui;
    const std::string neu = ui.app().mainWindow().ctl("ButtonNeu").caption;
    const QString title = ui.desktop().window("FormMap")->windowTitle();
    ui.action("Deutsch1")->trigger();
    ui.action("English1")->trigger();
    QCOMPARE(ui.app().mainWindow().ctl("ButtonNeu").caption, neu);
    QCOMPARE(ui.find<QPushButton>("FormGeodat", "ButtonNeu")->text(), QString("&New"));
    QCOMPARE(ui.find<QLabel>("FormGeodat", "LabelTa")->text(), QString("Air temperature Ta (°C)"));
    QCOMPARE(ui.find<QComboBox>("FormGeodat", "ComboSex")->itemText(1), QString("f"));
    QCOMPARE(ui.desktop().window("FormMap")->windowTitle(), title);
    // bilingual hints show their English half again
    QCOMPARE(ui.edit("EditLg")->toolTip(), QString("Longitude, positive east: 7°51' or 7.85"));
    ui.find<QPushButton>("FormGeodat", "ButtonNeu")->click();
    QVERIFY(tableText(ui).contains("place: \tAthens"));
}

void LanguageTest::hintsTitlesAndQtsButtonsShowTheLanguage() {
    UiFixture ui;
    QMainWindow* main = ui.desktop().mainWindow();
    QWidget* dataFile = ui.desktop().window("FormWerte");
    QPushButton* remove = ui.find<QPushButton>("FormGeodat", "ButtonOrtEntf");
    // Qt's Yes and No of the question before a stored location is removed (answered No)
    auto buttonsOfTheQuestion = [&] {
        QString question;
        QStringList buttons;
        ui.clickInNextMessageBox(QMessageBox::No, &question, &buttons);
        QTest::mouseClick(remove, Qt::LeftButton);
        return buttons.join(' ').remove('&');
    };
    QCOMPARE(ui.edit("EditTs")->toolTip(), QString("Empty: computed"));
    QCOMPARE(dataFile->windowTitle(), "Datafile - " + QString(kProgramTitle));
    QCOMPARE(buttonsOfTheQuestion(), QString("Yes No"));

    UiFixture::chooseMenuItem(main, ui.action("Deutsch1"));
    QCOMPARE(ui.edit("EditTs")->toolTip(), QString("Leer: wird berechnet"));
    QCOMPARE(ui.edit("EditG")->toolTip(), QString("Leer: aus der Bewölkung berechnet"));
    QCOMPARE(dataFile->windowTitle(), "Wertedatei - " + QString(kProgramTitle));
    QCOMPARE(ui.desktop().window("FormObs")->windowTitle(), QString("Hindernisobjekte bearbeiten"));
    // the stored texts stay whole; a title that joins two names is not split
    QCOMPARE(ui.app().dataFileWindow().caption,
             "Datafile - Wertedatei - " + std::string(kProgramTitle));
    QCOMPARE(ui.desktop().window("FormMemi")->windowTitle(), QString("PET/MEMI - mPET"));
    QCOMPARE(main->windowTitle(), QString::fromUtf8(kProgramTitle));
    if (QFile::exists(QtLanguage::germanFile()))
        QCOMPARE(buttonsOfTheQuestion(), QString("Ja Nein"));
    else
        qWarning("%s is not installed: Qt's own buttons stay English",
                 qPrintable(QtLanguage::germanFile()));

    UiFixture::chooseMenuItem(main, ui.action("English1"));
    QCOMPARE(ui.edit("EditTs")->toolTip(), QString("Empty: computed"));
    QCOMPARE(dataFile->windowTitle(), "Datafile - " + QString(kProgramTitle));
    QCOMPARE(buttonsOfTheQuestion(), QString("Yes No"));
}

void LanguageTest::restoredGermanSessionStartsInGerman() {
    QTemporaryDir folder;
    {
        UiFixture first(true, folder.path());
        first.action("Deutsch1")->trigger();
        first.desktop().mainWindow()->close();
    }
    UiFixture second(true, folder.path());
    QVERIFY(second.action("Deutsch1")->isChecked());
    QCOMPARE(second.find<QPushButton>("FormGeodat", "ButtonNeu")->text(), QString("&Neu"));
    QCOMPARE(second.app().language(), Language::German);
}

void LanguageTest::captionKeysNameExistingControls() {
    UiFixture ui;
    // what a key may name: a model control, or a named widget or action of that window
    std::set<std::string> known = {"AboutBox", "FormBiblio", "AboutBox.Comments",
                                   "FormBiblio.Intro"};
    for (FormModel* form : ui.app().registry().forms()) {
        for (const auto& c : form->controls()) {
            known.insert(form->name() + "." + c->name);
            for (const auto& item : c->items)
                known.insert(form->name() + "." + c->name + "/" + item);
        }
        if (QWidget* w = ui.desktop().window(form->name()))
            for (QObject* o : w->findChildren<QObject*>())
                if (!o->objectName().isEmpty())
                    known.insert(form->name() + "." + o->objectName().toStdString());
    }
    for (auto table : {EnglishCaptions(), GermanCaptions()})
        for (const CaptionEntry& e : table) QVERIFY2(known.count(e.key), e.key);
    // every German caption of a view-only widget has an English one, so English never shows
    // an object name
    for (const CaptionEntry& e : GermanCaptions()) {
        const std::string key = e.key;
        const auto dot = key.find('.');
        if (dot == std::string::npos || key.find('/') != std::string::npos) continue;
        FormModel* form = ui.app().registry().form(key.substr(0, dot));
        if (form && form->find(key.substr(dot + 1))) continue;
        QVERIFY2(FindCaption(Language::English, key) != nullptr, e.key);
    }
}

UI_TEST(LanguageTest);

}  // namespace umbrix::ui::test

#include "Language_uitest.moc"
