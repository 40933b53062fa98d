#include "text/fields.h"

#include "text/codepage.h"
#include "text/primitives.h"

namespace text {
namespace {

// "#引号" in a marker stands for one double quote.
void substitute_quote_placeholder(std::string& marker) {
    const std::string& placeholder = GBK("#引号");
    if (find(marker, placeholder) != -1) {
        marker = replace_substring(marker, placeholder, "\"");
    }
}

}  // namespace

std::string text_between(std::string_view text, std::string& start_marker, std::string& end_marker,
                         int start_position, bool case_matters) {
    substitute_quote_placeholder(start_marker);
    substitute_quote_placeholder(end_marker);
    const std::string_view t = as_text(text);
    const int start = find(t, start_marker, start_position, !case_matters);
    if (start == -1) {
        return {};
    }
    const std::string_view tail =
        t.substr(static_cast<std::size_t>(start) - 1 + as_text(start_marker).size());
    const int end = find(tail, end_marker, start_position, !case_matters);
    if (end == -1) {
        return {};
    }
    return std::string(tail.substr(0, static_cast<std::size_t>(end) - 1));
}

std::string text_before(std::string_view text, std::string_view marker, int start_position,
                        bool ignore_case) {
    const std::string_view t = as_text(text);
    const int at = find(t, marker, start_position <= 0 ? 1 : start_position, ignore_case);
    if (at == -1) {
        return {};
    }
    return std::string(t.substr(0, static_cast<std::size_t>(at) - 1));
}

}  // namespace text
