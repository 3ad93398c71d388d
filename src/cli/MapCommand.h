#pragma once
// The command line's map mode: the --map-* options, --time and --save of --mode map.
#include <optional>
#include <string>

#include "maps/MapFiles.h"
#include "models/MapRequest.h"

namespace umbrix {
class Application;
}

namespace umbrix::cli {

class MapCommand {
  public:
    static bool isMapOption(const std::string& option) { return option.rfind("--map-", 0) == 0; }
    // Stores an option's value; throws UmbrixError for one that cannot be read.
    void apply(const std::string& option, const std::string& value);
    // --time H:MM in the map mode: the map's one time.
    void setTime(const std::string& text);
    // Computes the map (again only when an option changed since) and saves it by extension.
    void save(Application& app, const std::string& path);
    // Another option changed the windows: the next save computes afresh.
    void invalidate() { outcome_.reset(); }
    bool optionGiven() const { return optionGiven_; }

  private:
    MapRequest request_;
    std::optional<int> epsg_;
    std::optional<std::array<double, 2>> origin_;
    std::optional<MapOutcome> outcome_;  // the last map computed
    bool optionGiven_ = false;
};

}  // namespace umbrix::cli
