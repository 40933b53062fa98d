#pragma once
// The real main window for whole queries: built without its start-up sequence
// or first-visit loads, its hosts pointed at a loopback server, message boxes
// recorded, the window's own event pump installed, and the fixed pauses of a
// query taken on a fake clock so a test does not sleep through them.
#include <memory>
#include <string>

#include "app/main_window.h"
#include "app/qt_event_pump.h"
#include "net/event_pump.h"
#include "net/hosts.h"
#include "plain/fake_pause_clock.h"
#include "qt/test_window.h"
#include "ranking/query_kind.h"

namespace e2e {

class QueryWindow {
  public:
    explicit QueryWindow(const net::Hosts& hosts);
    ~QueryWindow();
    QueryWindow(const QueryWindow&) = delete;
    QueryWindow& operator=(const QueryWindow&) = delete;

    app::MainWindow& window() { return *window_; }
    app::ProgramData& data() { return data_; }

    // A control's text as UTF-8, and a user's typing into it.
    std::string text(const char* name) const;
    void type(const char* name, const std::string& utf8);
    // Gives a combo box one item and chooses it.
    void choose_item(const char* combo, const std::string& utf8);
    // Checks one of the sort buttons (by control name).
    void check(const char* radio);

    // A mouse click on the query button of that page (the page made current first).
    void click(ranking::QueryKind kind);
    bool enabled(ranking::QueryKind kind) const;

  private:
    app::ProgramData data_;
    app::QtEventPump pump_;
    test::FakePauseClock pauses_;
    qt_test::ScopedHosts hosts_;
    qt_test::RecordingMessageBox boxes_;
    std::unique_ptr<app::MainWindow> window_;
};

}  // namespace e2e
