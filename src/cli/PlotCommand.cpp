#include "cli/PlotCommand.h"

#include "models/Application.h"
#include "models/OutputWindowModel.h"
#include "platform/Error.h"

#ifdef UMBRIX_CHARTS
#include "cli/Modules.h"
#endif

namespace umbrix::cli {

#ifdef UMBRIX_CHARTS

void PlotCommand::apply(const std::string& option, const std::string& value) {
    try {
        if (option == "--plot-size") {
            ChartsFunctions().parseSize(value);
            size_ = value;
            return;
        }
        const size_t eq = value.find('=');  // a kind holds none; a file name may
        if (eq == std::string::npos)
            throw UmbrixError("give KIND=FILE.svg or KIND=FILE.png, as in heatmap:UTCI=utci.png");
        Plot plot{value.substr(0, eq), value.substr(eq + 1)};
        ChartsFunctions().parseChoice(plot.kind);
        if (!ChartsFunctions().formatOfPath(plot.path))
            throw UmbrixError("the file \"" + plot.path + "\" must end in .svg or .png");
        plots_.push_back(std::move(plot));
    } catch (const std::exception& e) {
        throw UmbrixError(option + " " + value + ": " + e.what());
    }
}

void PlotCommand::save(Application& app) const {
    const TextLanguage language =
        app.language() == Language::German ? TextLanguage::German : TextLanguage::English;
    charts::ChartData data;
    try {
        data = ChartsFunctions().dataFromTable(app.outputWindow().tableValues(), language);
    } catch (const std::exception& e) {
        throw UmbrixError(std::string("--plot: ") + e.what());
    }
    const charts::ChartSize size =
        size_.empty() ? charts::ChartSize{} : ChartsFunctions().parseSize(size_);
    for (const Plot& plot : plots_) {
        try {
            app.checkOutputFile(plot.path);
            ChartsFunctions().save(data, ChartsFunctions().parseChoice(plot.kind), plot.path, size);
        } catch (const std::exception& e) {
            throw UmbrixError("--plot " + plot.kind + "=" + plot.path + ": " + e.what());
        }
    }
}

#else

void PlotCommand::apply(const std::string& option, const std::string&) {
    throw UmbrixError(option + ": this umbrix was built without charts (Qt 6 Charts)");
}

void PlotCommand::save(Application&) const {}

#endif

}  // namespace umbrix::cli
