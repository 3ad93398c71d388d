#pragma once
// locations.lst: one named location per line, tab-separated: longitude (°E, 2 decimals),
// latitude (°N, 2 decimals), time zone (h east of UTC, 1 decimal), altitude (m), name.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace umbrix {

struct Location {
    float longitude = 0;
    float latitude = 0;
    float timeZone = 0;
    int altitude = 0;
    std::string name;
};

// Reads one line: blanks or tabs before each of the four numbers, exactly one separator after
// the altitude, the rest is the name (a trailing carriage return is not part of it). Nothing
// for a line that does not hold four numbers.
std::optional<Location> ParseLocationLine(std::string_view line);
std::string LocationLine(const Location& location);

// Every location of the file, in file order; blank lines are skipped and reading stops at the
// first unreadable line (what was read stays). A missing file gives an empty list.
std::vector<Location> LoadLocations(const std::string& path);
// The first location whose name equals name exactly.
std::optional<Location> FindLocation(const std::string& path, std::string_view name);
// Appends the location, or replaces the line of a location of the same name; creates a missing
// file. Throws FileError.
void AddLocation(const std::string& path, const Location& location);
// Deletes the first line whose name equals name exactly; false (and the file untouched) when
// there is none. Throws FileError.
bool RemoveLocation(const std::string& path, std::string_view name);

// The combo text as a lookup key: four times everything up to and including the first tab is
// removed, and at most 80 characters are kept.
std::string LocationKey(std::string_view comboText);

}  // namespace umbrix
