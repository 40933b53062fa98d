#include "ranking/query_widgets.h"

#include <QAbstractButton>
#include <QPlainTextEdit>
#include <QTextEdit>

#include "ranking/query_tabs.h"
#include "text/codepage.h"
#include "ui/control.h"
#include "ui/widget_text.h"

namespace ranking {

namespace {

QAbstractButton* button(const QWidget& window, QueryKind kind) {
    return ui::control<QAbstractButton>(window, query_tab(kind).button);
}

// Multi-line widgets keep LF line ends; the program's texts use CR LF.
QString widget_lines(std::string_view gbk) {
    return ui::to_qstring(gbk).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

template <class Edit>
void append_at_end(Edit* edit, std::string_view gbk) {
    edit->moveCursor(QTextCursor::End);
    edit->insertPlainText(widget_lines(gbk));
    edit->ensureCursorVisible();
}

}  // namespace

std::string read_control(const QWidget& window, const char* name) {
    return ui::read_text(ui::control(window, name));
}

void write_control(const QWidget& window, const char* name, std::string_view gbk) {
    ui::write_text(ui::control(window, name), gbk);
}

void append_control(const QWidget& window, const char* name, std::string_view gbk) {
    QWidget* widget = ui::control(window, name);
    if (auto* plain = qobject_cast<QPlainTextEdit*>(widget))
        return append_at_end(plain, gbk);
    if (auto* rich = qobject_cast<QTextEdit*>(widget))
        return append_at_end(rich, gbk);
    ui::append_text(widget, gbk);
}

void write_result(const QWidget& window, const char* box, const ResultWrite& write) {
    if (write.mode == ResultWrite::Mode::append)
        return append_control(window, box, write.text);
    write_control(window, box, write.text);
}

SortChoice read_sort_choice(const QWidget& window) {
    SortChoice checked{};
    for (std::size_t i = 0; i < kSortButtons.size(); ++i) {
        auto* radio = ui::control<QAbstractButton>(window, kSortButtons[i]);
        checked[i] = radio != nullptr && radio->isChecked();
    }
    return checked;
}

void disable_buttons(const QWidget& window, std::initializer_list<QueryKind> kinds) {
    for (QueryKind kind : kinds) {
        if (auto* b = button(window, kind))
            b->setEnabled(false);
    }
}

void show_busy(const QWidget& window, QueryKind pressed) {
    write_control(window, query_tab(pressed).button, GBK("查询中…"));
}

void restore_buttons(const QWidget& window, QueryKind pressed) {
    if (auto* b = button(window, pressed)) {
        b->setEnabled(true);
        ui::write_text(b, GBK("查询"));
    }
    for (QueryKind kind : kAllKinds) {
        if (kind == pressed)
            continue;
        if (auto* b = button(window, kind))
            b->setEnabled(true);
    }
}

bool button_disabled(const QWidget& window, QueryKind kind) {
    const QAbstractButton* b = button(window, kind);
    return b != nullptr && !b->isEnabled();
}

}  // namespace ranking
