// The pure parts: message texts, the failing/recovered decision, the daily
// report, the JSON reader and writer, robot answers.
#include <gtest/gtest.h>

#include <algorithm>

#include "notify/daily_report.h"
#include "notify/failing.h"
#include "notify/json_text.h"
#include "notify/mail.h"
#include "notify/run_text.h"
#include "notify/smtp_address.h"
#include "notify/webhook.h"

namespace {

using notify::NoticeLine;
using notify::RunMessage;

constexpr std::int64_t kTime = 1700000000000;  // 2023-11-14 22:13:20 UTC

TEST(RunText, ShowsTenNoticesAndCountsTheRest) {
    RunMessage run{"我的看板", kTime, {}};
    for (int i = 1; i <= 12; ++i)
        run.notices.push_back({"辣条 · 销量", "", "", "rank_move", "通知" + std::to_string(i)});
    std::string expected = "【Korvel】看板「我的看板」 2023-11-15 06:13，12 条变动";
    for (int i = 1; i <= 10; ++i)
        expected += "\n通知" + std::to_string(i);
    EXPECT_EQ(notify::run_text(run, 8 * 60),
              expected + "\n另有 2 条，见看板窗口的变动通知或 korvel-check --history");
    const std::string markdown = notify::run_markdown(run, 0);
    EXPECT_TRUE(markdown.starts_with(
        "**【Korvel】看板「我的看板」 2023-11-14 22:13，12 条变动**\n\n- 通知1\n"));
    EXPECT_TRUE(markdown.ends_with(
        "\n- 通知10\n\n另有 2 条，见看板窗口的变动通知或 korvel-check --history"));
}

// The summary line first, then what matters most: a competitor ahead, the
// top N or the first 1000 left or entered, the largest own moves, the rest.
TEST(RunText, SummaryLineFirstThenNoticesByImportance) {
    RunMessage run{"我的看板", kTime, {}, notify::RunCounts{3, 1, 2, 4}};
    run.notices = {{"", "第40名", "第45名", "rank_move", "小降"},
                   {"", "", "", "checks_failing", "多数失败"},
                   {"", "第15名", "第25名", "left_top", "跌出前20"},
                   {"", "第50名", "第10名", "rank_move", "大升"},
                   {"", "第9名", "第3名", "overtaken", "竞品 辣条王（零食铺） 第3名"}};
    run.notices[0].late = true;
    notify::order_by_importance(run.notices);
    EXPECT_EQ(
        notify::run_text(run, 0),
        "【Korvel】看板「我的看板」 2023-11-14 22:13 本店上升 3 · 下降 1 · 前10名 2 · 失败 4\n"
        "竞品 辣条王（零食铺） 第3名\n跌出前20\n大升\n（补发）小降\n多数失败");
}

TEST(RunText, NoticeWithoutMessageShowsItsCellAndRanks) {
    EXPECT_EQ(notify::notice_line_text({"辣条 · 综合", "第30名", "第12名", "rank_move", ""}),
              "辣条 · 综合：第30名 → 第12名");
}

struct FailingCase {
    const char* name;
    bool was_failing;
    std::vector<std::string> kinds;
    bool failing;
    std::vector<std::string> sent;
};

void PrintTo(const FailingCase& c, std::ostream* out) {
    *out << c.name;
}

class FailingDecision : public testing::TestWithParam<FailingCase> {};

TEST_P(FailingDecision, SaysFailingOnceAndRecoveryOnce) {
    RunMessage run{"b", kTime, {}};
    for (const auto& kind : GetParam().kinds)
        run.notices.push_back({"", "", "", kind, kind});
    const auto decision = notify::decide_failing(GetParam().was_failing, run);
    std::vector<std::string> sent;
    for (const auto& line : decision.to_send.notices)
        sent.push_back(line.kind);
    EXPECT_EQ(decision.failing, GetParam().failing);
    EXPECT_EQ(sent, GetParam().sent);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, FailingDecision,
    testing::Values(
        FailingCase{"StartsFailing",
                    false,
                    {"checks_failing", "rank_move"},
                    true,
                    {"checks_failing", "rank_move"}},
        FailingCase{"StillFailing", true, {"checks_failing", "rank_move"}, true, {"rank_move"}},
        FailingCase{"StillFailingAlone", true, {"checks_failing"}, true, {}},
        FailingCase{"Recovers", true, {}, false, {"checks_recovered"}},
        FailingCase{
            "RecoversWithMoves", true, {"left_top"}, false, {"checks_recovered", "left_top"}},
        FailingCase{"QuietRun", false, {}, false, {}}),
    [](const auto& info) { return std::string(info.param.name); });

// Counts first; a failed cell says 失败, and a cell with nothing a day old
// to compare with has no 持平.
TEST(DailyReport, CountsThenRisersAndFallersThenTheRest) {
    notify::ReportRow failed{"失败格", 7, 8, 3};
    failed.failed = true;
    notify::ReportRow fresh{"新格", 30, std::nullopt, 30};
    fresh.day_ago_known = false;
    const std::vector<notify::ReportRow> rows = {
        {"稳", 5, 5, 3}, {"跌出", std::nullopt, 50, 30}, {"升8", 12, 20, 9},
        failed,          {"降2", 60, 58, std::nullopt},  {"升5", 40, 45, 40},
        fresh,
    };
    EXPECT_EQ(notify::daily_report("我的看板", kTime, 0, rows),
              "【Korvel】看板「我的看板」日报 2023-11-14\n"
              "本店前10名 1 · 前20名 2 · 前100名 5 · 千名外 1 · 失败 1\n"
              "上升：\n"
              "升8：第12名（▲8，24小时前第20名，7天最好第9名）\n"
              "升5：第40名（▲5，24小时前第45名，7天最好第40名）\n"
              "下降：\n"
              "跌出：千名外（▼951，24小时前第50名，7天最好第30名）\n"
              "降2：第60名（▼2，24小时前第58名，7天最好无数据）\n"
              "其余：\n"
              "稳：第5名（持平，24小时前第5名，7天最好第3名）\n"
              "失败格：失败（24小时前第8名，7天最好第3名）\n"
              "新格：第30名（24小时前无数据，7天最好第30名）");
}

struct LimitCase {
    const char* name;
    notify::ChannelKind kind;
    std::size_t limit;
};

void PrintTo(const LimitCase& c, std::ostream* out) {
    *out << c.name;
}

class MessageLimit : public testing::TestWithParam<LimitCase> {};

// The lines before a text's last one, which says what was left out.
std::string kept_lines(const std::string& cut) {
    return cut.substr(0, cut.find_last_not_of('\n', cut.rfind('\n')) + 1);
}

// Whether `kept` is the whole first lines of `full`, none cut short.
bool whole_lines_of(const std::string& full, const std::string& kept) {
    return full.starts_with(kept) && full.size() > kept.size() && full[kept.size()] == '\n';
}

// A run's message and a daily report too long for a robot are cut by whole
// lines to its limit, the most important first, the lines left out counted.
TEST_P(MessageLimit, RunMessageAndDailyReportAreCutByWholeLines) {
    const LimitCase& c = GetParam();
    EXPECT_EQ(notify::text_limit(c.kind), c.limit);
    RunMessage run{"看板", kTime, {}};
    for (int i = 0; i < 10; ++i)
        run.notices.push_back(
            {"", "", "", "rank_move", std::to_string(i) + "：" + std::string(c.limit / 8, 'x')});
    const bool markdown = c.kind == notify::ChannelKind::wecom_markdown;
    const auto message = [&](std::size_t limit) {
        return markdown ? notify::markdown_of(run, 0, limit) : notify::text_of(run, 0, limit);
    };
    const std::string cut = message(c.limit);
    EXPECT_LE(cut.size(), c.limit);
    EXPECT_TRUE(whole_lines_of(message(notify::kNoLimit), kept_lines(cut))) << cut;
    const auto shown = std::count(cut.begin(), cut.end(), '\n') - (markdown ? 3 : 1);
    EXPECT_GT(shown, 0);
    EXPECT_TRUE(cut.ends_with("\n另有 " + std::to_string(10 - shown) +
                              " 条，见看板窗口的变动通知或 korvel-check --history"))
        << cut;

    std::vector<notify::ReportRow> rows;
    for (int i = 0; i < 400; ++i)
        rows.push_back({"关键词" + std::to_string(i) + std::string(40, 'k'), 10 + i, 10 + i, 5});
    const std::string report = notify::daily_report("看板", kTime, 0, rows);
    const std::string report_cut = notify::text_of(notify::Content{report}, 0, c.limit);
    EXPECT_LE(report_cut.size(), c.limit);
    const std::string kept = kept_lines(report_cut);
    EXPECT_TRUE(whole_lines_of(report, kept));
    const auto left =
        std::count(report.begin(), report.end(), '\n') - std::count(kept.begin(), kept.end(), '\n');
    EXPECT_TRUE(report_cut.ends_with("\n……另有 " + std::to_string(left) + " 行未列出"))
        << report_cut.substr(kept.size());
}

INSTANTIATE_TEST_SUITE_P(
    Channels, MessageLimit,
    testing::Values(LimitCase{"WecomText", notify::ChannelKind::wecom, 2048},
                    LimitCase{"WecomMarkdown", notify::ChannelKind::wecom_markdown, 4096},
                    LimitCase{"Dingtalk", notify::ChannelKind::dingtalk, 20000},
                    LimitCase{"Feishu", notify::ChannelKind::feishu, 18000}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DailyReport, EmailCarriesTheWholeReport) {
    const std::string report(50000, 'r');
    EXPECT_EQ(
        notify::text_of(notify::Content{report}, 0, notify::text_limit(notify::ChannelKind::email)),
        report);
}

TEST(Json, QuotesControlCharactersAndReplacesBrokenUtf8) {
    EXPECT_EQ(notify::json_quote("a\"b\\c\n\t\x01 中"), "\"a\\\"b\\\\c\\n\\t\\u0001 中\"");
    EXPECT_EQ(notify::json_quote("x\xE4\xB8y\xFF"), "\"x\xEF\xBF\xBD\xEF\xBF\xBDy\xEF\xBF\xBD\"");
}

TEST(Json, ReadsTopLevelMembersOnly) {
    const std::string answer =
        R"({"data":{"code":7},"note":"x,\"code\":8}","code": -19021 ,"msg":"sign \u4e0d\u5bf9"})";
    EXPECT_EQ(notify::json_number_member(answer, "code"), -19021);
    EXPECT_EQ(notify::json_string_member(answer, "msg"), "sign 不对");
    EXPECT_EQ(notify::json_number_member(answer, "errcode"), std::nullopt);
    EXPECT_EQ(notify::json_number_member("<html>", "code"), std::nullopt);
    EXPECT_EQ(notify::json_number_member(R"({"code":"0"})", "code"), std::nullopt);
}

