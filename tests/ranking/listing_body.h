#pragma once
// Listing response bodies for tests, in the shapes the marketplace answers
// with: keyword and category entries carry their goods id after another key
// and a thumb key further on; 爱逛街 and new-goods objects begin with it.
#include <string>
#include <vector>

namespace listing_body {

struct Entry {
    std::string goods_id;
    bool thumb = true;
};

inline std::vector<Entry> ids(const std::vector<std::string>& goods_ids) {
    std::vector<Entry> out;
    for (const auto& id : goods_ids)
        out.push_back({id, true});
    return out;
}

inline std::vector<Entry> numbered(int first, int count) {
    std::vector<Entry> out;
    for (int i = 0; i < count; ++i)
        out.push_back({std::to_string(first + i), true});
    return out;
}

inline std::string keyword_entry(const Entry& e) {
    std::string s = R"({"cnt":7,"goods_id":)" + e.goods_id + R"(,"goods_name":"name )" +
                    e.goods_id + R"(","hd_thumb_wm":"",)";
    if (e.thumb)
        s += R"("thumb_url":"http://img.test/)" + e.goods_id + R"(.jpg",)";
    s += R"("price":990})";
    return s;
}

inline std::string keyword_listing(const std::vector<Entry>& entries) {
    std::string s = R"({"goods_list":[)";
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i > 0)
            s += ',';
        s += keyword_entry(entries[i]);
    }
    return s + R"(],"total":)" + std::to_string(entries.size()) + "}";
}

inline std::string object_listing(const std::vector<Entry>& entries) {
    std::string s = R"({"list":[)";
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i > 0)
            s += ',';
        s += R"({"goods_id":)" + entries[i].goods_id + R"(,"goods_name":"n","price":5})";
    }
    return s + "]}";
}

}  // namespace listing_body
