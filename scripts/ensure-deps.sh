#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the logger need, only those missing.
set -euo pipefail

packages=(cmake ninja-build g++ ccache pkg-config clang-format
          qt6-base-dev qt6-base-dev-tools libgl-dev
          libgtest-dev libgmock-dev
          clang libclang-rt-14-dev libbenchmark-dev python3
          qt6-serialport-dev qt6-multimedia-dev
          socat libhamlib-utils direwolf fldigi xvfb xauth
          pulseaudio pulseaudio-utils espeak-ng sox hamradio-files
          help2man dpkg-dev file man-db appstream desktop-file-utils lintian
          dbus rtkit
          at-spi2-core python3-gi gir1.2-atspi-2.0 python3-pyatspi xdotool)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    SUDO=""
    if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
