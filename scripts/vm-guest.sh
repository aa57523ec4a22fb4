#!/bin/sh
# vm-guest.sh: the guest's side of scripts/vm-run.sh.  Run by the
# initramfs's /init as process 1 (busybox sh), with the job folder mounted
# at /job (9p tag "job"): cwd, cache, job.sh (the command), stdin, and
# with --wine32-prefix the files wine32-prefix and wine-run.
#
# Builds the guest's root: this machine's "/" (9p tag "root", read-only)
# under a tmpfs overlay, the caller's working directory (tag "cwd") and the
# cache (tag "cache") writable at their own paths.  Runs job.sh there with
# bash, its output on the virtio-serial ports "stdout" and "stderr",
# writes its exit status to /job/status and powers off.  Any failure
# before that leaves no status: vm-run.sh reports the VM as failed.
#
# 9p options: msize=512000, the most the virtio transport takes;
# cache=loose, through the page cache: without it Wine loads a program
# whose section is larger than about msize partly as zeros and the program
# crashes at start (geoharm-eval.exe, with its 979 KB .text, does); and the
# guest does not ask the host again for every stat.  Nothing but the guest
# changes these files while it runs.
set -eu
export PATH=/bin

# Progress on the console, with the guest's clock.
say() {
  echo "vm-guest: [$(cut -d ' ' -f 1 /proc/uptime) s] $*"
}
fail() {
  echo "vm-guest: $*"
  poweroff -f
}
ninep="trans=virtio,version=9p2000.L,msize=512000,cache=loose"
new=/newroot

# The root: this machine's, read-only, under a tmpfs overlay.
mkdir -p /lower /rw "$new"
mount -t 9p -o "ro,$ninep" root /lower || fail "cannot mount the root"
mount -t tmpfs -o mode=755 tmpfs /rw
mkdir -p /rw/upper /rw/work
mount -t overlay -o lowerdir=/lower,upperdir=/rw/upper,workdir=/rw/work overlay "$new" ||
  fail "cannot mount the overlay root"
mount -t proc proc "$new/proc"
mount -t sysfs sysfs "$new/sys"
mount -t devtmpfs devtmpfs "$new/dev"
mkdir -p "$new/dev/pts" "$new/dev/shm"
mount -t devpts devpts "$new/dev/pts"
mount -t tmpfs tmpfs "$new/dev/shm"
mount -t tmpfs tmpfs "$new/run"

# Writable at their own paths: the caller's working directory, the cache;
# the job folder at /run/geoharm-vm.
cwd=$(cat /job/cwd)
cache=$(cat /job/cache)
mkdir -p "$new$cwd" "$new$cache"
mount -t 9p -o "$ninep" cwd "$new$cwd" || fail "cannot mount the working directory $cwd"
mount -t 9p -o "$ninep" cache "$new$cache" || fail "cannot mount the cache $cache"
mkdir -p "$new/run/geoharm-vm"
mount --move /job "$new/run/geoharm-vm"
job=$new/run/geoharm-vm

# Commands as root in the new root, with a plain environment.
in_root() {
  chroot "$new" /usr/bin/env -i PATH=/usr/local/bin:/usr/bin:/bin HOME=/root "$@"
}

# The 32-bit Wine prefix: made in the cache once, then given to the
# command copy-on-write (its changes go to the tmpfs), its wineserver kept
# running (-p) with Wine's services, started by one wineboot with their
# output on the console, away from the command's.
if [ -f "$job/wine32-prefix" ]; then
  prefix=$(cat "$job/wine32-prefix")
  wine_run=$(cat "$job/wine-run")
  ready=$cache/wine32-prefix
  if [ ! -e "$new$ready/.geoharm-ready" ]; then
    say "making the 32-bit Wine prefix $ready (first use)"
    in_root sh "$wine_run" "$ready" win32 </dev/null || fail "cannot make the Wine prefix"
  fi
  mkdir -p "$new$prefix" /rw/wine-upper /rw/wine-work
  mount -t overlay -o "lowerdir=$new$ready,upperdir=/rw/wine-upper,workdir=/rw/wine-work" overlay "$new$prefix" ||
    fail "cannot mount the Wine prefix at $prefix"
  say "starting Wine in $prefix"
  in_root env WINEPREFIX="$prefix" /usr/lib/wine/wineserver -p </dev/null
  in_root sh "$wine_run" "$prefix" win32 wineboot </dev/null || fail "Wine does not start in $prefix"
fi

# The command, its output on the virtio-serial ports (pipes to the host,
# not a terminal: Wine writes to a console one character at a time).
port() {
  for p in /sys/class/virtio-ports/*; do
    [ "$(cat "$p/name")" = "$1" ] && { echo "/dev/${p##*/}"; return; }
  done
  fail "no virtio-serial port $1"
}
out=$(port stdout)
err=$(port stderr)
say "running the command"
status=0
chroot "$new" /usr/bin/env -i /bin/bash /run/geoharm-vm/job.sh >"$out" 2>"$err" || status=$?
echo "$status" >"$job/status"
say "exit status $status"

# What is left (the wineserver, Wine's services) ends; the writes reach the
# host before the power goes.
kill -KILL -1 2>/dev/null || true
sleep 0.2
sync
umount "$new$cwd" "$new$cache" "$job" 2>/dev/null || true
poweroff -f
