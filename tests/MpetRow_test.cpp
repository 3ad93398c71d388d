// The mPET column of a data-table row and the mPET detail row: the driver's arguments reach the
// body model.
#include <string>
#include <vector>

#include "indices/Mpet.h"
#include "platform/Format.h"
#include "support/AppFixture.h"

namespace umbrix::test {
namespace {

using MpetRowTest = AppFixture;

std::vector<float> Values(const MpetDetails& r) {
    return {
        r.Tc,        r.Tsk,      r.Tsk1, r.Tsk2, r.Tsk3, r.Tsk4, r.Tsk5, r.Tcl, r.skinWettedness,
        r.sweatRate, r.activity, r.R,    r.C,    r.L,    r.Ere,  r.RC,   r.S,   r.mPET};
}

TEST_F(MpetRowTest, DefaultPersonRowAndDetails) {
    app->registry().set("mPETYCC1", "1");
    main().typeAndLeave("EditTmrt", "20");
    main().click("ButtonNeu");
    // Ta 20, VP 12.5, v 0.1, Tmrt 20; m, 35 a, 1.75 m, 75 kg, 80 W, standing, standard clothing
    const MpetDetails expected =
        ComputeMpet(1, 1, true, 20, 12.5f, 0.1f, 20, 0.9f, 80, 1.75f, 75, 35, 36.8f, 34.0f, 9999);
    EXPECT_EQ(Column(table(), "mPET"), fixed(expected.mPET, 6, 1));
    EXPECT_EQ(Column(table(), "mPET"), "20.6");

    // detail row: date, day, time, Ta, VP, v, N, Tmrt, person (6), then Tc .. S and mPET
    const std::vector<std::string>& detail = app->detailTable().lines();
    ASSERT_EQ(detail.size(), 3u);
    EXPECT_EQ(Fields(detail[0]).at(14), "mPET_Tc");
    const std::vector<std::string> d = Fields(detail[2]);
    ASSERT_EQ(d.size(), 32u);
    const std::vector<float> values = Values(expected);
    for (size_t i = 0; i < values.size(); ++i) EXPECT_EQ(d[14 + i], fixed(values[i], 6, 1)) << i;
    EXPECT_EQ(d[14 + 6], "9999.0");  // 0.73 clo: no fifth zone group
}

TEST_F(MpetRowTest, PersonAndClothingReachTheModel) {
    app->registry().set("ComboSex", "f");
    app->registry().set("ComboPos", "sitting");
    app->registry().set("AutoCloChK", "0");
    main().typeAndLeave("EditIcl", "2.4");
    main().typeAndLeave("EditTa", "5");
    main().typeAndLeave("EditVp", "6");
    main().typeAndLeave("EditWG", "2");
    main().typeAndLeave("EditTmrt", "0");
    main().click("ButtonNeu");
    const float typed =
        ComputeMpet(2, 2, false, 5, 6, 2, 0, 2.4f, 80, 1.75f, 75, 35, 36.8f, 34.0f, 9999).mPET;
    const float standard =
        ComputeMpet(2, 2, true, 5, 6, 2, 0, 2.4f, 80, 1.75f, 75, 35, 36.8f, 34.0f, 9999).mPET;
    EXPECT_EQ(Column(table(), "mPET"), fixed(typed, 6, 1));
    EXPECT_NE(Column(table(), "mPET"), fixed(standard, 6, 1));
}

TEST_F(MpetRowTest, MissingRowFillsTheDetails) {
    app->registry().set("mPETYCC1", "1");
    main().click("ButtonNeu");  // a computed row first
    app->registry().set("FormWerte.EditDefVal", "20");
    main().click("ButtonHinzu");  // Ta 20.0 now equals the missing-value default
    const std::vector<std::string>& detail = app->detailTable().lines();
    ASSERT_EQ(detail.size(), 4u);
    const std::vector<std::string> d = Fields(detail[3]);
    ASSERT_EQ(d.size(), 32u);
    for (size_t i = 14; i < d.size(); ++i) EXPECT_EQ(d[i], "20.0") << i;
}

}  // namespace
}  // namespace umbrix::test
