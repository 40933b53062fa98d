#pragma once
// The pieces every CSV meant for a spreadsheet is made of: RFC 4180 quoting,
// CR LF line ends, a UTF-8 byte-order mark (so a spreadsheet takes the file
// for UTF-8), and text fields that cannot run as formulas.
#include <string>
#include <string_view>
#include <vector>

namespace history {

inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// One field: quoted when it holds a comma, quote, CR or LF; quotes doubled.
std::string csv_field(std::string_view text);

// A text a spreadsheet would take for a formula (it begins with =, +, -, @,
// a tab or a carriage return) with an apostrophe put before it; any other
// text as it is. Reading such a field back: drop the one leading apostrophe.
std::string spreadsheet_safe(std::string_view text);

// A field of free text (keyword, name, reason): made safe, then quoted.
std::string csv_text(std::string_view text);

// Fields already made fields (csv_field or csv_text), joined by commas and
// ended with CR LF.
std::string csv_line(const std::vector<std::string>& fields);

}  // namespace history
