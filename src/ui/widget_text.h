#pragma once
// The one boundary between the program's GBK texts and Qt's Unicode widgets.
// Reading a widget gives GBK, writing takes GBK (windows-936 both ways, so a
// GBK text survives the round trip byte for byte). Multi-line boxes hold CR LF
// line ends in the program's view: LF becomes CR LF on read and CR LF becomes
// LF on write.
#include <QString>
#include <string>
#include <string_view>

class QWidget;

namespace ui {

QString to_qstring(std::string_view gbk);
std::string from_qstring(const QString& text);

// Text of an edit box (single- or multi-line), label, button, group box
// (its title) or combo box (its current text; empty when nothing is chosen).
std::string read_text(const QWidget* widget);
void write_text(QWidget* widget, std::string_view gbk);
// Adds to the end of an edit box's content (no line break is inserted).
void append_text(QWidget* widget, std::string_view gbk);

}  // namespace ui
