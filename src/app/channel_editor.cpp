#include "app/channel_editor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>
#include <mutex>
#include <thread>

#include "app/dialog_buttons.h"
#include "net/ini_section.h"
#include "notify/delivery.h"

namespace app {

namespace {

QString from_utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string trimmed(const QString& text) {
    return std::string(net::trim_blanks(text.toStdString()));
}

QLabel* wrapped_label(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

// Hands a test's answer from its thread to the editor while the editor lives;
// the editor may close long before a hung server gives up.
struct AnswerRelay {
    std::mutex mutex;
    ChannelEditor* editor = nullptr;
};

ChannelEditor::ChannelEditor(std::optional<ChannelDraft> draft, std::vector<std::string> others,
                             QWidget* parent)
    : QDialog(parent),
      before_(std::move(draft)),
      others_(std::move(others)),
      relay_(std::make_shared<AnswerRelay>()) {
    relay_->editor = this;
    setWindowTitle(before_ ? QStringLiteral("修改通知通道") : QStringLiteral("添加通知通道"));
    if (before_)
        typed_ = before_->values;
    build();
}

ChannelEditor::~ChannelEditor() {
    std::lock_guard lock(relay_->mutex);
    relay_->editor = nullptr;
}

void ChannelEditor::build() {
    auto* layout = new QVBoxLayout(this);
    auto* head = new QFormLayout();
    name_ = new QLineEdit(before_ ? from_utf8(before_->name) : QString(), this);
    name_->setObjectName(QStringLiteral("name"));
    name_->setPlaceholderText(QStringLiteral("如 运营群、老板邮箱（看板按这个名称选通道）"));
    head->addRow(QStringLiteral("名称"), name_);
    kind_ = new QComboBox(this);
    kind_->setObjectName(QStringLiteral("kind"));
    for (const notify::ChannelKind kind : channel_kinds())
        kind_->addItem(from_utf8(kind_label(kind)), from_utf8(notify::kind_word(kind)));
    const int shown = before_ ? kind_->findData(from_utf8(before_->kind)) : 0;
    kind_->setCurrentIndex(shown);
    head->addRow(QStringLiteral("类型"), kind_);
    layout->addLayout(head);

    guide_ = wrapped_label(this, "guide");
    guide_->setStyleSheet(
        QStringLiteral("background: #f3f6fa; border: 1px solid #d5dde8; padding: 6px;"));
    layout->addWidget(guide_);
    form_ = new QFormLayout();
    layout->addLayout(form_);
    show_secrets_ = new QCheckBox(QStringLiteral("显示密钥"), this);
    show_secrets_->setObjectName(QStringLiteral("show_secrets"));
    show_secrets_->setToolTip(QStringLiteral("机器人地址、密钥和密码默认以圆点显示"));
    connect(show_secrets_, &QCheckBox::toggled, this, [this](bool on) { set_masked(!on); });
    layout->addWidget(show_secrets_);

    auto* test_row = new QHBoxLayout();
    test_ = new QPushButton(QStringLiteral("发送测试消息"), this);
    test_->setObjectName(QStringLiteral("send_test"));
    test_->setToolTip(QStringLiteral("按现在填写的内容发一条测试消息（不必先保存）"));
    connect(test_, &QPushButton::clicked, this, [this] { send_test(); });
    test_row->addWidget(test_, 0, Qt::AlignTop);
    answer_ = wrapped_label(this, "answer");
    test_row->addWidget(answer_, 1);
    layout->addLayout(test_row);

    problems_ = wrapped_label(this, "problems");
    problems_->setStyleSheet(QStringLiteral("color: #b00000"));
    layout->addWidget(problems_);
    layout->addStretch(1);
    layout->addWidget(save_cancel_buttons(this, [this] { return save(); }));
    connect(kind_, &QComboBox::currentIndexChanged, this, [this] {
        keep_typed();
        show_kind();
    });
    show_kind();
    setMinimumWidth(560);
    // A channel the programs leave out says why as it opens.
    if (before_) {
        QStringList lines;
        for (const std::string& problem : draft_problems(*before_, others_))
            lines << from_utf8(problem);
        problems_->setText(lines.join(QLatin1Char('\n')));
    }
}

void ChannelEditor::keep_typed() {
    for (const auto& [key, edit] : fields_)
        typed_[key] = trimmed(edit->text());
}

void ChannelEditor::show_kind() {
    while (form_->rowCount() > 0)
        form_->removeRow(0);
    fields_.clear();
    const auto kind = notify::kind_from_word(kind_->currentData().toString().toStdString());
    guide_->setText(kind ? from_utf8(kind_guide(*kind)) : QString());
    if (!kind)
        return;
    for (const ChannelField& field : channel_fields(*kind)) {
        auto* edit = new QLineEdit(from_utf8(typed_[std::string(field.key)]), this);
        edit->setObjectName(from_utf8(field.key));
        edit->setPlaceholderText(from_utf8(field.placeholder));
        edit->setProperty("secret", field.secret);
        form_->addRow(
            from_utf8(field.label) + (field.required ? QString() : QStringLiteral("（可选）")),
            edit);
        fields_[std::string(field.key)] = edit;
    }
    set_masked(!show_secrets_->isChecked());
}

void ChannelEditor::set_masked(bool masked) {
    for (const auto& [key, edit] : fields_) {
        if (edit->property("secret").toBool())
            edit->setEchoMode(masked ? QLineEdit::Password : QLineEdit::Normal);
    }
}

QLineEdit* ChannelEditor::field(const std::string& key) const {
    const auto found = fields_.find(key);
    return found == fields_.end() ? nullptr : found->second;
}

ChannelDraft ChannelEditor::draft() const {
    ChannelDraft out;
    out.name = trimmed(name_->text());
    out.kind = kind_->currentData().toString().toStdString();
    // Keys of other kinds the section held stay as they were: saving drops them.
    out.values = before_ ? before_->values : std::map<std::string, std::string>{};
    for (const auto& [key, edit] : fields_)
        out.values[key] = trimmed(edit->text());
    return out;
}

bool ChannelEditor::save() {
    const ChannelDraft typed = draft();
    const std::vector<std::string> found = draft_problems(typed, others_);
    QStringList lines;
    for (const std::string& problem : found)
        lines << from_utf8(problem);
    if (lines.isEmpty() && on_save) {
        if (const QString problem = on_save(before_, typed); !problem.isEmpty())
            lines << problem;
    }
    problems_->setText(lines.join(QLatin1Char('\n')));
    if (!lines.isEmpty())
        return false;
    before_ = typed;
    return true;
}

bool ChannelEditor::send_test() {
    ChannelDraft typed = draft();
    // A name taken by another channel does not keep this one from a test.
    const std::vector<std::string> found = draft_problems(typed, {});
    const std::optional<notify::Channel> channel = channel_of(typed);
    if (!found.empty() || !channel) {
        QStringList lines;
        for (const std::string& problem : found)
            lines << from_utf8(problem);
        problems_->setText(QStringLiteral("无法发送测试消息：\n") + lines.join(QLatin1Char('\n')));
        return false;
    }
    problems_->clear();
    test_->setEnabled(false);
    answer_->setStyleSheet(QString());
    answer_->setText(QStringLiteral("正在发送测试消息……"));
    std::thread([relay = relay_, channel = *channel] {
        const notify::DeliveryResult result = notify::send_test(channel);
        // What the server said, its secrets masked once more: a window is read over shoulders.
        std::string text = result.delivered ? "已送达。" : notify::redacted(result.error, channel);
        if (!result.answer.empty())
            text += "\n服务器回答：" + notify::redacted(result.answer, channel);
        std::lock_guard lock(relay->mutex);
        if (relay->editor == nullptr)
            return;
        ChannelEditor* editor = relay->editor;
        QMetaObject::invokeMethod(
            editor,
            [editor, text = from_utf8(text), delivered = result.delivered] {
                editor->show_answer(text, delivered);
            },
            Qt::QueuedConnection);
    }).detach();
    return true;
}

void ChannelEditor::show_answer(const QString& text, bool delivered) {
    test_->setEnabled(true);
    answer_->setStyleSheet(delivered ? QStringLiteral("color: #006000")
                                     : QStringLiteral("color: #b00000"));
    answer_->setText(text);
}

}  // namespace app
