#pragma once
// SET* of a given RH and the radiation step over a batch (SET* on the SIMD kernel, the
// radiation step through the engine's row function element by element). Each stands behind one
// function in the style of the batch API (columns of one value per element or one for all), so
// that moving to the batch API changes one line. Callers split a batch into blocks on the pool.
#include <span>

#include "umbrix/batch.h"
#include "umbrix/engine.h"

namespace umbrix::python {

// SET* (SetStar of umbrix/engine.h). RH, when not empty, is the humidity the elements were given
// (the model takes RH; otherwise it follows from VP).
void SetStarBatch(const batch::Weather& weather, batch::Column RH, const batch::Person& person,
                  SetStarStandard standard, std::span<double> setStar);

// The radiation step (ComputeRadiation of umbrix/engine.h) at one horizon.
struct RadiationColumns {
    batch::Column longitude, latitude, altitude, timeZone;
    std::span<const int> dayOfYear;
    batch::Column hours;
    // empty: not given (VP or RH must be)
    batch::Column Ta, VP, RH, v, N, G, D, Ts, Tmrt;
};
void RadiationBatch(const RadiationColumns& in, const Settings& settings, const Horizon& horizon,
                    std::span<Radiation> radiation);

}  // namespace umbrix::python
