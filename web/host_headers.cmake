# SPDX-License-Identifier: MIT
# The tool core uses nlohmann-json, a header-only library. An Emscripten build looks for packages in
# its own sysroot only, and must not see the host's /usr/include (its C library headers would shadow
# Emscripten's), so the JSON headers alone are copied into the build tree and offered from there.
find_path(GATTDB_NLOHMANN_JSON_INCLUDE_DIR nlohmann/json.hpp PATHS /usr/local/include /usr/include
  NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(_gattdb_host_headers ${CMAKE_BINARY_DIR}/host-headers)
file(COPY ${GATTDB_NLOHMANN_JSON_INCLUDE_DIR}/nlohmann DESTINATION ${_gattdb_host_headers})
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE ${_gattdb_host_headers})
