# Turns the SIG name table (kind, uuid, name; '#' lines are its licence notice) into a C++ source
# with an array sorted by number. Run as: cmake -DINPUT=tsv -DOUTPUT=cpp -P embed_sig_names.cmake
file(STRINGS "${INPUT}" lines)
set(entries "")
foreach(line IN LISTS lines)
  if(line MATCHES "^#" OR line MATCHES "^kind\t")
    continue()
  endif()
  if(NOT line MATCHES "^[a-z]+\t([0-9A-F][0-9A-F][0-9A-F][0-9A-F])\t([^\"\\\\]+)$")
    message(FATAL_ERROR "${INPUT}: unreadable line: ${line}")
  endif()
  list(APPEND entries "    {0x${CMAKE_MATCH_1}, \"${CMAKE_MATCH_2}\"},")
endforeach()
# The same UUID may be listed under two kinds; sorting puts the entries in number order, and
# removing exact repeats leaves one each.
list(SORT entries)
list(REMOVE_DUPLICATES entries)
list(JOIN entries "\n" body)
file(WRITE "${OUTPUT}.new" "// Generated from sig-uuids.tsv by embed_sig_names.cmake; the licence notice of its data is in
// that file and in docs/tool.md.
#include \"sig_names.hpp\"

namespace gattdb::tool {
namespace {

constexpr sig_name_entry ENTRIES[] = {
${body}
};

}  // namespace

const std::span<const sig_name_entry> SIG_NAMES(ENTRIES);

}  // namespace gattdb::tool
")
# configure_file rewrites only on change, so an unchanged table is not compiled again.
configure_file("${OUTPUT}.new" "${OUTPUT}" COPYONLY)
file(REMOVE "${OUTPUT}.new")
