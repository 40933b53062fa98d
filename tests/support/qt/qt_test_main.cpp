// main() of every Qt test program: an offscreen QApplication on one
// 1366x768 screen (the small laptop screen the windows are made for), with
// the browser engine usable as root, then the tests.
#include <gtest/gtest.h>

#include <QApplication>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/settings.h"
#include "plain/scoped_hosts.h"

namespace {

// The offscreen platform's screen, as a configuration file it reads when
// the application starts.
std::filesystem::path small_screen_file() {
    const auto file =
        std::filesystem::temp_directory_path() /
        ("korvel-offscreen-" + std::to_string(QCoreApplication::applicationPid()) + ".json");
    std::ofstream(file) << R"({"windowFrameMargins": true, "screens": [{"name": "laptop",)"
                        << R"( "x": 0, "y": 0, "width": 1366, "height": 768,)"
                        << R"( "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})";
    return file;
}

}  // namespace

int main(int argc, char** argv) {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    std::filesystem::path screen;
    if (platform.isEmpty() || platform == "offscreen") {
        screen = small_screen_file();
        qputenv("QT_QPA_PLATFORM",
                QByteArray::fromStdString("offscreen:configfile=" + screen.string()));
    }
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    if (qgetenv("QTWEBENGINE_CHROMIUM_FLAGS").isEmpty())
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
                "--disable-gpu --no-sandbox --disable-background-networking");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    app::override_hosts(test::nowhere());
    if (!screen.empty())
        std::filesystem::remove(screen);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
