#!/bin/sh
# check_pe_interface.sh OBJDUMP PLUGIN LIBMX_DEF LIBMEX_DEF [REQUIRED_IMPORT...]
#
# The binary interface of a Windows plug-in (geoharm.mexw64/.mexw32), read
# with objdump -p:
#   - the export directory carries the file's own name;
#   - exactly one export, MEXFUNCTION, undecorated, as ordinal 1 (base 1);
#   - it imports from libmx.dll, libmex.dll and system DLLs (KERNEL32.dll,
#     msvcrt.dll) only: never from a mingw runtime DLL (libgcc_s_*,
#     libstdc++-6, libwinpthread-1) or anything else;
#   - every name imported from libmx.dll / libmex.dll is one of those in
#     LIBMX_DEF / LIBMEX_DEF (undecorated upper case: no _ prefix, no @N);
#   - each REQUIRED_IMPORT (e.g. MXGETPR) is imported from one of them.
set -eu
objdump=$1
plugin=$2
mxdef=$3
mexdef=$4
shift 4

fail() {
  echo "check_pe_interface: $plugin: $*"
  status=1
}
status=0
dump=$("$objdump" -p "$plugin")
name=$(basename "$plugin")

# Names listed under EXPORTS in a module-definition file.
def_names() { awk '/^EXPORTS/ { on = 1; next } on && NF && $1 !~ /^;/ { print $1 }' "$1"; }

# Export directory.
dirname=$(printf '%s\n' "$dump" | awk '$1 == "Name" && NF == 3 { print $3; exit }')
[ "$dirname" = "$name" ] || fail "export directory name is '$dirname', not '$name'"
base=$(printf '%s\n' "$dump" | awk '/^Ordinal Base/ { print $3; exit }')
[ "$base" = "1" ] || fail "ordinal base is '$base', not 1"
exports=$(printf '%s\n' "$dump" | awk '
  /^\[Ordinal\/Name Pointer\] Table/ { on = 1; next }
  on && /^\t\[/ { print $NF; next }
  on { exit }')
[ "$exports" = "MEXFUNCTION" ] || fail "exports '$(echo $exports)', not MEXFUNCTION alone"
ordinal=$(printf '%s\n' "$dump" | awk '/^\t\[ *0\] \+base\[ *[0-9]+\]/ { sub(/.*\+base\[ */, ""); sub(/\].*/, ""); print; exit }')
[ "$ordinal" = "1" ] || fail "MEXFUNCTION has ordinal '$ordinal', not 1"

# Imported DLLs and, per DLL, the names.
imports=$(printf '%s\n' "$dump" | awk '
  /^\tDLL Name:/ { dll = $3; print dll " -"; next }
  /^\tvma:/ { next }
  dll != "" && /^\t[ 0-9a-f]+\t/ { print dll " " $NF; next }
  /^$/ { dll = "" }')
for dll in $(printf '%s\n' "$imports" | awk '$2 == "-" { print $1 }' | sort -u); do
  case $dll in
    libmx.dll | libmex.dll | KERNEL32.dll | msvcrt.dll) ;;
    *) fail "imports from $dll" ;;
  esac
done
printf '%s\n' "$imports" | grep -q '^libmx.dll -' || fail "imports nothing from libmx.dll"
for pair in "libmx.dll:$mxdef" "libmex.dll:$mexdef"; do
  dll=${pair%%:*}
  allowed=$(def_names "${pair#*:}")
  for sym in $(printf '%s\n' "$imports" | awk -v d="$dll" '$1 == d && $2 != "-" { print $2 }'); do
    printf '%s\n' "$allowed" | grep -qx "$sym" || fail "imports '$sym' from $dll, which it does not export"
  done
done
for sym in "$@"; do
  printf '%s\n' "$imports" | grep -qE "^libme?x\.dll $sym\$" || fail "does not import $sym"
done

[ "$status" -eq 0 ] && echo "check_pe_interface: $plugin: $name, MEXFUNCTION @1 only; imports: $(printf '%s\n' "$imports" | awk '$2 == "-" { printf "%s ", $1 }')"
exit "$status"
