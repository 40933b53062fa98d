#include "app/settings_save.h"

#include <fstream>
#include <iterator>

#include "net/atomic_file.h"
#include "net/ini_section_edit.h"
#include "service/history_setting.h"

namespace app {

std::optional<std::string> settings_text_to_edit(const std::filesystem::path& in_use,
                                                 const std::filesystem::path& target) {
    std::error_code error;
    const std::filesystem::path& file =
        !target.empty() && std::filesystem::exists(target, error) ? target : in_use;
    if (file.empty() || !std::filesystem::exists(file, error))
        return std::string();
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return std::nullopt;
    return text;
}

std::string save_settings_text(const std::filesystem::path& target, std::string_view text) {
    if (target.empty())
        return "没有可写的设置文件位置（未设置 HOME）";
    std::vector<std::string> unused;
    const history::Location history = service::parse_history_setting(text, unused).location;
    const bool secrets =
        !net::ini_section_names(text, "notify.").empty() || history.shown() != history.text();
    const std::string problem = net::write_file_atomically(
        target, text, {}, secrets ? net::FileAccess::owner_only : net::FileAccess::keep);
    return problem.empty() ? problem : "保存失败：" + problem;
}

}  // namespace app
