#include "sim_catalogue.h"

#include <algorithm>
#include <map>
#include <unordered_map>
#include <unordered_set>

#include "sim_random.h"
#include "sim_tree.h"

namespace sim {

namespace {

constexpr std::string_view kTags[] = {
    "", "", "【限时秒杀】", "【买一送一】", "【官方正品】", "【包邮】", "【新品】", "【工厂直发】"};
constexpr std::string_view kBrands[] = {"味小仙", "麻辣坊", "小城记", "山野甄选", "优品铺", "悦家",
                                        "初见",   "拾光",   "禾田",   "青柚",     "暖暖",   "木子",
                                        "星河",   "知味",   "良辰",   "半亩"};
constexpr std::string_view kWords[] = {"网红", "经典", "正宗", "家庭装", "新款",   "加厚",
                                       "热卖", "精选", "特惠", "大容量", "升级款", "老字号"};
constexpr std::string_view kUnits[] = {"包", "件", "袋", "盒", "只", "套"};
constexpr std::string_view kShopKinds[] = {"旗舰店", "专营店", "官方店",
                                           "优选店", "工厂店", "百货店"};

// Where the sample goods stands in the listings that show it; every other
// goods takes its place from the sort order.
struct Plant {
    std::string_view keyword;
    int position;
};
constexpr Plant kKeywordPlants[] = {{"辣条大礼包", 37}, {"辣条", 618}, {"辣条礼包", 1314}};
constexpr int kLevelPlants[] = {733, 208, 9};  // level 1, 2, 3 listings
constexpr int kTabPlant = 321;
constexpr int kNewGoodsPlant = 77;

using SortKey = std::array<std::int64_t, 4>;

std::string number(long long n) {
    return std::to_string(n);
}

Goods sample_goods() {
    Goods g;
    g.id = std::string(kSampleGoodsId);
    g.name = "【送礼首选】辣条大礼包 麻辣零食组合装 休闲小吃 64包";
    g.shop = "味道工坊零食旗舰店";
    g.price_fen = 2990;
    g.sales = 45123;
    g.rating_tenths = 48;
    g.listed_day = 700;
    g.level3_id = std::string(tree::kSampleLevel3);
    return g;
}

Goods make_goods(Random& rng, std::string id, const tree::Level3& category) {
    Goods g;
    g.id = std::move(id);
    const auto brand = rng.pick(kBrands);
    g.name = std::string(rng.pick(kTags)) + std::string(brand) +
             std::string(rng.pick(category.products)) + " " + std::string(rng.pick(kWords)) + " " +
             number(1 + rng.below(60)) + std::string(rng.pick(kUnits));
    g.shop = std::string(brand) + std::string(category.name) + std::string(rng.pick(kShopKinds));
    g.price_fen = 290 + rng.below(30000);
    g.sales = rng.below(8) == 0 ? rng.below(200000) : rng.below(20000);
    g.rating_tenths = 30 + rng.below(21);
    g.listed_day = rng.below(1000);
    g.level3_id = std::string(category.id);
    return g;
}

int goods_count_for(const tree::Level1& l1, const tree::Level3& l3, Random& rng) {
    if (l3.id == tree::kSampleLevel3) {
        return 360;
    }
    return l1.id == "14" ? 80 + rng.below(60) : 40 + rng.below(50);
}

// Moves `id` to the 1-based `position` (or to the end of a shorter list).
void plant(std::vector<std::string>& listing, std::string_view id, int position) {
    std::erase(listing, std::string(id));
    const auto at = std::min<std::size_t>(static_cast<std::size_t>(position - 1), listing.size());
    listing.insert(listing.begin() + static_cast<std::ptrdiff_t>(at), std::string(id));
}

// Moves `id` `by` places towards the end (negative: towards the front),
// stopping at either end.
void shift(std::vector<std::string>& listing, std::string_view id, int by) {
    const auto at = std::find(listing.begin(), listing.end(), id);
    if (at == listing.end()) {
        return;
    }
    const long long from = at - listing.begin();
    const long long last = static_cast<long long>(listing.size());
    plant(listing, id, static_cast<int>(std::clamp(from + 1 + by, 1LL, last)));
}

}  // namespace

struct Catalogue::Data {
    std::uint32_t seed = 1;
    std::vector<Goods> goods;
    std::unordered_map<std::string, std::size_t> by_id;
    std::vector<Category> categories;  // tree order: each level-1 followed by its subtree
    std::map<std::string, std::size_t, std::less<>> category_by_id;
    std::vector<Tab> tabs;

