#include "platform/Picture.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>

#include "platform/Base64.h"
#include "platform/BitmapFont.h"
#include "platform/Error.h"
#include "platform/Png.h"
#include "platform/TextFile.h"

namespace umbrix {

namespace {

template <class... F>
struct Overloaded : F... {
    using F::operator()...;
};
// clang before 17 does not deduce aggregate templates by itself
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

constexpr double kPixelsPerPoint = 96.0 / 72.0;

// Picture units to target pixels: device = offset + unit * scale, rounded.
struct Transform {
    double sx = 1, sy = 1, ox = 0, oy = 0;

    // floor(v + 0.5) rather than halves to even: shifting a picture by whole pixels must not
    // change the shape of what it draws
    // Far-off coordinates are held within int range; the raster clips them anyway.
    static int Round(double v) {
        double r = std::floor(v + 0.5);
        return !(r > -1e9) ? -1000000000 : r > 1e9 ? 1000000000 : int(r);
    }
    Point map(Point p) const { return {Round(ox + p.x * sx), Round(oy + p.y * sy)}; }
    Rect map(const Rect& r) const {
        Point a = map(Point{r.left, r.top}), b = map(Point{r.right, r.bottom});
        return {a.x, a.y, b.x, b.y};
    }
    // The transform that puts a picture of size w × h into dest (picture units of this one).
    Transform into(const Rect& dest, int w, int h) const {
        Transform t;
        t.sx = sx * dest.width() / w;
        t.sy = sy * dest.height() / h;
        t.ox = ox + dest.left * sx;
        t.oy = oy + dest.top * sy;
        return t;
    }
};

// The drawing state as the operations set it, from the defaults of a fresh surface.
struct PlayState {
    Pen pen;
    Brush brush;
    Font font;
    Point position;  // in picture units

    // Takes over a state-setting operation; false for operations that draw.
    bool apply(const PictureOp& op) {
        if (auto* o = std::get_if<draw::SetPen>(&op)) return pen = o->pen, true;
        if (auto* o = std::get_if<draw::SetBrush>(&op)) return brush = o->brush, true;
        if (auto* o = std::get_if<draw::SetFont>(&op)) return font = o->font, true;
        if (auto* o = std::get_if<draw::MoveTo>(&op)) return position = o->to, true;
        return false;
    }
};

Pen ScaledPen(Pen pen, const Transform& t) {
    if (pen.width > 1) {
        double scale = (std::abs(t.sx) + std::abs(t.sy)) / 2;
        pen.width = std::max(1, int(std::nearbyint(pen.width * scale)));
    }
    return pen;
}

std::vector<Point> MapPoints(const std::vector<Point>& points, const Transform& t) {
    std::vector<Point> out;
    out.reserve(points.size());
    for (Point p : points) out.push_back(t.map(p));
    return out;
}

void Play(const Picture& picture, Raster& target, const Transform& t) {
    if (picture.width() <= 0 || picture.height() <= 0) return;
    const Rect savedClip = target.clip();
    PlayState s;
    for (const PictureOp& op : picture.operations()) {
        if (s.apply(op)) continue;
        std::visit(
            Overloaded{
                [](const auto&) {},  // state, taken over by apply
                [&](const draw::LineTo& o) {
                    target.line(t.map(s.position), t.map(o.to), ScaledPen(s.pen, t));
                    s.position = o.to;
                },
                [&](const draw::Polyline& o) {
                    target.polyline(MapPoints(o.points, t), ScaledPen(s.pen, t));
                },
                [&](const draw::Polygon& o) {
                    target.polygon(MapPoints(o.points, t), ScaledPen(s.pen, t), s.brush);
                },
                [&](const draw::Ellipse& o) {
                    target.ellipse(t.map(o.box), ScaledPen(s.pen, t), s.brush);
                },
                [&](const draw::Arc& o) {
                    target.arc(t.map(o.box), t.map(o.start), t.map(o.end), ScaledPen(s.pen, t));
                },
                [&](const draw::Rectangle& o) {
                    target.rectangle(t.map(o.box), ScaledPen(s.pen, t), s.brush);
                },
                [&](const draw::Text& o) {
                    target.text(t.map(o.topLeft), o.text, s.font.colour,
                                s.font.size * kPixelsPerPoint * std::abs(t.sy));
                },
                [&](const draw::Pixel& o) { target.plot(t.map(o.at), o.colour); },
                [&](const draw::ClipRect& o) {
                    target.setClip(IntersectRect(target.clip(), NormaliseRect(t.map(o.box))));
                },
                [&](const draw::DrawPicture& o) {
                    const Picture& inner = *o.picture;
                    if (inner.width() > 0 && inner.height() > 0)
                        Play(inner, target, t.into(o.dest, inner.width(), inner.height()));
                },
                [&](const draw::DrawRaster& o) {
                    target.drawRaster(t.map(o.dest), *o.raster, o.whiteTransparent);
                },
            },
            op);
    }
    target.setClip(savedClip);
}

// ---- SVG ----

std::string Num(double v) {
    if (std::abs(v) < 5e-7) v = 0;  // no "-0" or 1e-17 noise
    char buffer[32];
    auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::general, 7);
    return ec == std::errc() ? std::string(buffer, end) : std::string("0");
}

std::string Hex(Colour c) {
    static const char digits[] = "0123456789ABCDEF";
    std::string s = "#";
    for (int v : {RedOf(c), GreenOf(c), BlueOf(c)}) {
        s += digits[v >> 4];
        s += digits[v & 15];
    }
    return s;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// Text for XML content and attributes: markup characters escaped, malformed UTF-8 and
// characters XML does not allow replaced, so the file stays well formed whatever the text.
std::string Xml(std::string_view text) {
    std::string out;
    for (char32_t c : DecodeUtf8(text)) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&apos;";
                break;
            default:
                if ((c < 0x20 && c != '\t') || c == 0xFFFE || c == 0xFFFF) c = 0xFFFD;
                AppendUtf8(out, c);
        }
    }
    return out;
}

