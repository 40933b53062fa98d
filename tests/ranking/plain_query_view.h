#pragma once
// The ranking page of the window as plain data: what a query reads (inputs,
// choices, sort buttons) and writes (result boxes, names, buttons, messages).
// Texts are kept as GBK, as the window layer hands them over; the helpers
// type and read UTF-8 and turn line feeds into CR LF the way the window's
// boxes do. close() is the user closing the window: the view's lifetime ends,
// and a query waiting at that moment must touch nothing more.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "ranking/query_state.h"
#include "ranking/query_view.h"

namespace ranking_test {

class PlainQueryView final : public ranking::QueryView {
  public:
    PlainQueryView();

    // --- the user's side, UTF-8 ---
    void type_goods(ranking::QueryKind kind, const std::string& utf8);
    void type_keywords(const std::string& utf8);  // LF line ends
    void check_sort(ranking::Sort sort);          // the other sort buttons unchecked
    // The box shows a choice and its holder keeps `id` (as typed, spaces kept).
    void choose(ranking::Choice choice, const std::string& id);
    void set_holder(ranking::Choice choice, const std::string& id);  // the box unchanged
    void close() { lifetime_.reset(); }
    bool closed() const { return !lifetime_; }

    std::string result(ranking::QueryKind kind) const;  // UTF-8, CR LF kept
    void set_result(ranking::QueryKind kind, const std::string& utf8);
    std::string caption(ranking::QueryKind kind) const;  // UTF-8
    std::string goods_name(ranking::QueryKind kind) const;
    std::string shop_name(ranking::QueryKind kind) const;
    std::vector<std::string> messages() const;  // UTF-8
    bool all_buttons_enabled() const;

    // --- ranking::QueryView ---
    net::LifetimeWatch watch() const override;
    std::string goods_input(ranking::QueryKind kind) const override;
    std::string keyword_list() const override { return keywords_; }
    ranking::SortChoice sort_choice() const override { return sorts_; }
    bool has_choice(ranking::Choice choice) const override;
    std::string chosen_id(ranking::Choice choice) const override;
    std::string result_text(ranking::QueryKind kind) const override;
    void set_result_text(ranking::QueryKind kind, std::string_view text) override;
    void append_result_text(ranking::QueryKind kind, std::string_view text) override;
    void show_goods(ranking::QueryKind kind, const ranking::GoodsInfo& info) override;
    bool button_enabled(ranking::QueryKind kind) const override;
    void enable_button(ranking::QueryKind kind, bool enabled) override;
    void set_button_caption(ranking::QueryKind kind, std::string_view caption) override;
    void message(std::string_view text) override { messages_.emplace_back(text); }

  private:
    struct Page {
        std::string goods_input;
        std::string result;
        ranking::GoodsInfo shown;
        bool enabled = true;
        std::string caption;
    };
    struct Holder {
        bool shown = false;
        std::string id;
    };
    Page& page(ranking::QueryKind kind) { return pages_[static_cast<std::size_t>(kind)]; }
    const Page& page(ranking::QueryKind kind) const {
        return pages_[static_cast<std::size_t>(kind)];
    }

    std::optional<net::Lifetime> lifetime_{std::in_place};
    std::array<Page, 4> pages_;
    std::array<Holder, 4> holders_;
    std::string keywords_;
    ranking::SortChoice sorts_{true, false, false, false, false};
    std::vector<std::string> messages_;
};

// A click on the query button of that page.
void click(PlainQueryView& view, ranking::QueryState& state, ranking::QueryKind kind);

// UTF-8 <-> the GBK the program keeps.
std::string gbk(const std::string& utf8);
std::string utf8(const std::string& gbk);

}  // namespace ranking_test
