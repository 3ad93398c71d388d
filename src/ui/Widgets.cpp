#include "ui/Widgets.h"

#include <QDropEvent>
#include <QFontDatabase>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTextBlock>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/Picture.h"
#include "platform/Raster.h"
#include "ui/PicturePainter.h"
#include "ui/RasterImage.h"

namespace umbrix::ui {

namespace {
const QString kMissingMark = QString::fromUtf8("\u2013");
}

UpDownWidget::UpDownWidget(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int direction : {1, -1}) {
        auto* button = new QToolButton(this);
        button->setArrowType(direction > 0 ? Qt::UpArrow : Qt::DownArrow);
        button->setAutoRepeat(true);
        button->setFixedSize(18, 12);
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QToolButton::clicked, this,
                [this, direction] { emit stepped(direction); });
        layout->addWidget(button);
    }
}

PictureView::PictureView(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void PictureView::showPicture(const std::shared_ptr<const Picture>& picture,
                              const std::shared_ptr<const Raster>& image, bool force) {
    if (force) shown_ = nullptr;
    if (picture) {
        // a recorded picture may grow while it is shown: redraw when its recording changed
        if (shown_ == picture.get() && shownOps_ == picture->operations().size()) return;
        shown_ = picture.get();
        shownOps_ = picture->operations().size();
        if (smooth_) {
            vector_ = picture;
            image_ = QImage();
            updateGeometry();
            update();
            return;
        }
        setImage(ToQImage(picture->rasterize()));
    } else if (image) {
        if (shown_ == image.get() && shownOps_ == 0) return;
        shown_ = image.get();
        shownOps_ = 0;
        setImage(ToQImage(*image));
    } else if (shown_) {
        shown_ = nullptr;
        setImage(QImage());
    }
}

void PictureView::setSmooth(bool smooth) {
    smooth_ = smooth;
    if (smooth_) setMinimumSize(120, 120);
}

void PictureView::setImage(const QImage& image) {
    image_ = image;
    vector_.reset();
    // the view sizes itself to its picture, unless it follows its window
    if (!image_.isNull() && !smooth_) setFixedSize(image_.size());
    updateGeometry();
    update();
}

QSize PictureView::sizeHint() const {
    if (vector_) return {vector_->width(), vector_->height()};
    return image_.isNull() ? QSize(481, 481) : image_.size();
}

void PictureView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (vector_) {
        PaintPicture(painter, *vector_, rect());
    } else if (!image_.isNull() && smooth_) {
        // an opened bitmap, fitted as a diagram would be
        const QSizeF size = QSizeF(image_.size()).scaled(QSizeF(this->size()), Qt::KeepAspectRatio);
        const QPointF corner((width() - size.width()) / 2, (height() - size.height()) / 2);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRectF(corner, size), image_);
    } else if (!image_.isNull()) {
        painter.drawImage(0, 0, image_);
    }
}

void PictureView::mousePressEvent(QMouseEvent* event) {
    QPoint p = event->position().toPoint();
    emit pressed(p.x(), p.y(), event->button());
}

void PictureView::mouseMoveEvent(QMouseEvent* event) {
    QPoint p = event->position().toPoint();
    emit moved(p.x(), p.y());
}

void PictureView::mouseReleaseEvent(QMouseEvent* event) {
    QPoint p = event->position().toPoint();
    emit released(p.x(), p.y(), event->button());
}

void PictureView::mouseDoubleClickEvent(QMouseEvent* event) {
    QPoint p = event->position().toPoint();
    emit doubleClicked(p.x(), p.y());
}

CheckListWidget::CheckListWidget(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::InternalMove);
    setDefaultDropAction(Qt::MoveAction);
}

void CheckListWidget::dropEvent(QDropEvent* event) {
    const int from = currentRow();
    int to = indexAt(event->position().toPoint()).row();
    if (to < 0) to = count() - 1;
    // the model moves the item and the view follows it; Qt must not move it as well
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    if (from >= 0 && to >= 0 && from != to) emit itemDragged(from, to);
}