std::string PointList(const std::vector<Point>& points) {
    std::string s;
    for (Point p : points) {
        if (!s.empty()) s += ' ';
        s += std::to_string(p.x) + ',' + std::to_string(p.y);
    }
    return s;
}

class SvgWriter {
  public:
    std::string out;

    void body(const Picture& picture) {
        PlayState s;
        int openGroups = 0;
        for (const PictureOp& op : picture.operations()) {
            if (s.apply(op)) continue;
            std::visit(
                Overloaded{
                    [](const auto&) {},  // state, taken over by apply
                    [&](const draw::LineTo& o) {
                        out += "<line x1=\"" + Num(s.position.x) + "\" y1=\"" + Num(s.position.y) +
                               "\" x2=\"" + Num(o.to.x) + "\" y2=\"" + Num(o.to.y) + "\"" +
                               stroke(s.pen) + "/>\n";
                        s.position = o.to;
                    },
                    [&](const draw::Polyline& o) {
                        out += "<polyline points=\"" + PointList(o.points) + "\" fill=\"none\"" +
                               stroke(s.pen) + "/>\n";
                    },
                    [&](const draw::Polygon& o) {
                        out += "<polygon points=\"" + PointList(o.points) +
                               "\" fill-rule=\"evenodd\"" + fill(s.brush) + stroke(s.pen) + "/>\n";
                    },
                    [&](const draw::Ellipse& o) {
                        Rect b = NormaliseRect(o.box);
                        out += "<ellipse cx=\"" + Num((double(b.left) + b.right) / 2) + "\" cy=\"" +
                               Num((double(b.top) + b.bottom) / 2) + "\" rx=\"" +
                               Num(b.width() / 2.0) + "\" ry=\"" + Num(b.height() / 2.0) + "\"" +
                               fill(s.brush) + stroke(s.pen) + "/>\n";
                    },
                    [&](const draw::Arc& o) { arc(o, s.pen); },
                    [&](const draw::Rectangle& o) {
                        Rect b = NormaliseRect(o.box);
                        out += "<rect x=\"" + Num(b.left) + "\" y=\"" + Num(b.top) + "\" width=\"" +
                               Num(b.width()) + "\" height=\"" + Num(b.height()) + "\"" +
                               fill(s.brush) + stroke(s.pen) + "/>\n";
                    },
                    [&](const draw::Text& o) {
                        double px = s.font.size * kPixelsPerPoint;
                        // the text cell's top left is given; SVG places the baseline
                        out += "<text x=\"" + Num(o.topLeft.x) + "\" y=\"" +
                               Num(o.topLeft.y + 0.9 * px) + "\" font-family=\"" +
                               fontFamily(s.font.name) + "\" font-size=\"" + Num(px) +
                               "\" fill=\"" + Hex(s.font.colour) + "\">" + Xml(o.text) +
                               "</text>\n";
                    },
                    [&](const draw::Pixel& o) {
                        out += "<rect x=\"" + Num(o.at.x) + "\" y=\"" + Num(o.at.y) +
                               "\" width=\"1\" height=\"1\" fill=\"" + Hex(o.colour) + "\"/>\n";
                    },
                    [&](const draw::ClipRect& o) {
                        Rect b = NormaliseRect(o.box);
                        std::string id = "clip" + std::to_string(++ids_);
                        out += "<clipPath id=\"" + id + "\"><rect x=\"" + Num(b.left) + "\" y=\"" +
                               Num(b.top) + "\" width=\"" + Num(b.width()) + "\" height=\"" +
                               Num(b.height()) + "\"/></clipPath>\n<g clip-path=\"url(#" + id +
                               ")\">\n";
                        ++openGroups;
                    },
                    [&](const draw::DrawPicture& o) {
                        const Picture& inner = *o.picture;
                        if (inner.width() <= 0 || inner.height() <= 0) return;
                        out += "<g transform=\"matrix(" +
                               Num(double(o.dest.width()) / inner.width()) + " 0 0 " +
                               Num(double(o.dest.height()) / inner.height()) + " " +
                               Num(o.dest.left) + " " + Num(o.dest.top) + ")\">\n";
                        // thin lines stay one pixel of the outermost picture wide
                        const double unit = pixel_;
                        pixel_ /= (std::abs(double(o.dest.width()) / inner.width()) +
                                   std::abs(double(o.dest.height()) / inner.height())) /
                                  2;
                        if (!(pixel_ > 0 && std::isfinite(pixel_))) pixel_ = unit;
                        body(inner);
                        pixel_ = unit;
                        out += "</g>\n";
                    },
                    [&](const draw::DrawRaster& o) {
                        const Raster& r = *o.raster;
                        if (r.empty() || o.dest.empty()) return;
                        out += "<image x=\"" + Num(o.dest.left) + "\" y=\"" + Num(o.dest.top) +
                               "\" width=\"" + Num(o.dest.width()) + "\" height=\"" +
                               Num(o.dest.height()) +
                               "\" preserveAspectRatio=\"none\" image-rendering=\"optimizeSpeed\""
                               " style=\"image-rendering:pixelated\" "
                               "xlink:href=\"data:image/png;base64," +
                               EncodeBase64(EncodePng(r, o.whiteTransparent)) + "\"/>\n";
                    },
                },
                op);
        }
        while (openGroups-- > 0) out += "</g>\n";
    }

