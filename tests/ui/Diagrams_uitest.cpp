// The diagrams as Qt draws them: the sun path diagram opened from the main window, copied with
// the Edit menu and Ctrl+C, saved as PNG through its dialogs typed by keys, printed to a PDF that
// keeps vectors; the shadow diagram with its scale and time in both languages; Ctrl+C in the
// table still copies its text.
// (UMBRIX_UI_SHOTS=folder keeps pictures of the windows.)
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>

#include "platform/Picture.h"
#include "ui/PicturePainter.h"
#include "ui/UiFixture.h"
#include "ui/Widgets.h"

namespace umbrix::ui::test {

class DiagramsTest : public QObject {
    Q_OBJECT
  private slots:
    void sunPathIsCopiedAndSavedAsPngAsShown();
    void printedDiagramKeepsVectorsAndText();
    void shadowDiagramShowsItsScaleAndTimeAndTheLayersTheirLegend();
    void qtDrawingLiesWhereTheBitmapDrawingDoes();
    void ctrlCInTheTableCopiesItsText();
};

namespace {

void Shot(QWidget* window, const char* name) {
    if (qEnvironmentVariableIsSet("UMBRIX_UI_SHOTS"))
        window->grab().save(qEnvironmentVariable("UMBRIX_UI_SHOTS") + "/" + name);
}

QMainWindow* Window(UiFixture& ui, const char* name) {
    return qobject_cast<QMainWindow*>(ui.desktop().window(name));
}

// The sun path diagram as a user asks for it: "Polar" from the menu, then "&New".
PictureView* OpenSunPath(UiFixture& ui) {
    UiFixture::chooseMenuItem(Window(ui, "FormGeodat"), ui.action("Polar1"));
    QTest::mouseClick(ui.find<QPushButton>("FormGeodat", "ButtonNeu"), Qt::LeftButton);
    return ui.find<PictureView>("FormMap", "ImageSunPicture");
}

struct Tones {
    int red = 0;    // the sun path's red, pure or blended into the white by antialiasing
    int mixed = 0;  // neither white, black nor a pure drawing colour: antialiased edges
};

Tones CountTones(const QImage& image) {
    Tones t;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 180 && c.red() - c.green() > 80 && c.red() - c.blue() > 80) ++t.red;
            const int grey = c.red();
            if (c.green() == grey && c.blue() == grey && grey > 0 && grey < 255 && grey != 128 &&
                grey != 192)
                ++t.mixed;
        }
    return t;
}

// The next size dialog gets `width` typed into its width field and Enter; the file dialog
// after it gets `name` typed into its name field and its Save button clicked.
void TypeInNextPngDialogs(UiFixture& ui, QObject* owner, const QString& width, const QString& name,
                          int* proposed) {
    // the real file dialog rather than the fixture's answers
    auto hook = std::move(ui.host().fileDialogHook);
    ui.host().fileDialogHook = nullptr;
    auto* timer = new QTimer(owner);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [&ui, hook, timer, width, name, proposed] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) return;
        if (auto* files = qobject_cast<QFileDialog*>(modal)) {
            timer->stop();
            timer->deleteLater();
            ui.host().fileDialogHook = hook;
            auto* edit = files->findChild<QLineEdit*>("fileNameEdit");
            auto* buttons = files->findChild<QDialogButtonBox*>("buttonBox");
            QAbstractButton* save = buttons ? buttons->button(QDialogButtonBox::Save) : nullptr;
            if (!edit || !save) return files->reject();
            QTest::keyClicks(edit, name);
            QTest::mouseClick(save, Qt::LeftButton);
        } else if (modal->objectName() == "PngDialog" && !modal->property("typed").toBool()) {
            modal->setProperty("typed", true);
            auto* field = modal->findChild<QSpinBox*>("PngWidth");
            if (!field) return;
            *proposed = field->value();
            QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(field, width);
            QTest::keyClick(field, Qt::Key_Return);
        }
    });
    timer->start();
}

}  // namespace

