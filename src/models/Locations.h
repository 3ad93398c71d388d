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

// A line of the list that cannot be read: its 1-based number and the reason.
struct SkippedLocationLine {
    std::size_t line = 0;
    std::string reason;
};

struct LocationList {
    std::vector<Location> locations;           // in file order
    std::vector<SkippedLocationLine> skipped;  // lines that could not be read
    std::string error;  // the whole file could not be read ("" when it could, or is missing)
};

// Every location of the file, in file order. A UTF-8 byte-order mark, blank lines and lines
// starting with "#" are passed over; a line that cannot be read (not four numbers, no name, a
// tab in the name) is skipped and listed, and reading goes on. A missing file gives an empty
// list; a file in UTF-16 is refused as a whole.
LocationList LoadLocationList(const std::string& path);
// The locations of LoadLocationList alone.
std::vector<Location> LoadLocations(const std::string& path);
// The first location whose name equals name exactly.
std::optional<Location> FindLocation(const std::string& path, std::string_view name);
// Why a name cannot be stored (a tab or line break would make its line unreadable, an empty one
// could never be chosen); empty when it can.
std::string LocationNameFault(std::string_view name);
// Appends the location, or replaces the line of a location of the same name; creates a missing
// file. The file is read, changed and replaced as a whole under a lock, so that programs that
// change the list at the same time do not undo each other's changes; lines that cannot be read
// stay as they are. Throws FileError, and UmbrixError for a name that cannot be stored.
void AddLocation(const std::string& path, const Location& location);
// Deletes the first line whose name equals name exactly, as AddLocation changes the file; false
// (and the file untouched) when there is none. Throws FileError.
bool RemoveLocation(const std::string& path, std::string_view name);

// The combo text as a lookup key: four times everything up to and including the first tab is
// removed, and at most 80 characters are kept.
std::string LocationKey(std::string_view comboText);

}  // namespace umbrix
