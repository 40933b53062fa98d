// The keyboard runs a page's 查询: Enter in its goods field, Ctrl+Enter in the
// keyword list (where a plain Enter still starts a new line).
#include <gtest/gtest.h>

#include <QTest>
#include <algorithm>

#include "query_window.h"
#include "sim_catalogue.h"
#include "sim_server.h"
#include "ui/control.h"
#include "ui/design_tab_widget.h"

namespace {

using e2e::QueryWindow;
using ranking::QueryKind;

class EnterRunsQuery : public testing::Test {
  protected:
    EnterRunsQuery() : server(options()) {
        started = server.start();
        const std::string h = server.host();
        window = std::make_unique<QueryWindow>(net::Hosts{h, h, h, h, "goods2.html"});
    }

    static sim::Options options() {
        sim::Options o;
        o.port = 0;
        return o;
    }

    void press(const char* name, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(ui::control<QWidget>(window->window(), name), Qt::Key_Return, modifiers);
    }

    sim::Server server;
    bool started = false;
    std::unique_ptr<QueryWindow> window;
};

TEST_F(EnterRunsQuery, EnterInAGoodsFieldRunsItsPage) {
    ASSERT_TRUE(started);
    const struct {
        QueryKind page;
        const char* field;
        const char* result;
    } pages[] = {{QueryKind::keyword, "编辑框2", "编辑框5"},
                 {QueryKind::new_goods, "编辑框18", "编辑框19"}};
    for (const auto& p : pages) {
        window->window().选择夹1->setCurrentIndex(static_cast<int>(p.page));
        window->type(p.field, std::string(sim::kSampleGoodsId));
        press(p.field);
        EXPECT_NE(window->text(p.result), "") << p.field;
    }
    EXPECT_FALSE(server.requests().empty());
}

TEST_F(EnterRunsQuery, KeywordListTakesEnterAsANewLineAndCtrlEnterAsTheQuery) {
    ASSERT_TRUE(started);
    window->type("编辑框3", "辣条");
    press("编辑框3");
    EXPECT_EQ(window->text("编辑框5"), "");
    EXPECT_TRUE(server.requests().empty());
    const std::string list = window->text("编辑框3");
    EXPECT_EQ(std::count(list.begin(), list.end(), '\n'), 1) << list;

    press("编辑框3", Qt::ControlModifier);
    EXPECT_NE(window->text("编辑框5").find("关键词：辣条"), std::string::npos)
        << window->text("编辑框5");
}

}  // namespace
