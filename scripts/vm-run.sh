#!/usr/bin/env bash
# vm-run.sh [--wine32-prefix DIR] COMMAND [ARGS...]
#
# Runs COMMAND inside a small virtual machine whose kernel runs 32-bit x86
# programs, for a machine whose own kernel does not (IA-32 emulation
# switched off: an i386 execve fails, so the 32-bit Wine loader cannot
# start).  The guest boots Debian's stock kernel under qemu-system-x86_64
# and takes this machine's root file system as its own, read-only over
# virtio-9p under a tmpfs overlay (what the guest writes there is gone when
# it stops), with the caller's working directory mounted writable at the
# same path: COMMAND sees the programs, paths and files it sees here.
#
# COMMAND runs in the caller's working directory with the caller's
# environment.  Standard input is read to its end before the VM starts
# (none when it is a terminal) and given to COMMAND as a file; standard
# output and error stream back as COMMAND writes them; the exit status is
# COMMAND's.  When the VM itself fails (no exit status came back: a boot
# or mount failure, a kernel panic, the time limit) the script says so,
# shows the tail of the guest's console and exits with status 125.
#
#   --wine32-prefix DIR  DIR (a path; relative ones from the working
#       directory) is in the guest a copy-on-write copy of a ready 32-bit
#       Wine prefix kept in the cache (made there in the guest on first use
#       by cmake/wine-run.sh, about 2 minutes), with its wineserver and
#       Wine's services already running, their output on the guest's
#       console: programs then start in 2 s, and no background Wine process
#       inherits COMMAND's output and keeps its reader waiting.
#
# One VM at a time (a lock in the cache).  The cache, built on first use
# and rebuilt when missing: $GEOHARM_VM_CACHE, by default
# ${XDG_CACHE_HOME:-$HOME/.cache}/geoharm-vm:
#   vmlinuz-VERSION           the kernel, from the linux-image package that
#                             linux-image-amd64 names (apt-get download,
#                             unpacked here, never installed)
#   initramfs-VERSION-N.img   busybox-static, the kernel's own virtio, 9p
#                             and overlay modules, and /init (below)
#   wine32-prefix/            the 32-bit Wine prefix for --wine32-prefix
#   last-console.log          the console of the last guest
# The guest's side is scripts/vm-guest.sh, copied into each run's job
# folder (shared with the guest, which writes the exit status there).
#
# Environment: GEOHARM_VM_CPU (qemu's -cpu, default max,-smap),
# GEOHARM_VM_SMP (processors, default 2), GEOHARM_VM_TIMEOUT (seconds,
# default 3600), GEOHARM_VM_CACHE.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
cache=${GEOHARM_VM_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/geoharm-vm}
cpu=${GEOHARM_VM_CPU:-max,-smap}
time_limit=${GEOHARM_VM_TIMEOUT:-3600}

