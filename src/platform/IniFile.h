#pragma once
// INI files: [sections] of key=value lines. Keys and sections compare without case, as the
// platform's INI services do; order of first appearance is kept when written.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace umbrix {

class IniFile {
public:
    // A missing file gives an empty INI file; an unreadable one throws FileError.
    static IniFile load(const std::string& path);
    static IniFile parse(std::string_view text);

    bool hasKey(std::string_view section, std::string_view key) const;
    std::string readString(std::string_view section, std::string_view key,
                           const std::string& defaultValue) const;
    // A value that is not an integer gives the default.
    int readInt(std::string_view section, std::string_view key, int defaultValue) const;
    // "1"/"0" (also "true"/"false"); anything else gives the default.
    bool readBool(std::string_view section, std::string_view key, bool defaultValue) const;

    void writeString(std::string_view section, std::string_view key, const std::string& value);
    void writeInt(std::string_view section, std::string_view key, int value);
    void writeBool(std::string_view section, std::string_view key, bool value);

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
};

}  // namespace umbrix
