# geoharmConfig.cmake - read by find_package(geoharm CONFIG).
#
# Gives the imported target geoharm::field: the static library with the
# evaluation of the degree-10 geopotential model, and its headers
# (#include <geoharm/geoharm.h>).  Link it with
#   target_link_libraries(app PRIVATE geoharm::field)
# No compile option is needed for identical bits: the arithmetic is inside
# the library, built with the project's own options.
include("${CMAKE_CURRENT_LIST_DIR}/geoharmTargets.cmake")
