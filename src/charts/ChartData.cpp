#include "charts/ChartData.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>

namespace umbrix::charts {
namespace {

bool SameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

size_t ChartData::addColumn(std::string key, std::string unit, std::string label) {
    ChartColumn column{std::move(key), std::move(label), std::move(unit), {}};
    column.values.assign(times_.size(), std::numeric_limits<double>::quiet_NaN());
    columns_.push_back(std::move(column));
    return columns_.size() - 1;
}

void ChartData::addRow(const ChartTime& time, const std::vector<double>& values) {
    times_.push_back(time);
    for (size_t i = 0; i < columns_.size(); ++i)
        columns_[i].values.push_back(i < values.size() ? values[i]
                                                       : std::numeric_limits<double>::quiet_NaN());
}

const ChartColumn* ChartData::column(std::string_view name) const {
    for (const ChartColumn& c : columns_)
        if (SameName(c.key, name)) return &c;
    for (const ChartColumn& c : columns_)
        if (!c.label.empty() && SameName(c.label, name)) return &c;
    return nullptr;
}

}  // namespace umbrix::charts
