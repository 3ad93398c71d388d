#pragma once
// Result tables for analysis programs (pandas, R, spreadsheets) beside the program's own table
// layout: "tsv" (tabs) and "csv" (commas, RFC 4180 quoting), both UTF-8 with
// - `#` comment lines first: the run's metadata as "# key: value",
// - exactly one header line: each column's name with its unit in brackets ("Ta [°C]"; a
//   unitless column just its name),
// - one line per row with as many fields as columns, nothing trailing, a missing value as an
//   empty field, numbers with a decimal point and the column's decimals, dates as yyyy-mm-dd
//   and times of day as hh:mm.
// A text field is quoted ("…", a quote doubled) where it holds the separator, a quote or a '#'
// (which would otherwise start a comment for readers such as pandas' comment='#'); a line break
// in a text becomes a blank, so that each row stays one line, and in tsv a tab does too.
// The writer makes one line at a time: a run streams its rows at flat memory.
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "platform/DateTime.h"

namespace umbrix {

enum class TableFormat {
    Table,  // the program's own table: header lines, a name line and a unit line
    Tsv,
    Csv,
};

// "table", "tsv" or "csv", in any case; nothing for another name.
std::optional<TableFormat> TableFormatByName(std::string_view name);
const char* TableFormatName(TableFormat format);

enum class ColumnKind { Number, Text, Date, Time };

struct TableColumn {
    std::string name;  // "Ta"
    std::string unit;  // "°C"; empty for a unitless column
    ColumnKind kind = ColumnKind::Number;
    int decimals = 1;  // numbers: digits after the point, 0 … 9
};

// One cell: missing, a number (a Number column, or the hours of a Time column), a text or a
// date.
using TableValue = std::variant<std::monostate, double, std::string, Date>;

// "# key: value" lines in this order; keys and values are single-line texts.
using TableMetadata = std::vector<std::pair<std::string, std::string>>;

class DelimitedTableWriter {
  public:
    // Numbers equal to missingValue (as 4-byte floats), NaN and infinities are written as
    // empty fields. Throws std::invalid_argument for TableFormat::Table, no columns, a column
    // without a name, or decimals outside 0 … 9.
    DelimitedTableWriter(TableFormat format, std::vector<TableColumn> columns,
                         std::optional<float> missingValue = std::nullopt);

    // The lines before the rows, without line ends: the metadata comments, then the header.
    std::vector<std::string> headerLines(const TableMetadata& metadata) const;
    // One row without its line end. Throws std::invalid_argument when the number of values
    // differs from the columns or a value does not suit its column's kind.
    std::string rowLine(std::span<const TableValue> values) const;

    // "Ta [°C]", as the header line writes it before quoting.
    std::string columnTitle(std::size_t column) const;
    const std::vector<TableColumn>& columns() const { return columns_; }
    char separator() const { return separator_; }

  private:
    void appendText(std::string& line, std::string_view text) const;
    void appendNumber(std::string& line, double value, int decimals) const;

    TableFormat format_;
    char separator_;
    std::vector<TableColumn> columns_;
    std::optional<float> missing_;
};

}  // namespace umbrix
