// The steps of the mPET time loop (MpetSteps.h): included inside a namespace of its user, once
// per SIMD target, after MpetSteps.h, <cmath> and what Ops needs. No include guard.

using namespace ::umbrix::mpet_steps;

template <class V>
V RadiationFactor(V ts, V tr) {
    return ts * ts * ts + ts * ts * tr + ts * tr * tr + tr * tr * tr;
}

// Evaporative resistance of the clothing from the skin up to resistance r:
// (1 + 2.22 hc (r - (1 - 1/(1 + 1.81 r)) airLayer)) / (1.67 hc), with what does not change
// from step to step given: open = 1 - 1/(1 + 1.81 r), hc167 = 1.67 hc.
template <class V>
V EvaporativeResistance(V r, V open, V hc, V hc167, V airLayer) {
    return (1.0 + 2.22 * hc * (r - open * airLayer)) / hc167;
}

// What the steps compute from an element's constants alone, once.
template <class V>
struct Fixed {
    V hc167;
    V fcl[kMaxZones];         // 1 + 1.81 R
    V open[kMaxZones];        // 1 - 1/(1 + 1.81 R)
    V outerRe[kMaxZones];     // 1/(1.67 hc)/(1 + 1.81 R)
    V rPos[kMaxZones][3];     // the clothing positions tested for condensation
    V openPos[kMaxZones][3];  // 1 - 1/(1 + 1.81 r) of each
    V area[kMaxZones];        // adu times the zone's share
};

template <class V>
void FixConstants(const Layout& layout, const Lanes<V>& l, Fixed<V>& f) {
    f.hc167 = 1.67 * l.hc;
    for (int g = 0; g < layout.zones; ++g) {
        const ZoneLayout& z = layout.zone[g];
        const V res = l.resistance[g];
        f.fcl[g] = 1.0 + 1.81 * res;
        f.open[g] = 1.0 - 1.0 / (1.0 + 1.81 * res);
        f.outerRe[g] = 1.0 / (1.67 * l.hc) / (1.0 + 1.81 * res);
        f.area[g] = l.adu * z.fraction;
        for (int p = 0; p <= z.positions; ++p) {
            const double phi = p == 0 ? 0.0 : z.phi[p - 1];
            f.rPos[g][p] = kInnerCloth + (res - kInnerCloth) * phi;
            f.openPos[g][p] = 1.0 - 1.0 / (1.0 + 1.81 * f.rPos[g][p]);
        }
    }
}

// Saturation vapour pressure over the skin and in the clothing, hPa (Magnus over water).
template <class Ops, class V>
V SkinSaturation(V t) {
    return 6.1078 * Ops::Exp(17.1 * t / (235.0 + t));
}

// tanh through one exponential where |x| < 20 (absolute error below 1e-15), libm's beyond.
template <class Ops, class V>
V Tanh(V x) {
    const auto big = Ops::Not(Ops::Abs(x) < 20.0);
    const V e = Ops::Exp(2.0 * x);
    const V r = (e - 1.0) / (e + 1.0);
    return Ops::Any(big) ? Ops::Select(big, Ops::LibTanh(big, x), r) : r;
}

// Sweating: drives of the skin and of the core temperature.
template <class Ops, class V>
V SkinSweatDrive(V tsk) {
    return 0.43 * Tanh<Ops>(0.59 * (tsk - 34.0) - 0.19) + 0.65;
}
template <class Ops, class V>
V CoreSweatDrive(V tc) {
    return 3.06 * Tanh<Ops>(1.98 * (tc - 36.7) - 1.03) + 3.44;
}
// The zone's sweat rate in kg/s from the drives a (skin) and b (core).
template <class Ops, class V>
V SweatRate(V sex, V a, V b, V tsk, V tc, double fraction, V adu) {
    V sweat = (b * (tc - 36.7) + a * (tsk - 34.0)) * fraction * adu / 300000.0;
    sweat = Ops::Select(sweat < 0.0, Ops::Splat(0.0), sweat);
    return Ops::Select(sex == 2.0, sweat * 0.7, sweat);
}

template <class Ops, class V>
void BuildSystem(const Layout& layout, const Lanes<V>& l, System<V>& s) {
    V meanDiag = Ops::Splat(0.0);
    for (int g = 0; g < layout.zones; ++g) {
        V cumulative = Ops::Splat(0.0), perfusion = Ops::Splat(0.0);
        for (int i = 5 * g; i < 5 * g + 5; ++i) {
            const NodeLayout& nd = layout.node[i];
            const V w = l.w[i];
            const V c = w * l.volume[i];
            cumulative = cumulative + c;
            // without a coupling resistance the factor S/(S + X) is 1
            s.fromMean[i] = nd.coupling == 0.0 ? -c : -c * cumulative / (cumulative + nd.coupling);
            s.toMean[i] = -s.fromMean[i] * l.invVolume[i];
            s.diagE[i] = nd.ccap - l.twoK[i] - w;
            s.diagI[i] = s.diagE[i] + l.fourK[i] + 2.0 * w;
            perfusion = perfusion + w;
        }
        meanDiag = meanDiag + perfusion * perfusion / (perfusion + layout.zone[g].coupling);
    }
    s.meanDiag = meanDiag;
}

