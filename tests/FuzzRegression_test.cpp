// Inputs the fuzz harnesses (tests/fuzz) found to break a reader, each with the behaviour that
// replaced the fault. The raw inputs are also replayed by every fuzz smoke run
// (tests/fuzz/regressions/).
#include <gtest/gtest.h>

#include <fstream>

#include "models/Locations.h"
#include "series/DataFile.h"
#include "support/TempDir.h"

namespace umbrix {
namespace {

// A number beyond a float became an infinite longitude that was written back as "INF"; an
// altitude beyond an int was converted with undefined behaviour.
TEST(FuzzRegression, LocationLineRefusesNumbersBeyondItsTypes) {
    const std::string fine = "7.85\t48.00\t1.0\t2147483647\tFreiburg";
    ASSERT_TRUE(ParseLocationLine(fine));
    EXPECT_EQ(ParseLocationLine(fine)->altitude, 2147483647);
    for (const char* line : {"555555555555555555555555555555555555555557.85 48.00 1.07 28 X",
                             "7.85\t-1e39\t1.0\t278\tX", "7.85\t48.00\t1e300\t278\tX",
                             "7.85\t48.00\t1.0\t2147483648\tX", "7.85\t48.00\t1.0\t-1e20\tX"})
        EXPECT_FALSE(ParseLocationLine(line)) << line;
}

// A data-file longitude or latitude beyond a float was read as an infinite position; it is now
// refused like any other number out of range, naming line and column.
TEST(FuzzRegression, DataFileRefusesAnAngleBeyondAFloat) {
    test::TempDir dir;
    DataFileSettings s;
    s.path = dir.file("lon.txt");
    s.columns = {DataColumn::Longitude, DataColumn::Ta};
    for (const char* angle : {"1e300", "-4e38"}) {
        std::ofstream(s.path, std::ios::binary) << "7.85\t20\n" << angle << "\t20\n";
        DataFileReader reader(s);
        EXPECT_FLOAT_EQ(reader.next().longitude, 7.85f);
        try {
            reader.next();
            ADD_FAILURE() << angle << " was read";
        } catch (const DataFileError& e) {
            EXPECT_EQ(e.line(), 2);
            EXPECT_NE(std::string(e.what()).find("out of range"), std::string::npos) << e.what();
        }
    }
}

}  // namespace
}  // namespace umbrix
