# SPDX-License-Identifier: MIT
# Turns the table of SIG service requirements (service, characteristic, requirement, mandatory
# properties, optional properties, other descriptors, service name, characteristic name; '#' lines are
# its notice) into a C++ source with an array in the table's order. Run as:
#   cmake -DINPUT=tsv -DOUTPUT=cpp -P embed_service_table.cmake
file(STRINGS "${INPUT}" lines ENCODING UTF-8)
set(entries "")
set(pattern "^([0-9A-F][0-9A-F][0-9A-F][0-9A-F])\t([0-9A-F][0-9A-F][0-9A-F][0-9A-F])\t(mandatory|optional|conditional)\t([a-z|-]*)\t([a-z|-]*)\t([a-z0-9_:,]*)\t([^\"\\\\\t]+)\t([^\"\\\\\t]+)$")
foreach(line IN LISTS lines)
  if(line MATCHES "^#")
    continue()
  endif()
  if(NOT line MATCHES "${pattern}")
    message(FATAL_ERROR "${INPUT}: unreadable line: ${line}")
  endif()
  set(service ${CMAKE_MATCH_1})
  set(characteristic ${CMAKE_MATCH_2})
  set(need ${CMAKE_MATCH_3})
  set(mandatory "${CMAKE_MATCH_4}")
  set(optional "${CMAKE_MATCH_5}")
  set(descriptors "${CMAKE_MATCH_6}")
  string(STRIP "${CMAKE_MATCH_7}" service_name)
  string(STRIP "${CMAKE_MATCH_8}" characteristic_name)
  list(APPEND entries "    {0x${service}, 0x${characteristic}, requirement::${need}, \"${mandatory}\", \"${optional}\", \"${descriptors}\", \"${service_name}\", \"${characteristic_name}\"},")
endforeach()
list(JOIN entries "\n" body)
file(WRITE "${OUTPUT}.new" "// Generated from gatt-services.tsv by embed_service_table.cmake; the notice of its data is in that
// file.
#include \"core/model/service_requirements.hpp\"

namespace gattdb::tool {
namespace {

constexpr characteristic_requirement ENTRIES[] = {
${body}
};

}  // namespace

const std::span<const characteristic_requirement> SERVICE_REQUIREMENTS(ENTRIES);

}  // namespace gattdb::tool
")
# configure_file rewrites only on change, so an unchanged table is not compiled again.
configure_file("${OUTPUT}.new" "${OUTPUT}" COPYONLY)
file(REMOVE "${OUTPUT}.new")
