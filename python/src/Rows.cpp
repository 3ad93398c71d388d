// Rows of a table: the engine's rows in order with one PET state, as a data-file run computes
// them; mPET, whose rows are self-contained, afterwards on the pool.
#include <cmath>
#include <utility>
#include <vector>

#include "Common.h"
#include "umbrix/engine.h"

namespace umbrix::python {

namespace {

struct RowColumns {
    Codes dayOfYear, missing;
    Column hours, longitude, latitude, altitude, timeZone;
    Column Ta, VP, RH, v, N, G, D, Ts, Tmrt;
    // pre-settings that a data file may give per row; NaN (or not given): the common one
    Column albedo, bowen, LTF, DG;
    PersonColumns person;

    Settings settingsAt(const Settings& common, std::size_t i) const {
        Settings s = common;
        auto take = [i](const Column& c, double& field) {
            if (c.given() && !std::isnan(c[i])) field = c[i];
        };
        take(albedo, s.albedo);
        take(bowen, s.bowen);
        take(LTF, s.turbidity);
        take(DG, s.diffuseRatio);
        return s;
    }
};

double Optional(const Column& c, std::size_t i) {
    return c.given() ? c[i] : kNotGiven;
}

RowInputs InputsOf(const RowColumns& c, std::size_t i) {
    RowInputs in;
    in.site = {c.longitude[i], c.latitude[i], c.altitude[i], c.timeZone[i], ""};
    in.time = {c.dayOfYear[i], c.hours[i]};
    Weather& w = in.weather;
    w.Ta = c.Ta[i];
    w.VP = Optional(c.VP, i);
    w.RH = Optional(c.RH, i);
    w.v = c.v[i];
    w.N = c.N[i];
    w.G = Optional(c.G, i);
    w.D = Optional(c.D, i);
    w.Ts = Optional(c.Ts, i);
    w.Tmrt = Optional(c.Tmrt, i);
    in.person = c.person.at(i);
    return in;
}

using Field = std::pair<const char*, float RowResult::*>;

const Field kRowFields[] = {
    {"true_time", &RowResult::trueTime},
    {"Z", &RowResult::Z},
    {"azimuth", &RowResult::azimuth},
    {"SVF", &RowResult::SVF},
    {"SVFcos", &RowResult::SVFcos},
    {"Ta", &RowResult::Ta},
    {"VP", &RowResult::VP},
    {"RH", &RowResult::RH},
    {"v", &RowResult::v},
    {"N", &RowResult::N},
    {"LTF", &RowResult::turbidity},
    {"G0", &RowResult::G0},
    {"S0", &RowResult::S0},
    {"D0", &RowResult::D0},
    {"G", &RowResult::G},
    {"S", &RowResult::S},
    {"D", &RowResult::D},
    {"A", &RowResult::A},
    {"E", &RowResult::E},
    {"Q", &RowResult::Q},
    {"Ts", &RowResult::Ts},
    {"Tmrt", &RowResult::Tmrt},
};

const std::pair<const char*, float PetDetails::*> kPetFields[] = {
    {"PET_Tc", &PetDetails::Tc},   {"PET_Tsk", &PetDetails::Tsk},   {"PET_WL", &PetDetails::WL},
    {"PET_SWt", &PetDetails::SWt}, {"PET_H", &PetDetails::H},       {"PET_Rnb", &PetDetails::Rnb},
    {"PET_C", &PetDetails::C},     {"PET_Evpd", &PetDetails::Evpd}, {"PET_Esw", &PetDetails::Esw}};

// The detail table's names; the skin of a zone group the clothing case lacks is 9999 in the model
const std::pair<const char*, float MpetDetails::*> kMpetFields[] = {
    {"mPET_Tc", &MpetDetails::Tc},
    {"mPET_Tsk_m", &MpetDetails::Tsk},
    {"mPET_Tsk1", &MpetDetails::Tsk1},
    {"mPET_Tsk2", &MpetDetails::Tsk2},
    {"mPET_Tsk3", &MpetDetails::Tsk3},
    {"mPET_Tsk4", &MpetDetails::Tsk4},
    {"mPET_Tsk5", &MpetDetails::Tsk5},
    {"mPET_Tcl", &MpetDetails::Tcl},
    {"mPET_skin_wet", &MpetDetails::skinWettedness},
    {"mPET_sweating_rate", &MpetDetails::sweatRate},
    {"mPET_Act", &MpetDetails::activity},
    {"mPET_R", &MpetDetails::R},
    {"mPET_C", &MpetDetails::C},
    {"mPET_L", &MpetDetails::L},
    {"mPET_Ere", &MpetDetails::Ere},
    {"mPET_R+C", &MpetDetails::RC},
    {"mPET_S", &MpetDetails::S}};

template <class Get>
py::array_t<double> ArrayOf(std::size_t n, Get get) {
    Output out(n);
    for (std::size_t i = 0; i < n; ++i) out.data[i] = get(i);
    return out.array;
}

// The row's mPET, in parallel: the same inputs as the row would give the model.
void ComputeMpet(const RowColumns& c, std::vector<RowResult>& rows, unsigned threads) {
    const std::size_t n = rows.size();
    std::vector<std::size_t> keep;
    for (std::size_t i = 0; i < n; ++i)
        if (!std::isnan(rows[i].Tmrt) && c.person.inRange(i)) keep.push_back(i);
    Pool(threads).forEachBlock(keep.size(), 1, [&](std::size_t b, std::size_t e) {
        for (std::size_t k = b; k < e; ++k) {
            const std::size_t i = keep[k];
            const RowResult& r = rows[i];
            Weather w;
            w.Ta = r.Ta;
            w.VP = r.VP;
            w.v = r.v;
            w.Tmrt = r.Tmrt;
            const double ta = w.Ta, vp = w.VP, v = w.v, tmrt = w.Tmrt;
            const BatchPerson p(c.person, i, i + 1);
            const batch::Weather bw{{&ta, 1}, {&vp, 1}, {&v, 1}, {&tmrt, 1}};
            batch::Mpet(bw, p.person, c.person.autoClothing,
                        std::span<MpetDetails>(&rows[i].mpet, 1));
            rows[i].mPET = rows[i].mpet.mPET;
        }
    });
}

py::dict Rows(const RowColumns& c, std::size_t n, const Settings& settings, const Horizon& horizon,
              const IndexSelection& selected, bool details, unsigned threads) {
    std::vector<RowResult> rows(n);
    {
        py::gil_scoped_release release;
        IndexSelection indices = selected;
        indices.mpet = false;
        PetState pet;
        SunshineCache cache;
        for (std::size_t i = 0; i < n; ++i) {
            RowInputs in = InputsOf(c, i);
            // a missing value, or a person outside the ranges, leaves the row uncomputed: the
            // sun and the day only, the weather as read
            const bool skip = c.missing[i] != 0 || !c.person.inRange(i);
            const double N = in.weather.N;
            if (skip) in.weather.N = kNotGiven;
            rows[i] = ComputeRow(in, c.settingsAt(settings, i), horizon, indices, pet, &cache);
            if (skip) rows[i].N = float(N);
        }
        if (selected.mpet) ComputeMpet(c, rows, threads);
    }
    py::dict d;
    d["doy"] = ArrayOf(n, [&](std::size_t i) { return c.dayOfYear[i]; });
    for (const auto& [name, field] : kRowFields)
        d[name] = ArrayOf(n, [&, f = field](std::size_t i) { return rows[i].*f; });
    d["elevation"] = ArrayOf(n, [&](std::size_t i) { return 90.0f - rows[i].Z; });
    // no sunrise and sunset on a day without both
    auto sunTime = [&](std::size_t i, float t) {
        return rows[i].sunrise == rows[i].sunset ? kNaN : double(t);
    };
    d["sunrise"] = ArrayOf(n, [&](std::size_t i) { return sunTime(i, rows[i].sunrise); });
    d["sunset"] = ArrayOf(n, [&](std::size_t i) { return sunTime(i, rows[i].sunset); });
    d["SDmax"] = ArrayOf(n, [&](std::size_t i) { return rows[i].SDmax; });
    d["SDact"] = ArrayOf(n, [&](std::size_t i) { return rows[i].SDact; });
    const std::pair<const char*, float RowResult::*> indices[] = {
        {"PMV", &RowResult::PMV},   {"PET", &RowResult::PET}, {"SET", &RowResult::SET},
        {"UTCI", &RowResult::UTCI}, {"PT", &RowResult::PT},   {"mPET", &RowResult::mPET}};
    const bool on[] = {selected.pmv,  selected.pet, selected.setStar,
                       selected.utci, selected.pt,  selected.mpet};
    for (int k = 0; k < 6; ++k) {
        if (!on[k]) continue;
        const auto field = indices[k].second;
        // PT's value of a failed clothing search is no temperature
        d[indices[k].first] = ArrayOf(n, [&](std::size_t i) {
            const float x = rows[i].*field;
            return field == &RowResult::PT && x == -9999.0f ? kNaN : double(x);
        });
    }
    if (details && selected.pet)
        for (const auto& [name, field] : kPetFields)
            d[name] = ArrayOf(n, [&, f = field](std::size_t i) { return rows[i].pet.*f; });
    if (details && selected.mpet)
        for (const auto& [name, field] : kMpetFields)
            d[name] = ArrayOf(n, [&, f = field](std::size_t i) {
                const float x = rows[i].mpet.*f;
                return x == 9999.0f ? kNaN : double(x);
            });
    return d;
}

}  // namespace

void RegisterRows(py::module_& m) {
    using py::arg;
    m.def(
        "compute_rows",
        [](std::size_t n, const CodeArray& doy, const Array& hours, const Array& lon,
           const Array& lat, const Array& alt, const Array& tz, const Array& Ta,
           const OptionalArray& VP, const OptionalArray& RH, const Array& v, const Array& N,
           const OptionalArray& G, const OptionalArray& D, const OptionalArray& Ts,
           const OptionalArray& Tmrt, const OptionalArray& albedo, const OptionalArray& bowen,
           const OptionalArray& LTF, const OptionalArray& DG, const Array& height,
           const Array& weight, const Array& age, const Array& clo, const Array& act,
           const CodeArray& sex, const CodeArray& posture, bool autoClothing,
           const CodeArray& missing, py::object settings, py::object horizon,
           std::array<bool, 6> selected, bool details, unsigned threads) {
            RowColumns c;
            c.dayOfYear = CodesOf(doy, n, "doy");
            c.missing = CodesOf(missing, n, "missing");
            c.hours = ColumnOf(hours, n, "hour");
            c.longitude = ColumnOf(lon, n, "lon");
            c.latitude = ColumnOf(lat, n, "lat");
            c.altitude = ColumnOf(alt, n, "alt");
            c.timeZone = ColumnOf(tz, n, "tz");
            c.Ta = ColumnOf(Ta, n, "Ta");
            c.VP = ColumnOf(VP, n, "VP");
            c.RH = ColumnOf(RH, n, "RH");
            c.v = ColumnOf(v, n, "v");
            c.N = ColumnOf(N, n, "N");
            c.G = ColumnOf(G, n, "G");
            c.D = ColumnOf(D, n, "D");
            c.Ts = ColumnOf(Ts, n, "Ts");
            c.Tmrt = ColumnOf(Tmrt, n, "Tmrt");
            c.albedo = ColumnOf(albedo, n, "albedo");
            c.bowen = ColumnOf(bowen, n, "bowen");
            c.LTF = ColumnOf(LTF, n, "LTF");
            c.DG = ColumnOf(DG, n, "DG");
            c.person = PersonOf(n, height, weight, age, clo, act, sex, posture);
            c.person.autoClothing = autoClothing;
            const IndexSelection indices{selected[0], selected[1], selected[2],
                                         selected[3], selected[4], selected[5]};
            return Rows(c, n, SettingsOf(settings), HorizonOf(horizon), indices, details, threads);
        },
        arg("n"), arg("doy"), arg("hour"), arg("lon"), arg("lat"), arg("alt"), arg("tz"), arg("Ta"),
        arg("VP"), arg("RH"), arg("v"), arg("N"), arg("G"), arg("D"), arg("Ts"), arg("Tmrt"),
        arg("albedo"), arg("bowen"), arg("LTF"), arg("DG"), arg("height"), arg("weight"),
        arg("age"), arg("clo"), arg("act"), arg("sex"), arg("posture"), arg("auto_clothing"),
        arg("missing"), arg("settings"), arg("horizon"), arg("indices"), arg("details"),
        arg("threads"));
}

}  // namespace umbrix::python
