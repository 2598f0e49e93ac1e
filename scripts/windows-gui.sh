#!/usr/bin/env bash
# Cross-builds the window program setforge.exe for 64-bit Windows with MinGW-w64, starts it
# under Wine in Xvfb with Demo open and takes a screenshot of its main window. Not part of the
# test run: the first Qt build takes a long time on two cores.
#
# Qt's qtbase (Core, Gui, Widgets, Network) and qtserialport 6.4 come from Debian's source
# packages, built with the system's Qt 6.4 host tools (moc, rcc, uic) and cached under
# ~/.cache/setforge-windows-qt, so later runs only build Setforge.
#
# Environment:
#   SETFORGE_WINDOWS_BUILD  build folder (default build/windows); pugixml comes from the prefix
#                           scripts/windows-check.sh leaves there, so run that first.
#   SETFORGE_QT_CACHE       Qt's install prefix (default ~/.cache/setforge-windows-qt)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=${SETFORGE_WINDOWS_BUILD:-$root/build/windows}
qt=${SETFORGE_QT_CACHE:-$HOME/.cache/setforge-windows-qt}
jobs=$(nproc 2>/dev/null || echo 2)
started=$(date +%s)
toolchain=$root/cmake/mingw-w64-x86_64.cmake
step() { echo "== windows-gui: $* ($(($(date +%s) - started)) s)"; }

packages=(cmake ninja-build g++-mingw-w64-x86-64-posix mingw-w64-tools wine64 dpkg-dev
  qt6-base-dev qt6-base-dev-tools xvfb xauth imagemagick x11-utils)
bash "$root/scripts/install-missing.sh" "${packages[@]}"
[ -f "$out/prefix/.pugixml-done" ] || { echo "windows-gui: run scripts/windows-check.sh first" >&2; exit 1; }

# Debian's sources through a private apt state, as windows-check.sh does for pugixml.
fetch_source() {
  local package=$1 apt_dir=$out/apt
  if [ ! -d "$apt_dir/lists" ] || [ -z "$(ls "$apt_dir/lists" 2>/dev/null | grep -v partial)" ]; then
    mkdir -p "$apt_dir/parts" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
    for f in /etc/apt/sources.list.d/*.sources; do
      [ -f "$f" ] && sed 's/^Types:.*$/Types: deb-src/' "$f" >"$apt_dir/parts/$(basename "$f")"
    done
  fi
  local options=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$apt_dir/parts"
    -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache")
  apt-get "${options[@]}" update -qq
  mkdir -p "$out/qt-src"
  (cd "$out/qt-src" && apt-get "${options[@]}" source -qq "$package")
}

qt_host=(-DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake)

# Both sources first, so a missing one stops the script before the long qtbase build.
if [ ! -f "$qt/.qtserialport-done" ] && [ -z "$(ls -d "$out"/qt-src/qt6-serialport-*/ 2>/dev/null)" ]; then
  step "fetching qtserialport's Debian source"
  if ! fetch_source qt6-serialport; then
    echo "windows-gui: Debian's qt6-serialport source could not be fetched; setforge links Qt SerialPort," >&2
    echo "windows-gui: so the window program cannot be built for Windows without it" >&2
    exit 1
  fi
fi
if [ ! -f "$qt/.qtbase-done" ]; then
  started_qt=$(date +%s)
  src=$(ls -d "$out"/qt-src/qt6-base-*/ 2>/dev/null | head -n 1 || true)
  if [ -z "$src" ]; then
    step "fetching qtbase's Debian source"
    fetch_source qt6-base
    src=$(ls -d "$out"/qt-src/qt6-base-*/ | head -n 1)
  fi
  step "cross-building qtbase (long)"
  # No wintab.h in Debian's MinGW headers; the Windows platform plugin of 6.4 needs OpenGL on.
  cmake -S "$src" -B "$out/qt-build/qtbase" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$qt" "${qt_host[@]}" \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DFEATURE_tabletevent=OFF -DFEATURE_dbus=OFF \
    -DFEATURE_sql=OFF -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF
  nice -n 19 cmake --build "$out/qt-build/qtbase" -j "$jobs"
  cmake --install "$out/qt-build/qtbase" >/dev/null
  echo "$(($(date +%s) - started_qt))" >"$qt/.qtbase-seconds"
  touch "$qt/.qtbase-done"
fi
if [ ! -f "$qt/.qtserialport-done" ]; then
  src=$(ls -d "$out"/qt-src/qt6-serialport-*/ | head -n 1)
  step "cross-building qtserialport"
  cmake -S "$src" -B "$out/qt-build/qtserialport" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$qt" -DCMAKE_INSTALL_PREFIX="$qt" "${qt_host[@]}"
  nice -n 19 cmake --build "$out/qt-build/qtserialport" -j "$jobs"
  cmake --install "$out/qt-build/qtserialport" >/dev/null
  touch "$qt/.qtserialport-done"
fi

step "cross-building setforge.exe"
gui=$out/gui
cmake -S "$root" -B "$gui" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_PREFIX_PATH="$qt;$out/prefix" "${qt_host[@]}" -DCMAKE_BUILD_TYPE=Release -DSETFORGE_WERROR=ON \
  -DSETFORGE_BUILD_TESTS=OFF -DSETFORGE_BUILD_BENCH=OFF >/dev/null
nice cmake --build "$gui" -j "$jobs" --target setforge

# The program with its workspace, Qt's DLLs and plugins, and the MinGW runtime.
step "laying out the program"
app=$out/setforge-windows
rm -rf "$app"
mkdir -p "$app/platforms" "$app/styles"
cp "$gui/bin/setforge.exe" "$app/"
cp -r "$root/workspace/." "$app/"
for dll in Qt6Core Qt6Gui Qt6Widgets Qt6Network Qt6SerialPort; do cp "$qt/bin/$dll.dll" "$app/"; done
cp "$qt/plugins/platforms/qwindows.dll" "$app/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$app/styles/" 2>/dev/null || true
cp /usr/lib/gcc/x86_64-w64-mingw32/*-posix/{libstdc++-6,libgcc_s_seh-1}.dll /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll "$app/"

step "starting it under Wine in Xvfb"
export WINEPREFIX=$out/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
shot=$root/docs/screenshots/windows-wine.png
xvfb-run -a -s "-screen 0 1280x900x24" bash -c '
  /usr/lib/wine/wine64 "$1/setforge.exe" &
  for i in $(seq 1 60); do
    sleep 1
    xwininfo -root -tree | grep -q "KX40917" && break
  done
  sleep 3
  import -window root "$2"
  /usr/lib/wine/wineserver64 -k || true
' _ "$app" "$shot"
step "screenshot: $shot; first qtbase build: $(cat "$qt/.qtbase-seconds" 2>/dev/null || echo '?') s"
