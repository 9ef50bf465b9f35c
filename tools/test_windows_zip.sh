#!/usr/bin/env bash
# Makes the Windows zip from build/windows/app/bottles.exe and checks it: the
# two files and nothing else, the program as built and needing only DLLs that
# come with Windows, and the read-me in UTF-8 with a BOM and CR LF line ends.
# Usage: tools/test_windows_zip.sh [path/to/bottles.exe]
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/deps.sh
bottles_install zip unzip file binutils

exe=${1:-build/windows/app/bottles.exe}
[ -f "$exe" ] || { echo "FAIL: $exe does not exist (run tools/test_windows.sh first)"; exit 1; }
version=$(sed -n 's/^project(bottles VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
zipfile=build/package/bottles-$version-win32.zip

status=0
ok() { echo "ok: $*"; }
fail() { echo "FAIL: $*"; status=1; }

tools/make_windows_zip.sh "$exe"
[ -f "$zipfile" ] || { echo "FAIL: no $zipfile"; exit 1; }
unzip -tq "$zipfile" >/dev/null && ok "unzip -t: no errors in $zipfile" || fail "unzip -t reports errors in $zipfile"
names=$(unzip -Z1 "$zipfile" | sort | tr '\n' ' ')
[ "$names" = "README-bg.txt bottles.exe " ] && ok "holds bottles.exe and README-bg.txt, nothing else" ||
  fail "holds: $names; want bottles.exe and README-bg.txt only"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
unzip -q "$zipfile" -d "$tmp"

cmp -s "$exe" "$tmp/bottles.exe" && ok "bottles.exe is the one built" || fail "bottles.exe differs from $exe"
kind=$(file -b "$tmp/bottles.exe")
case $kind in
  "PE32 executable (GUI) Intel 80386"*) ok "bottles.exe: $kind" ;;
  *) fail "bottles.exe is $kind, want a 32-bit Windows GUI program" ;;
esac
# Self-contained: every DLL it imports is one Windows itself has; a MinGW
# runtime DLL here (libstdc++-6, libgcc_s_dw2-1, libwinpthread-1) would be
# missing on the user's machine.
system_dlls="kernel32 user32 gdi32 comctl32 comdlg32 advapi32 shell32 shlwapi ole32 oleaut32
  oleacc uxtheme imm32 winmm version msvcrt ucrtbase ws2_32 usp10 msimg32 gdiplus"
imports=$(objdump -p "$tmp/bottles.exe" | awk '/DLL Name:/ { print tolower($3) }' | sort -u)
[ -n "$imports" ] || fail "objdump lists no imported DLLs in bottles.exe"
for dll in $imports; do
  base=${dll%.dll}
  if grep -q " $base " <<<" $(tr '\n' ' ' <<<"$system_dlls") " || [[ $base == api-ms-win-* ]]; then
    ok "imports $dll, part of Windows"
  else
    fail "imports $dll, which is not part of Windows: the zip needs it beside bottles.exe"
  fi
done

text=$tmp/README-bg.txt
[ "$(head -c 3 "$text" | od -An -tx1 | tr -d ' ')" = efbbbf ] && ok "README-bg.txt starts with a UTF-8 BOM" ||
  fail "README-bg.txt has no UTF-8 byte order mark"
iconv -f UTF-8 -t UTF-8 "$text" >/dev/null 2>&1 && ok "README-bg.txt is valid UTF-8" || fail "README-bg.txt is not valid UTF-8"
lines=$(tr -cd '\n' <"$text" | wc -c)
crlf=$(grep -c $'\r$' "$text" || true)
[ "$lines" -gt 0 ] && [ "$crlf" = "$lines" ] && [ "$(tr -cd '\r' <"$text" | wc -c)" = "$lines" ] &&
  ok "all $lines lines of README-bg.txt end in CR LF" || fail "README-bg.txt: $crlf of $lines lines end in CR LF"
if cmp -s <(tail -c +4 "$text" | tr -d '\r') packaging/README-bg.txt; then
  ok "README-bg.txt says what packaging/README-bg.txt says"
else
  fail "README-bg.txt does not match packaging/README-bg.txt once the BOM and CRs are gone"
fi
grep -q "bottles.exe" "$text" && LC_ALL=C.UTF-8 grep -qP '\p{Cyrillic}' "$text" &&
  ok "README-bg.txt is in Bulgarian and names bottles.exe" || fail "README-bg.txt lacks Bulgarian text or bottles.exe"

[ $status = 0 ] && echo "Windows zip checks passed: $zipfile" || echo "Windows zip checks FAILED"
exit $status
