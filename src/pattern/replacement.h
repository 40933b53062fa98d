#pragma once
// Replacement templates as the program's callers write them (PCRE2's own
// syntax lacks "$&"): "$$" a dollar sign, "$&" the match, "$`" the text
// before it, "$'" the text after it, "$1".."$99" a capture group (empty when
// it did not take part). Any other "$" is literal, and so is "$n" for a group
// the pattern does not have.
#include <string>
#include <string_view>

#include "pattern/match_list.h"

namespace pattern {

// The subject with every listed match replaced by the expanded template.
std::string replace_matches(std::string_view subject, const MatchList& matches,
                            std::string_view replacement);

}  // namespace pattern
