#include "pattern/replacement.h"

#include <vector>

namespace pattern {
namespace {

// One piece of a parsed template: literal text, or a reference to part of
// the subject around a match.
struct Piece {
    enum class Kind { literal, group, before, after } kind = Kind::literal;
    std::string_view literal;
    int group = 0;
};

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

// Reads a group reference after "$" at t[i]; returns the number of digits used
// (0 when none names an existing group) and the group number.
std::size_t group_reference(std::string_view t, std::size_t i, int group_count, int& group) {
    if (i >= t.size() || !is_digit(t[i])) {
        return 0;
    }
    const int one = t[i] - '0';
    if (i + 1 < t.size() && is_digit(t[i + 1])) {
        const int two = one * 10 + (t[i + 1] - '0');
        if (two >= 1 && two <= group_count) {
            group = two;
            return 2;
        }
    }
    if (one >= 1 && one <= group_count) {
        group = one;
        return 1;
    }
    return 0;
}

std::vector<Piece> parse(std::string_view t, int group_count) {
    std::vector<Piece> pieces;
    std::size_t literal_start = 0;
    const auto flush_literal = [&](std::size_t end) {
        if (end > literal_start) {
            pieces.push_back(
                {Piece::Kind::literal, t.substr(literal_start, end - literal_start), 0});
        }
    };
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (t[i] != '$' || i + 1 >= t.size()) {
            continue;
        }
        const char next = t[i + 1];
        int group = 0;
        std::size_t used = 2;
        Piece piece;
        if (next == '$') {
            piece = {Piece::Kind::literal, "$", 0};
        } else if (next == '&') {
            piece = {Piece::Kind::group, {}, 0};
        } else if (next == '`') {
            piece = {Piece::Kind::before, {}, 0};
        } else if (next == '\'') {
            piece = {Piece::Kind::after, {}, 0};
        } else if (const std::size_t digits = group_reference(t, i + 1, group_count, group)) {
            piece = {Piece::Kind::group, {}, group};
            used = 1 + digits;
        } else {
            continue;
        }
        flush_literal(i);
        pieces.push_back(piece);
        i += used - 1;
        literal_start = i + 1;
    }
    flush_literal(t.size());
    return pieces;
}

void append_span(std::string& out, std::string_view subject, MatchList::Span span) {
    if (span.took_part()) {
        out.append(subject.substr(span.begin, span.end - span.begin));
    }
}

}  // namespace

std::string replace_matches(std::string_view subject, const MatchList& matches,
                            std::string_view replacement) {
    const std::vector<Piece> pieces = parse(replacement, matches.group_count());
    std::string out;
    out.reserve(subject.size());
    std::size_t copied = 0;
    for (std::size_t m = 0; m < matches.size(); ++m) {
        const MatchList::Span whole = matches.span(m, 0);
        if (!whole.took_part() || whole.begin < copied) {
            continue;  // matches arrive in order and never overlap; anything else is skipped
        }
        out.append(subject.substr(copied, whole.begin - copied));
        for (const Piece& piece : pieces) {
            switch (piece.kind) {
                case Piece::Kind::literal:
                    out.append(piece.literal);
                    break;
                case Piece::Kind::group:
                    append_span(out, subject, matches.span(m, piece.group));
                    break;
                case Piece::Kind::before:
                    out.append(subject.substr(0, whole.begin));
                    break;
                case Piece::Kind::after:
                    out.append(subject.substr(whole.end));
                    break;
            }
        }
        copied = whole.end;
    }
    out.append(subject.substr(copied));
    return out;
}

}  // namespace pattern
