#include "models/ProjectFile.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <optional>

#include "models/Application.h"
#include "models/ComponentNames.h"
#include "models/DataFileWindowModel.h"
#include "models/HorizonEditorModel.h"
#include "models/MainWindowModel.h"
#include "models/ObstacleEditorModel.h"
#include "models/PresettingsModel.h"
#include "models/Session.h"
#include "models/TopographyEditorModel.h"
#include "platform/Base64.h"
#include "platform/Bmp.h"
#include "platform/Error.h"
#include "platform/IniFile.h"
#include "platform/OutputFile.h"
#include "platform/TextFile.h"

namespace umbrix {

namespace {

// Sections beside those of the windows (named after the windows, as in the session file).
constexpr char kDataFile[] = "DataFile";
constexpr char kObstacles[] = "Obstacles";
constexpr char kDrawing[] = "HorizonDrawing";
constexpr char kTerrain[] = "Terrain";
constexpr char kRecent[] = "RecentProjects";

constexpr const char* kPictureKeys[] = {"Drawing", "Albedo", "Emission"};

bool AllWhite(const Raster& r) {
    for (int y = 0; y < r.height(); ++y)
        for (int x = 0; x < r.width(); ++x)
            if (r.pixel(x, y) != kWhite) return false;
    return true;
}

std::string JoinColumns(const std::vector<DataColumn>& columns) {
    std::string out;
    for (DataColumn c : columns) out += (out.empty() ? "" : ",") + std::string(ColumnShortName(c));
    return out;
}

std::vector<std::string> SplitColumns(const std::string& text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(',', start);
        if (end == std::string::npos) end = text.size();
        if (end > start) out.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

// The stored texts of a window through the exit rules of its fields, as typed; a refusal
// keeps the field's value and is reported.
void RestoreForm(FormModel& form, const IniFile& ini, std::vector<std::string>& problems) {
    for (std::string& p : ReadComponents(form, form.name(), ini))
        problems.push_back(form.name() + ": " + p);
    for (const auto& c : form.controls()) {
        if (c->kind != ControlKind::Edit || c->readOnly || !ini.hasKey(form.name(), c->name))
            continue;
        try {
            form.leave(c->name);
        } catch (const UmbrixError& e) {
            problems.push_back(form.name() + "." + c->name + ": " + e.what());
        }
    }
}

// Heights typed in the topography editor as "i j z;...": file point and height, the height
// in its shortest text that reads back to the same float.
std::string FormatTypedHeights(const TopographyEditorModel::TypedHeights& heights) {
    std::string out;
    for (const auto& [point, z] : heights) {
        char text[32];
        const auto end = std::to_chars(text, text + sizeof text, z).ptr;
        if (!out.empty()) out += ';';
        out += std::to_string(point.first) + ' ' + std::to_string(point.second) + ' ' +
               std::string(text, end);
    }
    return out;
}

std::optional<TopographyEditorModel::TypedHeights> ParseTypedHeights(const std::string& text) {
    TopographyEditorModel::TypedHeights heights;
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end) {
        std::int64_t i = 0, j = 0;
        float z = 0;
        auto r = std::from_chars(p, end, i);
        if (r.ec != std::errc() || r.ptr == end || *r.ptr != ' ') return std::nullopt;
        r = std::from_chars(r.ptr + 1, end, j);
        if (r.ec != std::errc() || r.ptr == end || *r.ptr != ' ') return std::nullopt;
        r = std::from_chars(r.ptr + 1, end, z);
        if (r.ec != std::errc() || !std::isfinite(z)) return std::nullopt;
        if (r.ptr != end && *r.ptr != ';') return std::nullopt;
        heights[{i, j}] = z;
        p = r.ptr == end ? end : r.ptr + 1;
    }
    return heights;
}

// What the project holds beyond the windows' fields, read and checked before anything changes.
struct Staged {
    std::optional<std::vector<Obstacle>> obstacles;
    std::optional<HorizonPictures> pictures;
    TopographyEditorModel::TypedHeights heights;
};

Staged StageProject(const IniFile& ini, const std::string& path) {
    auto broken = [&](const std::string& what) {
        return FileError("cannot open project \"" + path + "\": " + what);
    };
    if (ini.readString(kProjectSection, "Program", "") != kProjectMark)
        throw broken("it is no Umbrix project file");
    const int version = ini.readInt(kProjectSection, "Version", 0);
    if (version < 1) throw broken("its version is missing");
    if (version > kProjectVersion)
        throw broken("it was saved by a newer version of the program (project version " +
                     std::to_string(version) + ")");
    if (!ini.hasSection(main_window::kForm)) throw broken("it has no main window section");

    Staged staged;
    if (ini.hasSection(kObstacles)) {
        const int count = ini.readInt(kObstacles, "Count", -1);
        if (count < 0 || count > 100000) throw broken("the obstacle count is missing or wrong");
        std::vector<Obstacle> list;
        for (int i = 1; i <= count; ++i) {
            const std::string line = ini.readString(kObstacles, std::to_string(i), "");
            ObstacleFileContent read = ParseObstacleFile(line, 0.3f, 0.95f);
            if (read.obstacles.size() != 1)
                throw broken("obstacle " + std::to_string(i) + " cannot be read: \"" + line + "\"");
            list.push_back(read.obstacles.front());
        }
        staged.obstacles = std::move(list);
    }
    if (ini.hasSection(kDrawing)) {
        HorizonPictures pictures;
        Raster* targets[] = {&pictures.drawing, &pictures.albedo, &pictures.emission};
        for (int k = 0; k < 3; ++k) {
            if (!ini.hasKey(kDrawing, kPictureKeys[k])) continue;  // all white
            auto bytes = DecodeBase64(ini.readString(kDrawing, kPictureKeys[k], ""));
            if (!bytes) throw broken(std::string(kPictureKeys[k]) + " is not base64");
            Raster picture = DecodeBmp(*bytes, path + " [" + kDrawing + "] " + kPictureKeys[k]);
            if (picture.width() != kHorizonSize || picture.height() != kHorizonSize)
                throw broken(std::string(kPictureKeys[k]) + " is not 481 x 481 pixels");
            *targets[k] = std::move(picture);
        }
        staged.pictures = std::move(pictures);
    }
    auto heights = ParseTypedHeights(ini.readString(kTerrain, "Heights", ""));
    if (!heights) throw broken("the typed topography heights cannot be read");
    staged.heights = std::move(*heights);
    return staged;
}

}  // namespace

void SaveProject(Application& app, const std::string& path) {
    IniFile ini;
    ini.writeString(kProjectSection, "Program", kProjectMark);
    ini.writeInt(kProjectSection, "Version", kProjectVersion);
    MainWindowModel& main = app.mainWindow();
    main.writeSession(ini);
    WriteComponents(app.presettings(), app.presettings().name(), ini);

    DataFileWindowModel& data = app.dataFileWindow();
    WriteComponents(data, data.name(), ini);
    ini.writeString(kDataFile, "File", data.fileName());
    ini.writeBool(kDataFile, "Epw", data.isEpw());
    ini.writeBool(kDataFile, "Active", main.dataFileActive());
    ini.writeString(kDataFile, "Columns", JoinColumns(data.checkedColumns()));

    ObstacleEditorModel& obs = app.obstacleEditor();
    WriteComponents(obs, obs.name(), ini);
    ini.writeBool(kObstacles, "TakePart", main.checked(main_window::Hindernisobjekte1));
    ini.writeInt(kObstacles, "Count", int(obs.obstacles().size()));
    for (std::size_t i = 0; i < obs.obstacles().size(); ++i)
        ini.writeString(kObstacles, std::to_string(i + 1), FormatObstacleLine(obs.obstacles()[i]));

    HorizonEditorModel& horizon = app.horizonEditor();
    WriteComponents(horizon, horizon.name(), ini);
    ini.writeBool(kDrawing, "TakesPart", main.checked(main_window::Horizonteinengung1));
    const Raster* pictures[] = {&horizon.pictures().drawing, &horizon.pictures().albedo,
                                &horizon.pictures().emission};
    for (int k = 0; k < 3; ++k)
        if (!AllWhite(*pictures[k]))
            ini.writeString(kDrawing, kPictureKeys[k], EncodeBase64(EncodeBmp(*pictures[k])));

    TopographyEditorModel& topo = app.topographyEditor();
    WriteComponents(topo, topo.name(), ini);
    ini.writeString(kTerrain, "File", topo.filePath());
    if (!topo.typedHeights().empty())
        ini.writeString(kTerrain, "Heights", FormatTypedHeights(topo.typedHeights()));
    ini.writeBool(kTerrain, "TakesPart", main.checked(main_window::Topographie1));

    OutputFile out(path, OutputFile::Mode::Replace);
    out.write(ini.text());
    out.close();
}

std::vector<std::string> OpenProject(Application& app, const std::string& path) {
    const IniFile ini = IniFile::load(path);  // throws FileError
    Staged staged = StageProject(ini, path);  // throws FileError: nothing has changed yet

    MainWindowModel& main = app.mainWindow();
    std::vector<std::string> problems = main.restoreSession(ini);
    PresettingsModel& pre = app.presettings();
    std::vector<std::string> preProblems;
    for (std::string& p : ReadComponents(pre, pre.name(), ini)) preProblems.push_back(p);
    try {
        pre.apply();
    } catch (const UmbrixError& e) {
        preProblems.push_back(e.what());
    }
    for (std::string& p : preProblems) problems.push_back(pre.name() + ": " + p);

    DataFileWindowModel& data = app.dataFileWindow();
    RestoreForm(data, ini, problems);
    const std::string dataFile = ini.readString(kDataFile, "File", "");
    if (!dataFile.empty() && ini.readBool(kDataFile, "Active", false)) {
        if (std::filesystem::is_regular_file(dataFile)) {
            data.useDataFile(dataFile, ini.readBool(kDataFile, "Epw", false));
            try {
                if (!data.isEpw())
                    data.selectColumns(SplitColumns(ini.readString(kDataFile, "Columns", "")));
            } catch (const UmbrixError& e) {
                problems.push_back(std::string("data file columns: ") + e.what());
            }
        } else {
            problems.push_back("the data file \"" + dataFile + "\" is not there; none is chosen");
        }
    }

    ObstacleEditorModel& obs = app.obstacleEditor();
    RestoreForm(obs, ini, problems);
    obs.replaceList(staged.obstacles ? std::move(*staged.obstacles) : std::vector<Obstacle>{},
                    ini.readBool(kObstacles, "TakePart", false));

    HorizonEditorModel& horizon = app.horizonEditor();
    RestoreForm(horizon, ini, problems);
    horizon.replacePictures(staged.pictures ? std::move(*staged.pictures) : HorizonPictures{},
                            staged.pictures && ini.readBool(kDrawing, "TakesPart", false));

    TopographyEditorModel& topo = app.topographyEditor();
    RestoreForm(topo, ini, problems);
    const std::string terrainFile = ini.readString(kTerrain, "File", "");
    if (!terrainFile.empty() && !std::filesystem::is_regular_file(terrainFile)) {
        problems.push_back("the topography file \"" + terrainFile + "\" is not there");
    } else if (!terrainFile.empty() || !staged.heights.empty()) {
        // heights typed without a file stand on a new topography
        bool ready = true;
        if (terrainFile.empty())
            topo.newTopography();
        else
            ready = topo.openTopographyFile(terrainFile);
        if (ready) topo.restoreTypedHeights(std::move(staged.heights));
        if (ready && ini.readBool(kTerrain, "TakesPart", false))
            topo.closeAndComputeHorizon();
        else
            main.setSourceTakesPart(HorizonSourceKind::Terrain, false);
    }
    main.requireNewTable();
    return problems;
}

bool OfferToSaveEditors(Application& app) {
    return app.obstacleEditor().saveChangesFirst();
}

std::vector<std::string> RecentProjects(const std::string& listFile) {
    std::vector<std::string> out;
    try {
        const IniFile ini = IniFile::load(listFile);
        for (int i = 1; i <= kMaxRecentProjects; ++i) {
            std::string path = ini.readString(kRecent, std::to_string(i), "");
            if (!path.empty() && std::find(out.begin(), out.end(), path) == out.end())
                out.push_back(std::move(path));
        }
    } catch (const UmbrixError&) {
        // an unreadable list is an empty one
    }
    return out;
}

void RememberRecentProject(const std::string& listFile, const std::string& path) {
    std::vector<std::string> list = RecentProjects(listFile);
    list.erase(std::remove(list.begin(), list.end(), path), list.end());
    list.insert(list.begin(), path);
    if (list.size() > std::size_t(kMaxRecentProjects)) list.resize(kMaxRecentProjects);
    IniFile ini;
    for (std::size_t i = 0; i < list.size(); ++i)
        ini.writeString(kRecent, std::to_string(i + 1), list[i]);
    try {
        ini.save(listFile);
    } catch (const UmbrixError&) {
        // the list is a convenience: a folder that cannot be written loses it, nothing more
    }
}

}  // namespace umbrix
