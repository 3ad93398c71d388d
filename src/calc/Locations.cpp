#include "calc/Locations.h"

#include <cfloat>
#include <climits>
#include <cmath>
#include <filesystem>

#include "platform/Error.h"
#include "platform/Format.h"
#include "platform/TextFile.h"

namespace umbrix {

namespace {
bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// One number: leading blanks skipped, then up to the next blank.
std::optional<double> readNumber(std::string_view line, std::size_t& pos) {
    while (pos < line.size() && isBlank(line[pos])) ++pos;
    std::size_t start = pos;
    while (pos < line.size() && !isBlank(line[pos])) ++pos;
    if (start == pos) return std::nullopt;
    return parseReal(line.substr(start, pos - start));
}

std::string withoutCarriageReturn(std::string_view s) {
    while (!s.empty() && (s.back() == '\r' || s.back() == '\n')) s.remove_suffix(1);
    return std::string(s);
}

bool isBlankLine(std::string_view line) {
    for (char c : line)
        if (!isBlank(c)) return false;
    return true;
}

std::vector<std::string> readLines(const std::string& path) {
    if (!std::filesystem::exists(path)) return {};
    return SplitLines(ReadTextFile(path, std::size_t(16) << 20));
}

std::string joinLines(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& line : lines) out += line + "\n";
    return out;
}
}  // namespace

std::optional<Location> ParseLocationLine(std::string_view line) {
    std::size_t pos = 0;
    double values[4];
    for (double& value : values) {
        auto v = readNumber(line, pos);
        // a number beyond a float would become infinity and could not be written back
        if (!v || std::fabs(*v) > FLT_MAX) return std::nullopt;
        value = *v;
    }
    // the altitude is a whole number of metres that an int holds
    if (values[3] != std::trunc(values[3]) || std::fabs(values[3]) > INT_MAX) return std::nullopt;
    Location loc;
    loc.longitude = float(values[0]);
    loc.latitude = float(values[1]);
    loc.timeZone = float(values[2]);
    loc.altitude = int(values[3]);
    if (pos < line.size()) ++pos;  // the separator after the altitude
    loc.name = withoutCarriageReturn(line.substr(pos));
    return loc;
}

std::string LocationLine(const Location& location) {
    return decimals(location.longitude, 2) + "\t" + decimals(location.latitude, 2) + "\t" +
           decimals(location.timeZone, 1) + "\t" + std::to_string(location.altitude) + "\t" +
           location.name;
}

std::vector<Location> LoadLocations(const std::string& path) {
    std::vector<Location> out;
    std::vector<std::string> lines;
    try {
        lines = readLines(path);
    } catch (const FileError&) {
        return out;  // an unreadable list leaves the combo box empty, without a message
    }
    for (const auto& line : lines) {
        if (isBlankLine(line)) continue;
        auto loc = ParseLocationLine(line);
        if (!loc) break;
        out.push_back(std::move(*loc));
    }
    return out;
}

std::optional<Location> FindLocation(const std::string& path, std::string_view name) {
    for (auto& loc : LoadLocations(path))
        if (loc.name == name) return loc;
    return std::nullopt;
}

void AddLocation(const std::string& path, const Location& location) {
    std::vector<std::string> lines = readLines(path);
    for (auto& line : lines) {
        auto loc = ParseLocationLine(line);
        if (loc && loc->name == location.name) {
            line = LocationLine(location);
            WriteTextFileAtomic(path, joinLines(lines));
            return;
        }
    }
    // Append; a file without a final line end gets one first.
    std::string content;
    if (std::filesystem::exists(path)) {
        std::string old = ReadTextFile(path, std::size_t(16) << 20);
        if (!old.empty() && old.back() != '\n' && old.back() != '\r') content = "\n";
    }
    AppendTextFile(path, content + LocationLine(location) + "\n");
}

bool RemoveLocation(const std::string& path, std::string_view name) {
    std::vector<std::string> lines = readLines(path);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        auto loc = ParseLocationLine(lines[i]);
        if (loc && loc->name == name) {
            lines.erase(lines.begin() + long(i));
            WriteTextFileAtomic(path, joinLines(lines));
            return true;
        }
    }
    return false;
}

std::string LocationKey(std::string_view comboText) {
    std::string text(comboText);
    for (int i = 0; i < 4; ++i) {
        auto tab = text.find('\t');
        if (tab != std::string::npos) text.erase(0, tab + 1);
        if (text.size() > 80) text.resize(80);
    }
    return text;
}

}  // namespace umbrix
