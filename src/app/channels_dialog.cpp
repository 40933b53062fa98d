#include "app/channels_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/channel_editor.h"
#include "app/settings.h"
#include "app/settings_save.h"
#include "app/settings_values.h"

namespace app {

namespace {

QString from_utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString from_path(const std::filesystem::path& path) {
    return QString::fromStdU16String(path.u16string());
}

// "运营群 · 企业微信群机器人（文本） · qyapi.weixin.qq.com", or what is wrong.
QString row_text(const ChannelDraft& draft, const std::vector<std::string>& problems) {
    const auto kind = notify::kind_from_word(draft.kind);
    QString text = from_utf8(draft.name) + QStringLiteral(" · ") +
                   (kind ? from_utf8(kind_label(*kind)) : QStringLiteral("类型不明"));
    if (const std::string where = channel_destination(draft); !where.empty())
        text += QStringLiteral(" · ") + from_utf8(where);
    if (!problems.empty())
        text += QStringLiteral("（有误，未启用）");
    return text;
}

bool ask(QWidget* parent, const QString& question) {
    return QMessageBox::question(parent, QStringLiteral("通知通道"), question) == QMessageBox::Yes;
}

}  // namespace

ChannelEvents& channel_events() {
    static ChannelEvents events;
    return events;
}

ChannelsDialog::ChannelsDialog(std::filesystem::path in_use, std::filesystem::path target,
                               QWidget* parent)
    : QDialog(parent), in_use_(std::move(in_use)), target_(std::move(target)) {
    setWindowTitle(QStringLiteral("通知通道"));
    confirm = [this](const QString& question) { return ask(this, question); };
    build();
    reload();
}

void ChannelsDialog::build() {
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(QStringLiteral("看板的排名变动和每日报告发往这里的通道；"
                                            "在看板的“通知”里勾选要用的通道。"),
                             this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    auto* row = new QHBoxLayout();
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("channels"));
    row->addWidget(list_, 1);
    auto* buttons = new QVBoxLayout();
    auto* add = new QPushButton(QStringLiteral("添加…"), this);
    add->setObjectName(QStringLiteral("add"));
    edit_ = new QPushButton(QStringLiteral("修改…"), this);
    edit_->setObjectName(QStringLiteral("edit"));
    delete_ = new QPushButton(QStringLiteral("删除"), this);
    delete_->setObjectName(QStringLiteral("delete"));
    buttons->addWidget(add);
    buttons->addWidget(edit_);
    buttons->addWidget(delete_);
    buttons->addStretch(1);
    row->addLayout(buttons);
    layout->addLayout(row, 1);
    connect(add, &QPushButton::clicked, this, [this] { add_channel(); });
    connect(edit_, &QPushButton::clicked, this, [this] { edit_channel(list_->currentRow()); });
    connect(delete_, &QPushButton::clicked, this, [this] { delete_channel(list_->currentRow()); });
    connect(list_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { edit_channel(list_->row(item)); });
    connect(list_, &QListWidget::currentRowChanged, this, [this](int current) {
        edit_->setEnabled(current >= 0);
        delete_->setEnabled(current >= 0);
        // What keeps the chosen channel from working, in full under the list.
        if (current >= 0 && !list_->item(current)->toolTip().isEmpty())
            status_->setText(from_utf8(drafts_[static_cast<std::size_t>(current)].name) +
                             QStringLiteral("：") + list_->item(current)->toolTip());
    });
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("status"));
    status_->setWordWrap(true);
    status_->setTextFormat(Qt::PlainText);
    layout->addWidget(status_);
    file_ = new QLabel(this);
    file_->setObjectName(QStringLiteral("settings_file"));
    file_->setWordWrap(true);
    file_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    file_->setStyleSheet(QStringLiteral("color: #666666"));
    layout->addWidget(file_);
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
    close->button(QDialogButtonBox::Close)->setText(QStringLiteral("关闭"));
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(close);
    resize(600, 420);
}

