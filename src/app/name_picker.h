#pragma once
// A box for categories or a 爱逛街 tab: chosen by name from a menu of the
// lists the main window loaded, or typed (a name or a numeric id). It keeps
// ids and shows names; an id no list names shows as the id.
#include <QString>
#include <QWidget>
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

    // `missing` is what the menu says while no list is loaded.
    NamePicker(Mode mode, const QString& placeholder, const QString& missing,
               QWidget* parent = nullptr);

    // The lists to choose from. Names seen before are still known, so an id
    // chosen from a list the main window has since replaced keeps its name.
    void set_groups(std::vector<Group> groups);

    // GBK ids, as typed or chosen.
    std::vector<std::string> ids() const;
    void show_ids(const std::vector<std::string>& ids_gbk);

    // What a click on a menu entry does.
    void choose(const NamedId& entry);

    QLineEdit* edit() const { return edit_; }
    QToolButton* button() const { return button_; }
    QMenu* menu() const { return menu_; }

  private:
    QStringList current_ids() const;
    void show_qids(const QStringList& ids);
    void rebuild_menu(const std::vector<Group>& groups);

    Mode mode_;
    QString missing_;
    std::vector<NamedId> known_;
    QLineEdit* edit_ = nullptr;
    QToolButton* button_ = nullptr;
    QMenu* menu_ = nullptr;
};

}  // namespace app
