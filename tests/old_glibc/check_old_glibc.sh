#!/usr/bin/env bash
# check_old_glibc.sh PLUGIN...
#
# Loads each Linux plug-in under an older glibc than the build machine's
# (Debian 11's 2.31, from before the thread routines moved into libc) and
# calls it once: the plug-in must load there and give the worked example's
# bits.  geoharm_batch and geoharm_gradient are called with 20,000 rows, so
# that their threads start.
#
# Debian 11's libc6, libc6-dev and linux-libc-dev are fetched from the
# Debian archive (their file names from its package index) and unpacked,
# never installed, into a cache: $GEOHARM_OLD_GLIBC_CACHE, by default
# ${XDG_CACHE_HOME:-$HOME/.cache}/geoharm-old-glibc.  old_glibc_host.c is
# built against that tree and run by its dynamic loader.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
mirror=${GEOHARM_DEBIAN_MIRROR:-http://deb.debian.org/debian}
cache=${GEOHARM_OLD_GLIBC_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/geoharm-old-glibc}
root=$cache/bullseye
expected="-7.0369257762667612 -1.0053211772743258 -2.0154468462949571"

fail() { echo "check_old_glibc: $*" >&2; exit 1; }

# The tree: the three packages unpacked, once.
if [ ! -e "$root/.complete" ]; then
    rm -rf "$root"
    mkdir -p "$root"
    index=$(curl -fsS --retry 3 "$mirror/dists/bullseye/main/binary-amd64/Packages.xz" | xz -d) ||
        fail "cannot read the package index of $mirror"
    for package in libc6 libc6-dev linux-libc-dev; do
        file=$(awk -v want="$package" '/^Package: /{p=$2} /^Filename: /{if (p == want) {print $2; exit}}' <<<"$index")
        [ -n "$file" ] || fail "$package is not in the index"
        curl -fsS --retry 3 -o "$root/$package.deb" "$mirror/$file" || fail "cannot fetch $file"
        dpkg-deb -x "$root/$package.deb" "$root"
        rm "$root/$package.deb"
    done
    # Links that point at absolute paths point into the tree instead.
    find "$root" -type l | while read -r link; do
        target=$(readlink "$link")
        case $target in /*) ln -sfn "$root$target" "$link" ;; esac
    done
    touch "$root/.complete"
fi
loader=$root/lib/x86_64-linux-gnu/ld-linux-x86-64.so.2
[ -x "$loader" ] || fail "no dynamic loader in $root"

# The host against that glibc, and the empty host libraries.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The compiler's own start and end files and libgcc, everything of the C
# library from the tree (the compiler knows no other system root).
cc=${CC:-gcc}
usr=$root/usr/lib/x86_64-linux-gnu
lib=$root/lib/x86_64-linux-gnu
"$cc" -nostdinc -isystem "$("$cc" -print-file-name=include)" -isystem "$root/usr/include/x86_64-linux-gnu" \
    -isystem "$root/usr/include" -O1 -std=c99 -D_GNU_SOURCE -fPIC -c -o "$work/host.o" "$here/old_glibc_host.c"
"$cc" -nostdlib -pie -rdynamic -o "$work/old_glibc_host" "$usr/Scrt1.o" "$usr/crti.o" \
    "$("$cc" -print-file-name=crtbeginS.o)" "$work/host.o" "$lib/libdl.so.2" "$lib/libc.so.6" "$usr/libc_nonshared.a" \
    "$("$cc" -print-libgcc-file-name)" "$("$cc" -print-file-name=crtendS.o)" "$usr/crtn.o" \
    -Wl,--dynamic-linker=/lib64/ld-linux-x86-64.so.2
for name in libmx.so libmex.so libmat.so; do
    "$cc" -nostdlib -shared -fPIC -o "$work/$name" "$here/empty_library.c"
done

status=0
for plugin in "$@"; do
    rows=1
    case $(basename "$plugin") in geoharm_batch.* | geoharm_gradient.*) rows=20000 ;; esac
    if ! out=$("$loader" --library-path "$root/lib/x86_64-linux-gnu:$work" "$work/old_glibc_host" "$plugin" "$rows" 2>&1); then
        echo "$(basename "$plugin"): does not run under the older glibc:" >&2
        echo "$out" >&2
        status=1
        continue
    fi
    echo "$(basename "$plugin"): $(echo "$out" | tr '\n' ';')"
    grep -qx 'glibc 2\.31' <<<"$out" || { echo "  not run on glibc 2.31" >&2; status=1; }
    results=$(grep -v '^glibc' <<<"$out" | sort -u)
    [ "$results" = "$expected" ] || { echo "  expected $expected" >&2; status=1; }
done
exit $status
