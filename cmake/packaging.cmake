# SPDX-License-Identifier: MIT
# Debian packages with CPack (`cpack -G DEB` in the build folder), one per install component:
#   libgattdb<major>  Runtime      the shared library
#   libgattdb-dev     Development  header, .so link, CMake package, gattdb.pc
#   gattdb-tools      Tools        the gattdb tool, its manual page and bash completion
# The version is the project's, which comes from the header. The packages hold the install prefix
# chosen at configure time: configure with -DCMAKE_INSTALL_PREFIX=/usr to build them, so that the
# library goes into Debian's multiarch folder. Included from the top-level CMakeLists.txt after
# every install rule.
set(GATTDB_PACKAGE_CONTACT "gattdb maintainers <maintainers@gattdb.invalid>" CACHE STRING
  "The Maintainer of the Debian packages")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME gattdb)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${GATTDB_PACKAGE_CONTACT})
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)

set(CPACK_COMPONENTS_ALL Runtime Development)
if(TARGET gattdb_cli)
  list(APPEND CPACK_COMPONENTS_ALL Tools)
endif()

# The C library and the C++ runtime come from dpkg-shlibdeps, which finds libgattdb.so.1 for the tool
# in the build folder. The packages built here depend on each other at exactly this version.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR})
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS Runtime)
set(CPACK_COMPONENT_TOOLS_DEPENDS Runtime)

# CPack puts the leading space before each line of an extended description itself.
set(_summary "Bluetooth LE GATT attribute database images")
set(_about "gattdb builds the attribute database of a Bluetooth LE GATT server, one
service and characteristic at a time through a plain C interface, and encodes
it as one compact byte image.
.")

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libgattdb${PROJECT_VERSION_MAJOR})
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/cmake/debian/triggers)
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION "${_summary} - shared library
${_about}
This package holds the shared library.")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libgattdb-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION "${_summary} - development files
${_about}
This package holds the header, the CMake package (find_package(gattdb)) and
the pkg-config file.")

set(CPACK_DEBIAN_TOOLS_PACKAGE_NAME gattdb-tools)
set(CPACK_DEBIAN_TOOLS_PACKAGE_SECTION devel)
set(CPACK_COMPONENT_TOOLS_DESCRIPTION "${_summary} - command-line tool
${_about}
This package holds the gattdb tool, which builds images from JSON
descriptions, prints their attributes and compares them.")

# Debian wants the copyright and a changelog in each package's documentation folder. They are
# installed only by a component install, as CPack does, and not by a plain `cmake --install`.
string(TIMESTAMP _changelog_date "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(cmake/debian/changelog.in ${PROJECT_BINARY_DIR}/debian/changelog @ONLY)
execute_process(COMMAND gzip -9nf ${PROJECT_BINARY_DIR}/debian/changelog COMMAND_ERROR_IS_FATAL ANY)
foreach(_component IN LISTS CPACK_COMPONENTS_ALL)
  string(TOUPPER ${_component} _upper)
  install(FILES cmake/debian/copyright ${PROJECT_BINARY_DIR}/debian/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${CPACK_DEBIAN_${_upper}_PACKAGE_NAME}
    COMPONENT ${_component} EXCLUDE_FROM_ALL)
endforeach()

include(CPack)
