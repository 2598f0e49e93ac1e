#!/usr/bin/env bash
# Builds Qt 6.4.2 for 64-bit Windows with MinGW-w64, once per machine, and prints its install
# prefix on the last line of standard output.
#
# - qtbase comes from Debian's source package (qt6-base), through a private apt state;
# - qtserialport comes from the project's own copy in third_party/qtserialport, whose SHA-256
#   is checked before it is unpacked.
# Only what Setforge uses is built: Core, Gui, Widgets, Network, SerialPort and Test, the
# windows and offscreen platform plugins and the Windows Vista style. moc, rcc and uic are the
# build machine's own Qt 6.4 tools (QT_HOST_PATH).
#
# The prefix lies outside the clone, named after the version and a hash of the options:
#   ${XDG_CACHE_HOME:-$HOME/.cache}/setforge/qt-6.4.2-mingw-<hash>
# A complete prefix (its .setforge-complete file) is reused without any work; an interrupted
# build resumes where it stopped. The build time is kept in <prefix>/.setforge-build-seconds.
#
#   windows-qt.sh --if-built   prints the prefix when it is complete, and otherwise exits with
#                              3 and builds nothing.
#
# Environment:
#   SETFORGE_QT_CACHE  folder holding the prefixes (default ${XDG_CACHE_HOME:-$HOME/.cache}/setforge)
set -euo pipefail
trap 'echo "windows-qt: line $LINENO: \"$BASH_COMMAND\" failed (exit $?)" >&2' ERR
cd "$(dirname "$0")/.."
root=$PWD
version=6.4.2
cache=${SETFORGE_QT_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/setforge}
jobs=$(nproc 2>/dev/null || echo 2)
serialport_tarball=$root/third_party/qtserialport/qtserialport-everywhere-src-$version.tar.xz
started=$(date +%s)
step() { echo "== windows-qt: $* ($(($(date +%s) - started)) s)" >&2; }

# Debian's sources carry no wintab.h, so tablet events are off. The Windows platform plugin of
# 6.4 does not compile without OpenGL, so OpenGL stays on. Direct2D stays on too: without it Gui
# leaves out the DirectWrite font database, which the Windows platform plugin links against;
# Direct2D 1.1 alone is off, which leaves out the separate direct2d platform plugin. Everything
# else Setforge never uses is off (TLS, since it only speaks plain HTTP; graphics view and the
# widgets no dialog of it shows), and precompiled headers are on: both keep a cold build short.
# The third-party libraries are Qt's bundled copies, so the DLLs need nothing beside them.
qtbase_options=(
  -DCMAKE_BUILD_TYPE=Release -DBUILD_WITH_PCH=ON
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
  -DFEATURE_tabletevent=OFF -DFEATURE_direct2d1_1=OFF -DFEATURE_tuiotouch=OFF
  -DFEATURE_dbus=OFF -DFEATURE_sql=OFF -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF
  -DFEATURE_xml=OFF -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_schannel=OFF
  -DFEATURE_textmarkdownreader=OFF -DFEATURE_textmarkdownwriter=OFF -DFEATURE_textodfwriter=OFF
  -DFEATURE_graphicsview=OFF -DFEATURE_mdiarea=OFF -DFEATURE_calendarwidget=OFF
  -DFEATURE_datetimeedit=OFF -DFEATURE_colordialog=OFF -DFEATURE_fontdialog=OFF
  -DFEATURE_fontcombobox=OFF -DFEATURE_wizard=OFF -DFEATURE_undoview=OFF -DFEATURE_lcdnumber=OFF
  -DFEATURE_dial=OFF -DFEATURE_keysequenceedit=OFF -DFEATURE_columnview=OFF
  -DFEATURE_splashscreen=OFF -DFEATURE_datawidgetmapper=OFF -DFEATURE_commandlinkbutton=OFF
  -DFEATURE_toolbox=OFF -DFEATURE_errormessage=OFF -DFEATURE_syntaxhighlighter=OFF
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_freetype=OFF
  -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF
)
host_options=(-DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake)

# The key: Qt's version, the options, the toolchain file and qtserialport's checksum.
key=$({
  echo "$version"
  printf '%s\n' "${qtbase_options[@]}"
  cat "$root/cmake/mingw-w64-x86_64.cmake"
  cat "$root/third_party/qtserialport/SHA256SUMS"
} | sha256sum | cut -c1-12)
prefix=$cache/qt-$version-mingw-$key
work=$cache/qt-$version-mingw-$key.work
if [ -f "$prefix/.setforge-complete" ]; then
  echo "$prefix"
  exit 0
fi
if [ "${1:-}" = --if-built ]; then
  exit 3
fi

