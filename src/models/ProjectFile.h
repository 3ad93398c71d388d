#pragma once
// Project files: everything a study needs in one INI file — the main window's fields as the
// session holds them, the pre-settings, the data-file settings, the obstacle list, the horizon
// drawing with its albedo and emission maps, and the terrain settings with the topography
// file. The pictures are embedded as base64 bitmaps, so that a project can be moved or mailed
// as one file and is replaced in one atomic step.
#include <string>
#include <vector>

namespace umbrix {

class Application;

// The file's own section and the value that marks it as a project file.
inline constexpr char kProjectSection[] = "Project";
inline constexpr char kProjectMark[] = "Umbrix project";
inline constexpr int kProjectVersion = 1;

// Writes the project atomically (the old file stays until the new one is complete). Throws
// FileError.
void SaveProject(Application& app, const std::string& path);

// Restores a project. A file that cannot be read, is no project file, comes from a newer
// version or holds a broken picture or obstacle throws FileError before anything changes.
// Values that cannot be taken as stored (a refused field, a data or topography file that is
// gone) are skipped and returned, one text each.
std::vector<std::string> OpenProject(Application& app, const std::string& path);

// Before a project replaces the editors' work: offers to save unsaved obstacle changes. False
// when the user cancels (then nothing may change).
bool OfferToSaveEditors(Application& app);

// The recently used projects, newest first, at most kMaxRecentProjects, kept in listFile (an
// INI file beside the session). A missing or unreadable list is empty.
inline constexpr int kMaxRecentProjects = 8;
std::vector<std::string> RecentProjects(const std::string& listFile);
// Puts path at the top of the list; a failed write of the list is not worth a message.
void RememberRecentProject(const std::string& listFile, const std::string& path);

}  // namespace umbrix
