#pragma once
// Whole sections of korvel.ini added, replaced and removed the way a person
// would with an editor: every byte outside the section (comments, blank
// lines, other sections, letter case, line ends) stays as it was. Section
// and key names are matched as the reader matches them (trimmed, any ASCII
// letter case); a section written twice is one section to the reader, so
// every block of it is edited.
//
// A section's block runs from its header to its last key line: comments
// among its keys belong to it, a comment after its last key introduces what
// follows and stays.
#include <string>
#include <string_view>
#include <vector>

namespace net {

// The names of the sections whose name begins with `prefix` (letter case
// ignored), the prefix cut off, in file order, each once (the first
// spelling), as written; nameless ones are left out.
std::vector<std::string> ini_section_names(std::string_view text, std::string_view prefix);

// The text without `section`: each of its blocks is removed, with one blank
// line beside it, so that the blank line that separated it from its
// neighbours is not left doubled.
std::string without_ini_section(std::string_view text, std::string_view section);

// The text with `section` made of `lines` ("key=value", in order): the
// lines of its first block replaced (its header line kept as written, later
// blocks removed), or a new block appended after a blank line. New lines end
// like the file's.
std::string with_ini_section(std::string_view text, std::string_view section,
                             const std::vector<std::string>& lines);

// The text without any line of `key` in `section`.
std::string without_ini_key(std::string_view text, std::string_view section, std::string_view key);

}  // namespace net
