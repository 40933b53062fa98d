#pragma once
// The real main window for ranking tests, built without its start-up sequence
// or first-visit loads, its hosts pointed at a loopback server, message boxes
// recorded, and the window's own event pump behind a probe that lets a test
// act as the user at the start of every wait of a running query.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/qt_event_pump.h"
#include "net/event_pump.h"
#include "net/hosts.h"
#include "qt/test_window.h"
#include "ranking/query_kind.h"

namespace ranking_test {

class ProbingPump final : public net::EventPump {
  public:
    void dispatch_pending() override { inner_.dispatch_pending(); }
    bool wait_until(const std::function<bool()>& done, net::Clock::time_point deadline) override;
    void wake() override { inner_.wake(); }
    bool closing() const override { return inner_.shutting_down(); }

    void set_probe(std::function<void()> probe) { probe_ = std::move(probe); }
    app::QtEventPump& inner() { return inner_; }
    int waits() const { return waits_; }

  private:
    app::QtEventPump inner_;
    std::function<void()> probe_;
    bool probing_ = false;
    int waits_ = 0;
};

struct Message {
    std::string text;     // UTF-8
    std::string caption;  // UTF-8
};

class QueryWindow {
  public:
    explicit QueryWindow(const net::Hosts& hosts);
    ~QueryWindow();
    QueryWindow(const QueryWindow&) = delete;
    QueryWindow& operator=(const QueryWindow&) = delete;

    app::MainWindow& window() { return *window_; }
    ui::ProgramData& data() { return data_; }
    ProbingPump& pump() { return pump_; }
    // Message boxes shown so far, as UTF-8.
    std::vector<Message> messages() const;

    // A control's text as UTF-8, and a user's typing into it.
    std::string text(const char* name) const;
    void type(const char* name, const std::string& utf8);
    // Gives a combo box one item and chooses it.
    void choose_item(const char* combo, const std::string& utf8);
    // Checks one of the sort buttons (by control name).
    void check(const char* radio);

    // A mouse click on the query button of that tab (the tab made current first).
    void click(ranking::QueryKind kind);
    bool enabled(ranking::QueryKind kind) const;
    std::string caption(ranking::QueryKind kind) const;

    // Runs `action` once, at the start of the first wait at which `when` holds.
    void at_wait(std::function<bool()> when, std::function<void()> action);

    void close();  // as the user does; waits give up from then on

  private:
    ui::ProgramData data_;
    ProbingPump pump_;
    qt_test::ScopedHosts hosts_;
    qt_test::RecordingMessageBox boxes_;
    std::unique_ptr<app::MainWindow> window_;
};

// The UTF-8 literal as the GBK text the program keeps.
std::string gbk(const std::string& utf8);
std::string utf8(const std::string& gbk);

}  // namespace ranking_test
