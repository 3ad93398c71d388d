// The windows besides the main one: start-up order and visibility, pre-settings, data file,
// diagram and detail windows, the help items, and a window closed by its close box.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTextBrowser>
#include <QTextStream>
#include <QTimer>
#include <QToolButton>
#include <set>

#include "horizon/Obstacles.h"
#include "models/DataFileWindowModel.h"
#include "models/DetailTableModel.h"
#include "models/MainWindowModel.h"
#include "models/ObstacleEditorModel.h"
#include "models/OutputWindowModel.h"
#include "models/PresettingsModel.h"
#include "platform/Picture.h"
#include "ui/AppIcon.h"
#include "ui/BibliographyWindow.h"
#include "ui/RasterImage.h"
#include "ui/UiFixture.h"
#include "ui/Widgets.h"

namespace umbrix::ui::test {

class WindowsTest : public QObject {
    Q_OBJECT
  private slots:
    void everyWindowIsCreatedOnceAndOnlyTheMainWindowShows();
    void presettingsOutputDateFormatRewritesTheDateField();
    void presettingsCheckBoxesBringBackTheEarlierModels();
    void presettingsEscapeCancelsAndOkKeeps();
    void standardKeysRunNewAndCloseButCtrlXDoesNot();
    void datafileItemShowsTheWindowAndItsList();
    void checkListMarksAndDragsReachTheModel();
    void summerDaysRunFromTheDataFileWindow();
    void textViewSavesExactlyTheTableLines();
    void detailWindowShowsTheDetailTable();
    void closeBoxHidesAWindowThroughItsModel();
    void helpItemsOpenTheReadmeBibliographyAndAbout();
    void polarDiagramShowsTheComposedPicture();
    void timeArrowsRedrawTheSunPosition();
    void printGoesThroughTheHostToPdf();
    void obstacleEditorShowsItsPlanAndRunsItsDialogModally();
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
    QVERIFY(ui.desktop().window("FormBiblio") && !ui.desktop().window("FormBiblio")->isVisible());
    // one window per model, none made twice, the obstacle dialogs among them
    std::set<const FormModel*> shown;
    int formWindows = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* f = qobject_cast<FormWindow*>(w)) {
            ++formWindows;
            shown.insert(&f->model());
        }
    QCOMPARE(int(shown.size()), formWindows);
    QCOMPARE(formWindows, int(ui.app().registry().forms().size()) + 3);
    for (const char* dialog : {"GebForm", "LaubForm", "NadelForm"})
        QVERIFY2(ui.desktop().window(dialog), dialog);
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
    ui.app().presettings().ctl("EditTrb").text = "-2";
    ui.find<QPushButton>("FormVorgaben", "ApplyBtn")->click();
    QCOMPARE(ui.edit("EditTrb", "FormVorgaben")->text(), QString("auto"));
}

void WindowsTest::presettingsEscapeCancelsAndOkKeeps() {
    UiFixture ui;
    QMainWindow* main = ui.desktop().mainWindow();
    QWidget* window = ui.desktop().window("FormVorgaben");
    const PresettingsModel& pre = ui.app().presettings();
    QLineEdit* bowen = ui.edit("EditBowen", "FormVorgaben");
    QCheckBox* now = ui.find<QCheckBox>("FormVorgaben", "ChkNow");

    // typed and left (so taken), then Escape: everything as the window opened
    UiFixture::chooseMenuItem(main, ui.action("Vorgaben1"));
    QVERIFY(window->isVisible());
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    UiFixture::typeAndLeave(bowen, "2.5");
    QCOMPARE(pre.bowen, 2.5f);
    const bool wasNow = now->isChecked();
    QTest::mouseClick(now, Qt::LeftButton, {}, QPoint(8, now->height() / 2));  // its box
    QCOMPARE(now->isChecked(), !wasNow);
    QTest::keyClick(bowen, Qt::Key_Escape);
    QVERIFY(!window->isVisible());
    QCOMPARE(pre.bowen, 1.0f);
    QCOMPARE(bowen->text(), QString("1.00"));
    QCOMPARE(now->isChecked(), wasNow);

    // OK takes what was typed; a refused value keeps the window open
    UiFixture::chooseMenuItem(main, ui.action("Vorgaben1"));
    UiFixture::typeOnly(bowen, "-99");
    QPushButton* ok = ui.find<QPushButton>("FormVorgaben", "OKBtn");
    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(window->isVisible());
    QCOMPARE(int(ui.messages.size()), 1);
    UiFixture::typeOnly(bowen, "0.8");
    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(!window->isVisible());
    QCOMPARE(pre.bowen, 0.8f);
    // Cancel keeps what OK took
    UiFixture::chooseMenuItem(main, ui.action("Vorgaben1"));
    UiFixture::typeOnly(bowen, "3");
    QTest::mouseClick(ui.find<QPushButton>("FormVorgaben", "CancelBtn"), Qt::LeftButton);
    QCOMPARE(pre.bowen, 0.8f);
    QCOMPARE(bowen->text(), QString("0.80"));
}

