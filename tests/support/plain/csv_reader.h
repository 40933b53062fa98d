#pragma once
// A small RFC 4180 reader, so tests read an export back the way a
// spreadsheet does instead of comparing it with the writer's own code.
#include <string>
#include <string_view>
#include <vector>

namespace test {

using CsvRecords = std::vector<std::vector<std::string>>;

// Records of `text` (a leading UTF-8 byte-order mark dropped): fields split by
// commas; a quoted field may hold commas, line ends and doubled quotes; records
// end in CR LF or LF; an empty line is a record of one empty field.
CsvRecords read_csv(std::string_view text);

}  // namespace test
