#pragma once
// The deleter script "tem.vbs" that removes the old program file after a
// self-update, and the reading of it by our deleter program (this platform
// has no script host). Plain C++: the deleter program builds this file too.
// Texts are GBK.
#include <string>
#include <string_view>
#include <vector>

namespace app {

inline constexpr std::string_view kDeleterScriptName = "tem.vbs";

// The four-line script: declare fso, create it, delete directory\program,
// delete directory\tem.vbs. No line break after the last line.
std::string deleter_script_text(std::string_view program_dir, std::string_view program_name);

// The file names the script deletes, in its order, each one checked to lie
// directly in program_dir (the text before "\" must be program_dir exactly and
// the rest a plain name). A line naming anything else is left out.
std::vector<std::string> deleter_script_targets(std::string_view script,
                                                std::string_view program_dir);

}  // namespace app
