#include "ranking/listing_extraction.h"

#include "pattern/regex_object.h"

namespace ranking {

namespace {

// Keyword and category listings. An entry starts at its `,"goods_id":` key and
// ends where the next entry's starts; no part of the pattern may run past that
// boundary, so an entry without a thumb key still gives its own row and leaves
// the next entry alone. Where the thumb key is present the captures are those
// of the plain `,"goods_id":(.*?),"(.*?)"thumb`.
//   group 1: the goods id (up to the entry's next `,"`, or to the entry's end)
//   group 2: the text after that `,"` up to the thumb key, or to the entry's end
//            when it has none (empty when the id is the entry's last key)
const std::string kEntryPattern =
    R"(,"goods_id":((?:(?!,"goods_id":).)*?))"
    R"((?:,"(?!goods_id":)((?:(?!,"goods_id":).)*?)(?:"thumb|(?=,"goods_id":)|$))"
    R"(|(?=,"goods_id":)|$))";

// 爱逛街 and new-goods listings: only objects that begin with the goods_id key.
//   group 1: the goods id, up to the next comma
const std::string kObjectPattern = R"({"goods_id":(.*?),)";

}  // namespace

const std::string& listing_pattern(QueryKind kind) {
    if (kind == QueryKind::keyword || kind == QueryKind::category)
        return kEntryPattern;
    return kObjectPattern;
}

void append_listing_rows(std::vector<ListingRow>& table, QueryKind kind, std::string_view body) {
    pattern::RegexObject regex;
    regex.create(listing_pattern(kind), body);
    const int count = regex.match_count();
    table.reserve(table.size() + static_cast<std::size_t>(count));
    for (int i = 1; i <= count; ++i) {
        table.push_back({regex.submatch(i, 1), regex.submatch(i, 2)});
    }
}

}  // namespace ranking
