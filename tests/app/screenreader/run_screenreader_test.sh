#!/bin/sh
# The screen-reader test: its own D-Bus session, X display and AT-SPI bus, then the script.
# Skips (exit 77) only when a peer it needs is not installed.
# Usage: run_screenreader_test.sh <path of velk>
for tool in dbus-run-session Xvfb xdotool /usr/libexec/at-spi-bus-launcher; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIPPED: $tool is not installed"
        exit 77
    fi
done
if ! /usr/bin/python3 -c 'import gi; gi.require_version("Atspi", "2.0")' 2>/dev/null; then
    echo "SKIPPED: the AT-SPI Python bindings (gir1.2-atspi-2.0, python3-gi) are not installed"
    exit 77
fi
if [ -z "${VELK_IN_SESSION:-}" ]; then
    VELK_IN_SESSION=1 exec dbus-run-session -- "$0" "$@"
fi

here="$(cd "$(dirname "$0")" && pwd)"
displayfile="$(mktemp)"
Xvfb -displayfd 1 -screen 0 1280x800x24 -nolisten tcp >"$displayfile" 2>/dev/null &
xvfb=$!
bus=""
cleanup() {
    [ -n "$bus" ] && kill "$bus" 2>/dev/null
    kill "$xvfb" 2>/dev/null
    rm -f "$displayfile"
}
trap cleanup EXIT
tries=0
while [ ! -s "$displayfile" ] && [ $tries -lt 100 ]; do sleep 0.1; tries=$((tries + 1)); done
DISPLAY=":$(cat "$displayfile")"
export DISPLAY
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
bus=$!
sleep 1
/usr/bin/python3 "$here/screenreader_test.py" "$@"
