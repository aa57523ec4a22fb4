# geoharm_import_library(NAME DEF_FILE)
#
# Windows builds: an import library made by dlltool from a module-definition
# file, as the INTERFACE target NAME to link against.  The DLL named in the
# file's LIBRARY line need not exist at build time (the host provides it).
# On 32-bit x86 dlltool prefixes each symbol with the cdecl underscore
# (_MXGETPR, __imp__MXGETPR) and keeps the undecorated import name MXGETPR.
function(geoharm_import_library name def)
  if(NOT CMAKE_DLLTOOL)
    message(FATAL_ERROR "geoharm_import_library: CMAKE_DLLTOOL is not set (Windows toolchain only)")
  endif()
  get_filename_component(def ${def} ABSOLUTE)
  set(lib ${CMAKE_BINARY_DIR}/import/lib${name}.a)
  add_custom_command(
    OUTPUT ${lib}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/import
    COMMAND ${CMAKE_DLLTOOL} --input-def ${def} --output-lib ${lib}
    DEPENDS ${def}
    COMMENT "Import library ${name} from ${def}"
    VERBATIM)
  add_custom_target(${name}_import_library DEPENDS ${lib})
  add_library(${name} INTERFACE)
  target_link_libraries(${name} INTERFACE ${lib})
  add_dependencies(${name} ${name}_import_library)
endfunction()
