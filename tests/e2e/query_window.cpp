#include "query_window.h"

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "text/codepage.h"
#include "ui/control.h"
#include "ui/design_tab_widget.h"
#include "ui/widget_text.h"

namespace e2e {

namespace {

app::WindowOptions test_options() {
    app::WindowOptions options = qt_test::test_window_options();
    options.first_visit = {};
    return options;
}

}  // namespace

QueryWindow::QueryWindow(const net::Hosts& hosts) : hosts_(hosts) {
    net::set_event_pump(&pump_);
    app::WindowOptions options = test_options();
    options.on_close = [this] { pump_.begin_shutdown(); };
    window_ = std::make_unique<app::MainWindow>(data_, std::move(options));
    window_->show();
}

QueryWindow::~QueryWindow() {
    window_.reset();
    pump_.finish_shutdown();
    net::set_event_pump(nullptr);
}

std::string QueryWindow::text(const char* name) const {
    return text::gbk_to_utf8(ui::read_text(ui::control(*window_, name)));
}

void QueryWindow::type(const char* name, const std::string& utf8_text) {
    ui::write_text(ui::control(*window_, name), text::utf8_to_gbk(utf8_text));
}

void QueryWindow::choose_item(const char* combo, const std::string& utf8_text) {
    auto* box = ui::control<QComboBox>(*window_, combo);
    box->clear();
    box->addItem(QString::fromStdString(utf8_text));
    box->setCurrentIndex(0);
}

void QueryWindow::check(const char* radio) {
    ui::control<QRadioButton>(*window_, radio)->setChecked(true);
}

namespace {

QPushButton* button_of(app::MainWindow& w, ranking::QueryKind kind) {
    QPushButton* const buttons[] = {w.按钮关键词排名搜索, w.按钮类目排名搜索, w.按钮爱逛街查询,
                                    w.按钮新品查询};
    return buttons[static_cast<int>(kind)];
}

}  // namespace

void QueryWindow::click(ranking::QueryKind kind) {
    window_->选择夹1->setCurrentIndex(static_cast<int>(kind));
    QTest::mouseClick(button_of(*window_, kind), Qt::LeftButton);
}

bool QueryWindow::enabled(ranking::QueryKind kind) const {
    return button_of(*window_, kind)->isEnabled();
}

}  // namespace e2e
