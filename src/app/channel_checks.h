#pragma once
// One checkbox per notice channel korvel.ini defines, ticked for the channels
// a board sends to, and the way to the 通知通道 dialog; channels saved there
// are offered at once. A channel the board names but korvel.ini does not define
// still shows, ticked and marked （未定义）, so saving the board keeps it.
// Names are UTF-8 here; the board keeps them in GBK.
#include <QWidget>
#include <string>
#include <vector>

class QCheckBox;
class QGridLayout;
class QLabel;

namespace app {

class ChannelChecks final : public QWidget {
    Q_OBJECT

  public:
    explicit ChannelChecks(QWidget* parent = nullptr);

    // The channels korvel.ini defines; what is ticked stays ticked.
    void set_defined(std::vector<std::string> utf8_names);
    // Ticks the board's channels, and only them.
    void show_chosen(const std::vector<std::string>& utf8_names);
    // The ticked channels: defined ones in their order, then undefined ones.
    std::vector<std::string> chosen() const;

    // The checkbox of a channel, or null.
    QCheckBox* box(const std::string& utf8_name) const;
    QLabel* hint() const { return hint_; }

  private:
    void rebuild(const std::vector<std::string>& chosen);

    std::vector<std::string> defined_;
    std::vector<QCheckBox*> boxes_;
    QGridLayout* grid_ = nullptr;
    QLabel* hint_ = nullptr;
};

}  // namespace app
