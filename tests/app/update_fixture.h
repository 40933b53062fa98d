#pragma once
// What the update, announcement and start-up tests share: the simulator on
// loopback standing in for every host, the program's Qt event pump, message
// boxes recorded instead of shown, and the update's hooks pointed at a
// program directory in a temp dir (the process end is recorded, not done).
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/main_window.h"
#include "app/program_data.h"
#include "app/qt_event_pump.h"
#include "app/self_update.h"
#include "app/settings.h"
#include "net/event_pump.h"
#include "net/hosts.h"
#include "net/message_box.h"
#include "plain/scoped_hosts.h"
#include "sim_server.h"

namespace startup_test {

inline std::string read_bytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().toStdString();
}

inline void write_bytes(const QString& path, const std::string& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

struct Box {
    std::string text;
    int style;
    std::string caption;
};

class SimulatorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(program_dir.isValid());
        ASSERT_TRUE(tools_dir.isValid());
        net::set_event_pump(&pump);
        net::set_message_box(
            [this](const std::string& text, int style, const std::string& caption) {
                boxes.push_back({text, style, caption});
                return 0;
            });
        write_bytes(program_path(), "the old program");
        app::set_update_hooks({[this] { return program_path(); },
                               [this](int code) { exit_codes.push_back(code); },
                               [this] { return deleter_recorder(); },
                               {}});
    }

    void TearDown() override {
        window.reset();
        if (server)
            server->stop();
        app::set_update_hooks({});
        net::set_message_box({});
        net::set_event_pump(nullptr);
        app::override_hosts(test::nowhere());
    }

    // Starts the simulator on a free port and makes it every host.
    void start_simulator(sim::Options options = {}) {
        options.port = 0;
        server = std::make_unique<sim::Server>(options);
        ASSERT_TRUE(server->start());
        const std::string h = server->host();
        app::override_hosts(net::Hosts{h, h, h, h, "goods2.html"});
    }

    // Every host at a loopback port where nothing listens (port 1 is
    // reserved and never served here), so each connection is refused.
    void use_unreachable_vendor() { app::override_hosts(test::nowhere()); }

    app::MainWindow& make_window(app::WindowOptions options) {
        window = std::make_unique<app::MainWindow>(data, std::move(options));
        return *window;
    }

    // The window without its start-up sequence or browser pages.
    app::MainWindow& bare_window() {
        app::WindowOptions options;
        options.run_startup = false;
        options.load_browser_pages = false;
        return make_window(std::move(options));
    }

    QString program_path() const { return program_dir.filePath("korvel-old"); }
    QString in_program_dir(const QString& name) const { return program_dir.filePath(name); }

    // A stand-in deleter that writes its arguments to a file and ends.
    QString deleter_recorder() {
        const QString script = tools_dir.filePath("record-deleter");
        if (!QFile::exists(script)) {
            write_bytes(script, "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"" +
                                    tools_dir.filePath("deleter-args").toStdString() + "\"\n");
            QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        return script;
    }
    QString deleter_args_file() const { return tools_dir.filePath("deleter-args"); }

    // The files in the program directory, the old program included.
    QStringList program_dir_files() const {
        return QDir(program_dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    // No simulator running: no requests.
    std::vector<sim::RequestRecord> requests() const {
        return server ? server->requests() : std::vector<sim::RequestRecord>{};
    }

    bool requested(const std::string& path_prefix) const {
        for (const auto& r : requests()) {
            if (r.path.starts_with(path_prefix))
                return true;
        }
        return false;
    }

    int count_requests(const std::string& path) const {
        int n = 0;
        for (const auto& r : requests())
            n += r.path == path ? 1 : 0;
        return n;
    }

    QTemporaryDir program_dir;
    QTemporaryDir tools_dir;
    app::QtEventPump pump;
    std::unique_ptr<sim::Server> server;
    std::vector<Box> boxes;
    std::vector<int> exit_codes;
    app::ProgramData data;
    std::unique_ptr<app::MainWindow> window;
};

}  // namespace startup_test
