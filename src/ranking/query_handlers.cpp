#include "ranking/query_handlers.h"

namespace ranking {

// Not built yet: the queries arrive with the ranking search.
void keyword_query(ui::Context&) {}
void category_query(ui::Context&) {}
void ishopping_query(ui::Context&) {}
void new_goods_query(ui::Context&) {}

}  // namespace ranking
