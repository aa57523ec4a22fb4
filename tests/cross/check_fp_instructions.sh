#!/bin/sh
# check_fp_instructions.sh OBJDUMP [--no-x87] [--avx-only REGEX] [--avx512-only REGEX] [--only REGEX] FILE...
#
# Disassembles FILE (object files, static libraries or binaries) and fails
# when it finds:
#   - a fused multiply-add (vfmadd/vfmsub/vfnmadd/vfnmsub, FMA4 too): a*b+c
#     must round twice;
#   - with --no-x87: any x87 instruction (every x87 mnemonic starts with
#     "f": fld, fstp, fmul, faddp, fxch, fldcw, ...; no SSE instruction
#     does), whose 80-bit registers would round differently.
#   - with --avx-only: an AVX instruction (VEX or EVEX encoded: every such
#     mnemonic starts with "v"; or any use of a ymm/zmm register) in a
#     function whose symbol does not match REGEX.  Code outside the
#     routines chosen at run time must run on every SSE2 processor.
#   - with --avx512-only: an AVX-512 instruction (a zmm register, a mask
#     register %k0-%k7, an xmm/ymm register 16-31, an embedded broadcast
#     {1toN}: what only the EVEX encoding has) in a function whose symbol
#     does not match REGEX.  AVX2 processors without AVX-512 run the AVX2
#     routines.
# With --only, only the functions whose symbol matches the extended
# regular expression REGEX are looked at (in a linked plug-in: its own
# code, not the C runtime linked in with it, whose long double routines
# are x87 code by nature).
# Prints the offending lines with the function they belong to.
set -eu
objdump=$1
shift
x87=0
only=""
avxonly=""
avx512only=""
while [ $# -gt 0 ]; do
  case $1 in
    --no-x87) x87=1; shift ;;
    --only) only=$2; shift 2 ;;
    --avx-only) avxonly=$2; shift 2 ;;
    --avx512-only) avx512only=$2; shift 2 ;;
    *) break ;;
  esac
done

found=0
for file in "$@"; do
  listing=$("$objdump" -d --no-show-raw-insn "$file" | awk -v only="$only" '
    BEGIN { keep = only == "" }
    /^[0-9a-f]+ <.*>:$/ { keep = only == "" || $2 ~ only }
    keep || /^$/')
  count=$(printf '%s\n' "$listing" | grep -c -E '^ *[0-9a-f]+:' || true)
  if [ "$count" -lt 10 ]; then
    echo "check_fp_instructions: only $count instructions in $file: not a disassembly of the code"
    exit 1
  fi
  pattern='vfn?m(add|sub)[a-z0-9]*|vfmaddsub[a-z0-9]*|vfmsubadd[a-z0-9]*'
  [ "$x87" -eq 1 ] && pattern="$pattern|f[a-z0-9]*"
  bad=$(printf '%s\n' "$listing" | awk -v pat="^($pattern)\$" -v avxonly="$avxonly" -v avx512only="$avx512only" '
    /^[0-9a-f]+ <.*>:$/ { fn = $2; sub(/:$/, "", fn) }
    /^ *[0-9a-f]+:/ {
      line = $0; sub(/^ *[0-9a-f]+:[ \t]*/, "", line)
      split(line, w, /[ \t]+/)
      op = w[1]
      if (op ~ /^(rep|repz|repnz|lock|data16|notrack|bnd)$/) op = w[2]
      if (op ~ pat) print fn ": " line
      else if (avxonly != "" && fn !~ avxonly && (op ~ /^v/ || line ~ /%[yz]mm/))
        print fn ": " line " (AVX outside the AVX2 routines)"
      else if (avx512only != "" && fn !~ avx512only &&
               (line ~ /%zmm|%k[0-7]|%[xy]mm(1[6-9]|2[0-9]|3[01])|\{1to[0-9]+\}/))
        print fn ": " line " (AVX-512 outside the AVX-512 routines)"
    }')
  echo "check_fp_instructions: $file: $count instructions"
  if [ -n "$bad" ]; then
    printf '%s\n' "$bad" | head -20
    found=1
  fi
done
exit "$found"
