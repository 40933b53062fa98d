#include "app/channel_checks.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/channels_dialog.h"

namespace app {

namespace {

// Channels per row: names are short, and the form must stay narrow.
constexpr int kColumns = 3;
const char* const kNameProperty = "channel";

bool contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

std::string name_of(const QCheckBox* box) {
    return box->property(kNameProperty).toString().toStdString();
}

}  // namespace

ChannelChecks::ChannelChecks(QWidget* parent) : QWidget(parent) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    grid_ = new QGridLayout();
    grid_->setContentsMargins(0, 0, 0, 0);
    grid_->setHorizontalSpacing(12);
    grid_->setVerticalSpacing(2);
    hint_ = new QLabel(QStringLiteral("还没有通知通道：点“通知通道…”添加群机器人或邮箱"), this);
    hint_->setObjectName(QStringLiteral("标签通知通道提示"));
    hint_->setTextFormat(Qt::PlainText);
    hint_->setWordWrap(true);
    hint_->setStyleSheet(QStringLiteral("color: #808080"));
    auto* manage = new QPushButton(QStringLiteral("通知通道…"), this);
    manage->setObjectName(QStringLiteral("按钮通知通道"));
    manage->setToolTip(QStringLiteral("添加、修改、删除和测试通知通道"));
    connect(manage, &QPushButton::clicked, this, [this] { open_channels_dialog(window()); });
    // Channels saved anywhere (here or from 设置) are offered at once.
    connect(&channel_events(), &ChannelEvents::saved, this, [this](const QStringList& names) {
        std::vector<std::string> utf8;
        for (const QString& name : names)
            utf8.push_back(name.toStdString());
        set_defined(std::move(utf8));
    });
    auto* foot = new QHBoxLayout();
    foot->addWidget(hint_, 1);
    foot->addWidget(manage, 0, Qt::AlignRight | Qt::AlignTop);
    column->addLayout(grid_);
    column->addLayout(foot);
    rebuild({});
}

void ChannelChecks::set_defined(std::vector<std::string> utf8_names) {
    const std::vector<std::string> ticked = chosen();
    defined_.clear();
    for (std::string& name : utf8_names) {
        if (!name.empty() && !contains(defined_, name))
            defined_.push_back(std::move(name));
    }
    rebuild(ticked);
}

void ChannelChecks::show_chosen(const std::vector<std::string>& utf8_names) {
    rebuild(utf8_names);
}

std::vector<std::string> ChannelChecks::chosen() const {
    std::vector<std::string> out;
    for (const QCheckBox* b : boxes_) {
        if (b->isChecked())
            out.push_back(name_of(b));
    }
    return out;
}

QCheckBox* ChannelChecks::box(const std::string& utf8_name) const {
    const auto it = std::find_if(boxes_.begin(), boxes_.end(),
                                 [&](const QCheckBox* b) { return name_of(b) == utf8_name; });
    return it == boxes_.end() ? nullptr : *it;
}

void ChannelChecks::rebuild(const std::vector<std::string>& chosen) {
    for (QCheckBox* b : boxes_)
        delete b;
    boxes_.clear();
    auto add = [this](const std::string& name, bool defined, bool ticked) {
        QString caption = QString::fromStdString(name);
        if (!defined)
            caption += QStringLiteral("（未定义）");
        auto* b = new QCheckBox(caption, this);
        b->setObjectName(QStringLiteral("复选框通道") + QString::fromStdString(name));
        b->setProperty(kNameProperty, QString::fromStdString(name));
        b->setChecked(ticked);
        if (!defined)
            b->setToolTip(QStringLiteral("korvel.ini 中没有这个通知通道；取消勾选后保存即移除"));
        const int at = static_cast<int>(boxes_.size());
        grid_->addWidget(b, at / kColumns, at % kColumns);
        boxes_.push_back(b);
    };
    for (const std::string& name : defined_)
        add(name, true, contains(chosen, name));
    for (const std::string& name : chosen) {
        if (!name.empty() && !contains(defined_, name) && !box(name))
            add(name, false, true);
    }
    hint_->setVisible(defined_.empty());
}

}  // namespace app
