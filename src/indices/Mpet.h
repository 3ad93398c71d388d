#pragma once
// mPET, the modified physiologically equivalent temperature: a multi-node, multi-zone body model
// (concentric tissue cylinders and a head cylinder, split by clothing cover into zones, five
// tissue nodes per zone) integrated over 1200 one-second implicit steps, followed by a search
// for the air temperature of a reference environment with the same heat storage.
// Chen, Y.-C., Matzarakis, A. (2018): Modified physiologically equivalent temperature - basics
// and applications for western European climate. Theoretical and Applied Climatology 132,
// 1275-1289.
#include <memory>
#include <vector>

#include "umbrix/types.h"

namespace umbrix::mpet_steps {
struct Layout;
template <class V>
struct Lanes;
}  // namespace umbrix::mpet_steps

namespace umbrix {

// The eighteen results are MpetDetails (umbrix/types.h); a skin group that the clothing case
// does not have shows 9999.

// Fast solves each step's linear system in O(N) using its structure; Reference inverts the dense
// system matrix every step with DenseMatrix. Both give the same temperatures to far below 1e-6 °C.
enum class MpetSolver { Fast, Reference };

// sex: 1 male, 2 female; position: 1 standing, 2 sitting. Ta, Tmrt °C; VP hPa; v m/s; icl clo;
// activity W (added to the basal rate); height m; weight kg; age years; tc0, tsk0 initial core
// and skin temperature, °C. Every call is self-contained. A result that cannot be computed
// (absurd inputs) is missingValue, and so is mPET when VP exceeds 50 hPa.
MpetDetails ComputeMpet(int sex, int position, bool autoClothing, float ta, float vp, float v,
                        float tmrt, float icl, float activity, float height, float weight,
                        float age, float tc0, float tsk0, float missingValue,
                        MpetSolver solver = MpetSolver::Fast);

namespace mpet {

// Clothing cases by insulation: A up to 0.6 clo, B1 to 0.9, B2 to 1.2, C1 to 1.6, C2 to 2.0,
// D above.
enum class ClothingCase { A, B1, B2, C1, C2, D };

// The case of a clothing insulation (clo) as typed: 0.6 is A, 1.2 is B2, 1.6 is C1.
ClothingCase SelectClothingCase(float icl);
// Standard clothing for an air temperature (°C), clo, before the 0.3..2.5 limits.
float AutomaticClothing(float ta);
// Body fat fraction by sex (2 female), age in years and body mass index in kg/m².
double FatFraction(int sex, double age, double bmi);
// Sweat rate of one zone, kg/s: skin temperature tsk and core temperature tc in °C, the zone's
// share of the body surface, body surface adu in m². Never negative; 0.7 times for sex 2.
double ZoneSweatRate(int sex, double tsk, double tc, double fraction, double adu);

struct ZoneState {
    bool clothed;
    bool head;          // head-type group (brain nodes inside)
    double fraction;    // share of the body surface
    double skin;        // outer skin node, °C
    double clothing;    // outer clothing temperature (clothed zones), °C
    double sweat;       // kg/s
    double skinVapour;  // hPa
    double wettedness;
    double radiation, convection, dry, evaporation;  // W, gain positive
};

// The whole final state of one call, for inspection.
struct ModelState {
    MpetDetails result;  // as computed: non-finite values are not yet replaced
    ClothingCase clothingCase;
    float icl;                     // insulation the model ran with, clo
    double feff;                   // effective radiation area factor
    std::vector<double> nodes;     // final temperatures of nodes 1..N (element 0 is node 1), °C
    std::vector<ZoneState> zones;  // zone groups in node order
    bool searchConverged;          // the reference search found its fourth sign change
    int condensations;             // clothing positions found saturated, summed over the steps
};

ModelState RunMpetModel(int sex, int position, bool autoClothing, float ta, float vp, float v,
                        float tmrt, float icl, float activity, float height, float weight,
                        float age, float tc0, float tsk0, MpetSolver solver);

// The clothing case a call runs with (after automatic clothing and the 0.3..2.5 clo limits).
ClothingCase ClothingCaseOf(bool autoClothing, float ta, float icl);

// ComputeMpet's last touch: mPET missing above 50 hPa, every non-finite result missing.
MpetDetails Reported(MpetDetails result, float vp, float missingValue);

namespace internal {
class Model;
}

// One call set up for the time loop, which the caller runs on lanes() (mpet_steps::RunSteps,
// several calls of the same clothing case side by side); finish() then gives ComputeMpet's
// result with the fast solver.
class Prepared {
  public:
    Prepared(int sex, int position, bool autoClothing, float ta, float vp, float v, float tmrt,
             float icl, float activity, float height, float weight, float age, float tc0,
             float tsk0);
    ~Prepared();
    Prepared(Prepared&&) noexcept;
    Prepared& operator=(Prepared&&) noexcept;

    ClothingCase clothingCase() const;
    // the same for every call of a clothing case
    const mpet_steps::Layout& layout() const;
    mpet_steps::Lanes<double>& lanes();
    MpetDetails finish(float missingValue);

  private:
    std::unique_ptr<internal::Model> model_;
    float vp_;
};

}  // namespace mpet

}  // namespace umbrix
