#include "e2e_window.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QPushButton>
#include <QTest>

#include "text/codepage.h"
#include "ui/control.h"
#include "ui/design_tab_widget.h"
#include "ui/widget_text.h"

namespace e2e {

namespace {

app::WindowOptions without_first_visit_loads() {
    app::WindowOptions options = qt_test::test_window_options();
    options.first_visit = {};
    return options;
}

int page_of(ranking::QueryKind kind) {
    return static_cast<int>(kind);
}

QAbstractButton* button_of(const app::MainWindow& w, ranking::QueryKind kind) {
    QAbstractButton* buttons[] = {w.按钮关键词排名搜索, w.按钮类目排名搜索, w.按钮爱逛街查询,
                                  w.按钮新品查询};
    return buttons[page_of(kind)];
}

}  // namespace

QueryWindow::QueryWindow(const net::Hosts& hosts) : hosts_(hosts), w_(without_first_visit_loads()) {
    w_.window.show();
}

std::string QueryWindow::text(const char* name) const {
    return text::gbk_to_utf8(ui::read_text(ui::control(w_.window, name)));
}

void QueryWindow::type(const char* name, const std::string& utf8) {
    ui::write_text(ui::control(w_.window, name), text::utf8_to_gbk(utf8));
}

void QueryWindow::choose_item(const char* combo, const std::string& utf8) {
    auto* box = ui::control<QComboBox>(w_.window, combo);
    box->clear();
    box->addItem(QString::fromStdString(utf8));
    box->setCurrentIndex(0);
}

void QueryWindow::check(const char* radio) {
    ui::control<QAbstractButton>(w_.window, radio)->setChecked(true);
}

void QueryWindow::click(ranking::QueryKind kind) {
    w_.window.选择夹1->setCurrentIndex(page_of(kind));
    QTest::mouseClick(button_of(w_.window, kind), Qt::LeftButton);
}

bool QueryWindow::enabled(ranking::QueryKind kind) const {
    return button_of(w_.window, kind)->isEnabled();
}

}  // namespace e2e
