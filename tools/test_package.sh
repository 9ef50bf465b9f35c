#!/usr/bin/env bash
# Installs the Linux build into a throwaway prefix and checks what lands there
# (program, desktop entry, icons, AppStream data, manual pages) with the
# freedesktop validators, then builds build/package/bottles_<version>_<arch>.deb
# with CPack and checks its fields, its contents, Debian's policy (lintian)
# and that the program in it opens.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/deps.sh
# shellcheck disable=SC2086
bottles_install $BOTTLES_BUILD_PACKAGES $BOTTLES_TEST_PACKAGES \
  dpkg-dev file desktop-file-utils appstream lintian man-db x11-utils fontconfig binutils

id=org.example.bottles
build=build/linux
out=build/package

status=0
ok() { echo "ok: $*"; }
fail() { echo "FAIL: $*"; status=1; }
die() { echo "FAIL: $*"; exit 1; }

echo "-- building $build"
[ -f "$build/build.ninja" ] ||
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)"
[ -f "$build/CPackConfig.cmake" ] || die "$build/CPackConfig.cmake is missing (is cmake/packaging.cmake included?)"
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
[ -n "$version" ] || die "no CPACK_PACKAGE_VERSION in $build/CPackConfig.cmake"
release=$(sed -n 's/^set(CPACK_DEBIAN_PACKAGE_RELEASE "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
[ -n "$release" ] || die "no CPACK_DEBIAN_PACKAGE_RELEASE in $build/CPackConfig.cmake"
arch=$(dpkg --print-architecture)

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# The files of an installed tree under <root> (the prefix, or usr/ of the .deb).
check_tree() {
  local root=$1 what=$2 f
  for f in games/bottles share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
           share/icons/hicolor/{32x32,64x64,128x128}/apps/$id.png share/doc/bottles/copyright \
           share/doc/bottles/changelog.gz share/doc/bottles/changelog.Debian.gz \
           share/man/man6/bottles.6.gz share/man/bg/man6/bottles.6.gz; do
    if [ -f "$root/$f" ]; then ok "$what has $f"; else fail "$what lacks $f"; fi
  done
  [ -x "$root/games/bottles" ] || fail "$what: games/bottles is not executable"
}

echo "-- cmake --install into a throwaway prefix"
prefix=$tmp/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
check_tree "$prefix" "the installed tree"
extra=$(cd "$prefix" && find . -type f | sed 's|^\./||' | grep -Ev "^(games/bottles|share/applications/$id\.desktop|share/metainfo/$id\.metainfo\.xml|share/icons/hicolor/[0-9]+x[0-9]+/apps/$id\.png|share/doc/bottles/(copyright|changelog(\.Debian)?\.gz)|share/lintian/overrides/bottles|share/man/(bg/)?man6/bottles\.6\.gz)\$" || true)
[ -z "$extra" ] && ok "nothing else is installed" || fail "unexpected installed files: $extra"

echo "-- icons"
for size in 32 64 128; do
  png=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
  [ -f "$png" ] || continue
  kind=$(file -b "$png")
  case $kind in
    "PNG image data, $size x $size, 8-bit/color RGBA, non-interlaced") ok "$size px icon: $kind" ;;
    *) fail "$png: $kind, want a $size x $size RGBA PNG" ;;
  esac
  # Width and height straight from the IHDR chunk, which follows the 8-byte
  # signature and the chunk's length and type.
  read -r w3 w2 w1 w0 h3 h2 h1 h0 < <(od -An -tu1 -j16 -N8 "$png")
  width=$(( (w3 << 24) | (w2 << 16) | (w1 << 8) | w0 ))
  height=$(( (h3 << 24) | (h2 << 16) | (h1 << 8) | h0 ))
  [ "$width x $height" = "$size x $size" ] && ok "IHDR says $width x $height" ||
    fail "$png: IHDR says $width x $height, want $size x $size"
  # ImageMagick reads the XPM and the PNG on its own; nearest-neighbour
  # sampling of the drawing must give the very same pixels, alpha included.
  convert app/icon/bottles.xpm -sample "${size}x${size}" "png32:$tmp/ref-$size.png"
  differ=$(compare -metric AE "$tmp/ref-$size.png" "$png" null: 2>&1 || true)
  [ "$differ" = 0 ] && ok "$size px icon has the XPM's pixels" ||
    fail "$size px icon: $differ pixels differ from app/icon/bottles.xpm scaled up"
done

