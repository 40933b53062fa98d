#pragma once
// The stored checks as korvel-check prints them (UTF-8): one line per goods
// item of each check (a check without goods gives one line). A table and
// JSON have the columns time (ISO 8601 UTC), board, listing, key, sort,
// goods_id, role, status, rank, reason, pages, http_statuses; CSV is the
// window's history export with its own columns (board/check_csv.h).
#include <ostream>
#include <string>
#include <vector>

#include "check_options.h"
#include "history/records.h"

namespace cli {

// CSV is the history's export (board::checks_csv); a table is aligned; JSON is
// an array of objects with rank, pages and http_statuses as numbers.
std::string format_history(const std::vector<history::Check>& checks, Format format);

// The table and JSON text, written as the checks stream by, so a year of
// history prints in constant memory (CSV streams through board::write_checks_csv).
// A table needs its column widths first: call measure() for every check,
// then write() for every check again.
class HistoryPrinter {
  public:
    HistoryPrinter(Format format, std::ostream& out);
    void measure(const history::Check& check);
    void write(const history::Check& check);
    void finish();
    bool needs_measuring() const { return format_ == Format::table; }

  private:
    Format format_;
    std::ostream& out_;
    std::vector<int> widths_;
    bool started_ = false;
    bool first_ = true;  // no line written yet
};

}  // namespace cli
