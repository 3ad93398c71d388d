#include "batch/Batch.h"

#include <hwy/targets.h>

#include <algorithm>
#include <functional>
#include <numeric>
#include <stdexcept>
#include <string>
#include <vector>

#include "batch/Kernels.h"
#include "indices/Mpet.h"
#include "umbrix/thread_pool.h"

namespace umbrix::batch {

namespace coded {

namespace {

using detail::CodeIn;
using detail::In;

// Elements per block handed to a thread: enough work to outweigh the hand-over, few enough
// that two threads end together.
constexpr std::size_t kSimdBlock = 4096;
constexpr std::size_t kSetStarBlock = 64;

template <class T>
std::size_t CheckedStep(std::span<const T> column, std::size_t n, const char* name) {
    if (column.size() == n && n != 1) return 1;
    if (column.size() == 1) return 0;
    throw std::invalid_argument(std::string("batch: column ") + name + " has " +
                                std::to_string(column.size()) + " values for " + std::to_string(n) +
                                " elements");
}

In Read(Column c, std::size_t n, const char* name) {
    const std::size_t step = CheckedStep(c, n, name);
    return {c.data(), step};
}

CodeIn Read(CodeColumn c, std::size_t n, const char* name) {
    const std::size_t step = CheckedStep(c, n, name);
    return {c.data(), step};
}

void ForEachBlock(ThreadPool* pool, std::size_t n, std::size_t block,
                  const std::function<void(std::size_t, std::size_t)>& body) {
    if (pool)
        pool->forEachBlock(n, block, body);
    else if (n > 0)
        body(0, n);
}

}  // namespace

void Utci(const Weather& w, std::span<double> utci, float missingValue, ThreadPool* pool) {
    const std::size_t n = utci.size();
    if (n == 0) return;
    const detail::UtciArgs a{Read(w.ta, n, "ta"), Read(w.vp, n, "vp"), Read(w.tmrt, n, "tmrt"),
                             Read(w.v, n, "v"),   utci.data(),         missingValue};
    ForEachBlock(pool, n, kSimdBlock,
                 [&](std::size_t begin, std::size_t end) { detail::RunUtci(a, begin, end); });
}

void Pmv(const Weather& w, const Person& p, std::span<double> pmv, float missingValue,
         ThreadPool* pool) {
    const std::size_t n = pmv.size();
    if (n == 0) return;
    const detail::PmvArgs a{Read(w.ta, n, "ta"),
                            Read(w.vp, n, "vp"),
                            Read(w.v, n, "v"),
                            Read(w.tmrt, n, "tmrt"),
                            Read(p.clothing, n, "clothing"),
                            Read(p.activity, n, "activity"),
                            Read(p.height, n, "height"),
                            Read(p.weight, n, "weight"),
                            Read(p.age, n, "age"),
                            Read(p.sex, n, "sex"),
                            pmv.data(),
                            missingValue};
    ForEachBlock(pool, n, kSimdBlock,
                 [&](std::size_t begin, std::size_t end) { detail::RunPmv(a, begin, end); });
}

void Pt(const Weather& w, Column p, std::span<double> pt, float missingValue, ThreadPool* pool) {
    const std::size_t n = pt.size();
    if (n == 0) return;
    const detail::PtArgs a{Read(w.ta, n, "ta"), Read(w.vp, n, "vp"), Read(w.tmrt, n, "tmrt"),
                           Read(w.v, n, "v"),   Read(p, n, "p"),     pt.data(),
                           missingValue};
    ForEachBlock(pool, n, kSimdBlock,
                 [&](std::size_t begin, std::size_t end) { detail::RunPt(a, begin, end); });
}

void SetStar(const Weather& w, Column rh, const Person& p, bool sedentary, std::span<double> set,
             float missingValue, ThreadPool* pool) {
    const std::size_t n = set.size();
    if (n == 0) return;
    const detail::SetStarArgs a{Read(w.ta, n, "ta"),
                                Read(w.tmrt, n, "tmrt"),
                                Read(rh, n, "rh"),
                                Read(w.v, n, "v"),
                                Read(p.clothing, n, "clothing"),
                                Read(p.height, n, "height"),
                                Read(p.weight, n, "weight"),
                                Read(p.activity, n, "activity"),
                                sedentary,
                                set.data(),
                                missingValue};
    // a SET* element is some 200 times the work of a UTCI one
    ForEachBlock(pool, n, kSetStarBlock,
                 [&](std::size_t begin, std::size_t end) { detail::RunSetStar(a, begin, end); });
}

namespace {

// The person and weather of one element as the row functions take them.
struct RowInputs {
    In ta, vp, v, tmrt, clothing, activity, height, weight, age;
    CodeIn sex, position;

