// Downloading a file from a loopback server into a temporary directory: the
// file arrives whole or not at all, progress comes from the worker, and a
// download abandoned because the program closes leaves no ".part" behind.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "net/file_download.h"
#include "plain/queue_event_pump.h"
#include "plain/raw_http_server.h"
#include "plain/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using net::DownloadOutcome;
using test::RawHttpServer;
using test::Reply;

using test::TempDir;

std::vector<std::string> file_names(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void write_bytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string pattern_bytes(std::size_t n) {
    std::string bytes(n, '\0');
    for (std::size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<char>((i * 131 + i / 7) & 0xFF);
    return bytes;
}

Reply redirect_to(const std::string& location) {
    return Reply::status("HTTP/1.1 302 Found", "moved", "Location: " + location + "\r\n");
}

// A body that announces far more than it sends and then trickles on until the
// server stops: the download is still running whenever the test acts.
Reply endless_trickle() {
    Reply reply;
    reply.head = "HTTP/1.1 200 OK\r\nContent-Length: 100000000\r\n\r\n";
    reply.body = pattern_bytes(4096);
    reply.piece = 512;
    reply.pause = 20ms;
    reply.endless = true;
    return reply;
}

class FileDownload : public testing::Test {
  protected:
    void SetUp() override { ASSERT_FALSE(dir.path().empty()); }

    fs::path target() const { return dir.path() / "Korvel2.1.exe"; }
    fs::path part() const { return dir.path() / "Korvel2.1.exe.part"; }

    TempDir dir;
    test::QueueEventPump pump;
    test::ScopedEventPump installed{pump};
};

TEST(WebAddress, OnlyHttpAndHttps) {
    struct Case {
        const char* address;
        bool web;
    };
    for (const Case c :
         {Case{"http://127.0.0.1:8/download/K", true}, Case{"HTTPS://host/x", true},
          Case{"hTtP://h", true}, Case{"file:///etc/passwd", false}, Case{"ftp://host/x", false},
          Case{"http://", false}, Case{"https://", false}, Case{"", false},
          Case{" http://host/x", false}, Case{"http:/host", false}}) {
        EXPECT_EQ(net::is_web_address(c.address), c.web) << c.address;
    }
}

struct OutcomeCase {
    const char* path;
    DownloadOutcome outcome;
    const char* content;  // what the target then holds; nullptr: no file at all
};

class DownloadOutcomes : public FileDownload, public testing::WithParamInterface<OutcomeCase> {
  protected:
    Reply route(const std::string& request) {
        const std::string path = test::request_target(request);
        if (path == "/whole")
            return Reply::ok("the new program");
        if (path == "/missing")
            return Reply::status("HTTP/1.1 404 Not Found", "not here");
        if (path == "/moved")
            return redirect_to("/whole");
        if (path == "/to-file")
            return redirect_to("file://" + secret.string());
        if (path == "/cut") {
            Reply reply = Reply::ok(pattern_bytes(100000));
            reply.close_after = 30000;  // the connection drops part-way through the body
            return reply;
        }
        return Reply::status("HTTP/1.1 500 Internal Server Error", "");
    }

    fs::path secret = dir.path() / "secret";
    RawHttpServer server{[this](const std::string& request) { return route(request); }};
};

TEST_P(DownloadOutcomes, LeavesTheWholeFileOrNone) {
    write_bytes(secret, "a local file");
    const OutcomeCase& c = GetParam();
    EXPECT_EQ(net::download_file(server.url(c.path), target()), c.outcome);
    if (c.content != nullptr) {
        EXPECT_EQ(test::file_bytes(target()), c.content);
        EXPECT_EQ(file_names(dir.path()), (std::vector<std::string>{"Korvel2.1.exe", "secret"}));
    } else {
        EXPECT_EQ(file_names(dir.path()), std::vector<std::string>{"secret"});
    }
}

INSTANTIATE_TEST_SUITE_P(
    Replies, DownloadOutcomes,
    testing::Values(OutcomeCase{"/whole", DownloadOutcome::complete, "the new program"},
                    OutcomeCase{"/moved", DownloadOutcome::complete, "the new program"},
                    OutcomeCase{"/missing", DownloadOutcome::failed, nullptr},
                    OutcomeCase{"/to-file", DownloadOutcome::failed, nullptr},
                    OutcomeCase{"/cut", DownloadOutcome::failed, nullptr}),
    [](const testing::TestParamInfo<OutcomeCase>& info) {
        std::string name = info.param.path + 1;
        std::replace(name.begin(), name.end(), '-', '_');
        return name;
    });

TEST_F(FileDownload, ProgressComesFromTheWorkerAndEndsAtTheWholeSize) {
    const std::string body = pattern_bytes(64 * 1024);
    Reply reply = Reply::ok(body);
    reply.piece = 8192;
    reply.pause = 5ms;
    RawHttpServer server(reply);
    std::mutex mutex;
    std::vector<std::pair<std::int64_t, std::int64_t>> reports;
    bool on_caller_thread = false;
    const auto caller = std::this_thread::get_id();
    const auto outcome =
        net::download_file(server.url("/k"), target(), [&](std::int64_t now, std::int64_t total) {
            std::lock_guard lock(mutex);
            reports.emplace_back(now, total);
            on_caller_thread = on_caller_thread || std::this_thread::get_id() == caller;
        });
    ASSERT_EQ(outcome, DownloadOutcome::complete);
    EXPECT_EQ(test::file_bytes(target()), body);
    std::lock_guard lock(mutex);
    ASSERT_FALSE(reports.empty());
    EXPECT_FALSE(on_caller_thread);
    const auto size = static_cast<std::int64_t>(body.size());
    EXPECT_EQ(reports.back(), std::make_pair(size, size));
    EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end()));
    EXPECT_GE(pump.waits(), 1);
}

