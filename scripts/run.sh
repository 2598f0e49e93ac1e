#!/usr/bin/env bash
# Builds Setforge, lays out its workspace beside the executable (MASTER, PROJECTS with the
# Demo project, LANGUAGE) and starts it. Without a display it runs the command-line tool on Demo.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
bash scripts/deps.sh
jobs=$(nproc 2>/dev/null || echo 2)
cmake --preset default >/dev/null
cmake --build --preset default -j "$jobs" --target setforge setforge-cli
bin="$root/build/default/bin"

mkdir -p "$bin/MASTER" "$bin/PROJECTS" "$bin/LANGUAGE"
# Shipped languages are refreshed; the user's own projects are never overwritten.
cp -f "$root"/workspace/LANGUAGE/* "$bin/LANGUAGE/" 2>/dev/null || true
if [ ! -d "$bin/PROJECTS/Demo" ]; then
  cp -r "$root/workspace/PROJECTS/Demo" "$bin/PROJECTS/Demo"
  mkdir -p "$bin/PROJECTS/Demo/bin"
fi
if [ ! -f "$bin/Setforge.xml" ]; then
  printf '%s' '<Conf_Settings><lastproj><projectname>Demo</projectname></lastproj><lastipadd><ipaddress>192.168.2.205</ipaddress></lastipadd><lastlang><language>English</language></lastlang><lastinternet><enable_internet>0</enable_internet><enable_update>0</enable_update><enable_jump_field_tables>0</enable_jump_field_tables><Double_Click_Auto_Size>0</Double_Click_Auto_Size></lastinternet></Conf_Settings>' > "$bin/Setforge.xml"
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found (neither DISPLAY nor WAYLAND_DISPLAY is set): running setforge-cli on the Demo project instead."
  demo="$bin/PROJECTS/Demo"
  "$bin/setforge-cli" compile "$demo"
  "$bin/setforge-cli" eds "$demo" "$demo/bin/Demo.eds"
  "$bin/setforge-cli" dump "$demo/bin/bank1_ESP32.bin"
  exit 0
fi
exec "$bin/setforge" "$@"
