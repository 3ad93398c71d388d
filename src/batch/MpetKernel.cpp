// mPET over many elements of one clothing case: the body model's time loop (MpetSteps.h, the
// row function's own) runs with one element per SIMD lane. Each element is set up and finished
// by the row function's model (mpet::Prepared); the kernel gathers the elements' lanes into
// vectors, runs the 1200 steps and scatters the final state back.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "batch/MpetKernel.cpp"
#include <hwy/aligned_allocator.h>
#include <hwy/foreach_target.h>  // IWYU pragma: keep
#include <hwy/highway.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "batch/Kernels.h"
#include "batch/Simd-inl.h"
#include "indices/MpetSteps.h"

HWY_BEFORE_NAMESPACE();
namespace umbrix::batch::detail {
namespace HWY_NAMESPACE {

namespace mpet {
#include "indices/MpetSteps-inl.h"
}  // namespace mpet

namespace {

// One vector in flight: the groups of nodes already give independent chains.
constexpr std::size_t K = 1;
using P = Pack<K>;
using M = PackMask<K>;

struct PackOps {
    static P Splat(double x) { return HWY_NAMESPACE::Splat<K>(x); }
    static P Select(M m, P yes, P no) { return HWY_NAMESPACE::Select(m, yes, no); }
    static M And(M a, M b) { return a & b; }
    static M Or(M a, M b) { return a | b; }
    static M Not(M a) { return HWY_NAMESPACE::Not(a); }
    static bool Any(M a) { return HWY_NAMESPACE::Any(a); }
    static P Abs(P x) { return HWY_NAMESPACE::Abs(x); }
    static M Same(P a, P b) {
        const hn::RebindToSigned<DF> di;
        M r;
        for (std::size_t k = 0; k < K; ++k)
            r.m[k] = hn::RebindMask(DF(), hn::Eq(hn::BitCast(di, a.v[k]), hn::BitCast(di, b.v[k])));
        return r;
    }
    static P Exp(P x) { return HWY_NAMESPACE::Exp(x); }
    static P Exp2(P x) { return HWY_NAMESPACE::Exp2(x); }
    static P LibTanh(M m, P x) {
        return EachLane(x, m, [](double a) { return std::tanh(a); });
    }
};

using Element = mpet_steps::Lanes<double>;
using Vectors = mpet_steps::Lanes<P>;
// every member is a double, or a vector of them in the same order
constexpr std::size_t kMembers = sizeof(Element) / sizeof(double);
constexpr std::size_t kLanes = K * hn::MaxLanes(DF());
static_assert(sizeof(Vectors) == kMembers * kLanes * sizeof(double));

}  // namespace

void MpetKernel(const mpet_steps::Layout& layout, Element* const* elements, std::size_t count) {
    const std::size_t n = K * hn::Lanes(DF());
    const int nodes = layout.n;
    // member-major: the lanes of a member side by side, as the vectors hold them
    auto table = hwy::AllocateAligned<double>(kMembers * kLanes);
    auto one = hwy::AllocateAligned<double>(kMembers);
    auto vectors = hwy::MakeUniqueAligned<Vectors>();
    for (std::size_t i = 0; i < count; i += n) {
        const std::size_t m = std::min(n, count - i);
        // lanes past the last element repeat it
        for (std::size_t k = 0; k < kLanes; ++k) {
            std::memcpy(one.get(), elements[i + std::min(k, m - 1)], sizeof(Element));
            for (std::size_t f = 0; f < kMembers; ++f) table[f * kLanes + k] = one[f];
        }
        std::memcpy(vectors.get(), table.get(), sizeof(Vectors));
        mpet::RunSteps<PackOps>(
            layout, *vectors,
            [nodes](const Vectors& l, const mpet_steps::System<P>& s, const P* b, P* tn) {
                mpet::FastSolve<PackOps>(nodes, l, s, b, tn);
            });
        std::memcpy(table.get(), vectors.get(), sizeof(Vectors));
        for (std::size_t k = 0; k < m; ++k) {
            for (std::size_t f = 0; f < kMembers; ++f) one[f] = table[f * kLanes + k];
            std::memcpy(elements[i + k], one.get(), sizeof(Element));
        }
    }
}

}  // namespace HWY_NAMESPACE
}  // namespace umbrix::batch::detail
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace umbrix::batch::detail {
HWY_EXPORT(MpetKernel);
void RunMpet(const mpet_steps::Layout& layout, mpet_steps::Lanes<double>* const* elements,
             std::size_t count) {
    HWY_DYNAMIC_DISPATCH(MpetKernel)(layout, elements, count);
}
}  // namespace umbrix::batch::detail
#endif
