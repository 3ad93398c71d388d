#pragma once
// The summary of a run: hours per stress class per month and for the whole run for each index
// with classes, and min/mean/max of Ta, Tmrt and each index. Fed row by row while the run
// streams its table; memory does not grow with the number of rows.
#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "indices/StressClasses.h"

namespace umbrix {

enum class SummaryQuantity { Ta, Tmrt, PMV, PET, SET, UTCI, PT, mPET };
inline constexpr int kSummaryQuantityCount = 8;

// The quantity's name in the table ("Ta", "SET*", ...), its unit ("°C", empty for PMV) and its
// stress index when it has classes.
std::string_view SummaryQuantityName(SummaryQuantity quantity);
std::string_view SummaryQuantityUnit(SummaryQuantity quantity);
std::optional<StressIndex> SummaryQuantityClasses(SummaryQuantity quantity);

// One row of a run. NaN (or any value that is not finite) is a missing value.
struct SummaryRow {
    int month = 0;  // 1..12; 0 (or anything else) when the row has no date
    // the row's time in hours from any fixed origin (NaN: none), for the step between rows
    double time = std::numeric_limits<double>::quiet_NaN();
    std::array<double, kSummaryQuantityCount> values;

    SummaryRow() { values.fill(std::numeric_limits<double>::quiet_NaN()); }
    double& operator[](SummaryQuantity q) { return values[static_cast<int>(q)]; }
    double operator[](SummaryQuantity q) const { return values[static_cast<int>(q)]; }
};

class RunSummary {
  public:
    // Month 0 in the queries below: the whole run (rows without a date count only there).
    static constexpr int kWholeRun = 0;

    struct Statistics {
        std::uint64_t values = 0;   // rows with a value
        std::uint64_t missing = 0;  // rows without one
        double min = std::numeric_limits<double>::quiet_NaN();
        double mean = std::numeric_limits<double>::quiet_NaN();
        double max = std::numeric_limits<double>::quiet_NaN();
    };

    // quantities: those the run computes, in the order the summary lists them (duplicates are
    // dropped). hoursPerRow: the time one row stands for (1 for hourly data, 1/6 for ten-minute
    // steps); must be positive. With StepOfRows a row stands for the commonest step between
    // consecutive rows' times, to the minute (one hour while the rows give none).
    explicit RunSummary(std::vector<SummaryQuantity> quantities, double hoursPerRow = 1.0);
    struct StepOfRows {};
    RunSummary(std::vector<SummaryQuantity> quantities, StepOfRows);

    void add(const SummaryRow& row);

    const std::vector<SummaryQuantity>& quantities() const { return quantities_; }
    bool has(SummaryQuantity quantity) const;
    double hoursPerRow() const;
    std::uint64_t rows(int month = kWholeRun) const;
    // The months (1..12) that have rows, in calendar order.
    std::vector<int> months() const;

    // NaN statistics and zero hours for a quantity the summary does not hold.
    Statistics statistics(SummaryQuantity quantity, int month = kWholeRun) const;
    double classHours(SummaryQuantity quantity, int stressClass, int month = kWholeRun) const;
    double missingHours(SummaryQuantity quantity, int month = kWholeRun) const;

  private:
    struct Slot {
        std::uint64_t values = 0;
        std::uint64_t missing = 0;
        double sum = 0;
        double min = std::numeric_limits<double>::infinity();
        double max = -std::numeric_limits<double>::infinity();
        std::array<std::uint64_t, 10> classRows{};  // enough for the index with most classes
    };
    const Slot* slot(SummaryQuantity quantity, int month) const;

    std::vector<SummaryQuantity> quantities_;
    double hoursPerRow_;  // 0: from the steps below
    double lastTime_ = std::numeric_limits<double>::quiet_NaN();
    // minutes -> how often, for at most kStepKinds different steps (memory stays fixed)
    static constexpr std::size_t kStepKinds = 64;
    std::vector<std::pair<long, std::uint64_t>> steps_;
    std::array<std::uint64_t, 13> rows_{};
    // [month 0..12][quantity]
    std::array<std::array<Slot, kSummaryQuantityCount>, 13> slots_{};
};

// The summary as text in the table's language: a block of statistics, then per index with
// classes a block of hours per class (rows) and month (columns, only months with rows, then
// the whole run). Fields are tab-separated, numbers with a decimal point.
std::string SummaryText(const RunSummary& summary, TextLanguage language);

// The same as one comma-separated table in long form for data tools, with the columns quantity,
// period (1..12, or "all" for the whole run), item (a class label in the language, or "missing",
// "min", "mean", "max"), value (empty when there is none) and unit ("h" for hours).
std::string SummaryCsv(const RunSummary& summary, TextLanguage language);

}  // namespace umbrix
