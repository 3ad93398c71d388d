#include "ui/DiagramExport.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QSpinBox>
#include <QWindow>
#include <cmath>

#include "models/Application.h"
#include "models/ComponentNames.h"
#include "platform/Error.h"
#include "platform/Host.h"
#include "ui/Desktop.h"
#include "ui/OutputTable.h"
#include "ui/PicturePainter.h"
#include "ui/QtHost.h"
#include "ui/Widgets.h"

namespace umbrix::ui {

namespace {

// Large enough for a poster, small enough that the image (4 bytes a pixel) stays in memory.
constexpr int kMaxPngSide = 12000;

// The width and height of the PNG picture, proposed at twice the size shown (in the window's
// own pixels, whatever the screen's scaling), the height following the width in the picture's
// proportions; nothing when cancelled.
std::optional<QSize> ChoosePngSize(QWidget* parent, Language language, QSize initial,
                                   double aspect) {
    QDialog dialog(parent);
    dialog.setObjectName("PngDialog");
    // a dialog of the view alone, shown only for a moment: its texts stay here
    const bool german = language == Language::German;
    dialog.setWindowTitle(german ? "Als PNG speichern" : "Save as PNG");
    auto* form = new QFormLayout(&dialog);
    auto spin = [&](const char* name, int value) {
        auto* box = new QSpinBox(&dialog);
        box->setObjectName(name);
        box->setRange(1, kMaxPngSide);
        box->setValue(value);
        return box;
    };
    QSpinBox* width = spin(output_window::PngWidth, initial.width());
    QSpinBox* height = spin(output_window::PngHeight, initial.height());
    QObject::connect(width, &QSpinBox::valueChanged, height, [height, aspect](int w) {
        const QSignalBlocker block(height);
        height->setValue(std::max(1, int(std::lround(w * aspect))));
    });
    QObject::connect(height, &QSpinBox::valueChanged, width, [width, aspect](int h) {
        const QSignalBlocker block(width);
        width->setValue(std::max(1, int(std::lround(h / aspect))));
    });
    form->addRow(german ? "Breite (Pixel):" : "Width (pixels):", width);
    form->addRow(german ? QString::fromUtf8("H\u00f6he (Pixel):") : "Height (pixels):", height);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    width->setFocus();
    width->selectAll();
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return QSize(width->value(), height->value());
}

void SavePng(QMainWindow& window, Desktop& desktop, const PictureView& view) {
    QtHost& host = desktop.host();
    try {
        if (!view.vectorPicture() && view.image().isNull())
            throw UmbrixError("there is no diagram to save yet: run \"&New\" in a diagram mode");
        const double aspect =
            view.vectorPicture()
                ? double(view.vectorPicture()->height()) / view.vectorPicture()->width()
                : double(view.image().height()) / view.image().width();
        const std::optional<QSize> size =
            ChoosePngSize(&window, desktop.app().language(),
                          ShownPixels(view) * 2 / view.devicePixelRatioF(), aspect);
        if (!size) return;
        FileDialogOptions o;
        o.title = "Save as PNG";
        o.defaultExt = "png";
        o.filter = "PNG pictures|*.png";
        const std::optional<std::string> path = host.saveFileDialog(o);
        if (!path) return;
        desktop.app().checkOutputFile(*path);
        const QImage image = ViewPicture(view, *size);
        // written whole or not at all: an existing file is replaced only by a complete picture
        QSaveFile file(QString::fromStdString(*path));
        if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit())
            throw FileError("cannot write \"" + *path + "\": " + file.errorString().toStdString());
    } catch (const std::exception& e) {
        host.showMessage(e.what(), MessageKind::Error);
    }
}

}  // namespace

QSize ShownPixels(const PictureView& view) {
    const qreal dpr = view.devicePixelRatioF();
    QSizeF shown;
    if (const auto& picture = view.vectorPicture())
        shown = FittedRect(*picture, QRectF(view.rect())).size();
    else if (!view.image().isNull())
        shown = QSizeF(view.image().size()).scaled(QSizeF(view.size()), Qt::KeepAspectRatio);
    return QSize(int(std::lround(shown.width() * dpr)), int(std::lround(shown.height() * dpr)));
}

QImage ViewPicture(const PictureView& view, QSize pixels) {
    if (pixels.isEmpty()) return {};
    if (const auto& picture = view.vectorPicture()) return RenderPicture(*picture, pixels);
    if (view.image().isNull()) return {};
    return view.image().scaled(pixels, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

void AddDiagramExport(QMainWindow& window, QMenu& file, Desktop& desktop,
                      std::function<PictureView*()> view) {
    QAction* save = file.addAction("Save as &PNG...");
    save->setObjectName(output_window::SavePng1);
    QObject::connect(save, &QAction::triggered, &window, [&window, &desktop, view] {
        if (PictureView* v = view()) SavePng(window, desktop, *v);
    });

    QMenu* edit = window.menuBar()->addMenu("&Edit");
    edit->setObjectName(output_window::MenuMapEdit);
    QAction* copy = edit->addAction("&Copy");
    copy->setObjectName(output_window::Copy1);
    copy->setShortcut(QKeySequence::Copy);
    QObject::connect(copy, &QAction::triggered, &window, [view] {
        PictureView* v = view();
        if (!v || !v->isVisible()) {
            // the window's key would otherwise take Ctrl+C from the table's selected text
            if (auto* text = qobject_cast<QPlainTextEdit*>(QApplication::focusWidget()))
                text->copy();
            else if (auto* table = qobject_cast<OutputTableView*>(QApplication::focusWidget()))
                table->copy();
            return;
        }
        const QImage image = ViewPicture(*v, ShownPixels(*v));
        if (!image.isNull()) QApplication::clipboard()->setImage(image);
    });
    // only a picture can be copied or saved as PNG; the key stays live between menus and does
    // nothing without a picture
    QObject::connect(edit, &QMenu::aboutToShow, edit, [view, copy] {
        PictureView* v = view();
        const bool picture = v && v->isVisible() && !ShownPixels(*v).isEmpty();
        QWidget* focus = QApplication::focusWidget();
        copy->setEnabled(picture || qobject_cast<QPlainTextEdit*>(focus) ||
                         qobject_cast<OutputTableView*>(focus));
    });
    QObject::connect(edit, &QMenu::aboutToHide, copy, [copy] { copy->setEnabled(true); });
    QObject::connect(&file, &QMenu::aboutToShow, &file, [view, save] {
        PictureView* v = view();
        save->setEnabled(v && v->isVisible() && !ShownPixels(*v).isEmpty());
    });
}

}  // namespace umbrix::ui
