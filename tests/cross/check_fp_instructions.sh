#!/bin/sh
# check_fp_instructions.sh OBJDUMP [--no-x87 [--x87-return REGEX]] [--avx-only REGEX]
#                           [--avx512-only REGEX] [--fma-only REGEX] [--only REGEX] FILE...
#
# Disassembles FILE (object files, static libraries or binaries) and fails
# when it finds:
#   - a fused multiply-add (vfmadd/vfmsub/vfnmadd/vfnmsub, FMA4 too): a*b+c
#     must round twice.  With --fma-only, the functions whose symbol
#     matches REGEX (the routines built with FMA) may hold the exact
#     division's sequence (lane_divide.h) and nothing else of FMA: a packed
#     double negated multiply-add (vfnmadd132/213/231pd: the remainder
#     a - d q0) whose result register is read by a later packed double
#     multiply-add (vfmadd132/213/231pd: the correction q0 + r y) before
#     any other instruction writes that register; every such multiply-add
#     must read a remainder so formed, and every remainder must be read.
#     (A register copy of a remainder counts as the remainder.)  Any other
#     FMA there fails as anywhere else: a scalar or single-precision form,
#     a multiply-subtract, a lone multiply-add as contraction would make;
#   - with --no-x87: any x87 instruction (every x87 mnemonic starts with
#     "f": fld, fstp, fmul, faddp, fxch, fldcw, ...; no SSE instruction
#     does), whose 80-bit registers would round differently.  With
#     --x87-return, the functions whose symbol matches REGEX (public
#     accessors that return a double, which the 32-bit ABI returns in the
#     x87 register st(0)) may load their result there and do nothing else
#     of x87: fldl from memory, fldz, and fstp %st(0), which drops a value
#     loaded ahead of a branch.  A double so loaded keeps its bits.
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
fmaonly=""
x87return=""
while [ $# -gt 0 ]; do
  case $1 in
    --fma-only) fmaonly=$2; shift 2 ;;
    --no-x87) x87=1; shift ;;
    --x87-return) x87return=$2; shift 2 ;;
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
  bad=$(printf '%s\n' "$listing" | awk -v pat="^($pattern)\$" -v avxonly="$avxonly" -v avx512only="$avx512only" \
    -v fmaonly="$fmaonly" -v x87return="$x87return" '
    # The vector register an operand list writes (AT&T: the last operand),
    # by number ("" for a memory or general register destination).
    function written(ops,   r) {
      if (match(ops, /%[xyz]mm[0-9]+(\{[^}]*\})*$/) == 0) return ""
      r = substr(ops, RSTART, RLENGTH); sub(/\{.*/, "", r); sub(/^%[xyz]mm/, "", r)
      return r
    }
    # The register d, which held a remainder, is written: the remainder is
    # lost unless a copy of it is left.
    function lose(d,   g, r, copies) {
      g = pending[d]; delete pending[d]; copies = 0
      for (r in pending) if (pending[r] == g) copies++
      if (!copies) print fn ": " line " (overwrites a remainder no multiply-add has read)"
    }
    # Remainders not yet read by their correction, at the end of a function.
    function unread(   r) {
      for (r in pending) print fn ": a negated multiply-add whose remainder (register " r ") no multiply-add reads (FMA outside the exact division'"'"'s sequence)"
      delete pending
    }
    /^[0-9a-f]+ <.*>:$/ { unread(); fn = $2; sub(/:$/, "", fn); group = 0 }
    /^ *[0-9a-f]+:/ {
      line = $0; sub(/^ *[0-9a-f]+:[ \t]*/, "", line)
      split(line, w, /[ \t]+/)
      op = w[1]; ops = w[2]
      if (op ~ /^(rep|repz|repnz|lock|data16|notrack|bnd)$/) { op = w[2]; ops = w[3] }
      dst = written(ops)
      if (op ~ pat && op ~ /^f/ && x87return != "" && fn ~ x87return &&
          (op == "fldz" || (op == "fldl" && ops !~ /%st/) || (op == "fstp" && ops == "%st(0)")))
        next
      if (op ~ pat) {
        if (fmaonly == "" || fn !~ fmaonly || op ~ /^f/) { print fn ": " line; next }
        if (op ~ /^vfnmadd(132|213|231)pd$/ && dst != "") {
          if (dst in pending) lose(dst)
          pending[dst] = ++group; next
        }
        if (op ~ /^vfmadd(132|213|231)pd$/) {
          read = 0; rest = ops
          while (match(rest, /%[xyz]mm[0-9]+/)) {
            r = substr(rest, RSTART + 4, RLENGTH - 4); rest = substr(rest, RSTART + RLENGTH)
            if (!read && (r in pending)) read = pending[r]
          }
          if (!read) { print fn ": " line " (FMA outside the exact division'"'"'s sequence)"; next }
          for (r in pending) if (pending[r] == read) delete pending[r]
          if (dst in pending) lose(dst)
          next
        }
        print fn ": " line " (FMA outside the exact division'"'"'s sequence)"; next
      }
      # A copy of a remainder is the remainder too; overwriting the last
      # register that holds one loses it.
      if (dst != "" && op ~ /^v?mov[au]p[sd]$/ && match(ops, /^%[xyz]mm[0-9]+,/)) {
        r = substr(ops, 5, RLENGTH - 5)
        if (r in pending) { pending[dst] = pending[r]; dst = "" }
      }
      if (dst != "" && (dst in pending)) lose(dst)
      if (avxonly != "" && fn !~ avxonly && (op ~ /^v/ || line ~ /%[yz]mm/))
        print fn ": " line " (AVX outside the AVX2 routines)"
      else if (avx512only != "" && fn !~ avx512only &&
               (line ~ /%zmm|%k[0-7]|%[xy]mm(1[6-9]|2[0-9]|3[01])|\{1to[0-9]+\}/))
        print fn ": " line " (AVX-512 outside the AVX-512 routines)"
    }
    END { unread() }')
  echo "check_fp_instructions: $file: $count instructions"
  if [ -n "$bad" ]; then
    printf '%s\n' "$bad" | head -20
    found=1
  fi
done
exit "$found"
