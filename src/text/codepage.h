#pragma once
// Code-page conversions. Inputs are read up to their first NUL; results never
// hold a NUL. Characters without a form in the target become "?".
#include <string>
#include <string_view>

namespace text {

std::string utf8_to_gbk(std::string_view utf8);
std::string gbk_to_utf8(std::string_view gbk);
// Big5 -> GBK (an unmappable character ends the text), then traditional -> simplified.
std::string big5_to_gbk_simplified(std::string_view big5);
// Percent-decodes (a "+" stays a "+"), reads the bytes as UTF-8, returns GBK.
std::string url_decode_to_gbk(std::string_view text);

}  // namespace text

// A UTF-8 source literal as GBK, converted once per call site.
#define GBK(utf8_literal)                                                       \
    ([]() -> const std::string& {                                               \
        static const std::string converted = ::text::utf8_to_gbk(utf8_literal); \
        return converted;                                                       \
    }())
