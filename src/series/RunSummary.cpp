#include "series/RunSummary.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace umbrix {
namespace {

constexpr std::array<std::string_view, 8> kNames = {"Ta",   "Tmrt", "PMV", "PET",
                                                    "SET*", "UTCI", "PT",  "mPET"};

constexpr std::array<std::string_view, 12> kMonthsEnglish = {
    "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr std::array<std::string_view, 12> kMonthsGerman = {
    "Jan", "Feb", "Mär", "Apr", "Mai", "Jun", "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};

struct Words {
    std::string_view title, rows, hoursPerRow, unit, min, mean, max, values, missing, hoursPerClass,
        stressClass, range, wholeRun, upperBound;
};

constexpr Words kEnglish = {"Run summary",   "rows",
                            "hours per row", "unit",
                            "min",           "mean",
                            "max",           "values",
                            "missing",       "hours per stress class",
                            "class",         "range",
                            "all",           "Each class includes its upper bound."};
constexpr Words kGerman = {"Zusammenfassung des Laufs",
                           "Zeilen",
                           "Stunden je Zeile",
                           "Einheit",
                           "Min",
                           "Mittel",
                           "Max",
                           "Werte",
                           "fehlend",
                           "Stunden je Belastungsklasse",
                           "Klasse",
                           "Bereich",
                           "gesamt",
                           "Jede Klasse schließt ihre obere Grenze ein."};

const Words& WordsOf(TextLanguage language) {
    return language == TextLanguage::German ? kGerman : kEnglish;
}

std::string_view MonthName(int month, TextLanguage language) {
    return (language == TextLanguage::German ? kMonthsGerman : kMonthsEnglish)[month - 1];
}

std::string Format(const char* format, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    std::string text = buffer;
    if (text == "-0" || text == "-0.0" || text == "-0.00") text.erase(0, 1);
    return text;
}

// Whole hours stay integers; fractions of hours (ten-minute rows) get up to two decimals.
std::string FormatHours(double hours) {
    std::string text = Format("%.2f", hours);
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text;
}

// A statistic in the table's precision (one decimal, two for PMV); empty when there is none.
std::string FormatValue(SummaryQuantity quantity, double value) {
    if (std::isnan(value)) return {};
    return Format(quantity == SummaryQuantity::PMV ? "%.2f" : "%.1f", value);
}

std::string FormatBound(double value) {
    return Format("%g", value);
}

// "≤ -40", "-40 … -27", "> 46"
std::string RangeText(const StressClass& c) {
    if (std::isinf(c.lower)) return "≤ " + FormatBound(c.upper);
    if (std::isinf(c.upper)) return "> " + FormatBound(c.lower);
    return FormatBound(c.lower) + " … " + FormatBound(c.upper);
}

std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\n") == std::string_view::npos) return std::string(text);
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

}  // namespace

std::string_view SummaryQuantityName(SummaryQuantity quantity) {
    return kNames[static_cast<int>(quantity)];
}

std::string_view SummaryQuantityUnit(SummaryQuantity quantity) {
    return quantity == SummaryQuantity::PMV ? "" : "°C";
}

std::optional<StressIndex> SummaryQuantityClasses(SummaryQuantity quantity) {
    switch (quantity) {
        case SummaryQuantity::UTCI:
            return StressIndex::UTCI;
        case SummaryQuantity::PET:
            return StressIndex::PET;
        case SummaryQuantity::PMV:
            return StressIndex::PMV;
        case SummaryQuantity::PT:
            return StressIndex::PT;
        default:
            return std::nullopt;
    }
}

RunSummary::RunSummary(std::vector<SummaryQuantity> quantities, double hoursPerRow)
    : hoursPerRow_(hoursPerRow) {
    if (!(hoursPerRow > 0) || !std::isfinite(hoursPerRow))
        throw std::invalid_argument("RunSummary: hours per row must be positive");
    for (SummaryQuantity q : quantities)
        if (std::find(quantities_.begin(), quantities_.end(), q) == quantities_.end())
            quantities_.push_back(q);
}

RunSummary::RunSummary(std::vector<SummaryQuantity> quantities, StepOfRows)
    : RunSummary(std::move(quantities)) {
    hoursPerRow_ = 0;
}

bool RunSummary::has(SummaryQuantity quantity) const {
    return std::find(quantities_.begin(), quantities_.end(), quantity) != quantities_.end();
}

void RunSummary::add(const SummaryRow& row) {
    if (hoursPerRow_ == 0) {
        const long minutes = std::isfinite(row.time) && std::isfinite(lastTime_)
                                 ? std::lround((row.time - lastTime_) * 60.0)
                                 : 0;
        if (minutes > 0) {
            auto at = std::find_if(steps_.begin(), steps_.end(),
                                   [&](const auto& s) { return s.first == minutes; });
            if (at != steps_.end())
                ++at->second;
            else if (steps_.size() < kStepKinds)
                steps_.emplace_back(minutes, 1);
        }
        lastTime_ = row.time;
    }
    const int month = row.month >= 1 && row.month <= 12 ? row.month : kWholeRun;
    ++rows_[kWholeRun];
    if (month != kWholeRun) ++rows_[month];
    for (SummaryQuantity q : quantities_) {
        const double value = row[q];
        const auto index = SummaryQuantityClasses(q);
        const int stressClass = index && std::isfinite(value) ? StressClassOf(*index, value) : -1;
        for (int m : {kWholeRun, month}) {
            Slot& s = slots_[m][static_cast<int>(q)];
            if (!std::isfinite(value)) {
                ++s.missing;
            } else {
                ++s.values;
                s.sum += value;
                s.min = std::min(s.min, value);
                s.max = std::max(s.max, value);
                if (stressClass >= 0) ++s.classRows[stressClass];
            }
            if (month == kWholeRun) break;
        }
    }
}

double RunSummary::hoursPerRow() const {
    if (hoursPerRow_ != 0) return hoursPerRow_;
    // the commonest step; of equally common ones the shortest
    long best = 60;
    std::uint64_t count = 0;
    for (const auto& [minutes, n] : steps_)
        if (n > count || (n == count && minutes < best)) best = minutes, count = n;
    return double(best) / 60.0;
}

std::uint64_t RunSummary::rows(int month) const {
    return month >= 0 && month <= 12 ? rows_[month] : 0;
}

std::vector<int> RunSummary::months() const {
    std::vector<int> result;
    for (int m = 1; m <= 12; ++m)
        if (rows_[m] > 0) result.push_back(m);
    return result;
}

const RunSummary::Slot* RunSummary::slot(SummaryQuantity quantity, int month) const {
    if (!has(quantity) || month < 0 || month > 12) return nullptr;
    return &slots_[month][static_cast<int>(quantity)];
}

RunSummary::Statistics RunSummary::statistics(SummaryQuantity quantity, int month) const {
    Statistics result;
    const Slot* s = slot(quantity, month);
    if (!s) return result;
    result.values = s->values;
    result.missing = s->missing;
    if (s->values > 0) {
        result.min = s->min;
        result.max = s->max;
        result.mean = s->sum / static_cast<double>(s->values);
    }
    return result;
}

double RunSummary::classHours(SummaryQuantity quantity, int stressClass, int month) const {
    const Slot* s = slot(quantity, month);
    const auto index = SummaryQuantityClasses(quantity);
    if (!s || !index || stressClass < 0 ||
        stressClass >= static_cast<int>(StressClasses(*index).size()))
        return 0;
    return static_cast<double>(s->classRows[stressClass]) * hoursPerRow();
}

double RunSummary::missingHours(SummaryQuantity quantity, int month) const {
    const Slot* s = slot(quantity, month);
    return s ? static_cast<double>(s->missing) * hoursPerRow() : 0;
}

std::string SummaryText(const RunSummary& summary, TextLanguage language) {
    const Words& w = WordsOf(language);
    std::string out;
    out += std::string(w.title) + "\n";
    out += std::string(w.rows) + "\t" + std::to_string(summary.rows()) + "\t" +
           std::string(w.hoursPerRow) + "\t" + FormatHours(summary.hoursPerRow()) + "\n\n";

    out += "\t" + std::string(w.unit) + "\t" + std::string(w.min) + "\t" + std::string(w.mean) +
           "\t" + std::string(w.max) + "\t" + std::string(w.values) + "\t" +
           std::string(w.missing) + "\n";
    for (SummaryQuantity q : summary.quantities()) {
        const auto s = summary.statistics(q);
        auto shown = [&](double v) {
            const std::string text = FormatValue(q, v);
            return text.empty() ? std::string("---") : text;
        };
        out += std::string(SummaryQuantityName(q)) + "\t" + std::string(SummaryQuantityUnit(q)) +
               "\t" + shown(s.min) + "\t" + shown(s.mean) + "\t" + shown(s.max) + "\t" +
               std::to_string(s.values) + "\t" + std::to_string(s.missing) + "\n";
    }

    const std::vector<int> months = summary.months();
    for (SummaryQuantity q : summary.quantities()) {
        const auto index = SummaryQuantityClasses(q);
        if (!index) continue;
        const std::string_view unit = SummaryQuantityUnit(q);
        out +=
            "\n" + std::string(SummaryQuantityName(q)) + ": " + std::string(w.hoursPerClass) + "\n";
        out += std::string(w.stressClass) + "\t" + std::string(w.range) +
               (unit.empty() ? "" : " [" + std::string(unit) + "]");
        for (int m : months) out += "\t" + std::string(MonthName(m, language));
        out += "\t" + std::string(w.wholeRun) + "\n";
        const auto classes = StressClasses(*index);
        for (int c = 0; c < static_cast<int>(classes.size()); ++c) {
            out += std::string(classes[c].label(language)) + "\t" + RangeText(classes[c]);
            for (int m : months) out += "\t" + FormatHours(summary.classHours(q, c, m));
            out += "\t" + FormatHours(summary.classHours(q, c)) + "\n";
        }
        out += std::string(w.missing) + "\t";
        for (int m : months) out += "\t" + FormatHours(summary.missingHours(q, m));
        out += "\t" + FormatHours(summary.missingHours(q)) + "\n";
    }
    bool anyClasses = false;
    for (SummaryQuantity q : summary.quantities())
        anyClasses |= SummaryQuantityClasses(q).has_value();
    if (anyClasses) out += "\n" + std::string(w.upperBound) + "\n";
    return out;
}

std::string SummaryCsv(const RunSummary& summary, TextLanguage language) {
    std::string out = "quantity,period,item,value,unit\n";
    std::vector<int> periods = summary.months();
    periods.push_back(RunSummary::kWholeRun);
    for (SummaryQuantity q : summary.quantities()) {
        const std::string unit = CsvField(SummaryQuantityUnit(q));
        const auto index = SummaryQuantityClasses(q);
        for (int m : periods) {
            const std::string head = CsvField(SummaryQuantityName(q)) + "," +
                                     (m == RunSummary::kWholeRun ? "all" : std::to_string(m)) + ",";
            if (index) {
                const auto classes = StressClasses(*index);
                for (int c = 0; c < static_cast<int>(classes.size()); ++c)
                    out += head + CsvField(classes[c].label(language)) + "," +
                           FormatHours(summary.classHours(q, c, m)) + ",h\n";
            }
            out += head + "missing," + FormatHours(summary.missingHours(q, m)) + ",h\n";
            const auto s = summary.statistics(q, m);
            out += head + "min," + FormatValue(q, s.min) + "," + unit + "\n";
            out += head + "mean," + FormatValue(q, s.mean) + "," + unit + "\n";
            out += head + "max," + FormatValue(q, s.max) + "," + unit + "\n";
        }
    }
    return out;
}

}  // namespace umbrix
