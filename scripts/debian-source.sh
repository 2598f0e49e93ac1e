#!/usr/bin/env bash
# Usage: debian-source.sh PACKAGE STATE_DIR DEST_DIR
# Fetches and unpacks Debian's source package PACKAGE into DEST_DIR, through a private apt state
# in STATE_DIR whose deb-src entries mirror the machine's own deb entries. The system's apt
# configuration and lists stay as they are. Prints the unpacked source folder.
set -euo pipefail
package=$1
state=$2
dest=$3
mkdir -p "$state/parts" "$state/lists/partial" "$state/cache/archives/partial" "$dest"
for f in /etc/apt/sources.list.d/*.sources; do
  [ -f "$f" ] && sed 's/^Types:.*$/Types: deb-src/' "$f" >"$state/parts/$(basename "$f")"
done
if [ -f /etc/apt/sources.list ]; then
  sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' /etc/apt/sources.list >"$state/parts/sources.list.list"
fi
options=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$state/parts"
  -o "Dir::State::Lists=$state/lists" -o "Dir::Cache=$state/cache")
if ! apt-get "${options[@]}" update -qq >&2; then
  echo "debian-source: apt-get update of the deb-src lists failed" >&2
  exit 1
fi
if ! (cd "$dest" && apt-get "${options[@]}" source -qq "$package" >&2); then
  echo "debian-source: apt-get source $package failed" >&2
  exit 1
fi
# The unpacked folder is named after the source package and its upstream version.
folder=$(find "$dest" -mindepth 1 -maxdepth 1 -type d -name "$package-*" | sort | tail -n 1)
if [ -z "$folder" ]; then
  echo "debian-source: no unpacked $package folder in $dest" >&2
  exit 1
fi
echo "$folder"
