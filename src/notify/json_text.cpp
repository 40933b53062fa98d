#include "notify/json_text.h"

#include <charconv>
#include <cstdio>

#include "text/utf8.h"

namespace notify {

namespace {

void append_escaped_ascii(std::string& out, char c) {
    switch (c) {
        case '"':
            out += "\\\"";
            return;
        case '\\':
            out += "\\\\";
            return;
        case '\n':
            out += "\\n";
            return;
        case '\r':
            out += "\\r";
            return;
        case '\t':
            out += "\\t";
            return;
        default:
            break;
    }
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
        char buffer[8];
        std::snprintf(buffer, sizeof buffer, "\\u%04x", static_cast<unsigned>(c));
        out += buffer;
    } else {
        out += c;
    }
}

// A cursor over an answer; every reader leaves it after what it read, or
// returns false.
struct Reader {
    std::string_view rest;

    void skip_blanks() {
        while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t' ||
                                 rest.front() == '\r' || rest.front() == '\n'))
            rest.remove_prefix(1);
    }
    bool take(char c) {
        skip_blanks();
        if (rest.empty() || rest.front() != c)
            return false;
        rest.remove_prefix(1);
        return true;
    }
    bool peek(char c) {
        skip_blanks();
        return !rest.empty() && rest.front() == c;
    }

    std::optional<std::string> string() {
        if (!take('"'))
            return std::nullopt;
        std::string out;
        while (!rest.empty() && rest.front() != '"') {
            char c = rest.front();
            rest.remove_prefix(1);
            if (c == '\\') {
                if (rest.empty())
                    return std::nullopt;
                c = unescape(rest.front(), out);
                rest.remove_prefix(1);
                if (c == 0)
                    continue;
            }
            out += c;
        }
        if (!take('"'))
            return std::nullopt;
        return out;
    }

    // The character an escape stands for; \uXXXX goes straight into `out` (returns 0).
    char unescape(char c, std::string& out) {
        switch (c) {
            case 'n':
                return '\n';
            case 't':
                return '\t';
            case 'r':
                return '\r';
            case 'b':
                return '\b';
            case 'f':
                return '\f';
            case 'u':
                append_code_unit(out);
                return 0;
            default:
                return c;
        }
    }

    // Robots' messages are short and plain: a BMP character is decoded, a
    // surrogate half becomes U+FFFD.
    void append_code_unit(std::string& out) {
        unsigned value = 0;
        if (rest.size() < 5 ||
            std::from_chars(rest.data() + 1, rest.data() + 5, value, 16).ptr != rest.data() + 5) {
            return;
        }
        rest.remove_prefix(4);
        if (value >= 0xD800 && value <= 0xDFFF)
            value = 0xFFFD;
        if (value < 0x80) {
            out += static_cast<char>(value);
        } else if (value < 0x800) {
            out += static_cast<char>(0xC0 | (value >> 6));
            out += static_cast<char>(0x80 | (value & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (value >> 12));
            out += static_cast<char>(0x80 | ((value >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (value & 0x3F));
        }
    }

    // Passes over any value: strings whole, objects and arrays by depth.
    bool skip_value() {
        skip_blanks();
        if (peek('"'))
            return string().has_value();
        int depth = 0;
        while (!rest.empty()) {
            const char c = rest.front();
            if (c == '"') {
                if (!string())
                    return false;
                continue;
            }
            if (depth == 0 && (c == ',' || c == '}' || c == ']'))
                return true;
            depth += (c == '{' || c == '[') ? 1 : 0;
            depth -= (c == '}' || c == ']') ? 1 : 0;
            rest.remove_prefix(1);
        }
        return depth == 0;
    }

    // Moves to the value of the top-level member `name`.
    bool find_member(std::string_view name) {
        if (!take('{'))
            return false;
        while (!peek('}')) {
            const auto key = string();
            if (!key || !take(':'))
                return false;
            if (*key == name) {
                skip_blanks();
                return true;
            }
            if (!skip_value())
                return false;
            take(',');
        }
        return false;
    }
};

}  // namespace

std::string json_quote(std::string_view text) {
    std::string out = "\"";
    while (!text.empty()) {
        const std::size_t length = text::utf8_sequence_length(text);
        if (length == 1) {
            append_escaped_ascii(out, text.front());
        } else if (length > 1) {
            out.append(text.substr(0, length));
        } else {
            out += "\xEF\xBF\xBD";
        }
        text.remove_prefix(length == 0 ? 1 : length);
    }
    return out + "\"";
}

std::optional<long long> json_number_member(std::string_view json, std::string_view name) {
    Reader reader{json};
    if (!reader.find_member(name))
        return std::nullopt;
    long long value = 0;
    const char* end = reader.rest.data() + reader.rest.size();
    const auto [stop, error] = std::from_chars(reader.rest.data(), end, value);
    if (error != std::errc() || (stop != end && (*stop == '.' || *stop == 'e' || *stop == 'E')))
        return std::nullopt;
    return value;
}

std::optional<std::string> json_string_member(std::string_view json, std::string_view name) {
    Reader reader{json};
    if (!reader.find_member(name))
        return std::nullopt;
    return reader.string();
}

}  // namespace notify
