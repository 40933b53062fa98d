#pragma once
// Just enough JSON for the channels: quoting our own texts, and reading one
// top-level number or string out of a robot's short answer.
#include <optional>
#include <string>
#include <string_view>

namespace notify {

// `text` (UTF-8) as a JSON string literal, quotes included. Control
// characters become \uXXXX escapes; invalid UTF-8 bytes become U+FFFD, so
// the body is always valid JSON.
std::string json_quote(std::string_view text);

// The value of "name" at the top level of a JSON object: a whole number, or
// a string (escapes decoded). Nothing when the answer is no object, lacks the
// member, or holds another kind of value there.
std::optional<long long> json_number_member(std::string_view json, std::string_view name);
std::optional<std::string> json_string_member(std::string_view json, std::string_view name);

}  // namespace notify
