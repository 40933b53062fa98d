#pragma once
// The four kinds of ranking query, one per ranking tab, and the tag text each
// one records in the query state.
#include <array>
#include <string>

namespace ranking {

enum class QueryKind { keyword, category, ishopping, new_goods };

// All four, in page order.
inline constexpr std::array<QueryKind, 4> kAllKinds = {QueryKind::keyword, QueryKind::category,
                                                       QueryKind::ishopping, QueryKind::new_goods};

// "关键词", "类目", "爱逛街" or "新品" (GBK).
const std::string& kind_tag(QueryKind kind);

}  // namespace ranking
