#!/usr/bin/env bash
# Makes docs/screenshots/main-windows.png: the window program from the portable zip, on Demo,
# under Wine with the windows platform in Xvfb. Not part of the test run; run the Windows step
# (scripts/windows-check.sh) first, which leaves the zip in the build folder.
#
#   bash scripts/windows-screenshot.sh [ZIP]
#
# ZIP defaults to build/windows/setforge-windows-x64.zip. Needs ImageMagick's import.
name=windows-screenshot
source "$(dirname "$0")/windows-lib.sh"
cd "$(dirname "$0")/.."
root=$PWD
zip=${1:-$root/build/windows/setforge-windows-x64.zip}
[ -f "$zip" ] || { echo "$name: no $zip; run scripts/windows-check.sh first" >&2; exit 1; }
bash "$root/scripts/install-missing.sh" wine64 xvfb xauth xdotool x11-utils imagemagick
work=$(mktemp -d)
xvfb_pid=""
wine_setup "$root/build/windows/wineprefix"
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  "$wineserver" -k >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
python3 "$root/scripts/windows-zip.py" unpack "$zip" "$work"
app=$work/Setforge
printf '<Conf_Settings><lastproj><projectname>Demo</projectname></lastproj></Conf_Settings>' >"$app/Setforge.xml"
start_xvfb "$work/display"
(cd "$app" && exec timeout -k 10 300 "$wine" "$app/setforge.exe" >/dev/null 2>&1) &
program=$!
main=$(wait_window '^Telvora - Configurator KX40917' 60)
[ -n "$main" ] || { echo "$name: the main window did not appear within 60 s" >&2; exit 1; }
sleep 3
mkdir -p "$root/docs/screenshots"
import -window "$main" "$root/docs/screenshots/main-windows.png"
# The program's own close button (632,8 50x50).
click "$main" 657 33
wait "$program" || true
echo "wrote docs/screenshots/main-windows.png"
