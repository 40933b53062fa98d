#pragma once
// What a ranking query needs of its window: the inputs of its page, its
// result box, the four query buttons and a message box. The window layer
// implements it with its typed widgets; tests with plain data. Texts are GBK;
// multi-line texts use CR LF.
#include <string>
#include <string_view>
#include <vector>

#include "net/lifetime.h"
#include "ranking/goods_info.h"
#include "ranking/listing.h"
#include "ranking/query_kind.h"
#include "ranking/run_outcome.h"

namespace ranking {

// The selection lists a query reads: whether a box shows a choice, and the
// id its holder keeps.
enum class Choice { level1, level2, level3, tab };

class QueryView {
  public:
    virtual ~QueryView() = default;

    // Expires with the window.
    virtual net::LifetimeWatch watch() const = 0;

    virtual std::string goods_input(QueryKind kind) const = 0;
    virtual std::string keyword_list() const = 0;
    virtual SortChoice sort_choice() const = 0;
    virtual bool has_choice(Choice choice) const = 0;
    virtual std::string chosen_id(Choice choice) const = 0;

    virtual std::string result_text(QueryKind kind) const = 0;
    virtual void set_result_text(QueryKind kind, std::string_view text) = 0;
    // Appends at the end of the box and scrolls it into view.
    virtual void append_result_text(QueryKind kind, std::string_view text) = 0;
    // The goods and shop name of the page's goods (pages without those labels ignore it).
    virtual void show_goods(QueryKind kind, const GoodsInfo& info) = 0;

    virtual bool button_enabled(QueryKind kind) const = 0;
    virtual void enable_button(QueryKind kind, bool enabled) = 0;
    virtual void set_button_caption(QueryKind kind, std::string_view caption) = 0;

    virtual void message(std::string_view text) = 0;

    // Every finished run, for the check history: the listing read, the goods
    // item's outcome, and the pages read with their HTTP statuses.
    virtual void run_finished(const Listing& listing, const std::string& goods_id,
                              const RunOutcome& outcome, int pages_read,
                              const std::vector<int>& statuses) {
        (void)listing, (void)goods_id, (void)outcome, (void)pages_read, (void)statuses;
    }
};

}  // namespace ranking
