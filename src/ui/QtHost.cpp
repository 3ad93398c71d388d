#include "ui/QtHost.h"

#include <QApplication>
#include <QColorDialog>
#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSvgRenderer>
#include <QTextDocument>

#include "platform/Picture.h"
#include "platform/Raster.h"
#include "ui/PicturePainter.h"
#include "ui/RasterImage.h"
#include "ui/Widgets.h"

namespace umbrix::ui {

namespace {

std::vector<std::string> splitBar(const std::string& filter) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= filter.size()) {
        std::size_t bar = filter.find('|', start);
        if (bar == std::string::npos) bar = filter.size();
        parts.push_back(filter.substr(start, bar - start));
        start = bar + 1;
    }
    return parts;
}

// The patterns of the 1-based filter pair, or "" when there is none.
std::string patternsOf(const std::string& filter, int filterIndex) {
    auto parts = splitBar(filter);
    std::size_t at = std::size_t(std::max(filterIndex, 1) - 1) * 2 + 1;
    return at < parts.size() ? parts[at] : std::string();
}

}  // namespace

QStringList QtNameFilters(const std::string& filter) {
    QStringList out;
    auto parts = splitBar(filter);
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        QString description = QString::fromStdString(parts[i]).trimmed();
        QString patterns = QString::fromStdString(parts[i + 1]);
        patterns.replace(';', ' ');
        patterns = patterns.simplified();
        // "Session files (*.ini)" already names its patterns
        if (description.contains('(' + patterns + ')'))
            out << description;
        else
            out << description + " (" + patterns + ")";
    }
    if (out.isEmpty()) out << "All files (*)";
    return out;
}

std::string WithDefaultExtension(const std::string& path, const std::string& filter,
                                 int filterIndex, const std::string& defaultExt) {
    QFileInfo info(QString::fromStdString(path));
    if (!info.suffix().isEmpty()) return path;
    // the first pattern of the chosen filter, when it is a concrete one such as "*.bmp"
    QString first = QString::fromStdString(patternsOf(filter, filterIndex)).section(';', 0, 0);
    QString ext;
    if (first.startsWith("*.") && !first.mid(2).contains('*') && !first.mid(2).contains('?'))
        ext = first.mid(2).trimmed();
    if (ext.isEmpty()) ext = QString::fromStdString(defaultExt).section(',', 0, 0).trimmed();
    if (ext.isEmpty()) return path;
    return path + "." + ext.toStdString();
}

