# Sourced by the Windows scripts (windows-check.sh, windows-gui.sh, windows-screenshot.sh):
# strict mode whose every failing exit names its line and command, and Wine calls that cannot
# hang the run. Needs `name` set to the script's name before it is sourced.
set -Eeuo pipefail
# Under `set -e` a failing command would end the script with no word; this names it. Commands
# in conditions (if, ||, &&) do not trigger it, so deliberate checks stay quiet.
trap 'status=$?; echo "$name: ${BASH_SOURCE[0]##*/} line $LINENO: \"$BASH_COMMAND\" failed with exit $status" >&2' ERR

windows_started=${windows_started:-$(date +%s)}
step() { echo "== $name: $* ($(($(date +%s) - windows_started)) s)"; }

mingw_dll_dirs=(/usr/lib/gcc/x86_64-w64-mingw32/*-posix /usr/x86_64-w64-mingw32/lib)

# A Windows path for a Unix one (Wine's Z: drive is the root).
windows_path() { printf 'Z:%s' "$1" | tr / '\\'; }

# The MinGW runtime folders as a Windows search path (WINEPATH), for the helper programs that
# tests copy into folders of their own.
mingw_wine_path() {
  local dir path=""
  for dir in "${mingw_dll_dirs[@]}"; do
    path+="$(windows_path "$dir");"
  done
  printf '%s' "$path"
}

# Wine in a prefix of the build folder: no Mono or Gecko prompt, no debug output, no display
# unless a caller sets DISPLAY again.
wine_setup() {
  export WINEPREFIX=$1
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  wine=/usr/lib/wine/wine64
  wineserver=/usr/lib/wine/wineserver64
  [ -x "$wineserver" ] || wineserver=/usr/lib/wine/wineserver
  unset DISPLAY WAYLAND_DISPLAY
  # Wine makes the prefix but not the folders above it.
  mkdir -p "$(dirname "$WINEPREFIX")"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    step "creating the Wine prefix"
    wine_run 120 wineboot --init >/dev/null 2>&1 || true
    wine_settle
  fi
}

# wine_run SECONDS PROGRAM ARGS...: runs a Windows program and returns its exit code; a program
# that is still running after SECONDS is killed, with a message, and gives 124.
wine_run() {
  local limit=$1
  shift
  local status=0
  timeout -k 10 "$limit" "$wine" "$@" || status=$?
  if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
    echo "$name: wine $* did not end within $limit s; killed" >&2
    return 124
  fi
  return "$status"
}

# Waits for every Windows process of the prefix to end (the registry is written then); kills
# them after 60 s, with a message.
wine_settle() {
  if ! timeout 60 "$wineserver" -w; then
    echo "$name: Wine processes still running after 60 s; killing them" >&2
    "$wineserver" -k >/dev/null 2>&1 || true
  fi
}

# Copies into DIR every DLL the given PE files load, directly or through another DLL, that is
# found in the given folders. Windows' own DLLs are left to the system.
copy_dll_closure() {
  local dir=$1
  shift
  local -a folders=() pending=()
  while [ "$1" != -- ]; do
    folders+=("$1")
    shift
  done
  shift
  pending=("$@")
  while [ ${#pending[@]} -gt 0 ]; do
    local file=${pending[0]} dll folder
    pending=("${pending[@]:1}")
    for dll in $(x86_64-w64-mingw32-objdump -p "$file" | sed -n 's/^[[:space:]]*DLL Name: //p'); do
      [ -f "$dir/$dll" ] && continue
      for folder in "${folders[@]}"; do
        if [ -f "$folder/$dll" ]; then
          cp "$folder/$dll" "$dir/"
          pending+=("$dir/$dll")
          break
        fi
      done
    done
  done
}

# Names every DLL that a PE file below DIR loads and that neither lies in the file's own
# folder or DIR nor is one of Windows' own (as Wine's system32 holds them). Prints nothing when
# the folder is complete.
missing_dlls() {
  local dir=$1 system32=$WINEPREFIX/drive_c/windows/system32 file dll
  while IFS= read -r -d '' file; do
    for dll in $(x86_64-w64-mingw32-objdump -p "$file" | sed -n 's/^[[:space:]]*DLL Name: //p'); do
      [ -f "$dir/$dll" ] || [ -f "$(dirname "$file")/$dll" ] && continue
      # Windows' names are not case-sensitive.
      [ -n "$(find "$system32" -maxdepth 1 -iname "$dll" -print -quit)" ] && continue
      # API sets (api-ms-win-*) are resolved by the loader itself.
      case "$dll" in api-ms-win-* | API-MS-WIN-*) continue ;; esac
      echo "${file#"$dir"/}: $dll"
    done
  done < <(find "$dir" -type f \( -iname '*.exe' -o -iname '*.dll' \) -print0)
}

# --- Windows in Xvfb (xdotool) ---------------------------------------------------------------
# start_xvfb FILE: a display of its own; Xvfb picks a free number and writes it to FILE. Sets
# DISPLAY and xvfb_pid (the caller ends it).
start_xvfb() {
  local number_file=$1
  rm -f "$number_file"
  Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 1 50); do
    [ -s "$number_file" ] && break
    sleep 0.2
  done
  [ -s "$number_file" ] || { echo "$name: Xvfb did not start" >&2; exit 1; }
  export DISPLAY=:$(tr -d '\n' <"$number_file")
}
# wait_window PATTERN SECONDS: prints the id of a visible window whose name matches PATTERN.
wait_window() {
  local id="" i
  for i in $(seq 1 $(($2 * 4))); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && break
    sleep 0.25
  done
  echo "$id"
}
window_gone() {
  local i
  for i in $(seq 1 $(($2 * 4))); do
    xdotool getwindowname "$1" >/dev/null 2>&1 || return 0
    xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable' || return 0
    sleep 0.25
  done
  return 1
}
# click WINDOW X Y: a left click at a point of the window's client area.
click() {
  xdotool mousemove --window "$1" "$2" "$3"
  sleep 0.3
  xdotool click 1
}

