# SPDX-License-Identifier: MIT
# gattdb_add_database(<target> <description> [NAME <symbol>])
#
# Builds a database image into <target> from a description (.json, or any format the gattdb tool
# picks by the file's extension). At build time the tool writes <symbol>.c (the image) and <symbol>.h
# (its declaration and a constant for each attribute handle) into a folder of the binary tree; the
# source joins <target>, the folder its include path. Both are written again whenever the
# description or the tool changes, so the handles a firmware uses never go stale, and a bad
# description fails the build with the tool's one-line message. <symbol> defaults to gatt_db.
#
# Needs the imported executable gattdb::tool: from the installed package (its Tools component), or
# from a build tree that builds the tool (add_subdirectory with GATTDB_BUILD_TOOLS on).
function(gattdb_add_database target description)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "NAME" "")
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "gattdb_add_database: unexpected arguments: ${arg_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT TARGET gattdb::tool)
    message(FATAL_ERROR "gattdb_add_database: no gattdb::tool; install gattdb's Tools component, or "
                        "set GATTDB_BUILD_TOOLS ON before add_subdirectory")
  endif()
  # The image is C source: compiled as C++ its const array would have internal linkage.
  get_property(languages GLOBAL PROPERTY ENABLED_LANGUAGES)
  if(NOT "C" IN_LIST languages)
    message(FATAL_ERROR "gattdb_add_database: the image is C source; enable C in project()")
  endif()
  set(symbol gatt_db)
  if(arg_NAME)
    set(symbol ${arg_NAME})
  endif()

  cmake_path(ABSOLUTE_PATH description BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR} NORMALIZE)
  set(folder ${CMAKE_CURRENT_BINARY_DIR}/${target}_gattdb)
  set(source ${folder}/${symbol}.c)
  set(header ${folder}/${symbol}.h)
  file(MAKE_DIRECTORY ${folder})
  add_custom_command(
    OUTPUT ${source} ${header}
    COMMAND gattdb::tool build ${description} -f c --name ${symbol} -o ${source}
    COMMAND gattdb::tool build ${description} -f header --name ${symbol} -o ${header}
    DEPENDS ${description} gattdb::tool
    COMMENT "Building the GATT database ${symbol} from ${description}"
    VERBATIM)
  target_sources(${target} PRIVATE ${source} ${header})
  target_include_directories(${target} PUBLIC ${folder})
endfunction()
