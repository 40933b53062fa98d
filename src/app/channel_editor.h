#pragma once
// One notice channel in a form: its name, its kind, where the kind's address
// and secret come from, and the kind's fields; secrets masked unless 显示密钥
// is ticked. 发送测试消息 sends the channel as typed (saved or not) a test
// message off the GUI thread and shows what the server answered; a hung
// server never freezes the window. 保存 lists every problem at once, or
// hands the channel to whoever saves it.
#include <QDialog>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/channel_drafts.h"

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace app {

struct AnswerRelay;

class ChannelEditor final : public QDialog {
  public:
    // `draft` empty: a new channel. `others` are the names of the other channels.
    ChannelEditor(std::optional<ChannelDraft> draft, std::vector<std::string> others,
                  QWidget* parent = nullptr);
    ~ChannelEditor() override;
    ChannelEditor(const ChannelEditor&) = delete;
    ChannelEditor& operator=(const ChannelEditor&) = delete;

    // The channel as typed.
    ChannelDraft draft() const;
    // Checks, then saves through `on_save`; false (reasons shown) when not saved.
    bool save();
    // Starts a test message; false (reasons shown) when the channel cannot be used.
    bool send_test();

    // Saves the channel (`before` as it was opened, empty for a new one);
    // returns empty, else why not.
    std::function<QString(const std::optional<ChannelDraft>& before, const ChannelDraft& after)>
        on_save;

    QLineEdit* name_edit() const { return name_; }
    QComboBox* kind_box() const { return kind_; }
    QLineEdit* field(const std::string& key) const;
    QCheckBox* show_secrets() const { return show_secrets_; }
    QPushButton* test_button() const { return test_; }
    QLabel* answer() const { return answer_; }
    QLabel* problems() const { return problems_; }

  private:
    void build();
    void show_kind();
    void keep_typed();
    void set_masked(bool masked);
    void show_answer(const QString& text, bool delivered);

    std::optional<ChannelDraft> before_;
    std::vector<std::string> others_;
    // What was typed for each key, kept while the kind changes.
    std::map<std::string, std::string> typed_;
    std::map<std::string, QLineEdit*> fields_;
    QLineEdit* name_ = nullptr;
    QComboBox* kind_ = nullptr;
    QLabel* guide_ = nullptr;
    QFormLayout* form_ = nullptr;
    QCheckBox* show_secrets_ = nullptr;
    QPushButton* test_ = nullptr;
    QLabel* answer_ = nullptr;
    QLabel* problems_ = nullptr;
    std::shared_ptr<AnswerRelay> relay_;
};

}  // namespace app
