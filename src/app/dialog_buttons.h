#pragma once
// The 保存 / 取消 row of the settings dialogs: 保存 closes the dialog only
// when saving went well (a dialog that refuses keeps what was typed).
#include <QDialog>
#include <QDialogButtonBox>
#include <functional>

namespace app {

// The row, owned by `dialog`; its 保存 button is named "save".
QDialogButtonBox* save_cancel_buttons(QDialog* dialog, std::function<bool()> save);

}  // namespace app
