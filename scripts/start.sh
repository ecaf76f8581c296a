#!/usr/bin/env bash
# Builds the logger, installs it into build/release/stage and starts it there, exactly as the
# package would: the program seeds its working folder (VELK_HOME, default ~/VELK) with the data
# it ships on first use.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/ensure-deps.sh"
"$root/scripts/build.sh" build/release -DCMAKE_BUILD_TYPE=Release -DVELK_TESTS=OFF
cmake --install "$root/build/release" --prefix "$root/build/release/stage" > /dev/null
exec "$root/build/release/stage/bin/velk" "$@"
