// The start-up sequence as the window's created event, and the two browser
// boxes, against a loopback server.
#include <gtest/gtest.h>

#include <QApplication>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <algorithm>
#include <chrono>
#include <thread>

#include "app/startup_sequence.h"
#include "plain/raw_http_server.h"
#include "qt/test_window.h"
#include "ui/design_tab_widget.h"

namespace {

// Dispatches this thread's events until the server saw `path`; a hang
// guard, not a timing check.
bool browser_asked_for(const test::RawHttpServer& server, const std::string& path) {
    // A hang guard only; nothing measures speed with it.
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(90);
    while (!server.saw_path(path) && std::chrono::steady_clock::now() < give_up) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return server.saw_path(path);
}

TEST(VendorUrls, HomeAndToolsPagesOfTheVendorHost) {
    EXPECT_EQ(app::vendor_home_url("127.0.0.1:18080"), QUrl("http://127.0.0.1:18080/"));
    EXPECT_EQ(app::vendor_tools_url("127.0.0.1:18080"), QUrl("http://127.0.0.1:18080/1.html"));
    EXPECT_EQ(app::vendor_tools_url("localhost:8080"), QUrl("http://localhost:8080/1.html"));
    EXPECT_EQ(app::vendor_tools_url("vendor.test"), QUrl("http://vendor.test/1.html"));
    EXPECT_EQ(app::vendor_home_url("vendor.test:81"), QUrl("http://vendor.test:81/"));
}

TEST(WindowCreatedEvent, RunsItsStepsInOrderWhileTheWindowIsHidden) {
    qt_test::ScopedHosts hosts("127.0.0.1:1");  // nothing listens: the browser just fails
    std::vector<std::string> steps;
    std::vector<bool> visible_during;
    app::MainWindow* window = nullptr;
    app::WindowOptions options = qt_test::test_window_options();
    options.run_startup = true;
    const auto note = [&](const char* step, app::Context* ctx) {
        steps.push_back(step);
        if (ctx != nullptr)
            visible_during.push_back(ctx->window.isVisible());
    };
    options.startup.install_skin = [&] { note("skin", nullptr); };
    options.startup.check_update = [&](app::Context& ctx) {
        note("update", &ctx);
        // The tools page is navigated only after every step has finished.
        window = static_cast<app::MainWindow*>(&ctx.window);
        EXPECT_TRUE(window->Tovin网页框1->url().isEmpty());
    };
    options.startup.show_announcement = [&](app::Context& ctx) { note("announcement", &ctx); };

    qt_test::TestWindow w(std::move(options));
    EXPECT_EQ(steps, (std::vector<std::string>{"skin", "update", "announcement"}));
    EXPECT_EQ(visible_during, (std::vector<bool>{false, false}));
    EXPECT_EQ(window, &w.window);
    EXPECT_EQ(w.window.Tovin网页框1->url(), QUrl("http://127.0.0.1:1/1.html"));
    EXPECT_FALSE(w.window.isVisible());
    EXPECT_EQ(w.window.选择夹1->currentIndex(), 0);
}

TEST(WindowCreatedEvent, BrowserBoxesLoadTheVendorPages) {
    test::RawHttpServer vendor(test::Reply::ok("<html><body>ok</body></html>"));
    qt_test::ScopedHosts hosts("127.0.0.1:" + std::to_string(vendor.port()));
    app::WindowOptions options = qt_test::test_window_options();
    options.run_startup = true;
    options.load_browser_pages = true;
    options.startup = {};  // only the navigation of the tools page
    qt_test::TestWindow w(std::move(options));
    EXPECT_TRUE(browser_asked_for(vendor, "/"));
    EXPECT_TRUE(browser_asked_for(vendor, "/1.html"));
}

TEST(WindowCreatedEvent, NoBrowserLoadsWhenATestSaysSo) {
    qt_test::TestWindow w;
    EXPECT_TRUE(w.window.超文本浏览框1->url().isEmpty());
    EXPECT_TRUE(w.window.Tovin网页框1->url().isEmpty());
}

}  // namespace
