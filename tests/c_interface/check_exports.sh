#!/bin/sh
# check_exports.sh TOOL LIBRARY
#
# The C library's binary interface: it exports exactly the routines of
# <geoharm/geoharm_c.h> and needs no C++ or GCC runtime of the system.
#   TOOL readelf (libgeoharm.so.N): the routines in version node
#        GEOHARM_N.0 and nothing else defined; soname libgeoharm.so.<major>
#        as the file's name says; needed libraries from the C library only
#        (and the sanitizers' runtimes in the sanitizer build).
#   TOOL an objdump for Windows (geoharm.dll): the routines by their
#        plain names and nothing else; imports from KERNEL32.dll and
#        msvcrt.dll only.
set -eu
tool=$1
lib=$2
expected="geoharm_acceleration geoharm_acceleration_many geoharm_get_model geoharm_gradient geoharm_gradient_many
  geoharm_version geoharm_gravity_model_load geoharm_gravity_model_from_tables geoharm_gravity_model_free
  geoharm_gravity_model_gm geoharm_gravity_model_radius geoharm_gravity_model_max_degree
  geoharm_gravity_model_acceleration geoharm_gravity_model_acceleration_many geoharm_gravity_model_gradient
  geoharm_gravity_model_gradient_many"
status=0
fail() {
  echo "check_exports: $lib: $*"
  status=1
}

case $tool in
  *readelf*)
    # "Num: Value Size Type Bind Vis Ndx Name", defined, global.
    soname=$("$tool" -dW "$lib" | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')
    node=GEOHARM_${soname##*.so.}.0
    defined=$("$tool" -W --dyn-syms "$lib" | awk '$7 != "UND" && $5 == "GLOBAL" && NF >= 8 { print $8 }' | sort | tr '\n' ' ')
    want=$(for s in $expected; do echo "$s@@$node"; done | sort | tr '\n' ' ')
    # The version node's own marker symbol.
    want=$(printf '%s\n' $want $node | sort | tr '\n' ' ')
    [ "$defined" = "$want" ] || fail "exports '$defined', expected '$want'"

    case $(basename "$lib") in
      "$soname" | "$soname".*) ;;
      *) fail "soname '$soname' does not name the file" ;;
    esac
    echo "$soname" | grep -qE '^libgeoharm\.so\.[0-9]+$' || fail "soname '$soname' is not libgeoharm.so.<major>"
    for needed in $("$tool" -dW "$lib" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
      case $needed in
        libc.so.6 | libm.so.6 | libpthread.so.0) ;;
        libasan.so.* | libubsan.so.*) ;; # the sanitizer build's runtimes
        *) fail "needs $needed" ;;
      esac
    done
    ;;
  *objdump*)
    dump=$("$tool" -p "$lib")
    exports=$(printf '%s\n' "$dump" | awk '
      /^\[Ordinal\/Name Pointer\] Table/ { on = 1; next }
      on && /^\t\[/ { print $NF; next }
      on { exit }' | sort | tr '\n' ' ')
    want=$(printf '%s\n' $expected | sort | tr '\n' ' ')
    [ "$exports" = "$want" ] || fail "exports '$exports', expected '$want'"
    for dll in $(printf '%s\n' "$dump" | awk '/^\tDLL Name:/ { print $3 }'); do
      case $dll in
        KERNEL32.dll | msvcrt.dll) ;;
        *) fail "imports from $dll" ;;
      esac
    done
    ;;
  *)
    echo "check_exports: unknown tool $tool" >&2
    exit 2
    ;;
esac
[ "$status" -eq 0 ] && echo "check_exports: $lib exports $(echo $expected) alone"
exit "$status"
