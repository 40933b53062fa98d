#include "net/cookie_store.h"

#include <curl/curl.h>

#include <array>
#include <mutex>

#include "net/curl_handles.h"

namespace net {

namespace {

class CookieStore {
  public:
    CookieStore() : share_(make_share()) {
        if (!share_) {
            return;
        }
        curl_share_setopt(share_.get(), CURLSHOPT_LOCKFUNC, &CookieStore::lock);
        curl_share_setopt(share_.get(), CURLSHOPT_UNLOCKFUNC, &CookieStore::unlock);
        curl_share_setopt(share_.get(), CURLSHOPT_USERDATA, this);
        curl_share_setopt(share_.get(), CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
    }

    void* share() const { return share_.get(); }

  private:
    static void lock(CURL*, curl_lock_data data, curl_lock_access, void* self) {
        static_cast<CookieStore*>(self)->mutex_for(data).lock();
    }
    static void unlock(CURL*, curl_lock_data data, void* self) {
        static_cast<CookieStore*>(self)->mutex_for(data).unlock();
    }
    std::mutex& mutex_for(curl_lock_data data) {
        const auto index = static_cast<std::size_t>(data);
        return mutexes_[index < mutexes_.size() ? index : 0];
    }

    ShareHandle share_;
    std::array<std::mutex, CURL_LOCK_DATA_LAST> mutexes_;
};

// Never destroyed: a worker abandoned after a timeout may still be using the
// store while the process ends.
CookieStore& store() {
    static CookieStore* const instance = new CookieStore;
    return *instance;
}

// Runs `edit` on a handle attached to the store, for changes outside a transfer.
template <typename Edit>
void edit_store(Edit edit) {
    EasyHandle handle = make_easy();
    if (!handle || store().share() == nullptr) {
        return;
    }
    use_cookie_store(handle.get());
    edit(handle.get());
    curl_easy_setopt(handle.get(), CURLOPT_SHARE, nullptr);
}

}  // namespace

void use_cookie_store(void* easy) {
    if (store().share() != nullptr) {
        curl_easy_setopt(easy, CURLOPT_SHARE, store().share());
    }
    curl_easy_setopt(easy, CURLOPT_COOKIEFILE, "");
}

void use_private_jar(void* easy) {
    curl_easy_setopt(easy, CURLOPT_COOKIEFILE, "");
}

void copy_received_cookies(void* easy) {
    curl_slist* received = nullptr;
    if (curl_easy_getinfo(easy, CURLINFO_COOKIELIST, &received) != CURLE_OK ||
        received == nullptr) {
        return;
    }
    edit_store([received](void* handle) {
        for (const curl_slist* line = received; line != nullptr; line = line->next) {
            curl_easy_setopt(handle, CURLOPT_COOKIELIST, line->data);
        }
    });
    curl_slist_free_all(received);
}

void clear_cookies() {
    edit_store([](void* handle) { curl_easy_setopt(handle, CURLOPT_COOKIELIST, "ALL"); });
}

}  // namespace net
