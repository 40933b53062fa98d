#pragma once
// Response bodies of every endpoint, as pure functions of the catalogue, the
// request's values and the options. All bodies are UTF-8.
#include <cstdint>
#include <string>
#include <string_view>

#include "sim_catalogue.h"
#include "sim_server.h"

namespace sim::pages {

struct ListingRequest {
    int page = 1;
    int size = 20;
};

std::string goods_page(const Goods* goods);  // a "not found" page when null

std::string search(const Catalogue& catalogue, std::string_view keyword, Sort sort,
                   ListingRequest request, const Options& options);
// /operation/ID/groups: the sub-categories of ID in "opt_infos" (empty when
// `blank`), then "debugInfo", then page `request.page` of ID's listing.
std::string groups(const Catalogue& catalogue, std::string_view category_id, ListingRequest request,
                   bool blank, const Options& options);
std::string tab_list(const Catalogue& catalogue, const Options& options);
std::string tab_goods(const Catalogue& catalogue, std::string_view tab_id, ListingRequest request,
                      const Options& options);
std::string new_goods(const Catalogue& catalogue, ListingRequest request, const Options& options);

// Vendor info server. `host` is "127.0.0.1:PORT", for the download address.
std::string category_names(const Catalogue& catalogue, const Options& options);       // id=70
std::string announcement_and_version(const Options& options, std::string_view host);  // id=71
std::string download_address(const Options& options, std::string_view host);
std::string download_body(const Options& options);
std::string more_tools();
std::string home();

std::string default_announcement();
std::string error_page(int status);
// Seeded bytes without any ASCII letter, so no marker can appear in them.
std::string garbage(std::uint32_t seed);

}  // namespace sim::pages