bool LinesView::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip || !missingReason_ || firstRow_ == 0)
        return QPlainTextEdit::viewportEvent(event);
    auto* help = static_cast<QHelpEvent*>(event);
    const QTextCursor at = cursorForPosition(help->pos());
    const std::size_t row = std::size_t(at.blockNumber());
    const QString text = at.block().text();
    // the field under the pointer: the cursor stands before or after its character
    int column = -1;
    for (int pos : {at.positionInBlock(), at.positionInBlock() - 1})
        if (pos >= 0 && pos < text.size() && text[pos] != '\t') {
            column = int(text.left(pos).count('\t'));
            break;
        }
    const QStringList fields = text.split('\t');
    if (row >= firstRow_ && row < shown_.size() && column >= 0 && column < fields.size() &&
        fields[column] == kMissingMark) {
        const QStringList names = QString::fromStdString(shown_[firstRow_ - 2]).split('\t');
        QToolTip::showText(help->globalPos(), missingReason_(names, fields, column), viewport());
    } else {
        QToolTip::hideText();
    }
    return true;
}

int LinesView::measure() const {
    const QFontMetrics metrics(font());
    const int tab = int(tabStopDistance());
    int widest = 0;
    for (std::size_t i = 0; i < std::min<std::size_t>(shown_.size(), 200); ++i) {
        int x = 0;
        for (const QString& part : QString::fromStdString(shown_[i]).split('\t')) {
            if (x > 0 && tab > 0) x = (x / tab + 1) * tab;
            x += metrics.horizontalAdvance(part);
        }
        widest = std::max(widest, x);
    }
    return widest;
}

QFont FixedPitchFont() {
    // the table's font where it exists, else the nearest fixed-pitch family installed
    for (const char* family :
         {"Courier New", "DejaVu Sans Mono", "Liberation Mono", "Noto Sans Mono", "Nimbus Mono PS"})
        if (QFontDatabase::hasFamily(family) && QFontDatabase::isFixedPitch(family))
            return QFont(family, 10);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

LinesView::LinesView(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    const QFont font = FixedPitchFont();
    setFont(font);
    // columns of up to seven characters stay under each other
    setTabStopDistance(QFontMetricsF(font).horizontalAdvance(QLatin1Char(' ')) * 8);
}

void LinesView::markMissing(
    double value, std::function<QString(const QStringList&, const QStringList&, int)> reason) {
    missingValue_ = value;
    missingReason_ = std::move(reason);
}

QString LinesView::shownLine(std::size_t index) const {
    const QString line = QString::fromStdString(shown_[index]);
    if (!missingReason_ || firstRow_ == 0 || index < firstRow_) return line;
    QStringList fields = line.split('\t');
    for (QString& field : fields) {
        bool number = false;
        const double x = field.trimmed().toDouble(&number);
        if (number && x == missingValue_) field = kMissingMark;
    }
    return fields.join('\t');
}

void LinesView::showLines(const std::vector<std::string>& lines) {
    const bool grown =
        shown_.size() <= lines.size() && std::equal(shown_.begin(), shown_.end(), lines.begin());
    if (grown && shown_.size() == lines.size()) return;
    const std::size_t from = grown ? shown_.size() : 0;
    shown_ = lines;
    if (from == 0) firstRow_ = 0;
    // the rows start after the names and units below the header's empty line
    if (firstRow_ == 0)
        for (std::size_t i = 0; i + 2 < shown_.size(); ++i)
            if (shown_[i].empty()) {
                firstRow_ = i + 3;
                break;
            }
    if (from > 0) {
        for (std::size_t i = from; i < shown_.size(); ++i) appendPlainText(shownLine(i));
    } else {
        QString text;
        for (std::size_t i = 0; i < shown_.size(); ++i) {
            if (i) text += '\n';
            text += shownLine(i);
        }
        setPlainText(text);
    }
    contentWidth_ = measure();
}

}  // namespace umbrix::ui
