// Keyboard focus in the window: where it starts, and Tab in multi-line boxes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include "app/window_description.h"
#include "qt/test_window.h"
#include "ui/control.h"
#include "ui/design_tab_widget.h"

namespace {

// Shows the window and waits until it is the active window (not a timing
// assertion: the wait only ends early).
bool show_active(app::MainWindow& window) {
    window.show();
    return QTest::qWaitForWindowActive(&window);
}

TEST(WindowFocus, StartsInTheGoodsInputOfTheKeywordPage) {
    qt_test::TestWindow w;
    ASSERT_TRUE(show_active(w.window));
    EXPECT_EQ(QApplication::focusWidget(), w.window.编辑框2);
    EXPECT_NE(QApplication::focusWidget(), w.window.编辑框20);
}

TEST(WindowFocus, TypingAfterStartGoesIntoTheGoodsInput) {
    qt_test::TestWindow w;
    ASSERT_TRUE(show_active(w.window));
    const QString announcement = w.window.编辑框20->toPlainText();
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("9"));
    EXPECT_EQ(w.window.编辑框2->text(), QStringLiteral("40331389"));
    EXPECT_EQ(w.window.编辑框20->toPlainText(), announcement);
}

TEST(WindowFocus, TabInTheKeywordListMovesOnWithoutTypingATab) {
    qt_test::TestWindow w;
    ASSERT_TRUE(show_active(w.window));
    QPlainTextEdit* keywords = w.window.编辑框3;
    keywords->setFocus(Qt::OtherFocusReason);
    ASSERT_EQ(QApplication::focusWidget(), keywords);
    const QString before = keywords->toPlainText();
    QTest::keyClick(keywords, Qt::Key_Tab);
    EXPECT_EQ(keywords->toPlainText(), before);
    EXPECT_FALSE(keywords->toPlainText().contains(QLatin1Char('\t')));
    // The next field on the page is the result box.
    EXPECT_EQ(QApplication::focusWidget(), w.window.编辑框5);
}

TEST(WindowFocus, EveryMultiLineBoxPassesTabOn) {
    qt_test::TestWindow w;
    int boxes = 0;
    for (const app::ControlSpec& spec : app::control_specs()) {
        if (spec.kind != app::ControlKind::MultiLineEdit)
            continue;
        auto* box = ui::control<QPlainTextEdit>(w.window, spec.name);
        ASSERT_NE(box, nullptr) << spec.name;
        EXPECT_TRUE(box->tabChangesFocus()) << spec.name;
        ++boxes;
    }
    EXPECT_EQ(boxes, 6);  // the announcement, the keyword list and four result boxes
}

TEST(WindowFocus, TabInAResultBoxOfAnotherPageMovesOn) {
    qt_test::TestWindow w;
    ASSERT_TRUE(show_active(w.window));
    w.window.选择夹1->setCurrentIndex(3);
    QPlainTextEdit* result = ui::control<QPlainTextEdit>(w.window, "编辑框19");
    ASSERT_NE(result, nullptr);
    result->setPlainText(QStringLiteral("第1名"));
    result->setFocus(Qt::OtherFocusReason);
    ASSERT_EQ(QApplication::focusWidget(), result);
    QTest::keyClick(result, Qt::Key_Tab);
    EXPECT_EQ(result->toPlainText(), QStringLiteral("第1名"));
    EXPECT_NE(QApplication::focusWidget(), result);
}

}  // namespace
