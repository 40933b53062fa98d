#include "plain_view.h"

#include <gtest/gtest.h>

#include "plain/scoped_hosts.h"

namespace catalogue_test {

namespace {

// A list chosen in a test loads its next level from nowhere unless the test
// names a server (test::nowhere).
class HostsNowhere final : public ::testing::Environment {
  public:
    void SetUp() override { net::set_hosts(test::nowhere()); }
};

[[maybe_unused]] const auto* const kHostsNowhere =
    ::testing::AddGlobalTestEnvironment(new HostsNowhere);

std::size_t slot(ListKind list) {
    return static_cast<std::size_t>(list);
}

}  // namespace

std::string Box::text() const {
    if (chosen < 0 || static_cast<std::size_t>(chosen) >= items.size())
        return {};
    return items[static_cast<std::size_t>(chosen)];
}

void PlainView::append_names(ListKind list, const std::vector<std::string>& names) {
    std::vector<std::string>& items = boxes_[slot(list)].items;
    items.insert(items.end(), names.begin(), names.end());
}

void PlainView::clear_box(ListKind list) {
    boxes_[slot(list)] = Box{};
}

int PlainView::chosen_index(ListKind list) const {
    return boxes_[slot(list)].chosen;
}

void PlainView::show_link(Link which, const LinkState& state) {
    LinkState& shown = links_[static_cast<std::size_t>(which)];
    const catalogue::LinkColour kept = shown.colour;
    shown = state;
    if (state.colour == catalogue::LinkColour::Unchanged)
        shown.colour = kept;
}

void PlainView::message(const std::string& text, int style, const std::string& caption) {
    messages_.push_back({text, style, caption, link(Link::category), link(Link::tabs)});
    if (during_message)
        during_message();
}

const Box& PlainView::box(ListKind list) const {
    return boxes_[slot(list)];
}

void PlainView::set_chosen(ListKind list, int index) {
    boxes_[slot(list)].chosen = index;
}

const LinkState& PlainView::link(Link which) const {
    return links_[static_cast<std::size_t>(which)];
}

void PlainWindow::choose(ListKind list, int index) {
    view.set_chosen(list, index);
    static constexpr catalogue::Entry kBound[] = {
        catalogue::on_level1_selected, catalogue::on_level2_selected, catalogue::on_level3_selected,
        catalogue::on_tab_selected};
    run(kBound[slot(list)]);
}

}  // namespace catalogue_test
