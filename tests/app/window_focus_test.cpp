// Keyboard focus in the window: where it starts, and Tab in multi-line boxes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineView>

#include "app/startup_steps.h"
#include "app/window_description.h"
#include "qt/test_window.h"
#include "sim_server.h"
#include "ui/control.h"

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

TEST(WindowFocus, StartsInTheGoodsInputAfterTheWholeStartUp) {
    // The real update check, announcement and browser pages against the
    // simulator (which publishes our own version: no update).
    sim::Options on_any_port;
    on_any_port.port = 0;  // never the demo's port, which may be in use
    sim::Server vendor(on_any_port);
    ASSERT_TRUE(vendor.start());
    qt_test::ScopedHosts hosts(vendor.host());
    qt_test::ScopedQtEventPump pump;
    qt_test::RecordingMessageBox boxes;
    app::WindowOptions options = qt_test::test_window_options();
    options.run_startup = true;
    options.load_browser_pages = true;
    options.startup.check_update = app::check_update;
    options.startup.show_announcement = app::show_announcement;
    qt_test::TestWindow w(std::move(options));
    ASSERT_FALSE(w.window.编辑框20->toPlainText().isEmpty());  // the announcement arrived
    QSignalSpy tools_loaded(w.window.Tovin网页框1, &QWebEngineView::loadFinished);
    ASSERT_TRUE(show_active(w.window));
    // A page that finishes loading must not take the keyboard either.
    tools_loaded.wait(30000);
    EXPECT_FALSE(tools_loaded.isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), w.window.编辑框2);
    EXPECT_TRUE(boxes.messages().empty());
    vendor.stop();
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

}  // namespace
