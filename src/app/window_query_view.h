#pragma once
// The ranking queries' view of the main window: each query page's input,
// name labels, result box and button, the sort buttons and the selection
// lists, through the window's typed widget members.
#include "net/lifetime.h"
#include "ranking/query_view.h"

class QAbstractButton;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace app {

class MainWindow;

class WindowQueryView final : public ranking::QueryView {
  public:
    explicit WindowQueryView(MainWindow& window) : window_(window) {}

    net::LifetimeWatch watch() const override { return lifetime_.watch(); }

    std::string goods_input(ranking::QueryKind kind) const override;
    std::string keyword_list() const override;
    ranking::SortChoice sort_choice() const override;
    bool has_choice(ranking::Choice choice) const override;
    std::string chosen_id(ranking::Choice choice) const override;

    std::string result_text(ranking::QueryKind kind) const override;
    void set_result_text(ranking::QueryKind kind, std::string_view text) override;
    void append_result_text(ranking::QueryKind kind, std::string_view text) override;
    void show_goods(ranking::QueryKind kind, const ranking::GoodsInfo& info) override;

    bool button_enabled(ranking::QueryKind kind) const override;
    void enable_button(ranking::QueryKind kind, bool enabled) override;
    void set_button_caption(ranking::QueryKind kind, std::string_view caption) override;

    void message(std::string_view text) override;
    void run_finished(const ranking::Listing& listing, const std::string& goods_id,
                      const ranking::RunOutcome& outcome, int pages_read,
                      const std::vector<int>& statuses) override;

  private:
    // The controls of one query page.
    struct Page {
        QAbstractButton* button;
        QLineEdit* input;
        QLabel* goods_name;  // nullptr: the page shows no names
        QLabel* shop_name;
        QPlainTextEdit* result_box;
    };
    Page page(ranking::QueryKind kind) const;

    MainWindow& window_;
    net::Lifetime lifetime_;
};

}  // namespace app
