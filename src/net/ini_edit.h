#pragma once
// Changing one value of korvel.ini the way a person would with an editor:
// every other byte of the file (comments, blank lines, unknown sections and
// keys, letter case, line ends) stays as it was.
#include <string>
#include <string_view>

namespace net {

// The text with `key` set to `value` in `section` (names matched as the
// reader matches them: trimmed, any ASCII letter case). The reader takes the
// last line of a key, so that is the one changed, keeping its spacing and a
// comment after the value. The value is quoted where the reader would
// otherwise cut it short (see ini_written_value). A missing key goes after
// the last key line of the last such section; a missing section is
// appended. New lines end like the file's (CR LF when it has one).
std::string with_ini_value(std::string_view text, std::string_view section, std::string_view key,
                           std::string_view value);

}  // namespace net
