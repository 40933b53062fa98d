#pragma once
// The q value of a keyword search: the keyword's UTF-8 bytes, letters, digits
// and ",-./" as they are, every other byte as "%" plus its upper-case hex value
// without leading zeros (so a tab is "%9" and a space "%20").
#include <string>
#include <string_view>

namespace ranking {

std::string encode_keyword(std::string_view gbk_keyword);

}  // namespace ranking
