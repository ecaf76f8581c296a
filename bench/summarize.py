#!/usr/bin/env python3
"""Reads the benchmark runner's JSON output and prints each figure against its goal.

    bench/summarize.py RESULTS.json [RSS_DIFFERENCE_MB]

Uses the median of the repetitions when there are several. Benchmarks left out by a filter are
skipped. Exits 0 whatever the figures: the table is for people, not a gate.
"""
import json
import sys

UNIT_MS = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}


def medians(path):
    with open(path, encoding="utf-8") as f:
        runs = json.load(f)["benchmarks"]
    times = {}
    for run in runs:
        if run.get("run_type") == "aggregate" and run.get("aggregate_name") != "median":
            continue
        name = run.get("run_name", run["name"]).replace("/real_time", "")
        times[name] = run["real_time"] * UNIT_MS[run["time_unit"]]
        times[name + ":cpu"] = run["cpu_time"] * UNIT_MS[run["time_unit"]]
        for counter in ("max_stall_ms", "p99_stall_ms", "max_step_cpu_ms"):
            if counter in run:
                times[f"{name}:{counter}"] = run[counter]
    return times


def main():
    times = medians(sys.argv[1])
    rss = float(sys.argv[2]) if len(sys.argv) > 2 else None
    rows = []

    def row(what, value, goal, ok):
        rows.append((what, value, goal, "met" if ok else "MISSED"))

    for n in (12000, 100000):
        base = times.get(f"BM_ReadAndSplitLines/{n}")
        if base is None:
            continue
        for bench, what, goal in (("BM_LoadLogAndRebuild", "load + rebuild", 5.0),
                                  ("BM_ReloadUnchangedAndRebuild", "reload unchanged", None)):
            t = times.get(f"{bench}/{n}")
            if t is not None:
                ratio = t / base
                goal_text = f"<= {goal:.0f}x baseline" if goal and n == 12000 else "-"
                row(f"{what}, {n}", f"{t:.2f} ms = {ratio:.1f}x baseline ({base:.2f} ms)", goal_text,
                    ratio <= goal if goal and n == 12000 else True)
    for bench in ("BM_CallBoxKey", "BM_CallBoxKeyNoMatch"):
        t = times.get(f"{bench}/100000")
        if t is not None:
            row(f"{bench[3:]}, 100000", f"{t * 1000:.0f} us", "< 500 us", t < 0.5)
    for bench in ("BM_WindowCallBoxKey", "BM_WindowEnter", "BM_WindowBandChange"):
        for n, limit in ((12000, 16.0), (100000, 50.0)):
            t = times.get(f"{bench}/{n}")
            if t is not None:
                row(f"{bench[3:]}, {n}", f"{t:.2f} ms", f"< {limit:.0f} ms", t < limit)
    for bench, what in (("BM_BandMapNewSpot", "band map, new spot redrawn, full ring"),
                        ("BM_BandMapRepaint", "band map, whole repaint, full ring"),
                        ("BM_SpectrumMapNewSpot", "spectrum map, new spot redrawn, full ring"),
                        ("BM_SpectrumMapRepaint", "spectrum map, whole repaint, full ring")):
        t = times.get(bench)
        if t is not None:
            row(what, f"{t:.2f} ms (processor {times[bench + ':cpu']:.2f} ms)", "<= 4 ms", t <= 4.0)
    stream = "BM_MapsUnderSpotStream/iterations:1"
    stall = times.get(f"{stream}:max_stall_ms")
    if stall is not None:
        p99 = times.get(f"{stream}:p99_stall_ms", 0.0)
        cpu = times.get(f"{stream}:max_step_cpu_ms", 0.0)
        row("both maps, 200 spots/s, longest stall", f"{stall:.1f} ms (99 % of spots: {p99:.1f} ms, processor {cpu:.1f} ms)",
            "<= 16 ms", stall <= 16.0)
    if rss is not None:
        row("resident memory, 100000 over empty", f"{rss:.0f} MB", "< 64 MB", rss < 64)

    width = max((len(r[0]) for r in rows), default=0)
    vwidth = max((len(r[1]) for r in rows), default=0)
    print("\nGoals:")
    for what, value, goal, verdict in rows:
        print(f"  {what:<{width}}  {value:<{vwidth}}  {goal:<20} {verdict}")


if __name__ == "__main__":
    main()