void WindowsTest::standardKeysRunNewAndCloseButCtrlXDoesNot() {
    UiFixture ui;
    QWidget* output = ui.desktop().window("FormMap");
    QVERIFY(!output->isVisible());
    // Ctrl+N while typing in a field: the field is taken, then "New" runs
    QMainWindow* main = ui.desktop().mainWindow();
    main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(main));
    UiFixture::typeOnly(ui.edit("EditTa"), "25");
    QTest::keySequence(ui.edit("EditTa"), QKeySequence(QKeySequence::New));
    QVERIFY(output->isVisible());
    QCOMPARE(ui.edit("EditTa")->text(), QString("25.0"));
    // Ctrl+X is Cut: the output window stays; Ctrl+W closes it
    QWidget* text = ui.find<QWidget>("FormMap", "RichEdit1");
    output->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(output));
    QTest::keyClick(text, Qt::Key_X, Qt::ControlModifier);
    QVERIFY(output->isVisible());
    QTest::keySequence(text, QKeySequence(QKeySequence::Close));
    QVERIFY(!output->isVisible());
}

void WindowsTest::presettingsCheckBoxesBringBackTheEarlierModels() {
    UiFixture ui;
    ui.action("Vorgaben1")->trigger();
    auto* tmrt = ui.find<QCheckBox>("FormVorgaben", "TmrtHorizontalChk");
    auto* set = ui.find<QCheckBox>("FormVorgaben", "SetSedentaryChk");
    QVERIFY(tmrt && set);
    QVERIFY(tmrt->isVisible() && set->isVisible());
    QCOMPARE(tmrt->text(), QString("Tmrt from horizontal direct radiation (earlier versions)"));
    QCOMPARE(set->text(),
             QString("SET* with the sedentary standard environment (earlier versions)"));
    QVERIFY(!tmrt->isChecked() && !set->isChecked());
    // a winter noon: the earlier Tmrt is far lower
    UiFixture::typeAndLeave(ui.edit("EditDat"), "21.12.2026");
    UiFixture::typeAndLeave(ui.edit("EditZeit"), "12:30");
    auto* newButton = ui.find<QPushButton>("FormGeodat", "ButtonNeu");
    QTest::mouseClick(newButton, Qt::LeftButton);
    const std::string row = ui.app().outputWindow().lines().back();
    QTest::mouseClick(tmrt, Qt::LeftButton);
    QTest::mouseClick(set, Qt::LeftButton);
    QVERIFY(ui.app().presettings().tmrtFromHorizontalDirect());
    QVERIFY(ui.app().presettings().setStarSedentary());
    QTest::mouseClick(newButton, Qt::LeftButton);
    QVERIFY(ui.app().outputWindow().lines().back() != row);
    QVERIFY(ui.messages.empty());
}

void WindowsTest::datafileItemShowsTheWindowAndItsList() {
    UiFixture ui;
    UiFixture::chooseMenuItem(ui.desktop().mainWindow(), ui.action("Wertedatei1"));
    QVERIFY(ui.desktop().window("FormWerte")->isVisible());
    QVERIFY(ui.action("Wertedatei1")->isChecked());
    auto* list = ui.find<QListWidget>("FormWerte", "CheckListBox1");
    QCOMPARE(list->count(), int(DataFileWindowModel::ColumnItems().size()));
    // every row draws its (empty) check box
    for (int i = 0; i < list->count(); ++i)
        QCOMPARE(list->item(i)->data(Qt::CheckStateRole), QVariant(int(Qt::Unchecked)));
    QCOMPARE(ui.edit("EditDatei", "FormWerte")->text(), QString("(none - keine)"));
    QVERIFY(ui.edit("EditDatei", "FormWerte")->isReadOnly());
    // closed without a file: "Datafile" is dropped and "&New" computes the main window's values
    QTest::mouseClick(ui.find<QPushButton>("FormWerte", "OkBtn"), Qt::LeftButton);
    QVERIFY(!ui.desktop().window("FormWerte")->isVisible());
    QVERIFY(!ui.action("Wertedatei1")->isChecked());
    QTest::mouseClick(ui.find<QPushButton>("FormGeodat", "ButtonNeu"), Qt::LeftButton);
    QVERIFY(ui.messages.empty());
    QVERIFY(QString::fromStdString(ui.app().outputWindow().lines().back())
                .startsWith(ui.edit("EditDat")->text()));
}

