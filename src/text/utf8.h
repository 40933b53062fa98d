#pragma once
// Well-formed UTF-8, byte by byte, for texts that must be UTF-8 (the history,
// JSON for the chat robots) as opposed to the program's GBK.
#include <cstddef>
#include <string_view>

namespace text {

// Length of the well-formed UTF-8 sequence that starts `text` (1 to 4), or 0
// when none does: overlong forms, surrogates and code points past U+10FFFF
// are refused. A NUL byte is a sequence of length 1.
std::size_t utf8_sequence_length(std::string_view text);

}  // namespace text
