#pragma once
// The ranking pages of the window as plain data: what a query reads (inputs,
// choices, sort buttons) and writes (result boxes, names, buttons, messages).
// Texts are kept as GBK, as the window layer hands them over; the helpers
// type and read UTF-8 and turn line feeds into CR LF as the window's boxes
// do. close() is the user closing the window: the view's lifetime ends, and a
// query waiting at that moment must touch nothing more.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "ranking/query_state.h"
#include "ranking/query_view.h"

namespace ranking_test {

using ranking::Choice;
using ranking::QueryKind;

class PlainQueryView final : public ranking::QueryView {
  public:
    struct Page {
        std::string goods_input;
        std::string result;
        ranking::GoodsInfo shown;
        bool enabled = true;
        std::string caption;
    };

    PlainQueryView();

    // The user's side, in UTF-8.
    void type_goods(QueryKind kind, const std::string& utf8);
    void type_keywords(const std::string& utf8);  // LF line ends
    void check_sort(ranking::Sort sort);          // the other sort buttons unchecked
    // The box shows a choice and its holder keeps `id`; set_holder leaves the box as it is.
    void choose(Choice choice, const std::string& id);
    void set_holder(Choice choice, const std::string& id);
    void close() { lifetime_.reset(); }

    const Page& page(QueryKind kind) const { return pages_[index(kind)]; }
    std::string result(QueryKind kind) const;  // UTF-8, CR LF kept
    void set_result(QueryKind kind, const std::string& utf8);
    std::string caption(QueryKind kind) const;  // UTF-8
    std::vector<std::string> messages() const;  // UTF-8
    bool all_buttons_enabled() const;

    // ranking::QueryView
    net::LifetimeWatch watch() const override;
    std::string goods_input(QueryKind kind) const override { return page(kind).goods_input; }
    std::string keyword_list() const override { return keywords_; }
    ranking::SortChoice sort_choice() const override { return sorts_; }
    bool has_choice(Choice choice) const override { return holders_[index(choice)].shown; }
    std::string chosen_id(Choice choice) const override { return holders_[index(choice)].id; }
    std::string result_text(QueryKind kind) const override { return page(kind).result; }
    void set_result_text(QueryKind kind, std::string_view text) override {
        edit(kind).result = text;
    }
    void append_result_text(QueryKind kind, std::string_view text) override {
        edit(kind).result += text;
    }
    void show_goods(QueryKind kind, const ranking::GoodsInfo& info) override {
        edit(kind).shown = info;
    }
    bool button_enabled(QueryKind kind) const override { return page(kind).enabled; }
    void enable_button(QueryKind kind, bool enabled) override { edit(kind).enabled = enabled; }
    void set_button_caption(QueryKind kind, std::string_view caption) override {
        edit(kind).caption = caption;
    }
    void message(std::string_view text) override { messages_.emplace_back(text); }

  private:
    struct Holder {
        bool shown = false;
        std::string id;
    };
    template <class E>
    static std::size_t index(E e) {
        return static_cast<std::size_t>(e);
    }
    Page& edit(QueryKind kind) { return pages_[index(kind)]; }

    std::optional<net::Lifetime> lifetime_{std::in_place};
    std::array<Page, 4> pages_;
    std::array<Holder, 4> holders_;
    std::string keywords_;
    ranking::SortChoice sorts_{true, false, false, false, false};
    std::vector<std::string> messages_;
};

// A click on the query button of that page.
void click(PlainQueryView& view, ranking::QueryState& state, QueryKind kind);

// UTF-8 <-> the GBK the program keeps.
std::string gbk(const std::string& utf8);
std::string utf8(const std::string& gbk);

}  // namespace ranking_test
