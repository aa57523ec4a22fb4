# geoharm_windows_plugin(TARGET)
#
# Makes the SHARED library TARGET the Windows plug-in: file geoharm.mexw64
# (64-bit) or geoharm.mexw32 (32-bit), exports from
# gateway/geoharm.mexw64.def / geoharm.mexw32.def (MEXFUNCTION alone, as
# ordinal 1, under the file's own name), host routines imported from
# libmx.dll and libmex.dll through import libraries made from
# gateway/libmx.def and gateway/libmex.def.  The static C and C++ runtimes
# come from the toolchain's linker flags.
include(${CMAKE_CURRENT_LIST_DIR}/import_library.cmake)

function(geoharm_windows_plugin target)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(ext mexw64)
  else()
    set(ext mexw32)
  endif()
  if(NOT TARGET geoharm_libmx)
    geoharm_import_library(geoharm_libmx ${PROJECT_SOURCE_DIR}/gateway/libmx.def)
    geoharm_import_library(geoharm_libmex ${PROJECT_SOURCE_DIR}/gateway/libmex.def)
  endif()
  target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/gateway/geoharm.${ext}.def)
  set_target_properties(${target} PROPERTIES OUTPUT_NAME geoharm PREFIX "" SUFFIX .${ext})
  target_link_libraries(${target} PRIVATE geoharm_libmx geoharm_libmex)
endfunction()
