// Inputs the fuzz harnesses (tests/fuzz) found to break a reader, each with the behaviour that
// replaced the fault. The raw inputs are also replayed by every fuzz smoke run
// (tests/fuzz/regressions/).
#include <gtest/gtest.h>

#include "calc/Locations.h"

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

}  // namespace
}  // namespace umbrix
