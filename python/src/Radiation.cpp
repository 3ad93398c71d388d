// The sun's position, the radiation step and the humidity over arrays.
#include <cmath>
#include <numbers>
#include <optional>
#include <vector>

#include "Common.h"
#include "Pending.h"
#include "engine/PhysicalRanges.h"
#include "umbrix/engine.h"

namespace umbrix::python {

namespace {

constexpr std::size_t kSunBlock = 1024;
constexpr std::size_t kRadiationBlock = 64;

// The place and the moment of every element.
struct PlaceColumns {
    Codes dayOfYear;
    Column hours, longitude, latitude, timeZone;

    bool inRange(std::size_t i) const {
        return dayOfYear[i] >= 1 && dayOfYear[i] <= 366 && hours[i] >= 0 && hours[i] <= 24 &&
               InRange(Quantity::Longitude, longitude[i]) &&
               InRange(Quantity::Latitude, latitude[i]) && InRange(Quantity::TimeZone, timeZone[i]);
    }
};

PlaceColumns PlaceOf(std::size_t n, const CodeArray& doy, const Array& hours, const Array& lon,
                     const Array& lat, const Array& tz) {
    return {CodesOf(doy, n, "doy"), ColumnOf(hours, n, "hour"), ColumnOf(lon, n, "lon"),
            ColumnOf(lat, n, "lat"), ColumnOf(tz, n, "tz")};
}

// A horizon of one elevation angle all round with the sky view factor svf (1 - sin h).
Horizon UniformHorizon(double svf) {
    HorizonProfile profile;
    profile.increment = 360;
    profile.angles = {float(std::asin(1.0 - svf) * 180.0 / std::numbers::pi)};
    return Horizon::FromProfile(std::move(profile));
}

py::dict SunPositions(std::size_t n, const PlaceColumns& place, unsigned threads) {
    Output Z(n), elevation(n), azimuth(n), trueTime(n);
    ForBlocks(n, kSunBlock, threads, [&](std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i) {
            if (!place.inRange(i)) {
                Z.data[i] = elevation.data[i] = azimuth.data[i] = trueTime.data[i] = kNaN;
                continue;
            }
            const Site site{place.longitude[i], place.latitude[i], 0, place.timeZone[i], ""};
            const SunPosition s = ComputeSunPosition(site, {place.dayOfYear[i], place.hours[i]});
            Z.data[i] = s.Z;
            // as the table's column, from the stored zenith angle
            elevation.data[i] = 90.0f - s.Z;
            azimuth.data[i] = s.azimuth;
            trueTime.data[i] = s.trueTime;
        }
    });
    py::dict d;
    d["Z"] = Z.array;
    d["elevation"] = elevation.array;
    d["azimuth"] = azimuth.array;
    d["true_time"] = trueTime.array;
    return d;
}

py::dict RadiationResults(const std::vector<Radiation>& r) {
    const std::pair<const char*, float Radiation::*> fields[] = {
        {"LTF", &Radiation::turbidity}, {"G0", &Radiation::G0}, {"S0", &Radiation::S0},
        {"D0", &Radiation::D0},         {"G", &Radiation::G},   {"S", &Radiation::S},
        {"D", &Radiation::D},           {"A", &Radiation::A},   {"E", &Radiation::E},
        {"Q", &Radiation::Q},           {"Ts", &Radiation::Ts}, {"Tmrt", &Radiation::Tmrt}};
    py::dict d;
    for (const auto& [name, field] : fields) {
        Output out(r.size());
        for (std::size_t i = 0; i < r.size(); ++i) out.data[i] = r[i].*field;
        d[name] = out.array;
    }
    return d;
}

Radiation NoRadiation() {
    constexpr float nan = std::numeric_limits<float>::quiet_NaN();
    Radiation r;
    r.turbidity = r.G0 = r.S0 = r.D0 = r.G = r.S = r.D = nan;
    r.A = r.E = r.Q = r.Ts = r.Tmrt = nan;
    return r;
}

}  // namespace

