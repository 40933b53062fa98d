#include "app/skin.h"

namespace app {

namespace {

// Flat and light: one accent colour, thin borders, a CJK-first font list so
// the Chinese captions render evenly. Text and background colours of edit
// boxes and labels are left to the window, which colours some of them itself
// (the red announcement, the status links).
constexpr char kSkinBytes[] =
    ".SHE\0"
    R"css(/* Korvel skin */
QWidget {
    font-family: "WenQuanYi Micro Hei", "Noto Sans CJK SC", "Microsoft YaHei", "PingFang SC", sans-serif;
}
QMainWindow, QDialog {
    background: #f5f7fa;
}
QPushButton {
    background: #2f7de1;
    color: #ffffff;
    border: none;
    border-radius: 3px;
    padding: 3px 10px;
}
QPushButton:hover {
    background: #4a90e8;
}
QPushButton:pressed {
    background: #2166c2;
}
QPushButton:disabled {
    background: #b9c5d6;
    color: #eef2f7;
}
QPushButton:checked {
    background: #174a8c;
}
QPushButton:focus {
    border: 2px solid #f0a020;
    padding: 1px 8px;
}
QLineEdit, QPlainTextEdit, QTextEdit {
    border: 1px solid #c9d1dd;
    border-radius: 2px;
    padding: 1px 3px;
}
QLineEdit:focus, QPlainTextEdit:focus, QTextEdit:focus {
    border-color: #2f7de1;
}
QTabWidget::pane {
    border: 1px solid #d6dce5;
    background: #ffffff;
}
QTabBar::tab {
    background: #e7ebf1;
    border: 1px solid #d6dce5;
    padding: 4px 10px;
    margin-right: 1px;
}
QTabBar::tab:selected {
    background: #ffffff;
    border-bottom-color: #ffffff;
}
QTabBar::tab:hover:!selected {
    background: #f0f3f7;
}
QGroupBox {
    border: 1px solid #d6dce5;
    border-radius: 3px;
    margin-top: 8px;
}
QGroupBox::title {
    subcontrol-origin: margin;
    left: 8px;
    padding: 0 3px;
}
QProgressBar {
    background: #e7ebf1;
    border: 1px solid #c9d1dd;
    border-radius: 2px;
    text-align: center;
}
QProgressBar::chunk {
    background: #2f7de1;
}
QHeaderView::section {
    background: #eef1f5;
    border: none;
    border-right: 1px solid #d6dce5;
    padding: 2px 4px;
}
)css";

}  // namespace

std::string_view skin_block() {
    return {kSkinBytes, sizeof(kSkinBytes) - 1};
}

}  // namespace app
