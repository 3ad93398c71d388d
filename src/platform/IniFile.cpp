#include "platform/IniFile.h"

#include <algorithm>

#include "platform/Error.h"
#include "platform/Format.h"
#include "platform/TextFile.h"

namespace umbrix {

namespace {

// A session file is a few kilobytes; anything this large is not one.
constexpr std::size_t kMaxIniBytes = std::size_t(16) << 20;

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Lower(x) == Lower(y); });
}

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

// Names that would not read back as the same section or key are a caller's mistake.
void CheckSectionName(std::string_view section) {
    if (TrimBlanks(section).empty() || section != TrimBlanks(section) ||
        section.find(']') != std::string_view::npos || HasLineBreak(section)) {
        throw UmbrixError("invalid INI section name \"" + std::string(section) + "\"");
    }
}

void CheckKey(std::string_view key) {
    if (TrimBlanks(key).empty() || key != TrimBlanks(key) || key.front() == ';' ||
        key.front() == '[' || key.find('=') != std::string_view::npos || HasLineBreak(key)) {
        throw UmbrixError("invalid INI key \"" + std::string(key) + "\"");
    }
}

}  // namespace

IniFile IniFile::load(const std::string& path) {
    std::optional<std::string> content = ReadTextFileIfExists(path, kMaxIniBytes);
    if (!content) return IniFile{};
    return parse(*content);
}

IniFile IniFile::parse(std::string_view text) {
    IniFile ini;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // UTF-8 mark of editors
    Section* current = nullptr;
    for (const std::string& rawLine : SplitLines(text)) {
        std::string_view line = TrimBlanks(rawLine);
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            std::size_t close = line.find(']');
            if (close == std::string_view::npos) {
                current = nullptr;  // a broken header: its keys belong nowhere
                continue;
            }
            std::string_view name = TrimBlanks(line.substr(1, close - 1));
            current = ini.findSection(name);
            if (!current) {
                ini.sections_.push_back(Section{std::string(name), {}});
                current = &ini.sections_.back();
            }
            continue;
        }
        std::size_t eq = line.find('=');
        // lines before the first section or without "=" cannot be addressed; they are dropped
        if (!current || eq == std::string_view::npos) continue;
        std::string_view key = TrimBlanks(line.substr(0, eq));
        if (key.empty()) continue;
        // the value keeps its blanks: what was written is read back unchanged
        std::string_view rawView = rawLine;
        std::string_view value = rawView.substr(rawView.find('=') + 1);
        current->entries.emplace_back(std::string(key), std::string(value));
    }
    return ini;
}

IniFile::Section* IniFile::findSection(std::string_view name) {
    for (Section& s : sections_) {
        if (SameName(s.name, name)) return &s;
    }
    return nullptr;
}

const IniFile::Section* IniFile::findSection(std::string_view name) const {
    for (const Section& s : sections_) {
        if (SameName(s.name, name)) return &s;
    }
    return nullptr;
}

const std::string* IniFile::findValue(std::string_view section, std::string_view key) const {
    const Section* s = findSection(section);
    if (!s) return nullptr;
    for (const auto& [k, v] : s->entries) {
        if (SameName(k, key)) return &v;
    }
    return nullptr;
}

bool IniFile::hasKey(std::string_view section, std::string_view key) const {
    return findValue(section, key) != nullptr;
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                const std::string& defaultValue) const {
    const std::string* value = findValue(section, key);
    return value ? *value : defaultValue;
}

int IniFile::readInt(std::string_view section, std::string_view key, int defaultValue) const {
    const std::string* value = findValue(section, key);
    if (!value) return defaultValue;
    return parseInt(*value).value_or(defaultValue);
}

bool IniFile::readBool(std::string_view section, std::string_view key, bool defaultValue) const {
    const std::string* value = findValue(section, key);
    if (!value) return defaultValue;
    std::string_view v = TrimBlanks(*value);
    if (v == "1" || SameName(v, "true")) return true;
    if (v == "0" || SameName(v, "false")) return false;
    return defaultValue;
}

void IniFile::writeString(std::string_view section, std::string_view key,
                          const std::string& value) {
    CheckSectionName(section);
    CheckKey(key);
    // a line break would end the value early and turn its rest into other lines
    std::string stored = value;
    std::replace_if(
        stored.begin(), stored.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    Section* s = findSection(section);
    if (!s) {
        sections_.push_back(Section{std::string(section), {}});
        s = &sections_.back();
    }
    for (auto& [k, v] : s->entries) {
        if (SameName(k, key)) {
            v = std::move(stored);
            return;
        }
    }
    s->entries.emplace_back(std::string(key), std::move(stored));
}

void IniFile::writeInt(std::string_view section, std::string_view key, int value) {
    writeString(section, key, std::to_string(value));
}

void IniFile::writeBool(std::string_view section, std::string_view key, bool value) {
    writeString(section, key, value ? "1" : "0");
}

std::string IniFile::text() const {
    std::string out;
    for (const Section& s : sections_) {
        if (!out.empty()) out.append("\n");
        out.append("[").append(s.name).append("]\n");
        for (const auto& [k, v] : s.entries) out.append(k).append("=").append(v).append("\n");
    }
    return out;
}

void IniFile::save(const std::string& path) const {
    WriteTextFileAtomic(path, text());
}

}  // namespace umbrix
