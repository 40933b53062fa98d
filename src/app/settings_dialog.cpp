#include "app/settings_dialog.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>
#include <array>

#include "app/channels_dialog.h"
#include "app/dialog_buttons.h"
#include "app/settings.h"
#include "app/settings_save.h"
#include "app/settings_values.h"

namespace app {

namespace {

QString from_path(const std::filesystem::path& path) {
    return QString::fromStdU16String(path.u16string());
}

QString from_utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString file_line(const std::filesystem::path& in_use, const std::filesystem::path& target) {
    QString line = QStringLiteral("设置文件：") +
                   (in_use.empty() ? QStringLiteral("无（使用内置默认值）") : from_path(in_use));
    if (target != in_use)
        line += QStringLiteral("\n保存到：") + from_path(target);
    return line;
}

QLabel* help_label(const QString& text, QWidget* parent) {
    auto* help = new QLabel(text, parent);
    help->setWordWrap(true);
    help->setTextFormat(Qt::PlainText);
    help->setStyleSheet(QStringLiteral("color: #666666"));
    return help;
}

const char* const kBadField = "QLineEdit { border: 1px solid #c00000; }";

}  // namespace

SettingsDialog::SettingsDialog(std::filesystem::path in_use, std::filesystem::path target,
                               QWidget* parent)
    : QDialog(parent), in_use_(std::move(in_use)), target_(std::move(target)) {
    setWindowTitle(QStringLiteral("设置"));
    // What the programs read now; an unreadable file shows the defaults.
    initial_ = setting_values(settings_text_to_edit(in_use_, in_use_).value_or(std::string()));
    build();
}

void SettingsDialog::build() {
    auto* layout = new QVBoxLayout(this);
    auto* file = new QLabel(file_line(in_use_, target_), this);
    file->setObjectName(QStringLiteral("settings_file"));
    file->setTextInteractionFlags(Qt::TextSelectableByMouse);
    file->setWordWrap(true);
    layout->addWidget(file);
    edits_.assign(setting_fields().size(), nullptr);
    tabs_ = new QTabWidget(this);
    tabs_->addTab(build_common_tab(), QStringLiteral("常用"));
    tabs_->addTab(build_advanced_tab(), QStringLiteral("高级"));
    layout->addWidget(tabs_, 1);
    reason_ = new QLabel(this);
    reason_->setObjectName(QStringLiteral("reason"));
    reason_->setStyleSheet(QStringLiteral("color: #b00000"));
    reason_->setWordWrap(true);
    reason_->setTextFormat(Qt::PlainText);
    layout->addWidget(reason_);
    layout->addWidget(save_cancel_buttons(this, [this] { return save(); }));
    resize(560, 640);
}

QWidget* SettingsDialog::field_row(std::size_t i) {
    const SettingField& field = setting_fields()[i];
    auto* cell = new QWidget(this);
    auto* column = new QVBoxLayout(cell);
    column->setContentsMargins(0, 0, 0, 4);
    column->setSpacing(1);
    auto* edit = new QLineEdit(from_utf8(initial_[i]), cell);
    edit->setObjectName(from_utf8(field.key));
    const QString help = from_utf8(setting_help(field));
    edit->setToolTip(help);
    connect(edit, &QLineEdit::textEdited, this, [this, i] { mark(i, false); });
    column->addWidget(edit);
    column->addWidget(help_label(help, cell));
    edits_[i] = edit;
    return cell;
}

QWidget* SettingsDialog::build_common_tab() {
    auto* page = new QWidget(this);
    auto* column = new QVBoxLayout(page);
    auto* pace = new QGroupBox(QStringLiteral("检查速度"), page);
    auto* form = new QFormLayout(pace);
    for (std::size_t i = 0; i < setting_fields().size(); ++i) {
        if (setting_fields()[i].common)
            form->addRow(from_utf8(setting_fields()[i].label), field_row(i));
    }
    column->addWidget(pace);
    auto* notices = new QGroupBox(QStringLiteral("通知"), page);
    auto* notice_column = new QVBoxLayout(notices);
    notice_column->addWidget(
        help_label(QStringLiteral("看板的排名变动和每日报告可以发到企业微信、钉钉、飞书群机器人，"
                                  "自己的接收程序或邮箱。"),
                   notices));
    auto* channels = new QPushButton(QStringLiteral("通知通道…"), notices);
    channels->setObjectName(QStringLiteral("按钮通知通道"));
    channels->setToolTip(QStringLiteral("添加、修改、删除和测试通知通道"));
    connect(channels, &QPushButton::clicked, this, [this] { open_channels_dialog(this); });
    notice_column->addWidget(channels, 0, Qt::AlignLeft);
    column->addWidget(notices);
    column->addStretch(1);
    return page;
}

QWidget* SettingsDialog::build_advanced_tab() {
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* page = new QWidget(scroll);
    auto* column = new QVBoxLayout(page);
    column->addWidget(
        help_label(QStringLiteral("一般不需要修改。主机指向要查询的市场；"
                                  "限速时的节奏决定检查遇到限速时怎样放慢、暂停和放弃；"
                                  "历史记录位置决定检查结果存在哪里。"),
                   page));
    QFormLayout* form = nullptr;
    std::string_view section;
    for (std::size_t i = 0; i < setting_fields().size(); ++i) {
        const SettingField& field = setting_fields()[i];
        if (field.common)
            continue;
        if (field.section != section) {
            section = field.section;
            auto* group = new QGroupBox(section == "hosts"     ? QStringLiteral("主机")
                                        : section == "history" ? QStringLiteral("历史记录")
                                                               : QStringLiteral("限速时的节奏"),
                                        page);
            form = new QFormLayout(group);
            column->addWidget(group);
        }
        form->addRow(from_utf8(field.label), field_row(i));
    }
    column->addStretch(1);
    scroll->setWidget(page);
    return scroll;
}

std::vector<std::string> SettingsDialog::typed_values() const {
    std::vector<std::string> values;
    for (const QLineEdit* edit : edits_)
        values.push_back(edit->text().toStdString());
    return values;
}

void SettingsDialog::refuse(const QString& reason) {
    reason_->setText(reason);
}

void SettingsDialog::mark(std::size_t field, bool bad) {
    edits_[field]->setStyleSheet(bad ? QString::fromLatin1(kBadField) : QString());
}

bool SettingsDialog::save() {
    const std::vector<std::string> values = typed_values();
    const std::vector<SettingProblem> problems = setting_problems(values);
    for (std::size_t i = 0; i < edits_.size(); ++i)
        mark(i, false);
    // A tab holding a refused value says so, so it is found from the other.
    std::array<int, 2> refused{};
    for (const SettingProblem& problem : problems)
        ++refused[setting_fields()[problem.field].common ? 0 : 1];
    for (int tab = 0; tab < 2; ++tab) {
        const QString name = tab == 0 ? QStringLiteral("常用") : QStringLiteral("高级");
        tabs_->setTabText(
            tab,
            refused[static_cast<std::size_t>(tab)] == 0
                ? name
                : name +
                      QStringLiteral("（%1 项有误）").arg(refused[static_cast<std::size_t>(tab)]));
    }
    if (!problems.empty()) {
        QStringList lines;
        for (const SettingProblem& problem : problems) {
            lines << from_utf8(problem.text);
            mark(problem.field, true);
        }
        refuse(QStringLiteral("以下设置不能保存：\n") + lines.join(QLatin1Char('\n')));
        QLineEdit* first = edits_[problems.front().field];
        tabs_->setCurrentIndex(setting_fields()[problems.front().field].common ? 0 : 1);
        first->setFocus();
        return false;
    }
    const std::optional<std::string> file_text = settings_text_to_edit(in_use_, target_);
    if (!file_text) {
        refuse(QStringLiteral("设置文件无法读取，未保存。"));
        return false;
    }
    const std::string text = with_setting_values(*file_text, initial_, values);
    if (const std::string problem = save_settings_text(target_, text); !problem.empty()) {
        refuse(from_utf8(problem));
        return false;
    }
    initial_ = values;
    in_use_ = target_;
    reason_->clear();
    if (on_saved)
        on_saved();
    return true;
}

void open_settings_dialog(QWidget* parent) {
    const std::filesystem::path in_use = settings_path();
    auto* dialog = new SettingsDialog(in_use, settings_target(settings_places(), in_use), parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

}  // namespace app
