#pragma once
// The board's definition on screen, in two columns: name, own goods and
// competitors (one Goods ID or goods link per line, their names beside them),
// keywords, the sort orders and the schedule on the left; the extra listings
// (categories and a 爱逛街 tab chosen by name) and the notices (thresholds,
// channels, daily report) on the right. Reads into a board::Board and shows
// one.
#include <QList>
#include <QWidget>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "app/catalogue_choices.h"
#include "app/goods_lines.h"
#include "board/board.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;
class QTimeEdit;

namespace app {

class ChannelChecks;
class NamePicker;

// The daily report's time until a board chooses one.
inline constexpr int kDefaultReportMinute = 9 * 60;

class BoardForm final : public QWidget {
    Q_OBJECT

  public:
    explicit BoardForm(QWidget* parent = nullptr);

    // The board as typed (goods links keep their link; ids are resolved when
    // the board is checked), in GBK; the names of the categories and the tab
    // chosen by name with it.
    board::Board board() const;
    // The same in UTF-8, as typed: what board::check_typed checks.
    board::Board typed_board() const;
    void show_board(const board::Board& board);
    // Everything that keeps the board on screen from being saved or run, one
    // message each, all at once (board::check_typed): a character GBK has no
    // code for or a control character in any field, a goods line that is
    // neither an id nor a link, more than five competitors, a category typed
    // as a name no list knows, an interval under the schedule's minimum, ….
    QStringList problems() const;
    // The fields in the order they stand on screen, for the window's Tab order.
    QList<QWidget*> fields_in_order() const;
    // Says what to fill first (a new board) or nothing (a saved one).
    void show_first_steps(bool shown);
    // A line under the form about the goods as their pages gave them
    // (a goods item that does not exist); empty hides it.
    void show_goods_note(const QString& note);
    // Names and shops the goods pages gave (a run's confirmed goods), shown
    // beside the lines that still name those goods.
    void learn_goods(const std::vector<board::GoodsItem>& items);

    // The category and 爱逛街 lists the main window has loaded; the form
    // loads what it lacks itself when a list's menu opens.
    void set_catalogue(const CatalogueChoices& lists);
    // The notice channels korvel.ini defines (its [notify.NAME] sections).
    void set_channel_names(std::vector<std::string> utf8_names);

    // Where the form's own messages go (UTF-8); unset: a message box.
    std::function<void(const QString&)> show_message;

    QLabel* 标签商品提示 = nullptr;
    QLabel* 标签填写提示 = nullptr;  // what a new board fills first

    QLineEdit* 编辑框看板名称 = nullptr;
    QPlainTextEdit* 编辑框本店商品 = nullptr;
    QPlainTextEdit* 编辑框竞品 = nullptr;
    QLabel* 标签本店名称 = nullptr;  // names and shops of the own goods
    QLabel* 标签竞品名称 = nullptr;
    QPlainTextEdit* 编辑框看板关键词 = nullptr;
    std::array<QCheckBox*, 5> sort_boxes{};  // 复选框综合 … 复选框价格高
    NamePicker* 类目选择 = nullptr;
    NamePicker* 爱逛街选择 = nullptr;
    QLineEdit* 编辑框看板类目 = nullptr;    // the box of 类目选择
    QLineEdit* 编辑框看板爱逛街 = nullptr;  // the box of 爱逛街选择
    QCheckBox* 复选框看板新品 = nullptr;

    // The board's schedule.
    QCheckBox* 复选框定时检查 = nullptr;
    QSpinBox* 数值框间隔分钟 = nullptr;
    QTimeEdit* 时间框开始 = nullptr;
    QTimeEdit* 时间框结束 = nullptr;
    std::array<QCheckBox*, 7> weekday_boxes{};  // 复选框周一 … 复选框周日

    // The group 通知: thresholds, channels and the daily report.
    QGroupBox* 分组框通知 = nullptr;
    QSpinBox* 数值框变动名次 = nullptr;
    QSpinBox* 数值框前N名 = nullptr;
    ChannelChecks* channel_checks = nullptr;
    QCheckBox* 复选框每日报告 = nullptr;
    QTimeEdit* 时间框报告 = nullptr;

  private:
    QWidget* build_goods_row(QPlainTextEdit*& box, QLabel*& names, const char* box_name,
                             const char* names_name, const QString& hint);
    QWidget* build_sort_row();
    QWidget* build_schedule_rows();
    QGroupBox* build_notice_group();
    void refresh_goods_names();
    void interval_edited();
    void tell(const QString& message);

    std::vector<board::GoodsItem> known_goods_;
    int accepted_interval_ = 60;  // the last interval at or above the minimum
};

}  // namespace app
