#pragma once
// The real main window for whole-query tests: no start-up sequence, no
// first-visit loads, its hosts pointed at one server, message boxes recorded,
// the window's own event pump installed, shown on the offscreen platform.
#include <memory>
#include <string>

#include "app/main_window.h"
#include "net/hosts.h"
#include "qt/test_window.h"
#include "ranking/query_kind.h"

namespace e2e {

class QueryWindow {
  public:
    explicit QueryWindow(const net::Hosts& hosts);

    app::MainWindow& window() { return w_.window; }
    ui::ProgramData& data() { return w_.data; }

    // A control's text as UTF-8, and a user's typing into it.
    std::string text(const char* name) const;
    void type(const char* name, const std::string& utf8);
    // Gives a combo box one item and shows it chosen (no choice is reported).
    void choose_item(const char* combo, const std::string& utf8);
    // Checks one of the sort buttons (by control name).
    void check(const char* radio);

    // A mouse click on the query button of that page (the page made current first).
    void click(ranking::QueryKind kind);
    bool enabled(ranking::QueryKind kind) const;

  private:
    qt_test::ScopedHosts hosts_;
    qt_test::RecordingMessageBox boxes_;
    qt_test::ScopedQtEventPump pump_;
    qt_test::TestWindow w_;
};

}  // namespace e2e
