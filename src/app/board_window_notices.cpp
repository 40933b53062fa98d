// The board window's change notices: one heading per run, newest first, a
// keyword filter, and the list as CSV.
#include <QDateTime>
#include <QFile>
#include <QFileDialog>
#include <QFont>
#include <QLineEdit>
#include <QListWidget>

#include "app/board_window.h"
#include "board/goods_captions.h"
#include "board/notice_list.h"
#include "text/codepage.h"

namespace app {

namespace {

// Notices shown when a board opens; older ones stay in the history.
constexpr std::size_t kNoticesShown = 200;

QListWidgetItem* heading_item(const board::NoticeGroup& group, std::size_t shown) {
    auto* item = new QListWidgetItem(QString::fromStdString(board::group_heading(group, shown)));
    QFont bold = item->font();
    bold.setBold(true);
    item->setFont(bold);
    item->setFlags(Qt::ItemIsEnabled);
    item->setBackground(QColor(238, 241, 245));
    return item;
}

using Deliveries = std::map<std::int64_t, std::vector<history::Delivery>>;

// Where each notice went (chat groups, e-mail), by notice id.
Deliveries deliveries_of(const history::Store& store, const std::vector<history::Notice>& notices) {
    Deliveries out;
    std::vector<std::int64_t> ids;
    for (const history::Notice& n : notices)
        ids.push_back(n.id);
    if (auto rows = store.deliveries(ids)) {
        for (history::Delivery& d : rows.value())
            out[d.notice_id].push_back(std::move(d));
    }
    return out;
}

QListWidgetItem* notice_item(const history::Notice& notice,
                             const std::map<std::string, std::string>& names,
                             const Deliveries& deliveries) {
    const auto went = deliveries.find(notice.id);
    const board::NoticeItemText text = board::notice_item_text(
        notice, names, went == deliveries.end() ? std::vector<history::Delivery>{} : went->second);
    auto* item = new QListWidgetItem(QString::fromStdString(text.text));
    item->setToolTip(QString::fromStdString(text.tooltip));
    if (text.undelivered)
        item->setForeground(QColor(160, 30, 0));
    item->setData(
        Qt::UserRole,
        QString::fromStdString(board::cell_key_text({notice.listing, notice.key, notice.sort})));
    return item;
}

}  // namespace

void BoardWindow::load_notices() {
    notices_.clear();
    if (store_ && !board_.name.empty()) {
        if (auto stored = store_->notices(text::gbk_to_utf8(board_.name), {}, kNoticesShown))
            notices_ = std::move(stored).value();
    }
    std::erase_if(notices_, [](const history::Notice& n) { return !board::listed_notice(n); });
    notices_cut_ = notices_.size() >= kNoticesShown;
    run_starts_.clear();
    deliveries_.clear();
    if (store_ && !notices_.empty()) {
        if (auto known = store_->run_starts(text::gbk_to_utf8(board_.name),
                                            notices_.front().time_ms - board::kRunGapMs))
            run_starts_ = std::move(known).value();
        deliveries_ = deliveries_of(*store_, notices_);
    }
    refill_notices();
}

void BoardWindow::add_notices(const std::vector<history::Notice>& notices) {
    if (notices.empty())
        return;
    notices_.insert(notices_.end(), notices.begin(), notices.end());
    refill_notices();
}

// The notices the filter lets through, oldest first.
std::vector<history::Notice> BoardWindow::shown_notices() const {
    const std::string filter = 编辑框通知筛选->text().trimmed().toStdString();
    std::vector<history::Notice> shown;
    for (const history::Notice& n : notices_) {
        if (board::notice_matches(n, filter))
            shown.push_back(n);
    }
    return shown;
}

void BoardWindow::refill_notices() {
    std::vector<std::int64_t> starts = run_starts_;
    if (run_start_ms_)
        starts.push_back(*run_start_ms_);
    列表通知->clear();
    const auto names = board::names_by_id(board_);
    // Runs are told apart over every notice, so a filtered run keeps its
    // time and count in its heading.
    std::vector<board::NoticeGroup> groups = board::notice_groups(notices_, starts);
    // The oldest run may have more notices than were read: it would miscount them.
    if (notices_cut_ && groups.size() > 1)
        groups.pop_back();
    const std::string filter = 编辑框通知筛选->text().trimmed().toStdString();
    for (const board::NoticeGroup& group : groups) {
        std::vector<const history::Notice*> shown;
        for (const history::Notice& n : group.notices) {
            if (board::notice_matches(n, filter))
                shown.push_back(&n);
        }
        if (shown.empty() && !filter.empty())
            continue;
        列表通知->addItem(heading_item(group, shown.size()));
        for (const history::Notice* n : shown)
            列表通知->addItem(notice_item(*n, names, deliveries_));
    }
}

std::string BoardWindow::notices_csv() const {
    std::vector<history::Notice> newest_first;
    for (const board::NoticeGroup& group : board::notice_groups(shown_notices(), {}))
        newest_first.insert(newest_first.end(), group.notices.begin(), group.notices.end());
    return board::notices_csv(newest_first, board::sheet_names(board_));
}

void BoardWindow::export_notices() {
    const QString file = QFileDialog::getSaveFileName(
        this, QStringLiteral("导出通知"), export_name("通知"), QStringLiteral("CSV 文件 (*.csv)"));
    if (file.isEmpty())
        return;
    const std::string csv = notices_csv();
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        out.write(csv.data(), static_cast<qint64>(csv.size())) != static_cast<qint64>(csv.size()) ||
        !out.flush()) {
        tell(QStringLiteral("文件无法写入：") + file);
    }
}

}  // namespace app
