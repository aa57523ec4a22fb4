#!/usr/bin/env bash
# check_release_archive.sh SOURCE_DIR VERSION LINUX_BUILD WIN64_BUILD WIN32_BUILD FUNCTION... [-- M_FUNCTION...]
#
# The MATLAB release archive as the main job makes it: the three builds
# installed into a dist/ folder of its own, the archive made from it by
# packaging/matlab/make-release-archive.sh (which also compares each
# plug-in in it with dist/'s, byte for byte).  Then: the archive's file
# list is exactly the folder geoharm/ with each FUNCTION's three plug-ins
# and help file, each M_FUNCTION's .m file, Contents.m, README and LICENSE; the plug-ins are dist/'s
# files (compared here too); the licence is the project's; Contents.m has
# the version line and a line for each function.
set -euo pipefail
source_dir=$1
version=$2
builds=("$3" "$4" "$5")
shift 5
functions=()
m_functions=()
while (($#)) && [[ $1 != -- ]]; do functions+=("$1"); shift; done
(($#)) && shift
m_functions=("$@")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

for build in "${builds[@]}"; do
  [[ -f "$build/CMakeCache.txt" ]] || { echo "$build is not built: build the linux, win64 and win32 presets first"; exit 1; }
  cmake --install "$build" --prefix "$tmp/dist" >/dev/null
done
zip=$(bash "$source_dir/packaging/matlab/make-release-archive.sh" "${builds[0]}" "$tmp/dist" "$tmp/work")
[[ $(basename "$zip") == "geoharm-$version-mex.zip" ]] || { echo "archive named $(basename "$zip")"; exit 1; }

echo "$(basename "$zip"):"
cmake -E tar tf "$zip" | sort | tee "$tmp/list" | sed 's/^/  /'
for f in "${functions[@]}"; do
  printf 'geoharm/%s\n' "$f.mexa64" "$f.mexw64" "$f.mexw32" "$f.m"
done >"$tmp/expected"
for f in ${m_functions[@]+"${m_functions[@]}"}; do
  printf 'geoharm/%s\n' "$f.m"
done >>"$tmp/expected"
printf 'geoharm/%s\n' '' Contents.m README LICENSE >>"$tmp/expected"
sort -o "$tmp/expected" "$tmp/expected"
diff "$tmp/expected" "$tmp/list" || { echo "unexpected file list (- expected, + in the archive)"; exit 1; }

mkdir "$tmp/x"
(cd "$tmp/x" && cmake -E tar xf "$zip")
for f in "${functions[@]}"; do
  for file in "$f.mexa64" "$f.mexw64" "$f.mexw32" "$f.m"; do
    cmp "$tmp/x/geoharm/$file" "$tmp/dist/$file"
  done
  grep -q -E "^%   $f - [^ ]" "$tmp/x/geoharm/Contents.m" || { echo "Contents.m has no line for $f"; exit 1; }
done
for f in ${m_functions[@]+"${m_functions[@]}"}; do
  cmp "$tmp/x/geoharm/$f.m" "$source_dir/octave/$f.m"
  grep -q -E "^%   $f - [^ ]" "$tmp/x/geoharm/Contents.m" || { echo "Contents.m has no line for $f"; exit 1; }
done
cmp "$tmp/x/geoharm/LICENSE" "$source_dir/LICENSE"
sed -n 2p "$tmp/x/geoharm/Contents.m" | grep -q -E "^% Version $version [0-9]{2}-[A-Z][a-z]{2}-[0-9]{4}$" ||
  { echo "Contents.m line 2 is not the version line: $(sed -n 2p "$tmp/x/geoharm/Contents.m")"; exit 1; }
echo "plug-ins identical to dist/'s; Contents.m $(sed -n 2p "$tmp/x/geoharm/Contents.m")"
