#pragma once
// Blank-line normalisation of a keyword list (a CR LF line list).
#include <string>
#include <string_view>

namespace ranking {

// Drops one leading and one trailing CR LF, then collapses every run of empty
// or blank-only lines between two entries into a single line break.
std::string normalize_lines(std::string_view text);

}  // namespace ranking
