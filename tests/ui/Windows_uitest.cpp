// The windows besides the main one: start-up order and visibility, pre-settings, data file,
// diagram and detail windows, the help items, and a window closed by its close box.
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTextBrowser>
#include <QTextStream>

#include "calc/Geodat.h"
#include "calc/Memi.h"
#include "calc/Vorgaben.h"
#include "diagrams/Sunmap.h"
#include "series/Wertedat.h"
#include "ui/Biblio.h"
#include "ui/UiFixture.h"
#include "ui/Widgets.h"

namespace umbrix::ui::test {

class WindowsTest : public QObject {
    Q_OBJECT
private slots:
    void everyWindowIsCreatedOnceAndOnlyTheMainWindowShows();
    void presettingsOutputDateFormatRewritesTheDateField();
    void datafileItemShowsTheWindowAndItsList();
    void checkListMarksAndDragsReachTheModel();
    void textViewSavesExactlyTheTableLines();
    void detailWindowShowsTheDetailTable();
    void closeBoxHidesAWindowThroughItsModel();
    void helpItemsOpenTheReadmeBibliographyAndAbout();
};

void WindowsTest::everyWindowIsCreatedOnceAndOnlyTheMainWindowShows() {
    UiFixture ui;
    QVERIFY(ui.desktop().mainWindow()->isVisible());
    for (FormModel* form : ui.app().registry().forms()) {
        QWidget* w = ui.desktop().window(form->name());
        QVERIFY2(w, form->name().c_str());
        if (form->name() != "FormGeodat") QVERIFY2(!w->isVisible(), form->name().c_str());
    }
    QVERIFY(ui.desktop().window("AboutBox") && !ui.desktop().window("AboutBox")->isVisible());
    QVERIFY(ui.desktop().window("FormBiblio") &&
            !ui.desktop().window("FormBiblio")->isVisible());
    // one top-level window per model and the two of the shell, none made twice
    int formWindows = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<FormWindow*>(w)) ++formWindows;
    QCOMPARE(formWindows, int(ui.app().registry().forms().size()));
}

void WindowsTest::presettingsOutputDateFormatRewritesTheDateField() {
    UiFixture ui;
    ui.action("Vorgaben1")->trigger();
    QVERIFY(ui.desktop().window("FormVorgaben")->isVisible());
    UiFixture::typeAndLeave(ui.edit("EditODate", "FormVorgaben"), "T.M.JJJJ");
    QCOMPARE(ui.edit("EditODate", "FormVorgaben")->text(), QString("d.M.yyyy"));
    QCOMPARE(ui.edit("EditDat")->text(), QString("21.6.2026"));
    UiFixture::typeAndLeave(ui.edit("EditODate", "FormVorgaben"), "dd/mm/yyyy");
    QCOMPARE(ui.edit("EditDat")->text(), QString("21/06/2026"));
    // "Apply" runs every field's rule at once
    ui.edit("EditTrb", "FormVorgaben")->setText("-2");
    ui.app().vorgaben().ctl("EditTrb").text = "-2";
    ui.find<QPushButton>("FormVorgaben", "ApplyBtn")->click();
    QCOMPARE(ui.edit("EditTrb", "FormVorgaben")->text(), QString("auto"));
}

void WindowsTest::datafileItemShowsTheWindowAndItsList() {
    UiFixture ui;
    ui.action("Wertedatei1")->trigger();
    QVERIFY(ui.desktop().window("FormWerte")->isVisible());
    QVERIFY(ui.action("Wertedatei1")->isChecked());
    auto* list = ui.find<QListWidget>("FormWerte", "CheckListBox1");
    QCOMPARE(list->count(), int(TFormWerte::ColumnItems().size()));
    QCOMPARE(list->item(0)->checkState(), Qt::Unchecked);
    QCOMPARE(ui.edit("EditDatei", "FormWerte")->text(), QString("(none - keine)"));
    QVERIFY(ui.edit("EditDatei", "FormWerte")->isReadOnly());
    ui.find<QPushButton>("FormWerte", "OkBtn")->click();
    QVERIFY(!ui.desktop().window("FormWerte")->isVisible());
}

