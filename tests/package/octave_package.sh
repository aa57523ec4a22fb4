#!/bin/sh
# octave_package.sh WORK OCTAVE_CLI STEP [ARGUMENTS...]
#
# The Octave package as a user meets it, in a package prefix of its own
# (WORK/packages, package list WORK/octave_packages, no global list: the
# machine's own packages are not seen; HOME WORK/home):
# never the user's.  Each step starts a new octave-cli with no
# LD_LIBRARY_PATH and no wrapper.
#   install TARBALL VERSION  pkg install -local, which says first that it
#                            compiles and about how long that takes; pkg
#                            list shows VERSION
#   octave CODE              pkg load geoharm, then CODE
#   binary TESTS_DIR AVX_CODE AVX512_CODE FMA_CODE
#                            the installed MEX files: they export their
#                            entry point alone, need no host library of
#                            the MATLAB kind and no search path, carry
#                            unwind information, and have no AVX outside
#                            the functions AVX_CODE matches, no AVX-512
#                            outside those AVX512_CODE matches, and no FMA
#                            but the exact division's sequence in those
#                            FMA_CODE matches
#   uninstall                pkg uninstall; nothing is left in the prefix
set -eu
work=$1
octave_cli=$2
step=$3
shift 3
unset LD_LIBRARY_PATH

run_octave() {
  HOME="$work/home" "$octave_cli" --norc --quiet --no-history --no-window-system --eval \
    "pkg prefix '$work/packages' '$work/packages'; pkg local_list '$work/octave_packages'; pkg global_list '$work/global_packages'; $1"
}

case $step in
  install)
    rm -rf "$work"
    mkdir -p "$work/packages" "$work/home"
    run_octave "pkg install -local '$1';
      installed = pkg('list');
      assert(numel(installed) == 1 && strcmp(installed{1}.name, 'geoharm'), 'geoharm is not the one package installed');
      assert(strcmp(installed{1}.version, '$2'), 'installed version %s, expected $2', installed{1}.version);
      pkg list" >"$work/install.log" 2>&1 || { cat "$work/install.log"; exit 1; }
    cat "$work/install.log"
    head -n 1 "$work/install.log" | grep -q "^geoharm $2: compiling .* about a minute" ||
      { echo "pkg install did not say first that it compiles, and for how long"; exit 1; }
    echo "installed files:"
    (cd "$work/packages" && find . -type f | sort | sed 's|^\./|  |')
    ;;
  octave)
    run_octave "pkg load geoharm; $1"
    ;;
  binary)
    tests=$1
    found=0
    for mex in $(find "$work/packages" -name '*.mex'); do
      found=1
      exports=$(nm -D --defined-only "$mex" | awk '$2 != "A" { sub(/@.*/, "", $3); print $3 }')
      [ "$exports" = "mexfunction_" ] || { echo "$mex exports: $exports"; exit 1; }
      if readelf -d "$mex" | grep -E "NEEDED.*lib(mx|mex|mat)\.so|RPATH|RUNPATH"; then
        echo "$mex needs a host library or carries a search path"; exit 1
      fi
      echo "$mex: exports mexfunction_ alone; needs $(readelf -d "$mex" | sed -n 's/.*NEEDED.*\[\(.*\)\]/\1/p' | tr '\n' ' ')"
      sh "$tests/octave/check_unwind_tables.sh" "$mex"
      sh "$tests/cross/check_fp_instructions.sh" objdump --avx-only "$2" --avx512-only "$3" --fma-only "$4" "$mex"
    done
    [ "$found" -eq 1 ] || { echo "no MEX file under $work/packages"; exit 1; }
    ;;
  uninstall)
    run_octave "pkg uninstall -local geoharm;
      installed = pkg('list');
      assert(isempty(installed), '%d packages still listed', numel(installed))"
    left=$(find "$work/packages" -mindepth 1)
    [ -z "$left" ] || { echo "left behind in the package prefix:"; echo "$left"; exit 1; }
    echo "uninstalled: the package prefix is empty, the package list too"
    rm -rf "$work"
    ;;
  *)
    echo "octave_package.sh: unknown step $step" >&2
    exit 2
    ;;
esac
