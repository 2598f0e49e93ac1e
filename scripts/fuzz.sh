#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (fuzz preset) and runs each one for a set time,
# then prints the executions and the outcome per target.
#   scripts/fuzz.sh [seconds-per-target, default 60] [target ...]   (default: every fuzz/*_fuzz.cpp)
# New interesting inputs go to build/fuzz/work/<target>, never into the committed seeds. A failing
# input is saved under build/fuzz/artifacts/<target>/: once fixed, copy it to
# fuzz/regressions/<target>/ so every ordinary test run replays it.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
seconds=${1:-60}
[ $# -gt 0 ] && shift
SETFORGE_WITH_FUZZ_TOOLS=1 bash scripts/deps.sh
jobs=${SETFORGE_FUZZ_BUILD_JOBS:-$(nproc 2>/dev/null || echo 2)}

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for src in fuzz/*_fuzz.cpp; do
    targets+=("$(basename "$src" .cpp)")
  done
fi

# Only the fuzz programs: the other programs of the tree are not linked for libFuzzer.
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs" --target "${targets[@]}"

status=0
summary=()
for t in "${targets[@]}"; do
  work="$root/build/fuzz/work/$t"
  artifacts="$root/build/fuzz/artifacts/$t"
  log="$root/build/fuzz/logs/$t.log"
  mkdir -p "$work" "$artifacts" "$(dirname "$log")"
  args=(-max_total_time="$seconds" -timeout=10 -print_final_stats=1 -artifact_prefix="$artifacts/")
  [ -f "fuzz/$t.dict" ] && args+=(-dict="fuzz/$t.dict")
  echo "== $t: $seconds s"
  if "$root/build/fuzz/fuzz/$t" "${args[@]}" "$work" "fuzz/corpus/$t" "fuzz/regressions/$t" >"$log" 2>&1; then
    outcome="no failure"
  else
    outcome="FAILED, see $log and $artifacts/"
    status=1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  summary+=("$(printf '%-22s %12s executions in %s s  %s' "$t" "${runs:-?}" "$seconds" "$outcome")")
done
printf '%s\n' "${summary[@]}"
exit $status
