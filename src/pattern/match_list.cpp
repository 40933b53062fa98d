#include "pattern/match_list.h"

namespace pattern {

void MatchList::append(const std::size_t* pairs, std::size_t subject_length) {
    for (std::size_t i = 0; i < stride(); i += 2) {
        const bool took_part = pairs[i] <= pairs[i + 1] && pairs[i + 1] <= subject_length;
        offsets_.push_back(took_part ? static_cast<std::uint32_t>(pairs[i]) : kUnset);
        offsets_.push_back(took_part ? static_cast<std::uint32_t>(pairs[i + 1]) : kUnset);
    }
}

MatchList::Span MatchList::span(std::size_t match, int group) const {
    if (match >= size() || group < 0 || group > group_count_) {
        return {};
    }
    const std::size_t at = match * stride() + 2 * static_cast<std::size_t>(group);
    return {offsets_[at], offsets_[at + 1]};
}

}  // namespace pattern
