#include "platform/Raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <numbers>

#include "platform/BitmapFont.h"

namespace umbrix {

namespace {

// Dotted pens: this many pixels on, then as many off.
constexpr int kDotRun = 3;
// Longer lines are cut to the clip first, so that a runaway coordinate cannot stall the
// drawing; shorter ones are walked whole, which keeps their pixels independent of the clip.
constexpr std::int64_t kLongLine = 1 << 15;

int PenWidth(const Pen& pen) {
    return pen.width <= 1 ? 1 : pen.width;
}

// Everything one primitive draws with the pen. In invert mode the pixels are collected and
// each is toggled once at the end, so that drawing the same primitive again restores the
// picture exactly, even where segments or thick stamps overlap.
class PenWriter {
  public:
    PenWriter(Raster& target, const Pen& pen) : target_(target), pen_(pen) {
        int w = PenWidth(pen);
        if (w > 1) {
            double half = w / 2.0;
            for (int j = 0; j < w; ++j)
                for (int i = 0; i < w; ++i) {
                    double u = i + 0.5 - half, v = j + 0.5 - half;
                    if (u * u + v * v <= half * half + 1e-9)
                        stamp_.push_back({i - w / 2, j - w / 2});
                }
        }
    }
    ~PenWriter() {
        if (pen_.mode != PenMode::Invert) return;
        std::sort(collected_.begin(), collected_.end());
        collected_.erase(std::unique(collected_.begin(), collected_.end()), collected_.end());
        for (std::int64_t index : collected_) {
            int y = int(index / target_.width()), x = int(index % target_.width());
            target_.row(y)[x] ^= kWhite;
        }
    }
    PenWriter(const PenWriter&) = delete;
    PenWriter& operator=(const PenWriter&) = delete;

    void single(std::int64_t x, std::int64_t y) {
        const Rect& c = target_.clip();
        if (x < c.left || x >= c.right || y < c.top || y >= c.bottom) return;
        if (pen_.mode == PenMode::Invert)
            collected_.push_back(std::int64_t(y) * target_.width() + x);
        else
            target_.row(y)[x] = pen_.colour & kWhite;
    }
    // A pen-sized dot centred on pixel (x, y).
    void stamp(std::int64_t x, std::int64_t y) {
        if (stamp_.empty()) return single(x, y);
        for (const Point& o : stamp_) single(x + o.x, y + o.y);
    }

    // Bresenham from a to b without b itself; pattern carries a dotted pen's phase on.
    void line(Point a, Point b, int& pattern) {
        if (a == b) return;
        std::int64_t dx = std::llabs(std::int64_t(b.x) - a.x);
        std::int64_t dy = -std::llabs(std::int64_t(b.y) - a.y);
        if (std::max(dx, -dy) > kLongLine && !clipLong(a, b)) return;
        dx = std::llabs(std::int64_t(b.x) - a.x);
        dy = -std::llabs(std::int64_t(b.y) - a.y);
        int sx = a.x < b.x ? 1 : -1, sy = a.y < b.y ? 1 : -1;
        std::int64_t err = dx + dy;
        std::int64_t x = a.x, y = a.y;
        while (x != b.x || y != b.y) {
            bool on = pen_.style != PenStyle::Dot || (pattern % (2 * kDotRun)) < kDotRun;
            ++pattern;
            if (on) stamp(x, y);
            std::int64_t e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                x += sx;
            }
            if (e2 <= dx) {
                err += dx;
                y += sy;
            }
        }
    }

  private:
    // Cuts a long segment to the clip widened by the pen (Liang-Barsky); false when nothing
    // of it is visible.
    bool clipLong(Point& a, Point& b) const {
        const Rect& c = target_.clip();
        double margin = PenWidth(pen_) + 2.0;
        double x0 = a.x, y0 = a.y, ddx = double(b.x) - a.x, ddy = double(b.y) - a.y;
        double t0 = 0, t1 = 1;
        auto edge = [&](double p, double q) {
            if (p == 0) return q >= 0;
            double t = q / p;
            if (p < 0) {
                if (t > t1) return false;
                t0 = std::max(t0, t);
            } else {
                if (t < t0) return false;
                t1 = std::min(t1, t);
            }
            return true;
        };
        if (!edge(-ddx, x0 - (c.left - margin)) || !edge(ddx, (c.right + margin) - x0) ||
            !edge(-ddy, y0 - (c.top - margin)) || !edge(ddy, (c.bottom + margin) - y0))
            return false;
        Point na{int(std::lround(x0 + t0 * ddx)), int(std::lround(y0 + t0 * ddy))};
        Point nb{int(std::lround(x0 + t1 * ddx)), int(std::lround(y0 + t1 * ddy))};
        a = na;
        b = nb;
        return true;
    }

