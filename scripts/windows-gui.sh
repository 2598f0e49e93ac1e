#!/usr/bin/env bash
# The window program for 64-bit Windows, built and checked under Wine; the second half of the
# Windows step (scripts/windows-check.sh runs it after setforge-cli.exe's checks).
#   1. Qt 6.4.2 for MinGW, built once per machine and cached (scripts/windows-qt.sh).
#   2. setforge.exe, setforge-cli.exe and the GUI tests, cross-built with warnings as errors.
#   3. Every Qt Test program under Wine on the offscreen platform (`-platform offscreen`, as
#      Wine does not hand on QT_* variables; fonts in lib/fonts beside the tests). A skip must
#      name the Wine limitation that causes it (docs/WINDOWS.md lists them).
#   4. setforge-windows-x64.zip, the portable program, unpacked into a folder named
#      "Prüfstand Ø2" and started from there on Demo with the windows platform in Xvfb, with no
#      extra DLL path: the main window's title, one table dialog opened and closed through its
#      buttons (xdotool), the program ended through its own close button, Setforge.xml checked.
#   5. setforge-<version>-win64.exe, the installer (CPack, NSIS): a silent install, the
#      installed program started and closed once shown, its workspace in the Wine user's
#      AppData\Local\Setforge with nothing new in the install folder, a silent uninstall that
#      keeps the workspace.
# Leaves both packages in the build folder and prints their sizes.
#
# Environment: SETFORGE_WINDOWS_BUILD (default build/windows), as windows-check.sh, whose
# cross-built pugixml and GoogleTest (in <build>/prefix) it uses.
name=windows-gui
source "$(dirname "$0")/windows-lib.sh"
cd "$(dirname "$0")/.."
root=$PWD
out=${SETFORGE_WINDOWS_BUILD:-$root/build/windows}
out=$(cd "$out" && pwd)
jobs=$(nproc 2>/dev/null || echo 2)
toolchain=$root/cmake/mingw-w64-x86_64.cmake
prefix=$out/prefix

bash "$root/scripts/install-missing.sh" cmake ninja-build g++-mingw-w64-x86-64-posix mingw-w64-tools wine64 \
  nsis xvfb xauth xdotool qt6-translations-l10n fonts-dejavu-core python3 libqt6core6 libqt6serialport6
for done_file in "$prefix/.pugixml-done" "$prefix/.googletest-done"; do
  [ -f "$done_file" ] || { echo "$name: $done_file is missing; run scripts/windows-check.sh" >&2; exit 1; }
done