std::optional<std::string> QtHost::fileDialog(FileDialogOptions& options, bool save) {
    if (fileDialogHook) return fileDialogHook(options, save);
    QFileDialog dialog(QApplication::activeWindow(), QString::fromStdString(options.title));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filters = QtNameFilters(options.filter);
    dialog.setNameFilters(filters);
    int index = std::clamp(options.filterIndex, 1, int(filters.size()));
    dialog.selectNameFilter(filters[index - 1]);
    if (!options.fileName.empty()) dialog.selectFile(QString::fromStdString(options.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    options.filterIndex = int(filters.indexOf(dialog.selectedNameFilter())) + 1;
    if (options.filterIndex < 1) options.filterIndex = index;
    std::string path = dialog.selectedFiles().front().toStdString();
    if (save)
        path = WithDefaultExtension(path, options.filter, options.filterIndex, options.defaultExt);
    options.fileName = path;
    return path;
}

std::optional<std::string> QtHost::openFileDialog(FileDialogOptions& options) {
    return fileDialog(options, false);
}

std::optional<std::string> QtHost::saveFileDialog(FileDialogOptions& options) {
    return fileDialog(options, true);
}

void QtHost::runModal(FormModel& dialog) {
    if (modalRunner) modalRunner(dialog);
}

void QtHost::showMessage(const std::string& text, MessageKind kind) {
    if (messageHook) {
        messageHook(text, kind, false, false);
        return;
    }
    QWidget* parent = QApplication::activeWindow();
    const QString t = QString::fromStdString(text);
    switch (kind) {
        case MessageKind::Error:
            QMessageBox::critical(parent, title, t);
            break;
        case MessageKind::Warning:
            QMessageBox::warning(parent, title, t);
            break;
        default:
            QMessageBox::information(parent, title, t);
    }
}

Answer QtHost::ask(const std::string& text, bool withCancel) {
    if (messageHook) return messageHook(text, MessageKind::Info, true, withCancel);
    auto buttons = QMessageBox::Yes | QMessageBox::No;
    if (withCancel) buttons |= QMessageBox::Cancel;
    auto answer = QMessageBox::question(QApplication::activeWindow(), title,
                                        QString::fromStdString(text), buttons);
    if (answer == QMessageBox::Yes) return Answer::Yes;
    if (answer == QMessageBox::No) return Answer::No;
    return Answer::Cancel;
}

bool QtHost::confirm(const std::string& text) {
    if (messageHook) return messageHook(text, MessageKind::Warning, true, false) == Answer::Yes;
    return QMessageBox::question(QApplication::activeWindow(), title, QString::fromStdString(text),
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

std::optional<std::uint32_t> QtHost::chooseColour(std::uint32_t initial) {
    if (colourHook) return colourHook(initial);
    QColor chosen = QColorDialog::getColor(
        QColor(RedOf(initial), GreenOf(initial), BlueOf(initial)), QApplication::activeWindow());
    if (!chosen.isValid()) return std::nullopt;
    return Rgb(chosen.red(), chosen.green(), chosen.blue());
}

void QtHost::processMessages() {
    if (messagePump)
        messagePump();
    else
        QCoreApplication::processEvents();
}

void QtHost::setProgressMax(int max) {
    if (progressBar) progressBar->setMaximum(std::max(max, 1));
}

void QtHost::setProgress(int position) {
    if (progressBar) progressBar->setValue(std::clamp(position, 0, progressBar->maximum()));
}

void QtHost::stepProgress() {
    if (!progressBar) return;
    // the bar wraps round like the platform's stepping progress bar
    int next = progressBar->value() + 1;
    progressBar->setValue(next > progressBar->maximum() ? 0 : next);
}

void QtHost::setBusy(bool busy) {
    if (busy) {
        if (busyDepth_++ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (busyDepth_ > 0) {
        if (--busyDepth_ == 0) QApplication::restoreOverrideCursor();
    }
}

ClockTime QtHost::now() {
    if (clock) return *clock;
    const QDateTime t = QDateTime::currentDateTime();
    return {t.date().year(), t.date().month(),  t.date().day(),
            t.time().hour(), t.time().minute(), t.time().second()};
}

bool QtHost::renderVectorFile(const std::string& path, Raster& target, std::string& error) {
    QSvgRenderer renderer(QString::fromStdString(path));
    if (!renderer.isValid()) {
        error = path + ": not a vector picture that can be read (SVG expected)";
        return false;
    }
    if (target.empty()) {
        error = path + ": no picture to draw into";
        return false;
    }
    QImage image(target.width(), target.height(), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        // any colour but pure white is an obstruction: no blended edges
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        renderer.render(&painter, QRectF(0, 0, target.width(), target.height()));
    }
    CopyImageToRaster(image, target);
    return true;
}

bool QtHost::choosePrinter(QPrinter& printer, const PrintJob& job) {
    printer.setDocName(QString::fromStdString(job.title));
    printer.setPageOrientation(job.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    if (printerSetup) return printerSetup(printer);
    // Qt's print dialog also offers printing to a PDF file
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    dialog.setWindowTitle(QString::fromStdString(job.title));
    return dialog.exec() == QDialog::Accepted;
}

PrintOutcome QtHost::printPicture(const PrintJob& job, const Picture& picture,
                                  const PrintPlacement& place, std::string& error) {
    QPrinter printer(QPrinter::HighResolution);
    if (!choosePrinter(printer, job)) return PrintOutcome::Cancelled;
    QPainter painter;
    if (!painter.begin(&printer)) {
        error = "the printer cannot be used";
        return PrintOutcome::Unavailable;
    }
    const QRect page = painter.viewport();
    const Rect r = place(page.width(), page.height());
    if (r.empty() || picture.width() <= 0 || picture.height() <= 0) return PrintOutcome::Printed;
    // drawn by Qt: lines and text stay vectors on the printer and in a PDF
    PaintPicture(painter, picture, QRectF(r.left, r.top, double(r.width()), double(r.height())));
    return PrintOutcome::Printed;
}

PrintOutcome QtHost::printText(const PrintJob& job, const std::vector<std::string>& lines,
                               std::string& error) {
    QPrinter printer(QPrinter::HighResolution);
    if (!choosePrinter(printer, job)) return PrintOutcome::Cancelled;
    if (!printer.isValid()) {
        error = "the printer cannot be used";
        return PrintOutcome::Unavailable;
    }
    QString text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i) text += '\n';
        text += QString::fromStdString(lines[i]);
    }
    QTextDocument document;
    QFont font = FixedPitchFont();
    font.setPointSizeF(8);
    document.setDefaultFont(font);
    QTextOption option = document.defaultTextOption();
    option.setWrapMode(QTextOption::NoWrap);
    option.setTabStopDistance(QFontMetricsF(font).horizontalAdvance(QLatin1Char(' ')) * 8);
    document.setDefaultTextOption(option);
    document.setPlainText(text);
    document.print(&printer);
    return PrintOutcome::Printed;
}

}  // namespace umbrix::ui
