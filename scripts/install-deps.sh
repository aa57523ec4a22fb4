#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, where missing.
# Safe to run again: it does nothing when everything is there.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  libgtest-dev libbenchmark-dev   # tests and benchmarks
  libgeographiclib-dev            # independent check of the physics
  octave octave-dev               # a real MEX host for the Linux plug-in
  make                            # pkg install builds the Octave package with it
)

# The Python package: Debian's own interpreter and modules (no other
# package index is reachable): pybind11 and the headers to build the
# module, setuptools and wheel (through pip) to make the wheel, venv to
# install it, pytest, dask, distributed and mypy to test it; Octave's parallel
# package for the many-process recipe of docs/scaling-out.md; scipy for the
# solve_ivp example of docs/orbit-determination.md.
packages+=(
  python3 python3-dev pybind11-dev python3-numpy python3-setuptools python3-wheel python3-pip
  python3-venv python3-pytest python3-dask python3-distributed mypy octave-parallel python3-scipy
)

# Windows cross builds: the mingw-w64 compilers, GoogleTest's sources (built
# for Windows by the cross builds), and Wine to run the tests; the 32-bit
# Wine loader is an i386 package (multiarch, enabled below when missing).
packages+=(
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 binutils-mingw-w64 googletest
  wine wine64 wine32:i386
)

# Hardening: clang 14 with its sanitizer and fuzzer runtimes (the gateway
# fuzzer), valgrind (memcheck of the stand-in host path).
packages+=(clang-14 libclang-rt-14-dev valgrind)

# 32-bit x86 arithmetic where this machine's kernel runs no 32-bit
# program: geoharm-eval for i386 Linux, run under qemu's user-mode
# emulator (an x86-64 program), as extra evidence beside the win32 build.
packages+=(g++-i686-linux-gnu qemu-user)

# The win32 tests where this machine's kernel runs no 32-bit program: a
# VM with Debian's kernel (fetched by scripts/vm-run.sh with apt-get
# download, never installed) and a busybox initramfs.
packages+=(qemu-system-x86 busybox-static cpio)

# The documentation's tests and pictures: Debian's Python, numpy and
# matplotlib (docs_examples, docs_links, scripts/make-figures.py, and the
# C library's ctypes test).
packages+=(python3 python3-numpy python3-matplotlib)

# The Linux plug-ins loaded under an older glibc (tests/old_glibc): its
# packages fetched from the Debian archive and unpacked with dpkg-deb.
packages+=(curl xz-utils)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  sudo=""
  [[ $(id -u) -eq 0 ]] || sudo="sudo"
  if [[ " ${missing[*]} " == *":i386 "* ]] && ! grep -qx i386 <<<"$(dpkg --print-foreign-architectures)"; then
    $sudo dpkg --add-architecture i386
  fi
  # An index that fails to download (a mirror in the middle of a sync)
  # need not stop the install: the packages may well be in the others.
  for attempt in 1 2 3; do
    $sudo apt-get update -qq && break
    echo "apt-get update failed (attempt $attempt); trying again" >&2
    sleep 10
  done
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
