#pragma once
// 通知通道: the notice channels of korvel.ini in a window. It lists every
// [notify.NAME] section (one the programs would leave out says why), adds,
// edits (channel_editor.h) and deletes channels, and saves each change at
// once the way 设置 saves: only the changed lines, comments and other
// sections kept, atomically, readable by the owner alone. Secrets never
// appear in the list.
#include <QDialog>
#include <QObject>
#include <QStringList>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/channel_drafts.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace app {

class ChannelEditor;

// Tells whoever shows channel names (the board form) that the channels
// changed, with the names of those the programs can use.
class ChannelEvents final : public QObject {
    Q_OBJECT

  signals:
    void saved(const QStringList& names);
};

ChannelEvents& channel_events();

class ChannelsDialog final : public QDialog {
  public:
    // `in_use` is the settings file read now (empty: none); `target` the one written.
    ChannelsDialog(std::filesystem::path in_use, std::filesystem::path target,
                   QWidget* parent = nullptr);

    // The editor for a new channel, or for the one in row `row` of the list;
    // opened (window-modal) and returned, or null when there is no such row.
    ChannelEditor* add_channel();
    ChannelEditor* edit_channel(int row);
    // Deletes the channel of row `row` once `confirm` agrees; false when
    // nothing was deleted (the reason shown).
    bool delete_channel(int row);

    // Asks before a deletion; by default a question box.
    std::function<bool(const QString& question)> confirm;

    QListWidget* list() const { return list_; }
    QLabel* status() const { return status_; }
    const std::vector<ChannelDraft>& drafts() const { return drafts_; }

  private:
    void build();
    void reload();
    // Writes the text made from the file as it is now; empty or why not.
    QString save_with(const std::function<std::string(const std::string&)>& edit);
    std::vector<std::string> names_except(const std::string& name) const;

    std::filesystem::path in_use_;
    std::filesystem::path target_;
    std::vector<ChannelDraft> drafts_;
    QListWidget* list_ = nullptr;
    QLabel* file_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* edit_ = nullptr;
    QPushButton* delete_ = nullptr;
};

// Opens the dialog for the settings file in use, window-modal over `parent`,
// without waiting for it to close.
ChannelsDialog* open_channels_dialog(QWidget* parent);

}  // namespace app
