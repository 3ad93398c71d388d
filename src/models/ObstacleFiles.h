#pragma once
// The obstacle editor's files: the obstacle file (".obs") it opens and saves, and the template
// map it imports, each through the host's file dialogs.
#include <optional>
#include <string>
#include <vector>

#include "horizon/Obstacles.h"
#include "platform/Host.h"
#include "platform/Raster.h"

namespace umbrix {

class ObstacleFiles {
  public:
    explicit ObstacleFiles(Host& host) : host_(host) {}

    void setGerman(bool german) { german_ = german; }
    // The obstacle file last opened or saved (the dialogs' file name); empty before.
    const std::string& fileName() const { return fileName_; }

    struct Opened {
        std::vector<Obstacle> obstacles;
        std::string path;
        // Lines that could not be read and were skipped, as one message; empty when none.
        std::string warning;
    };
    // Asks for an obstacle file and reads it; obstacles without albedo or emission get the
    // defaults. Nothing when the dialog is cancelled; FileError when the file cannot be read
    // or holds no obstacle.
    std::optional<Opened> open(float defaultAlbedo, float defaultEmission);
    // Asks for a file name and writes the obstacles (and the template map's line) there as a
    // whole. False when the dialog is cancelled; FileError when it cannot be written.
    bool save(const std::vector<Obstacle>& obstacles, const std::string& programCaption,
              const std::optional<TemplateLine>& templateLine);

    struct Map {
        Raster picture;
        std::string path;
    };
    // Asks for a map picture (BMP, or SVG drawn at four times the plan's size) and reads it.
    // Nothing when cancelled or when the SVG cannot be drawn (then a message says why);
    // FileError for a bitmap that cannot be read.
    std::optional<Map> importMap(const std::string& lastMap, int planSize);

  private:
    FileDialogOptions dialog(const std::string& title) const;

    Host& host_;
    bool german_ = false;
    std::string fileName_;
};

}  // namespace umbrix
