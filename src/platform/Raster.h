#pragma once
// A 24-bit picture with pixel access and simple drawing, standing in for the platform's
// bitmaps. Drawing is never anti-aliased: every pixel ends up exactly the pen or brush colour
// or is left untouched, because the horizon code treats any colour but pure white as an
// obstruction.
//
// Coordinates: x to the right, y downwards; pixel (x, y) covers the square from (x, y) to
// (x + 1, y + 1), so its centre is (x + 0.5, y + 0.5). Bounding rectangles exclude their right
// and bottom edges, as the platform's canvas does.
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace umbrix {

// 0xBBGGRR: the low byte is red.
using Colour = std::uint32_t;

constexpr Colour Rgb(int r, int g, int b) {
    return Colour(r & 0xFF) | (Colour(g & 0xFF) << 8) | (Colour(b & 0xFF) << 16);
}
constexpr int RedOf(Colour c) {
    return int(c & 0xFF);
}
constexpr int GreenOf(Colour c) {
    return int((c >> 8) & 0xFF);
}
constexpr int BlueOf(Colour c) {
    return int((c >> 16) & 0xFF);
}

constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kBlack = 0x000000;

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;   // exclusive
    int bottom = 0;  // exclusive
    // 64-bit: the distance between two far-apart coordinates need not fit an int
    std::int64_t width() const { return std::int64_t(right) - left; }
    std::int64_t height() const { return std::int64_t(bottom) - top; }
    bool empty() const { return right <= left || bottom <= top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// The common part of two rectangles; an empty rectangle when they do not overlap.
inline Rect IntersectRect(const Rect& a, const Rect& b) {
    Rect r{a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
           a.right < b.right ? a.right : b.right, a.bottom < b.bottom ? a.bottom : b.bottom};
    return r.empty() ? Rect{} : r;
}

// The same rectangle with left <= right and top <= bottom.
inline Rect NormaliseRect(const Rect& r) {
    return {r.left < r.right ? r.left : r.right, r.top < r.bottom ? r.top : r.bottom,
            r.left < r.right ? r.right : r.left, r.top < r.bottom ? r.bottom : r.top};
}

enum class PenStyle { Solid, Dot, Clear };
// Invert: each pixel the pen touches is XORed with white (preview lines that a second
// drawing removes again); the pen colour is then ignored.
enum class PenMode { Copy, Invert };

struct Pen {
    Colour colour = kBlack;
    int width = 1;  // pixels; 0 and 1 both give the thinnest line
    PenStyle style = PenStyle::Solid;
    PenMode mode = PenMode::Copy;
    friend bool operator==(const Pen&, const Pen&) = default;
};

enum class BrushStyle { Solid, Clear };

struct Brush {
    Colour colour = kWhite;
    BrushStyle style = BrushStyle::Solid;
    friend bool operator==(const Brush&, const Brush&) = default;
};

class Raster {
  public:
    Raster() = default;
    Raster(int width, int height, Colour fill = kWhite);

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ == 0 || height_ == 0; }
    Rect bounds() const { return {0, 0, width_, height_}; }

    // Out of range: reading gives white (free sky), writing does nothing.
    Colour pixel(int x, int y) const;
    void setPixel(int x, int y, Colour colour);

    // Whole rows for fast passes; y must lie in 0 .. height - 1.
    Colour* row(int y) { return pixels_.data() + std::size_t(y) * std::size_t(width_); }
    const Colour* row(int y) const { return pixels_.data() + std::size_t(y) * std::size_t(width_); }

    void fill(Colour colour);
    // Resizes and fills; resets the clip.
    void reset(int width, int height, Colour fill = kWhite);

    // Drawing primitives below write only inside the clip rectangle (the whole raster unless
    // set). Pixel access and fill ignore it.
    void setClip(const Rect& clip);
    void resetClip();
    const Rect& clip() const { return clip_; }

    // Draws src stretched into dest by nearest neighbour, as a stretch blit does: destination
    // column dx takes source column floor((dx - dest.left + 0.5) * srcW / destW), rows alike.
    // With whiteTransparent, white source pixels leave the target unchanged.
    void drawRaster(const Rect& dest, const Raster& src, bool whiteTransparent = false);

    // A single pixel with the clip applied.
    void plot(Point p, Colour colour);
    // From `from` towards `to`, the last pixel excluded (a line-to).
    void line(Point from, Point to, const Pen& pen);
    void polyline(std::span<const Point> points, const Pen& pen);
    // Fills the pixels whose centres lie inside (even-odd rule), then draws the closed outline
    // with the pen unless it is clear, so that even a polygon thinner than a pixel leaves a
    // trace.
    void polygon(std::span<const Point> points, const Pen& pen, const Brush& brush);
    // The ellipse inscribed in box; outline with the pen, inside with the brush.
    void ellipse(const Rect& box, const Pen& pen, const Brush& brush);
    // Outline of the ellipse inscribed in box, counter-clockwise (as seen on the screen) from
    // the radial through start to the radial through end; the whole ellipse when both radials
    // coincide.
    void arc(const Rect& box, Point start, Point end, const Pen& pen);
    void rectangle(const Rect& box, const Pen& pen, const Brush& brush);
    // UTF-8 text in a small built-in bitmap font; topLeft is the top left of the first
    // character cell, pixelHeight the cell height. Only the glyph pixels are drawn.
    void text(Point topLeft, std::string_view utf8, Colour colour, double pixelHeight);

    friend bool operator==(const Raster& a, const Raster& b) {
        return a.width_ == b.width_ && a.height_ == b.height_ && a.pixels_ == b.pixels_;
    }

  private:
    void ellipseRows(const Rect& box, const Pen* pen, const Brush* brush, bool arcOnly,
                     double startAngle, double sweep);

    int width_ = 0;
    int height_ = 0;
    Rect clip_{};
    std::vector<Colour> pixels_;
};

// Width in pixels of utf8 in the built-in font at the given cell height.
int TextWidth(std::string_view utf8, double pixelHeight);

}  // namespace umbrix