    Raster& target_;
    Pen pen_;
    std::vector<Point> stamp_;
    std::vector<std::int64_t> collected_;
};

// Font pixels per glyph pixel: never below one, so text stays legible, and bounded, so that
// an absurd size cannot stall the drawing.
double GlyphScale(double pixelHeight) {
    double f = pixelHeight / kCellRows;
    return f > 1 ? std::min(f, 1e4) : 1.0;
}

// Dotted outlines of filled shapes: a checkerboard of 3 × 3 blocks, which every outline
// direction crosses alternately.
bool DotOff(const Pen& pen, int x, int y) {
    return pen.style == PenStyle::Dot && ((x / kDotRun + y / kDotRun) & 1);
}

}  // namespace

Raster::Raster(int width, int height, Colour fill) {
    reset(width, height, fill);
}

void Raster::reset(int width, int height, Colour fill) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    if (width_ == 0 || height_ == 0) width_ = height_ = 0;
    pixels_.assign(std::size_t(width_) * std::size_t(height_), fill & kWhite);
    clip_ = bounds();
}

Colour Raster::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return kWhite;
    return pixels_[std::size_t(y) * std::size_t(width_) + std::size_t(x)];
}

void Raster::setPixel(int x, int y, Colour colour) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[std::size_t(y) * std::size_t(width_) + std::size_t(x)] = colour & kWhite;
}

void Raster::fill(Colour colour) {
    std::fill(pixels_.begin(), pixels_.end(), colour & kWhite);
}

void Raster::setClip(const Rect& clip) {
    clip_ = IntersectRect(NormaliseRect(clip), bounds());
}

void Raster::resetClip() {
    clip_ = bounds();
}

void Raster::drawRaster(const Rect& dest, const Raster& src, bool whiteTransparent) {
    if (src.empty() || dest.empty()) return;
    if (&src == this) {
        Raster copy = src;
        drawRaster(dest, copy, whiteTransparent);
        return;
    }
    Rect c = IntersectRect(clip_, dest);
    if (c.empty()) return;
    // Integer form of floor((d + 0.5) * srcN / destN), exact for every size.
    auto sourceIndex = [](std::int64_t d, std::int64_t srcN, std::int64_t destN) {
        return int(((2 * d + 1) * srcN) / (2 * destN));
    };
    std::vector<int> columns(std::size_t(c.width()));
    for (int x = c.left; x < c.right; ++x)
        columns[std::size_t(x - c.left)] =
            sourceIndex(std::int64_t(x) - dest.left, src.width_, dest.width());
    for (int y = c.top; y < c.bottom; ++y) {
        const Colour* s =
            src.row(sourceIndex(std::int64_t(y) - dest.top, src.height_, dest.height()));
        Colour* d = row(y) + c.left;
        if (whiteTransparent) {
            for (std::size_t i = 0; i < columns.size(); ++i) {
                Colour v = s[columns[i]];
                if (v != kWhite) d[i] = v;
            }
        } else {
            for (std::size_t i = 0; i < columns.size(); ++i) d[i] = s[columns[i]];
        }
    }
}

void Raster::plot(Point p, Colour colour) {
    if (p.x < clip_.left || p.x >= clip_.right || p.y < clip_.top || p.y >= clip_.bottom) return;
    row(p.y)[p.x] = colour & kWhite;
}

void Raster::line(Point from, Point to, const Pen& pen) {
    if (pen.style == PenStyle::Clear || empty()) return;
    PenWriter writer(*this, pen);
    int pattern = 0;
    writer.line(from, to, pattern);
}

void Raster::polyline(std::span<const Point> points, const Pen& pen) {
    if (pen.style == PenStyle::Clear || empty()) return;
    PenWriter writer(*this, pen);
    int pattern = 0;
    for (std::size_t i = 1; i < points.size(); ++i) writer.line(points[i - 1], points[i], pattern);
}

