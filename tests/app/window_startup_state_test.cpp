// The window as the user first sees it.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRadioButton>

#include "qt/test_window.h"
#include "text/codepage.h"
#include "ui/control.h"
#include "ui/design_tab_widget.h"
#include "ui/widget_text.h"

namespace {

TEST(WindowStartState, ShowsTheKeywordPageWithItsSamples) {
    qt_test::TestWindow w;
    w.window.show();
    EXPECT_EQ(w.window.选择夹1->currentIndex(), 0);
    EXPECT_TRUE(w.window.单选框综合->isChecked());
    for (QRadioButton* other :
         {w.window.单选框销量, w.window.单选框评分, w.window.单选框价格低, w.window.单选框价格高}) {
        EXPECT_FALSE(other->isChecked()) << other->objectName().toStdString();
    }
    EXPECT_EQ(ui::read_text(w.window.编辑框2), "4033138");
    EXPECT_EQ(ui::read_text(w.window.编辑框3), GBK("辣条大礼包\r\n辣条\r\n辣条礼包"));
    EXPECT_FALSE(w.window.进度条1->isVisible());
    EXPECT_EQ(w.window.windowTitle(), QStringLiteral("Korvel"));
}

TEST(WindowStartState, TutorialNamesEveryPageAndTheBoard) {
    qt_test::TestWindow w;
    const std::string gap = "\r\n\r\n";
    const std::string expected =
        GBK("关键词排名查询：输入商品链接或商品ID和关键词就可以查询") + gap +
        GBK("类目排名查询：先选择类目，再输入商品链接或商品ID就可以查询") + gap +
        GBK("爱逛街排名查询：先选择类目，再输入商品链接或商品ID就可以查询") + gap +
        GBK("新品排名查询：直接输入商品链接或商品ID就可以查询") + gap +
        GBK("排名看板：点下方的“排名看板”，把本店商品、竞品、关键词\r\n"
            "和类目放进一个看板，定时检查，看排名走势和变动通知");
    EXPECT_EQ(ui::read_text(w.window.标签28), expected);
}

TEST(WindowStartState, WorkingStorageIsDataNotWidgets) {
    qt_test::TestWindow w;
    // Nothing in the window carries the names of the off-screen storage.
    for (const char* name : {"编辑框9", "编辑框14", "编辑框4", "编辑框1", "标签1", "超级列表框1",
                             "编辑框6", "编辑框15"}) {
        EXPECT_EQ(ui::control<QObject>(w.window, name), nullptr) << name;
    }
}

TEST(WindowStartState, MembersAreTheNamedControls) {
    qt_test::TestWindow w;
    EXPECT_EQ(w.window.编辑框5, ui::control<QPlainTextEdit>(w.window, "编辑框5"));
    EXPECT_EQ(w.window.编辑框2, ui::control<QLineEdit>(w.window, "编辑框2"));
    EXPECT_EQ(w.window.标签28, ui::control<QLabel>(w.window, "标签28"));
    EXPECT_EQ(w.window.组合框4, ui::control<QComboBox>(w.window, "组合框4"));
    EXPECT_EQ(&w.context().window, &w.window);
    EXPECT_EQ(&w.context().data, &w.data);
}

}  // namespace
