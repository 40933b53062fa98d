#include "app/name_picker.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>

#include "ui/widget_text.h"

namespace app {

NamePicker::NamePicker(Mode mode, const QString& placeholder, const QString& missing,
                       QWidget* parent)
    : QWidget(parent), mode_(mode), missing_(missing) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    edit_ = new QLineEdit(this);
    edit_->setPlaceholderText(placeholder);
    button_ = new QToolButton(this);
    button_->setText(QStringLiteral("选择"));
    button_->setPopupMode(QToolButton::InstantPopup);
    menu_ = new QMenu(button_);
    button_->setMenu(menu_);
    row->addWidget(edit_, 1);
    row->addWidget(button_);
    rebuild_menu({});
}

void NamePicker::set_groups(std::vector<Group> groups) {
    // Read with the names known so far, so typed ids and names keep their meaning.
    const QStringList ids = current_ids();
    for (const Group& group : groups)
        remember(known_, group.entries);
    rebuild_menu(groups);
    show_qids(ids);
}

std::vector<std::string> NamePicker::ids() const {
    std::vector<std::string> out;
    for (const QString& id : current_ids())
        out.push_back(ui::from_qstring(id));
    return out;
}

void NamePicker::show_ids(const std::vector<std::string>& ids_gbk) {
    QStringList ids;
    for (const std::string& id : ids_gbk)
        ids << ui::to_qstring(id);
    show_qids(ids);
}

void NamePicker::choose(const NamedId& entry) {
    remember(known_, {entry});
    QStringList ids = mode_ == Mode::many ? current_ids() : QStringList();
    if (!ids.contains(entry.id))
        ids << entry.id;
    show_qids(ids);
}

QStringList NamePicker::current_ids() const {
    const QString text = edit_->text();
    if (mode_ == Mode::many)
        return typed_ids(text, known_);
    const QString id = typed_id(text, known_);
    return id.isEmpty() ? QStringList() : QStringList{id};
}

void NamePicker::show_qids(const QStringList& ids) {
    edit_->setText(shown_ids(ids, known_));
    edit_->setToolTip(ids.isEmpty() ? QString()
                                    : QStringLiteral("ID：") + ids.join(QStringLiteral("、")));
}

void NamePicker::rebuild_menu(const std::vector<Group>& groups) {
    menu_->clear();
    bool any = false;
    for (const Group& group : groups) {
        if (group.entries.empty())
            continue;
        any = true;
        QMenu* target = menu_;
        if (!group.title.isEmpty())
            target = menu_->addMenu(group.title);
        for (const NamedId& entry : group.entries) {
            QAction* action = target->addAction(entry.name);
            action->setToolTip(QStringLiteral("ID：") + entry.id);
            connect(action, &QAction::triggered, this, [this, entry] { choose(entry); });
        }
    }
    if (!any)
        menu_->addAction(missing_)->setEnabled(false);
}

}  // namespace app
