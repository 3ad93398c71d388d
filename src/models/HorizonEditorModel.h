#pragma once
// The horizon limitation editor: the horizon painted by hand onto the fisheye frame (the first
// horizon source of the fisheye image), with an albedo map and an emission coefficient map of
// the painted areas. Polygons by clicking (to the edge of the horizon or not), 4-connected
// flood fill, colour picking, cutting off bright parts of a loaded picture, monochrome, a
// three-step undo with redo, and horizon files as 481 x 481 24-bit bitmaps.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "models/ComponentNames.h"
#include "models/MainWindowLink.h"
#include "models/UndoHistory.h"
#include "platform/FormModel.h"
#include "platform/Raster.h"

namespace umbrix {

constexpr int kHorizonSize = 481;
constexpr int kHorizonCentre = 240;
constexpr int kHorizonRadius = 240;

// Screen angle of a pixel about the centre: 0 to the right (east), growing clockwise on the
// screen (towards the bottom), in -pi .. pi.
double ScreenAngle(Point p);
// The point at screen angle theta on the horizon circle.
Point HorizonCirclePoint(double theta);
// True when the pixel lies inside or on the horizon circle (dx^2 + dy^2 <= 57600).
bool InsideHorizonCircle(Point p);

// Closing a polygon along the horizon circle from the last point's direction theta1 back to
// the first one's theta0, counter-clockwise on the screen: n = trunc((theta1 - theta0) / 2pi *
// 100) + 2 points, theta1 raised by 2pi when below theta0.
std::vector<Point> HorizonClosingPoints(double theta0, double theta1);

// The three pictures the editor paints together.
struct HorizonPictures {
    Raster drawing{kHorizonSize, kHorizonSize};
    Raster albedo{kHorizonSize, kHorizonSize};
    Raster emission{kHorizonSize, kHorizonSize};
    friend bool operator==(const HorizonPictures&, const HorizonPictures&) = default;
};

// Colours of the two maps: green byte round(a * 255), red byte round(e * 255).
Colour AlbedoColour(double albedo);
Colour EmissionColour(double emission);

// 4-connected flood fill from seed over the drawing's colours within 64 (sum of channel
// differences) of the seed's, in columns and rows 0 .. 479; each joined pixel gets the brush
// colour in the drawing and the map colours in the maps. Depth first with an explicit stack,
// neighbours in the order right, left, down, up. `step` (may be empty) is called now and then
// so that the user interface stays responsive. Returns the number of pixels painted.
std::size_t FloodFillHorizon(HorizonPictures& pictures, Point seed, Colour brush, Colour albedo,
                             Colour emission, const std::function<void()>& step = {});

// Whites every pixel of all three pictures whose channels all reach the cut-off colour's, or
// that lies outside the horizon circle ((2x/W - 1)^2 + (2y/H - 1)^2 > 1). `row` (may be empty)
// is called after each row.
void CutOffBright(HorizonPictures& pictures, Colour cutoff, const std::function<void()>& row = {});

// Every non-white pixel becomes black.
void MakeMonochrome(Raster& drawing);

enum class PointerCursor { Default, Cross, Pipette };

struct PointerFeedback {
    PointerCursor cursor = PointerCursor::Default;
    std::string hint;  // empty: no hint
};

class HorizonEditorModel : public FormModel {
  public:
    // mainWindow: where the drawing takes part in the horizon or not.
    HorizonEditorModel(Host& host, MainWindowLink& mainWindow);

    static constexpr int kMaxPolygonPoints = 100;
    static constexpr int kUndoDepth = 3;
    static constexpr Colour kDefaultBrush = 0xA0A0A0;
    // Bitmap files larger than this are refused before they are read: an uncompressed
    // 481 x 481 bitmap takes less than 1 MB even at 32 bits a pixel.
    static constexpr std::uintmax_t kMaxBitmapFileBytes = std::uintmax_t(4) << 20;

    void setMainCaption(const std::string& mainCaption);
    // The language of the editor's messages.
    void setGerman(bool german) { german_ = german; }

    // ---- commands ----
    void newDrawing();
    void openDrawing();
    // Loads a bitmap as Open does after its dialog. Throws FileError when it cannot be read or
    // is not 481 x 481 pixels (the drawing stays as it was).
    void openDrawingFile(const std::string& path);
    void importDrawing();
    void importDrawingFile(const std::string& path);
    // Pictures from elsewhere (a project file), an undoable step; `takesPart` sets "Sky view
    // factor" in the main window.
    void replacePictures(HorizonPictures pictures, bool takesPart);
    void saveDrawing();
    void saveDrawingFile(const std::string& path) const;
    void CutOff();
    void Monochrome();
    void Undo();
    // Takes back the last undo; a new change after an undo drops what could be redone.
    void Redo();
    void moveTrackBar(const std::string& name, int position);

    // ---- pointer over the picture (image pixels) ----
    PointerFeedback pointerMove(int X, int Y) const;
    void pointerPress(int X, int Y);
    void pointerRelease(int X, int Y) {
        (void)X;
        (void)Y;
    }
    void pointerDoubleClick(int X, int Y);

    // ---- state ----
    const HorizonPictures& pictures() const { return pictures_; }
    const Raster& drawing() const { return pictures_.drawing; }
    // The picture shown: the drawing, or a map while its display button is down.
    const Raster& displayed() const;
    Colour brushColour() const { return brush_; }
    Colour cutOffColour() const;
    double albedo() const { return albedo_; }
    double emission() const { return emission_; }
    // The polygon under construction; the view draws it as the preview line.
    const std::vector<Point>& polygon() const { return points_; }
    std::size_t undoDepth() const { return history_.undoCount(); }
    std::size_t redoDepth() const { return history_.redoCount(); }
    // The bitmap file last opened (empty before).
    const std::string& drawingFile() const { return drawingFile_; }

  protected:
    void onExit(const std::string& name) override;
    void onClick(const std::string& name) override;

  private:
    struct Snapshot {
        HorizonPictures pictures;
        bool sourceChecked = false;  // "Sky view factor" as it was
    };

    void buildControls();
    void pushUndo();
    Snapshot snapshot() const;
    void restore(Snapshot state);
    void updateUndoButtons();
    void releaseDisplay();
    // After Open or Import: the drawing counts, and the table needs a new "&New".
    void drawingReplaced();
    std::optional<std::string> askOpenPath(const char* title, const char* filter,
                                           const char* defaultExt);
    void setDrawGroupEnabled(bool enabled);
    void setMainItem(bool checked);
    void disableAdd();
    bool displayDown() const {
        return checked(horizon_editor::AlbBtn) || checked(horizon_editor::EmiBtn);
    }
    void addPoint(Point p);
    void closePolygon();
    void fill(Point seed);
    void pick(Point p);
    void toggleDisplay(const std::string& name);

    MainWindowLink& main_;
    HorizonPictures pictures_;
    Colour brush_ = kDefaultBrush;
    double albedo_ = 0.3;
    double emission_ = 0.95;
    bool german_ = false;
    std::vector<Point> points_;
    double theta0_ = 0;
    UndoHistory<Snapshot> history_{kUndoDepth};
    std::string drawingFile_;
};

}  // namespace umbrix