void WindowsTest::checkListMarksAndDragsReachTheModel() {
    UiFixture ui;
    auto* list = ui.find<CheckListWidget>("FormWerte", "CheckListBox1");
    const Control& model = ui.app().werte().ctl("CheckListBox1");
    list->item(1)->setCheckState(Qt::Checked);  // "Date"
    QVERIFY(model.itemChecked[1]);
    // the Date item dragged onto the fourth item moves there with its check mark
    list->setCurrentRow(1);
    emit list->itemDragged(1, 3);
    QCOMPARE(model.items[3], std::string("Date"));
    QCOMPARE(list->item(3)->text(), QString("Date"));
    QCOMPARE(list->item(3)->checkState(), Qt::Checked);
    QCOMPARE(list->item(1)->checkState(), Qt::Unchecked);
}

void WindowsTest::textViewSavesExactlyTheTableLines() {
    UiFixture ui;
    ui.find<QPushButton>("FormGeodat", "ButtonNeu")->click();
    const QString file = ui.path("table.dat");
    ui.dialogAnswers.push_back(file.toStdString());
    ui.action("SaveAs1", "FormMap")->trigger();
    QVERIFY(ui.messages.empty());
    QFile saved(file);
    QVERIFY(saved.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString content = QString::fromUtf8(saved.readAll());
    QString expected;
    for (const auto& l : ui.app().map().lines()) expected += QString::fromStdString(l) + "\n";
    QCOMPARE(content, expected);
    QCOMPARE(content, ui.find<QPlainTextEdit>("FormMap", "RichEdit1")->toPlainText() + "\n");
}

void WindowsTest::detailWindowShowsTheDetailTable() {
    UiFixture ui;
    ui.action("PETMEMI1")->trigger();
    ui.find<QPushButton>("FormGeodat", "ButtonNeu")->click();
    QWidget* detail = ui.desktop().window("FormMemi");
    QVERIFY(detail->isVisible());
    auto* memo = ui.find<QPlainTextEdit>("FormMemi", "Memo1");
    QCOMPARE(memo->document()->blockCount(), int(ui.app().memi().lines().size()));
    QVERIFY(memo->toPlainText().contains("Tc\tTsk"));
    // without the detail item the next table hides it again
    ui.action("PETMEMI1")->trigger();
    ui.find<QPushButton>("FormGeodat", "ButtonNeu")->click();
    QVERIFY(!detail->isVisible());
}

void WindowsTest::closeBoxHidesAWindowThroughItsModel() {
    UiFixture ui;
    ui.find<QPushButton>("FormGeodat", "ButtonNeu")->click();
    QWidget* map = ui.desktop().window("FormMap");
    QVERIFY(map->isVisible() && ui.app().map().isVisible());
    map->close();
    QVERIFY(!map->isVisible());
    QVERIFY(!ui.app().map().isVisible());
    // the window was only hidden: the next table shows it again with its content
    ui.find<QPushButton>("FormGeodat", "ButtonNeu")->click();
    QVERIFY(map->isVisible());
}

void WindowsTest::helpItemsOpenTheReadmeBibliographyAndAbout() {
    UiFixture ui;
    ui.action("Help1")->trigger();
    QCOMPARE(ui.openedUrls.size(), std::size_t(1));
    QVERIFY(ui.openedUrls[0].isLocalFile());
    QVERIFY(ui.openedUrls[0].toLocalFile().endsWith("README.md"));
    QVERIFY(QFile::exists(ui.openedUrls[0].toLocalFile()));

    ui.action("Bibliography1")->trigger();
    QWidget* biblio = ui.desktop().window("FormBiblio");
    QVERIFY(biblio->isVisible());
    const QString text = ui.find<QTextBrowser>("FormBiblio", "BiblioText")->toPlainText();
    for (const char* source : {"Höppe P (1999)", "Fanger PO (1970)", "Gagge AP, Fobelets AP",
                               "Bröde P", "Jendritzky G, de Dear R", "Staiger H",
                               "Chen Y-C, Matzarakis A (2018)", "Linke F (1922)", "VDI 3787"})
        QVERIFY2(text.contains(QString::fromUtf8(source)), source);
    // one heading per index or model, in the order of the list
    QStringList topics;
    for (const Source& s : Bibliography())
        if (topics.isEmpty() || topics.back() != s.topicEn) topics << s.topicEn;
    QCOMPARE(topics.removeDuplicates(), 0);

    ui.action("About1")->trigger();
    QWidget* about = ui.desktop().window("AboutBox");
    QVERIFY(about->isVisible());
    QVERIFY(ui.find<QLabel>("AboutBox", "ProductName")->text().startsWith("Umbrix"));
}

UI_TEST(WindowsTest);

}  // namespace umbrix::ui::test

#include "Windows_uitest.moc"
