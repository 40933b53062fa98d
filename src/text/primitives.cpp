#include "text/primitives.h"

#include <charconv>

#include "text/codepage.h"
#include "text/scan.h"

namespace text {
namespace {

constexpr unsigned char kFullWidthByte = 0xA1;

std::size_t index_of_start(int start) {
    return start <= 1 ? 0 : static_cast<std::size_t>(start) - 1;
}

int position_of(std::size_t index) {
    return index == scan::npos ? -1 : static_cast<int>(index + 1);
}

// Length of the space character at index i (1 or 2), or 0 when none starts there.
std::size_t space_length(std::string_view t, std::size_t i) {
    if (t[i] == ' ') {
        return 1;
    }
    const bool full_width = static_cast<unsigned char>(t[i]) == kFullWidthByte &&
                            i + 1 < t.size() &&
                            static_cast<unsigned char>(t[i + 1]) == kFullWidthByte;
    return full_width ? 2 : 0;
}

template <typename Map>
std::string map_single_byte_chars(std::string_view text, Map map) {
    const std::string_view t = as_text(text);
    std::string out(t);
    for (std::size_t i = 0; i < out.size();) {
        const std::size_t len = scan::char_length(t, i);
        if (len == 1) {
            out[i] = static_cast<char>(map(static_cast<unsigned char>(out[i])));
        }
        i += len;
    }
    return out;
}

// The digits, signs and points after leading spaces, full-width ones (A3 B0..B9,
// A3 AB, A3 AD, A3 AE) turned into ASCII.
std::string ascii_number_prefix(std::string_view t) {
    std::string out;
    std::size_t i = 0;
    while (i < t.size() && space_length(t, i) > 0) {
        i += space_length(t, i);
    }
    while (i < t.size()) {
        const auto b = static_cast<unsigned char>(t[i]);
        char ascii = static_cast<char>(b);
        std::size_t len = 1;
        if (b == 0xA3 && i + 1 < t.size()) {
            // The full-width form A3 xx stands for the ASCII character xx - 0x80.
            ascii = static_cast<char>(static_cast<unsigned char>(t[i + 1]) - 0x80);
            len = 2;
        }
        if (std::string_view("0123456789+-.").find(ascii) == std::string_view::npos ||
            (len == 1 && b >= 0x80)) {
            break;
        }
        out += ascii;
        i += len;
    }
    return out;
}

}  // namespace

std::string_view as_text(std::string_view bytes) {
    return bytes.substr(0, bytes.find('\0'));
}

int find(std::string_view text, std::string_view needle, int start, bool ignore_case) {
    const std::string_view t = as_text(text);
    const std::size_t hit =
        scan::find_index(t, as_text(needle), index_of_start(start), ignore_case);
    if (hit != scan::npos && as_text(needle).empty()) {
        return 1;
    }
    return position_of(hit);
}

int find_last(std::string_view text, std::string_view needle, int start, bool ignore_case) {
    std::string_view t = as_text(text);
    const std::string_view n = as_text(needle);
    if (start > 0 && static_cast<std::size_t>(start) <= t.size()) {
        t = t.substr(0, static_cast<std::size_t>(start) - 1);
    }
    if (n.empty()) {
        return t.empty() ? -1 : 1;
    }
    std::size_t last = scan::npos;
    for (std::size_t from = 0;;) {
        const std::size_t hit = scan::find_index(t, n, from, ignore_case);
        if (hit == scan::npos) {
            break;
        }
        last = hit;
        from = hit + scan::char_length(t, hit);
    }
    return position_of(last);
}

std::vector<std::string> split(std::string_view text, std::string_view delimiter, int max_pieces) {
    const std::string_view t = as_text(text);
    const std::string_view d = as_text(delimiter);
    std::vector<std::string> pieces;
    if (t.empty() || max_pieces == 0) {
        return pieces;
    }
    if (d.empty()) {
        pieces.emplace_back(t);
        return pieces;
    }
    const auto full = [&] {
        return max_pieces > 0 && pieces.size() >= static_cast<std::size_t>(max_pieces);
    };
    std::size_t from = 0;
    while (!full()) {
        const std::size_t hit = scan::find_index(t, d, from, false);
        if (hit == scan::npos) {
            if (from < t.size()) {
                pieces.emplace_back(t.substr(from));  // the trailing piece, when not empty
            }
            break;
        }
        pieces.emplace_back(t.substr(from, hit - from));
        from = hit + d.size();
    }
    return pieces;
}

std::string left(std::string_view text, int n) {
    const std::string_view t = as_text(text);
    if (n <= 0) {
        return {};
    }
    return std::string(t.substr(0, static_cast<std::size_t>(n)));
}

std::string right(std::string_view text, int n) {
    const std::string_view t = as_text(text);
    if (n <= 0) {
        return {};
    }
    const auto count = std::min(t.size(), static_cast<std::size_t>(n));
    return std::string(t.substr(t.size() - count));
}

std::string middle(std::string_view text, int start, int count) {
    const std::string_view t = as_text(text);
    if (start < 1 || static_cast<std::size_t>(start) > t.size() || count <= 0) {
        return {};
    }
    return std::string(
        t.substr(static_cast<std::size_t>(start) - 1, static_cast<std::size_t>(count)));
}

std::string trim_leading(std::string_view text) {
    const std::string_view t = as_text(text);
    std::size_t i = 0;
    while (i < t.size() && space_length(t, i) > 0) {
        i += space_length(t, i);
    }
    return std::string(t.substr(i));
}

// Trailing spaces are found walking forward: only a forward walk knows which
// A1 bytes pair up into characters.
std::string trim_trailing(std::string_view text) {
    const std::string_view t = as_text(text);
    std::size_t keep = 0;
    for (std::size_t i = 0; i < t.size();) {
        const std::size_t space = space_length(t, i);
        const std::size_t len = space > 0 ? space : scan::char_length(t, i);
        i += len;
        if (space == 0) {
            keep = i;
        }
    }
    return std::string(t.substr(0, keep));
}

std::string trim(std::string_view text) {
    return trim_trailing(trim_leading(text));
}

std::string remove_spaces(std::string_view text) {
    const std::string_view t = as_text(text);
    std::string out;
    out.reserve(t.size());
    for (std::size_t i = 0; i < t.size();) {
        const std::size_t space = space_length(t, i);
        const std::size_t len = space > 0 ? space : scan::char_length(t, i);
        if (space == 0) {
            out.append(t.substr(i, len));
        }
        i += len;
    }
    return out;
}

std::string to_upper(std::string_view text) {
    return map_single_byte_chars(text, [](unsigned char b) {
        return (b >= 'a' && b <= 'z') ? static_cast<unsigned char>(b - ('a' - 'A')) : b;
    });
}

std::string to_lower(std::string_view text) {
    return map_single_byte_chars(text, scan::fold);
}

std::string replace_substring(std::string_view text, std::string_view needle,
                              std::string_view replacement, int start, int max_count,
                              bool case_matters) {
    const std::string_view t = as_text(text);
    const std::string_view n = as_text(needle);
    const std::string_view r = as_text(replacement);
    const std::size_t origin = index_of_start(start);
    if (n.empty() || origin >= t.size() || max_count == 0) {
        return std::string(t);
    }
    std::string out(t.substr(0, origin));
    std::size_t from = origin;
    for (int done = 0; max_count < 0 || done < max_count; ++done) {
        const std::size_t hit = scan::find_index(t, n, from, !case_matters);
        if (hit == scan::npos) {
            break;
        }
        out.append(t.substr(from, hit - from));
        out.append(r);
        from = hit + n.size();
    }
    if (from < t.size()) {
        out.append(t.substr(from));
    }
    return out;
}

std::string replace_at(std::string_view text, int start, int length, std::string_view replacement) {
    const std::string_view t = as_text(text);
    const std::size_t at = std::min(index_of_start(start), t.size());
    const std::size_t span =
        length <= 0 ? 0 : std::min(static_cast<std::size_t>(length), t.size() - at);
    std::string out(t.substr(0, at));
    out.append(as_text(replacement));
    out.append(t.substr(at + span));
    return out;
}

// Letter case is folded only in single-byte characters: trail bytes in the
// letter range belong to different double-byte characters.
int compare(std::string_view a, std::string_view b, bool case_matters) {
    const std::string_view x = as_text(a);
    const std::string_view y = as_text(b);
    const std::size_t common = std::min(x.size(), y.size());
    bool in_trail = false;
    for (std::size_t i = 0; i < common; ++i) {
        auto cx = static_cast<unsigned char>(x[i]);
        auto cy = static_cast<unsigned char>(y[i]);
        if (!case_matters && !in_trail) {
            cx = scan::fold(cx);
            cy = scan::fold(cy);
        }
        if (cx != cy) {
            return cx < cy ? -1 : 1;
        }
        in_trail = !in_trail && cx >= 0x80;
    }
    if (x.size() == y.size()) {
        return 0;
    }
    return x.size() < y.size() ? -1 : 1;
}

int length(std::string_view text) {
    return static_cast<int>(as_text(text).size());
}

double to_number(std::string_view text) {
    std::string s = ascii_number_prefix(as_text(text));
    std::size_t begin = 0;
    bool negative = false;
    if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
        negative = s[0] == '-';
        begin = 1;
    }
    double value = 0;
    const char* first = s.data() + begin;
    const char* last = s.data() + s.size();
    if (first == last || (*first != '.' && (*first < '0' || *first > '9'))) {
        return 0;
    }
    const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::fixed);
    if (ec != std::errc{}) {
        return 0;
    }
    return negative ? -value : value;
}

std::string blank(int n) {
    return n <= 0 ? std::string() : std::string(static_cast<std::size_t>(n), ' ');
}

std::string decimal_text(long long value) {
    return std::to_string(value);
}

// Negative values give the digits of their 64-bit two's complement.
std::string hex_text(long long value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    auto v = static_cast<unsigned long long>(value);
    std::string out;
    do {
        out.insert(out.begin(), kDigits[v & 0xFU]);
        v >>= 4U;
    } while (v != 0);
    return out;
}

std::string bool_text(bool value) {
    return value ? GBK("真") : GBK("假");
}

}  // namespace text
