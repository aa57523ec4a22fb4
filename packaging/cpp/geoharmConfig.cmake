# geoharmConfig.cmake - read by find_package(geoharm CONFIG).
#
# Gives two imported targets:
#   geoharm::field  the static library with the evaluation of the degree-10
#                   geopotential model, for C++ (#include <geoharm/geoharm.h>)
#   geoharm::c      the shared library of the C interface
#                   (#include <geoharm/geoharm_c.h>), for C and other languages
# Link one of them:
#   target_link_libraries(app PRIVATE geoharm::field)
# No compile option is needed for identical bits: the arithmetic is inside
# the library, built with the project's own options.
include("${CMAKE_CURRENT_LIST_DIR}/geoharmTargets.cmake")
