#include "sim_routes.h"

#include <charconv>
#include <regex>

#include "sim_pages.h"

namespace sim {

namespace {

constexpr std::string_view kJson = "application/json; charset=utf-8";
constexpr std::string_view kHtml = "text/html; charset=utf-8";
// Sub-category lists ask for 20 entries; ranking pages for 500.
constexpr int kSubCategorySize = 20;

std::string param(const RouteRequest& r, const std::string& key) {
    const auto it = r.params.find(key);
    return it == r.params.end() ? std::string{} : it->second;
}

int int_param(const RouteRequest& r, const std::string& key, int fallback) {
    const std::string text = param(r, key);
    int value = fallback;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc{} && end == text.data() + text.size() ? value : fallback;
}

pages::ListingRequest listing_request(const RouteRequest& r, const std::string& page_key) {
    return {int_param(r, page_key, 1), int_param(r, "size", 20)};
}

Reply json(std::string body) {
    return {200, std::string(kJson), std::move(body)};
}
Reply html(std::string body) {
    return {200, std::string(kHtml), std::move(body)};
}
Reply not_found() {
    return {404, std::string(kHtml), pages::error_page(404)};
}

// Takes one blank answer from a budget when there is one left.
bool take_blank(int& budget) {
    if (budget < 0) {
        return true;
    }
    if (budget > 0) {
        --budget;
        return true;
    }
    return false;
}

Reply groups(const Catalogue& catalogue, const Options& options, const RouteRequest& r,
             const std::string& id, BlankBudget& blanks) {
    const auto request = listing_request(r, "opt_type");
    bool blank = false;
    if (request.size <= kSubCategorySize) {
        if (const Category* c = catalogue.find_category(id)) {
            blank = (c->level == 1 && take_blank(blanks.level2)) ||
                    (c->level == 2 && take_blank(blanks.level3));
        }
    }
    return json(pages::groups(catalogue, id, request, blank, options));
}

Reply info(const Catalogue& catalogue, const Options& options, const RouteRequest& r,
           std::string_view host) {
    const std::string id = param(r, "id");
    if (id == "70") {
        return html(pages::category_names(catalogue, options));
    }
    if (id == "71") {
        return html(pages::announcement_and_version(options, host));
    }
    return not_found();
}

// Group 1: the category id between "/operation/" and "/groups".
const std::regex& operation_path() {
    static const std::regex pattern("^/operation/([^/]+)/groups$");
    return pattern;
}

}  // namespace

PathKind path_kind(const RouteRequest& r) {
    const std::string& path = r.path;
    if (path == "/goods2.html") {
        return PathKind::goods_page;
    }
    if (path == "/search") {
        return PathKind::keyword_page;
    }
    if (path == "/v5/newlist") {
        return PathKind::new_goods_page;
    }
    if (std::regex_match(path, operation_path())) {
        return listing_request(r, "opt_type").size <= kSubCategorySize ? PathKind::category_list
                                                                       : PathKind::category_page;
    }
    if (path == "/ishopping/tablist") {
        return PathKind::tab_list;
    }
    if (path == "/ishopping/goods") {
        return PathKind::tab_page;
    }
    if (path == "/info.asp" || path == "/1.html" || path == "/" || path == "/index.html" ||
        path.starts_with("/download/")) {
        return PathKind::vendor;
    }
    return PathKind::other;
}

Reply too_many_requests(const Options& options) {
    Reply reply{429, std::string(kHtml), pages::error_page(429)};
    reply.retry_after = options.retry_after >= 0 ? options.retry_after : 1;
    return reply;
}

Reply route(const Catalogue& catalogue, const Options& options, const RouteRequest& r,
            std::string_view host, BlankBudget& blanks) {
    const std::string& path = r.path;
    if (path == "/goods2.html") {
        const Goods* g = catalogue.find_goods(param(r, "goods_id"));
        return html(pages::goods_page(g));
    }
    if (path == "/search") {
        const Sort sort = parse_sort(param(r, "sort")).value_or(Sort::overall);
        return json(
            pages::search(catalogue, param(r, "q"), sort, listing_request(r, "page"), options));
    }
    if (path == "/v5/newlist") {
        if (param(r, "list_id") != kNewGoodsListId) {
            return json(R"({"list_id":"","goods":[]})");
        }
        return json(pages::new_goods(catalogue, listing_request(r, "page"), options));
    }
    std::smatch m;
    if (std::regex_match(path, m, operation_path())) {
        return groups(catalogue, options, r, m[1].str(), blanks);
    }
    if (path == "/ishopping/tablist") {
        return json(pages::tab_list(catalogue, options));
    }
    if (path == "/ishopping/goods") {
        return json(
            pages::tab_goods(catalogue, param(r, "tab_id"), listing_request(r, "page"), options));
    }
    if (path == "/info.asp") {
        return info(catalogue, options, r, host);
    }
    if (path == "/1.html") {
        return html(pages::more_tools());
    }
    if (path == "/" || path == "/index.html") {
        return html(pages::home());
    }
    // Any file under /download/ is the new program file (the published
    // address names "/download/Korvel" + version).
    if (path.starts_with("/download/")) {
        return {200, "application/octet-stream", pages::download_body(options)};
    }
    return not_found();
}

}  // namespace sim
