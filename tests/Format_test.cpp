#include "platform/Format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "platform/Error.h"

using namespace umbrix;

namespace {

struct FixedCase {
    double value;
    int p, d;
    const char* text;
};

constexpr double kInf = std::numeric_limits<double>::infinity();

}  // namespace

TEST(Fixed, ReferenceTable) {
    const FixedCase cases[] = {
        {20.0, 4, 1, "20.0"},
        {53.47, 5, 1, "53.5"},
        {0.9, 3, 2, "0.90"},
        {1234.56, 4, 1, "1235.0"},  // four significant digits, then one decimal
        {0.8731, 6, 3, "0.873"},
        {12.7, 3, 1, "12.7"},
        {0.125, 4, 2, "0.13"},  // halves away from zero
        {-0.125, 4, 2, "-0.13"},
        {-9999, 6, 1, "-9999.0"},
        {1.75, 4, 2, "1.75"},
        {75, 4, 1, "75.0"},
        {0, 4, 1, "0.0"},
        {0, 3, 0, "0"},
        {12.5, 3, 0, "13"},
        {-12.5, 3, 0, "-13"},
        {0.05, 4, 1, "0.1"},  // 0.05 is 0.05000000000000000277: above the half anyway
        // below the half in binary, and still below after rounding to 18 digits
        {2.675, 4, 2, "2.67"},  // 2.67499999999999982236...
        {1.005, 4, 2, "1.00"},  // 1.00499999999999989341...
        // below the half in binary, exactly the half at 18 digits: rounds up
        {0.0195, 4, 3, "0.020"},    // 0.01949999999999999997224...
        {0.01405, 5, 4, "0.0141"},  // 0.01404999999999999998889...
        {99.95, 4, 1, "100.0"},
        {0.0004, 4, 3, "0.000"},
        {0.0005, 4, 3, "0.001"},
        {12.3456, 2, 3, "12.000"},  // significant digits limit the decimals
        {0.012345, 3, 5, "0.01230"},
        {9.96, 2, 1, "10.0"},
        {1e-300, 4, 1, "0.0"},
        {14.0, 3, 1, "14.0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << " p=" << c.p << " d=" << c.d);
        EXPECT_EQ(fixed(c.value, c.p, c.d), c.text);
    }
}

TEST(Fixed, ExponentOnlyWhenTheIntegerPartNeedsMoreThanPDigits) {
    EXPECT_EQ(fixed(12345.6, 4, 1), "1.235E4");
    EXPECT_EQ(fixed(-12345.6, 4, 1), "-1.235E4");
    EXPECT_EQ(fixed(9999.4, 4, 1), "9999.0");
    // rounded to four digits the integer part has five: the rounded number decides
    EXPECT_EQ(fixed(9999.96, 4, 1), "1E4");
    EXPECT_EQ(fixed(1e20, 5, 1), "1E20");
    EXPECT_EQ(fixed(123, 3, 2), "123.00");
}

TEST(Fixed, TypedNumbersRoundTheirDigitsAsTyped) {
    // 18 digits of the double still show it below the half; the shortest digits are the typed ones
    EXPECT_EQ(fixed(1.45, 5, 1), "1.4");
    EXPECT_EQ(fixedTyped(1.45, 5, 1), "1.5");
    EXPECT_EQ(fixedTyped(-22.45, 4, 1), "-22.5");
    EXPECT_EQ(fixedTyped(1.449, 5, 1), "1.4");
    EXPECT_EQ(fixedTyped(0.125, 4, 2), "0.13");
    EXPECT_EQ(fixedTyped(123456.5, 5, 1), "1.2346E5");
    EXPECT_EQ(fixedTyped(-0.04, 3, 1), "-0.0");
    EXPECT_EQ(fixedTyped(kInf, 4, 1), "INF");
}

TEST(Fixed, NegativeValuesRoundingToZeroKeepTheSign) {
    EXPECT_EQ(fixed(-0.04, 3, 1), "-0.0");
    EXPECT_EQ(fixed(-1e-300, 4, 2), "-0.00");
    EXPECT_EQ(fixed(-0.0, 4, 1), "0.0");
    EXPECT_EQ(decimals(-0.001, 2), "-0.00");
}

TEST(Fixed, NonFiniteAndAbsurdArgumentsDoNotFail) {
    EXPECT_EQ(fixed(std::nan(""), 4, 1), "NAN");
    EXPECT_EQ(fixed(kInf, 4, 1), "INF");
    EXPECT_EQ(fixed(-kInf, 4, 1), "-INF");
    EXPECT_EQ(general(std::nan(""), 4), "NAN");
    EXPECT_EQ(decimals(-kInf, 2), "-INF");
    EXPECT_EQ(fixed(1.5, 0, -3), "2");
    EXPECT_EQ(fixed(1.5, 4, 1000).size(), 42u);  // at most 40 decimals
    EXPECT_EQ(fixed(std::numeric_limits<double>::max(), 4, 1), "1.798E308");
    EXPECT_EQ(fixed(std::numeric_limits<double>::denorm_min(), 4, 1), "0.0");
}

TEST(General, ReferenceTable) {
    struct Case {
        double value;
        int p;
        const char* text;
    };
    const Case cases[] = {
        {0, 15, "0"},
        {1, 15, "1"},
        {-2.5, 15, "-2.5"},
        {0.1, 15, "0.1"},
        {1.0 / 3, 15, "0.333333333333333"},
        {1.0 / 3, 4, "0.3333"},
        {123456, 4, "1.235E5"},
        {1234, 4, "1234"},
        {1.5e-7, 15, "1.5E-7"},
        {1e20, 15, "1E20"},
        {-2.5e10, 4, "-2.5E10"},
        {1e-5, 15, "0.00001"},
        {9.9999e-6, 15, "9.9999E-6"},
        {9.99999e-6, 4, "0.00001"},  // the rounded value decides
        {100, 15, "100"},
        {123.5, 3, "124"},
        {0.0625, 2, "0.063"},
        {1e15, 15, "1E15"},
        {999999999999999, 15, "999999999999999"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << " p=" << c.p);
        EXPECT_EQ(general(c.value, c.p), c.text);
    }
}

TEST(Decimals, ExactDecimalsWithoutDigitLimitOrExponent) {
    EXPECT_EQ(decimals(12, 2), "12.00");
    EXPECT_EQ(decimals(-3.5, 2), "-3.50");
    EXPECT_EQ(decimals(7.845, 2), "7.84");      // 7.84499999999999975...
    EXPECT_EQ(decimals(-0.0195, 3), "-0.020");  // half at 18 digits
    EXPECT_EQ(decimals(1, 0), "1");
    EXPECT_EQ(decimals(123456789.125, 2), "123456789.13");
    EXPECT_EQ(decimals(1e20, 1), "100000000000000000000.0");
    EXPECT_EQ(decimals(0.00049, 3), "0.000");
    EXPECT_EQ(decimals(0.0005, 3), "0.001");
}

TEST(ParseReal, AcceptsOnlyWholeNumbers) {
    struct Case {
        const char* text;
        bool comma;
        std::optional<double> value;
    };
    const Case cases[] = {
        {"25.5", false, 25.5},
        {"  -3  ", false, -3.0},
        {"\t+1e3", false, 1000.0},
        {".5", false, 0.5},
        {"5.", false, 5.0},
        {"1.5E-7", false, 1.5e-7},
        {"007", false, 7.0},
        {"25,5", true, 25.5},
        {"25,5", false, std::nullopt},
        {"1,2.3", true, std::nullopt},
        {"", false, std::nullopt},
        {"   ", false, std::nullopt},
        {".", false, std::nullopt},
        {"-", false, std::nullopt},
        {"1e", false, std::nullopt},
        {"1e+", false, std::nullopt},
        {"1 000", false, std::nullopt},
        {"12abc", false, std::nullopt},
        {"inf", false, std::nullopt},
        {"-INF", false, std::nullopt},
        {"nan", false, std::nullopt},
        {"0x1A", false, std::nullopt},
        {"1e400", false, std::nullopt},
        {"-1e400", false, std::nullopt},
        {"1e-400", false, 0.0},
        {"1e99999999999999999999", false, std::nullopt},
        {"0e99999999999999999999", false, 0.0},
        {"--1", false, std::nullopt},
        {"1\n", false, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parseReal(c.text, c.comma), c.value);
    }
}

TEST(ParseReal, ReadsBackWhatFixedWrites) {
    for (double v : {0.1, -273.15, 53.5, 1013.25, 1e-4, 6.02214076e23}) {
        EXPECT_EQ(parseReal(general(v, 17)), v) << v;
    }
    // many digits take the correctly rounded double
    EXPECT_EQ(parseReal("0.1000000000000000055511151231257827021181583404541015625"), 0.1);
    EXPECT_EQ(parseReal(std::string(400, '0') + "1"), 1.0);
    EXPECT_EQ(parseReal("0." + std::string(400, '0') + "1"), 0.0);
}

TEST(ParseInt, StrictThirtyTwoBit) {
    struct Case {
        const char* text;
        std::optional<int> value;
    };
    const Case cases[] = {
        {"35", 35},
        {" -7 ", -7},
        {"+12", 12},
        {"2147483647", 2147483647},
        {"-2147483648", std::numeric_limits<int>::min()},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"99999999999999999999999", std::nullopt},
        {"1.0", std::nullopt},
        {"1e3", std::nullopt},
        {"", std::nullopt},
        {"+", std::nullopt},
        {"1 2", std::nullopt},
        {"0x10", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parseInt(c.text), c.value);
    }
}

TEST(Convert, ErrorsNameTheTextAndTheField) {
    EXPECT_DOUBLE_EQ(toReal("25,5", "EditTa"), 25.5);
    EXPECT_EQ(toInt("35", "EditA"), 35);
    try {
        toReal("abc", "EditTa");
        FAIL() << "no exception";
    } catch (const ConvertError& e) {
        EXPECT_STREQ(e.what(), "\"abc\" is not a valid number (field EditTa)");
        EXPECT_EQ(e.field(), "EditTa");
        EXPECT_EQ(e.text(), "abc");
    }
    try {
        toInt("3.5", "EditA");
        FAIL() << "no exception";
    } catch (const ConvertError& e) {
        EXPECT_STREQ(e.what(), "\"3.5\" is not a valid integer (field EditA)");
    }
    EXPECT_THROW(toReal("25,5", "EditTa", false), ConvertError);
}
