#include "models/ObstacleFiles.h"

#include <algorithm>
#include <cctype>

#include "platform/Bmp.h"
#include "platform/Error.h"
#include "platform/TextFile.h"

namespace umbrix {

// The open and save dialogs share the filter and remember the last file.
FileDialogOptions ObstacleFiles::dialog(const std::string& title) const {
    FileDialogOptions options;
    options.title = title;
    options.filter = std::string(german_ ? "Hindernisobjekt-Dateien" : "Obstacle files") + "|*.obs";
    options.defaultExt = "obs";
    options.fileName = fileName_;
    return options;
}

std::optional<ObstacleFiles::Opened> ObstacleFiles::open(float defaultAlbedo,
                                                         float defaultEmission) {
    FileDialogOptions options =
        dialog(german_ ? "Hindernisobjekt-Datei öffnen" : "Open obstacle file");
    std::optional<std::string> path = host_.openFileDialog(options);
    if (!path) return std::nullopt;
    ObstacleFileContent content = ReadObstacleText(ReadTextFile(*path, std::size_t(64) << 20),
                                                   *path, defaultAlbedo, defaultEmission);
    fileName_ = *path;
    Opened opened{std::move(content.obstacles), *path, {}};
    if (content.droppedLines > 0) {
        std::string n = std::to_string(content.droppedLines);
        std::string line = std::to_string(content.firstDroppedLine);
        opened.warning =
            german_ ? FileNameOnly(*path) + ": " + n +
                          " Hindernisobjekt-Zeile(n) nicht lesbar und übergangen (erste: Zeile " +
                          line + ", " + content.firstDropReason + ")"
                    : FileNameOnly(*path) + ": " + n +
                          " obstacle line(s) could not be read and were skipped (first: line " +
                          line + ", " + content.firstDropReason + ")";
    }
    return opened;
}

bool ObstacleFiles::save(const std::vector<Obstacle>& obstacles, const std::string& programCaption,
                         const std::optional<TemplateLine>& templateLine) {
    FileDialogOptions options = dialog(german_ ? "Hindernisobjekte speichern" : "Save obstacles");
    std::optional<std::string> path = host_.saveFileDialog(options);
    if (!path) return false;
    WriteTextFileAtomic(*path, FormatObstacleFile(obstacles, programCaption, templateLine));
    fileName_ = *path;
    return true;
}

std::optional<ObstacleFiles::Map> ObstacleFiles::importMap(const std::string& lastMap,
                                                           int planSize) {
    FileDialogOptions options;
    options.title = german_ ? "Kartenvorlage importieren" : "Import map image";
    options.filter =
        "Pictures (*.bmp;*.svg)|*.bmp;*.svg|Bitmaps (*.bmp)|*.bmp|"
        "Vector pictures (*.svg)|*.svg";
    options.defaultExt = "bmp";
    options.fileName = lastMap;
    std::optional<std::string> path = host_.openFileDialog(options);
    if (!path) return std::nullopt;
    Raster loaded;
    std::string lower = *path;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    if (lower.size() >= 4 && lower.compare(lower.size() - 4, 4, ".svg") == 0) {
        loaded.reset(4 * planSize, 4 * planSize);
        std::string error;
        if (!host_.renderVectorFile(*path, loaded, error)) {
            host_.showMessage(error, MessageKind::Error);
            return std::nullopt;
        }
    } else {
        loaded = ReadBmp(*path);  // throws FileError naming the file
    }
    return Map{std::move(loaded), *path};
}

}  // namespace umbrix
