// INI files (session files): any text parses; what is written reads back as the same file.
#include "FuzzInput.h"
#include "platform/Error.h"
#include "platform/IniFile.h"

using namespace umbrix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    IniFile ini = IniFile::parse(text);
    const std::string once = ini.text();
    const std::string twice = IniFile::parse(once).text();
    fuzz::Check(once == twice, "written INI text reads back unchanged", once);

    (void)ini.readInt("FormGeodat", "EditTa", 0);
    (void)ini.readBool("FormGeodat", "PetChk", false);
    (void)ini.hasKey("", "");

    // names and values taken from the input itself
    fuzz::Input in(data, size);
    const std::string section(in.line());
    const std::string key(in.line());
    const std::string value(in.line());
    try {
        ini.writeString(section, key, value);
        const IniFile back = IniFile::parse(ini.text());
        std::string expected = value;
        for (char& c : expected)
            if (c == '\r' || c == '\n') c = ' ';
        fuzz::Check(back.readString(section, key, "\x01") == expected, "written value reads back",
                    key);
    } catch (const UmbrixError&) {
        // a name that could not be read back is refused
    }
    return 0;
}
