#pragma once
// Keywords the simulator's catalogue answers with real listings: the sample
// keywords, then level-2 category names until there are `count` different
// ones; GBK, as a board keeps them.
#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "sim_catalogue.h"
#include "text/codepage.h"

namespace bench {

inline std::vector<std::string> catalogue_keywords(const sim::Catalogue& catalogue,
                                                   std::size_t count) {
    std::vector<std::string> keywords(sim::kSampleKeywords.begin(), sim::kSampleKeywords.end());
    std::set<std::string> seen(keywords.begin(), keywords.end());
    for (const sim::Category& level1 : catalogue.level1()) {
        for (const sim::Category& level2 : catalogue.children(level1.id)) {
            if (keywords.size() < count && seen.insert(level2.name).second)
                keywords.push_back(level2.name);
        }
    }
    keywords.resize(std::min(keywords.size(), count));
    for (std::string& keyword : keywords)
        keyword = text::utf8_to_gbk(keyword);
    return keywords;
}

}  // namespace bench
