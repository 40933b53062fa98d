#include "ranking/normalize_lines.h"

#include "pattern/regex_object.h"
#include "text/primitives.h"

namespace ranking {

std::string normalize_lines(std::string_view text) {
    constexpr std::string_view kLineBreak = "\r\n";
    std::string_view t = text::as_text(text);
    if (t.starts_with(kLineBreak)) {
        t.remove_prefix(kLineBreak.size());
    }
    if (t.ends_with(kLineBreak)) {
        t.remove_suffix(kLineBreak.size());
    }
    // No capture groups: a line feed, the white space after it, and the CR of
    // the last line break of the blank run.
    pattern::RegexObject blank_lines;
    blank_lines.create("\\n\\s*\\r", t);
    return blank_lines.replace("");
}

}  // namespace ranking
