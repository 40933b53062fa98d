#pragma once
// Shared helpers for tests that use the real main window (offscreen).
//
//   qt_test::TestWindow w;                 // data + window; no start-up, no browser loads
//   w.window.编辑框2 / ui::control<QLineEdit>(w.window, "编辑框2")
//   handler(w.context());                  // app::Context for the entry points
//   qt_test::RecordingMessageBox boxes;    // message boxes are recorded, never shown
//   qt_test::ScopedHosts hosts(server.host());  // every host -> one server (e.g. a sim::Server)
//   qt_test::ScopedQtEventPump pump;       // waits dispatch Qt events (clicks during a query)
//
// Every Scoped* / Recording* object restores the previous state when it ends.
#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/program_data.h"
#include "app/qt_event_pump.h"
#include "net/hosts.h"

namespace qt_test {

// Options of a window for tests: no start-up sequence, no browser page loads;
// the first-visit loaders stay the catalogue's (replace them to observe).
app::WindowOptions test_window_options();

// Program data and a main window built from it. The window is not shown;
// call window.show() when a test needs visible geometry.
struct TestWindow {
    explicit TestWindow(app::WindowOptions options = test_window_options());
    app::ProgramData data;
    app::MainWindow window;
    app::Context& context() { return window.context(); }
};

struct RecordedMessage {
    std::string text;  // GBK
    int style = 0;
    std::string caption;  // GBK
};

// Installs a message box that records each message and answers OK.
class RecordingMessageBox {
  public:
    RecordingMessageBox();
    ~RecordingMessageBox();
    RecordingMessageBox(const RecordingMessageBox&) = delete;
    RecordingMessageBox& operator=(const RecordingMessageBox&) = delete;

    const std::vector<RecordedMessage>& messages() const { return *messages_; }
    void clear() { messages_->clear(); }

  private:
    std::shared_ptr<std::vector<RecordedMessage>> messages_;
};

// Points the window's hosts somewhere else for the scope (over the settings
// file's); the file's again after it.
class ScopedHosts {
  public:
    explicit ScopedHosts(const net::Hosts& hosts);
    // All four hosts become `host_port` ("127.0.0.1:PORT"); the domain word
    // keeps its default.
    explicit ScopedHosts(const std::string& host_port);
    ~ScopedHosts();
    ScopedHosts(const ScopedHosts&) = delete;
    ScopedHosts& operator=(const ScopedHosts&) = delete;
};

// Installs the program's Qt event pump for the scope.
class ScopedQtEventPump {
  public:
    ScopedQtEventPump();
    ~ScopedQtEventPump();
    ScopedQtEventPump(const ScopedQtEventPump&) = delete;
    ScopedQtEventPump& operator=(const ScopedQtEventPump&) = delete;

    app::QtEventPump& pump() { return pump_; }

  private:
    app::QtEventPump pump_;
};

}  // namespace qt_test
