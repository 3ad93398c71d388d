#include "ui/EditorIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <QToolButton>

namespace umbrix::ui {

namespace {

constexpr int kIconSize = 20;

const QColor kInk(40, 40, 40);
const QColor kBuilding(192, 192, 192);
const QColor kTree(0, 128, 0);
const QColor kSky(250, 250, 250);
const QColor kPainted(160, 160, 160);

void arrowHead(QPainter& p, QPointF tip, double dx, double dy) {
    // dx, dy: the unit direction the arrow points to
    const QPointF back(tip.x() - 4 * dx, tip.y() - 4 * dy);
    const QPointF side(-dy * 3, dx * 3);
    p.drawPolygon(QPolygonF({tip, back + side, back - side}));
}

void plus(QPainter& p, QPointF at, QColor colour) {
    p.setPen(QPen(colour, 2.2));
    p.drawLine(at + QPointF(-3.5, 0), at + QPointF(3.5, 0));
    p.drawLine(at + QPointF(0, -3.5), at + QPointF(0, 3.5));
}

void house(QPainter& p, QRectF r) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(kBuilding);
    p.drawRect(r);
    p.setBrush(Qt::NoBrush);
    p.drawLine(r.topLeft(), r.bottomRight());
}

void fisheye(QPainter& p) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(kSky);
    p.drawEllipse(QRectF(2, 2, 16, 16));
}

void mapSheet(QPainter& p) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(235, 225, 180));
    p.drawRect(QRectF(2.5, 3.5, 13, 11));
    p.setPen(QPen(QColor(60, 120, 200), 1.2));
    p.drawLine(QPointF(4, 11), QPointF(9, 6));
    p.drawLine(QPointF(9, 6), QPointF(14, 9));
}

void pipette(QPainter& p, double scale) {
    // along the diagonal from the tip (lower left) to the bulb (upper right)
    p.save();
    p.scale(scale, scale);
    p.translate(2, 18);
    p.rotate(-45);
    p.setPen(QPen(Qt::white, 3.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0, 0), QPointF(19, 0));
    p.setPen(QPen(Qt::black, 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0, 0), QPointF(5, 0));
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(210, 230, 255));
    p.drawRect(QRectF(5, -2, 9, 4));
    p.setBrush(Qt::black);
    p.drawRect(QRectF(14, -3.5, 1.8, 7));
    p.drawEllipse(QRectF(16, -2.5, 5, 5));
    p.restore();
}

}  // namespace

