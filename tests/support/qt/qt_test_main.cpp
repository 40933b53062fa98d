// main() of every Qt test program: an offscreen QApplication with the browser
// engine usable as root, then the tests.
#include <gtest/gtest.h>

#include <QApplication>

#include "app/settings.h"
#include "plain/scoped_hosts.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    if (qgetenv("QTWEBENGINE_CHROMIUM_FLAGS").isEmpty())
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
                "--disable-gpu --no-sandbox --disable-background-networking");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    app::override_hosts(test::nowhere());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
