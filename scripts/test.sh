#!/usr/bin/env bash
# Builds and runs every test: once optimised as released, once as a Debug build (assertions on)
# under AddressSanitizer and UndefinedBehaviorSanitizer; the keying tests also under
# ThreadSanitizer. A plain Debug build would only repeat the sanitizer build's tests.
# Also checks the source formatting.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/ensure-deps.sh"
export QT_QPA_PLATFORM=offscreen

echo "== formatting"
cd "$root"
git ls-files -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'fuzz/*.cpp' \
    | xargs -r clang-format --dry-run --Werror

echo "== include directions"
python3 "$root/scripts/check-includes.py"

echo "== release build and tests"
"$root/scripts/build.sh" build/release -DCMAKE_BUILD_TYPE=Release -DVELK_BENCH=ON
ctest --test-dir "$root/build/release" --output-on-failure -j 2

echo "== installed tree, Debian package and first start of the installed logger"
"$root/scripts/check-install.sh" build/release

echo "== sanitizer build and tests"
"$root/scripts/build.sh" build/asan -DCMAKE_BUILD_TYPE=Debug -DVELK_SANITIZE=ON
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir "$root/build/asan" --output-on-failure -j 2

echo "== thread sanitizer: the keying thread and its tests"
# Only the keying tests run threads of their own; only their executable is built.
cmake -S "$root" -B "$root/build/tsan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELK_TSAN=ON > /dev/null
cmake --build "$root/build/tsan" -j "$(nproc)" --target test_cw_threads
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$root/tests/cw/tsan-qt.supp" \
    "$root/build/tsan/tests/test_cw_threads"

echo "== fuzz targets (bounded run on the seed corpora)"
"$root/scripts/fuzz.sh" 30
