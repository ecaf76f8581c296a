#!/usr/bin/env bash
# Builds the fuzz targets in fuzz/ with clang (AddressSanitizer + UBSan + libFuzzer) and runs each
# on its committed seed corpus for a bounded time, two at a time:
#   scripts/fuzz.sh [seconds per target, default 45] [target ...]
# Any crash, hang, leak or undefined behaviour fails the run; the input that caused it is kept
# under build/fuzz/artifacts/ (add it to fuzz/corpus/<target>/ once fixed).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-45}"
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for source in "$root"/fuzz/fuzz_*.cpp; do
        targets+=("$(basename "$source" .cpp)")
    done
fi

build="$root/build/fuzz"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVELK_FUZZ=ON -DVELK_TESTS=OFF > /dev/null
cmake --build "$build" -j "$(nproc)" --target fuzz_targets

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
mkdir -p "$build/artifacts" "$build/logs"

run() {
    local target="$1" name="${1#fuzz_}"
    local work="$build/work/$name"
    rm -rf "$work"
    mkdir -p "$work"
    # New inputs go to the scratch folder; the committed corpus is only read.
    if "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$build/artifacts/$target-" "$work" "$root/fuzz/corpus/$name" \
        > "$build/logs/$target.log" 2>&1; then
        echo "$target: $(grep -o 'Done [0-9]* runs' "$build/logs/$target.log" || echo done)"
    else
        echo "$target: FAILED (log: $build/logs/$target.log)"
        tail -n 40 "$build/logs/$target.log"
        return 1
    fi
}

failed=0
pids=()
for target in "${targets[@]}"; do
    run "$target" &
    pids+=($!)
    if [ ${#pids[@]} -ge 2 ]; then
        wait "${pids[0]}" || failed=1
        pids=("${pids[@]:1}")
    fi
done
for pid in "${pids[@]}"; do
    wait "$pid" || failed=1
done
exit $failed