// The forward sweep of layer k in every group: its node i needs node i - 1 of the layer before
// and no other.
template <int k, class V>
inline void ForwardLayer(int n, const Lanes<V>& l, const System<V>& s, const V* boundary, V tMean,
                         V* x0, V* x1, V* cp) {
    const V* t = l.t;
    for (int i = k; i < n; i += 5) {
        // summed as the dense product does
        V sum;
        if constexpr (k > 0)
            sum = (0.0 + l.lower[i] * t[i - 1]) + s.diagE[i] * t[i];
        else
            sum = 0.0 + s.diagE[i] * t[i];
        if constexpr (k < 4) sum = sum + l.upper[i] * t[i + 1];
        sum = sum + s.toMean[i] * tMean;
        const V b = (sum + boundary[i]) + l.q[i];
        const V u = -s.toMean[i];
        V inv;
        if constexpr (k == 0) {
            inv = 1.0 / s.diagI[i];
            x0[i] = b * inv;
            x1[i] = u * inv;
        } else {
            const V a = -l.lower[i];
            inv = 1.0 / (s.diagI[i] - a * cp[i - 1]);
            x0[i] = (b - a * x0[i - 1]) * inv;
            x1[i] = (u - a * x1[i - 1]) * inv;
        }
        if constexpr (k < 4) cp[i] = -l.upper[i] * inv;
    }
}

// tn := I⁻¹ (E t + boundary + q) in O(N): each group of five nodes is tridiagonal and couples to
// the others only through the mean body node. Solve every group for the right-hand side and for
// the mean-node column (Thomas algorithm), then the mean node from its row (Schur complement),
// then back-substitute.
template <class Ops, class V>
void FastSolve(int n, const Lanes<V>& l, const System<V>& s, const V* boundary, V* tn) {
    V x0[kMaxNodes], x1[kMaxNodes], cp[kMaxNodes];
    const V* t = l.t;
    const V tMean = t[n];
    // layer by layer across the groups, so that the groups' divisions overlap
    ForwardLayer<0>(n, l, s, boundary, tMean, x0, x1, cp);
    ForwardLayer<1>(n, l, s, boundary, tMean, x0, x1, cp);
    ForwardLayer<2>(n, l, s, boundary, tMean, x0, x1, cp);
    ForwardLayer<3>(n, l, s, boundary, tMean, x0, x1, cp);
    ForwardLayer<4>(n, l, s, boundary, tMean, x0, x1, cp);
    for (int k = 3; k >= 0; --k) {
        for (int i = k; i < n; i += 5) {
            x0[i] = x0[i] - cp[i] * x0[i + 1];
            x1[i] = x1[i] - cp[i] * x1[i + 1];
        }
    }
    // tissue node i = x0_i - x1_i * mean; the mean row closes the system
    V meanSum = Ops::Splat(0.0), num = meanSum, den = meanSum;
    for (int i = 0; i < n; ++i) {
        meanSum = meanSum + s.fromMean[i] * t[i];
        num = num + s.fromMean[i] * x0[i];
        den = den + s.fromMean[i] * x1[i];
    }
    meanSum = meanSum + s.meanDiag * tMean;
    const V meanRhs = (meanSum + boundary[n]) + l.q[n];
    const V mean = (meanRhs - num) / (s.meanDiag - den);
    for (int i = 0; i < n; ++i) tn[i] = x0[i] - x1[i] * mean;
    tn[n] = mean;
}

