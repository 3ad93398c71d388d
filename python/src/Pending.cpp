#include "Pending.h"

#include <limits>

#include "batch/Batch.h"

namespace umbrix::python {

namespace {

template <class T>
T At(std::span<const T> c, std::size_t i) {
    return c[c.size() == 1 ? 0 : i];
}

double Optional(batch::Column c, std::size_t i) {
    return c.empty() ? kNotGiven : At(c, i);
}

}  // namespace

void SetStarBatch(const batch::Weather& w, batch::Column RH, const batch::Person& p,
                  SetStarStandard standard, std::span<double> setStar) {
    // with VP the SIMD kernel derives RH as the row function does; a given RH is the model's
    // own input, which the kernel takes as the row function does (in 4 bytes). Sex, posture
    // and age do not enter the model.
    if (RH.empty()) return batch::SetStar(w, p, standard, setStar);
    const batch::coded::Person person{{}, {}, {}, p.height, p.weight, p.clothing, p.activity};
    batch::coded::SetStar({w.Ta, {}, w.v, w.Tmrt}, RH, person,
                          standard == SetStarStandard::Sedentary, setStar,
                          std::numeric_limits<float>::quiet_NaN());
}

void RadiationBatch(const RadiationColumns& in, const Settings& settings, const Horizon& horizon,
                    std::span<Radiation> radiation) {
    for (std::size_t i = 0; i < radiation.size(); ++i) {
        const Site site{At(in.longitude, i), At(in.latitude, i), At(in.altitude, i),
                        At(in.timeZone, i), ""};
        const DayTime time{At(in.dayOfYear, i), At(in.hours, i)};
        Weather w;
        w.Ta = At(in.Ta, i);
        w.VP = Optional(in.VP, i);
        w.RH = Optional(in.RH, i);
        w.v = At(in.v, i);
        w.N = At(in.N, i);
        w.G = Optional(in.G, i);
        w.D = Optional(in.D, i);
        w.Ts = Optional(in.Ts, i);
        w.Tmrt = Optional(in.Tmrt, i);
        radiation[i] = ComputeRadiation(site, time, w, settings, horizon);
    }
}

}  // namespace umbrix::python
