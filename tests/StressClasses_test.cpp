#include "indices/StressClasses.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

using namespace umbrix;

namespace {

struct BoundaryCase {
    StressIndex index;
    double value;
    const char* english;
};

// Every published bound, and just above it: a class holds its upper bound, not its lower one.
const BoundaryCase kBoundaries[] = {
    {StressIndex::UTCI, -40.0, "extreme cold stress"},
    {StressIndex::UTCI, -39.9, "very strong cold stress"},
    {StressIndex::UTCI, -27.0, "very strong cold stress"},
    {StressIndex::UTCI, -26.9, "strong cold stress"},
    {StressIndex::UTCI, -13.0, "strong cold stress"},
    {StressIndex::UTCI, -12.9, "moderate cold stress"},
    {StressIndex::UTCI, 0.0, "moderate cold stress"},
    {StressIndex::UTCI, 0.1, "slight cold stress"},
    {StressIndex::UTCI, 9.0, "slight cold stress"},
    {StressIndex::UTCI, 9.1, "no thermal stress"},
    {StressIndex::UTCI, 26.0, "no thermal stress"},
    {StressIndex::UTCI, 26.1, "moderate heat stress"},
    {StressIndex::UTCI, 32.0, "moderate heat stress"},
    {StressIndex::UTCI, 32.1, "strong heat stress"},
    {StressIndex::UTCI, 38.0, "strong heat stress"},
    {StressIndex::UTCI, 38.1, "very strong heat stress"},
    {StressIndex::UTCI, 46.0, "very strong heat stress"},
    {StressIndex::UTCI, 46.1, "extreme heat stress"},
    {StressIndex::PET, 4.0, "extreme cold stress"},
    {StressIndex::PET, 4.1, "strong cold stress"},
    {StressIndex::PET, 8.0, "strong cold stress"},
    {StressIndex::PET, 8.1, "moderate cold stress"},
    {StressIndex::PET, 13.0, "moderate cold stress"},
    {StressIndex::PET, 13.1, "slight cold stress"},
    {StressIndex::PET, 18.0, "slight cold stress"},
    {StressIndex::PET, 18.1, "no thermal stress"},
    {StressIndex::PET, 23.0, "no thermal stress"},
    {StressIndex::PET, 23.1, "slight heat stress"},
    {StressIndex::PET, 29.0, "slight heat stress"},
    {StressIndex::PET, 29.1, "moderate heat stress"},
    {StressIndex::PET, 35.0, "moderate heat stress"},
    {StressIndex::PET, 35.1, "strong heat stress"},
    {StressIndex::PET, 41.0, "strong heat stress"},
    {StressIndex::PET, 41.1, "extreme heat stress"},
    {StressIndex::PMV, -2.5, "cold"},
    {StressIndex::PMV, -2.4, "cool"},
    {StressIndex::PMV, -1.5, "cool"},
    {StressIndex::PMV, -1.4, "slightly cool"},
    {StressIndex::PMV, -0.5, "slightly cool"},
    {StressIndex::PMV, -0.4, "neutral"},
    {StressIndex::PMV, 0.5, "neutral"},
    {StressIndex::PMV, 0.6, "slightly warm"},
    {StressIndex::PMV, 1.5, "slightly warm"},
    {StressIndex::PMV, 1.6, "warm"},
    {StressIndex::PMV, 2.5, "warm"},
    {StressIndex::PMV, 2.6, "hot"},
    {StressIndex::PT, -39.0, "extreme cold stress"},
    {StressIndex::PT, -38.9, "strong cold stress"},
    {StressIndex::PT, -26.0, "strong cold stress"},
    {StressIndex::PT, -25.9, "moderate cold stress"},
    {StressIndex::PT, -13.0, "moderate cold stress"},
    {StressIndex::PT, -12.9, "slight cold stress"},
    {StressIndex::PT, 0.0, "slight cold stress"},
    {StressIndex::PT, 0.1, "comfortable"},
    {StressIndex::PT, 20.0, "comfortable"},
    {StressIndex::PT, 20.1, "slight heat stress"},
    {StressIndex::PT, 26.0, "slight heat stress"},
    {StressIndex::PT, 26.1, "moderate heat stress"},
    {StressIndex::PT, 32.0, "moderate heat stress"},
    {StressIndex::PT, 32.1, "strong heat stress"},
    {StressIndex::PT, 38.0, "strong heat stress"},
    {StressIndex::PT, 38.1, "extreme heat stress"},
};

std::string LabelOf(StressIndex index, double value, TextLanguage language) {
    const int c = StressClassOf(index, value);
    return c < 0 ? "(none)" : std::string(StressClasses(index)[c].label(language));
}

}  // namespace

TEST(StressClasses, EveryBoundaryBelongsToTheClassBelowIt) {
    for (const auto& row : kBoundaries) {
        EXPECT_EQ(LabelOf(row.index, row.value, TextLanguage::English), row.english)
            << StressIndexName(row.index) << " " << row.value;
        // the same as a 4-byte float, as the table stores its results
        EXPECT_EQ(LabelOf(row.index, static_cast<float>(row.value), TextLanguage::English),
                  row.english)
            << StressIndexName(row.index) << " " << row.value << " as float";
    }
}

TEST(StressClasses, ExtremesMissingValuesAndGermanLabels) {
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        StressIndex index;
        double value;
        const char* german;
    } cases[] = {
        {StressIndex::UTCI, -80, "extremer Kältestress"},
        {StressIndex::UTCI, 20, "kein thermischer Stress"},
        {StressIndex::UTCI, inf, "extremer Hitzestress"},
        {StressIndex::PET, 30, "mäßige Wärmebelastung"},
        {StressIndex::PMV, -9, "kalt"},
        {StressIndex::PMV, 0.9, "etwas warm"},
        {StressIndex::PT, 10, "behaglich"},
        {StressIndex::PT, -inf, "extreme Kältebelastung"},
        {StressIndex::PT, std::nan(""), "(none)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LabelOf(c.index, c.value, TextLanguage::German), c.german)
            << StressIndexName(c.index) << " " << c.value;
}

// ISO 7730: PPD is 5 % at PMV 0 and 10.2 % at ±0.5, 26 % at ±1 and 77 % at ±2.
TEST(StressClasses, PredictedPercentDissatisfied) {
    const double cases[][2] = {{0, 5.0},    {0.5, 10.23}, {-0.5, 10.23}, {1, 26.12},
                               {-1, 26.12}, {2, 76.76},   {3, 99.12},    {-3, 99.12}};
    for (const auto& c : cases) EXPECT_NEAR(PredictedPercentDissatisfied(c[0]), c[1], 0.01) << c[0];
    EXPECT_TRUE(std::isnan(PredictedPercentDissatisfied(std::nan(""))));
}

TEST(StressClasses, NamesAndColours) {
    EXPECT_EQ(StressIndexFromName("utci"), StressIndex::UTCI);
    EXPECT_EQ(StressIndexFromName("Pt"), StressIndex::PT);
    EXPECT_EQ(StressIndexFromName("Ta"), std::nullopt);
    EXPECT_EQ(StressIndexFromName("PETX"), std::nullopt);
    // the chart legend tells classes apart by colour only
    for (StressIndex index :
         {StressIndex::UTCI, StressIndex::PET, StressIndex::PMV, StressIndex::PT}) {
        const auto classes = StressClasses(index);
        for (size_t i = 0; i < classes.size(); ++i)
            for (size_t j = i + 1; j < classes.size(); ++j)
                EXPECT_NE(classes[i].rgb, classes[j].rgb) << StressIndexName(index) << i << j;
    }
}
