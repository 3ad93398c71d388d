#include "series/ColumnLabels.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/TempDir.h"

namespace umbrix {
namespace {

using C = DataColumn;

TEST(ColumnLabels, NameTheColumnsByShortNameOrItemText) {
    struct Case {
        const char* line;
        char separator;
        std::vector<DataColumn> columns;
    };
    const Case cases[] = {
        {"date time Ta RH v G", '\t', {C::Date, C::Time, C::Ta, C::RH, C::V, C::G}},
        {"DATE  Time\tta\trh \r", '\t', {C::Date, C::Time, C::Ta, C::RH}},
        {"\xEF\xBB\xBFtag;doy;Tmrt;", ';', {C::Tag, C::DayOfYear, C::Tmrt}},
        {"Date\tTime\tAir temperature Ta (\u00b0C)\tGlobal radiation G (W/m\u00b2)",
         '\t',
         {C::Date, C::Time, C::Ta, C::G}},
        // item texts between blanks, longest first: "Time" is a label, "Timezone (UTC+h)" too
        {"Date Time Timezone (UTC+h) Ratio of diffuse and global radiation Albedo",
         '\t',
         {C::Date, C::Time, C::TimeZone, C::DGRatio, C::Albedo}},
        {"date,time,Ta,Wind velocity v (m/s),N", ',', {C::Date, C::Time, C::Ta, C::V, C::N}},
        // a Latin-1 file's item text
        {"Air temperature Ta (\xb0"
         "C)|RH",
         '|',
         {C::Ta, C::RH}},
        // the horizon's label once or over each of its fields
        {"date horizon horizon horizon horizon", '\t', {C::Date, C::Horizon}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ColumnsFromLabels(c.line, c.separator), c.columns) << c.line;
}

TEST(ColumnLabels, RefuseUnknownTwiceGivenAndMissingLabels) {
    struct Case {
        const char* line;
        char separator;
        std::vector<std::string> unknown;
        const char* message;
    };
    const Case cases[] = {
        {"date time Temp Ta Hum", '\t', {"Temp", "Hum"}, "unknown column labels \"Temp\", \"Hum\""},
        {"Date\tAir temp (C)\tRH", '\t', {"Air temp (C)"}, "label \"Air temp (C)\""},
        {"date;;Ta", ';', {""}, "column 2 has no label"},
        {"date time ta TA", '\t', {}, "\"Ta\" is labelled twice"},
        {"  \r", '\t', {}, "no column labels"},
    };
    for (const Case& c : cases) {
        try {
            ColumnsFromLabels(c.line, c.separator, "data file x.txt, line 1");
            ADD_FAILURE() << c.line;
        } catch (const ColumnLabelError& e) {
            EXPECT_EQ(e.unknown(), c.unknown) << c.line;
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
            EXPECT_EQ(std::string(e.what()).rfind("data file x.txt, line 1: ", 0), 0u) << e.what();
        }
    }
}

TEST(ColumnLabels, ReadFromTheFilesFirstLine) {
    test::TempDir dir;
    const std::string path = dir.file("days.CSV");
    std::ofstream(path, std::ios::binary) << "date,time,Ta,RH\r\n21.6.2026,12:00,25,40\r\n";
    EXPECT_EQ(DataFileSeparatorFor(path, '\t'), ',');
    EXPECT_EQ(DataFileSeparatorFor("days.txt", ';'), ';');
    EXPECT_EQ(ReadColumnLabels(path, ','), (std::vector{C::Date, C::Time, C::Ta, C::RH}));

    std::ofstream(path, std::ios::binary | std::ios::trunc);
    EXPECT_THROW(ReadColumnLabels(path, ','), ColumnLabelError);  // empty
    std::ofstream(path, std::ios::binary) << std::string(70000, 'x') << "\n";
    EXPECT_THROW(ReadColumnLabels(path, ','), ColumnLabelError);  // overlong
    EXPECT_THROW(ReadColumnLabels(dir.file("none.txt"), ','), FileError);
}

}  // namespace
}  // namespace umbrix
