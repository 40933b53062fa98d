#pragma once
// The settings file "配置.ini" of a self-update, written the way a Windows
// profile file is written: "[section]" and "key=value" lines ending in CR LF,
// other sections and keys left as they are. Texts are GBK.
#include <string>
#include <string_view>

namespace app {

// The file content after setting key=value in section. Section and key names
// match without regard to ASCII letter case and surrounding spaces; a missing
// section is appended, a missing key is added at the end of its section.
std::string with_profile_entry(std::string_view content, std::string_view section,
                               std::string_view key, std::string_view value);

}  // namespace app