void WindowsTest::checkListMarksAndDragsReachTheModel() {
    UiFixture ui;
    UiFixture::chooseMenuItem(ui.desktop().mainWindow(), ui.action("Wertedatei1"));
    auto* list = ui.find<CheckListWidget>("FormWerte", "CheckListBox1");
    const Control& model = ui.app().dataFileWindow().ctl("CheckListBox1");
    UiFixture::clickCheckBox(list, 1);  // "Date"
    QVERIFY(model.itemChecked[1]);
    QCOMPARE(list->item(1)->checkState(), Qt::Checked);
    // a click on the text only selects; Space toggles the selected row
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(3)).center());
    QVERIFY(!model.itemChecked[3]);
    QTest::keyClick(list, Qt::Key_Space);
    QVERIFY(model.itemChecked[3]);
    QTest::keyClick(list, Qt::Key_Space);
    QVERIFY(!model.itemChecked[3]);
    // the Date item dragged onto the fourth item moves there with its check mark
    list->setCurrentRow(1);
    emit list->itemDragged(1, 3);
    QCOMPARE(model.items[3], std::string("Date"));
    QCOMPARE(list->item(3)->text(), QString("Date"));
    QCOMPARE(list->item(3)->checkState(), Qt::Checked);
    QCOMPARE(list->item(1)->checkState(), Qt::Unchecked);
}

void WindowsTest::summerDaysRunFromTheDataFileWindow() {
    UiFixture ui;
    const QString example = QString(UMBRIX_SOURCE_DIR) + "/examples/summer_days.txt";
    UiFixture::chooseMenuItem(ui.desktop().mainWindow(), ui.action("Wertedatei1"));
    // the file dialog starts in the working folder
    const QString before = QDir::currentPath();
    QDir::setCurrent(QString(UMBRIX_SOURCE_DIR) + "/examples");
    ui.typeInNextFileDialog("summer_days.txt");
    QTest::mouseClick(ui.find<QPushButton>("FormWerte", "BitBtn1"), Qt::LeftButton);
    QDir::setCurrent(before);
    QCOMPARE(ui.edit("EditDatei", "FormWerte")->text(), QString("summer_days.txt"));
    auto* skip = ui.find<QCheckBox>("FormWerte", "ChkUeberschriften");
    QTest::mouseClick(skip, Qt::LeftButton, {}, QPoint(8, skip->height() / 2));  // its box
    auto* list = ui.find<QListWidget>("FormWerte", "CheckListBox1");
    auto row = [list](const char* item) {
        return list->row(list->findItems(QString::fromUtf8(item), Qt::MatchExactly).value(0));
    };
    // two by their check boxes, the rest by selecting the row and pressing Space
    for (const char* item : {"Date", "Time"}) UiFixture::clickCheckBox(list, row(item));
    for (const char* item : {"Air temperature Ta (°C)", "Relative humidity RH (%)",
                             "Wind velocity v (m/s)", "Global radiation G (W/m²)"}) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row(item))).center());
        QTest::keyClick(list, Qt::Key_Space);
    }
    QTest::mouseClick(ui.find<QPushButton>("FormWerte", "OkBtn"), Qt::LeftButton);
    QVERIFY(!ui.desktop().window("FormWerte")->isVisible());
    QVERIFY(ui.action("Wertedatei1")->isChecked());
    QTest::mouseClick(ui.find<QPushButton>("FormGeodat", "ButtonNeu"), Qt::LeftButton);
    QVERIFY2(ui.messages.empty(), ui.messages.empty() ? "" : ui.messages.front().c_str());

    // a header of five lines, then one row per record of the file
    QFile file(example);
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList records = QString::fromUtf8(file.readAll()).trimmed().split('\n');
    const auto& lines = ui.app().outputWindow().lines();
    QCOMPARE(int(lines.size()), 5 + int(records.size()) - 1);
    // 1 July, 12:00: date, day of year, time, and the file's Ta in the Ta column
    const QStringList noon = QString::fromStdString(lines[17]).split('\t');
    QCOMPARE(noon.mid(0, 3), QStringList({"1.7.2025 ", "182", "12:00"}));
    const int ta = QString::fromStdString(lines[3]).split('\t').indexOf("Ta");
    QVERIFY(ta > 0);
    QCOMPARE(noon.value(ta), records[13].split('\t').value(2));
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
    for (const auto& l : ui.app().outputWindow().lines())
        expected += QString::fromStdString(l) + "\n";
    QCOMPARE(content, expected);
    // the view shows the same table, with a dash where the file holds the missing value
    QString shown = content;
    shown.replace("\t9999.0\t", QString::fromUtf8("\t\u2013\t"));
    QCOMPARE(shown.split('\n'),
             (ui.find<QPlainTextEdit>("FormMap", "RichEdit1")->toPlainText() + "\n").split('\n'));
}

