// The data-file window: the column list (exclusions, reordering, Ta above the humidity), the
// open and "use current data" buttons, the "Datafile" menu item and the command line's columns.
#include "models/DataFileWindowModel.h"

#include "platform/Error.h"
#include "series/EpwFile.h"
#include "support/AppFixture.h"

namespace umbrix::test {
namespace {

using C = DataColumn;

class DataFileWindowModelTest : public AppFixture {
  protected:
    DataFileWindowModel& dataFileWindow() { return app->dataFileWindow(); }
    int index(DataColumn c) {
        const auto order = dataFileWindow().columnOrder();
        return int(std::find(order.begin(), order.end(), c) - order.begin());
    }
    // Check marks as they stand, without the handlers.
    void preset(const std::vector<DataColumn>& on) {
        Control& list = dataFileWindow().ctl("CheckListBox1");
        list.itemChecked.assign(list.items.size(), false);
        for (DataColumn c : on) list.itemChecked[std::size_t(index(c))] = true;
    }
    void check(DataColumn c, bool on = true) {
        dataFileWindow().setItemChecked("CheckListBox1", index(c), on);
    }
};

TEST_F(DataFileWindowModelTest, CheckingAColumnUnchecksTheOnesItExcludes) {
    struct Case {
        std::vector<DataColumn> before;
        DataColumn checked;
        std::vector<DataColumn> after;  // in list order
    } cases[] = {
        {{C::Ta, C::RH}, C::VP, {C::Ta, C::VP}},
        {{C::VP}, C::RH, {C::RH}},
        {{C::N, C::G, C::V}, C::Tmrt, {C::V, C::Tmrt}},
        // a measured G goes with the cloud cover, which gives the counter-radiation
        {{C::N, C::Tmrt}, C::G, {C::N, C::G}},
        {{C::G, C::Tmrt, C::Ts}, C::N, {C::N, C::Ts, C::G}},
        {{C::G, C::Ts, C::D}, C::Clothing, {C::Ts, C::D, C::G, C::Clothing}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ColumnShortName(c.checked));
        preset(c.before);
        check(c.checked);
        EXPECT_EQ(dataFileWindow().checkedColumns(), c.after);
    }
    // unchecking excludes nothing
    preset({C::VP, C::Ta});
    check(C::RH, false);
    EXPECT_EQ(dataFileWindow().checkedColumns(), (std::vector<DataColumn>{C::Ta, C::VP}));
}

TEST_F(DataFileWindowModelTest, HorizonColumnEnablesTheIncrement) {
    EXPECT_FALSE(dataFileWindow().enabled("ComboHorAz"));
    check(C::Horizon);
    EXPECT_TRUE(dataFileWindow().enabled("ComboHorAz"));
    EXPECT_TRUE(dataFileWindow().enabled("LabelHorAz"));
    EXPECT_EQ(dataFileWindow().horizonIncrement(), 30);
    app->registry().set("ComboHorAz", "15\u00b0 (24 values)");
    EXPECT_EQ(dataFileWindow().horizonIncrement(), 15);
    check(C::Horizon, false);
    EXPECT_FALSE(dataFileWindow().enabled("ComboHorAz"));
}

TEST_F(DataFileWindowModelTest, MovingAnItemKeepsItsMarkAndTaStaysAboveTheHumidity) {
    preset({C::Date, C::G});
    dataFileWindow().moveColumn(index(C::G), 0);  // G to the top, checked
    EXPECT_EQ(dataFileWindow().columnOrder()[0], C::G);
    EXPECT_EQ(dataFileWindow().checkedColumns(), (std::vector<DataColumn>{C::G, C::Date}));

    // moving RH above Ta: they change places, both keeping their marks
    preset({C::Ta, C::RH});
    const int ta = index(C::Ta);
    dataFileWindow().moveColumn(index(C::RH), 1);
    EXPECT_LT(index(C::Ta), index(C::RH));
    EXPECT_LT(index(C::Ta), index(C::VP));
    EXPECT_EQ(index(C::Ta), 1);
    EXPECT_EQ(dataFileWindow().checkedColumns(), (std::vector<DataColumn>{C::Ta, C::RH}));
    // moving Ta below both: Ta changes places with the higher humidity item (RH), which thus
    // lands where Ta was dropped
    dataFileWindow().moveColumn(index(C::Ta), ta + 5);
    EXPECT_EQ(index(C::RH), ta + 5);
    EXPECT_LT(index(C::Ta), index(C::VP));
    EXPECT_LT(index(C::Ta), index(C::RH));
    EXPECT_TRUE(dataFileWindow().isColumn(C::Ta));
    EXPECT_TRUE(dataFileWindow().isColumn(C::RH));
    EXPECT_THROW(dataFileWindow().moveColumn(0, kDataColumnCount), UmbrixError);
}

TEST_F(DataFileWindowModelTest, OpenDialogChoosesFileAndSeparator) {
    // "Add" is disabled by every window operation
    main().click("ButtonNeu");
    ASSERT_TRUE(main().enabled("ButtonHinzu"));
    host.openAnswers.push_back(path("weather.csv"));
    host.chosenFilterIndex = 2;  // "Csvfiles"
    dataFileWindow().click("BitBtn1");
    EXPECT_EQ(host.openRequests.back().filter,
              "Textfiles|*.txt;*.dat;*.asc|Csvfiles|*.csv|EPW weather file (*.epw)|*.epw|All "
              "files|*.*");
    EXPECT_EQ(dataFileWindow().text("EditDatei"), "weather.csv");
    EXPECT_EQ(dataFileWindow().fileName(), path("weather.csv"));
    EXPECT_EQ(dataFileWindow().text("ComboFileSep"), ",");
    EXPECT_EQ(dataFileWindow().fieldSeparator(), ',');
    EXPECT_TRUE(main().checked("Wertedatei1"));
    EXPECT_FALSE(main().enabled("ButtonHinzu"));

    // cancelled with the text filter: the file stays, the separator follows the filter
    host.chosenFilterIndex = 1;
    dataFileWindow().click("BitBtn1");
    EXPECT_EQ(dataFileWindow().text("EditDatei"), "weather.csv");
    EXPECT_EQ(dataFileWindow().text("ComboFileSep"), "Space or Tab");
    EXPECT_EQ(dataFileWindow().fieldSeparator(), '\t');

    // a weather file: its fixed columns, whatever the list held
    host.openAnswers.push_back(path("year.epw"));
    host.chosenFilterIndex = 3;
    dataFileWindow().click("BitBtn1");
    EXPECT_TRUE(dataFileWindow().isEpw());
    EXPECT_EQ(dataFileWindow().checkedColumns(), EpwDataColumns());
    EXPECT_TRUE(dataFileWindow().dataFileSettings().epw);

    // "Use current data"
    dataFileWindow().click("BitBtn2");
    EXPECT_EQ(dataFileWindow().text("EditDatei"), "(none - keine)");
    EXPECT_FALSE(main().checked("Wertedatei1"));
}

TEST_F(DataFileWindowModelTest, DatafileMenuItemShowsTheWindowOrUnchecks) {
    dataFileWindow().hide();
    main().click("Wertedatei1");
    EXPECT_TRUE(main().checked("Wertedatei1"));
    EXPECT_TRUE(dataFileWindow().isVisible());
    main().click("Wertedatei1");
    EXPECT_FALSE(main().checked("Wertedatei1"));
}

// Closing keeps the data file only when a run could read it: a file and a checked column.
TEST_F(DataFileWindowModelTest, ClosingDropsADataFileThatCannotBeRead) {
    struct Case {
        bool file;
        std::vector<DataColumn> columns;
        bool kept;
    } cases[] = {
        {false, {}, false}, {false, {C::Ta}, false}, {true, {}, false}, {true, {C::Ta}, true}};
    for (const Case& c : cases) {
        dataFileWindow().click("BitBtn2");
        preset(c.columns);
        if (c.file) {
            host.openAnswers.push_back(path("weather.txt"));
            dataFileWindow().click("BitBtn1");
        } else {
            main().click("Wertedatei1");
        }
        ASSERT_TRUE(main().checked("Wertedatei1"));
        dataFileWindow().click("OkBtn");
        EXPECT_FALSE(dataFileWindow().isVisible());
        EXPECT_EQ(main().checked("Wertedatei1"), c.kept) << c.file << c.columns.size();
        EXPECT_EQ(dataFileWindow().text("EditDatei") != "(none - keine)", c.kept);
    }
}

TEST_F(DataFileWindowModelTest, SettingsOfARun) {
    dataFileWindow().selectColumns({"date", "time", "Ta", "RH", "v", "G"});
    app->registry().set("EditDefVal", "-99.9");
    app->registry().set("ChkUeberschriften", "1");
    app->registry().set("ComboFileSep", ";");
    app->registry().set("EditIDate", "T.M.JJJJ");
    DataFileSettings s = dataFileWindow().dataFileSettings();
    EXPECT_EQ(s.columns, (std::vector<DataColumn>{C::Date, C::Time, C::Ta, C::RH, C::V, C::G}));
    EXPECT_EQ(s.missingValue, -99.9f);
    EXPECT_EQ(s.missingText, "-99.9");
    EXPECT_TRUE(s.skipFirstRow);
    EXPECT_EQ(s.fieldSeparator, ';');
    EXPECT_EQ(s.dateFormat, "T.M.JJJJ");
    EXPECT_EQ(s.currentYear, 2026);
    app->registry().set("EditDefVal", "none");
    EXPECT_THROW(dataFileWindow().dataFileSettings(), ConvertError);
}

TEST_F(DataFileWindowModelTest, CommandLineColumns) {
    // an unchosen Ta goes above the humidity without changing the chosen order
    dataFileWindow().selectColumns({"date", "RH", "G"});
    EXPECT_EQ(dataFileWindow().checkedColumns(), (std::vector<DataColumn>{C::Date, C::RH, C::G}));
    EXPECT_LT(index(C::Ta), index(C::RH));
    dataFileWindow().selectColumns({"date", "time", "Ta", "RH", "v", "N", "D", "G"});
    EXPECT_EQ(dataFileWindow().checkedColumns(),
              (std::vector<DataColumn>{C::Date, C::Time, C::Ta, C::RH, C::V, C::N, C::D, C::G}));
    dataFileWindow().selectColumns({"Air temperature Ta (\u00b0C)", "VP", "horizon"});
    EXPECT_EQ(dataFileWindow().checkedColumns(),
              (std::vector<DataColumn>{C::Ta, C::VP, C::Horizon}));
    EXPECT_TRUE(dataFileWindow().enabled("ComboHorAz"));
    struct Bad {
        std::vector<std::string> names;
        const char* message;
    } bad[] = {
        {{"date", "temp"}, "unknown column \"temp\""},
        {{"Ta", "ta"}, "given twice"},
        {{"RH", "Ta"}, "\"Ta\" must come before \"RH\""},
        {{"Tmrt", "N"}, "\"Tmrt\" and \"N\" exclude each other"},
        {{"Ta", "VP", "RH"}, "\"VP\" and \"RH\" exclude each other"},
    };
    for (const Bad& b : bad) {
        SCOPED_TRACE(b.message);
        try {
            dataFileWindow().selectColumns(b.names);
            ADD_FAILURE();
        } catch (const UmbrixError& e) {
            EXPECT_NE(std::string(e.what()).find(b.message), std::string::npos) << e.what();
        }
    }
}

}  // namespace
}  // namespace umbrix::test
