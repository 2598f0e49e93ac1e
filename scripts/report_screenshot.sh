#!/usr/bin/env bash
# Makes docs/screenshots/report-Demo.png: the Demo project's register map report, written by
# setforge-cli and rendered by headless Chromium (Debian's `chromium`). Not part of the tests.
#
#   bash scripts/report_screenshot.sh [SETFORGE_CLI]
#
# SETFORGE_CLI defaults to build/dev/bin/setforge-cli. The page loads no resource, and Chromium
# runs with a fresh profile and its background networking off, so nothing leaves the machine.
set -euo pipefail
cd "$(dirname "$0")/.."
cli=${1:-build/dev/bin/setforge-cli}
browser=$(command -v chromium || command -v chromium-browser || true)
if [ -z "$browser" ]; then
  echo "chromium is not installed (apt-get install chromium)" >&2
  exit 1
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
SOURCE_DATE_EPOCH=1765324800 "$cli" report workspace/PROJECTS/Demo "$work/Demo_register_map.html"
mkdir -p docs/screenshots
"$browser" --headless --no-sandbox --disable-gpu --no-first-run --disable-background-networking \
  --disable-component-update --disable-sync --user-data-dir="$work/profile" \
  --hide-scrollbars --window-size=1200,1500 \
  --screenshot="$PWD/docs/screenshots/report-Demo.png" "file://$work/Demo_register_map.html" 2>/dev/null
echo "wrote docs/screenshots/report-Demo.png"