    void build_tree() {
        for (const auto& l1 : tree::categories()) {
            categories.push_back({std::string(l1.id), std::string(l1.name), 1, {}});
            for (const auto& l2 : l1.children) {
                categories.push_back(
                    {std::string(l2.id), std::string(l2.name), 2, std::string(l1.id)});
                for (const auto& l3 : l2.children) {
                    categories.push_back(
                        {std::string(l3.id), std::string(l3.name), 3, std::string(l2.id)});
                }
            }
        }
        for (std::size_t i = 0; i < categories.size(); ++i) {
            category_by_id[categories[i].id] = i;
        }
        for (const auto& t : tree::tabs()) {
            tabs.push_back({std::string(t.id), std::string(t.name)});
        }
    }

    void build_goods() {
        Random rng(mix64(seed) ^ 0x5EEDULL);
        std::unordered_set<std::string> used = {std::string(kSampleGoodsId)};
        for (const auto& l1 : tree::categories()) {
            for (const auto& l2 : l1.children) {
                for (const auto& l3 : l2.children) {
                    const int count = goods_count_for(l1, l3, rng);
                    for (int i = 0; i < count; ++i) {
                        std::string id;
                        do {
                            id = number(1000000 + rng.below(99000000));
                        } while (!used.insert(id).second);
                        goods.push_back(make_goods(rng, std::move(id), l3));
                    }
                }
            }
        }
        // The sample sits among its category's goods, not at a telling place.
        goods.insert(goods.begin() + static_cast<std::ptrdiff_t>(goods.size() / 7), sample_goods());
        for (std::size_t i = 0; i < goods.size(); ++i) {
            by_id[goods[i].id] = i;
        }
    }

    // The level-1 and level-2 ids above a level-3 id.
    bool under(const Goods& g, std::string_view category_id) const {
        std::string_view id = g.level3_id;
        while (!id.empty()) {
            if (id == category_id) {
                return true;
            }
            const auto it = category_by_id.find(id);
            id = it == category_by_id.end() ? std::string_view{} : categories[it->second].parent_id;
        }
        return false;
    }

    std::string level1_of(const Goods& g) const {
        std::string id = g.level3_id;
        for (;;) {
            const auto& c = categories[category_by_id.at(id)];
            if (c.level == 1) {
                return c.id;
            }
            id = c.parent_id;
        }
    }

    // A seeded, salted stand-in for "relevance": the order within equal keys.
    std::int64_t shuffle_key(std::uint64_t salt, const Goods& g) const {
        return static_cast<std::int64_t>(mix64(salt ^ mix64(seed) ^ hash_text(g.id)) >> 1);
    }

