# SPDX-License-Identifier: MIT
# The tool's manual page, gattdb(1), and its bash completion: the page is built from
# docs/gattdb.1.scd with scdoc when scdoc is there; both are installed with the tool (component
# Tools). Included from tools/CMakeLists.txt.
find_program(GATTDB_SCDOC scdoc DOC "scdoc, which turns the manual page's source into roff")
find_program(GATTDB_GZIP gzip)

if(GATTDB_SCDOC AND GATTDB_GZIP)
  set(_man_page ${PROJECT_BINARY_DIR}/gattdb.1)
  # Installed compressed, as Debian's policy asks of manual pages; -n leaves out the name and time
  # so that the file is the same in every build.
  add_custom_command(
    OUTPUT ${_man_page} ${_man_page}.gz
    COMMAND sh -c "\"$0\" <\"$1\" >\"$2\"" ${GATTDB_SCDOC} ${PROJECT_SOURCE_DIR}/docs/gattdb.1.scd ${_man_page}
    COMMAND ${GATTDB_GZIP} -9nkf ${_man_page}
    DEPENDS ${PROJECT_SOURCE_DIR}/docs/gattdb.1.scd
    COMMENT "Writing the manual page gattdb(1)"
    VERBATIM)
  add_custom_target(gattdb_man_page ALL DEPENDS ${_man_page}.gz)
  set_target_properties(gattdb_man_page PROPERTIES GATTDB_ROFF ${_man_page})
else()
  message(STATUS "scdoc or gzip not found: the manual page gattdb(1) is not built")
endif()

if(NOT GATTDB_INSTALL)
  return()
endif()

if(TARGET gattdb_man_page)
  install(FILES ${_man_page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT Tools)
endif()

# bash-completion loads a command's completion on first use from the folder its pkg-config file
# names. That folder is taken relative to bash-completion's own prefix, so that the completion lands
# in it when installing into that prefix and in the same place under any other.
set(_completions_dir ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
find_package(PkgConfig QUIET)
if(PKG_CONFIG_FOUND)
  pkg_get_variable(_bash_completion_prefix bash-completion prefix)
  pkg_get_variable(_bash_completions_dir bash-completion completionsdir)
  if(_bash_completion_prefix AND _bash_completions_dir MATCHES "^${_bash_completion_prefix}/(.+)")
    set(_completions_dir ${CMAKE_MATCH_1})
  endif()
endif()
set(GATTDB_BASH_COMPLETION_DIR ${_completions_dir} CACHE STRING
  "Where the bash completion goes, relative to the install prefix")
install(FILES ${PROJECT_SOURCE_DIR}/tools/completion/gattdb.bash RENAME gattdb
  DESTINATION ${GATTDB_BASH_COMPLETION_DIR} COMPONENT Tools)
