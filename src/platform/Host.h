#pragma once
// What a window model needs of the front end: dialogs, messages, progress, the clock.
// The desktop program implements it with Qt, the command line with scripted answers,
// the tests with FakeHost (tests/support/FakeHost.h).
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace umbrix {

class FormModel;
class Picture;
class Raster;
struct Rect;

// What a file dialog is for, when a front end answers dialogs without asking (command line).
enum class DialogPurpose { Other, TableOutput };

struct FileDialogOptions {
    std::string title;
    std::string filter;      // "Text files|*.txt|All files|*.*"
    int filterIndex = 1;     // 1-based; a dialog writes back the filter the user chose
    std::string defaultExt;  // without the dot
    std::string fileName;    // proposed name; a dialog writes back the chosen one
    DialogPurpose purpose = DialogPurpose::Other;
};

enum class MessageKind { Info, Warning, Error };
enum class Answer { Yes, No, Cancel };

struct PrintJob {
    std::string title;  // the print job's title
    bool landscape = false;
};
enum class PrintOutcome { Printed, Cancelled, Unavailable };
// Where a picture goes on the printed page, from the page's width and height (printer units).
using PrintPlacement = std::function<Rect(int pageWidth, int pageHeight)>;

struct ClockTime {
    int year = 2000, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0;
};

class Host {
  public:
    virtual ~Host() = default;

    // Returns the chosen path, or nothing when the user cancels.
    virtual std::optional<std::string> openFileDialog(FileDialogOptions& options) = 0;
    virtual std::optional<std::string> saveFileDialog(FileDialogOptions& options) = 0;

    // Shows a dialog modally and returns when it is closed; the dialog model records whether
    // it was confirmed. Without a front end nothing is shown, which counts as cancelled.
    virtual void runModal(FormModel& /*dialog*/) {}

    virtual void showMessage(const std::string& text, MessageKind kind = MessageKind::Info) = 0;
    virtual Answer ask(const std::string& text, bool withCancel) = 0;
    // Asks before a command deletes something the user keeps (a stored location); true goes
    // on. A front end without a person to ask answers for the command it was given.
    virtual bool confirm(const std::string& text) { return ask(text, false) == Answer::Yes; }

    // Colour in 0xBBGGRR; nothing when cancelled.
    virtual std::optional<std::uint32_t> chooseColour(std::uint32_t initial) { return initial; }

    // Long loops call this so that the window stays responsive.
    virtual void processMessages() {}
    // True once the user asked to cancel the running command.
    virtual bool cancelRequested() { return false; }

    // The main window's progress bar.
    virtual void setProgressMax(int /*max*/) {}
    virtual void setProgress(int /*position*/) {}
    virtual void stepProgress() {}
    // A time-series run's progress: the rows done and the share of its input read (0 … 1).
    virtual void reportRows(std::int64_t /*rows*/, double /*fraction*/) {}

    virtual void setBusy(bool /*busy*/) {}

    virtual ClockTime now() = 0;

    // Renders a vector picture file (SVG) stretched into the target raster; only a front end
    // that can render vector pictures does so. Returns false (with a message) otherwise.
    virtual bool renderVectorFile(const std::string& /*path*/, Raster& /*target*/,
                                  std::string& error) {
        error = "vector pictures can only be imported in the desktop program";
        return false;
    }

    // Printing on the default printer: the print dialog, then one page with the picture scaled
    // into the rectangle that place gives, or the lines of a text. Only a front end with a
    // printer prints; the others report why in error.
    virtual PrintOutcome printPicture(const PrintJob& /*job*/, const Picture& /*picture*/,
                                      const PrintPlacement& /*place*/, std::string& error) {
        error = "printing is only available in the desktop program";
        return PrintOutcome::Unavailable;
    }
    virtual PrintOutcome printText(const PrintJob& /*job*/,
                                   const std::vector<std::string>& /*lines*/, std::string& error) {
        error = "printing is only available in the desktop program";
        return PrintOutcome::Unavailable;
    }
};

}  // namespace umbrix
