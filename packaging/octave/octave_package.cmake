# The Octave package geoharm-<version>.tar.gz, in the layout pkg install
# expects:
#   geoharm-<version>/DESCRIPTION, COPYING (the licence), INDEX,
#                     pre_install.m (says that it compiles now),
#                     post_install.m (help files beside the MEX files)
#   geoharm-<version>/inst/NAME.m          help file of each plug-in, and
#                                          each function in Octave's language
#   geoharm-<version>/src/Makefile         builds NAME.mex with mkoctfile
#   geoharm-<version>/src/<dir>/...        the project's own sources
# The Makefile is written from the targets: the sources of each plug-in,
# of the field and of the Octave adapters, and the compile options of the
# project, of each target and of each source file, so that a source or an
# option added to the CMake build reaches the package too.

set(package_name geoharm-${PROJECT_VERSION})
set(GEOHARM_OCTAVE_PACKAGE ${CMAKE_CURRENT_BINARY_DIR}/${package_name}.tar.gz)
set(generated ${CMAKE_CURRENT_BINARY_DIR}/octave-generated)
set(stage ${CMAKE_CURRENT_BINARY_DIR}/octave-stage)
set(top ${stage}/${package_name})

# Options every object gets: the project's (without -Werror, which would
# make a user's build fail on a warning of another compiler) and the
# language standard.
get_directory_property(all_project_options DIRECTORY ${PROJECT_SOURCE_DIR} COMPILE_OPTIONS)
set(project_options ${all_project_options})
list(REMOVE_ITEM project_options -Werror)
list(JOIN project_options " " GEOHARM_MAKE_PROJECT_CXXFLAGS)
set(GEOHARM_MAKE_PROJECT_CXXFLAGS "-std=c++${CMAKE_CXX_STANDARD} ${GEOHARM_MAKE_PROJECT_CXXFLAGS}")

# package_files: every file copied into src/ (absolute paths);
# GEOHARM_MAKE_OBJECT_FLAGS: one line per object with options of its own.
set(package_files ${PROJECT_SOURCE_DIR}/gateway/mex_exports.map)
set(GEOHARM_MAKE_OBJECT_FLAGS "")

