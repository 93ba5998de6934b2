# SPDX-License-Identifier: MIT
# Turns the UUID table (kind, uuid, name, identifier, source; '#' lines are its licence notice) into a
# C++ source with an array sorted by canonical UUID. Run as:
#   cmake -DINPUT=tsv -DOUTPUT=cpp -P embed_uuid_table.cmake
file(STRINGS "${INPUT}" lines ENCODING UTF-8)
set(entries "")
foreach(line IN LISTS lines)
  if(line MATCHES "^#" OR line MATCHES "^kind\t")
    continue()
  endif()
  if(NOT line MATCHES "^(service|characteristic|descriptor)\t([0-9A-F-]+)\t([^\"\\\\\t]+)\t([^\"\\\\\t]+)\t([a-z0-9-]+)$")
    message(FATAL_ERROR "${INPUT}: unreadable line: ${line}")
  endif()
  set(role ${CMAKE_MATCH_1})
  string(REPLACE "-" "" uuid "${CMAKE_MATCH_2}")
  set(name "${CMAKE_MATCH_3}")
  set(identifier "${CMAKE_MATCH_4}")
  if(CMAKE_MATCH_5 STREQUAL "gss")
    set(sig true)
  else()
    set(sig false)
  endif()
  string(LENGTH "${uuid}" length)
  if(NOT length EQUAL 4 AND NOT length EQUAL 32)
    message(FATAL_ERROR "${INPUT}: a UUID of neither 4 nor 32 digits: ${line}")
  endif()
  # The sort key leads each entry, so that sorting the lines sorts the table.
  list(APPEND entries "    {\"${uuid}\", uuid_role::${role}, \"${name}\", \"${identifier}\", ${sig}},")
endforeach()
list(SORT entries)
list(JOIN entries "\n" body)
file(WRITE "${OUTPUT}.new" "// Generated from gatt-uuids.tsv by embed_uuid_table.cmake; the licence notice of its data is in
// that file and in docs/tool.md.
#include \"core/model/uuid_table.hpp\"

namespace gattdb::tool {
namespace {

constexpr known_uuid ENTRIES[] = {
${body}
};

}  // namespace

const std::span<const known_uuid> KNOWN_UUIDS(ENTRIES);

}  // namespace gattdb::tool
")
# configure_file rewrites only on change, so an unchanged table is not compiled again.
configure_file("${OUTPUT}.new" "${OUTPUT}" COPYONLY)
file(REMOVE "${OUTPUT}.new")
