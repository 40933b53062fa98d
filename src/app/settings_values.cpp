#include "app/settings_values.h"

#include <algorithm>
#include <array>
#include <sstream>

#include "board/board_settings.h"
#include "net/hosts.h"
#include "net/ini_edit.h"
#include "net/settings_file.h"

namespace app {

namespace {

constexpr std::string_view kHosts = "hosts";
constexpr std::string_view kBoard = "board";

constexpr std::array<SettingField, 19> kFields = {{
    {kHosts, "goods_page", "商品页主机"},
    {kHosts, "search_api", "搜索接口主机"},
    {kHosts, "operations_api", "运营接口主机"},
    {kHosts, "vendor_info", "软件信息服务器"},
    {kHosts, "domain_word", "商品链接标志"},
    {kBoard, "max_in_flight", "每个主机同时请求数"},
    {kBoard, "pages_per_second", "每秒请求页数"},
    {kBoard, "jitter", "间隔抖动比例"},
    {kBoard, "retries", "失败重试次数"},
    {kBoard, "backoff_s", "首次重试等待（秒）"},
    {kBoard, "failures_before_pause", "连续失败几次后暂停"},
    {kBoard, "pause_s", "暂停时长（秒）"},
    {kBoard, "give_up_after", "受阻几次后放弃"},
    {kBoard, "request_timeout_s", "请求超时（秒）"},
    {kBoard, "max_pause_s", "最长等待Retry-After（秒）"},
    {kBoard, "min_pages_per_second", "最慢每秒页数"},
    {kBoard, "speed_up_after", "连续成功几页后提速"},
    {kBoard, "pause_budget_s", "每轮暂停总时长上限（秒）"},
    {kBoard, "remember_pace_h", "记住速度（小时）"},
}};

std::string shown(double value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

std::string host_value(const net::Hosts& hosts, std::string_view key) {
    if (key == "goods_page")
        return hosts.goods_page;
    if (key == "search_api")
        return hosts.search_api;
    if (key == "operations_api")
        return hosts.operations_api;
    if (key == "vendor_info")
        return hosts.vendor_info;
    return hosts.domain_word;
}

std::string board_value(const board::BoardSettings& s, std::string_view key) {
    const std::pair<std::string_view, double> values[] = {
        {"max_in_flight", s.max_in_flight},
        {"pages_per_second", s.pages_per_second},
        {"jitter", s.jitter},
        {"retries", s.retries},
        {"backoff_s", s.backoff_s},
        {"failures_before_pause", s.failures_before_pause},
        {"pause_s", s.pause_s},
        {"give_up_after", s.give_up_after},
        {"request_timeout_s", s.request_timeout_s},
        {"max_pause_s", s.max_pause_s},
        {"min_pages_per_second", s.min_pages_per_second},
        {"speed_up_after", s.speed_up_after},
        {"pause_budget_s", s.pause_budget_s},
        {"remember_pace_h", s.remember_pace_h},
    };
    for (const auto& [name, value] : values) {
        if (name == key)
            return shown(value);
    }
    return {};
}

// The readers' messages are "line N: <what>; default <x> kept": the dialog
// shows the <what>.
std::string reason_of(std::string message) {
    if (const auto colon = message.find(": ");
        message.starts_with("line ") && colon != message.npos)
        message.erase(0, colon + 2);
    if (const auto tail = message.rfind("; default"); tail != std::string::npos)
        message.erase(tail);
    return message;
}

bool has_control_character(std::string_view value) {
    return std::any_of(value.begin(), value.end(),
                       [](unsigned char c) { return c < 0x20 || c == 0x7F; });
}

}  // namespace

std::span<const SettingField> setting_fields() {
    return kFields;
}

std::vector<std::string> setting_values(std::string_view file_text) {
    const net::Settings hosts = net::parse_settings(file_text, net::default_hosts());
    const board::ParsedBoardSettings pace = board::parse_board_settings(file_text);
    std::vector<std::string> values;
    for (const SettingField& field : kFields) {
        values.push_back(field.section == kHosts ? host_value(hosts.hosts, field.key)
                                                 : board_value(pace.settings, field.key));
    }
    return values;
}

std::string setting_problem(const SettingField& field, std::string_view value) {
    if (has_control_character(value))
        return "不能含换行或控制字符";
    const std::string text = "[" + std::string(field.section) + "]\n" + std::string(field.key) +
                             "=" + std::string(value) + "\n";
    const std::vector<std::string> messages =
        field.section == kHosts ? net::parse_settings(text, net::default_hosts()).problems
                                : board::parse_board_settings(text).messages;
    return messages.empty() ? std::string() : reason_of(messages.front());
}

std::string with_setting_values(std::string_view file_text, const std::vector<std::string>& before,
                                const std::vector<std::string>& after) {
    std::string text(file_text);
    for (std::size_t i = 0; i < kFields.size() && i < before.size() && i < after.size(); ++i) {
        if (before[i] != after[i])
            text = net::with_ini_value(text, kFields[i].section, kFields[i].key, after[i]);
    }
    return text;
}

std::filesystem::path settings_target(const net::SettingsPlaces& places,
                                      const std::filesystem::path& in_use) {
    const bool machines =
        !places.system_dir.empty() && in_use == places.system_dir / net::kSettingsFileName;
    return in_use.empty() || machines ? net::user_settings_file(places) : in_use;
}

}  // namespace app
