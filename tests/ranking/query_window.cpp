#include "query_window.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QTest>

#include "ranking/query_tabs.h"
#include "text/codepage.h"
#include "ui/control.h"
#include "ui/design_tab_widget.h"
#include "ui/widget_text.h"

namespace ranking_test {

namespace {

int page_of(ranking::QueryKind kind) {
    switch (kind) {
        case ranking::QueryKind::keyword:
            return 0;
        case ranking::QueryKind::category:
            return 1;
        case ranking::QueryKind::ishopping:
            return 2;
        case ranking::QueryKind::new_goods:
            break;
    }
    return 3;
}

app::WindowOptions test_options() {
    app::WindowOptions options = qt_test::test_window_options();
    options.first_visit.level1 = [](ui::Context&) {};
    options.first_visit.tabs = [](ui::Context&) {};
    return options;
}

}  // namespace

bool ProbingPump::wait_until(const std::function<bool()>& done, net::Clock::time_point deadline) {
    ++waits_;
    if (probe_ && !probing_) {
        probing_ = true;
        probe_();
        probing_ = false;
    }
    return inner_.wait_until(done, deadline);
}

std::string gbk(const std::string& utf8) {
    return text::utf8_to_gbk(utf8);
}
std::string utf8(const std::string& gbk) {
    return text::gbk_to_utf8(gbk);
}

QueryWindow::QueryWindow(const net::Hosts& hosts) : hosts_(hosts) {
    net::set_event_pump(&pump_);
    app::WindowOptions options = test_options();
    options.on_close = [this] { pump_.inner().begin_shutdown(); };
    window_ = std::make_unique<app::MainWindow>(data_, std::move(options));
    window_->show();
}

QueryWindow::~QueryWindow() {
    window_.reset();
    pump_.inner().finish_shutdown();
    net::set_event_pump(nullptr);
}

std::vector<Message> QueryWindow::messages() const {
    std::vector<Message> out;
    for (const auto& m : boxes_.messages())
        out.push_back({utf8(m.text), utf8(m.caption)});
    return out;
}

std::string QueryWindow::text(const char* name) const {
    return utf8(ui::read_text(ui::control(*window_, name)));
}

void QueryWindow::type(const char* name, const std::string& utf8_text) {
    ui::write_text(ui::control(*window_, name), gbk(utf8_text));
}

void QueryWindow::choose_item(const char* combo, const std::string& utf8_text) {
    auto* box = ui::control<QComboBox>(*window_, combo);
    box->clear();
    box->addItem(QString::fromStdString(utf8_text));
    box->setCurrentIndex(0);
}

void QueryWindow::check(const char* radio) {
    ui::control<QAbstractButton>(*window_, radio)->setChecked(true);
}

void QueryWindow::click(ranking::QueryKind kind) {
    window_->选择夹1->setCurrentIndex(page_of(kind));
    auto* button = ui::control<QAbstractButton>(*window_, ranking::query_tab(kind).button);
    QTest::mouseClick(button, Qt::LeftButton);
}

bool QueryWindow::enabled(ranking::QueryKind kind) const {
    return ui::control<QAbstractButton>(*window_, ranking::query_tab(kind).button)->isEnabled();
}

std::string QueryWindow::caption(ranking::QueryKind kind) const {
    return text(ranking::query_tab(kind).button);
}

void QueryWindow::at_wait(std::function<bool()> when, std::function<void()> action) {
    auto done = std::make_shared<bool>(false);
    pump_.set_probe([when = std::move(when), action = std::move(action), done] {
        if (*done || !when())
            return;
        *done = true;
        action();
    });
}

void QueryWindow::close() {
    window_->close();
}

}  // namespace ranking_test
