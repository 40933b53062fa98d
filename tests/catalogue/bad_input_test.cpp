// Answers the simulator does not give: odd names and ids from a loopback
// server whose answers each test writes, through the entry points and real HTTP.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <mutex>

#include "catalogue/category_line.h"
#include "net/remote_addresses.h"
#include "plain/raw_http_server.h"
#include "plain/scoped_hosts.h"
#include "plain_view.h"
#include "text/codepage.h"

namespace catalogue {
namespace {

using namespace catalogue_test;
using Texts = std::vector<std::string>;

// Bodies by request target (path and query, as sent); other targets get 404.
class ScriptedAnswers {
  public:
    void answer(const std::string& target, std::string body) {
        std::lock_guard lock(mutex_);
        bodies_[target] = std::move(body);
    }
    test::Reply reply(const std::string& request) const {
        std::lock_guard lock(mutex_);
        const auto it = bodies_.find(test::request_target(request));
        if (it == bodies_.end())
            return test::Reply::status("HTTP/1.1 404 Not Found", "");
        return test::Reply::ok(it->second, "Content-Type: text/html; charset=utf-8\r\n");
    }

  private:
    mutable std::mutex mutex_;
    std::map<std::string, std::string> bodies_;
};

class BadInput : public ::testing::Test {
  protected:
    BadInput() { w.data.hosts = test::all_hosts_on("127.0.0.1:" + std::to_string(server.port())); }

    Texts targets() const {
        Texts out;
        for (const std::string& request : server.requests())
            out.push_back(test::request_target(request));
        return out;
    }
    int count(const std::string& target) const {
        const Texts all = targets();
        return static_cast<int>(std::count(all.begin(), all.end(), target));
    }

    ScriptedAnswers answers;
    test::RawHttpServer server{
        [this](const std::string& request) { return answers.reply(request); }};
    PlainWindow w;
};

TEST_F(BadInput, Level1NamesWithEntitiesAndEscapesStayVerbatim) {
    answers.answer("/info.asp?id=70",
                   "<b>yiji</b>A&amp;B&mdash;1----C\\u0026D&mdash;2----E&lt;F&mdash;3----"
                   "G\\\"H&mdash;4----I%20J&mdash;5----女装&#8212;6&mdash;7mulu");
    w.load_level1();
    EXPECT_EQ(w.items(ListKind::Level1), (Texts{"</b>A&amp;B", "C\\u0026D", "E&lt;F", "G\\\"H",
                                                "I%20J", GBK("女装") + "&#8212;6"}));
    EXPECT_EQ(w.data.level1.ids, (Texts{"1", "2", "3", "4", "5", "7"}));
    EXPECT_FALSE(w.view.link(Link::category).visible);
}

TEST_F(BadInput, OddIdsBuildSafeRequestsAndStillLoad) {
    const Texts odd = {"1/../x y#z", "9\"}", "%41", "\t", GBK("甲")};
    std::string page = "yiji";
    for (std::size_t i = 0; i < odd.size(); ++i) {
        page += text::gbk_to_utf8("n" + std::to_string(i)) + "&mdash;" + text::gbk_to_utf8(odd[i]) +
                "----";
    }
    answers.answer("/info.asp?id=70", page + "mulu");
    w.load_level1();
    ASSERT_EQ(w.data.level1.ids, odd);

    for (std::size_t i = 0; i < odd.size(); ++i) {
        const std::string target = net::level2_groups_path(odd[i]);
        answers.answer(target, R"({"opt_infos":[{"id":5)" + std::to_string(i) +
                                   R"(,"priority":1,"opt_name":"a\u0026b&amp;c"}],"debugInfo":1})");
        w.choose(ListKind::Level1, static_cast<int>(i));
        EXPECT_EQ(w.data.level1.chosen_id, odd[i]);
        EXPECT_EQ(targets().back(), target);
        EXPECT_EQ(w.items(ListKind::Level2), Texts{"a\\u0026b&amp;c"});
        EXPECT_EQ(w.data.level2.ids, Texts{"5" + std::to_string(i)});
    }
    EXPECT_EQ(count("/operation/1%2F..%2Fx%20y%23z/groups?offset=0&opt_type=1&size=20&"
                    "sort_type=DEFAULT&qmxuid=0"),
              1);
    EXPECT_EQ(count("/operation/%09/groups?offset=0&opt_type=1&size=20&sort_type=DEFAULT&qmxuid=0"),
              1);
}

TEST_F(BadInput, TabNamesStayVerbatim) {
    answers.answer(
        "/ishopping/tablist?qmxuid=",
        R"({"list":[{"tab_id":1,"tab":"a\"b","subject":""},{"tab_id":2,"tab":"&lt;c&gt;","subject":""}]})");
    w.load_tabs();
    EXPECT_EQ(w.items(ListKind::Tabs), (Texts{"a\\\"b", "&lt;c&gt;"}));
    EXPECT_EQ(w.data.tabs.ids, (Texts{"1", "2"}));
}

TEST_F(BadInput, ANotFoundLevel2AnswerIsTriedThreeTimesAndLeavesTheBoxEmpty) {
    answers.answer("/info.asp?id=70", "yiji女装&mdash;12mulu");
    w.load_level1();
    w.choose(ListKind::Level1, 0);
    EXPECT_EQ(count(net::level2_groups_path("12")), 3);
    EXPECT_TRUE(w.items(ListKind::Level2).empty());
    EXPECT_FALSE(w.view.link(Link::category).visible);
}

}  // namespace
}  // namespace catalogue
