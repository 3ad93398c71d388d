// The main window's fields: exit rules, angle texts, date and time, humidity coupling and the
// rules that disable "A&dd".
#include <cmath>

#include "models/RangeMessages.h"
#include "platform/Error.h"
#include "platform/Format.h"
#include "solar/RadiationStep.h"
#include "support/AppFixture.h"

namespace umbrix::test {
namespace {

TEST(Angle, FormatAndParseTable) {
    struct Case {
        const char* typed;
        const char* shown;
        double parsed;
    } cases[] = {
        {"7,30", "7\u00b030'", 7.5},  // the comma is the degree mark
        {"7.5", "7\u00b030'", 7.5},
        {"-0.5", "-0\u00b030'", -0.5},  // the sign survives zero degrees
        {"7.999", "8\u00b00'", 8.0},    // 60 minutes carry
        {"-7.999", "-8\u00b00'", -8.0},
        {"7\u00b051'", "7\u00b051'", 7.85},
        {"7\u00b075'", "8\u00b015'", 8.25},
        {"190.5", "-169\u00b030'", -169.5},  // wrapped as a whole angle
        {"180", "-180\u00b00'", -180.0},
        {"-180", "-180\u00b00'", -180.0},
        {"abc", "0\u00b00'", 0.0},
        {"", "0\u00b00'", 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        std::string shown = FormatAngle(c.typed);
        EXPECT_EQ(shown, c.shown);
        EXPECT_NEAR(ParseAngle(shown), c.parsed, 1e-9);
    }
}

TEST(Angle, ParseAcceptsDecimalsAndRejectsJunk) {
    EXPECT_DOUBLE_EQ(ParseAngle("7,85"), 7.85);
    EXPECT_DOUBLE_EQ(ParseAngle("-33.87"), -33.87);
    EXPECT_DOUBLE_EQ(ParseAngle("12\u00b0"), 12.0);
    EXPECT_THROW(ParseAngle("x\u00b030'", "EditLg"), ConvertError);
    try {
        ParseAngle("east", "EditLg");
        FAIL();
    } catch (const ConvertError& e) {
        EXPECT_EQ(e.field(), "EditLg");
        EXPECT_NE(std::string(e.what()).find("east"), std::string::npos);
    }
}

using MainWindowModelTest = AppFixture;

TEST_F(MainWindowModelTest, StartDefaultsComeFromFirstLocationInSortedOrderAndTheClock) {
    EXPECT_EQ(main().text("ComboOrt"), "Berlin");
    EXPECT_EQ(main().text("EditLg"), "13\u00b024'");
    EXPECT_EQ(main().text("EditBr"), "52\u00b031'");
    EXPECT_EQ(main().text("EditZz"), "1.0");
    EXPECT_EQ(main().text("EditNn"), "34");
    EXPECT_EQ(main().text("EditDat"), "21.6.2026");
    EXPECT_EQ(main().text("EditTag"), "172");
    EXPECT_EQ(main().text("EditZeit"), "9:00");
    EXPECT_EQ(main().text("EditTa"), "20.0");
    EXPECT_FALSE(main().enabled("ButtonHinzu"));
    EXPECT_TRUE(main().checked("Einzeltab1"));
    EXPECT_FALSE(main().enabled("Schattenwurf1"));
    EXPECT_FALSE(main().ctl("Zylinder1").visible);
}

TEST_F(MainWindowModelTest, NumericExitRules) {
    struct Case {
        const char* field;
        const char* typed;
        const char* shown;
    } cases[] = {
        {"EditTa", "25,5", "25.5"}, {"EditTa", "abc", "0"},      {"EditTa", "-3", "-3.0"},
        {"EditWG", "x", "0"},       {"EditWG", "2.25", "2.3"},   {"EditN", "", "0"},
        {"EditTs", "x", ""},        {"EditTs", "31.26", "31.3"}, {"EditGr", "x", "1.75"},
        {"EditGr", "1.8", "1.80"},  {"EditGew", "x", "75.0"},    {"EditA", "x", "35"},
        {"EditA", "41.5", "35"},    {"EditIcl", "x", "0.90"},    {"EditIcl", "1,2", "1.20"},
        {"EditAct", "x", "80.0"},   {"EditNn", "278.5", "278"},  {"EditNn", "279.5", "280"},
        {"EditNn", "x", "0"},       {"EditZz", "14", "14.0"},    {"EditZz", "-12", "-12.0"},
        {"EditZz", "12", "12.0"},   {"EditZz", "x", "0.0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " <- " + c.typed);
        // letters are refused: the field keeps what it showed
        const bool letters = std::string(c.typed).find_first_of("abcx") != std::string::npos;
        const std::string before = main().text(c.field);
        if (letters) {
            EXPECT_THROW(main().typeAndLeave(c.field, c.typed), RangeError);
            EXPECT_EQ(main().text(c.field), before);
        } else {
            main().typeAndLeave(c.field, c.typed);
            EXPECT_EQ(main().text(c.field), c.shown);
        }
    }
}

TEST_F(MainWindowModelTest, TypedHalvesRoundAwayFromZero) {
    // The number as typed is rounded, not its float or double, which lie just below these
    // halves (the float of 12.65 is 12.6499996...; the double of 1.45 is 1.4499999999999999556).
    struct Case {
        const char* field;
        const char* typed;
        const char* shown;
    } cases[] = {
        {"EditWG", "12.65", "12.7"},   {"EditTa", "-22.45", "-22.5"}, {"EditVp", "0.45", "0.5"},
        {"EditRh", "40.05", "40.1"},   {"EditGr", "1.645", "1.65"},   {"EditIcl", "0.445", "0.45"},
        {"EditG", "512.35", "512.4"},  {"EditZz", "5.45", "5.5"},     {"EditN", "2.25", "2.3"},
        {"EditTmrt", "30.05", "30.1"}, {"EditWG", "12.649", "12.6"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " <- " + c.typed);
        main().typeAndLeave(c.field, c.typed);
        EXPECT_EQ(main().text(c.field), c.shown);
    }
}

TEST_F(MainWindowModelTest, AltitudeFieldHoldsSixCharacters) {
    main().type("EditNn", "12345678");
    EXPECT_EQ(main().text("EditNn"), "123456");
}

TEST_F(MainWindowModelTest, GivenGlobalRadiationAndTmrtExcludeEachOther) {
    main().typeAndLeave("EditG", "500");
    EXPECT_EQ(main().text("EditG"), "500.0");
    // with a given G the cloud cover still gives the long-wave counter-radiation
    EXPECT_TRUE(main().enabled("EditN"));
    EXPECT_TRUE(main().enabled("LabelN"));
    main().typeAndLeave("EditTmrt", "30");
    EXPECT_EQ(main().text("EditTmrt"), "30.0");
    EXPECT_EQ(main().text("EditG"), "");
    EXPECT_THROW(main().typeAndLeave("EditG", "junk"), RangeError);
    EXPECT_EQ(main().text("EditG"), "");
    EXPECT_EQ(main().text("EditTmrt"), "30.0");  // a refused G empties nothing else
}

TEST_F(MainWindowModelTest, VapourPressureAndHumidityCoupling) {
    main().typeAndLeave("EditVp", "12.5");
    EXPECT_EQ(main().text("EditRh"), "53.5");
    // RH typed last: leaving Ta keeps RH and recomputes VP
    main().typeAndLeave("EditRh", "80");
    EXPECT_EQ(main().text("EditRh"), "80.0");
    main().typeAndLeave("EditTa", "5");
    EXPECT_EQ(main().text("EditRh"), "80.0");
    EXPECT_EQ(main().text("EditVp"), fixed(float(VapourFromRelHumidity(5, 80)), 5, 1));
    // VP typed last: leaving Ta keeps VP
    main().typeAndLeave("EditVp", "6.0");
    main().typeAndLeave("EditTa", "20");
    EXPECT_EQ(main().text("EditVp"), "6.0");
    EXPECT_EQ(main().text("EditRh"), fixed(float(RelHumidityFromVapour(20, 6)), 5, 1));
    // letters are refused; an emptied VP is refilled from Ta and RH
    main().typeAndLeave("EditRh", "50");
    const std::string vp = main().text("EditVp");
    EXPECT_THROW(main().typeAndLeave("EditVp", "wet"), RangeError);
    EXPECT_EQ(main().text("EditVp"), vp);
    main().typeAndLeave("EditVp", "");
    EXPECT_EQ(main().text("EditVp"), fixed(float(VapourFromRelHumidity(20, 50)), 5, 1));
}

TEST_F(MainWindowModelTest, ValuesOutsideTheirPhysicalRangeAreRefused) {
    // 21 June at 48°N: G up to 1.1 × the extraterrestrial value at noon, about 1320 W/m²
    struct Case {
        const char* field;
        const char* typed;
        const char* kept;  // the text before, which the field keeps
    } refused[] = {
        {"EditTa", "61", "20.0"},
        {"EditTa", "-91", "20.0"},
        {"EditRh", "150", "53.5"},
        {"EditRh", "-1", "53.5"},
        {"EditVp", "30", "12.5"},
        {"EditWG", "-1", "0.1"},
        {"EditN", "10", "0.0"},
        {"EditG", "1500", ""},
        {"EditG", "-5", ""},
        {"EditTs", "150", ""},
        {"EditTmrt", "130", ""},
        {"EditGr", "175", "1.75"},
        {"EditGew", "0", "75.0"},
        {"EditGew", "-70", "75.0"},
        {"EditA", "200", "35"},
        {"EditIcl", "6", "0.9"},
        {"EditAct", "-5", "80"},
        {"EditNn", "1e308", "278"},
        {"EditNn", "10000", "278"},
        {"EditZz", "15", "1.0"},
        {"EditZz", "1e9", "1.0"},
        {"EditBr", "91", "48\u00b00'"},
        {"EditBr", "999", "48\u00b00'"},
        {"EditLg", "999", "7\u00b051'"},
    };
    app->registry().set("ComboOrt", "Freiburg");
    for (const Case& c : refused) {
        SCOPED_TRACE(std::string(c.field) + " <- " + c.typed);
        try {
            main().typeAndLeave(c.field, c.typed);
            ADD_FAILURE() << "accepted, shows " << main().text(c.field);
        } catch (const RangeError& e) {
            const std::string what = e.what();
            EXPECT_NE(what.find(std::string("(") + c.field + ")"), std::string::npos) << what;
            EXPECT_NE(what.find("outside the range"), std::string::npos) << what;
        }
        EXPECT_EQ(main().text(c.field), c.kept);
    }
    // unusual but possible values stay
    const Case accepted[] = {
        {"EditTa", "-55", "-55.0"},       {"EditWG", "40", "40.0"},
        {"EditNn", "-400", "-400"},       {"EditN", "8", "8.0"},
        {"EditRh", "100", "100.0"},       {"EditG", "0", "0.0"},
        {"EditG", "1200", "1200.0"},      {"EditLg", "190.5", "-169\u00b030'"},
        {"EditBr", "-90", "-90\u00b00'"}, {"EditGr", "0.9", "0.90"},
        {"EditGew", "20", "20.0"},
    };
    for (const Case& c : accepted) {
        SCOPED_TRACE(std::string(c.field) + " <- " + c.typed);
        main().typeAndLeave(c.field, c.typed);
        EXPECT_EQ(main().text(c.field), c.kept);
    }
    // a text set without typing (as a restored session sets it) returns to the value of a
    // fresh start
    main().ctl("EditRh").text = "101";
    EXPECT_THROW(main().leave("EditRh"), RangeError);
    EXPECT_EQ(main().text("EditRh"), "53.5");
    // German messages
    app->setLanguage(Language::German);
    try {
        main().typeAndLeave("EditN", "9");
        ADD_FAILURE();
    } catch (const RangeError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Bedeckungsgrad N (EditN): \"9\" liegt au\u00dferhalb des Bereichs 0 bis 8 "
                  "Achtel; das Feld beh\u00e4lt \"8.0\"");
    }
}

TEST_F(MainWindowModelTest, TheHumidityTypedLastCounts) {
    auto row = [this](const char* column) {
        main().click("ButtonNeu");
        return Column(table(), column);
    };
    // at -50 °C an RH of 50 % means 0.03 hPa, which the VP field shows as 0.0; the row keeps
    // 50 % instead of recomputing 0 % from the shown 0.0 hPa
    main().typeAndLeave("EditTa", "-50");
    main().typeAndLeave("EditRh", "50");
    EXPECT_EQ(main().text("EditVp"), "0.0");
    EXPECT_EQ(row("RH"), "50.0");
    EXPECT_EQ(Column(table(), "VP"), "0.0");

    // before either is typed, the relative humidity keeps when Ta changes
    makeApp();
    main().typeAndLeave("EditTa", "-60");
    EXPECT_EQ(main().text("EditRh"), "53.5");
    EXPECT_EQ(row("RH"), "53.5");

    // a typed vapour pressure keeps; a Ta at which it lies above saturation is refused
    makeApp();
    main().typeAndLeave("EditVp", "12.5");
    try {
        main().typeAndLeave("EditTa", "-60");
        ADD_FAILURE();
    } catch (const RangeError& e) {
        EXPECT_NE(std::string(e.what()).find("71983 % instead of 0 to 100 %"), std::string::npos)
            << e.what();
    }
    EXPECT_EQ(main().text("EditTa"), "20.0");
    main().typeAndLeave("EditTa", "15");
    EXPECT_EQ(main().text("EditVp"), "12.5");
    EXPECT_EQ(row("VP"), "12.5");
    // the session remembers which one leads
    main().saveSession(path("s.ini"));
    makeApp();
    main().restoreSession(path("s.ini"));
    main().typeAndLeave("EditTa", "20");
    EXPECT_EQ(main().text("EditVp"), "12.5");
    // within its last digit of saturation a vapour pressure is saturated air
    main().typeAndLeave("EditVp", "12.3");
    main().typeAndLeave("EditTa", "10");  // 12.27 hPa at 10 °C
    EXPECT_EQ(main().text("EditRh"), "100.0");
    EXPECT_EQ(row("RH"), "100.0");
}

TEST_F(MainWindowModelTest, DateAndDayOfYear) {
    main().typeAndLeave("EditTag", "0");
    EXPECT_EQ(main().text("EditDat"), "31.12.2025");
    EXPECT_EQ(main().text("EditTag"), "365");
    host.clock.year = 2025;
    main().typeAndLeave("EditTag", "0");
    EXPECT_EQ(main().text("EditDat"), "31.12.2024");
    EXPECT_EQ(main().text("EditTag"), "366");
    main().typeAndLeave("EditTag", "x");
    EXPECT_EQ(main().text("EditDat"), "1.1.2025");
    main().typeAndLeave("EditDat", "1.3.2024");
    EXPECT_EQ(main().text("EditTag"), "61");
    main().typeAndLeave("EditDat", "31.2.2024");  // not a date: today
    EXPECT_EQ(main().text("EditDat"), "21.6.2025");
    EXPECT_EQ(main().dateFromDayOfYear(367), "2.1.2026");
    EXPECT_EQ(main().dayOfYearFromDate("31.12.2024"), 366);
    EXPECT_THROW(main().dayOfYearFromDate("soon"), ConvertError);
}

TEST_F(MainWindowModelTest, TimeField) {
    struct Case {
        const char* typed;
        const char* shown;
    } cases[] = {{"24:00", "0:00"},
                 {"24", "0:00"},
                 {"abc", "12:00"},
                 {"12:29:45", "12:29"},
                 {"7:5", "7:05"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        main().typeAndLeave("EditZeit", c.typed);
        EXPECT_EQ(main().text("EditZeit"), c.shown);
    }
}

TEST_F(MainWindowModelTest, NowAndTodayTakesTheClock) {
    host.clock = {2027, 1, 2, 23, 59, 59};
    main().click("ButtonJetzt");
    EXPECT_EQ(main().text("EditDat"), "2.1.2027");
    EXPECT_EQ(main().text("EditTag"), "2");
    EXPECT_EQ(main().text("EditZeit"), "23:59");
}

TEST_F(MainWindowModelTest, PositionIsEnabledOnlyForPetAndMpet) {
    EXPECT_TRUE(main().enabled("ComboPos"));
    main().click("PetChk");
    EXPECT_TRUE(main().enabled("ComboPos"));  // mPET still uses it
    main().click("mPETChK");
    EXPECT_FALSE(main().enabled("ComboPos"));
    EXPECT_FALSE(main().enabled("LabelPos"));
    main().click("PETMEMI1");
    EXPECT_TRUE(main().enabled("ComboPos"));
    main().click("PETMEMI1");
    main().click("mPETYCC1");
    EXPECT_TRUE(main().enabled("ComboPos"));
}

TEST_F(MainWindowModelTest, ChangesThatInvalidateTheHeaderDisableAdd) {
    ComponentRegistry& reg = app->registry();
    const std::vector<std::pair<std::string, std::string>> disabling = {
        {"EditLg", "8"},    {"EditBr", "47"},        {"EditNn", "300"},
        {"EditZz", "2"},    {"EditGr", "1.8"},       {"EditGew", "80"},
        {"EditA", "40"},    {"EditIcl", "1"},        {"EditAct", "100"},
        {"ComboSex", "f"},  {"ComboPos", "sitting"}, {"PmvChk", "0"},
        {"UtciChk", "0"},   {"Polar1", "1"},         {"Jahresgang1", "1"},
        {"Latitude1", "1"}, {"SVF1", "0"},           {"Deutsch1", "1"},
        {"PETMEMI1", "1"},  {"ComboOrt", "Sydney"},  {"FormWerte.ChkInDatei", "1"}};
    for (const auto& [name, value] : disabling) {
        SCOPED_TRACE(name + "=" + value);
        main().click("ButtonNeu");
        ASSERT_TRUE(main().enabled("ButtonHinzu"));
        reg.set(name, value);
        EXPECT_FALSE(main().enabled("ButtonHinzu"));
        // back to a mode and destination in which "&New" writes a table
        reg.set("Einzeltab1", "1");
        reg.set("FormWerte.ChkInDatei", "0");
    }
    const std::vector<std::pair<std::string, std::string>> keeping = {
        {"EditDat", "1.7.2026"}, {"EditTag", "100"}, {"EditZeit", "13:00"},
        {"EditTa", "30"},        {"EditVp", "10"},   {"EditRh", "40"},
        {"EditWG", "2"},         {"EditN", "4"},     {"EditG", "300"},
        {"EditTmrt", "40"},      {"EditTs", "25"},   {"Saverestoresession1", "0"}};
    for (const auto& [name, value] : keeping) {
        SCOPED_TRACE(name + "=" + value);
        main().click("ButtonNeu");
        reg.set(name, value);
        EXPECT_TRUE(main().enabled("ButtonHinzu"));
    }
}

TEST_F(MainWindowModelTest, OutputModesSwitchTheDataFileItemAndDiagramControls) {
    main().click("Polar1");
    EXPECT_TRUE(main().checked("Polar1"));
    EXPECT_FALSE(main().checked("Einzeltab1"));
    EXPECT_FALSE(main().enabled("Wertedatei1"));
    EXPECT_TRUE(app->outputWindow().enabled("UpDown1"));
    EXPECT_TRUE(app->outputWindow().pictureView);
    main().click("Jahresgang1");
    EXPECT_TRUE(main().enabled("Wertedatei1"));
    EXPECT_FALSE(app->outputWindow().enabled("EditTime"));
    EXPECT_FALSE(app->outputWindow().pictureView);
    // a disabled item does not react
    EXPECT_THROW(main().click("Schattenwurf1"), UmbrixError);
    EXPECT_THROW(main().click("A1"), UmbrixError);
    EXPECT_TRUE(main().checked("A1"));
}

TEST_F(MainWindowModelTest, AddBeforeNewIsRefusedWithAClearMessage) {
    try {
        main().click("ButtonHinzu");
        FAIL();
    } catch (const UmbrixError& e) {
        EXPECT_NE(std::string(e.what()).find("&New"), std::string::npos);
    }
}

}  // namespace
}  // namespace umbrix::test
