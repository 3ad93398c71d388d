// Session files: any bytes opened as "&Open" does. Whatever the file holds, the fields the
// calculation reads afterwards hold what they can use: numbers within a float, a valid date,
// time and angles (a stored text a field refuses keeps the field's value).
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "FuzzInput.h"
#include "models/Application.h"
#include "models/MainWindowModel.h"
#include "platform/DateTime.h"
#include "platform/Error.h"
#include "platform/Format.h"

using namespace umbrix;

namespace {

class QuietHost : public Host {
  public:
    std::optional<std::string> openFileDialog(FileDialogOptions&) override { return {}; }
    std::optional<std::string> saveFileDialog(FileDialogOptions&) override { return {}; }
    void showMessage(const std::string&, MessageKind) override {}
    Answer ask(const std::string&, bool withCancel) override {
        return withCancel ? Answer::Cancel : Answer::No;
    }
    ClockTime now() override { return {2026, 6, 21, 9, 0, 0}; }
};

std::string ScratchFolder() {
    const std::string base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    const std::string dir = base + "/umbrix_fuzz_session_" + std::to_string(getpid());
    std::filesystem::create_directories(dir);
    std::ofstream(dir + "/locations.lst") << "7.85\t48.00\t1.0\t278\tFreiburg\n";
    return dir;
}

bool UsableNumber(const std::string& text) {
    auto x = parseReal(text, true);
    return x && std::isfinite(float(*x));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string dir = ScratchFolder();
    static QuietHost host;
    static Application app = [] {
        AppSettings settings;
        settings.programDir = dir;
        return Application(host, settings);
    }();
    static const bool started = (app.start(false), true);
    (void)started;
    const std::string path = dir + "/session.ini";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    }
    MainWindowModel& main = app.mainWindow();
    try {
        main.openSession(path);
    } catch (const UmbrixError&) {
        // not a session file: refused as a whole
    }
    for (const char* field : {"EditTa", "EditVp", "EditRh", "EditWG", "EditN", "EditGr", "EditGew",
                              "EditIcl", "EditAct", "EditZz", "EditNn"})
        fuzz::Check(UsableNumber(main.text(field)), field, main.text(field));
    for (const char* field : {"EditTs", "EditG", "EditTmrt"})
        fuzz::Check(main.text(field).empty() || UsableNumber(main.text(field)), field,
                    main.text(field));
    fuzz::Check(parseInt(main.text("EditA")).has_value(), "EditA", main.text("EditA"));
    fuzz::Check(ParseDate(app.format(), main.text("EditDat"), 2026).has_value(), "EditDat",
                main.text("EditDat"));
    fuzz::Check(ParseTime(app.format(), main.text("EditZeit")).has_value(), "EditZeit",
                main.text("EditZeit"));
    for (const char* field : {"EditLg", "EditBr"}) {
        try {
            fuzz::Check(std::isfinite(float(ParseAngle(main.text(field), field))), field,
                        main.text(field));
        } catch (const ConvertError&) {
            fuzz::Fail(field, main.text(field));
        }
    }
    return 0;
}
