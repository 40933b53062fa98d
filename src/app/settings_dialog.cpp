#include "app/settings_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <fstream>
#include <iterator>

#include "app/settings.h"
#include "app/settings_values.h"
#include "net/atomic_file.h"

namespace app {

namespace {

QString from_path(const std::filesystem::path& path) {
    return QString::fromStdU16String(path.u16string());
}

QString from_utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string read_text(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

QString file_line(const std::filesystem::path& in_use, const std::filesystem::path& target) {
    QString line = QStringLiteral("设置文件：") +
                   (in_use.empty() ? QStringLiteral("无（使用内置默认值）") : from_path(in_use));
    if (target != in_use)
        line += QStringLiteral("\n保存到：") + from_path(target);
    return line;
}

}  // namespace

SettingsDialog::SettingsDialog(std::filesystem::path in_use, std::filesystem::path target,
                               QWidget* parent)
    : QDialog(parent),
      in_use_(std::move(in_use)),
      target_(std::move(target)),
      file_text_(in_use_.empty() ? std::string() : read_text(in_use_)),
      initial_(setting_values(file_text_)) {
    setWindowTitle(QStringLiteral("设置"));
    build();
}

void SettingsDialog::build() {
    auto* layout = new QVBoxLayout(this);
    auto* file = new QLabel(file_line(in_use_, target_), this);
    file->setObjectName(QStringLiteral("settings_file"));
    file->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(file);
    QFormLayout* form = nullptr;
    std::string_view section;
    const auto fields = setting_fields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].section != section) {
            section = fields[i].section;
            auto* group = new QGroupBox(
                section == "hosts" ? QStringLiteral("主机") : QStringLiteral("看板检查节奏"), this);
            form = new QFormLayout(group);
            layout->addWidget(group);
        }
        auto* edit = new QLineEdit(from_utf8(initial_[i]), this);
        edit->setObjectName(from_utf8(fields[i].key));
        form->addRow(from_utf8(fields[i].label), edit);
        edits_.push_back(edit);
    }
    reason_ = new QLabel(this);
    reason_->setObjectName(QStringLiteral("reason"));
    reason_->setStyleSheet(QStringLiteral("color: #b00000"));
    reason_->setWordWrap(true);
    layout->addWidget(reason_);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("保存"), QDialogButtonBox::AcceptRole)
        ->setObjectName(QStringLiteral("save"));
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (save())
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

std::vector<std::string> SettingsDialog::typed_values() const {
    std::vector<std::string> values;
    for (const QLineEdit* edit : edits_)
        values.push_back(edit->text().toStdString());
    return values;
}

void SettingsDialog::refuse(const QString& reason, QWidget* field) {
    reason_->setText(reason);
    if (field != nullptr)
        field->setFocus();
}

bool SettingsDialog::save() {
    const std::vector<std::string> values = typed_values();
    const auto fields = setting_fields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string problem = setting_problem(fields[i], values[i]);
        if (!problem.empty()) {
            refuse(from_utf8(fields[i].label) + QStringLiteral("：") + from_utf8(problem),
                   edits_[i]);
            return false;
        }
    }
    if (target_.empty()) {
        refuse(QStringLiteral("没有可写的设置文件位置（未设置HOME）"));
        return false;
    }
    const std::string text = with_setting_values(file_text_, initial_, values);
    if (const std::string problem = net::write_file_atomically(target_, text); !problem.empty()) {
        refuse(QStringLiteral("保存失败：") + from_utf8(problem));
        return false;
    }
    // A second save starts from what is on the disk now.
    file_text_ = text;
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
