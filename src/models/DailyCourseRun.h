#pragma once
// The daily data course: one table row per day with sunrise, sunset, the possible and the
// actual sunshine duration, and the maximum, sum and average of the clear-sky and the actual
// global radiation over the day in 144 steps of ten minutes. Without a data file it covers the
// days 1 to 365 at the main window's location; with one, each record gives the day (by its
// "Date" or "Day of year" column) and may give the place, the humidity and the cloud cover.
namespace umbrix {

class Application;

// The message when a data file has neither a "Date" nor a "Day of year" column.
extern const char* const kDailyNeedsDayMessage;

// With the data file active: throws UmbrixError with that message (in the interface language)
// when the data file has neither column, so the course produces no rows.
void CheckDailyCourseColumns(Application& app);

// Appends the rows to the in-memory table through the main window's table sink (the header is
// already written). Reads EditTa, EditVp, EditWG and EditN (ConvertError when one does not
// convert); a record that cannot be read ends the course with DataFileError, the rows before
// it staying.
void ComputeDailyCourse(Application& app);

}  // namespace umbrix
