#!/usr/bin/env bash
# Installs the Debian packages the program needs (only those missing) and builds it;
# with --tests also the packages the tests need.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-svg-dev qt6-translations-l10n libsqlite3-dev
          libzip-dev libpugixml-dev libxlsxwriter-dev sqlite3 zip unzip xvfb xauth desktop-file-utils shared-mime-info
          dpkg-dev file appstream groff-base man-db clang-format)
# With --tests: what only the tests need, a real word processor that reads every kind of document.
if [ "${1:-}" = --tests ]; then
    packages+=(libreoffice-writer-nogui)
fi
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Устанавливаются пакеты: ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi

# Continuous integration builds with warnings as errors; the everyday build shows them as warnings.
# A build folder once made strict stays so: switching back would rebuild everything.
werror=OFF
if [ "${CI:-}" = true ]; then werror=ON; fi
if [ ! -f build/build.ninja ]; then
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRAVNOBOR_WERROR=$werror
elif [ $werror = ON ] && ! grep -qx "RAVNOBOR_WERROR:BOOL=ON" build/CMakeCache.txt; then
    cmake -S . -B build -DRAVNOBOR_WERROR=ON
fi
ninja -C build -j "$(nproc)"
