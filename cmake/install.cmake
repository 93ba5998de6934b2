# SPDX-License-Identifier: MIT
# Installs the header, the shared library, a CMake package (find_package(gattdb) gives gattdb::gattdb)
# and gattdb.pc. Included from the top-level CMakeLists.txt when GATTDB_INSTALL is on.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(GATTDB_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/gattdb)

install(TARGETS gattdb EXPORT gattdbTargets
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Runtime
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Runtime NAMELINK_COMPONENT Development
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Development
  PUBLIC_HEADER DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT Development)
install(EXPORT gattdbTargets NAMESPACE gattdb:: DESTINATION ${GATTDB_CMAKE_DIR} COMPONENT Development)

configure_package_config_file(cmake/gattdbConfig.cmake.in ${PROJECT_BINARY_DIR}/gattdbConfig.cmake
  INSTALL_DESTINATION ${GATTDB_CMAKE_DIR})
# The C interface only grows within a major version, so any 1.x satisfies a request for 1.y with y <= x.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/gattdbConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/gattdbConfig.cmake ${PROJECT_BINARY_DIR}/gattdbConfigVersion.cmake
  cmake/gattdbDatabase.cmake DESTINATION ${GATTDB_CMAKE_DIR} COMPONENT Development)

# gattdb.pc finds the install relative to itself (pkg-config's ${pcfiledir} is the folder it is in), so
# that it holds wherever the files are put: with `cmake --install --prefix`, or copied elsewhere.
foreach(_dir IN ITEMS PREFIX FULL_LIBDIR FULL_INCLUDEDIR)
  cmake_path(RELATIVE_PATH CMAKE_INSTALL_${_dir} BASE_DIRECTORY ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig
    OUTPUT_VARIABLE _relative)
  string(REGEX REPLACE "/$" "" GATTDB_PC_${_dir} "${_relative}")
endforeach()
configure_file(cmake/gattdb.pc.in ${PROJECT_BINARY_DIR}/gattdb.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/gattdb.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT Development)
