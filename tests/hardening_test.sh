#!/usr/bin/env bash
# Checks that the Linux program is built hardened: position independent,
# read-only relocations bound at start, stack canaries. (bottles.exe's
# address randomisation and DEP are checked by tests/win32/exe_check.py.)
# Usage: hardening_test.sh <program>...
set -uo pipefail

status=0
ok() { echo "ok: $*"; }
fail() { echo "FAIL: $*"; status=1; }

check_elf() {
  # Each listing is read whole first: grep -q in a pipe would end readelf
  # early, and pipefail would count that as a failure.
  local program=$1 type segments dynamic symbols
  type=$(readelf -hW "$program" | sed -n 's/^ *Type: *//p')
  segments=$(readelf -lW "$program")
  dynamic=$(readelf -dW "$program")
  symbols=$(readelf --dyn-syms -W "$program")
  echo "$program: type $type"
  case $type in
    DYN*) ok "position independent (ET_DYN)" ;;
    *) fail "not position independent: type $type, want DYN (link with -pie)" ;;
  esac

  if grep -q 'GNU_RELRO' <<<"$segments"; then
    ok "GNU_RELRO segment"
  else
    fail "no GNU_RELRO segment (link with -z relro)"
  fi

  local flags
  flags=$(grep -E '\((FLAGS|FLAGS_1|BIND_NOW)\)' <<<"$dynamic" || true)
  echo "dynamic flags: $(echo $flags)"
  if grep -qE '\(BIND_NOW\)|\(FLAGS\).*BIND_NOW|\(FLAGS_1\).*\bNOW\b' <<<"$flags"; then
    ok "bound now (full RELRO)"
  else
    fail "symbols not bound at start: no BIND_NOW or FLAGS_1 NOW (link with -z now)"
  fi

  if grep -qE 'UND __stack_chk_fail(@|$)' <<<"$symbols"; then
    ok "imports __stack_chk_fail (stack protector)"
  else
    fail "does not import __stack_chk_fail (compile with -fstack-protector-strong)"
  fi

  local fortified
  fortified=$(grep -oE 'UND __[a-z0-9_]+_chk(@|$)' <<<"$symbols" | sed 's/UND //; s/@//' | sort -u)
  echo "fortified calls: $(echo ${fortified:-none})"
}

[ $# -gt 0 ] || { echo "usage: $0 <program>..."; exit 2; }
for program in "$@"; do
  if [ ! -f "$program" ]; then
    fail "$program does not exist"
  else
    check_elf "$program"
  fi
done
exit $status
