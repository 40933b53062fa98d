#pragma once
// Enter runs a page's 查询 from its goods field; in a multi-line list Enter
// keeps starting a new line and Ctrl+Enter runs it.
class QAbstractButton;
class QLineEdit;
class QPlainTextEdit;

namespace app {

void run_on_enter(QLineEdit& field, QAbstractButton& button);
void run_on_ctrl_enter(QPlainTextEdit& list, QAbstractButton& button);

}  // namespace app
