#pragma once
// Line lists: multi-line GBK texts read as entries separated by CR LF. Each
// CR LF ends one (possibly empty) entry; what follows the last CR LF is one
// more entry only if it is not empty.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace text {

int line_count(std::string_view text);
// Entry n (1-based), or empty when n is out of range.
std::string line_at(std::string_view text, int n);
// The list without entry n, rejoined with CR LF between entries and none after the last.
std::string remove_line(std::string_view text, int n);

using ReplacePair = std::pair<std::string_view, std::string_view>;
// Applies up to five (find, replacement) pairs one after the other. Letter case
// is ignored unless case_sensitive; max_count < 0 means every occurrence.
std::string multi_replace(std::string_view text, const std::vector<ReplacePair>& pairs,
                          int start = 1, int max_count = -1, bool case_sensitive = false);

}  // namespace text