echo "-- desktop entry"
desktop=$prefix/share/applications/$id.desktop
if report=$(desktop-file-validate "$desktop" 2>&1) && [ -z "$report" ]; then
  ok "desktop-file-validate: no errors, warnings or hints"
else
  fail "desktop-file-validate $desktop:"; echo "$report"
fi
key() { sed -n "s/^$1=//p" "$desktop"; }
for pair in Type=Application Exec=/usr/games/bottles Icon=$id Terminal=false StartupWMClass=bottles; do
  [ "$(key "${pair%%=*}")" = "${pair#*=}" ] && ok "$pair" || fail "want $pair, have ${pair%%=*}=$(key "${pair%%=*}")"
done
for category in Game LogicGame; do
  case ";$(key Categories)" in *";$category;"*) ok "Categories has $category" ;;
    *) fail "Categories=$(key Categories) lacks $category" ;; esac
done
for k in Name Comment Keywords; do
  if key "$k" | LC_ALL=C.UTF-8 grep -qP '\p{Cyrillic}'; then ok "$k is Bulgarian: $(key "$k")"; else fail "$k=$(key "$k") has no Cyrillic letters"; fi
done
[ -x "$prefix/$(key Exec | cut -d' ' -f1 | sed 's|^/usr/||')" ] && ok "Exec names the installed program" ||
  fail "Exec=$(key Exec) is not an installed program"

echo "-- AppStream"
metainfo=$prefix/share/metainfo/$id.metainfo.xml
# Pedantic, and not one remark: errors, warnings, infos and pedantic notes
# alike (the lines of a remark start with its letter and a colon).
if report=$(appstreamcli validate --pedantic --no-net "$metainfo" 2>&1) && ! grep -Eq '^[EWIP]:' <<<"$report"; then
  ok "appstreamcli validate --pedantic --no-net: $(echo "$report" | tail -n 1)"
else
  fail "appstreamcli validate --pedantic --no-net $metainfo:"; echo "$report"
fi
if report=$(appstreamcli validate-tree --no-net "$prefix" 2>&1); then
  ok "appstreamcli validate-tree --no-net (metainfo, desktop entry and icons together)"
else
  fail "appstreamcli validate-tree --no-net $prefix:"; echo "$report"
fi
grep -q "<id>$id</id>" "$metainfo" && ok "component id $id" || fail "the component id is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" &&
  ok "launchable is the installed $id.desktop" || fail "no launchable desktop-id $id.desktop"
grep -q "<content_rating type=\"oars-1.1\"" "$metainfo" && ok "OARS 1.1 content rating" ||
  fail "no oars-1.1 content rating"
grep -Eq "<release version=\"$version\" date=\"[0-9]{4}-[0-9]{2}-[0-9]{2}\"" "$metainfo" &&
  ok "release $version listed" || fail "the metainfo lists no release $version with a date"

echo "-- the .deb"
deb=$out/bottles_${version}-${release}_${arch}.deb
rm -f "$out"/*.deb
cpack --config "$build/CPackConfig.cmake" -B "$out" >"$tmp/cpack.log" 2>&1 ||
  { cat "$tmp/cpack.log"; die "cpack failed"; }
[ -f "$deb" ] || { ls "$out"; die "cpack made no $deb"; }
ok "built $deb"
dpkg-deb --info "$deb"
field() { dpkg-deb --field "$deb" "$1"; }
for pair in Package=bottles Version=$version-$release Architecture=$arch Section=games Recommends=qt6-wayland; do
  [ "$(field "${pair%%=*}")" = "${pair#*=}" ] && ok "$pair" || fail "want $pair, have $(field "${pair%%=*}")"
done
[ -n "$(field Maintainer)" ] && [ -n "$(field Description)" ] && ok "Maintainer and Description set" ||
  fail "Maintainer or Description missing"
depends=$(field Depends)
# The bare package names of Depends, one a line.
names=$(echo "$depends" | tr ',|' '\n\n' | sed 's/(.*)//; s/ //g' | grep -v '^$')
needs() {  # package why
  # (No pipe into grep -q: under pipefail, a writer cut off by grep's early
  # exit would fail the test now and then.)
  if grep -qx -- "$1" <<<"$names"; then ok "Depends names $1 ($2)"; else fail "Depends lacks $1 ($2)"; fi
}
for p in libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins fonts-liberation2; do needs "$p" "wanted"; done
# What the program really needs, found on this machine: the owners of the
# libraries it links, of Qt's X11 platform plugin (in libqt6gui6 on Debian 12),
# of the font its window asks for and of the translation it loads.
# dpkg knows a file by the path its package gives, which on a merged /usr
# system may be the /lib one or the /usr/lib one: try both.
owner() {
  local real found
  real=$(readlink -f "$1")
  for path in "$1" "$real" "${real#/usr}" "/usr$real"; do
    found=$(dpkg -S "$path" 2>/dev/null | head -n 1 | cut -d: -f1) || true
    [ -n "$found" ] && { echo "$found"; return; }
  done
  echo "(no package holds $1)"
}
while read -r lib; do
  path=$(ldd "$build/app/bottles" | awk -v l="$lib" '$1 == l { print $3 }')
  [ -n "$path" ] || { fail "ldd does not resolve $lib"; continue; }
  needs "$(owner "$path")" "linked: $lib"
done < <(objdump -p "$build/app/bottles" | awk '$1 == "NEEDED" { print $2 }')
xcb=$(dpkg -S '*/qt6/plugins/platforms/libqxcb.so' 2>/dev/null | head -n 1 | cut -d: -f1)
[ -n "$xcb" ] && needs "$xcb" "X11 platform plugin" || fail "no package on this machine holds libqxcb.so"
font=$(fc-match -f '%{file}' "Times New Roman")
needs "$(owner "$font")" "Times New Roman is $(basename "$font")"
needs "$(owner /usr/share/qt6/translations/qtbase_bg.qm)" "Qt's own texts in Bulgarian"

