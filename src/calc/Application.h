#pragma once
// The program: owns every window model for its lifetime, in the start-up order, the
// component registry, the program-wide number/date/time conventions and the language.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "calc/Language.h"
#include "platform/DateTime.h"
#include "platform/FormModel.h"
#include "platform/Host.h"
#include "platform/Picture.h"
#include "platform/Raster.h"

namespace umbrix {

class TFormGeodat;
class TFormMemi;
class TFormMap;
class TFormWerte;
class TFormVorgaben;
class TGebForm;
class TLaubForm;
class TNadelForm;
class TFormObs;
class TFormFreihor;
class TFormTopo;

struct AppSettings {
    // Folder of the program; locations.lst and currentsession.ini live here when it is
    // writable, otherwise in the user's configuration folder.
    std::string programDir;
    // Overrides (command line): empty means the resolved default.
    std::string locationsFile;
    std::string sessionFile;
};

// The folder for locations.lst and currentsession.ini: programDir when writable, otherwise
// $XDG_CONFIG_HOME/umbrix or ~/.config/umbrix (created; a shipped locations.lst from programDir
// is copied there on first start).
std::string ResolveConfigDir(const std::string& programDir);

class Application {
  public:
    Application(Host& host, AppSettings settings = {});
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    Host& host() const { return host_; }
    FormatSettings& format() { return format_; }
    const FormatSettings& format() const { return format_; }

    Language language() const { return language_; }
    void setLanguage(Language language);
    const Vocabulary& vocabulary() const { return HeaderVocabulary(language_); }

    TFormGeodat& geodat() { return *geodat_; }
    TFormMemi& memi() { return *memi_; }
    TFormMap& map() { return *map_; }
    TFormWerte& werte() { return *werte_; }
    TFormVorgaben& vorgaben() { return *vorgaben_; }
    TGebForm& geb() { return *geb_; }
    TLaubForm& laub() { return *laub_; }
    TNadelForm& nadel() { return *nadel_; }
    TFormObs& obs() { return *obs_; }
    TFormFreihor& freihor() { return *freihor_; }
    TFormTopo& topo() { return *topo_; }
    ComponentRegistry& registry() { return registry_; }

    // Opens a 481 × 481 bitmap in the horizon limitation editor, which checks "Sky view factor".
    void loadHorizonDrawing(const std::string& path);

    const std::string& locationsFile() const { return locationsFile_; }
    void setLocationsFile(std::string path) { locationsFile_ = std::move(path); }
    const std::string& sessionFile() const { return sessionFile_; }

    // The files the program reads, each with what it is ("data file", "locations list", ...):
    // the data file, the locations list, the session files, and the obstacle, topography and
    // horizon files opened in the editors.
    std::vector<std::pair<std::string, std::string>> inputFiles() const;
    // Throws FileError when path names one of the input files (by identity: links followed):
    // a table or picture is never written over a file the program reads.
    void checkOutputFile(const std::string& path) const;

    // Start-up of the main window: text conventions, input defaults, location list,
    // "No&w and today", then the session restore when "Save && restore session" is on.
    void start(bool useSession);
    // Program end: saves the session (or only the unchecked option).
    void end();

  private:
    Host& host_;
    FormatSettings format_;
    Language language_ = Language::English;
    std::string locationsFile_;
    std::string sessionFile_;
    ComponentRegistry registry_;
    std::unique_ptr<TFormGeodat> geodat_;
    std::unique_ptr<TFormMemi> memi_;
    std::unique_ptr<TFormMap> map_;
    std::unique_ptr<TFormWerte> werte_;
    std::unique_ptr<TFormVorgaben> vorgaben_;
    std::unique_ptr<TGebForm> geb_;
    std::unique_ptr<TLaubForm> laub_;
    std::unique_ptr<TNadelForm> nadel_;
    std::unique_ptr<TFormObs> obs_;
    std::unique_ptr<TFormFreihor> freihor_;
    std::unique_ptr<TFormTopo> topo_;
};

}  // namespace umbrix
