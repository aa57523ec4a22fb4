# geoharm_wine_tests(NAME... [PROOF]): marks tests of a cross build that
# start a Windows program (under Wine, cmake/wine-run.sh) with the label
# "wine"; with PROOF, also "proof": the tests that show what only a
# process of the build shows, the identity of its results and its
# plug-ins under a host.
#
# The test command runs a win32 build's tests in two parts
# (scripts/run-tests.sh): those without the label "wine" (checks of the
# built files: exports, imports, instructions) here, where they are quick,
# with GEOHARM_WINE_FORBIDDEN=win32, under which a test that starts a
# 32-bit program all the same fails (wine-run.sh) instead of needing a VM;
# then those with it where 32-bit programs run (scripts/win32-run.sh).
# Where that is a VM (an emulated processor, 12 to 20 times slower), the
# "proof" tests alone: the others check the same sources' insides and
# tools, which the linux and win64 builds run.
function(geoharm_wine_tests)
  if(NOT CMAKE_CROSSCOMPILING)
    return()
  endif()
  set(labels wine)
  set(tests ${ARGN})
  if("PROOF" IN_LIST tests)
    list(REMOVE_ITEM tests PROOF)
    list(APPEND labels proof)
  endif()
  set_property(TEST ${tests} APPEND PROPERTY LABELS ${labels})
endfunction()