void RegisterRadiation(py::module_& m) {
    using py::arg;
    m.def(
        "sun_position",
        [](std::size_t n, const CodeArray& doy, const Array& hours, const Array& lon,
           const Array& lat, const Array& tz, unsigned threads) {
            return SunPositions(n, PlaceOf(n, doy, hours, lon, lat, tz), threads);
        },
        arg("n"), arg("doy"), arg("hour"), arg("lon"), arg("lat"), arg("tz"), arg("threads"));

    m.def(
        "radiation",
        [](std::size_t n, const CodeArray& doy, const Array& hours, const Array& lon,
           const Array& lat, const Array& alt, const Array& tz, const Array& Ta,
           const OptionalArray& VP, const OptionalArray& RH, const Array& v, const Array& N,
           const OptionalArray& G, const OptionalArray& D, const OptionalArray& Ts,
           const OptionalArray& Tmrt, py::object settings, py::object horizon,
           const OptionalArray& svf, unsigned threads) {
            const PlaceColumns place = PlaceOf(n, doy, hours, lon, lat, tz);
            const Column altitude = ColumnOf(alt, n, "alt");
            const Column air[] = {
                ColumnOf(Ta, n, "Ta"), ColumnOf(VP, n, "VP"), ColumnOf(RH, n, "RH"),
                ColumnOf(v, n, "v"),   ColumnOf(N, n, "N"),   ColumnOf(G, n, "G"),
                ColumnOf(D, n, "D"),   ColumnOf(Ts, n, "Ts"), ColumnOf(Tmrt, n, "Tmrt")};
            if (!air[1].given() && !air[2].given())
                throw py::value_error("give the humidity: VP or RH");
            const Column svfs = ColumnOf(svf, n, "svf");
            const Settings s = SettingsOf(settings);
            const Horizon& common = HorizonOf(horizon);
            std::vector<Radiation> results(n);
            ForBlocks(n, kRadiationBlock, threads, [&](std::size_t begin, std::size_t end) {
                RadiationColumns c;
                std::optional<Horizon> uniform;
                double uniformSvf = kNaN;
                auto block = [](const Column& x, std::size_t b, std::size_t e) {
                    return x.given() ? x.block(b, e) : batch::Column();
                };
                auto run = [&](std::size_t b, std::size_t e) {
                    c.longitude = place.longitude.block(b, e);
                    c.latitude = place.latitude.block(b, e);
                    c.altitude = altitude.block(b, e);
                    c.timeZone = place.timeZone.block(b, e);
                    c.dayOfYear = place.dayOfYear.block(b, e);
                    c.hours = place.hours.block(b, e);
                    batch::Column* fields[] = {&c.Ta, &c.VP, &c.RH, &c.v,   &c.N,
                                               &c.G,  &c.D,  &c.Ts, &c.Tmrt};
                    for (int k = 0; k < 9; ++k) *fields[k] = block(air[k], b, e);
                    const Horizon* h = &common;
                    if (svfs.given()) {
                        // one element at a time: each has the horizon of its sky view factor
                        if (!(svfs[b] == uniformSvf))
                            uniform = UniformHorizon(uniformSvf = svfs[b]);
                        h = &*uniform;
                    }
                    RadiationBatch(c, s, *h, std::span<Radiation>(results.data() + b, e - b));
                };
                auto valid = [&](std::size_t i) {
                    return place.inRange(i) && (!svfs.given() || (svfs[i] >= 0 && svfs[i] <= 1));
                };
                auto skip = [&](std::size_t i) { results[i] = NoRadiation(); };
                if (svfs.given()) {
                    for (std::size_t i = begin; i < end; ++i) valid(i) ? run(i, i + 1) : skip(i);
                } else {
                    ForValidRuns(begin, end, valid, run, skip);
                }
            });
            return RadiationResults(results);
        },
        arg("n"), arg("doy"), arg("hour"), arg("lon"), arg("lat"), arg("alt"), arg("tz"), arg("Ta"),
        arg("VP"), arg("RH"), arg("v"), arg("N"), arg("G"), arg("D"), arg("Ts"), arg("Tmrt"),
        arg("settings"), arg("horizon"), arg("svf"), arg("threads"));

    m.def(
        "vapour_pressure",
        [](std::size_t n, const Array& Ta, const Array& RH) {
            const Column ta = ColumnOf(Ta, n, "Ta"), rh = ColumnOf(RH, n, "RH");
            Output out(n);
            for (std::size_t i = 0; i < n; ++i)
                out.data[i] = InRange(Quantity::AirTemperature, ta[i]) &&
                                      InRange(Quantity::RelativeHumidity, rh[i])
                                  ? humidity::VapourPressure(ta[i], rh[i])
                                  : kNaN;
            return out.array;
        },
        arg("n"), arg("Ta"), arg("RH"));

    m.def(
        "relative_humidity",
        [](std::size_t n, const Array& Ta, const Array& VP) {
            const Column ta = ColumnOf(Ta, n, "Ta"), vp = ColumnOf(VP, n, "VP");
            Output out(n);
            for (std::size_t i = 0; i < n; ++i)
                out.data[i] =
                    InRange(Quantity::AirTemperature, ta[i]) && VapourInRange(ta[i], vp[i])
                        ? std::min(humidity::RelativeHumidity(ta[i], vp[i]), 100.0)
                        : kNaN;
            return out.array;
        },
        arg("n"), arg("Ta"), arg("VP"));
}

}  // namespace umbrix::python