listing=$(dpkg-deb --contents "$deb")
bad=$(echo "$listing" | awk '$2 != "root/root"')
[ -z "$bad" ] && ok "every entry belongs to root/root" || fail "entries not owned by root: $bad"
bad=$(echo "$listing" | awk '$1 ~ /^d/ && $1 != "drwxr-xr-x"')
[ -z "$bad" ] && ok "every directory is 0755" || fail "directories not 0755: $bad"
bad=$(echo "$listing" | awk '{ print $6 }' | grep -v '^\./usr/' | grep -vx '\./' || true)
[ -z "$bad" ] && ok "everything is under /usr" || fail "entries outside /usr: $bad"

root=$tmp/root
dpkg -x "$deb" "$root"
check_tree "$root/usr" "the unpacked .deb"
if diff <(cd "$prefix" && find . -type f | sort) <(cd "$root/usr" && find . -type f | sort) >"$tmp/diff"; then
  ok "the .deb holds the same files as cmake --install"
else
  fail "the .deb and cmake --install differ:"; cat "$tmp/diff"
fi
for f in share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
         share/icons/hicolor/{32x32,64x64,128x128}/apps/$id.png; do
  cmp -s "$prefix/$f" "$root/usr/$f" || fail "usr/$f in the .deb differs from the installed one"
done
case $(file -b "$root/usr/games/bottles") in
  *", stripped"*) ok "usr/games/bottles is stripped" ;;
  *) fail "usr/games/bottles is not stripped: $(file -b "$root/usr/games/bottles")" ;;
esac

echo "-- Debian's policy"
# Every tag lintian knows, pedantic and informational ones too: not one. (It
# says on standard error that it runs as root.)
if report=$(lintian -I --pedantic --tag-display-limit 0 "$deb" 2>"$tmp/lintian.err") && [ -z "$report" ]; then
  ok "lintian -I --pedantic: nothing to report"
else
  fail "lintian -I --pedantic $deb:"; echo "$report"; cat "$tmp/lintian.err"
fi
# The manual pages as man shows them: the English one in a plain locale, the
# Bulgarian one under bg, both with the exit status of a display not opened.
for page in man/man6/bottles.6.gz man/bg/man6/bottles.6.gz; do
  text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$root/usr/share/$page" 2>"$tmp/man.err") || true
  if [ -s "$tmp/man.err" ]; then fail "$page: man warns:"; cat "$tmp/man.err"
  elif grep -Eq '^ +2 +[^ ]' <<<"$text" && grep -q 'qt6-wayland' <<<"$text"; then ok "$page: exit status 2 and qt6-wayland told"
  else fail "$page does not tell the exit status 2 and qt6-wayland"; fi
done
grep -q 'Програмата няма опции' <(zcat "$root/usr/share/man/bg/man6/bottles.6.gz") && ok "the Bulgarian page is Bulgarian" ||
  fail "the Bulgarian page does not say the program takes no options"

echo "-- the unpacked program on an X server"
tools/xvfb_open.sh --class "$(key StartupWMClass)" "$root/usr/games/bottles" || status=1

[ $status = 0 ] && echo "package checks passed: $deb" || echo "package checks FAILED"
exit $status
