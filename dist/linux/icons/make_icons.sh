#!/usr/bin/env bash
# Renders the application icon's PNG sizes from its SVG (needs rsvg-convert, Debian package
# librsvg2-bin). The PNGs are committed, so building and packaging do not need the tool.
set -euo pipefail
cd "$(dirname "$0")"
for size in 48 256; do
  rsvg-convert -w "$size" -h "$size" -o "example.telvora.Setforge-$size.png" example.telvora.Setforge.svg
done
