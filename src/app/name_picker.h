#pragma once
// A box for categories or a 爱逛街 tab: chosen by name from a menu, or typed
// (a name or a numeric id). It keeps ids and shows names; an id no list
// names shows as the id. The menu loads its lists itself when it opens and
// has none; with more than one level, each entry opens a menu of its
// children, loaded when that menu opens (categories: level 1 > 2 > 3).
#include <QString>
#include <QWidget>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/named_ids.h"

class QLineEdit;
class QMenu;
class QToolButton;

namespace app {

class NamePicker final : public QWidget {
    Q_OBJECT

  public:
    enum class Mode { one, many };
    // One menu section: a title (none for a single list) and its entries.
    struct Group {
        QString title;
        std::vector<NamedId> entries;
    };
    // The first level's entries; the children (level 2, 3, …) of an entry.
    using TopLoader = std::function<std::vector<NamedId>()>;
    using ChildLoader = std::function<std::vector<NamedId>(int level, const QString& parent_id)>;

    // `missing` is what the menu says when no list could be loaded.
    NamePicker(Mode mode, const QString& placeholder, const QString& missing,
               QWidget* parent = nullptr);

    // Where the lists come from; `levels` > 1 gives each entry a menu of its
    // children, down to that level. A load waits through the event pump.
    void set_loaders(TopLoader top, ChildLoader children = {}, int levels = 1);

    // The lists to choose from. Names seen before are still known, so an id
    // chosen from a list that has since been replaced keeps its name.
    void set_groups(std::vector<Group> groups);
    // Children known beforehand (a list the category page has loaded).
    void set_children(int level, const QString& parent_id, std::vector<NamedId> entries);
    // Names to show ids by (a saved board's), without offering them in the menu.
    void remember_names(const std::vector<NamedId>& entries);

    // GBK ids, as typed or chosen.
    std::vector<std::string> ids() const;
    // The same as typed or chosen (UTF-8 in QString).
    QStringList qids() const;
    void show_ids(const std::vector<std::string>& ids_gbk);
    // The name an id was chosen or is known by; empty when none.
    QString name_of(const QString& id) const;

    // What a click on a menu entry does.
    void choose(const NamedId& entry);

    QLineEdit* edit() const { return edit_; }
    QToolButton* button() const { return button_; }
    QMenu* menu() const { return menu_; }

  private:
    void show_qids(const QStringList& ids);
    void rebuild_menu();
    void add_entry(QMenu* menu, const NamedId& entry, int level);
    void fill_children(QMenu* menu, const NamedId& parent, int level, bool opening);
    void load_top();
    void load_children(QMenu* menu, const NamedId& parent, int level);

    Mode mode_;
    QString missing_;
    std::vector<NamedId> known_;
    std::vector<Group> groups_;
    TopLoader top_loader_;
    ChildLoader child_loader_;
    int levels_ = 1;
    bool loading_top_ = false;
    std::map<QString, std::vector<NamedId>> children_;  // by "level/parent id"
    std::set<QString> loading_children_;
    std::set<QString> loaded_once_;  // asked at least once, whatever came back
    QLineEdit* edit_ = nullptr;
    QToolButton* button_ = nullptr;
    QMenu* menu_ = nullptr;
};

}  // namespace app
