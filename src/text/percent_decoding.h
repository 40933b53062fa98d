#pragma once
// Undoing %XX escapes in an address or a form value, byte for byte: a '%'
// not followed by two hex digits stays as it is, so a secret written with a
// stray '%' is still found in its own text.
#include <string>
#include <string_view>

namespace text {

// `plus_is_space`: a '+' is a space, as in a form-encoded value.
std::string percent_decoded(std::string_view encoded, bool plus_is_space = false);

}  // namespace text
