// The data-file window: the column list (exclusions, reordering, Ta above the humidity), the
// open and "use current data" buttons, the "Datafile" menu item and the command line's columns.
#include "series/Wertedat.h"

#include "platform/Error.h"
#include "support/AppFixture.h"

namespace umbrix::test {
namespace {

using C = DataColumn;

class WerteTest : public AppFixture {
  protected:
    TFormWerte& werte() { return app->werte(); }
    int index(DataColumn c) {
        const auto order = werte().columnOrder();
        return int(std::find(order.begin(), order.end(), c) - order.begin());
    }
    // Check marks as they stand, without the handlers.
    void preset(const std::vector<DataColumn>& on) {
        Control& list = werte().ctl("CheckListBox1");
        list.itemChecked.assign(list.items.size(), false);
        for (DataColumn c : on) list.itemChecked[std::size_t(index(c))] = true;
    }
    void check(DataColumn c, bool on = true) {
        werte().setItemChecked("CheckListBox1", index(c), on);
    }
};

TEST_F(WerteTest, CheckingAColumnUnchecksTheOnesItExcludes) {
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
        EXPECT_EQ(werte().checkedColumns(), c.after);
    }
    // unchecking excludes nothing
    preset({C::VP, C::Ta});
    check(C::RH, false);
    EXPECT_EQ(werte().checkedColumns(), (std::vector<DataColumn>{C::Ta, C::VP}));
}

TEST_F(WerteTest, HorizonColumnEnablesTheIncrement) {
    EXPECT_FALSE(werte().enabled("ComboHorAz"));
    check(C::Horizon);
    EXPECT_TRUE(werte().enabled("ComboHorAz"));
    EXPECT_TRUE(werte().enabled("LabelHorAz"));
    EXPECT_EQ(werte().horizonIncrement(), 30);
    app->registry().set("ComboHorAz", "15\u00b0 (24 values)");
    EXPECT_EQ(werte().horizonIncrement(), 15);
    check(C::Horizon, false);
    EXPECT_FALSE(werte().enabled("ComboHorAz"));
}

TEST_F(WerteTest, MovingAnItemKeepsItsMarkAndTaStaysAboveTheHumidity) {
    preset({C::Date, C::G});
    werte().moveColumn(index(C::G), 0);  // G to the top, checked
    EXPECT_EQ(werte().columnOrder()[0], C::G);
    EXPECT_EQ(werte().checkedColumns(), (std::vector<DataColumn>{C::G, C::Date}));

    // moving RH above Ta: they change places, both keeping their marks
    preset({C::Ta, C::RH});
    const int ta = index(C::Ta);
    werte().moveColumn(index(C::RH), 1);
    EXPECT_LT(index(C::Ta), index(C::RH));
    EXPECT_LT(index(C::Ta), index(C::VP));
    EXPECT_EQ(index(C::Ta), 1);
    EXPECT_EQ(werte().checkedColumns(), (std::vector<DataColumn>{C::Ta, C::RH}));
    // moving Ta below both: Ta changes places with the higher humidity item (RH), which thus
    // lands where Ta was dropped
    werte().moveColumn(index(C::Ta), ta + 5);
    EXPECT_EQ(index(C::RH), ta + 5);
    EXPECT_LT(index(C::Ta), index(C::VP));
    EXPECT_LT(index(C::Ta), index(C::RH));
    EXPECT_TRUE(werte().isColumn(C::Ta));
    EXPECT_TRUE(werte().isColumn(C::RH));
    EXPECT_THROW(werte().moveColumn(0, kDataColumnCount), UmbrixError);
}

TEST_F(WerteTest, OpenDialogChoosesFileAndSeparator) {
    // "Add" is disabled by every window operation
    main().click("ButtonNeu");
    ASSERT_TRUE(main().enabled("ButtonHinzu"));
    host.openAnswers.push_back(path("weather.csv"));
    host.chosenFilterIndex = 2;  // "Csvfiles"
    werte().click("BitBtn1");
    EXPECT_EQ(host.openRequests.back().filter,
              "Textfiles|*.txt;*.dat;*.asc|Csvfiles|*.csv|All files|*.*");
    EXPECT_EQ(werte().text("EditDatei"), "weather.csv");
    EXPECT_EQ(werte().fileName(), path("weather.csv"));
    EXPECT_EQ(werte().text("ComboFileSep"), ",");
    EXPECT_EQ(werte().fieldSeparator(), ',');
    EXPECT_TRUE(main().checked("Wertedatei1"));
    EXPECT_FALSE(main().enabled("ButtonHinzu"));

    // cancelled with the text filter: the file stays, the separator follows the filter
    host.chosenFilterIndex = 1;
    werte().click("BitBtn1");
    EXPECT_EQ(werte().text("EditDatei"), "weather.csv");
    EXPECT_EQ(werte().text("ComboFileSep"), "Space or Tab");
    EXPECT_EQ(werte().fieldSeparator(), '\t');

    // "Use current data"
    werte().click("BitBtn2");
    EXPECT_EQ(werte().text("EditDatei"), "(none - keine)");
    EXPECT_FALSE(main().checked("Wertedatei1"));
}

TEST_F(WerteTest, DatafileMenuItemShowsTheWindowOrUnchecks) {
    werte().hide();
    main().click("Wertedatei1");
    EXPECT_TRUE(main().checked("Wertedatei1"));
    EXPECT_TRUE(werte().isVisible());
    werte().click("OkBtn");
    EXPECT_FALSE(werte().isVisible());
    main().click("Wertedatei1");
    EXPECT_FALSE(main().checked("Wertedatei1"));
    EXPECT_FALSE(werte().isVisible());
}

TEST_F(WerteTest, SettingsOfARun) {
    werte().selectColumns({"date", "time", "Ta", "RH", "v", "G"});
    app->registry().set("EditDefVal", "-99.9");
    app->registry().set("ChkUeberschriften", "1");
    app->registry().set("ComboFileSep", ";");
    app->registry().set("EditIDate", "T.M.JJJJ");
    DataFileSettings s = werte().dataFileSettings();
    EXPECT_EQ(s.columns, (std::vector<DataColumn>{C::Date, C::Time, C::Ta, C::RH, C::V, C::G}));
    EXPECT_EQ(s.missingValue, -99.9f);
    EXPECT_EQ(s.missingText, "-99.9");
    EXPECT_TRUE(s.skipFirstRow);
    EXPECT_EQ(s.fieldSeparator, ';');
    EXPECT_EQ(s.dateFormat, "T.M.JJJJ");
    EXPECT_EQ(s.currentYear, 2026);
    app->registry().set("EditDefVal", "none");
    EXPECT_THROW(werte().dataFileSettings(), ConvertError);
}

TEST_F(WerteTest, CommandLineColumns) {
    // an unchosen Ta goes above the humidity without changing the chosen order
    werte().selectColumns({"date", "RH", "G"});
    EXPECT_EQ(werte().checkedColumns(), (std::vector<DataColumn>{C::Date, C::RH, C::G}));
    EXPECT_LT(index(C::Ta), index(C::RH));
    werte().selectColumns({"date", "time", "Ta", "RH", "v", "N", "D", "G"});
    EXPECT_EQ(werte().checkedColumns(),
              (std::vector<DataColumn>{C::Date, C::Time, C::Ta, C::RH, C::V, C::N, C::D, C::G}));
    werte().selectColumns({"Air temperature Ta (\u00b0C)", "VP", "horizon"});
    EXPECT_EQ(werte().checkedColumns(), (std::vector<DataColumn>{C::Ta, C::VP, C::Horizon}));
    EXPECT_TRUE(werte().enabled("ComboHorAz"));
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
            werte().selectColumns(b.names);
            ADD_FAILURE();
        } catch (const UmbrixError& e) {
            EXPECT_NE(std::string(e.what()).find(b.message), std::string::npos) << e.what();
        }
    }
}

}  // namespace
}  // namespace umbrix::test