// Vapour reaching saturation at a clothing position (phi = 0 the inner position, else the share
// of the clothing between inner and outer position) releases latent heat: the position warms to
// the temperature where both balance, the layers outside it follow, and the zone then
// evaporates from its outer clothing surface.
template <class Ops, class V>
void Condense(const Layout& layout, const Fixed<V>& f, Lanes<V>& l, int g, int position) {
    using M = decltype(V() < 0.0);
    const bool inner = position == 0;
    const double phi = inner ? 0.0 : layout.zone[g].phi[position - 1];
    const double fraction = layout.zone[g].fraction;
    const V res = l.resistance[g];
    const V rPos = f.rPos[g][position];
    const V rePos =
        EvaporativeResistance(rPos, f.openPos[g][position], l.hc, f.hc167, l.airLayer[g]);
    const V tin = l.tin[g], tout = l.tout[g], psk = l.psk[g], retot = l.retot[g];
    const V recl = l.recl[g];
    const V tPos = tin - (tin - tout) * phi;
    const V pPos = psk - (psk - l.vp) * rePos / retot;
    const M active = pPos > SkinSaturation<Ops>(tPos);
    if (!Ops::Any(active)) return;
    l.condensations = Ops::Select(active, l.condensations + 1.0, l.condensations);

    const V t5 = l.t[5 * g + 4];
    const V outerLayer = retot - recl;
    const V total = retot - recl + rePos;
    const auto balance = [&](V tm) {
        return SkinSaturation<Ops>(tm) * total + total * tm - (t5 + psk) * outerLayer -
               (l.ta + l.vp) * rePos;
    };
    V tm = tPos;
    const M bisected = Ops::And(active, Ops::Not(Ops::Abs(balance(tPos)) < kBalanceTolerance));
    if (Ops::Any(bisected)) {
        V upper = t5, lower = tPos;
        M open = bisected;
        for (int halving = 0; halving < kMaxHalvings && Ops::Any(open); ++halving) {
            tm = Ops::Select(open, (upper + lower) / 2.0, tm);
            const V g = balance(tm);
            open = Ops::And(open, Ops::Not(Ops::Or(Ops::Abs(g) < kBalanceTolerance, g == 0.0)));
            const M below = g < 0.0;
            const V lowerBefore = lower, upperBefore = upper;
            lower = Ops::Select(Ops::And(open, below), tm, lower);
            upper = Ops::Select(Ops::And(open, Ops::Not(below)), tm, upper);
            // A root outside the interval pulls it together to one number, after which every
            // halving repeats the last: a halving that leaves both ends as they were is the
            // last one that could change anything.
            open = Ops::And(open, Ops::Not(Ops::And(Ops::Same(lower, lowerBefore),
                                                    Ops::Same(upper, upperBefore))));
        }
    }
    const V pSat = SkinSaturation<Ops>(tm);
    const V pOut = pSat - (pSat - l.vp) * (recl - rePos) / (retot - rePos);
    l.tout[g] = Ops::Select(active, tm - (tm - l.to[g]) * (res - rPos) / (l.rtot[g] - rPos), tout);
    if (inner) l.tin[g] = Ops::Select(active, tm, tin);
    l.evaporation[g] =
        Ops::Select(bisected, (l.vp - pOut) * l.adu * fraction / (retot - recl), l.evaporation[g]);
}

