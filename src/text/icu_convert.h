#pragma once
// The one place that talks to ICU. Converters and the transliterator are
// opened once per thread and kept; nothing here exposes an ICU type.
#include <string>
#include <string_view>

namespace text::icu {

enum class Charset { utf8, gbk, big5 };

// Appends `in` converted from one charset to another. Illegal input and
// characters without a form in the target come out as "?".
void convert_append(Charset from, Charset to, std::string_view in, std::string& out);

// Big5 to GBK up to (not including) the first character that has no GBK form.
std::string big5_to_gbk_prefix(std::string_view big5);

// Traditional Chinese characters of a GBK text replaced by simplified ones.
std::string simplify_gbk(std::string_view gbk);

}  // namespace text::icu
