#include "models/Application.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "horizon/Fisheye.h"
#include "models/BuildingDialog.h"
#include "models/ComponentNames.h"
#include "models/ConiferDialog.h"
#include "models/DataFileWindowModel.h"
#include "models/DeciduousTreeDialog.h"
#include "models/DetailTableModel.h"
#include "models/HorizonEditorModel.h"
#include "models/MainWindowModel.h"
#include "models/ObstacleEditorModel.h"
#include "models/OutputWindowModel.h"
#include "models/PresettingsModel.h"
#include "models/TopographyEditorModel.h"
#include "platform/Bmp.h"
#include "platform/Error.h"
#include "platform/IniFile.h"
#include "platform/OutputFile.h"
#include "platform/TextFile.h"

namespace umbrix {

namespace fs = std::filesystem;

#ifndef UMBRIX_SHARE_DIR
#define UMBRIX_SHARE_DIR "../share/umbrix"
#endif

std::string ResolveConfigDir(const std::string& programDir) {
    // An installed program has its list under share/umbrix, not beside it: its folder holds no
    // settings even where it can be written (as root).
    fs::path shipped = fs::path(programDir) / "locations.lst";
    std::error_code ec;
    const bool installed =
        !programDir.empty() && !fs::exists(shipped, ec) &&
        fs::exists(fs::path(programDir) / UMBRIX_SHARE_DIR / "locations.lst", ec);
    if (installed) shipped = fs::path(programDir) / UMBRIX_SHARE_DIR / "locations.lst";
    if (!programDir.empty() && !installed && ::access(programDir.c_str(), W_OK) == 0)
        return programDir;
    std::string base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = JoinPath(home, ".config");
    else
        return programDir;  // nowhere better to go
    std::string dir = JoinPath(base, "umbrix");
    fs::create_directories(dir, ec);
    if (ec) return programDir;
    // First start in the configuration folder: bring the shipped list along.
    fs::path target = fs::path(dir) / "locations.lst";
    if (!programDir.empty() && fs::exists(shipped, ec) && !fs::exists(target, ec))
        fs::copy_file(shipped, target, ec);
    return dir;
}

Application::Application(Host& host, AppSettings settings) : host_(host) {
    std::string dir = ResolveConfigDir(settings.programDir);
    locationsFile_ =
        settings.locationsFile.empty() ? JoinPath(dir, "locations.lst") : settings.locationsFile;
    sessionFile_ =
        settings.sessionFile.empty() ? JoinPath(dir, "currentsession.ini") : settings.sessionFile;
    // Start-up order of the windows; the main window is found first by unqualified names.
    mainWindow_ = std::make_unique<MainWindowModel>(*this);
    detailTable_ = std::make_unique<DetailTableModel>(*this);
    buildingDialog_ = std::make_unique<BuildingDialog>(host);
    deciduousTreeDialog_ = std::make_unique<DeciduousTreeDialog>(host);
    coniferDialog_ = std::make_unique<ConiferDialog>(host);
    outputWindow_ = std::make_unique<OutputWindowModel>(*this);
    horizonEditor_ = std::make_unique<HorizonEditorModel>(host, *mainWindow_);
    dataFileWindow_ = std::make_unique<DataFileWindowModel>(*this);
    topographyEditor_ = std::make_unique<TopographyEditorModel>(host, *mainWindow_);
    presettings_ = std::make_unique<PresettingsModel>(*this);
    obstacleEditor_ = std::make_unique<ObstacleEditorModel>(host, *buildingDialog_,
                                                            *deciduousTreeDialog_, *coniferDialog_);
    obstacleEditor_->setMainWindow(mainWindow_.get());
    registry_.add(*mainWindow_);
    registry_.add(*detailTable_);
    registry_.add(*outputWindow_);
    registry_.add(*horizonEditor_);
    registry_.add(*dataFileWindow_);
    registry_.add(*topographyEditor_);
    registry_.add(*presettings_);
    registry_.add(*obstacleEditor_);
    outputWindow_->caption += " - " + mainWindow_->caption;
    dataFileWindow_->caption += " - " + mainWindow_->caption;
    presettings_->caption += " - " + mainWindow_->caption;
}

Application::~Application() = default;

void Application::setLanguage(Language language) {
    language_ = language;
    if (obstacleEditor_) obstacleEditor_->setGerman(language == Language::German);
    if (topographyEditor_) topographyEditor_->setGerman(language == Language::German);
    if (horizonEditor_) horizonEditor_->setGerman(language == Language::German);
}

std::vector<std::pair<std::string, std::string>> Application::inputFiles() const {
    std::vector<std::pair<std::string, std::string>> files = {
        {"data file", dataFileWindow_->fileName()},
        {"locations list", locationsFile_},
        {"session file", sessionFile_},
        {"session file", mainWindow_->openedSessionFile()},
        {"obstacle file", obstacleEditor_->obstacleFileName()},
        {"topography file", topographyEditor_->filePath()},
        {"horizon drawing", horizonEditor_->drawingFile()},
    };
    std::erase_if(files, [](const auto& f) { return f.second.empty(); });
    return files;
}

void Application::checkOutputFile(const std::string& path) const {
    for (const auto& [what, input] : inputFiles())
        if (SameFile(path, input))
            throw FileError("cannot write \"" + path + "\": it is the " + what +
                            (input == path ? "" : " " + input) +
                            ", which an output never replaces");
}

void Application::loadHorizonDrawing(const std::string& path) {
    horizonEditor_->openDrawingFile(path);
}

void Application::start(bool useSession) {
    mainWindow_->initialise();
    mainWindow_->show();
    if (!useSession) return;
    Control& option = mainWindow_->ctl(main_window::Saverestoresession1);
    IniFile ini;
    try {
        ini = IniFile::load(sessionFile_);
    } catch (const FileError& e) {
        // an unreadable session leaves the defaults
        host_.showMessage(std::string(e.what()) + "; the program starts from its defaults",
                          MessageKind::Warning);
        return;
    }
    option.checked =
        ini.readBool(main_window::kForm, main_window::Saverestoresession1, option.checked);
    if (!option.checked) return;
    std::vector<std::string> problems = mainWindow_->restoreSession(sessionFile_);
    if (problems.empty()) return;
    std::string text = "session " + FileNameOnly(sessionFile_) + ": not restored as stored:";
    for (const auto& p : problems) text += "\n" + p;
    host_.showMessage(text, MessageKind::Warning);
}

void Application::end() {
    if (mainWindow_->checked(main_window::Saverestoresession1)) {
        mainWindow_->saveSession(sessionFile_);
        return;
    }
    FileUpdateLock lock(sessionFile_);
    IniFile ini;
    try {
        ini = IniFile::load(sessionFile_);
    } catch (const FileError&) {
    }
    ini.writeBool(main_window::kForm, main_window::Saverestoresession1, false);
    ini.save(sessionFile_);
}

}  // namespace umbrix