void DiagramsTest::sunPathIsCopiedAndSavedAsPngAsShown() {
    UiFixture ui;
    PictureView* view = OpenSunPath(ui);
    QMainWindow* window = Window(ui, "FormMap");
    QVERIFY(window->isVisible() && view->vectorPicture());
    const int w = view->vectorPicture()->width(), h = view->vectorPicture()->height();

    QApplication::clipboard()->clear();
    UiFixture::chooseMenuItem(window, ui.action("Copy1", "FormMap"));
    const QImage copied = QApplication::clipboard()->image();
    // the picture as shown: filling the view's width or height in its own proportions
    QVERIFY(!copied.isNull());
    // in device pixels: sharp on a screen scaled to 200 %
    const QSize device = view->size() * view->devicePixelRatioF();
    QVERIFY(copied.width() == device.width() || copied.height() == device.height());
    QVERIFY(std::abs(copied.height() - double(copied.width()) * h / w) <= 1);
    const Tones tones = CountTones(copied);
    QVERIFY(tones.red > 50);     // the day's path
    QVERIFY(tones.mixed > 500);  // smooth edges, which the bitmap drawing never has
    Shot(window, "sun_path_en.png");

    // a larger window shows a larger diagram, and Ctrl+C copies that
    window->resize(window->width() + 300, window->height() + 300);
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QApplication::clipboard()->clear();
    QTest::keyClick(window, Qt::Key_C, Qt::ControlModifier);
    const QImage larger = QApplication::clipboard()->image();
    QVERIFY(larger.width() > copied.width() && larger.height() > copied.height());
    QVERIFY(std::abs(larger.height() - double(larger.width()) * h / w) <= 1);

    // "Save as PNG...": a typed width, the height in proportion, the name typed in the dialog
    // the file dialog starts in the working folder
    const QString before = QDir::currentPath();
    QDir::setCurrent(ui.folder());
    int proposed = 0;
    TypeInNextPngDialogs(ui, window, "800", "sun.png", &proposed);
    UiFixture::chooseMenuItem(window, ui.action("SavePng1", "FormMap"));
    QDir::setCurrent(before);
    QImage saved(ui.path("sun.png"));
    QVERIFY(ui.messages.empty());
    QCOMPARE(saved.size(), QSize(800, int(std::lround(800.0 * h / w))));
    // proposed at twice the size shown in the window
    QCOMPARE(proposed, int(std::lround(2 * larger.width() / view->devicePixelRatioF())));
    QVERIFY(CountTones(saved).red > 50);
}

void DiagramsTest::printedDiagramKeepsVectorsAndText() {
    UiFixture ui;
    ui.host().printerSetup = [&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(ui.path("sun.pdf"));
        return true;
    };
    OpenSunPath(ui);
    UiFixture::chooseMenuItem(Window(ui, "FormMap"), ui.action("Print1", "FormMap"));
    if (qEnvironmentVariableIsSet("UMBRIX_UI_SHOTS"))
        QFile::copy(ui.path("sun.pdf"), qEnvironmentVariable("UMBRIX_UI_SHOTS") + "/sun.pdf");
    QFile pdf(ui.path("sun.pdf"));
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QByteArray content = pdf.readAll();
    // lines and text, no picture of the page: a raster of the page needs an image object
    QVERIFY(!content.contains("/Subtype /Image"));
    QVERIFY(content.contains("/FontFile"));
    // the labels can be found again as text (the font carries their characters' codes)
    QVERIFY(content.contains("/ToUnicode"));
    // a page raster took about 900 kB; the vectors of one day's path take a few tens of kB
    QVERIFY2(content.size() < 300000, qPrintable(QString::number(content.size())));
}

