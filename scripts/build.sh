#!/usr/bin/env bash
# Configures and builds one configuration: build.sh <dir> [extra cmake args...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="$1"; shift
cmake -S "$root" -B "$root/$dir" -G Ninja "$@" > /dev/null
cmake --build "$root/$dir" -j "$(nproc)"