TEST_F(FileDownload, ReplacesAnEarlierFileAndAnOldPartFile) {
    write_bytes(target(), "an older, longer download that must not survive");
    write_bytes(part(), "left over from a crashed run, longer than the new file");
    RawHttpServer server(Reply::ok("fresh"));
    ASSERT_EQ(net::download_file(server.url("/k"), target()), DownloadOutcome::complete);
    EXPECT_EQ(test::file_bytes(target()), "fresh");
    EXPECT_EQ(file_names(dir.path()), std::vector<std::string>{"Korvel2.1.exe"});
}

TEST_F(FileDownload, RefusedConnectionFails) {
    const std::string url = "http://127.0.0.1:" + std::to_string(test::refused_port()) + "/k";
    EXPECT_EQ(net::download_file(url, target()), DownloadOutcome::failed);
    EXPECT_TRUE(file_names(dir.path()).empty());
}

TEST_F(FileDownload, NonWebAddressFailsWithoutWaiting) {
    for (const char* address : {"file:///etc/hostname", "ftp://127.0.0.1/x", "", "Korvel"}) {
        EXPECT_EQ(net::download_file(address, target()), DownloadOutcome::failed) << address;
    }
    EXPECT_EQ(pump.waits(), 0);
    EXPECT_TRUE(file_names(dir.path()).empty());
}

TEST_F(FileDownload, ClosingProgramStartsNoDownload) {
    RawHttpServer server(Reply::ok("never fetched"));
    pump.set_closing(true);
    EXPECT_EQ(net::download_file(server.url("/k"), target()), DownloadOutcome::abandoned);
    EXPECT_EQ(server.request_count(), 0u);
    EXPECT_TRUE(file_names(dir.path()).empty());
}

TEST_F(FileDownload, AbandonedDownloadRemovesItsPartFileBeforeReturning) {
    RawHttpServer server(endless_trickle());
    std::atomic<bool> asked{false};
    bool part_was_there = false;
    const fs::path part_file = part();
    const auto outcome =
        net::download_file(server.url("/slow"), target(), [&](std::int64_t now, std::int64_t) {
            // The program begins to close once bytes have arrived, as when
            // the window is closed during the update.
            if (now > 0 && !asked.exchange(true)) {
                pump.post([&] {
                    part_was_there = fs::exists(part_file);
                    pump.set_closing(true);
                });
            }
        });
    EXPECT_EQ(outcome, DownloadOutcome::abandoned);
    EXPECT_TRUE(part_was_there);
    EXPECT_TRUE(
        file_names(dir.path()).empty());  // checked at once: the program could end right here
}

}  // namespace
