// The public batch functions: the person's enums as the index models' codes, NaN as the missing
// value, over the coded batch layer.
#include "batch/Batch.h"

#include <limits>
#include <vector>

#include "umbrix/batch.h"

namespace umbrix::batch {

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

coded::Weather Coded(const Weather& w) {
    return {w.Ta, w.VP, w.v, w.Tmrt};
}

// The codes live as long as the coded person that points at them.
struct CodedPerson {
    std::vector<int> sex, position;
    coded::Person person;

    explicit CodedPerson(const Person& p) {
        sex.reserve(p.sex.size());
        for (Sex s : p.sex) sex.push_back(s == Sex::Female ? 2 : 1);
        position.reserve(p.posture.size());
        for (Posture s : p.posture) position.push_back(s == Posture::Sitting ? 2 : 1);
        person = {sex, position, p.age, p.height, p.weight, p.clothing, p.activity};
    }
};

}  // namespace

void Utci(const Weather& weather, std::span<double> utci, ThreadPool* pool) {
    coded::Utci(Coded(weather), utci, kNaN, pool);
}

void Pmv(const Weather& weather, const Person& person, std::span<double> pmv, ThreadPool* pool) {
    const CodedPerson p(person);
    coded::Pmv(Coded(weather), p.person, pmv, kNaN, pool);
}

void PerceivedTemperature(const Weather& weather, Column airPressure, std::span<double> pt,
                          ThreadPool* pool) {
    coded::Pt(Coded(weather), airPressure, pt, kNaN, pool);
}

void Pet(const Weather& weather, const Person& person, std::span<PetDetails> pet, PetState& state,
         ThreadPool* pool) {
    const CodedPerson p(person);
    coded::Pet(Coded(weather), p.person, pet, kNaN, state.model(), pool);
}

void Mpet(const Weather& weather, const Person& person, bool autoClothing,
          std::span<MpetDetails> mpet, ThreadPool* pool, const MpetOptions& options) {
    const CodedPerson p(person);
    coded::Mpet(Coded(weather), p.person, {autoClothing, options.tc0, options.tsk0}, mpet, kNaN,
                pool);
}

std::string SimdTarget() {
    return coded::SimdTargetName();
}

}  // namespace umbrix::batch
