#pragma once
// Dates and times of day as the program writes and reads them. A format holds the letters
// d, dd (day), m, mm (month), yy, yyyy (year) for dates and h, hh, n, nn (minutes; m or mm
// directly after an hour token means minutes too), s, ss for times, in either case; "/" stands
// for the date separator and ":" for the time separator; every other character is literal.
// Reading a date takes the order of day, month and year from the format and splits the text
// at the date separator; reading a time takes hours[:minutes[:seconds]] split at the time
// separator.
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

std::string FormatDate(std::string_view format, char dateSeparator, const Date& date);
std::string FormatDate(const FormatSettings& settings, const Date& date);
// A text with only day and month takes currentYear; a two-digit year lies in currentYear's
// century. Nothing when the text is not a valid date.
std::optional<Date> ParseDate(const FormatSettings& settings, std::string_view text,
                              int currentYear);

// The time of day is a fraction of a day in [0, 1); shown truncated to the format's smallest
// unit (callers add 30 s to round to the minute).
std::string FormatTime(std::string_view format, char timeSeparator, double fractionOfDay);
std::string FormatTime(const FormatSettings& settings, double fractionOfDay);
std::optional<double> ParseTime(const FormatSettings& settings, std::string_view text);

// True when a date format names day, month and year; a time format hours and minutes.
bool IsUsableDateFormat(std::string_view format);
bool IsUsableTimeFormat(std::string_view format);

}  // namespace umbrix
