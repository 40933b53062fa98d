#include "service/history_setting.h"

#include <algorithm>
#include <filesystem>

#include "net/ini_section.h"

namespace service {

namespace {

bool has_control_character(std::string_view value) {
    return std::any_of(value.begin(), value.end(),
                       [](unsigned char c) { return c < 0x20 || c == 0x7F; });
}

bool is_absolute_path(std::string_view value) {
    const std::u8string utf8(value.begin(), value.end());
    return std::filesystem::path(utf8).is_absolute();
}

}  // namespace

std::string history_url_problem(std::string_view value) {
    if (value.empty())
        return {};
    if (has_control_character(value))
        return "不能含换行或控制字符";
    if (history::is_server_url(value)) {
        // libpq reads a blank as the end of the address.
        if (value.find(' ') != std::string_view::npos)
            return "数据库地址中不能有空格（空格请写作 %20）";
        return {};
    }
    if (value.find("://") != std::string_view::npos)
        return "只能是 postgresql:// 开头的数据库地址，或历史文件的完整路径";
    // A relative path would name another file for each program started
    // from another directory.
    if (!is_absolute_path(value))
        return "文件须写完整路径（从根目录或盘符写起）";
    return {};
}

HistorySetting parse_history_setting(std::string_view ini_text,
                                     std::vector<std::string>& messages) {
    HistorySetting setting;
    for (const net::IniLine& line : net::ini_section(ini_text, "history")) {
        const std::string where = "line " + std::to_string(line.line) + ": [history] ";
        if (!line.has_equals) {
            messages.push_back(where + "no '=' in line; ignored");  // it may hold a password
            continue;
        }
        if (line.key != "url") {
            messages.push_back(where + "unknown key '" + line.key + "' ignored");
            continue;
        }
        // The last url= wins, as for every other key. A refused value is not
        // repeated: an address of another kind would show its password.
        const std::string problem = history_url_problem(line.value);
        setting.location = problem.empty() ? history::Location(line.value) : history::Location();
        setting.problem =
            problem.empty() ? std::string() : "设置文件中的历史记录位置不能使用：" + problem;
        if (!problem.empty())
            messages.push_back(where + "url: " + problem + "; no history is opened");
    }
    return setting;
}

}  // namespace service
