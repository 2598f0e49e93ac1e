#!/usr/bin/env bash
# Installs, with apt-get, the Debian 12 packages the build and the tests need, only when missing.
set -euo pipefail
packages=(
  cmake ninja-build g++ pkg-config ccache git python3 clang-format
  qt6-base-dev qt6-base-dev-tools qt6-serialport-dev qt6-qpa-plugins libgl-dev libxkbcommon-dev
  qt6-translations-l10n
  libpugixml-dev libgtest-dev googletest libbenchmark-dev
  fonts-dejavu-core iputils-ping python3-html5lib
  # the report's print check: a headless browser prints it, poppler counts and measures the pages
  chromium poppler-utils fonts-dejavu-extra
  # simulate: libmodbus, and the Modbus and CAN peers its tests talk to
  libmodbus-dev mbpoll python3-pymodbus python3-serial socat python3-can can-utils
  # the Debian package and its checks (scripts/package-check.sh)
  dpkg-dev file lintian desktop-file-utils appstream bash-completion
)
if [ "${SETFORGE_WITH_DISPLAY_TOOLS:-0}" = 1 ]; then
  packages+=(xvfb xauth imagemagick xdotool)
fi
# The Windows step (scripts/windows-check.sh, windows-gui.sh): MinGW-w64, Wine, NSIS and the
# display tools for the window checks; Qt's sources come from Debian's source packages.
if [ "${SETFORGE_WITH_WINDOWS_TOOLS:-0}" = 1 ]; then
  packages+=(g++-mingw-w64-x86-64-posix mingw-w64-tools wine64 nsis zip dpkg-dev xz-utils
    xvfb xauth xdotool x11-utils libqt6core6 libqt6serialport6)
fi
if [ "${SETFORGE_WITH_FUZZ_TOOLS:-0}" = 1 ]; then
  packages+=(clang-14 libclang-rt-14-dev)
fi
bash "$(dirname "$0")/install-missing.sh" "${packages[@]}"