    // The kept goods by ascending key, each key computed once.
    template <typename Keep, typename Key>
    std::vector<std::string> ordered(Keep keep, Key key) const {
        std::vector<std::pair<SortKey, const Goods*>> kept;
        for (const auto& g : goods) {
            if (keep(g)) {
                kept.emplace_back(key(g), &g);
            }
        }
        std::sort(kept.begin(), kept.end(),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
        std::vector<std::string> ids;
        ids.reserve(kept.size());
        for (const auto& entry : kept) {
            ids.push_back(entry.second->id);
        }
        return ids;
    }
};

std::string_view sort_value(Sort sort) {
    switch (sort) {
        case Sort::overall:
            return "default";
        case Sort::sales:
            return "_sales";
        case Sort::credit:
            return "_credit";
        case Sort::price_ascending:
            return "price";
        case Sort::price_descending:
            return "_price";
    }
    return "default";
}

std::optional<Sort> parse_sort(std::string_view value) {
    for (Sort s : kAllSorts) {
        if (sort_value(s) == value) {
            return s;
        }
    }
    return std::nullopt;
}

Catalogue::Catalogue(std::uint32_t seed) : data_(std::make_unique<Data>()) {
    data_->seed = seed;
    data_->build_tree();
    data_->build_goods();
}
Catalogue::~Catalogue() = default;
Catalogue::Catalogue(Catalogue&&) noexcept = default;
Catalogue& Catalogue::operator=(Catalogue&&) noexcept = default;

std::uint32_t Catalogue::seed() const {
    return data_->seed;
}
const std::vector<Goods>& Catalogue::goods() const {
    return data_->goods;
}

const Goods* Catalogue::find_goods(std::string_view id) const {
    const auto it = data_->by_id.find(std::string(id));
    return it == data_->by_id.end() ? nullptr : &data_->goods[it->second];
}

const Goods& Catalogue::sample() const {
    return *find_goods(kSampleGoodsId);
}

std::vector<Category> Catalogue::level1() const {
    std::vector<Category> out;
    for (const auto& c : data_->categories) {
        if (c.level == 1) {
            out.push_back(c);
        }
    }
    return out;
}

std::vector<Category> Catalogue::children(std::string_view category_id) const {
    std::vector<Category> out;
    for (const auto& c : data_->categories) {
        if (c.level > 1 && c.parent_id == category_id) {
            out.push_back(c);
        }
    }
    return out;
}

const Category* Catalogue::find_category(std::string_view id) const {
    const auto it = data_->category_by_id.find(id);
    return it == data_->category_by_id.end() ? nullptr : &data_->categories[it->second];
}

std::array<Category, 3> Catalogue::sample_categories() const {
    const Category& l3 = *find_category(tree::kSampleLevel3);
    const Category& l2 = *find_category(l3.parent_id);
    const Category& l1 = *find_category(l2.parent_id);
    return {l1, l2, l3};
}

const std::vector<Tab>& Catalogue::tabs() const {
    return data_->tabs;
}

const Tab& Catalogue::sample_tab() const {
    for (const auto& t : data_->tabs) {
        if (t.id == tree::kSampleTab) {
            return t;
        }
    }
    return data_->tabs.front();
}

std::vector<std::string> Catalogue::keyword_listing(std::string_view keyword, Sort sort,
                                                    int rank_shift) const {
    const auto& d = *data_;
    const auto salt = hash_text("search:" + std::string(keyword));
    // Goods whose name holds the keyword come first; the rest follow as
    // related goods, both parts in the sort's order.
    auto key = [&](const Goods& g) -> SortKey {
        const std::int64_t tier = g.name.find(keyword) == std::string::npos ? 1 : 0;
        const std::int64_t shuffle = d.shuffle_key(salt, g);
        switch (sort) {
            case Sort::sales:
                return {tier, -g.sales, 0, shuffle};
            case Sort::credit:
                return {tier, -g.rating_tenths, -g.sales, shuffle};
            case Sort::price_ascending:
                return {tier, g.price_fen, 0, shuffle};
            case Sort::price_descending:
                return {tier, -g.price_fen, 0, shuffle};
            case Sort::overall:
                break;
        }
        return {tier, 0, 0, shuffle};
    };
    auto ids = d.ordered([](const Goods&) { return true; }, key);
    if (sort == Sort::overall) {
        for (const auto& p : kKeywordPlants) {
            if (p.keyword == keyword) {
                plant(ids, kSampleGoodsId, p.position);
            }
        }
    }
    if (rank_shift != 0) {
        shift(ids, kSampleGoodsId, rank_shift);
    }
    return ids;
}

std::vector<std::string> Catalogue::category_listing(std::string_view category_id) const {
    const auto& d = *data_;
    const auto salt = hash_text("category:" + std::string(category_id));
    auto ids = d.ordered([&](const Goods& g) { return d.under(g, category_id); },
                         [&](const Goods& g) -> SortKey {
                             return {0, 0, 0, d.shuffle_key(salt, g)};
                         });
    const auto levels = sample_categories();
    for (std::size_t i = 0; i < levels.size(); ++i) {
        if (levels[i].id == category_id) {
            plant(ids, kSampleGoodsId, kLevelPlants[i]);
        }
    }
    return ids;
}

std::vector<std::string> Catalogue::tab_listing(std::string_view tab_id) const {
    const auto& d = *data_;
    const auto& entries = tree::tabs();
    const auto entry = std::find_if(entries.begin(), entries.end(),
                                    [&](const tree::TabEntry& t) { return t.id == tab_id; });
    if (entry == entries.end()) {
        return {};
    }
    const auto salt = hash_text("tab:" + std::string(tab_id));
    auto keep = [&](const Goods& g) {
        if (entry->level1_ids.empty()) {
            return true;
        }
        const auto l1 = d.level1_of(g);
        return std::find(entry->level1_ids.begin(), entry->level1_ids.end(), l1) !=
               entry->level1_ids.end();
    };
    // Popular goods lead a tab, shuffled within bands of similar sales.
    auto ids = d.ordered(keep, [&](const Goods& g) -> SortKey {
        return {-(g.sales / 5000), 0, 0, d.shuffle_key(salt, g)};
    });
    if (tab_id == tree::kSampleTab) {
        plant(ids, kSampleGoodsId, kTabPlant);
    } else {
        std::erase(ids, std::string(kSampleGoodsId));
    }
    return ids;
}

std::vector<std::string> Catalogue::new_goods_listing() const {
    const auto& d = *data_;
    const auto salt = hash_text("new");
    auto ids = d.ordered([](const Goods&) { return true; },
                         [&](const Goods& g) -> SortKey {
                             return {-g.listed_day, 0, 0, d.shuffle_key(salt, g)};
                         });
    plant(ids, kSampleGoodsId, kNewGoodsPlant);
    return ids;
}

}  // namespace sim
