#pragma once
// Dates and times of day as the program writes and reads them. A format holds the letters
// d, dd (day), m, mm (month), yy, yyyy (year) for dates and h, hh, n, nn (minutes; m or mm
// directly after an hour token means minutes too), s, ss for times, in either case; "/" stands
// for the date separator and ":" for the time separator; every other character is literal.
// A longer run of one letter counts as its two-letter form (y, yy: two-digit year; three or
// more: four digits). Reading a date takes the order of day, month and year from the format
// and splits the text at the date separator; reading a time takes hours[:minutes[:seconds]]
// split at the time separator.
#include <optional>
#include <string>
#include <string_view>

namespace umbrix {

struct FormatSettings {
    std::string shortDateFormat = "d.m.yyyy";
    char dateSeparator = '.';
    std::string longTimeFormat = "h:mm";
    char timeSeparator = ':';
};

struct Date {
    int year = 2000;
    int month = 1;
    int day = 1;
    friend bool operator==(const Date&, const Date&) = default;
};

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
bool IsValidDate(const Date& date);
// Day number counted from 1 January of year 1 (proleptic Gregorian).
long DateToSerial(const Date& date);
Date SerialToDate(long serial);
Date AddDays(const Date& date, long days);
// 1 for 1 January.
int DayOfYear(const Date& date);
int DaysInYear(int year);
// Day `day` counted from 1 January of `year` = 1: day 0 is 31 December of the year before,
// day 367 of a common year 2 January of the next.
Date DateOfDayOfYear(int year, long day);
// The calendar arithmetic is meant for the years 1..9999 (the valid dates); outside it the
// results stay defined (years within about five million) but are of no use.

// Time letters (h, n, s) in a date format are written as they stand.
std::string FormatDate(std::string_view format, char dateSeparator, const Date& date);
std::string FormatDate(const FormatSettings& settings, const Date& date);
// A text with only day and month takes currentYear; a two-digit year lies in currentYear's
// century. Numbers have 1 to 4 digits; blanks may stand around the whole text, and one date
// separator may end it (so that a format such as "d.m." reads its own output). Nothing when
// the text is not a valid date of the years 1..9999.
std::optional<Date> ParseDate(const FormatSettings& settings, std::string_view text,
                              int currentYear);

// The time of day is a fraction of a day in [0, 1); shown truncated to the format's smallest
// unit (callers add 30 s to round to the minute) after rounding to whole milliseconds. Other
// values are taken modulo one day, NaN as midnight. Date letters are written as they stand.
std::string FormatTime(std::string_view format, char timeSeparator, double fractionOfDay);
std::string FormatTime(const FormatSettings& settings, double fractionOfDay);
// Hours 0..23, minutes and seconds 0..59, one or two digits each; "12" alone is 12:00.
// "24:00" is not a time (callers replace a leading "24" themselves).
std::optional<double> ParseTime(const FormatSettings& settings, std::string_view text);

// True when a date format names day, month and year; a time format hours and minutes.
bool IsUsableDateFormat(std::string_view format);
bool IsUsableTimeFormat(std::string_view format);

// Format texts as users type them: the German letters t (day) and j (year) become d and y;
// in a time format every m becomes n (minutes), and is shown back as m.
std::string StandardDateLetters(std::string_view format);
std::string StandardTimeLetters(std::string_view format);
std::string ShownTimeFormat(std::string_view format);
// The separator a user's format implies: its first character that is not an ASCII letter.
std::optional<char> FirstNonLetter(std::string_view format);

}  // namespace umbrix
