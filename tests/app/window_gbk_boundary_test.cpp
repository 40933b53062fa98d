// The widget boundary: GBK in, GBK out, CR LF line ends in multi-line boxes.
#include <gtest/gtest.h>

#include <ostream>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "qt/test_window.h"
#include "text/codepage.h"
#include "ui/widget_text.h"

namespace {

struct RoundTrip {
    const char* name;
    const char* control;
    std::string text;  // GBK
};

// Test names and failure messages show the case name, not its bytes.
void PrintTo(const RoundTrip& c, std::ostream* os) {
    *os << c.name;
}

class GbkBoundary : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(GbkBoundary, TextComesBackByteForByte) {
    const RoundTrip& c = GetParam();
    qt_test::TestWindow w;
    QWidget* widget = w.window.findChild<QWidget*>(QString::fromUtf8(c.control));
    ASSERT_NE(widget, nullptr);
    ui::write_text(widget, c.text);
    EXPECT_EQ(ui::read_text(widget), c.text);
}

// GBK texts whose trail bytes look like ASCII ('\\', '|', '@') must survive too.
INSTANTIATE_TEST_SUITE_P(
    Controls, GbkBoundary,
    ::testing::Values(
        RoundTrip{"MultiLineWithCrLf", "编辑框5",
                  GBK("辣条大礼包：第3名\r\n辣条：前1000名没有找到\r\n\r\nend")},
        RoundTrip{"MultiLineTrailingCrLf", "编辑框13", GBK("类目\r\n")},
        RoundTrip{"MultiLineAsciiLookingTrailBytes", "编辑框17", GBK("丂\r\n乗\r\n亅") + "\r\nabc"},
        RoundTrip{"SingleLine", "编辑框2", GBK("https://例子/goods2.html?goods_id=123")},
        RoundTrip{"Label", "标签12", GBK("某某旗舰店")},
        RoundTrip{"Button", "按钮新品查询", GBK("查询中…")},
        RoundTrip{"GroupBox", "分组框1", GBK("公告")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GbkBoundaryText, MultiLineBoxShowsLfButReadsCrLf) {
    qt_test::TestWindow w;
    ui::write_text(w.window.编辑框5, GBK("一\r\n二"));
    EXPECT_EQ(w.window.编辑框5->toPlainText(), QString::fromUtf8("一\n二"));
    EXPECT_EQ(w.window.编辑框5->document()->blockCount(), 2);
}

TEST(GbkBoundaryText, AppendAddsWithoutALineBreak) {
    qt_test::TestWindow w;
    ui::write_text(w.window.编辑框5, GBK("一\r\n"));
    ui::append_text(w.window.编辑框5, GBK("二"));
    EXPECT_EQ(ui::read_text(w.window.编辑框5), GBK("一\r\n二"));
}

TEST(GbkBoundaryText, ComboWithoutAChoiceReadsEmpty) {
    qt_test::TestWindow w;
    QComboBox* box = w.window.组合框1;
    box->addItem(ui::to_qstring(GBK("女装")));
    box->setCurrentIndex(-1);
    EXPECT_EQ(ui::read_text(box), "");
    box->setCurrentIndex(0);
    EXPECT_EQ(ui::read_text(box), GBK("女装"));
}

TEST(GbkBoundaryText, TextStopsAtTheFirstNul) {
    qt_test::TestWindow w;
    ui::write_text(w.window.编辑框12, std::string("12\0"
                                                  "34",
                                                  5));
    EXPECT_EQ(ui::read_text(w.window.编辑框12), "12");
}

}  // namespace
