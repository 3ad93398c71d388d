#!/usr/bin/python3
"""Elements per second of umbrix.utci, pmv, set_star and pet on random in-range points, on one
thread and on two: the whole call from Python (argument checks, broadcasting, the engine, the
result array), the best of several calls after a warm-up. Elements per second of wall time, and
on one thread also per second of the process's processor time, which a busy machine disturbs
less (the C++ benchmarks report that one).

    PYTHONPATH=build/python /usr/bin/python3 bench/python_indices.py [--min-time SECONDS]
"""
import argparse
import time

import numpy as np

import umbrix


def points(n, seed=7):
    rng = np.random.default_rng(seed)
    Ta = rng.uniform(-20, 40, n)
    return dict(Ta=Ta, RH=rng.uniform(10, 95, n), v=rng.uniform(0.5, 8, n),
                Tmrt=Ta + rng.uniform(-5, 40, n))


def rate(function, kwargs, n, min_time):
    """Elements per second of wall time and of processor time (best call each), and calls."""
    function(**{k: v[:100] if isinstance(v, np.ndarray) else v for k, v in kwargs.items()})
    best, best_cpu, spent, calls = float("inf"), float("inf"), 0.0, 0
    while spent < min_time or calls < 2:
        start, start_cpu = time.perf_counter(), time.process_time()
        function(**kwargs)
        elapsed, cpu = time.perf_counter() - start, time.process_time() - start_cpu
        best, best_cpu = min(best, elapsed), min(best_cpu, cpu)
        spent, calls = spent + elapsed, calls + 1
    return n / best, n / best_cpu, best, calls


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--min-time", type=float, default=1.0)
    args = parser.parse_args()
    cases = [("utci", umbrix.utci, 10**6), ("pmv", umbrix.pmv, 10**6),
             ("set_star", umbrix.set_star, 10**6), ("pet", umbrix.pet, 10**4)]
    print(f"umbrix (Python), SIMD target {umbrix.simd_target()}")
    print(f"{'Benchmark':<30}{'Time':>12}{'Calls':>7}   elements per second (wall; CPU)")
    for name, function, n in cases:
        data = points(n)
        for threads in (1, 2):
            wall, cpu, best, calls = rate(function, dict(data, threads=threads), n, args.min_time)
            cpu_text = f"; {cpu / 1e6:.3f} M/s" if threads == 1 else ""
            print(f"{f'py_{name}/{n}/threads:{threads}':<30}{best * 1e3:>9.2f} ms{calls:>7}"
                  f"   {wall / 1e6:.3f} M/s{cpu_text}")


if __name__ == "__main__":
    main()
