#pragma once
// Runs one pattern over one UTF-8 subject with PCRE2 and lists the matches.
#include <optional>
#include <string_view>

#include "pattern/match_list.h"

namespace pattern::engine {

struct Options {
    bool case_sensitive = false;
    bool multiline = true;
    bool global = true;
};

// Every match (or only the first one unless global), or nothing when the
// pattern does not compile or matching fails (e.g. a resource limit).
std::optional<MatchList> find_all(std::string_view pattern_utf8, std::string_view subject_utf8,
                                  Options options);

}  // namespace pattern::engine
