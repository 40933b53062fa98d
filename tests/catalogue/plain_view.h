#pragma once
// The window as the catalogue sees it, kept in plain data: what each list's
// box holds and which item is chosen, the state each status link was last
// shown in, and the message boxes. PlainWindow adds the catalogue's data and
// the user's choice, bound to the entry points the way the window binds them.
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/catalogue_data.h"
#include "catalogue/catalogue_handlers.h"
#include "catalogue/catalogue_view.h"

namespace catalogue_test {

using catalogue::Link;
using catalogue::LinkState;
using catalogue::ListKind;

struct Box {
    std::vector<std::string> items;
    int chosen = -1;
    // What the box shows: the chosen item's text, empty without a choice.
    std::string text() const;
};

struct ShownMessage {
    std::string text;
    int style = 0;
    std::string caption;
    LinkState category_link;  // the links as shown while the box was open
    LinkState tab_link;
};

class PlainView final : public catalogue::CatalogueView {
  public:
    net::LifetimeWatch watch() const override { return lifetime_->watch(); }
    void append_names(ListKind list, const std::vector<std::string>& names) override;
    void clear_box(ListKind list) override;
    int chosen_index(ListKind list) const override;
    void show_link(Link link, const LinkState& state) override;
    void message(const std::string& text, int style, const std::string& caption) override;

    const Box& box(ListKind list) const;
    // Shows item `index` as chosen, without reporting a choice.
    void set_chosen(ListKind list, int index);
    const LinkState& link(Link link) const;
    const std::vector<ShownMessage>& messages() const { return messages_; }
    // The window goes away: every watch taken before expires.
    void close() { lifetime_.reset(); }

    // Runs while a message box is open (the user acting meanwhile).
    std::function<void()> during_message;

  private:
    std::array<Box, 4> boxes_;
    std::array<LinkState, 2> links_;
    std::vector<ShownMessage> messages_;
    std::unique_ptr<net::Lifetime> lifetime_ = std::make_unique<net::Lifetime>();
};

struct PlainWindow {
    PlainView view;
    catalogue::CatalogueData data;

    // A user's choice: the box shows item `index` and its entry point runs.
    void choose(ListKind list, int index);
    // The entry point runs with a box and data as they are.
    void load_level1() { run(catalogue::load_level1_first_visit); }
    void retry_level1() { run(catalogue::retry_level1); }
    void load_tabs() { run(catalogue::load_tabs_first_visit); }
    void retry_tabs() { run(catalogue::retry_tabs); }

    const std::vector<std::string>& items(ListKind list) const { return view.box(list).items; }

  private:
    void run(catalogue::Entry entry) { entry(view, data); }
};

}  // namespace catalogue_test