void WindowsTest::detailWindowShowsTheDetailTable() {
    UiFixture ui;
    ui.action("PETMEMI1")->trigger();
    ui.find<QPushButton>("FormGeodat", "ButtonNeu")->click();
    QWidget* detail = ui.desktop().window("FormMemi");
    QVERIFY(detail->isVisible());
    auto* memo = ui.find<QPlainTextEdit>("FormMemi", "Memo1");
    QCOMPARE(memo->document()->blockCount(), int(ui.app().detailTable().lines().size()));
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
    QVERIFY(map->isVisible() && ui.app().outputWindow().isVisible());
    map->close();
    QVERIFY(!map->isVisible());
    QVERIFY(!ui.app().outputWindow().isVisible());
    // the window was only hidden: the next table shows it again with its content
    ui.find<QPushButton>("FormGeodat", "ButtonNeu")->click();
    QVERIFY(map->isVisible());
}

void WindowsTest::helpItemsOpenTheReadmeBibliographyAndAbout() {
    UiFixture ui;
    ui.action("Help1")->trigger();
    QCOMPARE(ui.openedUrls.size(), std::size_t(1));
    QVERIFY(ui.openedUrls[0].isLocalFile());
    QVERIFY(ui.openedUrls[0].toLocalFile().endsWith("manual.html"));
    QFile manual(ui.openedUrls[0].toLocalFile());
    QVERIFY(manual.open(QIODevice::ReadOnly));
    const QByteArray html = manual.readAll();
    QVERIFY(html.contains("<h2>Project files</h2>") && html.contains("<title>"));

    // the icon: the sun on the left, the building on the right
    const QImage icon = ApplicationIcon().pixmap(64, 64).toImage();
    QVERIFY(!icon.isNull());
    QCOMPARE(QColor(icon.pixel(18, 30)).name(), QString("#ffd23c"));
    QCOMPARE(QColor(icon.pixel(40, 45)).name(), QString("#4a5566"));

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

void WindowsTest::polarDiagramShowsTheComposedPicture() {
    UiFixture ui;
    ui.action("Polar1")->trigger();
    ui.find<QPushButton>("FormGeodat", "ButtonNeu")->click();
    QVERIFY(ui.messages.empty());
    QWidget* map = ui.desktop().window("FormMap");
    QVERIFY(map->isVisible());
    QVERIFY(ui.find<QScrollArea>("FormMap", "ImageSun")->isVisible());
    QVERIFY(!ui.find<QPlainTextEdit>("FormMap", "RichEdit1")->isVisible());
    auto* view = ui.find<PictureView>("FormMap", "ImageSunPicture");
    const Picture& shown = ui.app().outputWindow().image();
    // Qt draws the composed picture, the same drawing the bitmap files get
    QVERIFY(view->vectorPicture());
    QCOMPARE(view->sizeHint(), QSize(shown.width(), shown.height()));
    QCOMPARE(ToQImage(view->vectorPicture()->rasterize()), ToQImage(shown.rasterize()));
    // the window stays on the screen clear of the main window's commands, as large as that
    // leaves room for; the picture scales into it
    const QRect available = map->screen()->availableGeometry();
    QVERIFY(available.contains(map->frameGeometry()));
    QVERIFY(map->width() >= std::min(shown.width(), available.width()));
    // the time controls belong to the diagram modes
    QVERIFY(ui.edit("EditTime", "FormMap")->isEnabled());
}

void WindowsTest::timeArrowsRedrawTheSunPosition() {
    UiFixture ui;
    ui.action("Polar1")->trigger();
    UiFixture::typeAndLeave(ui.edit("EditZeit"), "12:00");
    ui.find<QPushButton>("FormGeodat", "ButtonNeu")->click();
    QCOMPARE(ui.edit("EditTime", "FormMap")->text(), QString("12:00"));
    auto* view = ui.find<PictureView>("FormMap", "ImageSunPicture");
    const QImage noon = ToQImage(view->vectorPicture()->rasterize());
    auto* upDown = ui.find<UpDownWidget>("FormMap", "UpDown1");
    emit upDown->stepped(+1);
    QCOMPARE(ui.app().outputWindow().timeMinutes(), 750);
    QCOMPARE(ui.edit("EditTime", "FormMap")->text(), QString("12:30"));
    QVERIFY(ToQImage(view->vectorPicture()->rasterize()) != noon);  // the sun moved
    emit upDown->stepped(-1);
    QCOMPARE(ui.edit("EditTime", "FormMap")->text(), QString("12:00"));
}

void WindowsTest::printGoesThroughTheHostToPdf() {
    UiFixture ui;
    QStringList printed;
    int jobs = 0;
    ui.host().printerSetup = [&](QPrinter& printer) {
        const QString file = ui.path(QString("print%1.pdf").arg(++jobs));
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        printed << QString("%1 %2").arg(file).arg(
            printer.pageLayout().orientation() == QPageLayout::Landscape ? "landscape"
                                                                         : "portrait");
        return true;
    };
    ui.find<QPushButton>("FormGeodat", "ButtonNeu")->click();  // the table
    ui.find<QToolButton>("FormMap", "PrintBtn")->click();
    ui.action("Polar1")->trigger();
    ui.find<QPushButton>("FormGeodat", "ButtonNeu")->click();  // the sun path diagram
    ui.action("Print1", "FormMap")->trigger();
    QCOMPARE(printed.size(), 2);
    QVERIFY(printed[0].endsWith("landscape"));
    QVERIFY(printed[1].endsWith("portrait"));
    for (int i = 1; i <= 2; ++i) {
        QFile pdf(ui.path(QString("print%1.pdf").arg(i)));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.read(5) == "%PDF-");
        QVERIFY(pdf.size() > 1000);
    }
    // a cancelled dialog prints nothing and says nothing
    ui.host().printerSetup = [](QPrinter&) { return false; };
    ui.action("Print1", "FormMap")->trigger();
    QVERIFY(ui.messages.empty());
    QVERIFY(!QFile::exists(ui.path("print3.pdf")));
}

