#pragma once
// A recorded vector drawing with a declared size, standing in for the platform's metafiles.
// Drawing calls are recorded in order together with the pen, brush and font in force; the
// recording plays back onto a Raster scaled into any rectangle (never anti-aliased) and writes
// itself as SVG. A front end with a painter of its own can walk operations() instead.
//
// Playback starts, like a fresh drawing surface, with a black one-pixel solid pen, a white
// solid brush, the default font and the pen position (0, 0); a nested picture starts afresh in
// the same way and leaves its caller's state and clip untouched. Nothing is clipped to the
// declared size unless clipRect asks for it, so labels beside a diagram stay visible.
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "platform/Raster.h"

namespace umbrix {

struct Font {
    std::string name = "Arial";
    int size = 8;  // points; one point is 96/72 picture units
    Colour colour = kBlack;
    friend bool operator==(const Font&, const Font&) = default;
};

class Picture;

// The recorded operations.
namespace draw {
struct SetPen {
    Pen pen;
};
struct SetBrush {
    Brush brush;
};
struct SetFont {
    Font font;
};
struct MoveTo {
    Point to;
};
// A line from the pen position, its last pixel excluded; the pen position moves to `to`.
struct LineTo {
    Point to;
};
struct Polyline {
    std::vector<Point> points;
};
struct Polygon {
    std::vector<Point> points;
};
struct Ellipse {
    Rect box;
};
struct Arc {
    Rect box;
    Point start;
    Point end;
};
struct Rectangle {
    Rect box;
};
// Top left of the text cell; the font colour, no background.
struct Text {
    Point topLeft;
    std::string text;
};
struct Pixel {
    Point at;
    Colour colour;
};
// Later drawing is restricted to this rectangle as well (intersected with any earlier one).
struct ClipRect {
    Rect box;
};
struct DrawPicture {
    Rect dest;
    std::shared_ptr<const Picture> picture;
};
struct DrawRaster {
    Rect dest;
    std::shared_ptr<const Raster> raster;
    bool whiteTransparent = false;
};
}  // namespace draw

using PictureOp =
    std::variant<draw::SetPen, draw::SetBrush, draw::SetFont, draw::MoveTo, draw::LineTo,
                 draw::Polyline, draw::Polygon, draw::Ellipse, draw::Arc, draw::Rectangle,
                 draw::Text, draw::Pixel, draw::ClipRect, draw::DrawPicture, draw::DrawRaster>;

class Picture {
  public:
    Picture() = default;
    Picture(int width, int height) : width_(width), height_(height) {}

    int width() const { return width_; }
    int height() const { return height_; }
    // Changes the declared size only; the recording stays.
    void setSize(int width, int height) {
        width_ = width;
        height_ = height;
    }
    bool empty() const { return ops_.empty(); }
    const std::vector<PictureOp>& operations() const { return ops_; }
    // Forgets the recording and the drawing state; the size stays.
    void clear();

    const Pen& pen() const { return pen_; }
    const Brush& brush() const { return brush_; }
    const Font& font() const { return font_; }
    void setPen(const Pen& pen);
    void setBrush(const Brush& brush);
    void setFont(const Font& font);

    void moveTo(Point to);
    void lineTo(Point to);
    void polyline(std::vector<Point> points);
    void polygon(std::vector<Point> points);
    void ellipse(const Rect& box);
    void arc(const Rect& box, Point start, Point end);
    void rectangle(const Rect& box);
    void text(Point topLeft, std::string text);
    void pixel(Point at, Colour colour);
    void clipRect(const Rect& box);
    // The other picture as it is now, scaled from its declared size into dest.
    void drawPicture(const Rect& dest, const Picture& picture);
    void drawRaster(const Rect& dest, const Raster& raster, bool whiteTransparent = false);

    // Plays the recording onto target, (0, 0)-(width, height) scaled to dest. Pen widths scale
    // too; widths 0 and 1 stay one pixel.
    void playOnto(Raster& target, const Rect& dest) const;
    // A white raster of the declared size with the picture drawn on it.
    Raster rasterize() const;

    // One SVG element per drawing operation; colours as #RRGGBB, nested pictures as
    // transformed groups, rasters as embedded PNG.
    std::string toSvg() const;
    void writeSvg(const std::string& path) const;

  private:
    int width_ = 0;
    int height_ = 0;
    Pen pen_;
    Brush brush_;
    Font font_;
    std::vector<PictureOp> ops_;
};

}  // namespace umbrix
