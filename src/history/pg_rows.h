#pragma once
// Row readers the PostgreSQL engine's files share.
#include "history/pg_owner.h"
#include "history/records.h"

namespace history::pg_rows {

// The columns notice() reads, in its order.
inline constexpr const char* notice_columns =
    "id, board, time_ms, listing, listing_key, sort_order, goods_id, kind, before_text, "
    "after_text, message, check_id";

Notice notice(const pg::Rows& rows, int row);

// The columns delivery() reads, in its order.
inline constexpr const char* delivery_columns =
    "notice_id, channel, attempts, delivered_ms, error, claim, claimed_ms, sends";

Delivery delivery(const pg::Rows& rows, int row);

}  // namespace history::pg_rows
