#pragma once
// PMV, the predicted mean vote, from Fanger's comfort equation:
//   Fanger PO (1970) Thermal Comfort. Analysis and Applications in Environmental Engineering.
//   Danish Technical Press, Copenhagen.
// The clothing surface temperature is solved by Newton iteration, with forced convection and,
// where natural convection dominates, again with natural convection. Metabolic rate from the
// person's data (the basal rates of the MEMI body model) plus the activity.

namespace umbrix {

// PMV (dimensionless, not limited to the seven-point scale) for sex 1 = male, 2 = female,
// age (years), air temperature Ta (°C), vapour pressure VP (hPa), wind speed v (m/s), mean
// radiant temperature Tmrt (°C), clothing Icl (clo), activity work (W, added to the basal
// metabolic rate), height (m) and weight (kg). Where the vote is not defined (negative
// clothing, a sex code other than 1 or 2, no body, non-finite values) the result is
// missingValue.
double ComputePmv(int sex, int age, float ta, float vp, float v, float tmrt, float icl, float work,
                  float height, float weight, float missingValue);

namespace pmv {

// The person's side of the comfort equation.
struct Body {
    double adu;  // DuBois surface, m²
    double m;    // metabolic rate = internal heat production (efficiency 0), W
    double fcl;  // clothing area factor
    double icl;  // clo
};

// The body of ComputePmv's person (sex 1 or 2, the other inputs finite and valid).
Body MakeBody(int sex, int age, float icl, float work, float height, float weight);

// The factor that turns the heat load (W) into the vote.
double VoteFactor(const Body& b);

}  // namespace pmv

}  // namespace umbrix
