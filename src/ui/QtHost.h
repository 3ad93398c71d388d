#pragma once
// The Host of the desktop program: Qt file dialogs, message boxes, the colour dialog, the
// progress bar, the busy cursor, the clock and SVG rendering. Tests answer dialogs and messages
// through the hooks instead of showing them.
#include <QPointer>
#include <QProgressBar>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <string>

#include "platform/Host.h"

class QPrinter;

namespace umbrix::ui {

// "Text files|*.txt;*.dat|All files|*.*" as Qt name filters: "Text files (*.txt *.dat)", ...
QStringList QtNameFilters(const std::string& filter);
// The name with an extension: the chosen filter's when it names one ("*.bmp"), otherwise the
// default extension ("emf, wmf" gives "emf"); a name that has an extension is kept.
std::string WithDefaultExtension(const std::string& path, const std::string& filter,
                                 int filterIndex, const std::string& defaultExt);

class QtHost : public Host {
  public:
    QtHost() = default;

    // ---- hooks (set by the desktop shell and by tests) ----
    // Answers a file dialog instead of showing one; `save` tells which kind.
    std::function<std::optional<std::string>(FileDialogOptions&, bool save)> fileDialogHook;
    // Answers a message or question instead of a message box.
    std::function<Answer(const std::string& text, MessageKind kind, bool question, bool withCancel)>
        messageHook;
    std::function<std::optional<std::uint32_t>(std::uint32_t)> colourHook;
    // Shows a dialog model modally (the shell knows its window).
    std::function<void(FormModel&)> modalRunner;
    // Lets pending events run during a long loop (the shell guards against re-entrancy).
    std::function<void()> messagePump;
    // Sets the printer up instead of the print dialog (tests print to PDF); false cancels.
    std::function<bool(QPrinter&)> printerSetup;
    std::optional<ClockTime> clock;  // fixed clock for tests
    QPointer<QProgressBar> progressBar;
    QString title = "Umbrix";  // message box titles

    void requestCancel() { cancel_ = true; }
    void clearCancel() { cancel_ = false; }

    // ---- Host ----
    std::optional<std::string> openFileDialog(FileDialogOptions& options) override;
    std::optional<std::string> saveFileDialog(FileDialogOptions& options) override;
    void runModal(FormModel& dialog) override;
    void showMessage(const std::string& text, MessageKind kind) override;
    Answer ask(const std::string& text, bool withCancel) override;
    // Yes and No, No the default: Enter alone does not delete.
    bool confirm(const std::string& text) override;
    std::optional<std::uint32_t> chooseColour(std::uint32_t initial) override;
    void processMessages() override;
    bool cancelRequested() override { return cancel_; }
    void setProgressMax(int max) override;
    void setProgress(int position) override;
    void stepProgress() override;
    void setBusy(bool busy) override;
    ClockTime now() override;
    bool renderVectorFile(const std::string& path, Raster& target, std::string& error) override;
    PrintOutcome printPicture(const PrintJob& job, const Picture& picture,
                              const PrintPlacement& place, std::string& error) override;
    PrintOutcome printText(const PrintJob& job, const std::vector<std::string>& lines,
                           std::string& error) override;

  private:
    // The print dialog (or the test's setup) on a printer for the job; false when cancelled.
    bool choosePrinter(QPrinter& printer, const PrintJob& job);
    std::optional<std::string> fileDialog(FileDialogOptions& options, bool save);

    bool cancel_ = false;
    int busyDepth_ = 0;
};

}  // namespace umbrix::ui
