// The locations list (locations.lst): every line of any text, read as the list reader does.
#include <cmath>

#include "FuzzInput.h"
#include "models/Locations.h"
#include "platform/TextFile.h"

using namespace umbrix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const std::string& line : SplitLines(text)) {
        std::optional<Location> loc = ParseLocationLine(line);
        if (!loc) continue;
        // a stored location is written back and read again with the same name
        const std::string written = LocationLine(*loc);
        std::optional<Location> back = ParseLocationLine(written);
        fuzz::Check(back.has_value(), "a written location line reads back", written);
        fuzz::Check(back->name == loc->name && back->altitude == loc->altitude,
                    "name and altitude survive writing", written);
        (void)LocationKey(written);
    }
    (void)LocationKey(text);
    return 0;
}
