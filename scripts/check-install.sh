#!/usr/bin/env bash
# Checks what an operator installs, from a built configuration: check-install.sh [build dir]
# (default build/release). Installs into a temporary prefix and checks the tree (files, desktop
# entry, AppStream metainfo, manual pages, --version and --help), builds the Debian package and
# reads it back (contents, Depends, Recommends, lintian), and starts the installed logger
# offscreen from a clean home to see it seed its working folder and open.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/${1:-build/release}"
app_id=org.example.velk
tmp="$(mktemp -d)"
velk_pid=""
cleanup() {
    if [ -n "$velk_pid" ]; then kill "$velk_pid" 2> /dev/null || true; fi
    rm -rf "$tmp"
}
trap cleanup EXIT
fail() {
    echo "check-install: $*" >&2
    exit 1
}

version="$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")"
[ -n "$version" ] || fail "no version in $build/CPackConfig.cmake"
# The caption and the files the logger writes name the version too.
grep -q "VELK Contest Log $version\")" "$root/src/common/programinfo.h" \
    || fail "src/common/programinfo.h does not name version $version"

echo "-- install into a temporary prefix"
prefix="$tmp/usr"
cmake --install "$build" --prefix "$prefix" > /dev/null
expected=(bin/velk bin/velk-export
          "share/applications/$app_id.desktop" "share/icons/hicolor/scalable/apps/$app_id.svg"
          "share/metainfo/$app_id.metainfo.xml" share/man/man1/velk.1.gz share/man/man1/velk-export.1.gz
          share/doc/velk/copyright share/doc/velk/changelog.Debian.gz share/doc/velk/arrlpre2.README)
for f in "$root"/data/*; do
    case "$f" in *.README) ;; *) expected+=("share/velk/$(basename "$f")") ;; esac
done
for f in "${expected[@]}"; do
    [ -f "$prefix/$f" ] || fail "not installed: $f"
done
[ "$(ls "$prefix/bin")" = "$(printf 'velk\nvelk-export')" ] || fail "unexpected programs: $(ls "$prefix/bin")"

desktop-file-validate "$prefix/share/applications/$app_id.desktop"
appstreamcli validate --no-net --no-color "$prefix/share/metainfo/$app_id.metainfo.xml" > "$tmp/appstream.txt" \
    || { cat "$tmp/appstream.txt"; fail "appstreamcli rejects the metainfo"; }

for program in velk velk-export; do
    [ "$("$prefix/bin/$program" --version)" = "$program $version" ] || fail "$program --version"
    "$prefix/bin/$program" --help | grep -q "^Usage: .*$program \[options\]" || fail "$program --help"
    page="$prefix/share/man/man1/$program.1.gz"
    LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -P cat -l "$page" > "$tmp/$program.txt" 2> "$tmp/$program.warnings"
    [ ! -s "$tmp/$program.warnings" ] || { cat "$tmp/$program.warnings"; fail "$program.1 renders with warnings"; }
    grep -q -- "--version" "$tmp/$program.txt" || fail "$program.1 lacks the options"
done
grep -q -- "--folder" "$tmp/velk.txt" || fail "velk.1 lacks --folder"
grep -q "FILES" "$tmp/velk.txt" || fail "velk.1 lacks its FILES section"
grep -q "cabrillo" "$tmp/velk-export.txt" || fail "velk-export.1 lacks the commands"

echo "-- Debian package"
(cd "$build" && cpack -G DEB -B "$tmp/deb" > "$tmp/cpack.txt" 2>&1) || { cat "$tmp/cpack.txt"; fail "cpack"; }
deb="$(ls "$tmp"/deb/*.deb)"
field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = velk ] || fail "package name $(field Package)"
[ "$(field Version)" = "$version-1" ] || fail "package version $(field Version)"
depends="$(field Depends)"
depended="$(sed 's/ ([^)]*)//g; s/, /\n/g' <<< "$depends")"
for lib in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6network6 libqt6serialport6 \
           libqt6multimedia6; do
    grep -qxF "$lib" <<< "$depended" || fail "Depends lacks $lib: $depends"
done
[ "$(field Recommends)" = "hamradio-files, libhamlib-utils, fldigi, direwolf, espeak-ng" ] \
    || fail "Recommends: $(field Recommends)"
dpkg-deb --contents "$deb" > "$tmp/contents.txt"
for f in "${expected[@]}"; do
    grep -q " \./usr/$f$" "$tmp/contents.txt" || fail "not in the package: /usr/$f"
done
if grep -v " root/root " "$tmp/contents.txt"; then fail "files not owned by root"; fi
lintian --fail-on error --tag-display-limit 0 "$deb" > "$tmp/lintian.txt" 2>&1 \
    || { cat "$tmp/lintian.txt"; fail "lintian reports errors"; }
sed 's/^/   /' "$tmp/lintian.txt"

echo "-- first start of the installed logger from a clean home"
home="$tmp/home"
mkdir -p "$home"
mkdir -m 700 "$tmp/run"
env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$tmp/run" QT_QPA_PLATFORM=offscreen \
    "$prefix/bin/velk" > "$tmp/velk.out" 2>&1 &
velk_pid=$!
# It seeds the working folder and makes the backup folder before its first window, which then
# waits for the operator; still running a moment later means it opened rather than failed.
for _ in $(seq 100); do
    [ -d "$home/Varno Software/VELK/BACKUP" ] && break
    kill -0 "$velk_pid" 2> /dev/null || { cat "$tmp/velk.out"; fail "velk ended at its first start"; }
    sleep 0.2
done
[ -d "$home/Varno Software/VELK/BACKUP" ] || fail "velk made no backup folder"
sleep 2
kill -0 "$velk_pid" 2> /dev/null || { cat "$tmp/velk.out"; fail "velk ended at its first start"; }
for f in "$prefix"/share/velk/*; do
    cmp -s "$f" "$home/VELK/$(basename "$f")" || fail "not seeded: $(basename "$f")"
done
[ -f "$home/VELK/log.txt" ] && [ ! -s "$home/VELK/log.txt" ] || fail "no empty log.txt seeded"
echo "check-install: installed tree, package and first start are fine"
