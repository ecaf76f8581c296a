#!/usr/bin/env bash
# Builds the benchmarks (Release), generates logs of 12,000 and 100,000 contacts with
# tools/make_test_log.py, runs every benchmark in bench/ three times (the medians count) and
# measures the resident memory of the main window on the 100,000-contact log against an empty
# one; then prints each figure against its goal. Extra arguments go to the benchmark runner,
# e.g. scripts/bench.sh --benchmark_filter=Window
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/ensure-deps.sh"
build="$root/build/bench"
"$root/scripts/build.sh" build/bench -DCMAKE_BUILD_TYPE=Release -DVELK_BENCH=ON -DVELK_TESTS=OFF

logs="$build/logs"
mkdir -p "$logs"
for n in 12000 100000; do
    [ -s "$logs/log$n.txt" ] || python3 "$root/tools/make_test_log.py" "$n" "$logs/log$n.txt"
done
: > "$logs/log0.txt"

export VELK_BENCH_LOGS="$logs" QT_QPA_PLATFORM=offscreen
cd "$build"
results="$build/results.json"
"$build/bench/velk_bench" --benchmark_repetitions=3 --benchmark_report_aggregates_only=true \
    --benchmark_out="$results" --benchmark_out_format=json "$@"

echo
echo "Resident memory of the main window (fresh process each):"
empty=$("$build/bench/velk_bench" --rss-of="$logs/log0.txt" 2>/dev/null)
full=$("$build/bench/velk_bench" --rss-of="$logs/log100000.txt" 2>/dev/null)
echo "  $empty"
echo "  $full"
difference=$(( ($(echo "$full" | cut -d' ' -f1) - $(echo "$empty" | cut -d' ' -f1)) / 1024 ))
echo "  difference: $difference MB"

python3 "$root/bench/summarize.py" "$results" "$difference"

echo
echo "DX spot feed: a burst of 5,000 spot lines, then 200 lines a second for a minute"
echo "(goals: >= 20,000 lines/s parsed and posted, no GUI stall over 16 ms, memory flat):"
"$build/bench/velk_spot_bench" --seconds 60