void Raster::polygon(std::span<const Point> points, const Pen& pen, const Brush& brush) {
    if (points.size() < 2 || empty()) return;
    if (brush.style == BrushStyle::Solid && points.size() >= 3 && !clip_.empty()) {
        // Crossings of every edge with the rows' centre lines, then even-odd spans per row.
        struct Crossing {
            int y;
            double x;
        };
        std::vector<Crossing> crossings;
        std::size_t n = points.size();
        for (std::size_t i = 0; i < n; ++i) {
            Point a = points[i], b = points[(i + 1) % n];
            if (a.y == b.y) continue;
            if (a.y > b.y) std::swap(a, b);
            // rows whose centre y + 0.5 lies in [a.y, b.y)
            int y0 = std::max(a.y, clip_.top), y1 = std::min(b.y, clip_.bottom);
            double slope = (double(b.x) - a.x) / (double(b.y) - a.y);
            for (int y = y0; y < y1; ++y) crossings.push_back({y, a.x + (y + 0.5 - a.y) * slope});
        }
        std::sort(crossings.begin(), crossings.end(), [](const Crossing& p, const Crossing& q) {
            return p.y != q.y ? p.y < q.y : p.x < q.x;
        });
        // a closed outline crosses every row an even number of times: pair them up
        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
            const Crossing& l = crossings[i];
            const Crossing& r = crossings[i + 1];
            if (l.y != r.y) {
                --i;  // cannot happen for a closed outline; resynchronise on the next row
                continue;
            }
            double first = std::ceil(l.x - 0.5), last = std::ceil(r.x - 0.5) - 1;
            first = std::max(first, double(clip_.left));
            last = std::min(last, double(clip_.right - 1));
            if (first > last) continue;
            Colour* d = row(l.y);
            std::fill(d + int(first), d + int(last) + 1, brush.colour & kWhite);
        }
    }
    if (pen.style != PenStyle::Clear) {
        PenWriter writer(*this, pen);
        int pattern = 0;
        for (std::size_t i = 0; i < points.size(); ++i)
            writer.line(points[i], points[(i + 1) % points.size()], pattern);
    }
}

// Rows of the ellipse inscribed in box: the brush fills the pixels whose centres lie inside
// the ellipse shrunk by the pen width, the pen takes the ring between that and the ellipse
// (only the part within the counter-clockwise sweep for an arc).
void Raster::ellipseRows(const Rect& box0, const Pen* pen, const Brush* brush, bool arcOnly,
                         double startAngle, double sweep) {
    Rect box = NormaliseRect(box0);
    if (box.empty() || empty()) return;
    double cx = (double(box.left) + box.right) / 2, cy = (double(box.top) + box.bottom) / 2;
    double a = box.width() / 2.0, b = box.height() / 2.0;
    int pw = pen ? PenWidth(*pen) : 0;
    double ai = a - pw, bi = b - pw;
    std::unique_ptr<PenWriter> writer;
    if (pen) writer = std::make_unique<PenWriter>(*this, *pen);
    // span ends beyond the clip only matter as "beyond": keep them in int range
    auto column = [&](double x) {
        return int(std::clamp(x, double(clip_.left) - 1, double(clip_.right)));
    };
    int y0 = std::max(box.top, clip_.top), y1 = std::min(box.bottom, clip_.bottom);
    for (int y = y0; y < y1; ++y) {
        double dy = y + 0.5 - cy;
        if (std::abs(dy) > b) continue;
        double hw = a * std::sqrt(std::max(0.0, 1 - (dy / b) * (dy / b)));
        int x0 = column(std::ceil(cx - hw - 0.5)), x1 = column(std::floor(cx + hw - 0.5));
        // inner pixels: centre strictly inside the shrunk ellipse
        int i0 = 1, i1 = 0;
        if (pen && ai > 0 && bi > 0 && std::abs(dy) < bi) {
            double hwi = ai * std::sqrt(1 - (dy / bi) * (dy / bi));
            i0 = column(std::floor(cx - hwi - 0.5) + 1);
            i1 = column(std::ceil(cx + hwi - 0.5) - 1);
        } else if (!pen) {
            i0 = x0, i1 = x1;
        }
        if (brush && brush->style == BrushStyle::Solid && i0 <= i1) {
            int f0 = std::max(i0, clip_.left), f1 = std::min(i1, clip_.right - 1);
            if (f0 <= f1) std::fill(row(y) + f0, row(y) + f1 + 1, brush->colour & kWhite);
        }
        if (!pen) continue;
        for (int x = std::max(x0, clip_.left); x <= std::min(x1, clip_.right - 1); ++x) {
            if (x >= i0 && x <= i1) {
                x = i1;  // skip the inside
                continue;
            }
            if (DotOff(*pen, x, y)) continue;
            if (arcOnly) {
                double phi = std::atan2(cy - (y + 0.5), x + 0.5 - cx);
                double rel = std::fmod(phi - startAngle, 2 * std::numbers::pi);
                if (rel < 0) rel += 2 * std::numbers::pi;
                if (rel > sweep) continue;
            }
            writer->single(x, y);
        }
    }
}