void ChannelsDialog::reload() {
    const std::optional<std::string> text = settings_text_to_edit(in_use_, target_);
    drafts_ = channel_drafts(text.value_or(std::string()));
    const int current = list_->currentRow();
    list_->clear();
    for (const ChannelDraft& draft : drafts_) {
        const std::vector<std::string> problems = draft_problems(draft, names_except(draft.name));
        auto* item = new QListWidgetItem(row_text(draft, problems), list_);
        QStringList tip;
        for (const std::string& problem : problems)
            tip << from_utf8(problem);
        item->setToolTip(tip.join(QLatin1Char('\n')));
        if (!problems.empty())
            item->setForeground(QColor(0xb0, 0x00, 0x00));
    }
    list_->setCurrentRow(std::min(current, list_->count() - 1));
    edit_->setEnabled(list_->currentRow() >= 0);
    delete_->setEnabled(list_->currentRow() >= 0);
    if (!text)
        status_->setText(QStringLiteral("设置文件无法读取。"));
    else if (drafts_.empty())
        status_->setText(QStringLiteral("还没有通知通道：点“添加…”。"));
    file_->setText(QStringLiteral("保存在：") + from_path(target_.empty() ? in_use_ : target_));
}

std::vector<std::string> ChannelsDialog::names_except(const std::string& name) const {
    std::vector<std::string> names;
    for (const ChannelDraft& draft : drafts_) {
        if (draft.name != name)
            names.push_back(draft.name);
    }
    return names;
}

QString ChannelsDialog::save_with(const std::function<std::string(const std::string&)>& edit) {
    const std::optional<std::string> text = settings_text_to_edit(in_use_, target_);
    if (!text)
        return QStringLiteral("设置文件无法读取，未保存。");
    if (const std::string problem = save_settings_text(target_, edit(*text)); !problem.empty())
        return from_utf8(problem);
    in_use_ = target_;
    reload();
    QStringList usable;
    for (const ChannelDraft& draft : drafts_) {
        if (draft_problems(draft, names_except(draft.name)).empty())
            usable << from_utf8(draft.name);
    }
    emit channel_events().saved(usable);
    return {};
}

ChannelEditor* ChannelsDialog::add_channel() {
    return edit_channel(-1);
}

ChannelEditor* ChannelsDialog::edit_channel(int row) {
    std::optional<ChannelDraft> draft;
    if (row >= 0) {
        if (static_cast<std::size_t>(row) >= drafts_.size())
            return nullptr;
        draft = drafts_[static_cast<std::size_t>(row)];
    }
    auto* editor =
        new ChannelEditor(draft, names_except(draft ? draft->name : std::string()), this);
    editor->setAttribute(Qt::WA_DeleteOnClose);
    editor->on_save = [this](const std::optional<ChannelDraft>& before, const ChannelDraft& after) {
        const QString problem =
            save_with([&](const std::string& text) { return with_channel(text, before, after); });
        if (problem.isEmpty())
            status_->setText(QStringLiteral("已保存通知通道 ") + from_utf8(after.name) +
                             QStringLiteral("。"));
        return problem;
    };
    editor->open();
    return editor;
}

bool ChannelsDialog::delete_channel(int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= drafts_.size())
        return false;
    const std::string name = drafts_[static_cast<std::size_t>(row)].name;
    if (confirm && !confirm(QStringLiteral("删除通知通道“%1”？\n选了它的看板将不再发往这里。")
                                .arg(from_utf8(name))))
        return false;
    const QString problem =
        save_with([&](const std::string& text) { return without_channel(text, name); });
    status_->setText(problem.isEmpty() ? QStringLiteral("已删除通知通道 ") + from_utf8(name) +
                                             QStringLiteral("。")
                                       : problem);
    return problem.isEmpty();
}

ChannelsDialog* open_channels_dialog(QWidget* parent) {
    const std::filesystem::path in_use = settings_path();
    auto* dialog = new ChannelsDialog(in_use, settings_target(settings_places(), in_use), parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
    return dialog;
}

}  // namespace app
