#pragma once
// The board's definition on screen: name, own goods and competitors (one
// Goods ID or goods link per line), keywords, the sort orders, and the extra
// listings. Reads into a board::Board and shows one.
#include <QWidget>
#include <array>

#include "board/board.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;
class QTimeEdit;

namespace app {

class BoardForm final : public QWidget {
    Q_OBJECT

  public:
    explicit BoardForm(QWidget* parent = nullptr);

    // The board as typed (goods links keep their link; ids are resolved when
    // the board is checked).
    board::Board board() const;
    void show_board(const board::Board& board);
    // What the form holds that a board cannot keep, one message each: a
    // keyword with a character GBK has no code for would be searched with a
    // "?" in its place.
    QStringList problems() const;
    // A line under the form about the goods as their pages gave them
    // (a goods item that does not exist); empty hides it.
    void show_goods_note(const QString& note);

    QLabel* 标签商品提示 = nullptr;

    QLineEdit* 编辑框看板名称 = nullptr;
    QPlainTextEdit* 编辑框本店商品 = nullptr;
    QPlainTextEdit* 编辑框竞品 = nullptr;
    QPlainTextEdit* 编辑框看板关键词 = nullptr;
    std::array<QCheckBox*, 5> sort_boxes{};  // 复选框综合 … 复选框价格高
    QLineEdit* 编辑框看板类目 = nullptr;
    QLineEdit* 编辑框看板爱逛街 = nullptr;
    QCheckBox* 复选框看板新品 = nullptr;

    // The board's schedule and notice thresholds.
    QCheckBox* 复选框定时检查 = nullptr;
    QSpinBox* 数值框间隔分钟 = nullptr;
    QTimeEdit* 时间框开始 = nullptr;
    QTimeEdit* 时间框结束 = nullptr;
    std::array<QCheckBox*, 7> weekday_boxes{};  // 复选框周一 … 复选框周日
    QSpinBox* 数值框变动名次 = nullptr;
    QSpinBox* 数值框前N名 = nullptr;

  private:
    QWidget* build_schedule_row();
    QWidget* build_notice_row();
};

// "4033138" stays an id; anything else is a goods link to resolve.
board::GoodsItem goods_item_of(const std::string& typed_gbk);

}  // namespace app
