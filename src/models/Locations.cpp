#include "models/Locations.h"

#include <cfloat>
#include <climits>
#include <cmath>
#include <filesystem>

#include "platform/Error.h"
#include "platform/Format.h"
#include "platform/OutputFile.h"
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

constexpr std::size_t kMaxListBytes = std::size_t(16) << 20;
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

bool startsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

bool isUtf16(std::string_view text) {
    return startsWith(text, "\xFF\xFE") || startsWith(text, "\xFE\xFF");
}

// The lines of the file as they stand (a missing file has none).
std::vector<std::string> readLines(const std::string& path) {
    std::optional<std::string> text = ReadTextFileIfExists(path, kMaxListBytes);
    if (!text) return {};
    if (isUtf16(*text))
        throw FileError("cannot read \"" + path + "\": it is in UTF-16; save it as UTF-8");
    return SplitLines(*text);
}

// The text of line n (0-based) that holds a location: without the byte-order mark of the
// first line; nothing for a blank or comment line.
std::optional<std::string_view> locationText(const std::vector<std::string>& lines, std::size_t n) {
    std::string_view line = lines[n];
    if (n == 0 && startsWith(line, kUtf8Mark)) line.remove_prefix(kUtf8Mark.size());
    if (isBlankLine(line)) return std::nullopt;
    const std::size_t first = line.find_first_not_of(" \t");
    if (line[first] == '#') return std::nullopt;
    return line;
}

// The location of a line, when its name can be chosen as well.
std::optional<Location> usableLocation(std::string_view text, std::string* reason = nullptr) {
    std::optional<Location> loc = ParseLocationLine(text);
    std::string why;
    if (!loc)
        why = "it does not start with longitude, latitude, time zone and altitude";
    else
        why = LocationNameFault(loc->name);
    if (why.empty()) return loc;
    if (reason) *reason = why;
    return std::nullopt;
}

std::string joinLines(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& line : lines) out += line + "\n";
    return out;
}

// The list's lines changed by `change` and written back as a whole, under the lock.
template <class Change>
bool updateLines(const std::string& path, Change change) {
    FileUpdateLock lock(path);
    std::vector<std::string> lines = readLines(path);
    if (!change(lines)) return false;
    WriteTextFileAtomic(path, joinLines(lines));
    return true;
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

LocationList LoadLocationList(const std::string& path) {
    LocationList out;
    std::vector<std::string> lines;
    try {
        lines = readLines(path);
    } catch (const FileError& e) {
        out.error = e.what();
        return out;
    }
    for (std::size_t n = 0; n < lines.size(); ++n) {
        std::optional<std::string_view> text = locationText(lines, n);
        if (!text) continue;
        std::string reason;
        if (auto loc = usableLocation(*text, &reason))
            out.locations.push_back(std::move(*loc));
        else
            out.skipped.push_back({n + 1, reason});
    }
    return out;
}

std::vector<Location> LoadLocations(const std::string& path) {
    return LoadLocationList(path).locations;
}

std::optional<Location> FindLocation(const std::string& path, std::string_view name) {
    for (auto& loc : LoadLocations(path))
        if (loc.name == name) return loc;
    return std::nullopt;
}

std::string LocationNameFault(std::string_view name) {
    if (name.empty()) return "it has no name";
    if (name.find('\t') != std::string_view::npos) return "its name holds a tab";
    if (name.find_first_of("\r\n") != std::string_view::npos) return "its name holds a line break";
    return {};
}

void AddLocation(const std::string& path, const Location& location) {
    if (std::string fault = LocationNameFault(location.name); !fault.empty())
        throw UmbrixError("the location \"" + location.name + "\" cannot be stored: " + fault);
    updateLines(path, [&location](std::vector<std::string>& lines) {
        for (std::size_t n = 0; n < lines.size(); ++n) {
            std::optional<std::string_view> text = locationText(lines, n);
            if (!text) continue;
            auto loc = usableLocation(*text);
            if (loc && loc->name == location.name) {
                const bool marked = n == 0 && startsWith(lines[n], kUtf8Mark);
                lines[n] = (marked ? std::string(kUtf8Mark) : "") + LocationLine(location);
                return true;
            }
        }
        lines.push_back(LocationLine(location));
        return true;
    });
}

bool RemoveLocation(const std::string& path, std::string_view name) {
    // nothing to remove from a list that does not exist, and nothing to create either
    if (!std::filesystem::exists(path)) return false;
    return updateLines(path, [name](std::vector<std::string>& lines) {
        for (std::size_t n = 0; n < lines.size(); ++n) {
            std::optional<std::string_view> text = locationText(lines, n);
            if (!text) continue;
            auto loc = usableLocation(*text);
            if (loc && loc->name == name) {
                const bool marked = n == 0 && startsWith(lines[n], kUtf8Mark);
                lines.erase(lines.begin() + long(n));
                // the mark belongs to the file, not to the line it stood on
                if (marked && !lines.empty()) lines[0] = std::string(kUtf8Mark) + lines[0];
                return true;
            }
        }
        return false;
    });
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
