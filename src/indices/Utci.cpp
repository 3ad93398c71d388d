#include "indices/Utci.h"

#include <array>
#include <cmath>

#include "indices/UtciCoefficients.h"

namespace umbrix {

namespace {

using utci::kCoefficients;
using utci::kDegree;

}  // namespace

double UtciWind10m(double v) {
    return v * std::log10(1000.0) / std::log10(110.0);
}

double UtciOffset(double ta, double va, double dTmrt, double pa) {
    std::array<double, kDegree + 1> pTa{}, pVa{}, pD{}, pPa{};
    pTa[0] = pVa[0] = pD[0] = pPa[0] = 1.0;
    for (int k = 1; k <= kDegree; ++k) {
        pTa[k] = pTa[k - 1] * ta;
        pVa[k] = pVa[k - 1] * va;
        pD[k] = pD[k - 1] * dTmrt;
        pPa[k] = pPa[k - 1] * pa;
    }
    double sum = 0.0;
    int i = 0;
    for (int p = 0; p <= kDegree; ++p)
        for (int d = 0; d <= kDegree - p; ++d)
            for (int w = 0; w <= kDegree - p - d; ++w)
                for (int t = 0; t <= kDegree - p - d - w; ++t)
                    sum += kCoefficients[i++] * pTa[t] * pVa[w] * pD[d] * pPa[p];
    return sum;
}

double ComputeUtci(double ta, double vp, double tmrt, double v, float missingValue) {
    const double va = UtciWind10m(v);
    const double dTmrt = tmrt - ta;
    const double pa = vp / 10.0;
    // The regression is only valid inside the range it was fitted on. Written so that a NaN
    // input fails every test and falls out as the default too.
    const bool inRange = ta >= -50.0 && ta <= 50.0 && va >= 0.5 && va <= 17.0 && tmrt > ta - 30.0 &&
                         tmrt < ta + 70.0 && vp >= 0.0 && vp <= 50.0;
    if (!inRange) return missingValue;
    return ta + UtciOffset(ta, va, dTmrt, pa);
}

}  // namespace umbrix
