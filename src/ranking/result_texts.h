#pragma once
// The texts a ranking query writes into its tab's result box: the keyword
// progress line (rewritten in place) and the result line of every run.
#include <optional>
#include <string>
#include <string_view>

#include "ranking/query_kind.h"
#include "ranking/run_outcome.h"

namespace ranking {

// "关键词：" K "  查询中……", appended when a keyword's run starts.
std::string keyword_progress_line(std::string_view keyword);
// The keyword box after a page was read: the run's line loses one ellipsis
// (the second page finds nothing left to change).
std::string keyword_after_page(std::string_view content, std::string_view keyword);

// What one finished run does to its result box.
struct RunResult {
    QueryKind kind = QueryKind::keyword;
    int category_level = 1;  // category kind: 1, 2 or 3
    std::string keyword;     // keyword kind
    std::string goods_id;    // the tab's target, as taken from the goods page
    RunOutcome outcome;
};

struct ResultWrite {
    enum class Mode { append, set } mode = Mode::append;
    std::string text;
};

// `content` is the box's current content (only the keyword box reads it).
ResultWrite result_write(const RunResult& result, std::string_view content);

}  // namespace ranking
