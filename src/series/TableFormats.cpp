#include "series/TableFormats.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <stdexcept>

#include "platform/Format.h"
#include "platform/Utf8.h"

namespace umbrix {

namespace {

// A text of one line: line breaks and other control characters become blanks.
std::string singleLine(std::string_view text) {
    std::string s = ValidUtf8(text);
    for (char& c : s)
        if (static_cast<unsigned char>(c) < 32 || c == 127) c = ' ';
    return s;
}

void appendTwoDigits(std::string& line, int n) {
    line.push_back(char('0' + n / 10));
    line.push_back(char('0' + n % 10));
}

}  // namespace

std::optional<TableFormat> TableFormatByName(std::string_view name) {
    std::string lower(name);
    for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
    if (lower == "table") return TableFormat::Table;
    if (lower == "tsv") return TableFormat::Tsv;
    if (lower == "csv") return TableFormat::Csv;
    return std::nullopt;
}

const char* TableFormatName(TableFormat format) {
    switch (format) {
        case TableFormat::Table:
            return "table";
        case TableFormat::Tsv:
            return "tsv";
        case TableFormat::Csv:
            return "csv";
    }
    return "";
}

DelimitedTableWriter::DelimitedTableWriter(TableFormat format, std::vector<TableColumn> columns,
                                           std::optional<float> missingValue)
    : format_(format),
      separator_(format == TableFormat::Csv ? ',' : '\t'),
      columns_(std::move(columns)),
      missing_(missingValue) {
    if (format_ == TableFormat::Table)
        throw std::invalid_argument("the program's table is not a delimited table");
    if (columns_.empty()) throw std::invalid_argument("a table needs at least one column");
    for (const TableColumn& c : columns_) {
        // an unnamed column reads back as "Unnamed: n"
        if (std::string_view(c.name).find_first_not_of(' ') == std::string_view::npos)
            throw std::invalid_argument("a table column needs a name");
        if (c.decimals < 0 || c.decimals > 9)
            throw std::invalid_argument("column " + c.name + ": decimals outside 0 ... 9");
    }
}

std::string DelimitedTableWriter::columnTitle(std::size_t column) const {
    const TableColumn& c = columns_.at(column);
    const std::string_view name = TrimBlanks(c.name), unit = TrimBlanks(c.unit);
    std::string title(name);
    if (!unit.empty()) (title += " [") += std::string(unit) + "]";
    return title;
}

void DelimitedTableWriter::appendText(std::string& line, std::string_view raw) const {
    const std::string text = singleLine(raw);
    const char* special = format_ == TableFormat::Csv ? ",\"#" : "\"#";
    if (text.find_first_of(special) == std::string::npos) {
        line += text;
        return;
    }
    line.push_back('"');
    for (char c : text) {
        if (c == '"') line.push_back('"');
        line.push_back(c);
    }
    line.push_back('"');
}

void DelimitedTableWriter::appendNumber(std::string& line, double value, int d) const {
    if (!std::isfinite(value)) return;
    if (missing_ && float(value) == *missing_) return;
    std::string text = decimals(value, d);
    // a value that rounds to zero is zero, whatever its sign
    if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
    line += text;
}

std::vector<std::string> DelimitedTableWriter::headerLines(const TableMetadata& metadata) const {
    std::vector<std::string> lines;
    lines.reserve(metadata.size() + 1);
    for (const auto& [key, value] : metadata) {
        const std::string k(TrimBlanks(singleLine(key))), v(TrimBlanks(singleLine(value)));
        lines.push_back(k.empty() ? "# " + v : "# " + k + ": " + v);
    }
    std::string header;
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        if (i > 0) header.push_back(separator_);
        appendText(header, columnTitle(i));
    }
    lines.push_back(std::move(header));
    return lines;
}

std::string DelimitedTableWriter::rowLine(std::span<const TableValue> values) const {
    if (values.size() != columns_.size())
        throw std::invalid_argument("a row of " + std::to_string(values.size()) +
                                    " values for a table of " + std::to_string(columns_.size()) +
                                    " columns");
    std::string line;
    line.reserve(columns_.size() * 8);
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        if (i > 0) line.push_back(separator_);
        const TableColumn& column = columns_[i];
        const TableValue& value = values[i];
        if (std::holds_alternative<std::monostate>(value)) continue;
        auto wrong = [&column]() {
            return std::invalid_argument("column " + column.name +
                                         ": a value of another kind than the column's");
        };
        switch (column.kind) {
            case ColumnKind::Number: {
                const double* x = std::get_if<double>(&value);
                if (!x) throw wrong();
                appendNumber(line, *x, column.decimals);
                break;
            }
            case ColumnKind::Text: {
                const std::string* s = std::get_if<std::string>(&value);
                if (!s) throw wrong();
                appendText(line, *s);
                break;
            }
            case ColumnKind::Date: {
                const Date* d = std::get_if<Date>(&value);
                if (!d) throw wrong();
                if (!IsValidDate(*d)) break;
                const std::string year = std::to_string(d->year);
                line.append(4 - std::min<std::size_t>(4, year.size()), '0');
                line += year;
                line.push_back('-');
                appendTwoDigits(line, d->month);
                line.push_back('-');
                appendTwoDigits(line, d->day);
                break;
            }
            case ColumnKind::Time: {
                const double* hours = std::get_if<double>(&value);
                if (!hours) throw wrong();
                // to the minute, a half minute up, as the program's table rounds
                const double total = std::floor(*hours * 60.0 + 0.5);
                if (!std::isfinite(total)) break;
                double minutes = std::fmod(total, 1440.0);
                if (minutes < 0) minutes += 1440.0;
                const int m = int(minutes);
                appendTwoDigits(line, m / 60);
                line.push_back(':');
                appendTwoDigits(line, m % 60);
                break;
            }
        }
    }
    return line;
}

}  // namespace umbrix
