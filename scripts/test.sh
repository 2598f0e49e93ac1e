#!/usr/bin/env bash
# Checks that the C++ files are formatted and that the shipped language files and flags are
# current, then builds with warnings as errors under AddressSanitizer and
# UndefinedBehaviorSanitizer (leaks included) and runs every test, core and GUI (offscreen), the
# layer-order check among them; any sanitizer report fails its test.
set -euo pipefail
cd "$(dirname "$0")/.."
windows_step=1
if [ "${SETFORGE_SKIP_WINDOWS:-0}" = 1 ] && [ -z "${CI:-}" ]; then
  windows_step=0
fi
SETFORGE_WITH_WINDOWS_TOOLS=$windows_step bash scripts/deps.sh

# On a machine without Qt for MinGW (scripts/windows-qt.sh, cached once per machine), its long
# build starts now at the lowest priority, so it takes only the cores the Linux build and tests
# leave idle; the Windows step waits for it (the script's lock) and, should it have failed,
# resumes it in the foreground, where its error shows. It is stopped if this run ends first.
qt_pid=""
window_program=1
if [ "${SETFORGE_WINDOWS_GUI:-1}" = 0 ] && [ -z "${CI:-}" ]; then
  window_program=0
fi
if [ "$windows_step$window_program" = 11 ] && ! bash scripts/windows-qt.sh --if-built >/dev/null 2>&1; then
  mkdir -p build
  qt_log=$PWD/build/windows-qt.log
  echo "Qt for MinGW is not built on this machine: building it beside the Linux build (log: $qt_log)"
  set -m # its own process group, so that it can be stopped whole
  nice -n 19 bash scripts/windows-qt.sh >"$qt_log" 2>&1 &
  qt_pid=$!
  set +m
  trap '[ -z "$qt_pid" ] || kill -- "-$qt_pid" 2>/dev/null || true' EXIT
fi
jobs=$(nproc 2>/dev/null || echo 2)
export QT_QPA_PLATFORM=offscreen
cmake --preset ci
cmake --build --preset ci --target format-check
python3 scripts/languages/make_lng.py --check
python3 scripts/languages/make_flags.py --check
cmake --build --preset ci -j "$jobs"
ctest --preset ci -j "$jobs"

# --- Windows ---------------------------------------------------------------------------------
# Cross-builds the core, setforge-cli and the core tests with MinGW-w64, runs them under Wine and
# compares setforge-cli.exe's output files with this Linux build's; then Qt for MinGW (cached
# once per machine), setforge.exe and the GUI tests under Wine, the portable zip and the
# installer (docs/WINDOWS.md). Leaves build/windows/setforge-cli-windows-x64.zip,
# setforge-windows-x64.zip and setforge-<version>-win64.exe. A developer may skip it locally
# with SETFORGE_SKIP_WINDOWS=1; under CI (CI set) it always runs.
if [ "$windows_step" = 0 ]; then
  echo "Windows step skipped (SETFORGE_SKIP_WINDOWS=1)"
else
  SETFORGE_LINUX_BUILD=build/ci bash scripts/windows-check.sh
  if [ -n "$qt_pid" ]; then
    qt_status=0
    wait "$qt_pid" || qt_status=$?
    qt_pid=""
    if [ "$qt_status" -ne 0 ]; then
      echo "The background build of Qt for MinGW ended with exit $qt_status (log: $qt_log); the Windows step built it again in the foreground."
    fi
  fi
fi

# The Debian package, as a step of its own: build it, unpack it and check it.
bash scripts/package-check.sh
