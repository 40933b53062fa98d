#pragma once
// The maker's announcement shown in 编辑框20 at every start.
#include <string>
#include <string_view>

#include "app/program_data.h"

namespace app {

// The announcement of a vendor page (UTF-8) as GBK: the text between
// "gonggao[" and "]jiesu" (any letter case), empty when either marker is missing.
std::string announcement_text(std::string_view page);

// Every "&nbsp;" (any letter case) becomes one space.
std::string with_plain_spaces(std::string_view gbk);

// Step 3 of the start-up sequence: fetch and show. Failures leave the box empty.
void run_announcement(app::Context& ctx);

}  // namespace app
