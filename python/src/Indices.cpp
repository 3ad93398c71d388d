// The thermal indices over arrays: the batch functions of the engine on blocks of the batch,
// each element first checked against the physical ranges (outside them: NaN, as a table row).
#include <cmath>
#include <utility>
#include <vector>

#include "Common.h"
#include "Pending.h"

namespace umbrix::python {

namespace {

using Precision = BlockVapour::Precision;

// Elements per block: enough to outweigh the hand-over, few enough that the threads end
// together and the block's inputs stay in the cache.
constexpr std::size_t kSimdBlock = 4096;
constexpr std::size_t kSetStarBlock = 64;

// The results of a kernel(weather, begin, end, out) over the batch; elements out of range are
// NaN and never reach the kernel.
template <class Kernel>
py::array_t<double> Elementwise(std::size_t n, const AirColumns& air, const PersonColumns* person,
                                Precision precision, std::size_t block, unsigned threads,
                                Kernel kernel) {
    Output out(n);
    double* data = out.data;
    ForBlocks(n, block, threads, [&](std::size_t begin, std::size_t end) {
        const BlockVapour vp(air, begin, end, precision);
        ForValidRuns(
            begin, end,
            [&](std::size_t i) { return air.inRange(i) && (!person || person->inRange(i)); },
            [&](std::size_t b, std::size_t e) {
                const batch::Weather w{air.Ta.block(b, e), vp.block(b, e), air.v.block(b, e),
                                       air.Tmrt.block(b, e)};
                kernel(w, b, e, std::span<double>(data + b, e - b));
            },
            [&](std::size_t i) { data[i] = kNaN; });
    });
    return out.array;
}

// A field of every element's details as a float64 array. `missing` (when not NaN) is a value
// the model writes where it has none; it becomes NaN.
template <class Details>
py::array_t<double> Field(const std::vector<Details>& details, float Details::*field,
                          float missing = std::numeric_limits<float>::quiet_NaN()) {
    Output out(details.size());
    for (std::size_t i = 0; i < details.size(); ++i) {
        const float x = details[i].*field;
        out.data[i] = x == missing ? kNaN : double(x);
    }
    return out.array;
}

py::object PetResults(const std::vector<PetDetails>& pet, bool details) {
    if (!details) return Field(pet, &PetDetails::PET);
    py::dict d;
    const std::pair<const char*, float PetDetails::*> fields[] = {
        {"PET", &PetDetails::PET}, {"Tc", &PetDetails::Tc},   {"Tsk", &PetDetails::Tsk},
        {"WL", &PetDetails::WL},   {"SWt", &PetDetails::SWt}, {"H", &PetDetails::H},
        {"Rnb", &PetDetails::Rnb}, {"C", &PetDetails::C},     {"Evpd", &PetDetails::Evpd},
        {"Esw", &PetDetails::Esw}};
    for (const auto& [name, field] : fields) d[name] = Field(pet, field);
    return d;
}

py::object MpetResults(const std::vector<MpetDetails>& mpet, bool details) {
    if (!details) return Field(mpet, &MpetDetails::mPET);
    // the skin of a zone group that the clothing case does not have is 9999 in the model
    constexpr float kNoGroup = 9999.0f;
    py::dict d;
    d["mPET"] = Field(mpet, &MpetDetails::mPET);
    d["Tc"] = Field(mpet, &MpetDetails::Tc);
    d["Tsk"] = Field(mpet, &MpetDetails::Tsk);
    d["Tsk1"] = Field(mpet, &MpetDetails::Tsk1, kNoGroup);
    d["Tsk2"] = Field(mpet, &MpetDetails::Tsk2, kNoGroup);
    d["Tsk3"] = Field(mpet, &MpetDetails::Tsk3, kNoGroup);
    d["Tsk4"] = Field(mpet, &MpetDetails::Tsk4, kNoGroup);
    d["Tsk5"] = Field(mpet, &MpetDetails::Tsk5, kNoGroup);
    d["Tcl"] = Field(mpet, &MpetDetails::Tcl);
    d["skin_wettedness"] = Field(mpet, &MpetDetails::skinWettedness);
    d["sweat_rate"] = Field(mpet, &MpetDetails::sweatRate);
    d["M"] = Field(mpet, &MpetDetails::activity);
    d["R"] = Field(mpet, &MpetDetails::R);
    d["C"] = Field(mpet, &MpetDetails::C);
    d["L"] = Field(mpet, &MpetDetails::L);
    d["Ere"] = Field(mpet, &MpetDetails::Ere);
    d["RC"] = Field(mpet, &MpetDetails::RC);
    d["S"] = Field(mpet, &MpetDetails::S);
    return d;
}

// The values of the elements `keep` of a column (a column of one value stays as it is).
template <class T>
std::vector<T> Gather(const Values<T>& c, const std::vector<std::size_t>& keep) {
    if (c.size == 1) return {c[0]};
    std::vector<T> out;
    out.reserve(keep.size());
    for (std::size_t i : keep) out.push_back(c[i]);
    return out;
}

template <class T>
Values<T> View(const std::vector<T>& v) {
    return {v.data(), v.size()};
}

// PET of the elements in order with one state, started afresh: the rows of a table with those
// inputs. Elements out of range take no part, as a row with a missing value does not.
py::object PetOf(std::size_t n, const AirColumns& air, const PersonColumns& person, bool details,
                 unsigned threads) {
    std::vector<PetDetails> pet(n);
    if (n > 0) {
        py::gil_scoped_release release;
        std::vector<std::size_t> keep;
        for (std::size_t i = 0; i < n; ++i)
            if (air.inRange(i) && person.inRange(i)) keep.push_back(i);
        // the ones that take part, side by side
        const BlockVapour vapour(air, 0, n, Precision::Float);
        const std::span<const double> vapours = vapour.block(0, n);
        const std::vector<double> vp = Gather(Column{vapours.data(), vapours.size()}, keep),
                                  ta = Gather(air.Ta, keep), v = Gather(air.v, keep),
                                  tmrt = Gather(air.Tmrt, keep);
        PersonColumns p;
        const std::vector<double> height = Gather(person.height, keep),
                                  weight = Gather(person.weight, keep),
                                  age = Gather(person.age, keep),
                                  clothing = Gather(person.clothing, keep),
                                  activity = Gather(person.activity, keep);
        const std::vector<std::int32_t> sex = Gather(person.sex, keep),
                                        posture = Gather(person.posture, keep);
        p.height = View(height);
        p.weight = View(weight);
        p.age = View(age);
        p.clothing = View(clothing);
        p.activity = View(activity);
        p.sex = View(sex);
        p.posture = View(posture);
        const std::size_t m = keep.size();
        const BatchPerson bp(p, 0, m);
        const batch::Weather w{View(ta).block(0, m), View(vp).block(0, m), View(v).block(0, m),
                               View(tmrt).block(0, m)};
        std::vector<PetDetails> kept(m);
        PetState state;
        batch::Pet(w, bp.person, kept, state, &Pool(threads));
        for (std::size_t k = 0; k < m; ++k) pet[keep[k]] = kept[k];
    }
    return PetResults(pet, details);
}

py::object MpetOf(std::size_t n, const AirColumns& air, const PersonColumns& person, bool details,
                  unsigned threads) {
    std::vector<MpetDetails> mpet(n);
    ForBlocks(n, 1, threads, [&](std::size_t begin, std::size_t end) {
        const BlockVapour vp(air, begin, end, Precision::Float);
        ForValidRuns(
            begin, end, [&](std::size_t i) { return air.inRange(i) && person.inRange(i); },
            [&](std::size_t b, std::size_t e) {
                const batch::Weather w{air.Ta.block(b, e), vp.block(b, e), air.v.block(b, e),
                                       air.Tmrt.block(b, e)};
                const BatchPerson bp(person, b, e);
                batch::Mpet(w, bp.person, person.autoClothing,
                            std::span<MpetDetails>(mpet.data() + b, e - b));
            },
            [](std::size_t) {});
    });
    return MpetResults(mpet, details);
}

}  // namespace

void RegisterIndices(py::module_& m) {
    using py::arg;
    m.def(
        "utci",
        [](std::size_t n, const Array& Ta, const OptionalArray& VP, const OptionalArray& RH,
           const Array& v, const Array& Tmrt, unsigned threads) {
            const AirColumns air = AirOf(n, Ta, VP, RH, v, Tmrt);
            return Elementwise(n, air, nullptr, Precision::Double, kSimdBlock, threads,
                               [](const batch::Weather& w, std::size_t, std::size_t,
                                  std::span<double> out) { batch::Utci(w, out); });
        },
        arg("n"), arg("Ta"), arg("VP"), arg("RH"), arg("v"), arg("Tmrt"), arg("threads"));

    m.def(
        "perceived_temperature",
        [](std::size_t n, const Array& Ta, const OptionalArray& VP, const OptionalArray& RH,
           const Array& v, const Array& Tmrt, const Array& p, unsigned threads) {
            const AirColumns air = AirOf(n, Ta, VP, RH, v, Tmrt);
            const Column pressure = ColumnOf(p, n, "p");
            return Elementwise(
                n, air, nullptr, Precision::Double, kSimdBlock, threads,
                [&](const batch::Weather& w, std::size_t b, std::size_t e, std::span<double> out) {
                    batch::PerceivedTemperature(w, pressure.block(b, e), out);
                    for (std::size_t i = 0; i < out.size(); ++i) {
                        const double p = pressure[b + i];
                        // the model's value of a failed clothing search
                        if (out[i] == -9999.0 || !(p > 0 && std::isfinite(p))) out[i] = kNaN;
                    }
                });
        },
        arg("n"), arg("Ta"), arg("VP"), arg("RH"), arg("v"), arg("Tmrt"), arg("p"), arg("threads"));

    m.def(
        "pmv",
        [](std::size_t n, const Array& Ta, const OptionalArray& VP, const OptionalArray& RH,
           const Array& v, const Array& Tmrt, const Array& height, const Array& weight,
           const Array& age, const Array& clo, const Array& act, const CodeArray& sex,
           const CodeArray& posture, unsigned threads) {
            const AirColumns air = AirOf(n, Ta, VP, RH, v, Tmrt);
            const PersonColumns person = PersonOf(n, height, weight, age, clo, act, sex, posture);
            return Elementwise(
                n, air, &person, Precision::Float, kSimdBlock, threads,
                [&](const batch::Weather& w, std::size_t b, std::size_t e, std::span<double> out) {
                    const BatchPerson bp(person, b, e);
                    batch::Pmv(w, bp.person, out);
                });
        },
        arg("n"), arg("Ta"), arg("VP"), arg("RH"), arg("v"), arg("Tmrt"), arg("height"),
        arg("weight"), arg("age"), arg("clo"), arg("act"), arg("sex"), arg("posture"),
        arg("threads"));

    m.def(
        "set_star",
        [](std::size_t n, const Array& Ta, const OptionalArray& VP, const OptionalArray& RH,
           const Array& v, const Array& Tmrt, const Array& height, const Array& weight,
           const Array& age, const Array& clo, const Array& act, const CodeArray& sex,
           const CodeArray& posture, bool sedentary, unsigned threads) {
            const AirColumns air = AirOf(n, Ta, VP, RH, v, Tmrt);
            const PersonColumns person = PersonOf(n, height, weight, age, clo, act, sex, posture);
            const SetStarStandard standard =
                sedentary ? SetStarStandard::Sedentary : SetStarStandard::ActivityDependent;
            return Elementwise(
                n, air, &person, Precision::Float, kSetStarBlock, threads,
                [&](const batch::Weather& w, std::size_t b, std::size_t e, std::span<double> out) {
                    const BatchPerson bp(person, b, e);
                    const batch::Column rh = air.VP.given() ? batch::Column() : air.RH.block(b, e);
                    SetStarBatch(w, rh, bp.person, standard, out);
                });
        },
        arg("n"), arg("Ta"), arg("VP"), arg("RH"), arg("v"), arg("Tmrt"), arg("height"),
        arg("weight"), arg("age"), arg("clo"), arg("act"), arg("sex"), arg("posture"),
        arg("sedentary"), arg("threads"));

    m.def(
        "pet",
        [](std::size_t n, const Array& Ta, const OptionalArray& VP, const OptionalArray& RH,
           const Array& v, const Array& Tmrt, const Array& height, const Array& weight,
           const Array& age, const Array& clo, const Array& act, const CodeArray& sex,
           const CodeArray& posture, bool details, unsigned threads) {
            const AirColumns air = AirOf(n, Ta, VP, RH, v, Tmrt);
            const PersonColumns person = PersonOf(n, height, weight, age, clo, act, sex, posture);
            return PetOf(n, air, person, details, threads);
        },
        arg("n"), arg("Ta"), arg("VP"), arg("RH"), arg("v"), arg("Tmrt"), arg("height"),
        arg("weight"), arg("age"), arg("clo"), arg("act"), arg("sex"), arg("posture"),
        arg("details"), arg("threads"));

    m.def(
        "mpet",
        [](std::size_t n, const Array& Ta, const OptionalArray& VP, const OptionalArray& RH,
           const Array& v, const Array& Tmrt, const Array& height, const Array& weight,
           const Array& age, const Array& clo, const Array& act, const CodeArray& sex,
           const CodeArray& posture, bool autoClothing, bool details, unsigned threads) {
            const AirColumns air = AirOf(n, Ta, VP, RH, v, Tmrt);
            PersonColumns person = PersonOf(n, height, weight, age, clo, act, sex, posture);
            person.autoClothing = autoClothing;
            return MpetOf(n, air, person, details, threads);
        },
        arg("n"), arg("Ta"), arg("VP"), arg("RH"), arg("v"), arg("Tmrt"), arg("height"),
        arg("weight"), arg("age"), arg("clo"), arg("act"), arg("sex"), arg("posture"),
        arg("auto_clothing"), arg("details"), arg("threads"));

    m.def("simd_target", &batch::SimdTarget);
}

}  // namespace umbrix::python
