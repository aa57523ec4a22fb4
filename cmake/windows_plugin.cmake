# geoharm_windows_plugin(TARGET NAME)
#
# Makes the SHARED library TARGET the Windows plug-in NAME: file
# NAME.mexw64 (64-bit) or NAME.mexw32 (32-bit), exports from a .def file
# made for it from gateway/mex_exports.def.in (MEXFUNCTION alone, as
# ordinal 1, under the file's own name; the file is left in the build
# folder as GEOHARM_PLUGIN_DEF_<TARGET>, in the cache, for the interface
# tests), host routines imported from libmx.dll and libmex.dll through
# import libraries made from gateway/libmx.def and gateway/libmex.def.  The
# static C and C++ runtimes come from the toolchain's linker flags.
include(${CMAKE_CURRENT_LIST_DIR}/import_library.cmake)

function(geoharm_windows_plugin target name)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(ext mexw64)
  else()
    set(ext mexw32)
  endif()
  if(NOT TARGET geoharm_libmx)
    geoharm_import_library(geoharm_libmx ${PROJECT_SOURCE_DIR}/gateway/libmx.def)
    geoharm_import_library(geoharm_libmex ${PROJECT_SOURCE_DIR}/gateway/libmex.def)
  endif()
  set(GEOHARM_PLUGIN_FILE ${name}.${ext})
  set(def ${CMAKE_BINARY_DIR}/exports/${name}.${ext}.def)
  configure_file(${PROJECT_SOURCE_DIR}/gateway/mex_exports.def.in ${def} @ONLY)
  set(GEOHARM_PLUGIN_DEF_${target} ${def} CACHE INTERNAL "Exports file of the plug-in ${target}")
  target_sources(${target} PRIVATE ${def})
  set_target_properties(${target} PROPERTIES OUTPUT_NAME ${name} PREFIX "" SUFFIX .${ext})
  target_link_libraries(${target} PRIVATE geoharm_libmx geoharm_libmex)
endfunction()
