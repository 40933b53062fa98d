#include "net/curl_handles.h"

#include <curl/curl.h>

#include <mutex>

namespace net {

void ensure_curl_ready() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    // curl_global_cleanup is never called: abandoned workers may still be
    // inside a transfer while the process ends.
}

void release_easy(void* handle) {
    curl_easy_cleanup(handle);
}
void release_multi(void* handle) {
    curl_multi_cleanup(handle);
}
void release_share(void* handle) {
    curl_share_cleanup(handle);
}

EasyHandle make_easy() {
    ensure_curl_ready();
    return EasyHandle(curl_easy_init());
}

MultiHandle make_multi() {
    ensure_curl_ready();
    return MultiHandle(curl_multi_init());
}

ShareHandle make_share() {
    ensure_curl_ready();
    return ShareHandle(curl_share_init());
}

HeaderList::HeaderList(const std::vector<std::string>& lines) {
    for (const auto& line : lines) {
        curl_slist* grown = curl_slist_append(list_, line.c_str());
        if (grown == nullptr) {
            complete_ = false;
            return;
        }
        list_ = grown;
    }
}

HeaderList::HeaderList(HeaderList&& other) noexcept
    : list_(other.list_), complete_(other.complete_) {
    other.list_ = nullptr;
}

HeaderList& HeaderList::operator=(HeaderList&& other) noexcept {
    if (this != &other) {
        curl_slist_free_all(list_);
        list_ = other.list_;
        complete_ = other.complete_;
        other.list_ = nullptr;
    }
    return *this;
}

HeaderList::~HeaderList() {
    curl_slist_free_all(list_);
}

}  // namespace net
