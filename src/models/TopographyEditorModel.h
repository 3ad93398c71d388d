#pragma once
// The topography editor: the grid settings, the terrain window around the location read from
// a topography file, the shaded relief map with its edit point, and "&Close", which computes
// the terrain horizon and records it as the topography horizon picture (the second horizon
// source of the fisheye image).
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "horizon/Terrain.h"
#include "models/MainWindowLink.h"
#include "platform/FormModel.h"
#include "platform/Picture.h"
#include "platform/Raster.h"

namespace umbrix {

class TopographyEditorModel : public FormModel {
  public:
    // mainWindow: where the terrain horizon takes part in the horizon or not.
    TopographyEditorModel(Host& host, MainWindowLink& mainWindow);

    static constexpr int kMapSize = 401;
    static constexpr int kMarkerRadius = 4;

    void setGerman(bool german) { german_ = german; }
    // The main window's caption follows " - " in this window's caption.
    void setMainCaption(const std::string& mainCaption);

    // ---- commands (buttons and menu items) ----
    void newTopography();
    void openTopography();
    // Reads the file as the open dialog would have chosen it; false when it was not readable.
    bool openTopographyFile(const std::string& path);
    void saveTopography();
    void updateMap();
    // Computes the terrain horizon and closes; false when the location is underground.
    bool closeAndComputeHorizon();

    // ---- pointer on the map (TopoImg pixels) ----
    void mapMove(int X, int Y);
    void mapClick(int X, int Y);
    void mapDoubleClick(int X, int Y);
    // ---- keys in the height field ----
    void heightEnter();
    void heightEscape();

    // ---- state ----
    const TopoGrid& grid() const { return grid_; }
    double x0() const { return x0_; }
    double y0() const { return y0_; }
    double z0() const { return z0_; }
    const TopoWindow& window() const { return window_; }
    int editColumn() const { return editC_; }
    int editRow() const { return editR_; }
    bool hasFile() const { return !filePath_.empty(); }
    const std::string& filePath() const { return filePath_; }
    std::uint64_t fileValueCount() const { return fileCount_; }
    // True when the file's values are held in memory (not only the window of a huge file).
    bool holdsAllValues() const { return keepAll_; }
    // The last terrain horizon (normalised elevations, 361 entries) and its picture.
    const std::array<double, 361>& horizon() const { return horizon_; }
    const Picture& horizonPicture() const { return horizonPicture_; }
    const Raster& map() const {
        drawMapsIfStale();
        return map_;
    }
    // The same map as the window shows it: the relief lit from the north-west (45 degrees
    // high), which shows slopes of every direction; grid lines and markers as on map().
    const Raster& shadedMap() const {
        drawMapsIfStale();
        return shadedMap_;
    }
    // Heights typed by hand, by file point (i, j); a project keeps them.
    using TypedHeights = std::map<std::pair<std::int64_t, std::int64_t>, float>;
    const TypedHeights& typedHeights() const { return edits_; }
    // Takes heights over as if typed again (after the file they were typed on is open).
    void restoreTypedHeights(TypedHeights heights);
    // The control that has the keyboard focus, for the view ("EditZp" after a double click).
    const std::string& focused() const { return focused_; }

    // File values held at most; a larger file keeps only its window and is read again when
    // the location moves.
    static constexpr std::uint64_t kMaxHeldValues = std::uint64_t(1) << 22;
    void setMaxHeldValues(std::uint64_t limit) { maxHeld_ = limit; }

  protected:
    void onChange(const std::string& name) override;
    void onExit(const std::string& name) override;
    void onClick(const std::string& name) override;
    void onSelect(const std::string& name) override;

  private:
    std::string say(const std::string& english, const std::string& german) const {
        return german_ ? german : english;
    }
    void buildControls();
    void setMainItem(bool checked);
    void disableAdd();

    void leaveGridSetting(const std::string& name);
    void leaveLocation(const std::string& name);
    void leaveEditCoordinate(const std::string& name);
    void storeHeight();
    void selectPoint(int c, int r);
    void showEditPoint();
    void showLocationFields();
    void updateEdgeLabels();
    void setEdgeLabelsEnabled(bool enabled);
    // Forgets the file values, typed heights and window; `path` becomes the file held.
    void forgetFile(const std::string& path);
    void extractWindow();
    bool readFile(const std::string& path, bool intoHeldValues);
    // Why the file's grid does not hold the location's grid point ("" when it does, or when no
    // file is open).
    std::string locationOutsideFile() const;
    void reportUnreadable(const std::string& detail);
    std::int64_t centreI() const { return TopoCentreIndex(x0_, grid_.delta); }
    std::int64_t centreJ() const { return TopoCentreIndex(y0_, grid_.delta); }
    bool saveWritesWindowOnly() const;

    void redrawMap();
    // Fills `raster` with the relief triangles of the window, grey by `grey(a, b, mid, e, f)`,
    // and draws the grid lines and markers over them.
    template <typename Grey>
    void drawRelief(Raster& raster, Grey grey) const;
    void drawMapsIfStale() const;
    void drawHorizonPicture();

    MainWindowLink& main_;
    bool german_ = false;
    TopoGrid grid_;
    double x0_ = 1000.0;
    double y0_ = 1000.0;
    double z0_ = 0.0;

    std::string filePath_;
    std::vector<float> values_;
    bool keepAll_ = true;
    std::uint64_t maxHeld_ = kMaxHeldValues;
    std::uint64_t fileCount_ = 0;
    // Heights typed by hand, by file point (i, j), so that moving the location keeps them.
    TypedHeights edits_;

    TopoWindow window_;
    int editC_ = 0;
    int editR_ = 0;
    bool atLocation_ = false;   // the edit point was chosen by its marker
    bool heightTyped_ = false;  // EditZp changed since it showed the edit point
    std::string saveName_;
    std::string focused_;

    std::array<double, 361> horizon_{};
    Picture horizonPicture_{481, 481};
    // drawn when first looked at: a run from the command line never shows them
    mutable Raster map_{kMapSize, kMapSize};
    mutable Raster shadedMap_{kMapSize, kMapSize};
    mutable bool mapsStale_ = true;
};

}  // namespace umbrix
