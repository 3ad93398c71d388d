#pragma once
// A plausible run for chart tests and benchmarks: hourly rows with an annual and a daily course
// of Ta, Tmrt, UTCI and PET, and the daily data of a year.
#include <QDate>
#include <algorithm>
#include <cmath>

#include "charts/ChartData.h"

namespace umbrix::test {

// days of hourly rows from 1 January 2026, the hour at the middle of each hour
inline charts::ChartData HourlyRun(int days, TextLanguage language = TextLanguage::English) {
    charts::ChartData data;
    data.language = language;
    data.addColumn("Ta", "°C");
    data.addColumn("Tmrt", "°C");
    data.addColumn("UTCI", "°C");
    data.addColumn("PET", "°C");
    data.addColumn("RH", "%");
    const QDate first(2026, 1, 1);
    const double pi = std::acos(-1.0);
    for (int d = 0; d < days; ++d) {
        const QDate date = first.addDays(d);
        const double season = -std::cos(2 * pi * (d + 10) / 365.0);  // -1 in January
        for (int h = 0; h < 24; ++h) {
            const double hour = h + 0.5;
            const double day = -std::cos(2 * pi * (hour - 3) / 24);  // warmest at 15:00
            const double sun = std::max(0.0, std::sin(pi * (hour - 6) / 12)) * (0.6 + 0.4 * season);
            const double ta = 10 + 10 * season + 5 * day + 2 * std::sin(d * 1.7);
            const double tmrt = ta + 30 * sun;
            data.addRow(
                {date.year(), date.month(), date.day(), hour},
                {ta, tmrt, ta + 0.4 * (tmrt - ta) - 1, ta + 0.5 * (tmrt - ta) - 3, 70 - 20 * day});
        }
    }
    return data;
}

// SDmax, SDact (min) and GmaxSum, GactSum (Wh/m²) of each day of 2026
inline charts::ChartData DailyRun(int days = 365, TextLanguage language = TextLanguage::English) {
    charts::ChartData data;
    data.language = language;
    data.hoursPerRow = 24;
    data.addColumn("SDmax", "min");
    data.addColumn("SDact", "min", language == TextLanguage::German ? "SDtat" : "");
    data.addColumn("GmaxSum", "Wh/m²");
    data.addColumn("GactSum", "Wh/m²");
    const QDate first(2026, 1, 1);
    const double pi = std::acos(-1.0);
    for (int d = 0; d < days; ++d) {
        const QDate date = first.addDays(d);
        const double season = -std::cos(2 * pi * (d + 10) / 365.0);
        const double sdmax = 735 + 245 * season, gmax = 4750 + 3250 * season;
        data.addRow({date.year(), date.month(), date.day(), 12},
                    {sdmax, sdmax * 0.6, gmax, gmax * 0.65});
    }
    return data;
}

}  // namespace umbrix::test