# geoharm_package_objects(TARGET OUT): the objects (src/-relative) of the
# C++ sources of TARGET in OUT; records the sources, the headers beside
# them and the options of each object.  The sources of a level of vector
# routines (the object libraries geoharm_level_NAME of field/) are built
# once per level, into levels/NAME/, with the level's options and
# definitions: each such object gets a rule of its own.
macro(geoharm_package_objects target out)
  get_target_property(_sources ${target} SOURCES)
  get_target_property(_dir ${target} SOURCE_DIR)
  get_target_property(_target_options ${target} COMPILE_OPTIONS)
  get_target_property(_definitions ${target} COMPILE_DEFINITIONS)
  if(NOT _target_options)
    set(_target_options "")
  endif()
  if(NOT _definitions)
    set(_definitions "")
  endif()
  list(TRANSFORM _definitions PREPEND -D)
  # A target starts with the project's options: only its own are kept.
  list(REMOVE_ITEM _target_options ${all_project_options})
  set(_level "")
  if("${target}" MATCHES "^geoharm_level_(.+)$")
    set(_level ${CMAKE_MATCH_1})
  endif()
  set(${out} "")
  foreach(_source ${_sources})
    if(NOT _source MATCHES "\\.cpp$")
      continue()
    endif()
    get_filename_component(_source ${_source} ABSOLUTE BASE_DIR ${_dir})
    file(RELATIVE_PATH _relative ${PROJECT_SOURCE_DIR} ${_source})
    string(REGEX REPLACE "\\.cpp$" ".o" _object ${_relative})
    if(_level)
      set(_object levels/${_level}/${_object})
    endif()
    list(APPEND ${out} ${_object})
    list(APPEND package_files ${_source})
    get_filename_component(_source_dir ${_source} DIRECTORY)
    file(GLOB _headers ${_source_dir}/*.h)
    list(APPEND package_files ${_headers})
    get_source_file_property(_source_options ${_source} DIRECTORY ${_dir} COMPILE_OPTIONS)
    if(NOT _source_options)
      set(_source_options "")
    endif()
    set(_options ${_target_options} ${_source_options})
    if(_options MATCHES "\\$<" OR _definitions MATCHES "\\$<")
      message(FATAL_ERROR "${_relative}: generator expressions in its options cannot go into the Octave package")
    endif()
    list(JOIN _options " " _options)
    if(_level)
      list(JOIN _definitions " " _defines)
      string(APPEND GEOHARM_MAKE_OBJECT_FLAGS
             "${_object}: ${_relative}\n"
             "\t@mkdir -p $(dir $@)\n"
             "\tCXXFLAGS='$(OCTAVE_CXXFLAGS) $(PROJECT_CXXFLAGS) ${_options}' $(MKOCTFILE) --mex -c $(INCLUDES) "
             "${_defines} $< -o $@\n")
    elseif(_options)
      string(APPEND GEOHARM_MAKE_OBJECT_FLAGS "${_object}: OWN_CXXFLAGS := ${_options}\n")
    endif()
  endforeach()
endmacro()

# The field, the gateway routines the entry points share, and the adapters
# (libmat's is empty: nothing to link).
geoharm_package_objects(geoharm_field field_objects)
get_property(level_targets GLOBAL PROPERTY GEOHARM_LEVEL_TARGETS)
foreach(level ${level_targets})
  geoharm_package_objects(${level} level_objects)
  list(APPEND field_objects ${level_objects})
endforeach()
geoharm_package_objects(geoharm_gateway gateway_objects)
geoharm_package_objects(geoharm_octave_mx mx_objects)
geoharm_package_objects(geoharm_octave_mex mex_objects)
list(JOIN field_objects " " shared)
list(JOIN gateway_objects " " gateway)
list(JOIN mx_objects " " mx)
list(JOIN mex_objects " " mex)
set(GEOHARM_MAKE_SHARED_OBJECTS "${shared} ${gateway} ${mx} ${mex}")

# Each function: its plug-in's own objects, its MEX file, its help file.
set(GEOHARM_MAKE_MEX_RULES "")
set(GEOHARM_INDEX_FUNCTIONS "")
set(help_files "")
set(all_objects ${field_objects} ${gateway_objects} ${mx_objects} ${mex_objects})
foreach(function ${GEOHARM_MEX_FUNCTIONS})
  geoharm_package_objects(${function}_mex objects)
  list(REMOVE_ITEM objects ${field_objects} ${gateway_objects} ${mx_objects} ${mex_objects})
  list(APPEND all_objects ${objects})
  list(JOIN objects " " objects)
  string(APPEND GEOHARM_MAKE_MEX_RULES
    "${function}_OBJECTS := ${objects}\n"
    "${function}.mex: $(${function}_OBJECTS) $(SHARED_OBJECTS) $(EXPORTS)\n"
    "\t$(MKOCTFILE) --mex -o $@ $(${function}_OBJECTS) $(SHARED_OBJECTS) -Wl,--version-script=$(EXPORTS)\n\n")
  string(APPEND GEOHARM_INDEX_FUNCTIONS "  ${function}\n")
  list(APPEND help_files ${PROJECT_SOURCE_DIR}/octave/${function}.m)
endforeach()
# The functions in Octave's own language: inst/NAME.m, on the path once the
# package is loaded.
foreach(function ${GEOHARM_M_FUNCTIONS})
  string(APPEND GEOHARM_INDEX_FUNCTIONS "  ${function}\n")
  list(APPEND help_files ${PROJECT_SOURCE_DIR}/octave/${function}.m)
endforeach()
list(JOIN GEOHARM_MEX_FUNCTIONS " " GEOHARM_MAKE_FUNCTIONS)

# Every header of the field (its folders include each other's headers by
# folder, from field/ and field/include/), then the include folders: those
# of the copied sources and the field's two roots.
file(GLOB_RECURSE field_headers CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/field/*.h)
list(APPEND package_files ${field_headers})
list(REMOVE_DUPLICATES package_files)
set(source_dirs "")
set(include_dirs field field/include)
foreach(file ${package_files})
  file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR} ${file})
  get_filename_component(relative_dir ${relative} DIRECTORY)
  list(APPEND source_dirs ${relative_dir})
  if(NOT relative_dir MATCHES "^field/")
    list(APPEND include_dirs ${relative_dir})
  endif()
endforeach()
list(REMOVE_DUPLICATES source_dirs)
list(REMOVE_DUPLICATES include_dirs)
list(TRANSFORM include_dirs PREPEND -I OUTPUT_VARIABLE includes)
list(JOIN includes " " GEOHARM_MAKE_INCLUDES)

configure_file(${CMAKE_CURRENT_LIST_DIR}/DESCRIPTION.in ${generated}/DESCRIPTION @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/INDEX.in ${generated}/INDEX @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/Makefile.in ${generated}/Makefile @ONLY)
list(REMOVE_DUPLICATES all_objects)
list(LENGTH all_objects GEOHARM_PACKAGE_SOURCE_COUNT)
configure_file(${CMAKE_CURRENT_LIST_DIR}/pre_install.m.in ${generated}/pre_install.m @ONLY)

# The package folder, laid anew on every build (no file of an older one
# survives), then packed.
file(MAKE_DIRECTORY ${stage})
set(copy_commands "")
foreach(dir ${source_dirs})
  list(APPEND copy_commands COMMAND ${CMAKE_COMMAND} -E make_directory ${top}/src/${dir})
endforeach()
foreach(file ${package_files})
  file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR} ${file})
  list(APPEND copy_commands COMMAND ${CMAKE_COMMAND} -E copy ${file} ${top}/src/${relative})
endforeach()
set(top_files ${generated}/DESCRIPTION ${generated}/INDEX ${generated}/pre_install.m
    ${CMAKE_CURRENT_LIST_DIR}/post_install.m)
add_custom_command(
  OUTPUT ${GEOHARM_OCTAVE_PACKAGE}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${top}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${top}/inst ${top}/src
  COMMAND ${CMAKE_COMMAND} -E copy ${top_files} ${top}
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/LICENSE ${top}/COPYING
  COMMAND ${CMAKE_COMMAND} -E copy ${help_files} ${top}/inst
  COMMAND ${CMAKE_COMMAND} -E copy ${generated}/Makefile ${top}/src
  ${copy_commands}
  COMMAND ${CMAKE_COMMAND} -E tar czf ${GEOHARM_OCTAVE_PACKAGE} --format=gnutar -- ${package_name}
  WORKING_DIRECTORY ${stage}
  DEPENDS ${top_files} ${help_files} ${package_files} ${generated}/Makefile ${PROJECT_SOURCE_DIR}/LICENSE
  COMMENT "Octave package ${package_name}.tar.gz"
  VERBATIM)
add_custom_target(geoharm_octave_package ALL DEPENDS ${GEOHARM_OCTAVE_PACKAGE})

# dist/: the package beside the plug-in.
install(FILES ${GEOHARM_OCTAVE_PACKAGE} DESTINATION .)
