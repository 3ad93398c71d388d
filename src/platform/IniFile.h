#pragma once
// INI files: [sections] of key=value lines. Keys and sections compare without case, as the
// platform's INI services do; order of first appearance is kept when written.
// Reading: lines end with CR LF, LF or CR; blanks around a line and around a key are ignored,
// the value is everything after the first "=" exactly as it stands; ";" starts a comment
// line. A section that appears twice is one section; of a key that appears twice the first
// counts. Comments, lines without "=" and lines before the first section are not kept.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace umbrix {

class IniFile {
  public:
    // A missing file gives an empty INI file; an unreadable one, or one above 16 MiB, throws
    // FileError.
    static IniFile load(const std::string& path);
    static IniFile parse(std::string_view text);

    bool hasSection(std::string_view section) const { return findSection(section) != nullptr; }
    bool hasKey(std::string_view section, std::string_view key) const;
    std::string readString(std::string_view section, std::string_view key,
                           const std::string& defaultValue) const;
    // A value that is not an integer gives the default.
    int readInt(std::string_view section, std::string_view key, int defaultValue) const;
    // "1"/"0" (also "true"/"false"); anything else gives the default.
    bool readBool(std::string_view section, std::string_view key, bool defaultValue) const;

    // Replaces the key where it stands or appends it to its section (the section to the file).
    // Line breaks in the value become blanks. A name that could not be read back (empty, with
    // blanks around, "=" or "]" in it, a key starting with ";" or "[") throws UmbrixError.
    void writeString(std::string_view section, std::string_view key, const std::string& value);
    void writeInt(std::string_view section, std::string_view key, int value);
    void writeBool(std::string_view section, std::string_view key, bool value);

    // LF line ends, a blank line between sections.
    std::string text() const;
    // Writes a temporary file beside the target and renames it, so a crash never leaves half a
    // file. Throws FileError.
    void save(const std::string& path) const;

  private:
    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> entries;
    };
    std::vector<Section> sections_;
    Section* findSection(std::string_view name);
    const Section* findSection(std::string_view name) const;
    const std::string* findValue(std::string_view section, std::string_view key) const;
};

}  // namespace umbrix