void WindowsTest::obstacleEditorShowsItsPlanAndRunsItsDialogModally() {
    UiFixture ui;
    ui.action("Hindernisobjekte1")->trigger();
    QWidget* editor = ui.desktop().window("FormObs");
    QVERIFY(editor->isVisible());
    auto* plan = ui.find<PictureView>("FormObs", "ObsImg");
    QCOMPARE(plan->image().size(),
             QSize(ObstacleEditorModel::kPlanSize, ObstacleEditorModel::kPlanSize));
    ObstacleEditorModel& obs = ui.app().obstacleEditor();
    Obstacle building;
    building.kind = ObstacleKind::Building;
    for (int k = 1; k <= 24; ++k) building.value(k) = float(k % 3 == 0 ? 10 : (k % 2) * 5);
    ui.desktop().act(
        obs, [&] { obs.appendObstacle(building); }, false);
    // "Edit" shows the building dialog modally; the user changes a corner and confirms
    QString shownField;
    QTimer::singleShot(50, [&] {
        QWidget* dialog = ui.desktop().window("GebForm");
        if (!dialog || !dialog->isVisible()) return;
        auto* x1 = dialog->findChild<QLineEdit*>("EditX1");
        shownField = x1->text();
        UiFixture::typeAndLeave(x1, "2.5");
        dialog->findChild<QPushButton*>("OKBtn")->click();
    });
    ui.find<QPushButton>("FormObs", "EditObsBtn")->click();
    QVERIFY(!ui.desktop().window("GebForm")->isVisible());
    QCOMPARE(shownField, QString("5.00"));
    QCOMPARE(obs.obstacles()[0].value(1), 2.5f);
    QVERIFY(ui.messages.empty());
}

UI_TEST(WindowsTest);

}  // namespace umbrix::ui::test

#include "Windows_uitest.moc"
