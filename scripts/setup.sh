#!/usr/bin/env bash
# Installs every Debian 12 package the build, the program, the tests and the fuzz targets (clang 14
# with libFuzzer) need, and generates the cs_CZ.UTF-8 and en_US.UTF-8 locales. Idempotent and
# non-interactive; waits for the apt lock.
set -euo pipefail

PACKAGES=(
    build-essential cmake ninja-build clang-14 libclang-rt-14-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-translations-l10n libgl-dev
    libsuitesparse-dev
    xvfb xauth locales
    fonts-liberation fonts-dejavu-core fonts-urw-base35
    libwmf-bin poppler-utils xdotool imagemagick libreoffice-writer-nogui python3
)

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

missing=()
for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ "${#missing[@]}" -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get -o DPkg::Lock::Timeout=600 update -qq
    $SUDO apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends "${missing[@]}"
else
    echo "setup: all packages present"
fi

need_locales=0
for l in cs_CZ.utf8 en_US.utf8; do
    locale -a 2>/dev/null | grep -qi "^$l\$" || need_locales=1
done
if [ "$need_locales" -eq 1 ]; then
    $SUDO sed -i -E 's/^# *(cs_CZ\.UTF-8 UTF-8|en_US\.UTF-8 UTF-8)/\1/' /etc/locale.gen
    $SUDO locale-gen
fi
