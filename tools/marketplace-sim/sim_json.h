#pragma once
// Just enough JSON writing for the simulator's answers.
#include <string>
#include <string_view>

namespace sim::json {

// The text as a JSON string literal, quotes included.
inline std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out += c;
        }
    }
    return out + "\"";
}

// "12.34" from 1234 hundredths.
inline std::string hundredths(int value) {
    std::string cents = std::to_string(value % 100);
    return std::to_string(value / 100) + "." + (cents.size() < 2 ? "0" + cents : cents);
}

}  // namespace sim::json
