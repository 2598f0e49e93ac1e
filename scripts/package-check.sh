#!/usr/bin/env bash
# Builds the Debian package from the lean "package" preset (Release, no tests, no benchmarks),
# unpacks it into a temporary root with dpkg-deb -x (nothing in the system changes) and checks
# the unpacked tree as an installed program: the listed files, setforge-cli on a copy of Demo,
# the desktop program started offscreen by an unprivileged user with its workspace in a
# temporary home, the shell completion, lintian, desktop-file-validate and appstreamcli.
# Run from scripts/test.sh after the tests; it needs root for setpriv.
set -euo pipefail
cd "$(dirname "$0")/.."
src=$(pwd)
bash scripts/deps.sh
jobs=$(nproc 2>/dev/null || echo 2)

step() { printf '\n== package check: %s\n' "$*"; }
fail() { echo "package check FAILED: $*" >&2; exit 1; }

step "build the .deb"
started=$(date +%s)
cmake --preset package >/dev/null
cmake --build --preset package -j "$jobs"
rm -f build/package/setforge_*.deb
(cd build/package && cpack -G DEB >/dev/null)
deb=$(ls build/package/setforge_*.deb)
echo "built $deb in $(($(date +%s) - started)) s"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root="$work/root"
mkdir "$root"
dpkg-deb -x "$deb" "$root"
# The unprivileged user below must reach the unpacked programs.
chmod 755 "$work" "$root"

