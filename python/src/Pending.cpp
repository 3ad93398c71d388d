#include "Pending.h"

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
    // with VP the SIMD kernel gives the row function's bits; a given RH is the model's own input
    if (RH.empty()) return batch::SetStar(w, p, standard, setStar);
    for (std::size_t i = 0; i < setStar.size(); ++i) {
        Weather weather;
        weather.Ta = At(w.Ta, i);
        weather.VP = RH.empty() ? At(w.VP, i) : kNotGiven;
        weather.RH = Optional(RH, i);
        weather.v = At(w.v, i);
        weather.Tmrt = At(w.Tmrt, i);
        Person person;
        person.sex = At(p.sex, i);
        person.posture = At(p.posture, i);
        person.age = At(p.age, i);
        person.height = At(p.height, i);
        person.weight = At(p.weight, i);
        person.clothing = At(p.clothing, i);
        person.activity = At(p.activity, i);
        setStar[i] = SetStar(weather, person, standard);
    }
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
