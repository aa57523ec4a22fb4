#!/usr/bin/env bash
# check_vm_run.sh VM_RUN
#
# scripts/vm-run.sh as the win32 tests use it, in one boot: the guest runs
# 32-bit programs; the command gets the caller's working directory,
# environment and standard input, its output comes back whole on the right
# stream and its exit status is forwarded; a read larger than 9p's msize
# is served whole (Wine reads a PE section with one read); what it writes
# stays in the working directory only.  Then a VM that cannot start
# (an unknown processor model) ends with status 125 and says so, and does
# not hang.
set -uo pipefail
vm_run=$1
work=$PWD/vm-run-check
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
outside=/var/tmp/geoharm-vm-run-check.$$
failed=0
check() { # WHAT EXPECTED ACTUAL
  if [[ "$2" == "$3" ]]; then
    echo "ok: $1"
  else
    printf 'FAILED: %s\n  expected: %q\n  got:      %q\n' "$1" "$2" "$3"
    failed=1
  fi
}

# A file of 3 MiB, more than one 9p message; numbers to compare in bulk.
head -c 3145728 /dev/urandom >big
seq 1 200000 >numbers
odd_value=$'two  spaces, a \'quote\', a "double" one, $dollar and\na second line'
export GEOHARM_VM_CHECK_VALUE=$odd_value

guest_script='
  echo "cwd=$(pwd)"
  echo "value=$GEOHARM_VM_CHECK_VALUE"
  echo "stdin=$(cat)"
  echo "wine32=$(/usr/lib/wine/wine --version >/dev/null 2>&1 && echo runs || echo fails)"
  echo "one read=$(dd if=big bs=2M count=1 status=none | wc -c)"
  cat numbers >numbers.back
  seq 1 200000 | md5sum >&2
  echo written >written-in-cwd
  echo written >'"$outside"'
  exit 7'
status=0
printf 'line one\nline two' | bash "$vm_run" bash -c "$guest_script" >out 2>err || status=$?

check "exit status forwarded" 7 "$status"
check "working directory" "cwd=$work" "$(grep '^cwd=' out)"
check "environment" "value=$odd_value" "$(sed -n '/^value=/,/^a second line$/p' out)"
check "standard input" "stdin=line one
line two" "$(sed -n '/^stdin=/,/^line two$/p' out)"
check "32-bit programs run in the guest" "wine32=runs" "$(grep '^wine32=' out)"
check "a 2 MiB read served whole" "one read=2097152" "$(grep '^one read=' out)"
check "standard error, its own stream" "$(seq 1 200000 | md5sum)" "$(grep -v '^vm-run.sh:' err)"
check "200000 lines written back to the working directory" "" "$(cmp numbers numbers.back 2>&1)"
check "the working directory is writable" "written" "$(cat written-in-cwd 2>&1)"
check "the rest of the root is not" "absent" "$([[ -e $outside ]] && echo present || echo absent)"
rm -f "$outside"

# qemu refuses the processor model: no guest, no hang, status 125.
status=0
GEOHARM_VM_CPU=no-such-processor timeout 120 bash "$vm_run" true >out 2>err || status=$?
check "a VM that fails: status" 125 "$status"
check "a VM that fails: says so" 1 "$(grep -c 'the VM failed' err)"

cd .. && rm -rf "$work"
exit "$failed"