template <class Ops, class V, class Solve>
void TimeStep(const Layout& layout, const Fixed<V>& f, Lanes<V>& l, System<V>& s, int step,
              Solve& solve) {
    const int zones = layout.zones, n = layout.n;
    const V t1 = l.t[0];
    const V tr = l.tmrt + kKelvin;
    const V hc = l.hc, adu = l.adu;

    V tskm = Ops::Splat(0.0);
    for (int g = 0; g < zones; ++g) tskm = tskm + l.t[5 * g + 4] * layout.zone[g].fraction;
    l.hrs = l.feff * kSkinEmissivity * kSigma * RadiationFactor(tskm + kKelvin, tr);

    for (int g = 0; g < zones; ++g) {
        if (!layout.zone[g].clothed) continue;
        const V tsz = l.t[5 * g + 4];
        const V res = l.resistance[g];
        const V hr = l.feff * kClothEmissivity * kSigma * RadiationFactor(l.tout[g] + kKelvin, tr);
        l.airLayer[g] = 1.0 / (hc + hr);
        l.rtot[g] = l.airLayer[g] / f.fcl[g] + res;
        l.recl[g] = EvaporativeResistance(res, f.open[g], hc, f.hc167, l.airLayer[g]);
        l.retot[g] = f.outerRe[g] + l.recl[g];
        l.to[g] = (l.ta * hc + l.tmrt * hr) / (hc + hr);
        l.tout[g] = tsz - (tsz - l.to[g]) * res / l.rtot[g];
        l.tin[g] = tsz - (l.tout[g] - l.to[g]) * kInnerCloth / (l.rtot[g] - res);
    }

    const V coreDrive = CoreSweatDrive<Ops>(t1);
    for (int g = 0; g < zones; ++g) {
        const double fraction = layout.zone[g].fraction;
        const V tsz = l.t[5 * g + 4];
        l.sweat[g] =
            SweatRate<Ops>(l.sex, SkinSweatDrive<Ops>(tsz), coreDrive, tsz, t1, fraction, adu);
        const V esk = SkinSaturation<Ops>(tsz);
        const V secreted = kLatentHeat * l.sweat[g] / f.area[g];
        V psk;
        if (layout.zone[g].clothed) {
            psk = (secreted + 0.3 * esk + l.vp / l.retot[g]) / (1.0 / l.retot[g] + 0.3);
        } else {
            psk = (secreted + 0.3 * esk + l.vp * l.he * kLatentHeat) / (l.he * kLatentHeat + 0.3);
        }
        psk = Ops::Select(psk > esk, esk, psk);
        psk = Ops::Select(psk < 0.06 * esk, 0.06 * esk, psk);
        l.psk[g] = psk;
        l.wet[g] = psk / esk;
        if (layout.zone[g].clothed) {
            l.evaporation[g] = (l.vp - psk) * adu * fraction / l.retot[g];
        } else {
            l.evaporation[g] = (l.vp - psk) * l.he * kLatentHeat * adu * fraction;
        }
    }

    if (step >= kCondensationFrom) {
        for (int g = 0; g < zones; ++g) {
            const ZoneLayout& z = layout.zone[g];
            if (!z.clothed) continue;
            Condense<Ops>(layout, f, l, g, 0);
            if (g != 0) continue;  // intermediate positions are tested in zone 1 only
            for (int p = 1; p <= z.positions; ++p) Condense<Ops>(layout, f, l, g, p);
        }
    }

    const V operative = (l.ta * hc + l.tmrt * l.hrs) / (hc + l.hrs);
    for (int g = 0; g < zones; ++g) {
        const double fraction = layout.zone[g].fraction;
        if (layout.zone[g].clothed) {
            l.boundary[g] = kInnerCloth * l.evaporation[g] / f.area[g] + l.tin[g];
        } else {
            l.boundary[g] = operative + l.evaporation[g] / ((hc + l.hrs) * adu * fraction);
        }
    }

    V boundary[kMaxNodes + 1];
    const V zero = Ops::Splat(0.0);
    for (int i = 0; i <= n; ++i) boundary[i] = zero;
    for (int g = 0; g < zones; ++g) {
        const int first = 5 * g, outer = first + 4;
        boundary[outer] = zero + 2.0 * l.upper[outer] * l.boundary[g];
        // the innermost node of zone 1 sees the initial core temperature, all others node 1
        boundary[first] = zero + 2.0 * l.lower[first] * (g == 0 ? l.tc0 : t1);
    }

    V tn[kMaxNodes + 1];
    solve(l, s, boundary, tn);

    for (int i = 0; i < n; ++i) {
        const NodeLayout& nd = layout.node[i];
        const V exponent = (tn[i] - l.tref[i]) * 0.1;
        // An inner node without a temperature-dependent increment keeps q0 and w0 whatever the
        // Q10 factor, as long as the factor is finite (below 2^1024): no need to compute it.
        if (nd.layer == 1 && nd.qm == 0.0) {
            const auto finite = exponent < 1024.0;
            const V q = l.q0[i] + 0.0, w = Ops::Splat(nd.w0) + 0.0;
            if (!Ops::Any(Ops::Not(finite))) {
                l.q[i] = q;
                l.w[i] = w;
                continue;
            }
            const V factor = Ops::Exp2(exponent);
            l.q[i] = Ops::Select(finite, q, (factor - 1.0) * nd.qm + l.q0[i]);
            l.w[i] = w;
            continue;
        }
        const V factor = Ops::Exp2(exponent);
        l.q[i] = (factor - 1.0) * nd.qm + l.q0[i];
        if (nd.layer == 1)
            l.w[i] = nd.w0 + Ops::Splat(0.0);
        else
            l.w[i] = nd.w0 + 0.932 * (factor - 1.0) * nd.qm;
    }
    BuildSystem<Ops>(layout, l, s);

    V core = zero, skin = zero;
    for (int i = 0; i <= n; ++i) l.t[i] = tn[i];
    for (int g = 0; g < zones; ++g) {
        core = core + l.t[5 * g + 1] * layout.zone[g].fraction;
        skin = skin + l.t[5 * g + 4] * layout.zone[g].fraction;
    }
    l.t[n] = 0.67 * l.t[0] + 0.23 * core + 0.1 * skin;
}

// The 1200 steps from the set-up state in l; solve(l, system, boundary, tn) solves a step.
template <class Ops, class V, class Solve>
void RunSteps(const Layout& layout, Lanes<V>& l, Solve solve) {
    System<V> s;
    Fixed<V> f;
    FixConstants(layout, l, f);
    BuildSystem<Ops>(layout, l, s);
    for (int step = 1; step <= kSteps; ++step) TimeStep<Ops>(layout, f, l, s, step, solve);
}
