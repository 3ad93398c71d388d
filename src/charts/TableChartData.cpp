#include "charts/TableChartData.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <optional>

#include "charts/Charts.h"
#include "models/Language.h"
#include "platform/Format.h"

namespace umbrix::charts {
namespace {

constexpr int kDayOfYearName = 14;
constexpr int kTimeName = 25;

// Days since 1.1.1970 of a date of the proleptic Gregorian calendar.
long DaysOf(const Date& d) {
    const int y = d.year - (d.month <= 2 ? 1 : 0);
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153 * (d.month + (d.month > 2 ? -3 : 9)) + 2) / 5 + d.day - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

// The vocabulary entry a table column name stands for, in either language.
std::optional<int> VocabularyEntry(const std::string& name) {
    for (Language language : {Language::English, Language::German}) {
        const Vocabulary& words = HeaderVocabulary(language);
        for (size_t i = 0; i < words.size(); ++i)
            if (!words[i].empty() && TrimBlanks(words[i]) == name) return static_cast<int>(i);
    }
    return std::nullopt;
}

// "day of year", "Tag d. Jahres": the table's two-line title as one name.
bool IsDayOfYear(const std::string& name) {
    for (Language language : {Language::English, Language::German})
        if (name.starts_with(TrimBlanks(HeaderVocabulary(language)[kDayOfYearName]))) return true;
    return false;
}

// A column of the daily data, which have no time of day.
bool IsDailyQuantity(const std::string& key) {
    for (const char* name :
         {"SDmax", "SDact", "GmaxMax", "GactMax", "GmaxSum", "GactSum", "GmaxAvr", "GactAvr"})
        if (key == name) return true;
    return false;
}

// The time one row stands for: the commonest step between consecutive rows, to the minute; one
// hour when the rows give none.
double HoursPerRow(const std::vector<double>& stamps) {
    std::map<long, int> steps;  // minutes -> how often
    for (size_t i = 1; i < stamps.size(); ++i) {
        const long minutes = std::lround((stamps[i] - stamps[i - 1]) * 60.0);
        if (minutes > 0) ++steps[minutes];
    }
    long best = 60;
    int count = 0;
    for (const auto& [minutes, n] : steps)
        if (n > count) best = minutes, count = n;
    return best / 60.0;
}

}  // namespace

ChartData ChartDataFromTable(const TableValues& table, TextLanguage language) {
    const Vocabulary& words =
        HeaderVocabulary(language == TextLanguage::German ? Language::German : Language::English);
    const Vocabulary& english = HeaderVocabulary(Language::English);
    ChartData data;
    data.language = language;
    std::optional<size_t> dateColumn, timeColumn;
    std::vector<std::pair<size_t, size_t>> numbers;  // table column -> chart column
    for (size_t i = 0; i < table.columns.size(); ++i) {
        const TableColumn& c = table.columns[i];
        const std::optional<int> entry = VocabularyEntry(c.name);
        if (c.kind == ColumnKind::Date && !dateColumn) {
            dateColumn = i;
        } else if (c.kind == ColumnKind::Time && entry == kTimeName) {
            timeColumn = i;
        } else if (c.kind == ColumnKind::Number && !IsDayOfYear(c.name)) {
            std::string key = c.name, label;
            if (entry) {
                key = std::string(TrimBlanks(english[*entry]));
                label = std::string(TrimBlanks(words[*entry]));
            }
            numbers.emplace_back(i, data.addColumn(key, c.unit, label == key ? "" : label));
        }
    }
    if (table.rows.empty()) return data;
    if (!dateColumn)
        throw ChartError(
            "the table has no date column: check \"Date\" in the \"Table\" menu and run again");
    // only the daily data come without a time of day
    if (!timeColumn) {
        for (const ChartColumn& c : data.columns())
            if (!IsDailyQuantity(c.key))
                throw ChartError(
                    "the table has no time column: check \"Time\" in the \"Table\" menu and run "
                    "again");
        data.hoursPerRow = 24;
    }
    std::vector<double> stamps;  // hours since 1970, for the step between rows
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // daily rows of one date (a data file's records) are one day: their mean
    std::optional<Date> day;
    std::vector<double> sum(numbers.size()), count(numbers.size());
    const auto addDay = [&] {
        if (!day) return;
        std::vector<double> mean(numbers.size(), nan);
        for (size_t k = 0; k < numbers.size(); ++k)
            if (count[k] > 0) mean[k] = sum[k] / count[k];
        data.addRow({day->year, day->month, day->day, 12.0}, mean);
        std::fill(sum.begin(), sum.end(), 0.0);
        std::fill(count.begin(), count.end(), 0.0);
    };
    std::vector<double> values(numbers.size());
    for (const auto& row : table.rows) {
        if (row.size() != table.columns.size()) continue;
        const Date* date = std::get_if<Date>(&row[*dateColumn]);
        if (!date) continue;
        for (size_t k = 0; k < numbers.size(); ++k) {
            const double* x = std::get_if<double>(&row[numbers[k].first]);
            values[numbers[k].second] =
                x && std::isfinite(*x) && float(*x) != table.missingValue ? *x : nan;
        }
        if (!timeColumn) {
            if (day && !(*day == *date)) addDay();
            day = *date;
            for (size_t k = 0; k < values.size(); ++k)
                if (!std::isnan(values[k])) sum[k] += values[k], count[k] += 1;
            continue;
        }
        const double* hour = std::get_if<double>(&row[*timeColumn]);
        if (!hour || !(*hour >= 0 && *hour <= 24)) continue;
        stamps.push_back(DaysOf(*date) * 24.0 + *hour);
        data.addRow({date->year, date->month, date->day, *hour}, values);
    }
    addDay();
    if (timeColumn) data.hoursPerRow = HoursPerRow(stamps);
    return data;
}

}  // namespace umbrix::charts