void Raster::ellipse(const Rect& box, const Pen& pen, const Brush& brush) {
    ellipseRows(box, pen.style == PenStyle::Clear ? nullptr : &pen, &brush, false, 0, 0);
}

void Raster::arc(const Rect& box0, Point start, Point end, const Pen& pen) {
    if (pen.style == PenStyle::Clear) return;
    Rect box = NormaliseRect(box0);
    double cx = (double(box.left) + box.right) / 2, cy = (double(box.top) + box.bottom) / 2;
    // angles as seen on the screen: counter-clockwise positive
    double s = std::atan2(cy - start.y, start.x - cx);
    double e = std::atan2(cy - end.y, end.x - cx);
    double sweep = std::fmod(e - s, 2 * std::numbers::pi);
    if (sweep < 0) sweep += 2 * std::numbers::pi;
    if (sweep == 0) sweep = 2 * std::numbers::pi;
    ellipseRows(box, &pen, nullptr, true, s, sweep);
}

void Raster::rectangle(const Rect& box0, const Pen& pen, const Brush& brush) {
    Rect box = NormaliseRect(box0);
    if (box.empty() || empty()) return;
    if (brush.style == BrushStyle::Solid) {
        Rect f = IntersectRect(box, clip_);
        for (int y = f.top; y < f.bottom; ++y)
            std::fill(row(y) + f.left, row(y) + f.right, brush.colour & kWhite);
    }
    if (pen.style == PenStyle::Clear) return;
    const Point corners[] = {{box.left, box.top},
                             {box.right - 1, box.top},
                             {box.right - 1, box.bottom - 1},
                             {box.left, box.bottom - 1},
                             {box.left, box.top}};
    if (box.width() == 1 || box.height() == 1) {
        // a line: walk it once so that an inverting pen does not cancel itself
        PenWriter writer(*this, pen);
        for (int y = box.top; y < box.bottom; ++y)
            for (int x = box.left; x < box.right; ++x)
                if (!DotOff(pen, x, y)) writer.stamp(x, y);
        return;
    }
    polyline(corners, pen);
}

void Raster::text(Point topLeft, std::string_view utf8, Colour colour, double pixelHeight) {
    const double f = GlyphScale(pixelHeight);
    const int glyphW = int(std::ceil(kGlyphColumns * f)), glyphH = int(std::ceil(kGlyphRows * f));
    // only the part of each glyph box inside the clip is visited
    const std::int64_t top = topLeft.y;
    const int j0 = int(std::clamp<std::int64_t>(clip_.top - top, 0, glyphH));
    const int j1 = int(std::clamp<std::int64_t>(clip_.bottom - top, 0, glyphH));
    std::vector<char32_t> codes = DecodeUtf8(utf8);
    for (std::size_t k = 0; k < codes.size(); ++k) {
        const std::int64_t left = topLeft.x + std::llround(double(k) * kCellColumns * f);
        if (left >= clip_.right) break;
        const int i0 = int(std::clamp<std::int64_t>(clip_.left - left, 0, glyphW));
        const int i1 = int(std::clamp<std::int64_t>(clip_.right - left, 0, glyphW));
        const auto& glyph = GlyphColumns(codes[k]);
        for (int i = i0; i < i1; ++i) {
            int gc = int((i + 0.5) / f);
            if (gc >= kGlyphColumns) continue;
            for (int j = j0; j < j1; ++j) {
                int gr = int((j + 0.5) / f);
                if (gr < kGlyphRows && (glyph[gc] >> gr) & 1)
                    row(int(top + j))[left + i] = colour & kWhite;
            }
        }
    }
}

int TextWidth(std::string_view utf8, double pixelHeight) {
    double f = GlyphScale(pixelHeight);
    return int(std::lround(double(DecodeUtf8(utf8).size()) * kCellColumns * f));
}

}  // namespace umbrix
