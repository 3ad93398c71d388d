#pragma once
// A scripted Host for tests: dialogs answer from queues, messages are recorded.
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/FormModel.h"
#include "platform/Host.h"
#include "platform/Raster.h"

namespace umbrix::test {

class FakeHost : public Host {
  public:
    // Answers, consumed in order; an empty queue means "cancel".
    std::deque<std::optional<std::string>> openAnswers;
    std::deque<std::optional<std::string>> saveAnswers;
    std::deque<Answer> askAnswers;
    std::deque<std::optional<std::uint32_t>> colourAnswers;
    // Modal dialogs: each script acts on the dialog as a user would (types, clicks OK);
    // an empty queue closes the dialog untouched.
    std::deque<std::function<void(FormModel&)>> modalScripts;
    std::vector<std::string> modalDialogs;
    // The filter index a dialog reports back, when set.
    std::optional<int> chosenFilterIndex;

    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::vector<FileDialogOptions> openRequests;
    std::vector<FileDialogOptions> saveRequests;
    int processCalls = 0;
    int progressMax = 0;
    int progress = 0;
    int progressSteps = 0;
    bool busy = false;
    bool cancel = false;
    ClockTime clock{2026, 6, 21, 9, 0, 0};
    // Printing: the page the print dialog reports, the answer, and what was printed.
    int pageWidth = 4800, pageHeight = 6800;
    PrintOutcome printAnswer = PrintOutcome::Printed;
    std::vector<PrintJob> printJobs;
    std::vector<Rect> printedAreas;
    std::vector<std::vector<std::string>> printedTexts;

    std::optional<std::string> openFileDialog(FileDialogOptions& options) override {
        openRequests.push_back(options);
        return answer(openAnswers, options);
    }
    std::optional<std::string> saveFileDialog(FileDialogOptions& options) override {
        saveRequests.push_back(options);
        return answer(saveAnswers, options);
    }
    void runModal(FormModel& dialog) override;
    void showMessage(const std::string& text, MessageKind) override { messages.push_back(text); }
    Answer ask(const std::string& text, bool withCancel) override {
        questions.push_back(text);
        if (askAnswers.empty()) return withCancel ? Answer::Cancel : Answer::No;
        Answer a = askAnswers.front();
        askAnswers.pop_front();
        return a;
    }
    std::optional<std::uint32_t> chooseColour(std::uint32_t initial) override {
        if (colourAnswers.empty()) return initial;
        auto a = colourAnswers.front();
        colourAnswers.pop_front();
        return a;
    }
    void processMessages() override { ++processCalls; }
    bool cancelRequested() override { return cancel; }
    void setProgressMax(int max) override { progressMax = max; }
    void setProgress(int position) override { progress = position; }
    void stepProgress() override {
        ++progress;
        ++progressSteps;
    }
    void setBusy(bool b) override { busy = b; }
    ClockTime now() override { return clock; }
    PrintOutcome printPicture(const PrintJob& job, const Picture&, const PrintPlacement& place,
                              std::string& error) override {
        printJobs.push_back(job);
        if (printAnswer == PrintOutcome::Printed)
            printedAreas.push_back(place(pageWidth, pageHeight));
        if (printAnswer == PrintOutcome::Unavailable) error = "no printer";
        return printAnswer;
    }
    PrintOutcome printText(const PrintJob& job, const std::vector<std::string>& lines,
                           std::string& error) override {
        printJobs.push_back(job);
        if (printAnswer == PrintOutcome::Printed) printedTexts.push_back(lines);
        if (printAnswer == PrintOutcome::Unavailable) error = "no printer";
        return printAnswer;
    }

  private:
    std::optional<std::string> answer(std::deque<std::optional<std::string>>& queue,
                                      FileDialogOptions& options) {
        if (queue.empty()) return std::nullopt;
        auto a = queue.front();
        queue.pop_front();
        if (a) options.fileName = *a;
        if (chosenFilterIndex) options.filterIndex = *chosenFilterIndex;
        return a;
    }
};

inline void FakeHost::runModal(FormModel& dialog) {
    modalDialogs.push_back(dialog.name());
    if (modalScripts.empty()) return;
    auto script = std::move(modalScripts.front());
    modalScripts.pop_front();
    script(dialog);
}

}  // namespace umbrix::test
