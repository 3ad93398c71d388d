#pragma once
// The program: owns every window model for its lifetime, in the start-up order, the
// component registry, the program-wide number/date/time conventions and the language.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "models/Language.h"
#include "platform/DateTime.h"
#include "platform/FormModel.h"
#include "platform/Host.h"
#include "platform/Picture.h"
#include "platform/Raster.h"

namespace umbrix {

class MainWindowModel;
class DetailTableModel;
class OutputWindowModel;
class DataFileWindowModel;
class PresettingsModel;
class BuildingDialog;
class DeciduousTreeDialog;
class ConiferDialog;
class ObstacleEditorModel;
class HorizonEditorModel;
class TopographyEditorModel;

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

    MainWindowModel& mainWindow() { return *mainWindow_; }
    DetailTableModel& detailTable() { return *detailTable_; }
    OutputWindowModel& outputWindow() { return *outputWindow_; }
    DataFileWindowModel& dataFileWindow() { return *dataFileWindow_; }
    PresettingsModel& presettings() { return *presettings_; }
    BuildingDialog& buildingDialog() { return *buildingDialog_; }
    DeciduousTreeDialog& deciduousTreeDialog() { return *deciduousTreeDialog_; }
    ConiferDialog& coniferDialog() { return *coniferDialog_; }
    ObstacleEditorModel& obstacleEditor() { return *obstacleEditor_; }
    HorizonEditorModel& horizonEditor() { return *horizonEditor_; }
    TopographyEditorModel& topographyEditor() { return *topographyEditor_; }
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
    std::unique_ptr<MainWindowModel> mainWindow_;
    std::unique_ptr<DetailTableModel> detailTable_;
    std::unique_ptr<OutputWindowModel> outputWindow_;
    std::unique_ptr<DataFileWindowModel> dataFileWindow_;
    std::unique_ptr<PresettingsModel> presettings_;
    std::unique_ptr<BuildingDialog> buildingDialog_;
    std::unique_ptr<DeciduousTreeDialog> deciduousTreeDialog_;
    std::unique_ptr<ConiferDialog> coniferDialog_;
    std::unique_ptr<ObstacleEditorModel> obstacleEditor_;
    std::unique_ptr<HorizonEditorModel> horizonEditor_;
    std::unique_ptr<TopographyEditorModel> topographyEditor_;
};

}  // namespace umbrix
