#include "platform/DateTime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

using namespace umbrix;

namespace {

double Hms(int h, int m, int s = 0) {
    return (h * 3600 + m * 60 + s) / 86400.0;
}

}  // namespace

TEST(Calendar, LeapYearsAndMonthLengths) {
    EXPECT_TRUE(IsLeapYear(2024));
    EXPECT_FALSE(IsLeapYear(2023));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_EQ(DaysInMonth(2024, 2), 29);
    EXPECT_EQ(DaysInMonth(2100, 2), 28);
    EXPECT_EQ(DaysInMonth(2023, 4), 30);
    EXPECT_EQ(DaysInMonth(2023, 13), 0);
    EXPECT_FALSE(IsValidDate({2023, 2, 29}));
    EXPECT_TRUE(IsValidDate({2024, 2, 29}));
    EXPECT_FALSE(IsValidDate({0, 1, 1}));
    EXPECT_FALSE(IsValidDate({2024, 0, 1}));
    EXPECT_FALSE(IsValidDate({2024, 6, 31}));
}

TEST(Calendar, SerialDays) {
    EXPECT_EQ(DateToSerial({1, 1, 1}), 1);
    EXPECT_EQ(DateToSerial({1970, 1, 1}), 719163);
    // the same distance as the platform's day count from 30.12.1899
    EXPECT_EQ(DateToSerial({2024, 3, 1}) - DateToSerial({1899, 12, 30}), 45352);
    for (long serial : {1L, 59L, 60L, 719163L, 738946L, 3652059L}) {
        EXPECT_EQ(DateToSerial(SerialToDate(serial)), serial);
    }
    EXPECT_EQ(SerialToDate(3652059), (Date{9999, 12, 31}));
    EXPECT_EQ(AddDays({2023, 12, 31}, 1), (Date{2024, 1, 1}));
    EXPECT_EQ(AddDays({2024, 3, 1}, -1), (Date{2024, 2, 29}));
    EXPECT_EQ(AddDays({2023, 3, 1}, -1), (Date{2023, 2, 28}));
    // no overflow on absurd arguments
    (void)AddDays({2024, 1, 1}, std::numeric_limits<long>::max());
    (void)SerialToDate(std::numeric_limits<long>::min());
}

TEST(Calendar, DayOfYear) {
    EXPECT_EQ(DayOfYear({2024, 1, 1}), 1);
    EXPECT_EQ(DayOfYear({2024, 3, 1}), 61);
    EXPECT_EQ(DayOfYear({2023, 3, 1}), 60);
    EXPECT_EQ(DayOfYear({2024, 12, 31}), 366);
    EXPECT_EQ(DaysInYear(2024), 366);
    EXPECT_EQ(DaysInYear(2023), 365);
    struct Case {
        int year;
        long day;
        Date date;
    };
    const Case cases[] = {
        {2024, 1, {2024, 1, 1}},      {2024, 0, {2023, 12, 31}}, {2024, 366, {2024, 12, 31}},
        {2023, 366, {2024, 1, 1}},    {2023, 367, {2024, 1, 2}}, {2024, 367, {2025, 1, 1}},
        {2024, -365, {2022, 12, 31}}, {2024, 60, {2024, 2, 29}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.year << " day " << c.day);
        EXPECT_EQ(DateOfDayOfYear(c.year, c.day), c.date);
    }
}

TEST(FormatDate, Tokens) {
    const Date date{2024, 3, 5};
    struct Case {
        const char* format;
        char separator;
        const char* text;
    };
    const Case cases[] = {
        {"d.m.yyyy", '.', "5.3.2024"},
        {"dd.mm.yyyy", '.', "05.03.2024"},
        {"d.M.yyyy", '.', "5.3.2024"},  // capital M is the month too
        {"DD.MM.YY", '.', "05.03.24"},
        {"yyyy-mm-dd", '.', "2024-03-05"},
        {"d/m/yyyy", '-', "5-3-2024"},  // "/" is the date separator
        {"d.m.", '.', "5.3."},
        {"ddd mmm yyyyy", '.', "05 03 2024"},  // longer runs count as the two-letter form
        {"y", '.', "24"},
        {"d.m.yyyy h:nn", '.', "5.3.2024 h:nn"},  // a date has no time: letters stay
        {"Tag d", '.', "Tag 5"},                  // other letters are literal
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        EXPECT_EQ(FormatDate(c.format, c.separator, date), c.text);
    }
    EXPECT_EQ(FormatDate(FormatSettings{}, Date{2024, 12, 31}), "31.12.2024");
    EXPECT_EQ(FormatDate("yy", '.', Date{2005, 1, 1}), "05");
}

