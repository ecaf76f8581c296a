#!/usr/bin/env bash
# The keying bench beside two CPU hogs, as a user without root: the keying thread is refused
# SCHED_FIFO and asks RealtimeKit. On a desktop (system bus and rtkit-daemon running, the operator
# at the seat) it simply runs the bench as the calling user. Run as root on a machine without a
# desktop session (CI, a container), it first starts what a desktop has: the system bus, polkitd
# and rtkit-daemon, a polkit rule that lets the unprivileged user "velkbench" ask RealtimeKit (as
# the active seat user may by default), and runs the bench as that user. Everything it started,
# wrote or created is stopped and removed at the end.
#   bench/keying_rtkit.sh <velk_keying_bench> [seconds per speed] [WPM ...]   (default: 6 40)
set -euo pipefail
bench="$(realpath "$1")"
shift
args=("$@")
[ ${#args[@]} -gt 0 ] || args=(6 40)

benchUser=velkbench
rule=/etc/polkit-1/rules.d/60-velk-keying-bench.rules
started=()
createdUser=0
hogs=()

cleanup() {
    for pid in "${hogs[@]}" "${started[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    if [ -n "${ruleWritten:-}" ]; then rm -f "$rule"; fi
    if [ "$createdUser" = 1 ]; then userdel "$benchUser" 2>/dev/null || true; fi
}
trap cleanup EXIT

run=("$bench" "${args[@]}")
if [ "$(id -u)" -eq 0 ]; then
    if ! busctl --system status >/dev/null 2>&1; then
        mkdir -p /run/dbus
        rm -f /run/dbus/pid /run/dbus/system_bus_socket # left by a bus that is gone
        started+=("$(dbus-daemon --system --fork --print-pid)")
    fi
    if ! pgrep -x polkitd >/dev/null; then
        /usr/lib/polkit-1/polkitd --no-debug </dev/null >/dev/null 2>&1 &
        started+=("$!")
    fi
    if ! id "$benchUser" >/dev/null 2>&1; then
        useradd --system --no-create-home --shell /usr/sbin/nologin "$benchUser"
        createdUser=1
    fi
    mkdir -p "$(dirname "$rule")"
    cat >"$rule" <<RULE
// Written by bench/keying_rtkit.sh for the length of one run.
polkit.addRule(function(action, subject) {
    if (action.id == "org.freedesktop.RealtimeKit1.acquire-real-time" && subject.user == "$benchUser") {
        return polkit.Result.YES;
    }
});
RULE
    ruleWritten=1
    if ! pgrep -x rtkit-daemon >/dev/null; then
        # rtkit-daemon forbids itself to grow files: its output must not be a regular file.
        /usr/libexec/rtkit-daemon </dev/null >/dev/null 2>&1 &
        started+=("$!")
    fi
    sleep 2 # polkitd reads the rule, rtkit-daemon takes its bus name
    run=(runuser -u "$benchUser" -- "${run[@]}")
fi

for _ in 1 2; do
    sh -c 'while :; do :; done' &
    hogs+=("$!")
done
echo "two CPU hogs running; bench as $( [ "$(id -u)" -eq 0 ] && echo "$benchUser" || id -un ): ${run[*]}"
"${run[@]}"
