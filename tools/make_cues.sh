#!/usr/bin/env bash
# Speaks the cue recordings for blind operators into data/ with espeak-ng: one short WAV per cue,
# named exactly as the logger looks them up (Call.wav, Name.wav, SPC.wav, Dupe.wav, NavEn.wav,
# NavDis.wav). Usage: tools/make_cues.sh [output folder, default data/]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-$root/data}"
command -v espeak-ng >/dev/null || { echo "espeak-ng is not installed (scripts/ensure-deps.sh installs it)" >&2; exit 1; }
mkdir -p "$out"

speak() { # file name, words
    # US English, a little slower than the default so a word stays clear over a noisy band.
    espeak-ng -v en-us -s 150 -a 150 -w "$out/$1" "$2"
}

speak Call.wav "Call"
speak Name.wav "Name"
speak SPC.wav "Location"
speak Dupe.wav "Dupe"
speak NavEn.wav "Navigation on"
speak NavDis.wav "Navigation off"
echo "cues written to $out"
