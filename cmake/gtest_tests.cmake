# geoharm_add_gtest(target [PROPERTIES name value ...]): registers a
# GoogleTest executable with CTest; PROPERTIES are test properties.
#
# Native builds list every test case of the executable as a CTest test.
# Cross builds run the executable once, as a whole, under the emulator
# (Wine): one Wine start per executable instead of one per test case, and
# nothing to run at build time.  Exit status 77 from the emulator (this
# machine cannot run programs of that architecture) shows as "skipped".
# There the test has the label "wine" (cmake/wine_tests.cmake).
include(GoogleTest)
include(${CMAKE_CURRENT_LIST_DIR}/wine_tests.cmake)

function(geoharm_add_gtest target)
  cmake_parse_arguments(ARG "" "" "PROPERTIES" ${ARGN})
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${target} COMMAND ${target} --gtest_color=no)
    set_tests_properties(${target} PROPERTIES SKIP_RETURN_CODE 77 ${ARG_PROPERTIES})
    geoharm_wine_tests(${target})
  elseif(ARG_PROPERTIES)
    gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60 PROPERTIES ${ARG_PROPERTIES})
  else()
    gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60)
  endif()
endfunction()