void DiagramsTest::shadowDiagramShowsItsScaleAndTimeAndTheLayersTheirLegend() {
    UiFixture ui;
    UiFixture::chooseMenuItem(Window(ui, "FormGeodat"), ui.action("Hindernisobjekte1"));
    ui.dialogAnswers.push_back(std::string(UMBRIX_SOURCE_DIR) + "/examples/courtyard.obs");
    QTest::mouseClick(ui.find<QAbstractButton>("FormObs", "BitBtn2"), Qt::LeftButton);
    QTest::mouseClick(ui.find<QPushButton>("FormObs", "CloseBtn"), Qt::LeftButton);
    UiFixture::typeAndLeave(ui.edit("EditDat"), "21.6.2026");
    UiFixture::typeAndLeave(ui.edit("EditZeit"), "10:00");
    UiFixture::chooseMenuItem(Window(ui, "FormGeodat"), ui.action("Schattenwurf1"));
    QTest::mouseClick(ui.find<QPushButton>("FormGeodat", "ButtonNeu"), Qt::LeftButton);
    QVERIFY(ui.messages.empty());
    PictureView* view = ui.find<PictureView>("FormMap", "ImageSunPicture");
    QVERIFY(view->vectorPicture());

    // the texts drawn over the diagram, in the order drawn
    auto texts = [view] {
        QStringList found;
        std::function<void(const Picture&)> walk = [&](const Picture& p) {
            for (const PictureOp& op : p.operations()) {
                if (auto* t = std::get_if<draw::Text>(&op))
                    found << QString::fromStdString(t->text);
                if (auto* d = std::get_if<draw::DrawPicture>(&op)) walk(*d->picture);
            }
        };
        walk(*view->vectorPicture());
        return found;
    };
    QVERIFY2(texts().contains("100 m"), qPrintable(texts().join("|")));
    QVERIFY2(texts().contains("21.6.2026  10:00 local time"), qPrintable(texts().join("|")));
    Shot(Window(ui, "FormMap"), "shadows_en.png");

    // zoomed in, the bar stands for less; the arrows' next time shows at once, in German too
    QTest::mouseClick(ui.find<QAbstractButton>("FormMap", "ZoomInBtn"), Qt::LeftButton);
    QVERIFY2(texts().contains("50 m"), qPrintable(texts().join("|")));
    UiFixture::chooseMenuItem(Window(ui, "FormGeodat"), ui.action("Deutsch1"));
    auto* arrows = ui.find<UpDownWidget>("FormMap", "UpDown1");
    QTest::mouseClick(arrows->findChildren<QToolButton*>().front(), Qt::LeftButton);
    QVERIFY2(texts().filter("10:30 Ortszeit").size() == 1, qPrintable(texts().join("|")));
    Shot(Window(ui, "FormMap"), "shadows_de.png");

    // the sun path diagram over the obstacles' horizon names their colours
    UiFixture::chooseMenuItem(Window(ui, "FormGeodat"), ui.action("Polar1"));
    QTest::mouseClick(ui.find<QPushButton>("FormGeodat", "ButtonNeu"), Qt::LeftButton);
    QVERIFY2(texts().contains(QString::fromUtf8("Geb\u00e4ude, St\u00e4mme")) &&
                 texts().contains("Baumkronen"),
             qPrintable(texts().join("|")));
    Shot(Window(ui, "FormMap"), "sun_path_layers_de.png");
}

void DiagramsTest::qtDrawingLiesWhereTheBitmapDrawingDoes() {
    // lines, shapes and a nested picture scaled down tenfold with a wide and a thin pen
    Picture inner(1000, 1000);
    inner.setPen({kBlack, 15, PenStyle::Solid});
    inner.moveTo({100, 100});
    inner.lineTo({900, 300});
    inner.setPen({kBlack, 1, PenStyle::Solid});
    inner.moveTo({100, 600});
    inner.lineTo({900, 900});
    Picture p(200, 150);
    p.setBrush({kWhite, BrushStyle::Clear});
    p.moveTo({10, 10});
    p.lineTo({190, 10});
    p.lineTo({120, 140});
    p.rectangle({20, 30, 80, 70});
    p.ellipse({100, 40, 180, 120});
    p.polygon({{30, 100}, {70, 90}, {60, 140}});
    p.drawPicture({90, 20, 190, 120}, inner);

    const Raster bitmap = p.rasterize();
    const QImage smooth = RenderPicture(p, QSize(200, 150));
    QCOMPARE(smooth.size(), QSize(200, 150));
    auto near = [](int x, int y, auto&& test) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (test(x + dx, y + dy)) return true;
        return false;
    };
    auto dark = [&](int x, int y, int below) {
        return smooth.rect().contains(x, y) && qGray(smooth.pixel(x, y)) < below;
    };
    int drawn = 0, missed = 0, strays = 0;
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 200; ++x) {
            if (bitmap.pixel(x, y) != kWhite) {
                ++drawn;
                if (!near(x, y, [&](int a, int b) { return dark(a, b, 235); })) ++missed;
            }
            if (dark(x, y, 160) &&
                !near(x, y, [&](int a, int b) { return bitmap.pixel(a, b) != kWhite; })) {
                ++strays;
            }
        }
    QVERIFY(drawn > 500);
    QVERIFY2(missed == 0, qPrintable(QString::number(missed)));
    QVERIFY2(strays == 0, qPrintable(QString::number(strays)));
    // twice the size: the same drawing, lines still there
    const QImage twice = RenderPicture(p, QSize(400, 300));
    QVERIFY(qGray(twice.pixel(200, 20)) < 160);  // the top line at y = 10
}

void DiagramsTest::ctrlCInTheTableCopiesItsText() {
    UiFixture ui;
    QTest::mouseClick(ui.find<QPushButton>("FormGeodat", "ButtonNeu"), Qt::LeftButton);
    auto* table = ui.find<QPlainTextEdit>("FormMap", "RichEdit1");
    QWidget* window = ui.desktop().window("FormMap");
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
    QApplication::clipboard()->clear();
    QTest::keyClick(table, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
    QVERIFY(QApplication::clipboard()->text().contains("Ta"));
    QVERIFY(QApplication::clipboard()->image().isNull());
}

UI_TEST(DiagramsTest);

}  // namespace umbrix::ui::test

#include "Diagrams_uitest.moc"
