#include "cli/Modules.h"

#include <dlfcn.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "platform/Error.h"

// the installed modules' folder relative to the installed program's
#ifndef UMBRIX_MODULE_DIR
#define UMBRIX_MODULE_DIR "../lib/umbrix"
#endif

namespace umbrix::cli {

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> ModuleCandidates(const fs::path& programDir, const std::string& file) {
    return {programDir / file, (programDir / UMBRIX_MODULE_DIR / file).lexically_normal()};
}

// The folder of the running program itself, whatever name or link it was started by, so that a
// moved installation finds its modules.
fs::path ProgramDir() {
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (ec) throw UmbrixError("cannot find the program's own folder: " + ec.message());
    return self.parent_path();
}

// The table of the module's entry point; the module stays open for the rest of the run.
template <class Table>
const Table& Open(const char* file, const char* entry, int version, const char* purpose) {
    const std::string intro = std::string("cannot load ") + purpose + " (" + file + "): ";
    std::error_code ec;
    const auto candidates = ModuleCandidates(ProgramDir(), file);
    const fs::path* found = nullptr;
    for (const fs::path& p : candidates)
        if (fs::exists(p, ec)) {
            found = &p;
            break;
        }
    if (!found)
        throw UmbrixError(intro + "not found in " + candidates[0].parent_path().string() +
                          " nor in " + candidates[1].parent_path().string());
    void* handle = dlopen(found->c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) throw UmbrixError(intro + dlerror());
    using EntryPoint = const Table* (*)();
    const auto get = reinterpret_cast<EntryPoint>(dlsym(handle, entry));
    const Table* table = get ? get() : nullptr;
    if (!table || table->version != version) {
        dlclose(handle);
        throw UmbrixError(intro + found->string() + " belongs to another version of umbrix");
    }
    return *table;
}

}  // namespace

const maps::MapsModule& MapsFunctions() {
    static const maps::MapsModule& table = Open<maps::MapsModule>(
        maps::kMapsModuleFile, maps::kMapsEntry, maps::kMapsModuleVersion, "the map files");
    return table;
}

#ifdef UMBRIX_CHARTS
const charts::ChartsModule& ChartsFunctions() {
    static const charts::ChartsModule& table =
        Open<charts::ChartsModule>(charts::kChartsModuleFile, charts::kChartsEntry,
                                   charts::kChartsModuleVersion, "the charts");
    return table;
}
#endif

}  // namespace umbrix::cli
