// The thermal indices in a result row of the main table and in the PET/MEMI detail row.
#include <string>
#include <vector>

#include "indices/Mpet.h"
#include "indices/Pet.h"
#include "indices/Pmv.h"
#include "indices/Utci.h"
#include "platform/Format.h"
#include "support/AppFixture.h"

namespace umbrix::test {
namespace {

using IndexRowTest = AppFixture;

std::string F61(double x) {
    return fixed(x, 6, 1);
}

void TypeWeather(MainWindowModel& w, const char* ta, const char* vp, const char* v,
                 const char* tmrt) {
    w.typeAndLeave("EditTa", ta);
    w.typeAndLeave("EditVp", vp);
    w.typeAndLeave("EditWG", v);
    w.typeAndLeave("EditTmrt", tmrt);
}

TEST_F(IndexRowTest, DefaultPersonRowAndPetDetails) {
    app->registry().set("PETMEMI1", "1");
    TypeWeather(main(), "20", "12.5", "0.1", "20");
    main().click("ButtonNeu");

    const double pmv = ComputePmv(1, 35, 20, 12.5f, 0.1f, 20, 0.9f, 80, 1.75f, 75, 9999);
    const PetDetails pet =
        PetModel().ComputePet(1, 1, 20, 12.5f, 0.1f, 20, 0.9f, 80, 1.75f, 75, 35, 9999);
    EXPECT_EQ(Column(table(), "PMV"), F61(pmv));
    EXPECT_EQ(Column(table(), "PET"), F61(pet.PET));
    EXPECT_EQ(Column(table(), "PET"), "20.0");
    // 0.1 m/s at person height is below the range of the UTCI regression
    EXPECT_EQ(Column(table(), "UTCI"), "9999.0");

    // detail row: date, day, time, Ta, VP, v, N, Tmrt, person (6), then Tc .. Esw and PET
    const std::vector<std::string>& detailTable = app->detailTable().lines();
    ASSERT_EQ(detailTable.size(), 3u);
    std::vector<std::string> d = Fields(detailTable[2]);
    ASSERT_EQ(d.size(), 24u);
    const float expected[] = {pet.Tc,  pet.Tsk, pet.WL,   pet.SWt, pet.H,
                              pet.Rnb, pet.C,   pet.Evpd, pet.Esw, pet.PET};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(d[14 + i], F61(expected[i])) << i;
}

// The detail tables show their models' values also when the index column is off.
TEST_F(IndexRowTest, DetailsWithoutTheirIndexColumn) {
    app->registry().set("PetChk", "0");
    app->registry().set("mPETChK", "0");
    app->registry().set("PETMEMI1", "1");
    app->registry().set("mPETYCC1", "1");
    TypeWeather(main(), "30", "21", "2", "60");
    main().click("ButtonNeu");
    EXPECT_EQ(Column(table(), "PET"), "<no column PET>");
    const std::vector<std::string> d = Fields(app->detailTable().lines().at(2));
    ASSERT_EQ(d.size(), 42u);
    const float pet = PetModel().ComputePet(1, 1, 30, 21, 2, 60, 0.9f, 80, 1.75f, 75, 35, 9999).PET;
    const float mpet =
        ComputeMpet(1, 1, true, 30, 21, 2, 60, 0.9f, 80, 1.75f, 75, 35, 36.8f, 34.0f, 9999).mPET;
    EXPECT_EQ(d[23], F61(pet));
    EXPECT_EQ(d[41], F61(mpet));
}

TEST_F(IndexRowTest, SexAndPositionReachTheIndices) {
    app->registry().set("ComboSex", "f");
    app->registry().set("ComboPos", "sitting");
    TypeWeather(main(), "30", "21", "2", "60");
    main().click("ButtonNeu");
    const double pmv = ComputePmv(2, 35, 30, 21, 2, 60, 0.9f, 80, 1.75f, 75, 9999);
    const float pet = PetModel().ComputePet(2, 2, 30, 21, 2, 60, 0.9f, 80, 1.75f, 75, 35, 9999).PET;
    const float petMan =
        PetModel().ComputePet(1, 1, 30, 21, 2, 60, 0.9f, 80, 1.75f, 75, 35, 9999).PET;
    EXPECT_EQ(Column(table(), "PMV"), F61(pmv));
    EXPECT_EQ(Column(table(), "PET"), F61(pet));
    EXPECT_NE(Column(table(), "PET"), F61(petMan));
    EXPECT_EQ(Column(table(), "UTCI"), F61(ComputeUtci(30, 21, 60, 2, 9999)));
}

}  // namespace
}  // namespace umbrix::test
