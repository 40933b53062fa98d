#pragma once
// Texts that go to a terminal, a log line or a one-line message: control
// characters (C0, DEL and C1) and bytes that are no UTF-8 are shown as
// escapes, so a stored name can neither break a line nor move the cursor.
#include <string>
#include <string_view>

namespace text {

// UTF-8 in, UTF-8 out: "\x1B", "\x0A", "\xFF" for single bytes, "\u0085"
// for C1 characters; everything else as it is.
std::string printable(std::string_view utf8);

}  // namespace text
