#!/usr/bin/env bash
# check_vm_run.sh VM_RUN
#
# scripts/vm-run.sh as the win32 tests use it, in one boot: the guest runs
# 32-bit programs; the command gets the caller's working directory,
# environment and standard input, its output comes back whole on the right
# stream and its exit status is forwarded; what it writes stays in the
# working directory only.  Then VMs that fail in three ways
# (below) end with status 125, say so, and do not hang.
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

# Numbers to compare in bulk.
seq 1 200000 >numbers
odd_value=$'two  spaces, a \'quote\', a "double" one, $dollar and\na second line'
export GEOHARM_VM_CHECK_VALUE=$odd_value

guest_script='
  echo "cwd=$(pwd)"
  echo "value=$GEOHARM_VM_CHECK_VALUE"
  echo "stdin=$(cat)"
  echo "wine32=$(/usr/lib/wine/wine --version >/dev/null 2>&1 && echo runs || echo fails)"
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
check "standard error, its own stream" "$(seq 1 200000 | md5sum)" "$(grep -v '^vm-run.sh:' err)"
check "200000 lines written back to the working directory" "" "$(cmp numbers numbers.back 2>&1)"
check "the working directory is writable" "written" "$(cat written-in-cwd 2>&1)"
check "the rest of the root is not" "absent" "$([[ -e $outside ]] && echo present || echo absent)"
rm -f "$outside"

# VMs that fail, each without a status from the guest: status 125, the
# failure said, and no hang.  qemu refuses the processor model; the time
# limit ends a VM, still booting or already in a command that does not end
# (a fast machine boots the guest within the limit); the guest powers off
# in the middle of the command (the console's tail then shows how far it
# came).
for failure in cpu time-limit power-off; do
  status=0
  case $failure in
    cpu) GEOHARM_VM_CPU=no-such-processor timeout 120 bash "$vm_run" true ;;
    time-limit) GEOHARM_VM_TIMEOUT=2 timeout 120 bash "$vm_run" sleep 600 ;;
    power-off) timeout 300 bash "$vm_run" sh -c 'echo before; /bin/busybox poweroff -f; sleep 60; echo after' ;;
  esac >"out.$failure" 2>"err.$failure" || status=$?
  check "a VM that fails ($failure): status" 125 "$status"
  check "a VM that fails ($failure): says so" 1 "$(grep -c 'the VM failed' "err.$failure")"
done
check "a VM that fails (time-limit): names the limit" 1 "$(grep -c 'after the time limit of 2s' err.time-limit)"
check "a VM that fails (power-off): output until then" "before" "$(cat out.power-off)"
check "a VM that fails (power-off): the console's tail" 1 "$(grep -c 'vm-guest: .* running the command' err.power-off)"

# What the failed runs said, for a failure seen only in a CI log.
if ((failed)); then
  for f in err err.*; do echo "--- $f"; grep -v '^[0-9a-f]\{32\}  -$' "$f" | tail -n 60; done
fi
cd .. && rm -rf "$work"
exit "$failed"
