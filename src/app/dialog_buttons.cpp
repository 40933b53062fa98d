#include "app/dialog_buttons.h"

#include <QPushButton>

namespace app {

QDialogButtonBox* save_cancel_buttons(QDialog* dialog, std::function<bool()> save) {
    auto* buttons = new QDialogButtonBox(dialog);
    buttons->addButton(QStringLiteral("保存"), QDialogButtonBox::AcceptRole)
        ->setObjectName(QStringLiteral("save"));
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog,
                     [dialog, save = std::move(save)] {
                         if (save())
                             dialog->accept();
                     });
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

}  // namespace app