wine_prefix=""
if [[ ${1:-} == --wine32-prefix ]]; then
  wine_prefix=$2
  [[ $wine_prefix == /* ]] || wine_prefix=$PWD/$wine_prefix
  shift 2
fi
if (($# == 0)); then
  echo "usage: vm-run.sh [--wine32-prefix DIR] COMMAND [ARGS...]" >&2
  exit 2
fi
for tool in qemu-system-x86_64 cpio apt-get dpkg-deb; do
  command -v "$tool" >/dev/null || { echo "vm-run.sh: $tool missing (bash scripts/install-deps.sh)" >&2; exit 125; }
done
# The applet list read whole before grep looks at it: busybox writes a name
# at a time, and grep -q leaving early would end it with SIGPIPE, which
# pipefail reports as a failure.
applets=$([[ -x /bin/busybox ]] && /bin/busybox --list) || applets=""
grep -qx modprobe <<<"$applets" ||
  { echo "vm-run.sh: /bin/busybox missing (busybox-static; bash scripts/install-deps.sh)" >&2; exit 125; }

mkdir -p "$cache"
cache=$(cd "$cache" && pwd -P) # the guest mounts it at this path
exec 9>"$cache/lock"
if ! flock -n 9; then
  echo "vm-run.sh: waiting for another VM to finish" >&2
  flock 9
fi

# --- The cache: kernel and initramfs -------------------------------------
# Bump when the initramfs's content below changes: its name changes, so an
# older cache builds a new one.
initramfs_version=1
kernel_modules=(virtio_pci virtio_console 9pnet_virtio 9p overlay)

kernel_package() {
  apt-cache depends linux-image-amd64 2>/dev/null | awk '$1 == "Depends:" && $2 ~ /^linux-image-/ && !found { print $2; found = 1 }'
}

build_boot_files() {
  local tmp pkg kver tree
  tmp=$(mktemp -d)
  trap 'rm -rf "$tmp"' RETURN
  echo "vm-run.sh: building the VM's kernel and initramfs in $cache (first use)" >&2
  pkg=$(kernel_package)
  # An old package list may name a kernel the archive has replaced since.
  if [[ -z $pkg ]] || ! (cd "$tmp" && apt-get download "$pkg" >"$tmp/apt.log" 2>&1); then
    apt-get update -qq >/dev/null
    pkg=$(kernel_package)
    [[ -n $pkg ]] || { echo "vm-run.sh: apt-cache names no kernel package for linux-image-amd64" >&2; return 1; }
    (cd "$tmp" && apt-get download "$pkg" >"$tmp/apt.log" 2>&1) || { cat "$tmp/apt.log" >&2; return 1; }
  fi
  dpkg-deb -x "$tmp"/linux-image-*.deb "$tmp/pkg"
  kver=$(basename "$tmp"/pkg/lib/modules/*)

  # The modules the guest needs and those they depend on (modules.dep from
  # busybox's depmod lists every dependency of a module on its line).
  tree=$tmp/initramfs
  mkdir -p "$tree/bin" "$tree/dev" "$tree/proc" "$tree/sys" "$tree/lib/modules/$kver"
  /bin/busybox depmod -b "$tmp/pkg" "$kver"
  local names="${kernel_modules[*]}"
  awk -v names=" $names " '{
        name = $1; sub(/:$/, "", name); sub(/^.*\//, "", name); sub(/\.ko$/, "", name)
        if (index(names, " " name " ")) { sub(/:$/, "", $1); for (i = 1; i <= NF; i++) print $i }
      }' "$tmp/pkg/lib/modules/$kver/modules.dep" | sort -u |
    while read -r ko; do
      mkdir -p "$tree/lib/modules/$kver/$(dirname "$ko")"
      cp "$tmp/pkg/lib/modules/$kver/$ko" "$tree/lib/modules/$kver/$ko"
    done
  /bin/busybox depmod -b "$tree" "$kver"
  cp /bin/busybox "$tree/bin/busybox"
  ln -s busybox "$tree/bin/sh"

  # /init: the modules, then the job folder (9p tag "job"), whose
  # vm-guest.sh does the rest; should it end, the kernel panics and qemu
  # stops (panic=-1, -no-reboot).
  cat >"$tree/init" <<EOF
#!/bin/sh
/bin/busybox --install -s /bin
export PATH=/bin
mount -t devtmpfs devtmpfs /dev
mount -t proc proc /proc
mount -t sysfs sysfs /sys
modprobe -a ${kernel_modules[*]}
mkdir /job
mount -t 9p -o trans=virtio,version=9p2000.L job /job
exec sh /job/vm-guest.sh
EOF
  chmod +x "$tree/init"
  (cd "$tree" && find . | cpio -o -H newc --quiet) | gzip -1 >"$tmp/initramfs.img"
  rm -f "$cache"/vmlinuz-* "$cache"/initramfs-*
  cp "$tmp/pkg/boot/vmlinuz-$kver" "$cache/vmlinuz-$kver"
  mv "$tmp/initramfs.img" "$cache/initramfs-$kver-$initramfs_version.img"
}

find_boot_files() {
  initramfs=$(ls "$cache"/initramfs-*-"$initramfs_version".img 2>/dev/null | head -n 1) || true
  [[ -n $initramfs ]] || return 1
  local kver=${initramfs#"$cache"/initramfs-}
  kernel=$cache/vmlinuz-${kver%-"$initramfs_version".img}
  [[ -f $kernel ]]
}
find_boot_files || { build_boot_files && find_boot_files; }

# --- The job folder, shared with the guest --------------------------------
job=$(mktemp -d)
readers=()
# Lets the readers of the FIFOs below finish: each sees the end of its
# FIFO once qemu has closed it, or, if qemu never opened it (it failed to
# start), once this opens and closes it (O_RDWR: never blocks).
finish_readers() {
  local pid f
  for pid in ${readers[@]+"${readers[@]}"}; do
    while kill -0 "$pid" 2>/dev/null; do
      for f in stdout stderr; do exec 8<>"$job/$f"; exec 8>&-; done
      sleep 0.1
    done
  done
}
cleanup() {
  finish_readers
  cp "$job/console.log" "$cache/last-console.log" 2>/dev/null || true
  rm -rf "$job"
}
trap cleanup EXIT

cwd=$(pwd -P)
cp "$here/vm-guest.sh" "$job/vm-guest.sh"
printf '%s\n' "$cwd" >"$job/cwd"
printf '%s\n' "$cache" >"$job/cache"
if [[ -n $wine_prefix ]]; then
  printf '%s\n' "$wine_prefix" >"$job/wine32-prefix"
  printf '%s\n' "$(cd "$here/../cmake" && pwd)/wine-run.sh" >"$job/wine-run"
fi
if [[ -t 0 ]]; then
  : >"$job/stdin"
else
  cat >"$job/stdin" 2>/dev/null || : >"$job/stdin"
fi
# The command, run by bash in the guest: the caller's exported variables,
# its working directory, then COMMAND.
{
  export -p
  printf 'cd %q || exit 125\n' "$cwd"
  printf 'exec'
  printf ' %q' "$@"
  printf ' <%q\n' "/run/geoharm-vm/stdin"
} >"$job/job.sh"

# COMMAND's output: FIFOs that qemu writes (virtio-serial ports) and cat
# copies to ours as it comes.
mkfifo "$job/stdout" "$job/stderr"
cat "$job/stdout" &
readers+=($!)
cat "$job/stderr" >&2 &
readers+=($!)

# -accel tcg, -cpu max,-smap: no KVM here; "max" has every instruction
#   TCG emulates (SSE2 to AVX2); with SMAP, QEMU 7.2's TCG oopses the
#   guest kernel at the 32-bit IRET of every Wine process.
# -smp 2: the program and the wineserver run side by side.
# -nodefaults -display none -serial file: no graphics, network or other
#   device than those listed; the guest's console goes to a file.
# -no-reboot with panic=-1: a guest that fails powers the VM off.
# multidevs=remap: "/" spans several host file systems; their inode
#   numbers are remapped so that two files never look the same to the guest.
# security_model=none: files keep this machine's ownership; the guest
#   creates them as the user who runs qemu.
qemu_args=(
  -accel tcg -cpu "$cpu" -smp ${GEOHARM_VM_SMP:-2} -m 3072
  -nodefaults -no-user-config -display none -no-reboot
  -serial "file:$job/console.log"
  -kernel "$kernel" -initrd "$initramfs"
  -append "console=ttyS0 quiet panic=-1 mitigations=off"
  -device virtio-serial-pci
  -chardev "file,id=stdout,path=$job/stdout" -device virtserialport,chardev=stdout,name=stdout
  -chardev "file,id=stderr,path=$job/stderr" -device virtserialport,chardev=stderr,name=stderr
)
share() { # TAG PATH [readonly=on]
  qemu_args+=(-fsdev "local,id=$1,path=$2,security_model=none,multidevs=remap${3:+,$3}"
              -device "virtio-9p-pci,fsdev=$1,mount_tag=$1")
}
share root / readonly=on
share cwd "$cwd"
share job "$job"
share cache "$cache"
# --foreground: qemu stays in the caller's process group, where a signal to
# the group (Ctrl-C, a test's time-out) reaches it.
status=0
timeout --foreground "$time_limit" qemu-system-x86_64 "${qemu_args[@]}" </dev/null 2>"$job/qemu.log" || status=$?
finish_readers

if [[ ! -s $job/status ]]; then
  echo "vm-run.sh: the VM failed (qemu exit status $status$( ((status == 124)) && echo ", after the time limit of ${time_limit}s")) before COMMAND finished; qemu said:" >&2
  sed 's/^/  /' "$job/qemu.log" >&2
  echo "vm-run.sh: the guest console's last lines:" >&2
  tail -n 40 "$job/console.log" 2>/dev/null | sed 's/^/  /' >&2
  exit 125
fi
exit "$(cat "$job/status")"
