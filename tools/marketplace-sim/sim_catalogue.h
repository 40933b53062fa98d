#pragma once
// The simulator's data: a seeded catalogue of goods, the category tree, the
// "爱逛街" tabs and every listing in its order. Tests ask it for the ground
// truth (which ids a listing holds, where the sample goods stands) instead of
// hard-coding numbers. All texts are UTF-8; ids are decimal texts.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim_server.h"

namespace sim {

// The goods the window's sample input names, and its keywords.
inline constexpr std::string_view kSampleGoodsId = "4033138";
inline constexpr std::array<std::string_view, 3> kSampleKeywords = {"辣条大礼包", "辣条",
                                                                    "辣条礼包"};
// The file the default download writes next to itself when it is run.
inline constexpr std::string_view kDownloadMarkerFile = "korvel-new-version-ran.txt";
inline constexpr std::string_view kNewGoodsListId = "0699021960";

enum class Sort { overall, sales, credit, price_ascending, price_descending };
inline constexpr std::array<Sort, 5> kAllSorts = {Sort::overall, Sort::sales, Sort::credit,
                                                  Sort::price_ascending, Sort::price_descending};
// "default", "_sales", "_credit", "price", "_price".
std::string_view sort_value(Sort sort);
std::optional<Sort> parse_sort(std::string_view value);

struct Goods {
    std::string id;
    std::string name;
    std::string shop;
    int price_fen = 0;  // in 1/100 yuan
    int sales = 0;
    int rating_tenths = 0;  // 0..50, i.e. 0.0 to 5.0 stars
    int listed_day = 0;     // larger is newer
    std::string level3_id;  // the goods' own category
};

struct Category {
    std::string id;
    std::string name;
    int level = 1;          // 1, 2 or 3
    std::string parent_id;  // empty for level 1
};

struct Tab {
    std::string id;
    std::string name;
};

class Catalogue {
  public:
    explicit Catalogue(std::uint32_t seed);
    ~Catalogue();
    Catalogue(Catalogue&&) noexcept;
    Catalogue& operator=(Catalogue&&) noexcept;

    std::uint32_t seed() const;
    const std::vector<Goods>& goods() const;
    const Goods* find_goods(std::string_view id) const;
    const Goods& sample() const;

    // The tree; level-1 categories in the order the vendor page lists them.
    std::vector<Category> level1() const;
    std::vector<Category> children(std::string_view category_id) const;
    const Category* find_category(std::string_view id) const;
    // The sample goods' level-1, level-2 and level-3 categories.
    std::array<Category, 3> sample_categories() const;

    const std::vector<Tab>& tabs() const;
    const Tab& sample_tab() const;  // the tab whose listing carries the sample goods

    // Whole listings, best first (pages cut from them; see page_ids).
    // `rank_shift` moves the sample goods that many places down (negative:
    // up), kept within the listing.
    std::vector<std::string> keyword_listing(std::string_view keyword, Sort sort,
                                             int rank_shift = 0) const;
    std::vector<std::string> category_listing(std::string_view category_id) const;
    std::vector<std::string> tab_listing(std::string_view tab_id) const;
    std::vector<std::string> new_goods_listing() const;

  private:
    struct Data;
    std::unique_ptr<Data> data_;
};

// Listing kinds as the program reads them: keyword and category listings put
// the goods id after another key and a thumb key after it; tab and new-goods
// listings start each entry with the goods id.
enum class ListingKind { keyword, category, tab, new_goods };

// The ids page `page` (1-based) of `size` entries carries, with the
// short-first-page option applied (page 2 then continues where page 1 ended).
std::vector<std::string> page_ids(const std::vector<std::string>& listing, int page, int size,
                                  const Options& options);
// Whether entry `index` (0-based, on its page) is served without a thumb key.
bool entry_without_thumb(ListingKind kind, int index, const Options& options);

// The rows the program's extraction pattern gets from one served page: an
// entry without a thumb key swallows the entry after it (and the last entry
// of a page without one gives no row).
std::vector<std::string> rows_read(ListingKind kind, const std::vector<std::string>& page,
                                   const Options& options);
// The 1-based position the program reports for `goods_id` after reading
// pages 1 and 2 of 500 entries, or -1 when it is not among them.
int expected_position(ListingKind kind, const std::vector<std::string>& listing,
                      std::string_view goods_id, const Options& options = {});

}  // namespace sim