TEST(FormatTime, TokensAndTruncation) {
    struct Case {
        const char* format;
        char separator;
        double fraction;
        const char* text;
    };
    const Case cases[] = {
        {"h:mm", ':', Hms(9, 5), "9:05"},
        {"hh:mm", ':', Hms(9, 5), "09:05"},
        {"hh:nn:ss", ':', Hms(23, 59, 59), "23:59:59"},
        {"h:n", ':', Hms(7, 3), "7:3"},
        {"hh-nn", ':', Hms(14, 30), "14-30"},
        {"h:mm", '.', Hms(14, 30), "14.30"},  // ":" is the time separator
        {"h mm", ':', Hms(6, 7), "6 07"},     // m after an hour token, blanks between
        {"H:MM", ':', Hms(6, 7), "6:07"},
        {"h:mm", ':', Hms(9, 5, 59), "9:05"},                 // truncated, not rounded
        {"h:mm", ':', Hms(9, 5, 59) + 30 / 86400.0, "9:06"},  // callers add 30 s
        {"h:mm", ':', 9.25 / 24, "9:15"},                     // binary fraction of 9:15 stays 9:15
        {"h:mm", ':', 0.0, "0:00"},
        {"h:mm", ':', 1.0, "0:00"},  // taken modulo one day
        {"h:mm", ':', -0.25, "18:00"},
        {"h:mm", ':', 0.99999999999, "0:00"},  // rounds to midnight, wraps
        {"h:mm", ':', std::nan(""), "0:00"},
        {"h:mm d", ':', 0.5, "12:00 d"},  // a time has no date: letters stay
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.format << " " << c.fraction);
        EXPECT_EQ(FormatTime(c.format, c.separator, c.fraction), c.text);
    }
    // whole minutes of a day survive the float hours the calculation keeps
    for (int minute = 0; minute < 1440; ++minute) {
        float hours = float(minute / 60.0);
        ASSERT_EQ(FormatTime(FormatSettings{}, hours / 24.0 + 30 / 86400.0),
                  std::to_string(minute / 60) + ":" + (minute % 60 < 10 ? "0" : "") +
                      std::to_string(minute % 60));
    }
}

TEST(ParseDate, ReferenceTable) {
    FormatSettings dmy;
    FormatSettings ymd;
    ymd.shortDateFormat = "yyyy/mm/dd";
    ymd.dateSeparator = '-';
    FormatSettings mdy;
    mdy.shortDateFormat = "m/d/yy";
    mdy.dateSeparator = '/';
    struct Case {
        const FormatSettings* settings;
        const char* text;
        std::optional<Date> date;
    };
    const Case cases[] = {
        {&dmy, "5.3.2024", Date{2024, 3, 5}},
        {&dmy, " 05.03.2024 ", Date{2024, 3, 5}},
        {&dmy, "5.3", Date{2026, 3, 5}},     // day and month of the current year
        {&dmy, "5.3.", Date{2026, 3, 5}},    // one closing separator
        {&dmy, "5.3.24", Date{2024, 3, 5}},  // two-digit year: current century
        {&dmy, "5.3.99", Date{2099, 3, 5}},
        {&dmy, "5.3.0024", Date{24, 3, 5}},
        {&dmy, "29.2.2024", Date{2024, 2, 29}},
        {&dmy, "29.2.2023", std::nullopt},
        {&dmy, "31.2.", std::nullopt},
        {&dmy, "0.1.2024", std::nullopt},
        {&dmy, "1.13.2024", std::nullopt},
        {&dmy, "5", std::nullopt},
        {&dmy, "1", std::nullopt},
        {&dmy, "", std::nullopt},
        {&dmy, "5.3.2024.1", std::nullopt},
        {&dmy, "5..2024", std::nullopt},
        {&dmy, "5. 3.2024", std::nullopt},
        {&dmy, "+5.3.2024", std::nullopt},
        {&dmy, "5/3/2024", std::nullopt},
        {&dmy, "5.3.20245", std::nullopt},
        {&dmy, "99999999999.3.2024", std::nullopt},
        {&ymd, "2024-03-05", Date{2024, 3, 5}},
        {&ymd, "03-05", Date{2026, 3, 5}},  // without the year: month, day
        {&mdy, "3/5/24", Date{2024, 3, 5}},
        {&mdy, "3/5", Date{2026, 3, 5}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.settings->shortDateFormat << " \"" << c.text << "\"");
        EXPECT_EQ(ParseDate(*c.settings, c.text, 2026), c.date);
    }
}

