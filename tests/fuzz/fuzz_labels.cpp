// The labels line of a data file: any bytes with each field separator; the columns are named
// once each, or the line is refused with ColumnLabelError.
#include <unistd.h>

#include <array>
#include <fstream>

#include "FuzzInput.h"
#include "platform/Error.h"
#include "series/ColumnLabels.h"

using namespace umbrix;

namespace {
constexpr char kSeparators[] = {'\t', ',', ';', '|'};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const char separator = kSeparators[in.byte() % 4];
    const std::string_view text = in.rest();
    static const std::string path =
        std::string(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + "/umbrix_fuzz_labels_" +
        std::to_string(getpid()) + ".txt";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(text.data(), std::streamsize(text.size()));
    }
    try {
        const std::vector<DataColumn> columns = ReadColumnLabels(path, separator);
        fuzz::Check(!columns.empty(), "a column list is not empty");
        std::array<bool, kDataColumnCount> seen{};
        for (DataColumn c : columns) {
            const int i = int(c);
            fuzz::Check(i >= 0 && i < kDataColumnCount, "known columns");
            fuzz::Check(!seen[std::size_t(i)], "each column once");
            seen[std::size_t(i)] = true;
        }
    } catch (const UmbrixError&) {
        // unknown labels, an empty or overlong first line: a message naming them
    }
    return 0;
}
