#pragma once
// Offsets of every match of one pattern in one UTF-8 subject, kept compactly:
// 32-bit begin/end byte offsets for the whole match and each capture group.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace pattern {

class MatchList {
  public:
    struct Span {
        std::uint32_t begin = kUnset;
        std::uint32_t end = kUnset;
        bool took_part() const { return begin != kUnset; }
    };
    static constexpr std::uint32_t kUnset = UINT32_MAX;

    explicit MatchList(int group_count = 0) : group_count_(group_count < 0 ? 0 : group_count) {}

    int group_count() const { return group_count_; }
    std::size_t size() const { return offsets_.size() / stride(); }

    // Appends one match from begin/end pairs for group 0 .. group_count;
    // pairs with begin above the subject length are groups that did not take part.
    void append(const std::size_t* pairs, std::size_t subject_length);

    // Group 0 is the whole match. Out-of-range indexes give a span that did not take part.
    Span span(std::size_t match, int group) const;

  private:
    std::size_t stride() const { return 2 * (static_cast<std::size_t>(group_count_) + 1); }

    int group_count_;
    std::vector<std::uint32_t> offsets_;
};

}  // namespace pattern
