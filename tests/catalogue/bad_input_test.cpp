// Answers the simulator does not give: odd names and ids from a scripted
// server, through the real handlers and real HTTP.
#include <gtest/gtest.h>

#include "catalogue/catalogue_handlers.h"
#include "catalogue/category_line.h"
#include "catalogue/request_paths.h"
#include "catalogue/status_link_widget.h"
#include "catalogue_host.h"
#include "qt/test_window.h"
#include "scripted_server.h"
#include "text/codepage.h"

namespace catalogue {
namespace {

using namespace catalogue_test;
using Texts = std::vector<std::string>;

class BadInput : public ::testing::Test {
  protected:
    ScriptedServer server;
    qt_test::ScopedHosts hosts{server.host()};
    qt_test::RecordingMessageBox messages;
    CatalogueHost host;
};

TEST_F(BadInput, Level1NamesWithEntitiesAndEscapesStayVerbatim) {
    server.answer("/info.asp?id=70",
                  "<b>yiji</b>A&amp;B&mdash;1----C\\u0026D&mdash;2----E&lt;F&mdash;3----"
                  "G\\\"H&mdash;4----I%20J&mdash;5----女装&#8212;6&mdash;7mulu");
    load_level1_first_visit(host.ctx());
    EXPECT_EQ(items(host.box(1)), (Texts{"</b>A&amp;B", "C\\u0026D", "E&lt;F", "G\\\"H", "I%20J",
                                         GBK("女装") + "&#8212;6"}));
    EXPECT_EQ(host.data().level1_ids, (Texts{"1", "2", "3", "4", "5", "7"}));
    EXPECT_FALSE(read_link(host.link(1)).visible);
}

TEST_F(BadInput, OddIdsBuildSafeRequestsAndStillLoad) {
    const Texts odd = {"1/../x y#z", "9\"}", "%41", "\t", GBK("甲")};
    std::string page = "yiji";
    for (std::size_t i = 0; i < odd.size(); ++i) {
        page += text::gbk_to_utf8("n" + std::to_string(i)) + "&mdash;" + text::gbk_to_utf8(odd[i]) +
                "----";
    }
    server.answer("/info.asp?id=70", page + "mulu");
    load_level1_first_visit(host.ctx());
    ASSERT_EQ(host.data().level1_ids, odd);

    for (std::size_t i = 0; i < odd.size(); ++i) {
        server.answer(level2_path(odd[i]),
                      R"({"opt_infos":[{"id":5)" + std::to_string(i) +
                          R"(,"priority":1,"opt_name":"a\u0026b&amp;c"}],"debugInfo":1})");
        host.choose(1, static_cast<int>(i));
        EXPECT_EQ(host.data().编辑框6, odd[i]);
        EXPECT_EQ(server.targets().back(), level2_path(odd[i]));
        EXPECT_EQ(items(host.box(2)), Texts{"a\\u0026b&amp;c"});
        EXPECT_EQ(host.data().level2_ids, Texts{"5" + std::to_string(i)});
    }
    EXPECT_EQ(server.count("/operation/1%2F..%2Fx%20y%23z/groups?offset=0&opt_type=1&size=20&"
                           "sort_type=DEFAULT&qmxuid=0"),
              1);
}

TEST_F(BadInput, TabNamesStayVerbatim) {
    server.answer(
        "/ishopping/tablist?qmxuid=",
        R"({"list":[{"tab_id":1,"tab":"a\"b","subject":""},{"tab_id":2,"tab":"&lt;c&gt;","subject":""}]})");
    load_tabs_first_visit(host.ctx());
    EXPECT_EQ(items(host.box(4)), (Texts{"a\\\"b", "&lt;c&gt;"}));
    EXPECT_EQ(host.data().tab_ids, (Texts{"1", "2"}));
}

}  // namespace
}  // namespace catalogue
