#include "ui/PicturePainter.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "ui/RasterImage.h"

namespace umbrix::ui {

namespace {

constexpr double kPixelsPerPoint = 96.0 / 72.0;
// Text is laid out at this pixel size and scaled, so that any size stays exact (QFont's pixel
// sizes are whole numbers, and point sizes depend on the device's resolution).
constexpr int kLayoutPixels = 100;

QColor ToQColor(Colour c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

QRectF ToRectF(const Rect& r) {
    const Rect b = NormaliseRect(r);
    return QRectF(b.left, b.top, double(b.width()), double(b.height()));
}

QPolygonF ToPolygon(const std::vector<Point>& points) {
    QPolygonF polygon;
    polygon.reserve(qsizetype(points.size()));
    for (Point p : points) polygon << QPointF(p.x, p.y);
    return polygon;
}

QFont ScalableFont(const Font& font) {
    QFont f(QString::fromStdString(font.name));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(kLayoutPixels);
    if (font.name.find("Bold") != std::string::npos) f.setBold(true);
    return f;
}

// The same drawing state as the raster playback, from the defaults of a fresh surface.
struct State {
    Pen pen;
    Brush brush;
    Font font;
    Point position;
};

class Painter {
  public:
    explicit Painter(QPainter& p) : p_(p) {}

    // unit: one unit of the outermost picture in this picture's units
    void play(const Picture& picture, double unit) {
        State s;
        p_.save();
        for (const PictureOp& op : picture.operations()) {
            if (auto* o = std::get_if<draw::SetPen>(&op)) {
                s.pen = o->pen;
            } else if (auto* o = std::get_if<draw::SetBrush>(&op)) {
                s.brush = o->brush;
            } else if (auto* o = std::get_if<draw::SetFont>(&op)) {
                s.font = o->font;
            } else if (auto* o = std::get_if<draw::MoveTo>(&op)) {
                s.position = o->to;
            } else if (auto* o = std::get_if<draw::LineTo>(&op)) {
                usePen(s.pen, unit);
                p_.setBrush(Qt::NoBrush);
                p_.drawLine(QPointF(s.position.x, s.position.y), QPointF(o->to.x, o->to.y));
                s.position = o->to;
            } else if (auto* o = std::get_if<draw::Polyline>(&op)) {
                usePen(s.pen, unit);
                p_.setBrush(Qt::NoBrush);
                p_.drawPolyline(ToPolygon(o->points));
            } else if (auto* o = std::get_if<draw::Polygon>(&op)) {
                usePen(s.pen, unit);
                useBrush(s.brush);
                p_.drawPolygon(ToPolygon(o->points), Qt::OddEvenFill);
            } else if (auto* o = std::get_if<draw::Ellipse>(&op)) {
                usePen(s.pen, unit);
                useBrush(s.brush);
                p_.drawEllipse(ToRectF(o->box));
            } else if (auto* o = std::get_if<draw::Arc>(&op)) {
                usePen(s.pen, unit);
                p_.setBrush(Qt::NoBrush);
                arc(*o);
            } else if (auto* o = std::get_if<draw::Rectangle>(&op)) {
                usePen(s.pen, unit);
                useBrush(s.brush);
                p_.drawRect(ToRectF(o->box));
            } else if (auto* o = std::get_if<draw::Text>(&op)) {
                text(*o, s.font);
            } else if (auto* o = std::get_if<draw::Pixel>(&op)) {
                p_.fillRect(QRectF(o->at.x, o->at.y, 1, 1), ToQColor(o->colour));
            } else if (auto* o = std::get_if<draw::ClipRect>(&op)) {
                p_.setClipRect(ToRectF(o->box),
                               p_.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
            } else if (auto* o = std::get_if<draw::DrawPicture>(&op)) {
                nested(*o, unit);
            } else if (auto* o = std::get_if<draw::DrawRaster>(&op)) {
                raster(*o);
            }
        }
        p_.restore();
    }

  private:
    void usePen(const Pen& pen, double unit) {
        if (pen.style == PenStyle::Clear) {
            p_.setPen(Qt::NoPen);
            return;
        }
        // as the raster playback: never thinner than one pixel of the outermost picture
        QPen q(pen.mode == PenMode::Invert ? QColor(Qt::white) : ToQColor(pen.colour));
        q.setWidthF(std::max(double(pen.width), unit));
        q.setCapStyle(pen.width > 1 ? Qt::RoundCap : Qt::FlatCap);
        q.setJoinStyle(Qt::RoundJoin);
        if (pen.style == PenStyle::Dot)
            q.setDashPattern({3 * unit / q.widthF(), 3 * unit / q.widthF()});
        p_.setPen(q);
        // Invert previews lines over anything: the difference with white is the XOR's look
        p_.setCompositionMode(pen.mode == PenMode::Invert ? QPainter::CompositionMode_Difference
                                                          : QPainter::CompositionMode_SourceOver);
    }

    void useBrush(const Brush& brush) {
        if (brush.style == BrushStyle::Clear)
            p_.setBrush(Qt::NoBrush);
        else
            p_.setBrush(ToQColor(brush.colour));
    }

    void arc(const draw::Arc& o) {
        const QRectF box = ToRectF(o.box);
        if (box.width() <= 0 || box.height() <= 0) return;
        const QPointF c = box.center();
        const double s = std::atan2(c.y() - o.start.y, o.start.x - c.x());
        const double e = std::atan2(c.y() - o.end.y, o.end.x - c.x());
        double sweep = std::fmod(e - s, 2 * std::numbers::pi);
        if (sweep < 0) sweep += 2 * std::numbers::pi;
        if (sweep == 0) {
            p_.drawEllipse(box);
            return;
        }
        // the radials' angles on a circle become Qt's angles on the ellipse
        auto qtAngle = [&](double phi) {
            const double a = std::atan2(std::sin(phi) / box.height(), std::cos(phi) / box.width());
            return int(std::lround(a * 180 / std::numbers::pi * 16));
        };
        const int start = qtAngle(s);
        int span = qtAngle(e) - start;
        if (span <= 0) span += 360 * 16;
        p_.drawArc(box, start, span);
    }

    void text(const draw::Text& o, const Font& font) {
        const double px = font.size * kPixelsPerPoint;
        if (!(px > 0)) return;
        const QFont f = ScalableFont(font);
        p_.save();
        p_.setCompositionMode(QPainter::CompositionMode_SourceOver);
        p_.setFont(f);
        p_.setPen(ToQColor(font.colour));
        p_.translate(o.topLeft.x, o.topLeft.y);
        p_.scale(px / kLayoutPixels, px / kLayoutPixels);
        // the cell's top left is given: the baseline lies one ascent below it
        p_.drawText(QPointF(0, QFontMetricsF(f).ascent()), QString::fromStdString(o.text));
        p_.restore();
    }

    void nested(const draw::DrawPicture& o, double unit) {
        const Picture& inner = *o.picture;
        if (inner.width() <= 0 || inner.height() <= 0 || o.dest.empty()) return;
        const double sx = double(o.dest.width()) / inner.width();
        const double sy = double(o.dest.height()) / inner.height();
        p_.save();
        p_.translate(o.dest.left, o.dest.top);
        p_.scale(sx, sy);
        play(inner, unit / ((std::abs(sx) + std::abs(sy)) / 2));
        p_.restore();
    }

    void raster(const draw::DrawRaster& o) {
        if (o.raster->empty() || o.dest.empty()) return;
        QImage image = ToQImage(*o.raster);
        if (o.whiteTransparent) {
            image = image.convertToFormat(QImage::Format_ARGB32);
            for (int y = 0; y < image.height(); ++y) {
                auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
                for (int x = 0; x < image.width(); ++x)
                    if ((line[x] & 0xFFFFFF) == 0xFFFFFF) line[x] = 0;
            }
        }
        p_.save();
        p_.setCompositionMode(QPainter::CompositionMode_SourceOver);
        p_.drawImage(ToRectF(o.dest), image);
        p_.restore();
    }

    QPainter& p_;
};

}  // namespace

QRectF FittedRect(const Picture& picture, const QRectF& target) {
    if (picture.width() <= 0 || picture.height() <= 0) return {};
    const double scale =
        std::min(target.width() / picture.width(), target.height() / picture.height());
    const QSizeF size(picture.width() * scale, picture.height() * scale);
    return QRectF(target.center() - QPointF(size.width() / 2, size.height() / 2), size);
}

void PaintPicture(QPainter& painter, const Picture& picture, const QRectF& target) {
    const QRectF r = FittedRect(picture, target);
    if (r.isEmpty()) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const double scale = r.width() / picture.width();
    painter.translate(r.topLeft());
    painter.scale(scale, scale);
    // picture coordinates name pixels, whose centres lie half a unit further
    painter.translate(0.5, 0.5);
    Painter(painter).play(picture, 1.0);
    painter.restore();
}

QImage RenderPicture(const Picture& picture, QSize pixels, qreal dpr) {
    QImage image(pixels, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDevicePixelRatio(dpr);
    QPainter painter(&image);
    PaintPicture(painter, picture, QRectF(QPointF(0, 0), QSizeF(pixels) / dpr));
    return image;
}

}  // namespace umbrix::ui
