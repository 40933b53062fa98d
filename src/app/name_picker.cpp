#include "app/name_picker.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <QToolButton>

#include "ui/widget_text.h"

namespace app {

namespace {

QString child_key(int level, const QString& parent_id) {
    return QString::number(level) + QLatin1Char('/') + parent_id;
}

void add_note(QMenu* menu, const QString& text) {
    menu->addAction(text)->setEnabled(false);
}

}  // namespace

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
    // A menu with nothing to offer fetches its list as it opens.
    connect(menu_, &QMenu::aboutToShow, this, [this] {
        if (groups_.empty() && top_loader_)
            load_top();
    });
    rebuild_menu();
}

void NamePicker::set_loaders(TopLoader top, ChildLoader children, int levels) {
    top_loader_ = std::move(top);
    child_loader_ = std::move(children);
    levels_ = std::max(1, levels);
    rebuild_menu();
}

void NamePicker::set_groups(std::vector<Group> groups) {
    // Read with the names known so far, so typed ids and names keep their meaning.
    const QStringList ids = qids();
    std::erase_if(groups, [](const Group& g) { return g.entries.empty(); });
    for (const Group& group : groups)
        remember(known_, group.entries);
    groups_ = std::move(groups);
    rebuild_menu();
    show_qids(ids);
}

void NamePicker::set_children(int level, const QString& parent_id, std::vector<NamedId> entries) {
    if (entries.empty())
        return;
    remember(known_, entries);
    children_[child_key(level, parent_id)] = std::move(entries);
}

void NamePicker::remember_names(const std::vector<NamedId>& entries) {
    const QStringList ids = qids();
    remember(known_, entries);
    show_qids(ids);
}

std::vector<std::string> NamePicker::ids() const {
    std::vector<std::string> out;
    for (const QString& id : qids())
        out.push_back(ui::from_qstring(id));
    return out;
}

void NamePicker::show_ids(const std::vector<std::string>& ids_gbk) {
    QStringList ids;
    for (const std::string& id : ids_gbk)
        ids << ui::to_qstring(id);
    show_qids(ids);
}

QString NamePicker::name_of(const QString& id) const {
    for (const NamedId& entry : known_) {
        if (entry.id == id)
            return entry.name;
    }
    return {};
}

void NamePicker::choose(const NamedId& entry) {
    remember(known_, {entry});
    QStringList ids = mode_ == Mode::many ? qids() : QStringList();
    if (!ids.contains(entry.id))
        ids << entry.id;
    show_qids(ids);
}

QStringList NamePicker::qids() const {
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

void NamePicker::rebuild_menu() {
    menu_->clear();
    if (groups_.empty()) {
        add_note(menu_, loading_top_ ? QStringLiteral("正在加载…") : missing_);
        return;
    }
    for (const Group& group : groups_) {
        QMenu* target = group.title.isEmpty() ? menu_ : menu_->addMenu(group.title);
        for (const NamedId& entry : group.entries)
            add_entry(target, entry, 1);
    }
}

void NamePicker::add_entry(QMenu* menu, const NamedId& entry, int level) {
    if (level >= levels_) {
        QAction* action = menu->addAction(entry.name);
        action->setToolTip(QStringLiteral("ID：") + entry.id);
        connect(action, &QAction::triggered, this, [this, entry] { choose(entry); });
        return;
    }
    QMenu* sub = menu->addMenu(entry.name);
    connect(sub, &QMenu::aboutToShow, this,
            [this, sub, entry, level] { fill_children(sub, entry, level + 1, true); });
    fill_children(sub, entry, level + 1, false);
}

// The entry itself first, then its children as far as they are known; a
// menu that opens asks for children not known yet.
void NamePicker::fill_children(QMenu* menu, const NamedId& parent, int level, bool opening) {
    menu->clear();
    QAction* self = menu->addAction(QStringLiteral("选择“%1”").arg(parent.name));
    self->setToolTip(QStringLiteral("ID：") + parent.id);
    connect(self, &QAction::triggered, this, [this, parent] { choose(parent); });
    menu->addSeparator();
    const QString key = child_key(level, parent.id);
    if (const auto known = children_.find(key); known != children_.end()) {
        for (const NamedId& child : known->second)
            add_entry(menu, child, level);
    } else if (loading_children_.contains(key)) {
        add_note(menu, QStringLiteral("正在加载…"));
    } else if (opening && child_loader_) {
        load_children(menu, parent, level);
    } else if (!opening && child_loader_ && loaded_once_.contains(key)) {
        add_note(menu, QStringLiteral("（没有下级类目）"));
    }
}

void NamePicker::load_top() {
    if (loading_top_)
        return;
    loading_top_ = true;
    rebuild_menu();
    // After the menu has opened: the load waits, dispatching events.
    QTimer::singleShot(0, this, [this] {
        const QPointer<NamePicker> self(this);
        std::vector<NamedId> entries = top_loader_();
        if (!self)
            return;
        loading_top_ = false;
        if (entries.empty())
            rebuild_menu();
        else
            set_groups({{QString(), std::move(entries)}});
    });
}

void NamePicker::load_children(QMenu* menu, const NamedId& parent, int level) {
    const QString key = child_key(level, parent.id);
    loading_children_.insert(key);
    add_note(menu, QStringLiteral("正在加载…"));
    const QPointer<QMenu> shown(menu);
    // After the menu has opened: the load waits, dispatching events.
    QTimer::singleShot(0, this, [this, shown, parent, level, key] {
        const QPointer<NamePicker> self(this);
        std::vector<NamedId> entries = child_loader_(level, parent.id);
        if (!self)
            return;
        loading_children_.erase(key);
        loaded_once_.insert(key);
        set_children(level, parent.id, std::move(entries));
        // Nothing below it (or no answer): said now, asked again at the next opening.
        if (shown)
            fill_children(shown, parent, level, false);
    });
}

}  // namespace app
