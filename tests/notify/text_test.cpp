// The pure parts: message texts, the failing/recovered decision, the daily
// report, the JSON reader and writer, robot answers.
#include <gtest/gtest.h>

#include "notify/daily_report.h"
#include "notify/failing.h"
#include "notify/json_text.h"
#include "notify/mail.h"
#include "notify/run_text.h"
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
    EXPECT_EQ(notify::run_text(run, 8 * 60), expected + "\n另有 2 条");
    const std::string markdown = notify::run_markdown(run, 0);
    EXPECT_TRUE(markdown.starts_with(
        "**【Korvel】看板「我的看板」 2023-11-14 22:13，12 条变动**\n\n- 通知1\n"));
    EXPECT_TRUE(markdown.ends_with("\n- 通知10\n\n另有 2 条"));
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

TEST(DailyReport, RisersFirstThenFallersThenTheUnchanged) {
    const std::vector<notify::ReportRow> rows = {
        {"稳", 5, 5, 3},     {"跌出", std::nullopt, 50, 30},
        {"升8", 12, 20, 9},  {"降2", 60, 58, std::nullopt},
        {"升5", 40, 45, 40},
    };
    EXPECT_EQ(notify::daily_report("我的看板", kTime, 0, rows),
              "【Korvel】看板「我的看板」日报 2023-11-14\n"
              "升8：第12名（▲8，24小时前第20名，7天最好第9名）\n"
              "升5：第40名（▲5，24小时前第45名，7天最好第40名）\n"
              "跌出：千名外（▼951，24小时前第50名，7天最好第30名）\n"
              "降2：第60名（▼2，24小时前第58名，7天最好无数据）\n"
              "稳：第5名（持平，24小时前第5名，7天最好第3名）");
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

TEST(Mail, StartTlsRequiredExceptForARelayOnThisMachine) {
    EXPECT_TRUE(notify::requires_starttls("smtp://smtp.example.com:587"));
    EXPECT_TRUE(notify::requires_starttls("smtp://127.0.0.2"));
    EXPECT_FALSE(notify::requires_starttls("smtp://127.0.0.1:2525"));
    EXPECT_FALSE(notify::requires_starttls("smtp://[::1]:25/"));
    EXPECT_FALSE(notify::requires_starttls("smtps://smtp.example.com:465"));
}

TEST(Mail, CutsTextAtCharacterBoundaries) {
    EXPECT_EQ(notify::cut_utf8("一二三四", 9), "一二…");
    EXPECT_EQ(notify::cut_utf8("一二三", 9), "一二三");
}

}  // namespace
