#!/usr/bin/env bash
# The installed layout stands on its own: the plug-ins at the top of dist/
# and, in dist/host/<platform>/, geoharm-call with the stand-in libraries
# it finds next to itself.  Run from elsewhere with no library path set, it
# prints what geoharm-eval prints (geoharm-eval --gradient for the gradient
# plug-in), also given the plug-in by its bare file name from dist/.
#   check_dist.sh BUILD_DIR GEOHARM_EVAL                    Linux build
#   check_dist.sh BUILD_DIR GEOHARM_EVAL WINE_RUN PREFIX ARCH
#                 Windows build (ARCH win64 or win32), its geoharm-call.exe
#                 run under Wine by cmake/wine-run.sh; exit status 77 when
#                 this machine cannot run it.
set -euo pipefail
build=$1
eval_tool=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

if (($# == 2)); then
  suffix=mexa64
  host=host/linux64
  files=("$host/geoharm-call" "$host/libmx.so" "$host/libmex.so" "$host/libmat.so")
  run=("$tmp/dist/$host/geoharm-call")
else
  arch=$5
  suffix=mex${arch/win/w}
  host=host/$arch
  files=("$host/geoharm-call.exe" "$host/libmx.dll" "$host/libmex.dll")
  run=(sh "$3" "$4" "$arch" "$tmp/dist/$host/geoharm-call.exe")
fi
plugins=("geoharm.$suffix" "geoharm_batch.$suffix" "geoharm_gradient.$suffix")
files+=("${plugins[@]}")

cmake --install "$build" --prefix "$tmp/dist" >/dev/null
for f in "${files[@]}"; do
  [[ -f "$tmp/dist/$f" ]] || { echo "missing dist/$f"; exit 1; }
done

records='7000000 1000000 2000000 10 10
-6500000 2500000 -1500000 10 10
0 0 0 10 10
-0.0 0 6600000 -1 127
488603.552 8134012.108 -9947002.437 3 1
'
cd /
unset LD_LIBRARY_PATH
direct_acceleration=$(printf '%s' "$records" | "$eval_tool")
direct_gradient=$(printf '%s' "$records" | "$eval_tool" --gradient)
for plugin in "${plugins[@]}"; do
  direct=$direct_acceleration
  case $plugin in geoharm_gradient.*) direct=$direct_gradient ;; esac
  # By its path, from elsewhere ...
  cd /
  status=0
  via_plugin=$(printf '%s' "$records" | "${run[@]}" "$tmp/dist/$plugin" | tr -d '\r') || status=$?
  ((status != 77)) || exit 77
  if ((status != 0)) || [[ "$via_plugin" != "$direct" ]]; then
    echo "geoharm-call $plugin from dist/ (exit status $status) differs from geoharm-eval:"
    diff <(echo "$via_plugin") <(echo "$direct") || true
    exit 1
  fi
  # ... and by its bare file name, from its own folder: a path to the file
  # there, as on every platform (not a name to search the system's library
  # folders for).
  cd "$tmp/dist"
  status=0
  bare=$(printf '%s' "$records" | "${run[@]}" "$plugin" | tr -d '\r') || status=$?
  if ((status != 0)) || [[ "$bare" != "$direct" ]]; then
    echo "geoharm-call $plugin in dist/ (exit status $status) differs from geoharm-eval:"
    diff <(echo "$bare") <(echo "$direct") || true
    exit 1
  fi
  echo "dist/ layout ok: $plugin through $host/geoharm-call (also by its bare name)"
done
