// The marketplace's answers: goods pages and listings.
#include <functional>

#include "sim_json.h"
#include "sim_pages.h"

namespace sim::pages {

namespace {

using json::quoted;

std::string sales_tip(int sales) {
    return sales >= 10000 ? "已拼" + std::to_string(sales / 10000) + "万+件"
                          : "已拼" + std::to_string(sales) + "件";
}

std::string thumb_keys(const Goods& g) {
    return R"("thumb_url":"/img/thumb/)" + g.id + R"(.jpg","hd_thumb_url":"/img/hd/)" + g.id +
           R"(.jpg",)";
}

// Keyword and category listings: the goods id comes after another key and
// the thumb keys follow it with only ASCII between them. The program reads
// these bodies unconverted, so no Chinese text stands where its pattern needs
// to see a quote or a key.
std::string search_entry(const Goods& g, bool thumb) {
    return R"({"ad":null,"goods_id":)" + g.id + R"(,"price":)" + std::to_string(g.price_fen) +
           R"(,"normal_price":)" + std::to_string(g.price_fen + g.price_fen / 4) + "," +
           (thumb ? thumb_keys(g) : "") + R"("goods_name":)" + quoted(g.name) +
           R"(,"short_name":)" + quoted(g.name.substr(0, g.name.find(' '))) + R"(,"sales":)" +
           std::to_string(g.sales) + R"(,"sales_tip":)" + quoted(sales_tip(g.sales)) +
           R"(,"mall_name":)" + quoted(g.shop) + R"(,"goods_rating":)" +
           std::to_string(g.rating_tenths / 10) + "." + std::to_string(g.rating_tenths % 10) + "}";
}

std::string category_entry(const Goods& g, bool thumb) {
    return R"({"cat_id":)" + g.level3_id + R"(,"goods_id":)" + g.id + R"(,"price":)" +
           std::to_string(g.price_fen) + "," + (thumb ? thumb_keys(g) : "") + R"("goods_name":)" +
           quoted(g.name) + R"(,"cnt":)" + std::to_string(g.sales) + "}";
}

// Tab and new-goods listings start every entry with the goods id.
std::string tab_entry(const Goods& g, bool) {
    return R"({"goods_id":)" + g.id + R"(,"goods_name":)" + quoted(g.name) + "," + thumb_keys(g) +
           R"("price":)" + std::to_string(g.price_fen) + R"(,"sales":)" + std::to_string(g.sales) +
           "}";
}

std::string new_entry(const Goods& g, bool) {
    return R"({"goods_id":)" + g.id + R"(,"goods_name":)" + quoted(g.name) + "," + thumb_keys(g) +
           R"("price":)" + std::to_string(g.price_fen) + R"(,"created_at":)" +
           std::to_string(1700000000 + g.listed_day * 86400) + "}";
}

using EntryWriter = std::function<std::string(const Goods&, bool)>;

// The entries of one page, comma-separated, all on one line.
std::string entries(const Catalogue& catalogue, ListingKind kind,
                    const std::vector<std::string>& listing, ListingRequest request,
                    const Options& options, const EntryWriter& write) {
    const auto ids = page_ids(listing, request.page, request.size, options);
    std::string out;
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const Goods* g = catalogue.find_goods(ids[i]);
        if (!g) {
            continue;
        }
        if (!out.empty()) {
            out += ",";
        }
        out += write(*g, !entry_without_thumb(kind, static_cast<int>(i), options));
    }
    return out;
}

}  // namespace

std::string goods_page(const Goods* g) {
    const std::string head = "<!DOCTYPE html><html><head><meta charset=\"utf-8\">";
    if (!g) {
        return head +
               "<title>商品不存在</title></head><body><p>商品不存在或已下架</p></body></html>\n";
    }
    return head + "<title>" + g->name + "</title></head><body><div id=\"main\"></div>\n" +
           R"(<script>window.pageData={"page":{"goods":{"goodsID":)" + g->id + R"(,"goodsName":)" +
           quoted(g->name) + R"(,"mallName":)" + quoted(g->shop) + R"(,"minGroupPrice":)" +
           json::hundredths(g->price_fen) + R"(,"sideSalesTip":)" + quoted(sales_tip(g->sales)) +
           R"(,"goodsRating":)" + std::to_string(g->rating_tenths) +
           "}}};</script>\n</body></html>\n";
}

std::string search(const Catalogue& catalogue, std::string_view keyword, Sort sort,
                   ListingRequest request, const Options& options) {
    const auto listing = catalogue.keyword_listing(keyword, sort, options.rank_shift);
    return R"({"server_time":1700000000,"total":)" + std::to_string(listing.size()) +
           R"(,"items":[)" +
           entries(catalogue, ListingKind::keyword, listing, request, options, search_entry) +
           R"(],"flip":)" + quoted("page=" + std::to_string(request.page + 1)) + "}";
}

std::string groups(const Catalogue& catalogue, std::string_view category_id, ListingRequest request,
                   bool blank, const Options& options) {
    std::string infos;
    if (!blank) {
        int priority = 1;
        for (const auto& c : catalogue.children(category_id)) {
            if (!infos.empty()) {
                infos += ",";
            }
            infos += R"({"id":)" + c.id + R"(,"priority":)" + std::to_string(priority++) +
                     R"(,"opt_name":)" + quoted(c.name) + R"(,"opt_type":)" +
                     std::to_string(c.level - 1) + R"(,"image_url":"/img/opt/)" + c.id +
                     R"(.png"})";
        }
    }
    const auto listing = catalogue.category_listing(category_id);
    return R"({"opt_infos":[)" + infos + R"(],"debugInfo":{"source":"sim","seed":)" +
           std::to_string(catalogue.seed()) + R"(},"goods_list":[)" +
           entries(catalogue, ListingKind::category, listing, request, options, category_entry) +
           R"(],"total":)" + std::to_string(listing.size()) + "}";
}

std::string tab_list(const Catalogue& catalogue, const Options& options) {
    std::string tabs;
    int n = 0;
    for (const auto& t : catalogue.tabs()) {
        if (options.tab_count >= 0 && n >= options.tab_count) {
            break;
        }
        if (n++ > 0) {
            tabs += ",";
        }
        tabs += R"({"tab_id":)" + t.id + R"(,"tab":)" + quoted(t.name) + R"(,"subject_id":)" +
                std::to_string(2000 + n) + R"(,"icon":"/img/tab/)" + t.id + R"(.png"})";
    }
    return R"({"server_time":1700000000,"tabs":[)" + tabs + "]}";
}

std::string tab_goods(const Catalogue& catalogue, std::string_view tab_id, ListingRequest request,
                      const Options& options) {
    const auto listing = catalogue.tab_listing(tab_id);
    return R"({"goods_list":[)" +
           entries(catalogue, ListingKind::tab, listing, request, options, tab_entry) +
           R"(],"has_more":)" +
           (static_cast<long long>(request.page) * request.size <
                    static_cast<long long>(listing.size())
                ? "true"
                : "false") +
           "}";
}

std::string new_goods(const Catalogue& catalogue, ListingRequest request, const Options& options) {
    const auto listing = catalogue.new_goods_listing();
    return R"({"list_id":")" + std::string(kNewGoodsListId) + R"(","goods":[)" +
           entries(catalogue, ListingKind::new_goods, listing, request, options, new_entry) + "]}";
}

}  // namespace sim::pages
