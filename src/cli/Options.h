#pragma once
// The command line: options parsed into a list of steps, applied in the order given.
#include <optional>
#include <string>
#include <vector>

#include "platform/Host.h"

namespace umbrix::cli {

struct Step {
    std::string option;  // "--set", "--new", ...
    std::string value;   // argument, if the option takes one
};

struct Options {
    bool help = false;
    bool quiet = false;  // no progress line
    // The environment the program starts in, taken before the steps run.
    std::optional<ClockTime> now;
    std::string locationsFile;
    std::vector<Step> steps;
};

// Throws UmbrixError for an unknown option (naming the nearest) or a missing argument.
Options ParseOptions(const std::vector<std::string>& args);
// "d.m.yyyy h:mm" (seconds optional).
ClockTime ParseClock(const std::string& text);
std::string Usage();

}  // namespace umbrix::cli
