#include "cli/MapCommand.h"

#include <charconv>
#include <cmath>
#include <thread>

#include "cli/Modules.h"
#include "models/Application.h"
#include "models/ComponentNames.h"
#include "models/MainWindowModel.h"
#include "platform/DateTime.h"
#include "platform/Error.h"
#include "platform/Format.h"
#include "umbrix/thread_pool.h"

namespace umbrix::cli {

namespace {

std::optional<double> Number(std::string_view text) {
    double v = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

// "H:MM" as minutes of the day; "24:00" ends the day.
std::optional<int> Minutes(const std::string& text) {
    if (TrimBlanks(text) == "24:00") return 1440;
    const auto t = ParseTime(FormatSettings{}, text);
    if (!t) return std::nullopt;
    return int(std::nearbyint(*t * 1440));
}

}  // namespace

void MapCommand::apply(const std::string& option, const std::string& value) {
    optionGiven_ = true;
    outcome_.reset();
    try {
        if (option == "--map-cell") {
            const auto v = Number(TrimBlanks(value));
            if (!v || !(*v > 0)) throw UmbrixError("a cell size in metres above 0");
            request_.cell = *v;
        } else if (option == "--map-extent") {
            std::array<double, 4> e{};
            std::size_t start = 0;
            for (int i = 0; i < 4; ++i) {
                const std::size_t comma = i < 3 ? value.find(',', start) : value.size();
                const auto v = comma == std::string::npos
                                   ? std::nullopt
                                   : Number(TrimBlanks(value.substr(start, comma - start)));
                if (!v) throw UmbrixError("X0,Y0,X1,Y1 in plan metres");
                e[std::size_t(i)] = *v;
                start = comma + 1;
            }
            if (!(e[2] > e[0] && e[3] > e[1]))
                throw UmbrixError("X0,Y0,X1,Y1 with X1 above X0 and Y1 above Y0");
            request_.extent = e;
        } else if (option == "--map-quantity") {
            ParseMapBands(value);  // an unknown name fails here, before anything runs
            request_.quantities = value;
        } else if (option == "--map-range") {
            const auto dash = value.find('-');
            const auto from =
                dash == std::string::npos ? std::nullopt : Minutes(value.substr(0, dash));
            const auto to =
                dash == std::string::npos ? std::nullopt : Minutes(value.substr(dash + 1));
            if (!from || !to || !(*to > *from))
                throw UmbrixError(
                    "H:MM-H:MM, the second time after the first (0:00-24:00 for a "
                    "day)");
            request_.range = std::array<int, 2>{*from, *to};
            request_.minute.reset();
        } else if (option == "--map-crs") {
            epsg_ = MapsFunctions().parseCrs(value);
        } else if (option == "--map-origin") {
            origin_ = MapsFunctions().parseOrigin(value);
        }
    } catch (const std::exception& e) {
        throw UmbrixError(option + " " + value + ": " + e.what());
    }
}

void MapCommand::setTime(const std::string& text) {
    const auto m = Minutes(text);
    if (!m || *m >= 1440) throw UmbrixError("--time: cannot read \"" + text + "\" as H:MM");
    request_.minute = *m;
    request_.range.reset();
    outcome_.reset();
}

void MapCommand::save(Application& app, const std::string& path) {
    if (epsg_.has_value() != origin_.has_value())
        throw UmbrixError(
            "--map-crs and --map-origin go together: the coordinate system and "
            "where the location of calculation lies in it");
    std::optional<maps::MapGeoreference> geo;
    if (epsg_) geo = maps::MapGeoreference{*epsg_, (*origin_)[0], (*origin_)[1]};
    if (!outcome_) {
        batch::ThreadPool pool(std::max(1u, std::thread::hardware_concurrency()));
        outcome_ = app.mainWindow().computeMap(request_, &pool);
    }
    app.checkOutputFile(path);
    maps::MapLabels labels;
    const std::string& place = app.mainWindow().text(main_window::ComboOrt);
    labels.title = (place.empty() ? "" : place + ", ") + outcome_->when;
    MapsFunctions().saveMap(path, outcome_->map, outcome_->scene, labels, geo);
}

}  // namespace umbrix::cli
