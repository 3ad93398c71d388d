#pragma once
// The command line's charts: --plot KIND=FILE.svg|FILE.png and --plot-size WxH, drawn from the
// table of the last run once the options have run.
#include <string>
#include <vector>

namespace umbrix {
class Application;
}

namespace umbrix::cli {

class PlotCommand {
  public:
    static bool isPlotOption(const std::string& option) {
        return option == "--plot" || option == "--plot-size";
    }
    // Reads a request before anything runs; throws UmbrixError for one that cannot be drawn
    // (an unknown kind, a file name without .svg or .png, a bad size, a program without charts).
    void apply(const std::string& option, const std::string& value);
    bool wanted() const { return !plots_.empty(); }
    // Draws every chart from the output window's table values and saves it; a file is
    // complete or not there. Throws UmbrixError (a column the run has not, a file that cannot
    // be written).
    void save(Application& app) const;

  private:
    struct Plot {
        std::string kind;  // "heatmap:UTCI"
        std::string path;
    };
    std::vector<Plot> plots_;
    std::string size_;  // WxH; empty: the default
};

}  // namespace umbrix::cli
