#include "ui/widget_text.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

#include "text/codepage.h"
#include "text/primitives.h"

namespace ui {

namespace {

std::string lf_to_crlf(const std::string& s) {
    std::string out;
    out.reserve(s.size() + s.size() / 16);
    for (char c : s) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

QString crlf_to_lf(QString s) {
    return s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

}  // namespace

QString to_qstring(std::string_view gbk) {
    return QString::fromStdString(text::gbk_to_utf8(text::as_text(gbk)));
}

std::string from_qstring(const QString& s) {
    return text::utf8_to_gbk(s.toStdString());
}

std::string read_text(const QWidget* w) {
    if (auto* e = qobject_cast<const QPlainTextEdit*>(w))
        return lf_to_crlf(from_qstring(e->toPlainText()));
    if (auto* e = qobject_cast<const QTextEdit*>(w))
        return lf_to_crlf(from_qstring(e->toPlainText()));
    if (auto* e = qobject_cast<const QLineEdit*>(w))
        return from_qstring(e->text());
    if (auto* e = qobject_cast<const QLabel*>(w))
        return from_qstring(e->text());
    if (auto* e = qobject_cast<const QAbstractButton*>(w))
        return from_qstring(e->text());
    if (auto* e = qobject_cast<const QComboBox*>(w))
        return from_qstring(e->currentText());
    if (auto* e = qobject_cast<const QGroupBox*>(w))
        return from_qstring(e->title());
    return {};
}

void write_text(QWidget* w, std::string_view gbk) {
    const QString s = to_qstring(gbk);
    if (auto* e = qobject_cast<QPlainTextEdit*>(w))
        return e->setPlainText(crlf_to_lf(s));
    if (auto* e = qobject_cast<QTextEdit*>(w))
        return e->setPlainText(crlf_to_lf(s));
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return e->setText(s);
    if (auto* e = qobject_cast<QLabel*>(w))
        return e->setText(s);
    if (auto* e = qobject_cast<QAbstractButton*>(w))
        return e->setText(s);
    if (auto* e = qobject_cast<QGroupBox*>(w))
        return e->setTitle(s);
}

void append_text(QWidget* w, std::string_view gbk) {
    std::string whole = read_text(w);
    whole.append(text::as_text(gbk));
    write_text(w, whole);
}

}  // namespace ui
