#pragma once
// The Host of the command line: dialogs answered from the options, messages on standard error.
#include <chrono>
#include <cstdint>
#include <iostream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Host.h"

namespace umbrix::cli {

// The 1-based index of the first filter of a dialog ("Text|*.txt;*.dat|All|*.*") whose
// patterns match the file's name, as a user picks the filter that shows the file; `current`
// when none matches.
int FilterIndexFor(const std::string& filter, const std::string& path, int current);

class CliHost : public Host {
  public:
    // The answer of the next save or open dialog; consumed by it. Without one a dialog is
    // cancelled.
    std::optional<std::string> nextSave;
    std::optional<std::string> nextOpen;
    // The file type the next open dialog is answered with; else the first whose patterns match.
    std::optional<int> nextFilterIndex;
    // The file of "Output in file": answers the save dialog of the table output.
    std::optional<std::string> outputFile;
    std::optional<ClockTime> clock;
    // While set, messages are collected here instead of printed (a command that turns them
    // into its one error line).
    std::vector<std::string>* heldMessages = nullptr;

    std::optional<std::string> openFileDialog(FileDialogOptions& options) override {
        auto answer = std::exchange(nextOpen, std::nullopt);
        if (answer) {
            options.fileName = *answer;
            options.filterIndex = FilterIndexFor(options.filter, *answer, options.filterIndex);
        }
        if (auto index = std::exchange(nextFilterIndex, std::nullopt); answer && index)
            options.filterIndex = *index;
        return answer;
    }
    std::optional<std::string> saveFileDialog(FileDialogOptions& options) override {
        auto answer = std::exchange(nextSave, std::nullopt);
        // the --output file answers the table's dialog only, never a session's "Save as"
        if (!answer && options.purpose == DialogPurpose::TableOutput) answer = outputFile;
        if (answer) options.fileName = *answer;
        return answer;
    }
    void showMessage(const std::string& text, MessageKind) override {
        if (heldMessages) {
            heldMessages->push_back(text);
            return;
        }
        std::cerr << "umbrix: " << text << "\n";
    }
    Answer ask(const std::string& text, bool withCancel) override {
        std::cerr << "umbrix: " << text << " (answered " << (withCancel ? "cancel" : "no") << ")\n";
        return withCancel ? Answer::Cancel : Answer::No;
    }
    // An option that deletes was asked for on the command line: that is the answer.
    bool confirm(const std::string&) override { return true; }
    ClockTime now() override;

    // One updating progress line on standard error (a terminal, and no --quiet).
    bool showProgress = false;
    void reportRows(std::int64_t rows, double fraction) override;

  private:
    std::chrono::steady_clock::time_point progressStart_, progressShown_;
    std::size_t progressWidth_ = 0;  // characters of the line shown; 0: none
};

}  // namespace umbrix::cli