  private:
    static std::string fontFamily(const std::string& name) {
        std::string n = Xml(name);
        return n.empty() ? "sans-serif" : "&apos;" + n + "&apos;, sans-serif";
    }

    static std::string fill(const Brush& b) {
        return b.style == BrushStyle::Clear ? " fill=\"none\"" : " fill=\"" + Hex(b.colour) + "\"";
    }

    // An explicit width in the group's own units rather than a non-scaling stroke, which not
    // every renderer knows.
    std::string stroke(const Pen& p) const {
        if (p.style == PenStyle::Clear) return " stroke=\"none\"";
        std::string s;
        if (p.mode == PenMode::Invert)
            s = " stroke=\"#FFFFFF\" style=\"mix-blend-mode:difference\"";  // XOR with white
        else
            s = " stroke=\"" + Hex(p.colour) + "\"";
        if (p.width <= 1)
            s += " stroke-width=\"" + Num(pixel_) + "\"";
        else
            s += " stroke-width=\"" + Num(p.width) +
                 "\" stroke-linecap=\"round\" stroke-linejoin=\"round\"";
        if (p.style == PenStyle::Dot)
            s += " stroke-dasharray=\"" + Num(3 * pixel_) + " " + Num(3 * pixel_) + "\"";
        return s;
    }