TEST(ParseDate, RoundTripsEveryDayOfALeapYear) {
    for (const char* format : {"d.m.yyyy", "dd.mm.yy", "d.M.yyyy", "yyyy/mm/dd"}) {
        FormatSettings s;
        s.shortDateFormat = format;
        s.dateSeparator = '.';
        for (int day = 1; day <= 366; ++day) {
            Date date = DateOfDayOfYear(2024, day);
            ASSERT_EQ(ParseDate(s, FormatDate(s, date), 2026), date) << format << " " << day;
        }
    }
}

TEST(ParseTime, ReferenceTable) {
    FormatSettings colon;
    FormatSettings dash;
    dash.longTimeFormat = "hh-nn";
    dash.timeSeparator = '-';
    struct Case {
        const FormatSettings* settings;
        const char* text;
        std::optional<double> fraction;
    };
    const Case cases[] = {
        {&colon, "12:00", Hms(12, 0)},
        {&colon, "12", Hms(12, 0)},
        {&colon, " 9:5 ", Hms(9, 5)},
        {&colon, "09:05:30", Hms(9, 5, 30)},
        {&colon, "0:00", 0.0},
        {&colon, "23:59:59", Hms(23, 59, 59)},
        {&colon, "24:00", std::nullopt},
        {&colon, "12:60", std::nullopt},
        {&colon, "12:00:60", std::nullopt},
        {&colon, "12:00:00:00", std::nullopt},
        {&colon, "12:", std::nullopt},
        {&colon, ":30", std::nullopt},
        {&colon, "", std::nullopt},
        {&colon, "-1:00", std::nullopt},
        {&colon, "12.30", std::nullopt},
        {&colon, "012:00", std::nullopt},
        {&colon, "12 :00", std::nullopt},
        {&dash, "14-30", Hms(14, 30)},
        {&dash, "14:30", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        auto got = ParseTime(*c.settings, c.text);
        ASSERT_EQ(got.has_value(), c.fraction.has_value());
        if (got) {
            EXPECT_DOUBLE_EQ(*got, *c.fraction);
        }
    }
}

TEST(FormatSettings, UsableFormatsAndUsersLetters) {
    EXPECT_TRUE(IsUsableDateFormat("d.m.yyyy"));
    EXPECT_TRUE(IsUsableDateFormat("yy/MM/dd"));
    EXPECT_FALSE(IsUsableDateFormat("d.m."));
    EXPECT_FALSE(IsUsableDateFormat("T.M.JJJJ"));     // German letters are the caller's to replace
    EXPECT_FALSE(IsUsableDateFormat("h:mm.yyyy d"));  // that m means minutes
    EXPECT_TRUE(IsUsableTimeFormat("h:mm"));
    EXPECT_TRUE(IsUsableTimeFormat("hh-nn"));
    EXPECT_FALSE(IsUsableTimeFormat("mm:ss"));  // no hour: that m is a month
    EXPECT_FALSE(IsUsableTimeFormat("h"));

    EXPECT_EQ(StandardDateLetters("T.M.JJJJ"), "d.M.yyyy");
    EXPECT_EQ(StandardTimeLetters("hh-MM"), "hh-nn");
    EXPECT_EQ(ShownTimeFormat("hh-nN"), "hh-mM");
    EXPECT_EQ(FirstNonLetter("d.M.yyyy"), '.');
    EXPECT_EQ(FirstNonLetter("hh-nn"), '-');
    EXPECT_EQ(FirstNonLetter("ddmmyyyy"), std::nullopt);
}
