#pragma once
// A host for benchmarks: progress and message calls go through the interface as in the
// program, doing nothing.
#include "platform/Host.h"

namespace umbrix::bench {

class QuietHost : public Host {
  public:
    std::optional<std::string> openFileDialog(FileDialogOptions&) override { return {}; }
    std::optional<std::string> saveFileDialog(FileDialogOptions&) override { return {}; }
    void showMessage(const std::string&, MessageKind) override {}
    Answer ask(const std::string&, bool) override { return Answer::No; }
    ClockTime now() override { return {}; }
};

}  // namespace umbrix::bench
