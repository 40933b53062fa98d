#pragma once
// The three ways korvel-check writes its rows (UTF-8): an aligned table for
// a terminal, CSV and JSON for programs. Columns and fields, in this order:
// goods_id, listing, key, sort, status, rank, reason.
#include <string>
#include <string_view>
#include <vector>

#include "check_options.h"
#include "result_rows.h"

namespace cli {

// A CSV field, quoted (quotes doubled) when it holds a comma, quote, CR or LF.
std::string csv_field(std::string_view value);
// A JSON string literal: quotes, backslashes and control characters escaped,
// other characters (UTF-8) as they are.
std::string json_string(std::string_view value);
// Terminal columns the UTF-8 text takes: East Asian wide and full-width
// characters two, combining marks and format characters none, others one.
int display_width(std::string_view utf8);

// A header line, then one line per row; lines end in LF. Text that a
// spreadsheet would take for a formula begins with an apostrophe
// (history::spreadsheet_safe); a byte-order mark first when asked for.
std::string format_csv(const std::vector<ResultRow>& rows, bool byte_order_mark = false);
// An array of objects, one per line; rank a number or null, reason a string
// or null, key and sort null where the listing has none.
std::string format_json(const std::vector<ResultRow>& rows);
// Lines of cells, each column padded to its widest cell (in terminal
// columns) and two spaces apart; no blanks end a line.
std::string aligned_table(const std::vector<std::vector<std::string>>& lines);
// The same, a line at a time: widths grown over every line first, then each
// line padded to them (for tables too long to hold).
void widen(std::vector<int>& widths, const std::vector<std::string>& cells);
std::string aligned_line(const std::vector<std::string>& cells, const std::vector<int>& widths);
// A header line and the rows, each column padded to its widest cell.
std::string format_table(const std::vector<ResultRow>& rows);

// `byte_order_mark` applies to CSV only.
std::string format_rows(const std::vector<ResultRow>& rows, Format format, bool byte_order_mark);

// Whether standard output is a regular file (a redirection into a file,
// where a spreadsheet will open it), not a terminal or a pipe.
bool standard_output_is_file();
// Standard output and error take the bytes as written (on Windows they would
// turn LF into CR LF).
void use_bytes_as_written();

}  // namespace cli