    RowInputs(const Weather& w, const Person& p, std::size_t n)
        : ta(Read(w.ta, n, "ta")),
          vp(Read(w.vp, n, "vp")),
          v(Read(w.v, n, "v")),
          tmrt(Read(w.tmrt, n, "tmrt")),
          clothing(Read(p.clothing, n, "clothing")),
          activity(Read(p.activity, n, "activity")),
          height(Read(p.height, n, "height")),
          weight(Read(p.weight, n, "weight")),
          age(Read(p.age, n, "age")),
          sex(Read(p.sex, n, "sex")),
          position(Read(p.position, n, "position")) {}

    PetDetails pet(PetModel& model, std::size_t i, float missingValue,
                   PetReferenceRoom* deferredSearch = nullptr) const {
        return model.ComputePet(sex[i], position[i], float(ta[i]), float(vp[i]), float(v[i]),
                                float(tmrt[i]), float(clothing[i]), float(activity[i]),
                                float(height[i]), float(weight[i]), float(age[i]), missingValue,
                                deferredSearch);
    }
};

// Elements of PET computed apart before they join in order: bounds the models kept.
constexpr std::size_t kPetChunk = 2048;
constexpr std::size_t kPetBlock = 16;
// mPET elements per piece handed to a thread: a multiple of every vector's lanes, and small
// enough that a block of data-file rows keeps two threads busy.
constexpr std::size_t kMpetBlock = 32;

}  // namespace

void Pet(const Weather& w, const Person& p, std::span<PetDetails> pet, float missingValue,
         PetModel& model, ThreadPool* pool) {
    const std::size_t n = pet.size();
    if (n == 0) return;
    const RowInputs in(w, p, n);
    std::vector<PetModel> apart(std::min(n, kPetChunk));
    std::vector<PetReferenceRoom> rooms(apart.size());
    for (std::size_t start = 0; start < n; start += kPetChunk) {
        const std::size_t count = std::min(kPetChunk, n - start);
        ForEachBlock(pool, count, kPetBlock, [&](std::size_t begin, std::size_t end) {
            for (std::size_t k = begin; k < end; ++k) {
                apart[k] = PetModel();
                pet[start + k] = in.pet(apart[k], start + k, missingValue, &rooms[k]);
            }
            // the reference searches of the block side by side
            detail::RunPetReference({rooms.data(), pet.data() + start, missingValue}, begin, end);
        });
        // in order: an element that read what the one before left is computed again after it
        for (std::size_t k = 0; k < count; ++k) {
            if (apart[k].usedCarriedState())
                pet[start + k] = in.pet(model, start + k, missingValue);
            else
                model.continueWith(apart[k]);
        }
    }
}

void Mpet(const Weather& w, const Person& p, const MpetOptions& options,
          std::span<MpetDetails> mpet, float missingValue, ThreadPool* pool) {
    const std::size_t n = mpet.size();
    if (n == 0) return;
    const RowInputs in(w, p, n);
    // elements of one clothing case run side by side: the case fixes the zones and nodes
    std::vector<mpet::ClothingCase> cases(n);
    for (std::size_t i = 0; i < n; ++i)
        cases[i] =
            mpet::ClothingCaseOf(options.autoClothing, float(in.ta[i]), float(in.clothing[i]));
    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return cases[a] < cases[b]; });
    // pieces of one case each, whole vectors but for the last piece of a case
    std::vector<std::pair<std::size_t, std::size_t>> pieces;
    for (std::size_t begin = 0; begin < n;) {
        std::size_t end = begin + 1;
        while (end < n && end - begin < kMpetBlock && cases[order[end]] == cases[order[begin]])
            ++end;
        pieces.emplace_back(begin, end);
        begin = end;
    }
    ForEachBlock(pool, pieces.size(), 1, [&](std::size_t first, std::size_t last) {
        std::vector<mpet::Prepared> prepared;
        std::vector<mpet_steps::Lanes<double>*> lanes;
        for (std::size_t piece = first; piece < last; ++piece) {
            const auto [begin, end] = pieces[piece];
            prepared.clear();
            lanes.clear();
            prepared.reserve(end - begin);
            for (std::size_t k = begin; k < end; ++k) {
                const std::size_t i = order[k];
                prepared.emplace_back(
                    in.sex[i], in.position[i], options.autoClothing, float(in.ta[i]),
                    float(in.vp[i]), float(in.v[i]), float(in.tmrt[i]), float(in.clothing[i]),
                    float(in.activity[i]), float(in.height[i]), float(in.weight[i]),
                    float(in.age[i]), options.tc0, options.tsk0);
                lanes.push_back(&prepared.back().lanes());
            }
            detail::RunMpet(prepared.front().layout(), lanes.data(), lanes.size());
            for (std::size_t k = begin; k < end; ++k)
                mpet[order[k]] = prepared[k - begin].finish(missingValue);
        }
    });
}

std::string SimdTargetName() {
    const int64_t targets = hwy::SupportedTargets() & HWY_TARGETS;
    return hwy::TargetName(targets & -targets);
}

}  // namespace coded

}  // namespace umbrix::batch
