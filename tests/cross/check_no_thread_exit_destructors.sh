#!/bin/sh
# check_no_thread_exit_destructors.sh NM BINARY...
#
# No Windows binary of the project destroys thread-local objects when a
# thread ends: none links the C++ runtime's thread-exit destructor list
# (__cxa_thread_atexit, found with nm).  With MinGW's emulated thread-local
# storage on 32-bit x86, such an object's storage is freed before its
# destructor runs; the destructor then frees what the heap has since put
# there, and a thread that ends damages the blocks other threads still use.
# Thread-local state is kept to pointers and plain values instead.
set -eu
nm=$1
shift
status=0
for binary in "$@"; do
  if "$nm" "$binary" | grep -Eq ' [Tt] _*cxa_thread_atexit$'; then
    echo "check_no_thread_exit_destructors: $binary: a thread-local object with a destructor" \
         "(__cxa_thread_atexit is linked in)"
    status=1
  fi
done
exit $status
