#!/usr/bin/env bash
# The sources' style and lint: clang-format (.clang-format) must leave every
# C++ file as it is, and clang-tidy (.clang-tidy) finds nothing in the
# program's own sources, those of the Linux build (build/linux) and those of
# the Windows build (build/windows, read with mingw-w64's headers) that the
# Linux build has not (the sources both builds share have no part of their
# own for Windows), one file a core at a time. Run by ./test.sh after both
# builds.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/deps.sh
bottles_install clang-format clang-tidy

mapfile -t sources < <(git ls-files '*.cpp' '*.h' 2>/dev/null || find board forms window app tests fuzz bench -name '*.cpp' -o -name '*.h')
echo "clang-format: ${#sources[@]} files"
clang-format --dry-run --Werror "${sources[@]}"

# The program's own translation units in a build's compilation database.
units() {  # build
  /usr/bin/python3 - "$1" <<'PY'
import json, os, sys
root = os.getcwd() + "/"
for entry in json.load(open(os.path.join(sys.argv[1], "compile_commands.json"))):
    path = os.path.realpath(os.path.join(entry["directory"], entry["file"]))
    relative = path[len(root):] if path.startswith(root) else ""
    if relative.split("/")[0] in ("board", "forms", "window", "app"):
        print(path)
PY
}
status=0
tidied=$(mktemp)
trap 'rm -f "$tidied"' EXIT
for build in build/linux build/windows; do
  [ -f "$build/compile_commands.json" ] || continue
  extra=()
  if [ "$build" = build/windows ]; then
    # clang reads the Windows sources for mingw-w64's target, with the C++
    # and Windows headers that the build's g++ uses (not its own builtins).
    compiler=$(grep -m1 -o '"command": "[^ ]*' "$build/compile_commands.json" | cut -d'"' -f4)
    # (GCC's own optimisation flags mean nothing to clang.)
    extra=(--extra-arg=--target=i686-w64-mingw32 --extra-arg=-Wno-ignored-optimization-argument)
    while read -r dir; do
      case $dir in */include | */include-fixed) ;; *) extra+=("--extra-arg=-isystem$dir") ;; esac
    done < <("$compiler" -E -x c++ - -v </dev/null 2>&1 | sed -n '/<...> search starts here/,/End of search/p' | grep '^ ')
  fi
  mapfile -t files < <(units "$build" | sort -u | comm -23 - "$tidied")
  printf '%s\n' "${files[@]}" | sort -m - "$tidied" -o "$tidied"
  echo "clang-tidy: ${#files[@]} files of $build"
  # Each file's findings together, and a finding fails the run.
  printf '%s\0' "${files[@]}" |
    xargs -0 -r -n 1 -P "$(nproc)" sh -c 'out=$(clang-tidy "$@" 2>/dev/null); rc=$?; [ -z "$out" ] || echo "$out"; exit $rc' tidy \
      -p "$build" --quiet "${extra[@]}" || status=1
done
exit $status