struct AnswerCase {
    notify::ChannelKind kind;
    int status;
    std::string body;
    std::optional<std::string> problem;
};

TEST(RobotAnswer, NamesStatusOrTheRobotsOwnCode) {
    using K = notify::ChannelKind;
    const std::vector<AnswerCase> cases = {
        {K::wecom, 200, R"({"errcode":0,"errmsg":"ok"})", std::nullopt},
        {K::wecom, 200, R"({"errcode":93000,"errmsg":"invalid webhook url"})",
         "errcode 93000：invalid webhook url"},
        {K::dingtalk, 200, R"({"errcode":310000,"errmsg":"sign not match"})",
         "errcode 310000：sign not match"},
        {K::feishu, 200, R"({"code":19021,"msg":"sign match fail","data":{}})",
         "code 19021：sign match fail"},
        {K::feishu, 200, R"({"StatusCode":0,"StatusMessage":"success"})", std::nullopt},
        {K::feishu, 200, "<html>portal</html>", "the answer carries no errcode or code"},
        {K::json, 200, "<html>portal</html>", std::nullopt},
        {K::json, 502, "", "HTTP 502"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(notify::answer_problem(c.kind, c.status, c.body), c.problem) << c.body;
}

struct AddressCase {
    const char* text;
    std::string host;  // empty: refused
    bool loopback;
    bool starttls;
};

// The host judged is the host connected to: a scheme in capitals, a login
// in the address or an IPv6 literal cannot make a remote relay pass for
// this machine, and only this machine may see the password without TLS.
TEST(Mail, StartTlsRequiredExceptForARelayOnThisMachine) {
    const std::vector<AddressCase> cases = {
        {"smtp://smtp.example.com:587", "smtp.example.com", false, true},
        {"SMTP://relay.example:25", "relay.example", false, true},
        {"smtp://127.0.0.1:x@relay.example:25", "", false, true},
        {"smtp://127.0.0.2", "127.0.0.2", true, false},
        {"smtp://128.0.0.1", "128.0.0.1", false, true},
        {"Smtp://LocalHost:25", "LocalHost", true, false},
        {"smtp://localhost.relay.example", "localhost.relay.example", false, true},
        {"smtp://[::1]:25/", "[::1]", true, false},
        {"smtp://[0:0:0:0:0:0:0:1]", "[::1]", true, false},
        {"smtp://[::ffff:127.0.0.1]", "[::ffff:127.0.0.1]", true, false},
        {"smtp://[2001:db8::1]", "[2001:db8::1]", false, true},
        {"smtps://smtp.example.com:465", "smtp.example.com", false, false},
        {"mail.example.com:25", "mail.example.com", false, true},
        {"http://smtp.example.com", "", false, true},
    };
    for (const AddressCase& c : cases) {
        std::string problem;
        const auto address = notify::parse_smtp_address(c.text, &problem);
        ASSERT_EQ(address.has_value(), !c.host.empty()) << c.text << " " << problem;
        if (!address)
            continue;
        EXPECT_EQ(address->host, c.host) << c.text;
        EXPECT_EQ(address->loopback, c.loopback) << c.text;
        EXPECT_EQ(notify::requires_starttls(*address), c.starttls) << c.text;
        EXPECT_EQ(address->url.find('@'), std::string::npos) << c.text;
    }
}

TEST(Mail, CutsTextAtCharacterBoundaries) {
    EXPECT_EQ(notify::cut_utf8("一二三四", 9), "一二…");
    EXPECT_EQ(notify::cut_utf8("一二三", 9), "一二三");
}

}  // namespace
