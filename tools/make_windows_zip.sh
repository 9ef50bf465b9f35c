#!/usr/bin/env bash
# Packs the Windows build into build/package/bottles-<version>-win32.zip:
# bottles.exe, which needs no other files, and a short read-me in Bulgarian.
# Usage: tools/make_windows_zip.sh [path/to/bottles.exe]
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/deps.sh
bottles_install zip

exe=${1:-build/windows/app/bottles.exe}
[ -f "$exe" ] || { echo "make_windows_zip: $exe does not exist (run tools/test_windows.sh first)" >&2; exit 1; }
version=$(sed -n 's/^project(bottles VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "make_windows_zip: no version in the project() line of CMakeLists.txt" >&2; exit 1; }
readme=packaging/README-bg.txt
if grep -q $'\r' "$readme"; then echo "make_windows_zip: $readme should have LF line ends" >&2; exit 1; fi

out=build/package
zipfile=$out/bottles-$version-win32.zip
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp -p "$exe" "$stage/bottles.exe"
# UTF-8 with a byte order mark and CR LF: Notepad then shows the Cyrillic
# right on any Windows, whatever its ANSI code page, where Windows-1251 text
# reads right only on systems set to Cyrillic.
{ printf '\357\273\277'; sed 's/$/\r/' "$readme"; } >"$stage/README-bg.txt"

mkdir -p "$out"
rm -f "$zipfile"
# -X leaves out Unix owners and times, which Windows has no use for.
(cd "$stage" && zip -q -X -9 "$OLDPWD/$zipfile" bottles.exe README-bg.txt)
echo "made $zipfile"