    void arc(const draw::Arc& o, const Pen& pen) {
        Rect b = NormaliseRect(o.box);
        double a = b.width() / 2.0, bb = b.height() / 2.0;
        if (a <= 0 || bb <= 0) return;
        double cx = (double(b.left) + b.right) / 2, cy = (double(b.top) + b.bottom) / 2;
        double s = std::atan2(cy - o.start.y, o.start.x - cx);
        double e = std::atan2(cy - o.end.y, o.end.x - cx);
        double sweep = std::fmod(e - s, 2 * std::numbers::pi);
        if (sweep < 0) sweep += 2 * std::numbers::pi;
        if (sweep == 0) {
            out += "<ellipse cx=\"" + Num(cx) + "\" cy=\"" + Num(cy) + "\" rx=\"" + Num(a) +
                   "\" ry=\"" + Num(bb) + "\" fill=\"none\"" + stroke(pen) + "/>\n";
            return;
        }
        // where the radials meet the ellipse
        auto onEllipse = [&](double phi) {
            double c = std::cos(phi), sn = std::sin(phi);
            double t = 1 / std::sqrt((c / a) * (c / a) + (sn / bb) * (sn / bb));
            return std::pair{cx + t * c, cy - t * sn};
        };
        auto [x1, y1] = onEllipse(s);
        auto [x2, y2] = onEllipse(e);
        // counter-clockwise on the screen is SVG's negative sweep direction
        out += "<path d=\"M " + Num(x1) + " " + Num(y1) + " A " + Num(a) + " " + Num(bb) + " 0 " +
               (sweep > std::numbers::pi ? "1" : "0") + " 0 " + Num(x2) + " " + Num(y2) +
               "\" fill=\"none\"" + stroke(pen) + "/>\n";
    }

    int ids_ = 0;
    double pixel_ = 1;  // one pixel of the outermost picture in the current units
};

}  // namespace

void Picture::clear() {
    ops_.clear();
    pen_ = Pen{};
    brush_ = Brush{};
    font_ = Font{};
}

void Picture::setPen(const Pen& pen) {
    pen_ = pen;
    ops_.push_back(draw::SetPen{pen});
}

void Picture::setBrush(const Brush& brush) {
    brush_ = brush;
    ops_.push_back(draw::SetBrush{brush});
}

void Picture::setFont(const Font& font) {
    font_ = font;
    ops_.push_back(draw::SetFont{font});
}

void Picture::moveTo(Point to) {
    ops_.push_back(draw::MoveTo{to});
}
void Picture::lineTo(Point to) {
    ops_.push_back(draw::LineTo{to});
}
void Picture::polyline(std::vector<Point> points) {
    ops_.push_back(draw::Polyline{std::move(points)});
}
void Picture::polygon(std::vector<Point> points) {
    ops_.push_back(draw::Polygon{std::move(points)});
}
void Picture::ellipse(const Rect& box) {
    ops_.push_back(draw::Ellipse{box});
}
void Picture::arc(const Rect& box, Point start, Point end) {
    ops_.push_back(draw::Arc{box, start, end});
}
void Picture::rectangle(const Rect& box) {
    ops_.push_back(draw::Rectangle{box});
}
void Picture::text(Point topLeft, std::string text) {
    ops_.push_back(draw::Text{topLeft, std::move(text)});
}
void Picture::pixel(Point at, Colour colour) {
    ops_.push_back(draw::Pixel{at, colour & kWhite});
}
void Picture::clipRect(const Rect& box) {
    ops_.push_back(draw::ClipRect{box});
}

void Picture::drawPicture(const Rect& dest, const Picture& picture) {
    ops_.push_back(draw::DrawPicture{dest, std::make_shared<const Picture>(picture)});
}

void Picture::drawRaster(const Rect& dest, const Raster& raster, bool whiteTransparent) {
    ops_.push_back(
        draw::DrawRaster{dest, std::make_shared<const Raster>(raster), whiteTransparent});
}

void Picture::playOnto(Raster& target, const Rect& dest) const {
    if (width_ <= 0 || height_ <= 0) return;
    Play(*this, target, Transform{}.into(dest, width_, height_));
}

Raster Picture::rasterize() const {
    Raster r(width_, height_);
    playOnto(r, {0, 0, width_, height_});
    return r;
}

std::string Picture::toSvg() const {
    SvgWriter w;
    const std::string wd = std::to_string(std::max(width_, 0)),
                      ht = std::to_string(std::max(height_, 0));
    w.out =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" "
        "xmlns:xlink=\"http://www.w3.org/1999/xlink\" version=\"1.1\" width=\"" +
        wd + "\" height=\"" + ht + "\" viewBox=\"0 0 " + wd + " " + ht +
        "\" shape-rendering=\"crispEdges\">\n";
    w.body(*this);
    w.out += "</svg>\n";
    return std::move(w.out);
}

void Picture::writeSvg(const std::string& path) const {
    WriteTextFileAtomic(path, toSvg());
}

}  // namespace umbrix
