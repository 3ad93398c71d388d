#include "calc/Application.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "calc/Geodat.h"
#include "calc/Memi.h"
#include "calc/Vorgaben.h"
#include "diagrams/Sunmap.h"
#include "horizon/EditObs.h"
#include "horizon/Fisheye.h"
#include "horizon/Freihor.h"
#include "horizon/Geb.h"
#include "horizon/Laub.h"
#include "horizon/Nadel.h"
#include "horizon/Topo.h"
#include "platform/Bmp.h"
#include "platform/Error.h"
#include "platform/IniFile.h"
#include "platform/OutputFile.h"
#include "platform/TextFile.h"
#include "series/Wertedat.h"

namespace umbrix {

namespace fs = std::filesystem;

std::string ResolveConfigDir(const std::string& programDir) {
    if (!programDir.empty() && ::access(programDir.c_str(), W_OK) == 0) return programDir;
    std::string base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = JoinPath(home, ".config");
    else
        return programDir;  // nowhere better to go
    std::string dir = JoinPath(base, "umbrix");
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec) return programDir;
    // First start in the configuration folder: bring the shipped list along.
    fs::path shipped = fs::path(programDir) / "locations.lst";
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
    geodat_ = std::make_unique<TFormGeodat>(*this);
    memi_ = std::make_unique<TFormMemi>(*this);
    geb_ = std::make_unique<TGebForm>(host);
    laub_ = std::make_unique<TLaubForm>(host);
    nadel_ = std::make_unique<TNadelForm>(host);
    map_ = std::make_unique<TFormMap>(*this);
    freihor_ = std::make_unique<TFormFreihor>(host, *geodat_);
    werte_ = std::make_unique<TFormWerte>(*this);
    topo_ = std::make_unique<TFormTopo>(host, *geodat_);
    vorgaben_ = std::make_unique<TFormVorgaben>(*this);
    obs_ = std::make_unique<TFormObs>(host, *geb_, *laub_, *nadel_);
    obs_->setMainWindow(geodat_.get());
    registry_.add(*geodat_);
    registry_.add(*memi_);
    registry_.add(*map_);
    registry_.add(*freihor_);
    registry_.add(*werte_);
    registry_.add(*topo_);
    registry_.add(*vorgaben_);
    registry_.add(*obs_);
    map_->caption += " - " + geodat_->caption;
    werte_->caption += " - " + geodat_->caption;
    vorgaben_->caption += " - " + geodat_->caption;
}

Application::~Application() = default;

void Application::setLanguage(Language language) {
    language_ = language;
    if (obs_) obs_->setGerman(language == Language::German);
    if (topo_) topo_->setGerman(language == Language::German);
    if (freihor_) freihor_->setGerman(language == Language::German);
}

std::vector<std::pair<std::string, std::string>> Application::inputFiles() const {
    std::vector<std::pair<std::string, std::string>> files = {
        {"data file", werte_->fileName()},
        {"locations list", locationsFile_},
        {"session file", sessionFile_},
        {"session file", geodat_->openedSessionFile()},
        {"obstacle file", obs_->obstacleFileName()},
        {"topography file", topo_->filePath()},
        {"horizon drawing", freihor_->drawingFile()},
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
    freihor_->OpenDrawingFile(path);
}

void Application::start(bool useSession) {
    geodat_->initialise();
    geodat_->show();
    if (!useSession) return;
    Control& option = geodat_->ctl("Saverestoresession1");
    IniFile ini;
    try {
        ini = IniFile::load(sessionFile_);
    } catch (const FileError& e) {
        // an unreadable session leaves the defaults
        host_.showMessage(std::string(e.what()) + "; the program starts from its defaults",
                          MessageKind::Warning);
        return;
    }
    option.checked = ini.readBool("FormGeodat", "Saverestoresession1", option.checked);
    if (!option.checked) return;
    std::vector<std::string> problems = geodat_->restoreSession(sessionFile_);
    if (problems.empty()) return;
    std::string text = "session " + FileNameOnly(sessionFile_) + ": not restored as stored:";
    for (const auto& p : problems) text += "\n" + p;
    host_.showMessage(text, MessageKind::Warning);
}

void Application::end() {
    if (geodat_->checked("Saverestoresession1")) {
        geodat_->saveSession(sessionFile_);
        return;
    }
    FileUpdateLock lock(sessionFile_);
    IniFile ini;
    try {
        ini = IniFile::load(sessionFile_);
    } catch (const FileError&) {
    }
    ini.writeBool("FormGeodat", "Saverestoresession1", false);
    ini.save(sessionFile_);
}

}  // namespace umbrix
