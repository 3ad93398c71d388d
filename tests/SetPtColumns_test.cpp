// The SET* and PT columns of a data-table row: the driver's arguments reach the index models.
#include <algorithm>

#include "indices/PerceivedTemperature.h"
#include "indices/SetStar.h"
#include "platform/Format.h"
#include "solar/RadiationStep.h"
#include "support/AppFixture.h"

namespace umbrix::test {
namespace {

using SetPtColumnsTest = AppFixture;

// Value of the named column in the first row of the table.
std::string Column(const std::vector<std::string>& lines, const std::string& name) {
    // header lines, an empty line, names, units, the row
    const auto empty = std::find(lines.begin(), lines.end(), std::string());
    if (empty == lines.end() || lines.end() - empty < 4) return "no table";
    const std::vector<std::string> names = Fields(*(empty + 1));
    const std::vector<std::string> row = Fields(*(empty + 3));
    for (size_t i = 0; i < names.size() && i < row.size(); ++i)
        if (names[i] == name) return row[i];
    return "no column " + name;
}

TEST_F(SetPtColumnsTest, DefaultPersonWithGivenTmrt) {
    main().typeAndLeave("EditTmrt", "20");
    main().click("ButtonNeu");
    // Ta 20, VP 12.5 (RH coupled from it), v 0.1, Tmrt 20; m, 35, 1.75 m, 75 kg, 0.9 clo, 80 W
    EXPECT_EQ(Column(table(), "SET*"), "23.2");
    EXPECT_EQ(Column(table(), "PT"), "18.8");
    const float rh = float(RelHumidityFromVapour(20, 12.5));
    EXPECT_EQ(
        Column(table(), "SET*"),
        fixed(float(ComputeSetStar(0, 20, 20, rh, 0.1f, 0.9f, 35, 1.75f, 75, 80, 9999)), 6, 1));
    // the pre-settings' check box brings back the sedentary standard environment
    app->presettings().click("SetSedentaryChk");
    main().click("ButtonNeu");
    EXPECT_EQ(Column(table(), "SET*"), "22.7");
}

TEST_F(SetPtColumnsTest, PersonEntersSetStarButNotPt) {
    // PT chooses its own clothing for a standard person; SET* takes the user's clothing and
    // activity.
    main().typeAndLeave("EditTmrt", "20");
    main().typeAndLeave("EditIcl", "0.3");
    main().typeAndLeave("EditAct", "150");
    main().click("ButtonNeu");
    const float rh = float(RelHumidityFromVapour(20, 12.5));
    EXPECT_EQ(
        Column(table(), "SET*"),
        fixed(float(ComputeSetStar(0, 20, 20, rh, 0.1f, 0.3f, 35, 1.75f, 75, 150, 9999)), 6, 1));
    EXPECT_NE(Column(table(), "SET*"), "22.7");
    EXPECT_EQ(Column(table(), "PT"), "18.8");
}

}  // namespace
}  // namespace umbrix::test
