#pragma once
// Turning the catalogue's responses into category lines. Bodies are raw bytes
// as fetched; they are read as text up to their first NUL.
#include <string>
#include <string_view>

namespace catalogue {

// The level-1 list of the vendor info page: the UTF-8 text between "yiji" and
// "mulu" as GBK, with "----" turned into CR LF and "&mdash;" into "—" (any
// letter case). Empty when a marker is missing.
std::string level1_buffer_from_page(std::string_view body);

// The category lines (name—id CR LF, in response order) of a groups response:
// the entries between "opt_infos" and "debugInfo", names and ids verbatim.
std::string group_lines_from_response(std::string_view body);

// The category lines (name—id CR LF, in response order) of the 爱逛街 tab
// list, names and ids verbatim.
std::string tab_lines_from_response(std::string_view body);

}  // namespace catalogue