# --- Qt -----------------------------------------------------------------------------------------
step "Qt 6.4.2 for MinGW (built once per machine)"
qt=$(bash "$root/scripts/windows-qt.sh")
qt=${qt##*$'\n'}
[ -f "$qt/.setforge-complete" ] || { echo "$name: scripts/windows-qt.sh gave no complete Qt ($qt)" >&2; exit 1; }
echo "Qt: $qt (built in $(cat "$qt/.setforge-build-seconds" 2>/dev/null || echo '?') s)"

# --- Build ------------------------------------------------------------------------------------
step "cross-building setforge.exe, setforge-cli.exe and the GUI tests"
gui=$out/gui
host_options=(-DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake)
# CMake keeps the Qt it found in its cache: a build folder made with another Qt prefix (other
# options, another cache key) is configured afresh rather than linked against the old Qt.
if [ -f "$gui/CMakeCache.txt" ] && [ "$(cat "$gui/.setforge-qt" 2>/dev/null)" != "$qt" ]; then
  step "the Qt prefix changed; configuring the GUI build afresh"
  rm -rf "$gui/CMakeCache.txt" "$gui/CMakeFiles"
fi
mkdir -p "$gui"
echo "$qt" >"$gui/.setforge-qt"
# -Wno-restrict: see windows-check.sh (a false positive of MinGW's GCC 12 inside libstdc++).
cmake -S "$root" -B "$gui" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_PREFIX_PATH="$qt;$prefix" \
  "${host_options[@]}" -DCMAKE_BUILD_TYPE=Release -DSETFORGE_WERROR=ON -DSETFORGE_BUILD_GUI=ON \
  -DSETFORGE_BUILD_TESTS=ON -DSETFORGE_BUILD_BENCH=OFF -DCMAKE_CXX_FLAGS=-Wno-restrict >"$out/gui-configure.log" ||
  { cat "$out/gui-configure.log" >&2; echo "$name: configuring the Windows GUI build failed" >&2; exit 1; }
gui_tests=()
for src in "$root"/tests/gui/*_test.cpp; do
  gui_tests+=("$(basename "$src" .cpp)")
done
cmake --build "$gui" -j "$jobs" --target setforge setforge-cli "${gui_tests[@]}"

# --- GUI tests under Wine -----------------------------------------------------------------------
wine_setup "$out/wineprefix"
# Only this script's Wine processes and its Xvfb are ended when it leaves.
xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  "$wineserver" -k >/dev/null 2>&1 || true
}
trap cleanup EXIT

step "laying out the GUI tests' folder (Qt, plugins, fonts, translations)"
tests_dir=$gui/tests
mkdir -p "$tests_dir/platforms" "$tests_dir/styles" "$tests_dir/lib/fonts" "$tests_dir/translations"
cp "$qt/plugins/platforms/qoffscreen.dll" "$qt/plugins/platforms/qwindows.dll" "$tests_dir/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$tests_dir/styles/"
cp /usr/share/fonts/truetype/dejavu/*.ttf "$tests_dir/lib/fonts/"
cp /usr/share/qt6/translations/qtbase_{de,fr,it}.qm "$tests_dir/translations/"
cp "$root/dist/windows/qt.conf" "$tests_dir/"
exes=()
for t in "${gui_tests[@]}"; do exes+=("$tests_dir/$t.exe"); done
copy_dll_closure "$tests_dir" "$qt/bin" "${mingw_dll_dirs[@]}" -- "${exes[@]}" "$tests_dir"/platforms/*.dll \
  "$tests_dir"/styles/*.dll "$tests_dir"/*.exe
missing=$(missing_dlls "$tests_dir")
[ -z "$missing" ] || { printf '%s: the GUI tests miss DLLs:\n%s\n' "$name" "$missing" >&2; exit 1; }

step "running ${#gui_tests[@]} GUI test programs under Wine (offscreen)"
results=$out/gui-results
rm -rf "$results"
mkdir -p "$results"
# The test helpers (the fake updaters) that tests copy into folders of their own find the MinGW
# runtime through the path, as in the core tests.
wine_path=$(mingw_wine_path)
for t in "${gui_tests[@]}"; do
  status=0
  (cd "$tests_dir" && WINEPATH="$wine_path" wine_run 900 "$tests_dir/$t.exe" -platform offscreen \
    -o "$(windows_path "$results/$t.xml"),xml" -o "$(windows_path "$results/$t.txt"),txt") \
    >"$results/$t.out" 2>&1 || status=$?
  echo "$status" >"$results/$t.status"
done
wine_settle
# A few failed functions get a second run: Wine now and then fails a call that Windows does not.
python3 "$root/scripts/windows-test-report.py" qt-failed "$results" "${gui_tests[@]}" >"$results/again"
while read -r t functions; do
  step "running $t's $functions again under Wine"
  read -r -a names <<<"$functions"
  status=0
  (cd "$tests_dir" && WINEPATH="$wine_path" wine_run 600 "$tests_dir/$t.exe" -platform offscreen \
    -o "$(windows_path "$results/$t.rerun.xml"),xml" "${names[@]}") </dev/null >"$results/$t.rerun.out" 2>&1 || status=$?
  echo "$status" >"$results/$t.rerun.status"
done <"$results/again"
wine_settle
# Passes, failures and skips of every program; a skip that does not name Wine fails the step.
python3 "$root/scripts/windows-test-report.py" qt "$results" "${gui_tests[@]}"

# --- The portable zip ---------------------------------------------------------------------------
step "packing setforge-windows-x64.zip"
stage=$out/gui-package
rm -rf "$stage" "$out/setforge-windows-x64.zip"
cmake --install "$gui" --prefix "$stage/Setforge" --strip >/dev/null
mkdir -p "$stage/Setforge/MASTER" "$stage/Setforge/PROJECTS"
cp -r "$root/workspace/PROJECTS/Demo" "$stage/Setforge/PROJECTS/"
missing=$(missing_dlls "$stage/Setforge")
[ -z "$missing" ] || { printf '%s: the zip misses DLLs:\n%s\n' "$name" "$missing" >&2; exit 1; }
python3 "$root/scripts/windows-zip.py" pack "$stage" "$out/setforge-windows-x64.zip"

# --- The installer --------------------------------------------------------------------------------
step "making the installer (CPack, NSIS)"
rm -rf "$out/installer"
# makensis reads dist/windows/nsis/nsisconf.nsh first: a 64-bit installer.
(cd "$gui" && NSISCONFDIR=$root/dist/windows/nsis cpack -G NSIS -B "$out/installer" >"$out/installer.log" 2>&1) ||
  { tail -n 40 "$out/installer.log" >&2; echo "$name: cpack -G NSIS failed" >&2; exit 1; }
installer=$(find "$out/installer" -maxdepth 1 -name 'setforge-*-win64.exe' -print -quit)
[ -n "$installer" ] || { echo "$name: cpack left no setforge-*-win64.exe in $out/installer" >&2; exit 1; }
cp "$installer" "$out/"
installer=$out/$(basename "$installer")

# --- The real window, from the unpacked zip ---------------------------------------------------
step "the window program from the unpacked zip, in Xvfb"
check=$out/gui-check
rm -rf "$check"
unpacked="$check/Prüfstand Ø2"
python3 "$root/scripts/windows-zip.py" unpack "$out/setforge-windows-x64.zip" "$unpacked"
app=$unpacked/Setforge
printf '<Conf_Settings><lastproj><projectname>Demo</projectname></lastproj></Conf_Settings>' >"$app/Setforge.xml"
start_xvfb "$out/xvfb.display"
title='Telvora - Configurator KX40917 - CANopen / Modbus Slave'
(cd "$app" && exec timeout -k 10 300 "$wine" "$app/setforge.exe" >"$check/setforge.out" 2>&1) &
program=$!
main=$(wait_window "^$title" 60)
[ -n "$main" ] || { echo "$name: no main window titled \"$title\" within 60 s" >&2; exit 1; }
shown=$(xdotool getwindowname "$main")
[ "${shown% }" = "$title" ] || { echo "$name: main window title \"$shown\"" >&2; exit 1; }
echo "main window: \"$shown\""
sleep 2
# Step 2's first button, SDO Client (80,200 170x36), opens its table dialog.
click "$main" 165 218
dialog=""
for _ in $(seq 1 60); do
  for id in $(xdotool search --onlyvisible --name . 2>/dev/null || true); do
    [ "$id" = "$main" ] && continue
    candidate=$(xdotool getwindowname "$id" 2>/dev/null || true)
    case "$candidate" in "" | "$title"* | Default\ IME | *Wine*) continue ;; esac
    dialog=$id
  done
  [ -n "$dialog" ] && break
  sleep 0.25
done
[ -n "$dialog" ] || { echo "$name: the SDO Client button opened no table dialog" >&2; exit 1; }
dialog_name=$(xdotool getwindowname "$dialog")
eval "$(xdotool getwindowgeometry --shell "$dialog")"
echo "table dialog: \"$dialog_name\" (${WIDTH}x${HEIGHT})"
# Its Cancel button: second in the button row at the bottom, after OK (8 px margin, 6 px gap,
# buttons of 75 to 100 px at the style's height).
click "$dialog" 130 $((HEIGHT - 16))
window_gone "$dialog" 20 || { echo "$name: the table dialog's Cancel did not close it" >&2; exit 1; }
echo "table dialog closed by its Cancel button"
# The main window's own close button (632,8 50x50) ends the program, which writes Setforge.xml.
click "$main" 657 33
status=0
wait "$program" || status=$?
[ "$status" -eq 0 ] || { echo "$name: setforge.exe ended with exit $status after its close button" >&2; exit 1; }
grep -q '<projectname>Demo</projectname>' "$app/Setforge.xml" && grep -q '<lastlang>' "$app/Setforge.xml" ||
  { echo "$name: Setforge.xml after the close: $(cat "$app/Setforge.xml")" >&2; exit 1; }
echo "closed by its own close button; Setforge.xml rewritten with Demo"
wine_settle

# --- The installer under Wine -----------------------------------------------------------------
step "silent install, installed start, silent uninstall"
program_files="$WINEPREFIX/drive_c/Program Files/Setforge"
status=0
wine_run 300 "$installer" /S || status=$?
wine_settle
[ "$status" -eq 0 ] || { echo "$name: the installer ended with exit $status" >&2; exit 1; }
for f in setforge.exe setforge-cli.exe Qt6Core.dll platforms/qwindows.dll styles/qwindowsvistastyle.dll \
  LANGUAGE/Deutsch.lng translations/qtbase_de.qm Uninstall.exe; do
  [ -f "$program_files/$f" ] || { echo "$name: the installer left no Program Files\\Setforge\\$f" >&2; exit 1; }
done
for f in PROJECTS MASTER Setforge.xml; do
  [ ! -e "$program_files/$f" ] || { echo "$name: the installer put $f into the program folder" >&2; exit 1; }
done
shortcut=$(find "$WINEPREFIX/drive_c" -path '*Start Menu/Programs/Setforge/Setforge.lnk' -print -quit)
[ -n "$shortcut" ] || { echo "$name: no Start Menu entry Setforge\\Setforge.lnk" >&2; exit 1; }
grep -q 'CurrentVersion\\\\Uninstall\\\\Setforge\]' "$WINEPREFIX/system.reg" ||
  { echo "$name: no Add/Remove Programs entry (Uninstall\\Setforge) in the registry" >&2; exit 1; }
before=$(cd "$program_files" && find . | sort)
status=0
(cd "$program_files" && SETFORGE_CLOSE_WHEN_SHOWN=1 wine_run 120 "$program_files/setforge.exe") || status=$?
wine_settle
[ "$status" -eq 0 ] || { echo "$name: the installed setforge.exe ended with exit $status" >&2; exit 1; }
workspace=$(find "$WINEPREFIX/drive_c/users" -path '*/AppData/Local/Setforge' -type d -print -quit)
[ -n "$workspace" ] && [ -f "$workspace/Setforge.xml" ] && [ -d "$workspace/PROJECTS" ] ||
  { echo "$name: the installed program made no workspace in AppData\\Local\\Setforge" >&2; exit 1; }
after=$(cd "$program_files" && find . | sort)
[ "$before" = "$after" ] ||
  { echo "$name: the installed program changed its folder:" >&2; diff <(echo "$before") <(echo "$after") >&2 || true; exit 1; }
echo "installed: workspace ${workspace#"$WINEPREFIX/drive_c/"}, program folder unchanged"
status=0
# The uninstaller copies itself away and returns; wine_settle waits for the copy.
wine_run 300 "$program_files/Uninstall.exe" /S || status=$?
wine_settle
[ "$status" -eq 0 ] || { echo "$name: the uninstaller ended with exit $status" >&2; exit 1; }
[ ! -e "$program_files/setforge.exe" ] && [ ! -e "$program_files/Qt6Core.dll" ] ||
  { echo "$name: the uninstaller left the program files" >&2; exit 1; }
[ -f "$workspace/Setforge.xml" ] || { echo "$name: the uninstaller removed the user's workspace" >&2; exit 1; }
! grep -q 'CurrentVersion\\\\Uninstall\\\\Setforge\]' "$WINEPREFIX/system.reg" ||
  { echo "$name: the Add/Remove Programs entry is still there" >&2; exit 1; }
echo "uninstalled: program files and registry entry gone, workspace kept"

step "done"
for f in "$out/setforge-windows-x64.zip" "$installer"; do
  echo "$(basename "$f"): $(du -k "$f" | cut -f1) KiB"
done