bash "$root/scripts/install-missing.sh" cmake ninja-build g++-mingw-w64-x86-64-posix mingw-w64-tools \
  dpkg-dev qt6-base-dev qt6-base-dev-tools xz-utils >&2

# One build at a time per prefix (a CI run and a developer's run may meet).
mkdir -p "$cache"
exec 9>"$prefix.lock"
if ! flock -n 9; then
  step "another build of $prefix is running; waiting for it"
  flock 9
fi
if [ -f "$prefix/.setforge-complete" ]; then
  echo "$prefix"
  exit 0
fi

# qtserialport first: a wrong checksum stops the script before the long qtbase build.
step "checking qtserialport's SHA-256"
if ! (cd "$root/third_party/qtserialport" && sha256sum --quiet -c SHA256SUMS); then
  echo "windows-qt: $serialport_tarball does not match third_party/qtserialport/SHA256SUMS" >&2
  exit 1
fi

mkdir -p "$work" "$prefix"
# Qt's installed files name the toolchain file; a copy inside the prefix outlives the clone.
mkdir -p "$prefix/share/setforge"
cp "$root/cmake/mingw-w64-x86_64.cmake" "$prefix/share/setforge/mingw-w64-x86_64.cmake"
toolchain=$prefix/share/setforge/mingw-w64-x86_64.cmake

qtbase_src=$(find "$work/src" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*' 2>/dev/null | head -n 1 || true)
if [ -z "$qtbase_src" ] || [ ! -f "$work/src/.qtbase-unpacked" ]; then
  step "fetching qtbase's Debian source (qt6-base)"
  rm -rf "$work/src"
  qtbase_src=$(bash "$root/scripts/debian-source.sh" qt6-base "$work/apt" "$work/src")
  touch "$work/src/.qtbase-unpacked"
fi
case "$qtbase_src" in
  */qt6-base-$version*) ;;
  *)
    echo "windows-qt: Debian's qt6-base source is $(basename "$qtbase_src"), not $version" >&2
    exit 1
    ;;
esac

if [ ! -f "$work/.qtbase-installed" ]; then
  step "configuring qtbase"
  cmake -S "$qtbase_src" -B "$work/qtbase" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_INSTALL_PREFIX="$prefix" "${host_options[@]}" "${qtbase_options[@]}" >"$work/qtbase-configure.log" 2>&1 || {
    tail -n 40 "$work/qtbase-configure.log" >&2
    echo "windows-qt: qtbase's configuration failed; the whole log is $work/qtbase-configure.log" >&2
    exit 1
  }
  step "building qtbase (the long part)"
  qtbase_started=$(date +%s)
  cmake --build "$work/qtbase" -j "$jobs" >&2
  echo "$(($(date +%s) - qtbase_started))" >"$work/.qtbase-seconds"
  cmake --install "$work/qtbase" >/dev/null
  touch "$work/.qtbase-installed"
fi

step "building qtserialport"
rm -rf "$work/qtserialport-src"
mkdir -p "$work/qtserialport-src"
tar -xJf "$serialport_tarball" -C "$work/qtserialport-src" --strip-components=1
cmake -S "$work/qtserialport-src" -B "$work/qtserialport" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_INSTALL_PREFIX="$prefix" \
  "${host_options[@]}" -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF >"$work/qtserialport-configure.log" 2>&1 || {
  tail -n 40 "$work/qtserialport-configure.log" >&2
  echo "windows-qt: qtserialport's configuration failed; the whole log is $work/qtserialport-configure.log" >&2
  exit 1
}
cmake --build "$work/qtserialport" -j "$jobs" >&2
cmake --install "$work/qtserialport" >/dev/null

for f in bin/Qt6Core.dll bin/Qt6Gui.dll bin/Qt6Widgets.dll bin/Qt6Network.dll bin/Qt6SerialPort.dll \
  bin/Qt6Test.dll plugins/platforms/qwindows.dll plugins/platforms/qoffscreen.dll \
  plugins/styles/qwindowsvistastyle.dll; do
  [ -f "$prefix/$f" ] || { echo "windows-qt: the build left no $prefix/$f" >&2; exit 1; }
done
{
  echo "qtbase: $(basename "$qtbase_src") from Debian's qt6-base source"
  echo "qtserialport: $(basename "$serialport_tarball") ($(cut -d' ' -f1 "$root/third_party/qtserialport/SHA256SUMS"))"
  printf '%s\n' "${qtbase_options[@]}"
} >"$prefix/.setforge-build-info"
echo "$(($(date +%s) - started))" >"$prefix/.setforge-build-seconds"
cp "$work/.qtbase-seconds" "$prefix/.setforge-qtbase-seconds"
touch "$prefix/.setforge-complete"
# The sources and object files are not needed again.
rm -rf "$work"
step "Qt $version for MinGW is complete in $prefix"
echo "$prefix"
