#include "text/lines.h"

#include "text/primitives.h"
#include "text/scan.h"

namespace text {
namespace {

constexpr std::string_view kLineBreak = "\r\n";

// Calls visit(entry) for every entry of the line list, in order, until visit
// returns false.
template <typename Visit>
void for_each_entry(std::string_view list, Visit visit) {
    const std::string_view t = as_text(list);
    std::size_t from = 0;
    while (from < t.size()) {
        const std::size_t hit = scan::find_index(t, kLineBreak, from, false);
        const std::size_t end = hit == scan::npos ? t.size() : hit;
        if (!visit(t.substr(from, end - from))) {
            return;
        }
        if (hit == scan::npos) {
            return;
        }
        from = hit + kLineBreak.size();
    }
}

}  // namespace

int line_count(std::string_view text) {
    int count = 0;
    for_each_entry(text, [&](std::string_view) {
        ++count;
        return true;
    });
    return count;
}

std::string line_at(std::string_view text, int n) {
    std::string found;
    int index = 0;
    if (n < 1) {
        return found;
    }
    for_each_entry(text, [&](std::string_view entry) {
        if (++index == n) {
            found = entry;
            return false;
        }
        return true;
    });
    return found;
}

std::string remove_line(std::string_view text, int n) {
    std::string out;
    int index = 0;
    bool first = true;
    for_each_entry(text, [&](std::string_view entry) {
        if (++index != n) {
            if (!first) {
                out.append(kLineBreak);
            }
            out.append(entry);
            first = false;
        }
        return true;
    });
    return out;
}

std::string multi_replace(std::string_view text, const std::vector<ReplacePair>& pairs, int start,
                          int max_count, bool case_sensitive) {
    constexpr std::size_t kMostPairs = 5;
    std::string out(as_text(text));
    for (std::size_t i = 0; i < pairs.size() && i < kMostPairs; ++i) {
        const auto& [needle, replacement] = pairs[i];
        if (!as_text(needle).empty()) {
            out = replace_substring(out, needle, replacement, start, max_count, case_sensitive);
        }
    }
    return out;
}

}  // namespace text
