#pragma once
// Which checks a read of the history selects.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "history/records.h"

namespace history {

// A board of "" means the checks made without a board; no board means every
// check. Times select since_ms <= time < until_ms.
struct CheckFilter {
    std::optional<std::string> board{};
    std::optional<std::int64_t> since_ms{};
    std::optional<std::int64_t> until_ms{};
    std::optional<Listing> listing{};
    std::optional<std::string> key{};
    std::optional<Sort> sort{};
    bool newest_first = false;
    std::optional<std::size_t> limit{};  // counts checks, not goods rows
};

}  // namespace history
