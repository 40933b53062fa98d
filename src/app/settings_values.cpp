#include "app/settings_values.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <sstream>

#include "board/board_settings.h"
#include "net/hosts.h"
#include "net/ini_edit.h"
#include "net/settings_file.h"
#include "service/history_setting.h"

namespace app {

namespace {

constexpr std::string_view kHosts = "hosts";
constexpr std::string_view kBoard = "board";
constexpr std::string_view kHistory = "history";

// 常用 first, in the order a seller reaches for them; the hosts lead 高级,
// the history's place ends it.
constexpr std::array<SettingField, 20> kFields = {{
    {kBoard, "pages_per_second", "每秒请求页数",
     "每个主机每秒最多请求几页。调小更不容易被市场限速，检查也更慢。", true},
    {kBoard, "max_in_flight", "同时请求数", "对同一主机同时进行的请求数。", true},
    {kBoard, "retries", "失败重试次数",
     "一页因连接失败、超时、服务器错误或内容不是列表而失败时，再试几次。", true},
    {kBoard, "request_timeout_s", "请求超时（秒）", "一页多久没有读完就算超时失败。", true},
    {kBoard, "remember_pace_h", "记住速度（小时）",
     "在这么多小时内再次检查时，从上一轮结束时的速度开始；0 表示每轮都从最快开始。", true},
    {kHosts, "goods_page", "商品页主机",
     "打开商品页、确认商品名称和店铺的主机，写作 主机名 或 主机名:端口。"},
    {kHosts, "search_api", "搜索接口主机", "关键词搜索所用的主机（主机名[:端口]）。"},
    {kHosts, "operations_api", "运营接口主机",
     "类目、爱逛街和新品列表所用的主机（主机名[:端口]）。"},
    {kHosts, "vendor_info", "软件信息服务器", "公告、版本信息和类目名称的来源（主机名[:端口]）。"},
    {kHosts, "domain_word", "商品链接标志",
     "商品链接里必有的一段文字，用来认出粘贴的是商品链接而不是商品ID；不能含空格。"},
    {kBoard, "jitter", "间隔抖动比例", "每次请求的间隔随机浮动的比例，0.3 即上下浮动 30%。"},
    {kBoard, "backoff_s", "首次重试等待（秒）", "第一次重试前等待的秒数，之后每次加倍。"},
    {kBoard, "failures_before_pause", "连续失败几次后暂停",
     "同一主机连续失败这么多次，就当作被市场限速：放慢速度并暂停。"},
    {kBoard, "pause_s", "暂停时长（秒）",
     "被限速而服务器没有说明要等多久（Retry-After）时暂停的秒数。"},
    {kBoard, "give_up_after", "受阻几次后放弃",
     "连续被限速这么多次、其间一页也没读到时结束本轮；没检查的格子记为未检查。"},
    {kBoard, "max_pause_s", "最长等待（秒）",
     "服务器要求等待（Retry-After）超过这么多秒时不再等待，结束本轮。"},
    {kBoard, "min_pages_per_second", "最慢每秒页数", "被限速时速度最多降到每秒几页。"},
    {kBoard, "speed_up_after", "连续成功几页后提速", "连续读到这么多页后，速度回升一些。"},
    {kBoard, "pause_budget_s", "每轮暂停上限（秒）", "一轮检查中暂停的总秒数超过它就结束本轮。"},
    {kHistory, "url", "历史记录位置",
     "检查历史和看板存在哪里。留空：本机的历史文件。几台电脑共用一份历史时，填同一个 "
     "PostgreSQL 数据库地址，如 postgresql://用户:密码@服务器/korvel；也可以填另一个历史文件的"
     "完整路径。密码显示为 ***，不改它就保持原样。改动在重新启动程序后生效。"},
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

bool has_control_character(std::string_view value) {
    return std::any_of(value.begin(), value.end(),
                       [](unsigned char c) { return c < 0x20 || c == 0x7F; });
}

std::string range_text(const board::BoardSettingLimits& limits) {
    return shown(limits.min) + "–" + shown(limits.max);
}

// The reader has refused `value` for a [board] key: say why in the words of
// its limits.
std::string board_reason(std::string_view key, std::string_view value) {
    const auto limits = board::board_setting_limits(key);
    const std::string typed(value);
    double number = 0;
    const auto [end, error] = std::from_chars(typed.data(), typed.data() + typed.size(), number);
    if (!limits)
        return "不是可用的值";
    if (typed.empty())
        return "不能为空";
    if (error != std::errc() || end != typed.data() + typed.size() || !std::isfinite(number))
        return "“" + typed + "”不是数字";
    if (limits->whole && number != std::floor(number))
        return "须是整数";
    return typed + " 超出范围 " + range_text(*limits);
}

std::string host_reason(std::string_view key, std::string_view value) {
    if (value.empty())
        return "不能为空";
    if (key == "domain_word")
        return "不能含空格";
    return "“" + std::string(value) + "”不是 主机名 或 主机名:端口（端口 1–65535）";
}

}  // namespace

std::span<const SettingField> setting_fields() {
    return kFields;
}

std::string setting_help(const SettingField& field) {
    static const std::vector<std::string> defaults = setting_values({});
    const auto at = static_cast<std::size_t>(&field - kFields.data());
    std::string help(field.help);
    if (at < defaults.size())
        help += defaults[at].empty() ? "默认留空" : "默认 " + defaults[at];
    if (const auto limits = board::board_setting_limits(field.key);
        field.section == kBoard && limits)
        help += "，可填 " + range_text(*limits) + (limits->whole ? " 的整数" : "");
    return help + "。";
}

std::vector<std::string> setting_values(std::string_view file_text) {
    const net::Settings hosts = net::parse_settings(file_text, net::default_hosts());
    const board::ParsedBoardSettings pace = board::parse_board_settings(file_text);
    std::vector<std::string> unused;
    // Shown with its password masked: the dialog is on screen for anyone to see.
    const std::string history = service::parse_history_setting(file_text, unused).location.shown();
    std::vector<std::string> values;
    for (const SettingField& field : kFields) {
        values.push_back(field.section == kHosts     ? host_value(hosts.hosts, field.key)
                         : field.section == kHistory ? history
                                                     : board_value(pace.settings, field.key));
    }
    return values;
}

std::string setting_problem(const SettingField& field, std::string_view value) {
    if (has_control_character(value))
        return "不能含换行或控制字符";
    if (field.section == kHistory)
        return service::history_url_problem(value);
    const std::string text = "[" + std::string(field.section) + "]\n" + std::string(field.key) +
                             "=" + std::string(value) + "\n";
    const bool taken = field.section == kHosts
                           ? net::parse_settings(text, net::default_hosts()).problems.empty()
                           : board::parse_board_settings(text).messages.empty();
    if (taken)
        return {};
    return field.section == kHosts ? host_reason(field.key, value) : board_reason(field.key, value);
}

std::vector<SettingProblem> setting_problems(const std::vector<std::string>& values) {
    std::vector<SettingProblem> problems;
    for (std::size_t i = 0; i < kFields.size() && i < values.size(); ++i) {
        if (std::string why = setting_problem(kFields[i], values[i]); !why.empty())
            problems.push_back({i, std::string(kFields[i].label) + "：" + why});
    }
    return problems;
}

std::string with_setting_values(std::string_view file_text, const std::vector<std::string>& before,
                                const std::vector<std::string>& after) {
    std::string text(file_text);
    std::vector<std::string> unused;
    // The address was shown masked: a password left as *** is the file's.
    const history::Location saved = service::parse_history_setting(file_text, unused).location;
    // Section by section, so a new file reads [hosts] before [board].
    for (const std::string_view section : {kHosts, kBoard, kHistory}) {
        for (std::size_t i = 0; i < kFields.size() && i < before.size() && i < after.size(); ++i) {
            if (kFields[i].section != section || before[i] == after[i])
                continue;
            const std::string value = section == kHistory ? saved.unmasked(after[i]) : after[i];
            text = net::with_ini_value(text, section, kFields[i].key, value);
        }
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
