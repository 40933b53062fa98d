// The update download against a cpp-httplib server on loopback: the file
// arrives whole or not at all, the bar follows on the window's thread,
// nothing but http/https is fetched, and closing the program during the
// download leaves nothing behind in the program directory.
#include <gtest/gtest.h>
#include <httplib.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/qt_event_pump.h"
#include "app/self_update_download.h"
#include "net/event_pump.h"

namespace {

std::string pattern_bytes(std::size_t n) {
    std::string bytes(n, '\0');
    for (std::size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<char>((i * 131 + i / 7) & 0xFF);
    return bytes;
}

std::string read_bytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().toStdString();
}

class Download : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        net::set_event_pump(&pump);
        // A polled accept loop notices stop() even if the socket number is reused at once.
        server.set_idle_interval(0, 50000);
        port = server.bind_to_any_port("127.0.0.1");
        ASSERT_GT(port, 0);
        // The socket listens from bind on; connections queue until the loop runs.
        listener = std::thread([this] { server.listen_after_bind(); });
        // stop() only reaches a loop that has begun.
        while (!server.is_running())
            std::this_thread::yield();
        QObject::connect(&bar, &QProgressBar::valueChanged, [this](int v) {
            positions.push_back(v);
            on_gui_thread = on_gui_thread && QThread::currentThread() == bar.thread();
        });
    }
    void TearDown() override {
        server.stop();
        listener.join();
        net::set_event_pump(nullptr);
    }

    std::string url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(port) + path;
    }
    QString target() const { return dir.filePath("Korvel2.1.exe"); }
    bool download(const std::string& path) {
        return app::download_with_progress(url(path), std::filesystem::path(target().toStdString()),
                                           &bar);
    }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files); }

    QTemporaryDir dir;
    app::QtEventPump pump;
    httplib::Server server;
    int port = 0;
    std::thread listener;
    QProgressBar bar;
    std::vector<int> positions;
    bool on_gui_thread = true;
};

TEST_F(Download, KnownSizeEndsAtThousandByteIdentical) {
    const std::string body = pattern_bytes(3 * 1024 * 1024);
    server.Get("/big", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content(body, "application/octet-stream");
    });
    bar.setValue(-1);
    ASSERT_TRUE(download("/big"));
    EXPECT_EQ(read_bytes(target()), body);
    EXPECT_EQ(bar.minimum(), 0);
    EXPECT_EQ(bar.maximum(), 1000);
    EXPECT_EQ(bar.value(), 1000);
    EXPECT_TRUE(on_gui_thread);
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
    EXPECT_EQ(files(), QStringList{"Korvel2.1.exe"});
}

TEST_F(Download, UnknownSizeLeavesBarWhereItWas) {
    const std::string body = pattern_bytes(200000);
    server.Get("/chunked", [&](const httplib::Request&, httplib::Response& res) {
        res.set_chunked_content_provider(
            "application/octet-stream", [&](std::size_t offset, httplib::DataSink& sink) {
                const std::size_t n = std::min<std::size_t>(16384, body.size() - offset);
                sink.write(body.data() + offset, n);
                if (offset + n == body.size())
                    sink.done();
                return true;
            });
    });
    ASSERT_TRUE(download("/chunked"));
    EXPECT_EQ(read_bytes(target()), body);
    EXPECT_EQ(bar.value(), 0);
    EXPECT_EQ(positions, std::vector<int>{0});  // only the reset before the start
}

TEST_F(Download, ErrorStatusFailsAndLeavesNoFile) {
    server.Get("/missing", [](const httplib::Request&, httplib::Response& res) {
        res.status = 404;
        res.set_content("not here", "text/plain");
    });
    EXPECT_FALSE(download("/missing"));
    EXPECT_TRUE(files().isEmpty());
}

TEST_F(Download, RedirectToOtherSchemeIsNotFollowed) {
    const QString secret = dir.filePath("secret");
    QFile file(secret);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("local file");
    file.close();
    server.Get("/moved", [&](const httplib::Request&, httplib::Response& res) {
        res.set_redirect("file://" + secret.toStdString());
    });
    EXPECT_FALSE(download("/moved"));
    EXPECT_FALSE(QFile::exists(target()));
}

TEST_F(Download, RedirectWithinHttpIsFollowed) {
    server.Get("/old",
               [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/new"); });
    server.Get("/new", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("new program", "application/octet-stream");
    });
    ASSERT_TRUE(download("/old"));
    EXPECT_EQ(read_bytes(target()), "new program");
}

TEST_F(Download, ReplacesAnEarlierFile) {
    QFile old(target());
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("an older, longer download that must not survive");
    old.close();
    server.Get("/k", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("fresh", "application/octet-stream");
    });
    ASSERT_TRUE(download("/k"));
    EXPECT_EQ(read_bytes(target()), "fresh");
}

TEST_F(Download, NonWebAddressesAreRefused) {
    for (const std::string address : {"file:///etc/hostname", "ftp://127.0.0.1/x", "", "Korvel"}) {
        EXPECT_FALSE(app::download_with_progress(
            address, std::filesystem::path(target().toStdString()), &bar))
            << address;
    }
    EXPECT_TRUE(files().isEmpty());
}

TEST_F(Download, RefusedConnectionFails) {
    EXPECT_FALSE(app::download_with_progress("http://127.0.0.1:1/k",
                                             std::filesystem::path(target().toStdString()), &bar));
    EXPECT_TRUE(files().isEmpty());
}

TEST_F(Download, ClosingDuringTheDownloadLeavesNoPartFile) {
    // Far more announced than is ever sent: the download is running whenever
    // the window is closed.
    constexpr std::size_t kAnnounced = 100 * 1024 * 1024;
    const std::string piece = pattern_bytes(16384);
    server.Get("/slow", [piece](const httplib::Request&, httplib::Response& res) {
        res.set_content_provider(kAnnounced, "application/octet-stream",
                                 [piece](std::size_t, std::size_t, httplib::DataSink& sink) {
                                     std::this_thread::sleep_for(std::chrono::milliseconds(20));
                                     return sink.write(piece.data(), piece.size());
                                 });
    });
    // A pump of its own: a shut-down pump stays shut down. Its grace is long
    // enough never to end the test program.
    app::QtEventPump closing_pump(std::chrono::minutes(5));
    net::set_event_pump(&closing_pump);
    const QString part = target() + ".part";
    bool part_was_there = false;
    const auto closer = QObject::connect(&bar, &QProgressBar::valueChanged, [&](int v) {
        if (v > 0 && !closing_pump.shutting_down()) {
            part_was_there = QFile::exists(part);
            closing_pump.begin_shutdown();  // what closing the window does
        }
    });
    const bool done = download("/slow");
    // Checked before anything else runs: the program may end right after.
    const QStringList left = files();
    QObject::disconnect(closer);
    closing_pump.finish_shutdown();
    net::set_event_pump(&pump);
    EXPECT_FALSE(done);
    EXPECT_TRUE(part_was_there);
    EXPECT_TRUE(left.isEmpty()) << left.join(' ').toStdString();
}

}  // namespace
