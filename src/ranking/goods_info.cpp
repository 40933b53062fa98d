#include "ranking/goods_info.h"

#include "net/goods_page.h"
#include "net/remote_addresses.h"
#include "text/codepage.h"
#include "text/fields.h"
#include "text/primitives.h"

namespace ranking {

namespace {

std::string field(std::string_view page, const char* start, const char* end) {
    std::string start_marker = start;
    std::string end_marker = end;
    return text::text_between(page, start_marker, end_marker);
}

}  // namespace

bool is_goods_link(std::string_view input, std::string_view domain_word) {
    // An empty word would mark every input as a link.
    return !domain_word.empty() && text::find(input, domain_word, 1, true) != -1;
}

std::string goods_page_url(std::string_view input, const net::Hosts& hosts) {
    if (is_goods_link(input, hosts.domain_word))
        return text::trim(input);
    return net::goods_page_url(hosts, input);
}

GoodsInfo parse_goods_page(std::string_view page) {
    // The Goods ID is kept as cut; the scan trims both sides when it compares.
    return {field(page, R"(goodsID":)", ","), field(page, R"(goodsName":")", R"(",)"),
            field(page, R"(mallName":")", R"(",)")};
}

GoodsInfo fetch_goods_info(std::string_view input, const net::Hosts& hosts) {
    const std::string body = net::fetch_page_text(goods_page_url(input, hosts));
    return parse_goods_page(text::utf8_to_gbk(body));
}

}  // namespace ranking
