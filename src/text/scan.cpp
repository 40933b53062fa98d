#include "text/scan.h"

#include <algorithm>

namespace text::scan {
namespace {

bool is_lead(char c) {
    return static_cast<unsigned char>(c) >= 0x80;
}

bool has_ascii_letter(std::string_view s) {
    return std::any_of(s.begin(), s.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return fold(b) != b || (b >= 'a' && b <= 'z');
    });
}

bool equal_folded(const char* a, const char* b, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        if (fold(static_cast<unsigned char>(a[i])) != fold(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

// Any-alignment occurrence of needle at or after `from`, letter case folded.
std::size_t find_folded(std::string_view text, std::string_view needle, std::size_t from) {
    if (!has_ascii_letter(needle)) {
        return text.find(needle, from);
    }
    if (needle.size() > text.size()) {
        return npos;
    }
    const unsigned char first = fold(static_cast<unsigned char>(needle[0]));
    const std::size_t last_start = text.size() - needle.size();
    for (std::size_t i = from; i <= last_start; ++i) {
        if (fold(static_cast<unsigned char>(text[i])) == first &&
            equal_folded(text.data() + i + 1, needle.data() + 1, needle.size() - 1)) {
            return i;
        }
    }
    return npos;
}

}  // namespace

// Candidates come from a plain byte search (fast); each one is then checked
// for lying on a character boundary. Any index right after an ASCII byte is a
// boundary (that byte was a single character or a trail byte), so only the
// run of high bytes just before the candidate needs looking at: inside such a
// run every character is two bytes, and parity decides. `known` only grows, so
// the whole search stays linear.
std::size_t find_index(std::string_view text, std::string_view needle, std::size_t origin,
                       bool ignore_case) {
    if (origin >= text.size()) {
        return npos;
    }
    if (needle.empty()) {
        return origin;
    }
    std::size_t known = origin;
    std::size_t from = origin;
    for (;;) {
        const std::size_t hit =
            ignore_case ? find_folded(text, needle, from) : text.find(needle, from);
        if (hit == npos) {
            return npos;
        }
        std::size_t run_start = hit;
        while (run_start > known && is_lead(text[run_start - 1])) {
            --run_start;
        }
        if (((hit - run_start) & 1U) == 0) {
            // A lead byte with nothing after it ends the search.
            const bool lone_lead_at_end = is_lead(text[hit]) && hit + 1 == text.size();
            return lone_lead_at_end ? npos : hit;
        }
        known = hit + 1;  // hit was a trail byte, so the next byte starts a character
        from = hit + 1;
    }
}

}  // namespace text::scan
