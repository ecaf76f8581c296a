#!/usr/bin/env bash
# Builds the logger and starts it in its own working folder (VELK_HOME, default ~/VELK),
# seeded on first use with the files the program ships.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/ensure-deps.sh"
"$root/scripts/build.sh" build/release -DCMAKE_BUILD_TYPE=Release -DVELK_TESTS=OFF

work="${VELK_HOME:-$HOME/VELK}"
mkdir -p "$work"
for f in "$root"/data/*; do
    [ -f "$f" ] || continue
    case "$f" in *.README) continue ;; esac
    name="$(basename "$f")"
    [ -e "$work/$name" ] || cp "$f" "$work/$name"
done
# A first start continues an empty log rather than failing on a missing one.
[ -e "$work/log.txt" ] || : > "$work/log.txt"

cd "$work"
exec "$root/build/release/velk" "$@"