step "control fields"
dpkg-deb -f "$deb" Package Version Depends Recommends
[ "$(dpkg-deb -f "$deb" Package)" = setforge ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$(sed -n 's/^project(Setforge VERSION \([^ ]*\) .*/\1/p' CMakeLists.txt)" ] ||
  fail "version differs from the project's"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "Depends lacks the Qt libraries (shlibdeps)"
dpkg-deb -f "$deb" Depends | grep -q 'libpugixml' || fail "Depends lacks pugixml (shlibdeps)"
dpkg-deb -f "$deb" Recommends | tr ',' '\n' | sed 's/^ *//' | grep -qx 'iputils-ping' ||
  fail "iputils-ping is not recommended"
# No maintainer scripts: triggers of the icon theme and the menu do their work.
if dpkg-deb -e "$deb" "$work/control" && ls "$work/control" | grep -Eq '^(pre|post)(inst|rm)$'; then
  fail "unexpected maintainer scripts"
fi

step "listed files"
id=example.telvora.Setforge
for f in usr/bin/setforge usr/bin/setforge-cli \
  usr/share/setforge/LANGUAGE/Deutsch.lng usr/share/setforge/LANGUAGE/Italiano.lng \
  "usr/share/setforge/LANGUAGE/Français.lng" usr/share/setforge/LANGUAGE/DefaultFlag.bmp \
  usr/share/setforge/LANGUAGE/Deutsch.bmp \
  "usr/share/applications/$id.desktop" "usr/share/metainfo/$id.metainfo.xml" \
  "usr/share/icons/hicolor/scalable/apps/$id.svg" "usr/share/icons/hicolor/48x48/apps/$id.png" \
  "usr/share/icons/hicolor/256x256/apps/$id.png" usr/share/man/man1/setforge-cli.1.gz \
  usr/share/man/man1/setforge.1.gz usr/share/bash-completion/completions/setforge-cli \
  usr/share/doc/setforge/copyright usr/share/doc/setforge/changelog.gz; do
  [ -f "$root/$f" ] || fail "missing /$f"
done
file "$root/usr/share/icons/hicolor/48x48/apps/$id.png" | grep -q '48 x 48' || fail "48 px icon size"
file "$root/usr/share/icons/hicolor/256x256/apps/$id.png" | grep -q '256 x 256' || fail "256 px icon size"
echo "all files present"

step "setforge-cli from the unpacked tree"
cli="$root/usr/bin/setforge-cli"
"$cli" --version | tee "$work/version"
grep -q "^setforge-cli $(dpkg-deb -f "$deb" Version) " "$work/version" || fail "--version"
cp -r workspace/PROJECTS/Demo "$work/Demo"
"$cli" compile "$work/Demo"
for image in bank.bin bank1_ESP32.bin bank2_ESP32.bin; do
  [ -s "$work/Demo/bin/$image" ] || fail "compile wrote no $image"
done
"$cli" dump "$work/Demo/bin/bank1_ESP32.bin" >/dev/null

step "manual page and completion cover every command"
commands=$("$cli" --help | awk '/^Commands:/ { on = 1; next } /^$/ { on = 0 } on && /^  [a-z]/ { print $1 }')
[ -n "$commands" ] || fail "no commands in --help"
man=$(gzip -dc "$root/usr/share/man/man1/setforge-cli.1.gz")
completion="$root/usr/share/bash-completion/completions/setforge-cli"
for command in $commands; do
  grep -q "^\.BI $command " <<<"$man" || fail "manual page lacks $command"
  grep -q "\b$command\b" "$completion" || fail "completion lacks $command"
done
for word in SOURCE_DATE_EPOCH "EXIT STATUS"; do
  grep -q "$word" <<<"$man" || fail "manual page lacks $word"
done
# Completes the words of `line` up to its end and prints the candidates.
complete_line() {
  bash -c 'source /usr/share/bash-completion/bash_completion; source "$1"
    COMP_LINE=$2; COMP_POINT=${#COMP_LINE}; read -ra COMP_WORDS <<<"$COMP_LINE"
    [[ $COMP_LINE == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _setforge_cli; echo "${COMPREPLY[*]}"' _ "$completion" "$1"
}
check_completion() {
  local got
  got=$(complete_line "$1")
  [ "$got" = "$2" ] || fail "completion of '$1': got '$got', expected '$2'"
}
check_completion "setforge-cli co" "compile"
check_completion "setforge-cli --v" "--version"
check_completion "setforge-cli update Demo --option f" "firmware"
check_completion "setforge-cli update Demo --option " "both firmware configuration"
check_completion "setforge-cli update Demo --n" "--no-read-back"
check_completion "setforge-cli dump --" "--help"
check_completion "setforge-cli simulate Demo --parity " "none even odd"
echo "completion answers as expected"

step "desktop program from the unpacked tree, as an unprivileged user"
home="$work/home"
mkdir "$home"
chown nobody:nogroup "$home"
run_gui() {
  setpriv --reuid=nobody --regid=nogroup --clear-groups \
    env -i PATH=/usr/bin:/bin HOME="$home" XDG_DATA_HOME="$home/data" QT_QPA_PLATFORM=offscreen \
    QT_QPA_FONTDIR=/usr/share/fonts/truetype/dejavu SETFORGE_CLOSE_WHEN_SHOWN=1 \
    timeout 60 "$root/usr/bin/setforge"
}
run_gui || fail "setforge did not start and end on its own"
workspace="$home/data/Setforge"
for dir in MASTER PROJECTS LANGUAGE; do
  [ -d "$workspace/$dir" ] || fail "no $dir in $workspace"
done
[ -f "$workspace/Setforge.xml" ] || fail "no settings written in $workspace"
[ -z "$(ls -A "$root/usr/bin" | grep -Ev '^setforge(-cli)?$')" ] || fail "something was written beside the executable"
echo "workspace created in $workspace"
# A saved language whose file is missing is written back as English; one found among the
# shipped languages (the user's LANGUAGE is empty) is kept.
sed 's|<language>[^<]*</language>|<language>Deutsch</language>|' "$workspace/Setforge.xml" >"$work/settings"
cp "$work/settings" "$workspace/Setforge.xml"
chown nobody:nogroup "$workspace/Setforge.xml"
run_gui || fail "second start"
grep -q '<language>Deutsch</language>' "$workspace/Setforge.xml" ||
  fail "the shipped Deutsch.lng was not found: $(cat "$workspace/Setforge.xml")"
echo "shipped language read from $root/usr/share/setforge/LANGUAGE"

step "setforge-cli update takes MASTER from the same workspace"
cp -r workspace/PROJECTS/Demo "$home/Demo"
# Demo has the Ethernet port; switched to the serial variant it takes the serial updater, and its
# transmit PDO mapping is left out, as that variant carries register blocks instead.
sed -i 's|<Select_Device_Type>1<|<Select_Device_Type>0<|' "$home/Demo/ParGen.xml"
rm -f "$home/Demo/Transmit_PDO_Define.xml"
chown -R nobody:nogroup "$home/Demo"
# The default option writes firmware, which MASTER must hold: a stand-in will do for a dry run.
printf 'stand-in firmware\n' >"$workspace/MASTER/sim40917.sim"
chown nobody:nogroup "$workspace/MASTER/sim40917.sim"
arguments=$(setpriv --reuid=nobody --regid=nogroup --clear-groups \
  env -i PATH=/usr/bin:/bin HOME="$home" XDG_DATA_HOME="$home/data" \
  "$cli" update "$home/Demo" --serial /dev/ttyUSB0 --dry-run 2>/dev/null)
echo "$arguments"
grep -qF "\"$workspace/MASTER/" <<<"$arguments" || fail "update does not use $workspace/MASTER"

step "desktop-file-validate and appstreamcli"
desktop-file-validate "$root/usr/share/applications/$id.desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml"

step "lintian"
# Errors fail the check; warnings are listed (docs/PACKAGING.md says why each is there).
lintian --fail-on error --display-level '>=warning' "$deb"
echo "package check passed: $deb"
