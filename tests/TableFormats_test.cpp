#include "series/TableFormats.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>

#include "support/TempDir.h"

namespace umbrix {
namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

const std::vector<TableColumn> kColumns = {
    {"date      ", "", ColumnKind::Date, 0},  {"time", "", ColumnKind::Time, 0},
    {"Ta", "\u00b0C", ColumnKind::Number, 1}, {"SVF_Umb", "", ColumnKind::Number, 3},
    {"SDmax", "min", ColumnKind::Number, 0},  {"place", "", ColumnKind::Text, 0},
};

// Three rows: values, missing ones (NaN, the missing-value default, no value), and texts that
// need quoting.
const std::vector<std::vector<TableValue>> kRows = {
    {Date{2026, 6, 21}, 12.5, 21.5, 0.873, 870.0, std::string("Freiburg, Wiehre")},
    {Date{2024, 2, 29}, 23.5, kNaN, 1.0, 0.0, std::string("say \"hi\" #1")},
    {Date{2024, 3, 1}, 0.0, 9999.0, std::monostate{}, 1440.0, std::string("tab\there")},
};

const TableMetadata kMetadata = {
    {"program", "Umbrix 0.1.0"}, {"location", "Freiburg\n7.85 \u00b0E"}, {"", "free text"}};

std::vector<std::string> Lines(TableFormat format) {
    DelimitedTableWriter writer(format, kColumns, 9999.0f);
    std::vector<std::string> lines = writer.headerLines(kMetadata);
    for (const auto& row : kRows) lines.push_back(writer.rowLine(row));
    return lines;
}

TEST(TableFormats, WriteOneHeaderLineAndRowsOfEqualLength) {
    const std::vector<std::string> tsv = {
        "# program: Umbrix 0.1.0",
        "# location: Freiburg 7.85 \u00b0E",
        "# free text",
        "date\ttime\tTa [\u00b0C]\tSVF_Umb\tSDmax [min]\tplace",
        "2026-06-21\t12:30\t21.5\t0.873\t870\tFreiburg, Wiehre",
        "2024-02-29\t23:30\t\t1.000\t0\t\"say \"\"hi\"\" #1\"",
        "2024-03-01\t00:00\t\t\t1440\ttab here",
    };
    EXPECT_EQ(Lines(TableFormat::Tsv), tsv);
    const std::vector<std::string> csv = {
        "# program: Umbrix 0.1.0",
        "# location: Freiburg 7.85 \u00b0E",
        "# free text",
        "date,time,Ta [\u00b0C],SVF_Umb,SDmax [min],place",
        "2026-06-21,12:30,21.5,0.873,870,\"Freiburg, Wiehre\"",
        "2024-02-29,23:30,,1.000,0,\"say \"\"hi\"\" #1\"",
        "2024-03-01,00:00,,,1440,tab here",
    };
    EXPECT_EQ(Lines(TableFormat::Csv), csv);
}

TEST(TableFormats, FormatEachKindOfValue) {
    struct Case {
        ColumnKind kind;
        int decimals;
        TableValue value;
        const char* text;
    };
    const Case cases[] = {
        {ColumnKind::Number, 1, -0.04, "0.0"},  // no negative zero
        {ColumnKind::Number, 1, -0.05, "-0.1"},
        {ColumnKind::Number, 0, 123456789.0, "123456789"},  // never an exponent
        {ColumnKind::Number, 1, double(9999.0f), ""},
        {ColumnKind::Number, 1, 9999.01, "9999.0"},       // near the missing value is a value
        {ColumnKind::Time, 0, 12.5 - 0.2 / 60, "12:30"},  // 12:29:48
        {ColumnKind::Time, 0, -0.5, "23:30"},
        {ColumnKind::Time, 0, 1e308, ""},
        {ColumnKind::Date, 0, Date{812, 1, 5}, "0812-01-05"},
        {ColumnKind::Date, 0, Date{2023, 2, 29}, ""},
        {ColumnKind::Text, 0, std::string("a\r\nb\xff"), "a  b\uFFFD"},
    };
    for (const Case& c : cases) {
        DelimitedTableWriter writer(TableFormat::Csv, {{"x", "", c.kind, c.decimals}}, 9999.0f);
        const TableValue row[] = {c.value};
        EXPECT_EQ(writer.rowLine(row), c.text) << c.text;
    }
}

TEST(TableFormats, RefuseWhatWouldBreakTheTable) {
    EXPECT_THROW(DelimitedTableWriter(TableFormat::Table, kColumns), std::invalid_argument);
    EXPECT_THROW(DelimitedTableWriter(TableFormat::Csv, {}), std::invalid_argument);
    EXPECT_THROW(DelimitedTableWriter(TableFormat::Csv, {{" ", "m"}}), std::invalid_argument);
    DelimitedTableWriter writer(TableFormat::Tsv, kColumns);
    const TableValue shortRow[] = {Date{2026, 1, 1}};
    EXPECT_THROW(writer.rowLine(shortRow), std::invalid_argument);
    std::vector<TableValue> wrongKind = kRows[0];
    wrongKind[2] = std::string("21.5");
    EXPECT_THROW(writer.rowLine(wrongKind), std::invalid_argument);

    EXPECT_EQ(TableFormatByName("CSV"), TableFormat::Csv);
    EXPECT_EQ(TableFormatByName("xlsx"), std::nullopt);
}

// What an analyst gets: both formats read back with pandas (Debian's python3-pandas).
TEST(TableFormats, ReadBackWithPandas) {
    if (std::system("/usr/bin/python3 -c 'import pandas' >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "python3-pandas is not installed: /usr/bin/python3 cannot import pandas";
    test::TempDir dir;
    for (auto [format, name] :
         {std::pair{TableFormat::Tsv, "t.tsv"}, {TableFormat::Csv, "t.csv"}}) {
        std::ofstream out(dir.file(name), std::ios::binary);
        for (const std::string& line : Lines(format)) out << line << '\n';
    }
    const std::string command = "/usr/bin/python3 " UMBRIX_SOURCE_DIR
                                "/tests/pandas/read_tables.py " +
                                dir.file("t.tsv") + " " + dir.file("t.csv") + " 2>&1";
    std::FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
    EXPECT_EQ(pclose(pipe), 0) << output;
    EXPECT_EQ(output, "pandas read both tables\n");
}

}  // namespace
}  // namespace umbrix