QIcon DrawnIcon(EditorIcon kind) {
    QPixmap pixmap(kIconSize, kIconSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (kind) {
        case EditorIcon::Add:
            house(p, QRectF(2.5, 7.5, 10, 10));
            plus(p, QPointF(15, 5), QColor(0, 140, 0));
            break;
        case EditorIcon::Remove:
            house(p, QRectF(2.5, 7.5, 10, 10));
            p.setPen(QPen(QColor(200, 0, 0), 2.2));
            p.drawLine(QPointF(11.5, 5), QPointF(18.5, 5));
            break;
        case EditorIcon::MoveLocation:
            p.setPen(QPen(kInk, 1.2));
            p.setBrush(kInk);
            p.drawLine(QPointF(4, 16), QPointF(13, 7));
            arrowHead(p, QPointF(15, 5), 0.7071, -0.7071);
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::red);
            p.drawEllipse(QPointF(4.5, 15.5), 3.2, 3.2);
            break;
        case EditorIcon::Yardstick: {
            p.setPen(QPen(kInk, 1));
            p.setBrush(QColor(245, 215, 120));
            p.drawRect(QRectF(1.5, 7.5, 17, 6));
            for (int x = 4; x <= 16; x += 3)
                p.drawLine(QPointF(x, 7.5), QPointF(x, x % 2 ? 10.5 : 11.5));
            break;
        }
        case EditorIcon::MoveMap:
            mapSheet(p);
            p.setPen(QPen(kInk, 1.2));
            p.setBrush(kInk);
            p.drawLine(QPointF(11, 17), QPointF(17, 17));
            arrowHead(p, QPointF(19, 17), 1, 0);
            break;
        case EditorIcon::MoveAll:
            p.setPen(QPen(kInk, 1.2));
            p.setBrush(kInk);
            p.drawLine(QPointF(10, 3), QPointF(10, 17));
            p.drawLine(QPointF(3, 10), QPointF(17, 10));
            arrowHead(p, QPointF(10, 1), 0, -1);
            arrowHead(p, QPointF(10, 19), 0, 1);
            arrowHead(p, QPointF(1, 10), -1, 0);
            arrowHead(p, QPointF(19, 10), 1, 0);
            break;
        case EditorIcon::Grid:
            p.setPen(QPen(kInk, 1));
            for (double at : {3.5, 10.0, 16.5}) {
                p.drawLine(QPointF(at, 2), QPointF(at, 18));
                p.drawLine(QPointF(2, at), QPointF(18, at));
            }
            break;
        case EditorIcon::ImportMap:
            mapSheet(p);
            plus(p, QPointF(15, 15), QColor(0, 140, 0));
            break;
        case EditorIcon::RemoveMap:
            mapSheet(p);
            p.setPen(QPen(QColor(200, 0, 0), 2));
            p.drawLine(QPointF(11, 12), QPointF(18, 19));
            p.drawLine(QPointF(18, 12), QPointF(11, 19));
            break;
        case EditorIcon::ToEdge: {
            fisheye(p);
            // a limitation that rises from the horizon circle
            QPainterPath path;
            path.moveTo(2.3, 12);
            path.lineTo(7, 8);
            path.lineTo(12, 11);
            path.lineTo(17.7, 12);
            path.arcTo(QRectF(2, 2, 16, 16), -7, -166);
            p.setPen(QPen(kInk, 1));
            p.setBrush(kPainted);
            p.drawPath(path);
            break;
        }
        case EditorIcon::NotToEdge:
            fisheye(p);
            p.setPen(QPen(kInk, 1));
            p.setBrush(kPainted);
            p.drawPolygon(
                QPolygonF({QPointF(7, 6), QPointF(13, 8), QPointF(12, 14), QPointF(6, 12)}));
            break;
        case EditorIcon::Fill: {
            p.setPen(QPen(kInk, 1));
            p.setBrush(QColor(230, 230, 230));
            p.save();
            p.translate(9, 10);
            p.rotate(-30);
            p.drawRect(QRectF(-5, -5, 10, 10));
            p.restore();
            p.setPen(Qt::NoPen);
            p.setBrush(kPainted.darker(130));
            p.drawEllipse(QPointF(16, 15), 2.5, 3.5);
            break;
        }
        case EditorIcon::Pipette:
            pipette(p, 1.0);
            break;
        case EditorIcon::Palette: {
            p.setPen(QPen(kInk, 1));
            p.setBrush(QColor(230, 200, 150));
            p.drawEllipse(QRectF(1.5, 3.5, 17, 13));
            const QColor dots[] = {Qt::red, QColor(0, 160, 0), Qt::blue, QColor(240, 200, 0)};
            const QPointF at[] = {{6, 7}, {10.5, 6.5}, {14.5, 8.5}, {13.5, 12.5}};
            p.setPen(Qt::NoPen);
            for (int i = 0; i < 4; ++i) {
                p.setBrush(dots[i]);
                p.drawEllipse(at[i], 1.7, 1.7);
            }
            break;
        }
        case EditorIcon::Fit:
            // a house with the four corners of the view pressed out to it
            house(p, QRectF(6.5, 6.5, 7, 7));
            p.setPen(QPen(kInk, 1.4));
            for (QPointF c : {QPointF(2, 2), QPointF(18, 2), QPointF(18, 18), QPointF(2, 18)}) {
                const double sx = c.x() < 10 ? 1 : -1, sy = c.y() < 10 ? 1 : -1;
                p.drawLine(c, c + QPointF(4 * sx, 0));
                p.drawLine(c, c + QPointF(0, 4 * sy));
            }
            break;
        case EditorIcon::Cut:
            p.setPen(QPen(kInk, 1.3));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QPointF(5, 15), 2.8, 2.8);
            p.drawEllipse(QPointF(15, 15), 2.8, 2.8);
            p.drawLine(QPointF(7, 13), QPointF(15, 2));
            p.drawLine(QPointF(13, 13), QPointF(5, 2));
            break;
        case EditorIcon::Monochrome:
            p.setPen(QPen(kInk, 1));
            p.setBrush(Qt::white);
            p.drawEllipse(QRectF(2, 2, 16, 16));
            p.setBrush(Qt::black);
            p.drawPie(QRectF(2, 2, 16, 16), 90 * 16, 180 * 16);
            break;
        case EditorIcon::Redo:  // the undo arrow, mirrored
            p.translate(20, 0);
            p.scale(-1, 1);
            [[fallthrough]];
        case EditorIcon::Undo: {
            p.setPen(QPen(kInk, 1.6));
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(4, 5, 12, 11), -90 * 16, 250 * 16);
            p.setBrush(kInk);
            p.setPen(QPen(kInk, 1));
            arrowHead(p, QPointF(3, 11), -0.2, 1);
            break;
        }
        case EditorIcon::Albedo:
        case EditorIcon::Emission: {
            const bool albedo = kind == EditorIcon::Albedo;
            p.setPen(Qt::NoPen);
            QLinearGradient ramp(0, 2, 0, 18);
            ramp.setColorAt(0, albedo ? QColor(0, 255, 0) : QColor(255, 0, 0));
            ramp.setColorAt(1, Qt::black);
            p.setBrush(ramp);
            p.drawRect(QRectF(2, 2, 6, 16));
            QFont font = p.font();
            font.setPixelSize(12);
            font.setBold(true);
            p.setFont(font);
            p.setPen(kInk);
            p.drawText(QRectF(8, 2, 12, 16), Qt::AlignCenter,
                       albedo ? QStringLiteral("a") : QStringLiteral("\u03b5"));
            break;
        }
        case EditorIcon::Import:
            fisheye(p);
            p.setPen(QPen(QColor(0, 110, 200), 1.6));
            p.setBrush(QColor(0, 110, 200));
            p.drawLine(QPointF(10, 4), QPointF(10, 12));
            arrowHead(p, QPointF(10, 15), 0, 1);
            break;
    }
    return QIcon(pixmap);
}

QCursor PipetteCursor() {
    static const QCursor cursor = [] {
        QPixmap pixmap(32, 32);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        pipette(p, 1.5);
        p.end();
        // the tip of the dropper
        return QCursor(pixmap, 3, 27);
    }();
    return cursor;
}

QToolButton* IconButton(QWidget* parent, const std::string& name, const QIcon& icon) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromStdString(name));
    button->setIcon(icon);
    button->setIconSize(QSize(kIconSize, kIconSize));
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setAutoRaise(false);
    return button;
}

QImage WhiteTransparent(const QImage& image) {
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if ((line[x] & 0xFFFFFF) == 0xFFFFFF) line[x] = 0;
    }
    return out;
}

}  // namespace umbrix::ui
