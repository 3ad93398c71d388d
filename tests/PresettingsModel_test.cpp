// The pre-settings window: accepted ranges, "auto" values and the output formats.
#include "models/RangeMessages.h"
#include "support/AppFixture.h"

namespace umbrix::test {
namespace {

using PresettingsModelTest = AppFixture;

TEST_F(PresettingsModelTest, FieldsAcceptOrReplaceTheirValues) {
    PresettingsModel& pre = app->presettings();
    struct Case {
        const char* field;
        const char* typed;
        const char* shown;
        float PresettingsModel::*value;
        float stored;
        bool refused;  // outside the physical range: a message, and the field keeps its value
    } cases[] = {
        {"EditTrb", "-2", "auto", &PresettingsModel::turbidity, -1, false},
        {"EditTrb", "4,5", "4.50", &PresettingsModel::turbidity, 4.5f, false},
        {"EditTrb", "0", "4.50", &PresettingsModel::turbidity, 4.5f, true},  // below pure air
        {"EditTrb", "45", "4.50", &PresettingsModel::turbidity, 4.5f, true},
        {"EditTrb", "x", "auto", &PresettingsModel::turbidity, -1, false},
        {"EditDGratio", "0.25", "0.25", &PresettingsModel::dgRatio, 0.25f, false},
        {"EditDGratio", "1.5", "0.25", &PresettingsModel::dgRatio, 0.25f, true},
        {"EditDGratio", "-0.1", "auto", &PresettingsModel::dgRatio, -1, false},
        {"EditFoglimit", "95", "95.0", &PresettingsModel::fogLimit, 95, false},
        {"EditFoglimit", "120", "95.0", &PresettingsModel::fogLimit, 95, true},
        {"EditFoglimit", "wet", "95.0", &PresettingsModel::fogLimit, 95, true},
        {"EditBowen", "x", "1.00", &PresettingsModel::bowen, 1, true},
        {"EditBowen", "0.456", "0.46", &PresettingsModel::bowen, 0.456f, false},
        {"EditBowen", "-2", "0.46", &PresettingsModel::bowen, 0.456f, true},
        {"EditAlbedo", "0.15", "0.15", &PresettingsModel::albedo, 0.15f, false},
        {"EditAlbedo", "-0.2", "0.15", &PresettingsModel::albedo, 0.15f, true},
        {"EditAlbedo", "x", "0.15", &PresettingsModel::albedo, 0.15f, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " <- " + c.typed);
        if (c.refused) {
            try {
                pre.typeAndLeave(c.field, c.typed);
                ADD_FAILURE() << "accepted";
            } catch (const RangeError& e) {
                EXPECT_NE(std::string(e.what()).find(std::string("(") + c.field + "): \"" +
                                                     c.typed + "\" is "),
                          std::string::npos)
                    << e.what();
            }
        } else {
            pre.typeAndLeave(c.field, c.typed);
        }
        EXPECT_EQ(pre.text(c.field), c.shown);
        EXPECT_FLOAT_EQ(pre.*(c.value), c.stored);
    }
    EXPECT_THROW(pre.typeAndLeave("EditAlbHum", "x"), RangeError);
    EXPECT_EQ(pre.text("EditAlbHum"), "0.30");
    pre.typeAndLeave("EditAlbHum", "0.25");
    EXPECT_THROW(pre.typeAndLeave("EditAlbHum", "1.3"), RangeError);
    EXPECT_EQ(pre.text("EditAlbHum"), "0.25");
}

TEST_F(PresettingsModelTest, GermanDateLettersBecomeTheOutputDateFormat) {
    app->presettings().typeAndLeave("EditODate", "T.M.JJJJ");
    EXPECT_EQ(app->presettings().text("EditODate"), "d.M.yyyy");
    EXPECT_EQ(app->format().shortDateFormat, "d.M.yyyy");
    EXPECT_EQ(app->format().dateSeparator, '.');
    EXPECT_EQ(main().text("EditDat"), "21.6.2026");
    app->presettings().typeAndLeave("EditODate", "yyyy-mm-dd");
    EXPECT_EQ(app->format().dateSeparator, '-');
    EXPECT_EQ(main().text("EditDat"), "2026-06-21");
    main().typeAndLeave("EditDat", "2026-07-04");
    EXPECT_EQ(main().text("EditTag"), "185");
    // a format without day, month and year is refused
    app->presettings().typeAndLeave("EditODate", "nonsense");
    EXPECT_EQ(app->presettings().text("EditODate"), "yyyy-mm-dd");
    EXPECT_EQ(main().text("EditDat"), "2026-07-04");
}

TEST_F(PresettingsModelTest, TimeFormatWithItsOwnSeparator) {
    app->presettings().typeAndLeave("EditOTime", "hh-mm");
    EXPECT_EQ(app->presettings().text("EditOTime"), "hh-mm");
    EXPECT_EQ(app->format().timeSeparator, '-');
    EXPECT_EQ(main().text("EditZeit"), "09-00");
    main().typeAndLeave("EditZeit", "13-45");
    EXPECT_EQ(main().text("EditZeit"), "13-45");
    app->presettings().typeAndLeave("EditOTime", "xyz");
    EXPECT_EQ(app->presettings().text("EditOTime"), "hh-mm");
    // the table shows the formats as units and writes its times with them
    main().click("ButtonNeu");
    auto units = Fields(table()[7]);
    auto row = Fields(table()[8]);
    EXPECT_EQ(units[2], "hh-mm");
    EXPECT_EQ(row[2], "13-45");
}

TEST_F(PresettingsModelTest, ApplyRunsEveryExitRule) {
    PresettingsModel& pre = app->presettings();
    pre.type("EditTrb", "3");
    pre.type("EditFoglimit", "80");
    pre.type("EditODate", "dd/mm/yyyy");
    pre.click("ApplyBtn");
    EXPECT_FLOAT_EQ(pre.turbidity, 3);
    EXPECT_EQ(pre.text("EditFoglimit"), "80.0");
    EXPECT_EQ(main().text("EditDat"), "21/06/2026");
    // refusals do not stop the other fields, and come in one message
    pre.type("EditBowen", "-5");
    pre.type("EditTrb", "5");
    pre.type("EditAlbedo", "2");
    try {
        pre.click("ApplyBtn");
        ADD_FAILURE();
    } catch (const RangeError& e) {
        const std::string what = e.what();
        EXPECT_NE(what.find("EditBowen"), std::string::npos) << what;
        EXPECT_NE(what.find("EditAlbedo"), std::string::npos) << what;
    }
    EXPECT_FLOAT_EQ(pre.turbidity, 5);
    EXPECT_EQ(pre.text("EditBowen"), "1.00");
    EXPECT_EQ(pre.text("EditAlbedo"), "0.20");
}

}  // namespace
}  // namespace umbrix::test
