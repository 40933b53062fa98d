#pragma once
// Move-only owners of libcurl handles. libcurl's handle types are plain void
// pointers (struct curl_slist aside), so this header gets by without curl.h;
// the .cpp files that configure the handles include it themselves.
#include <string>
#include <vector>

struct curl_slist;

namespace net {

// Runs libcurl's global set-up once per process (thread-safe).
void ensure_curl_ready();

template <void (*Release)(void*)>
class CurlOwner {
  public:
    CurlOwner() = default;
    explicit CurlOwner(void* handle) : handle_(handle) {}
    CurlOwner(CurlOwner&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
    CurlOwner& operator=(CurlOwner&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = other.handle_;
            other.handle_ = nullptr;
        }
        return *this;
    }
    CurlOwner(const CurlOwner&) = delete;
    CurlOwner& operator=(const CurlOwner&) = delete;
    ~CurlOwner() { reset(); }

    void* get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void reset() {
        if (handle_ != nullptr) {
            Release(handle_);
            handle_ = nullptr;
        }
    }

  private:
    void* handle_ = nullptr;
};

void release_easy(void* handle);
void release_multi(void* handle);
void release_share(void* handle);

using EasyHandle = CurlOwner<release_easy>;
using MultiHandle = CurlOwner<release_multi>;
using ShareHandle = CurlOwner<release_share>;

EasyHandle make_easy();  // empty owner when libcurl cannot make one
MultiHandle make_multi();
ShareHandle make_share();

// A header list for CURLOPT_HTTPHEADER.
class HeaderList {
  public:
    HeaderList() = default;
    explicit HeaderList(const std::vector<std::string>& lines);
    HeaderList(HeaderList&& other) noexcept;
    HeaderList& operator=(HeaderList&& other) noexcept;
    HeaderList(const HeaderList&) = delete;
    HeaderList& operator=(const HeaderList&) = delete;
    ~HeaderList();

    curl_slist* get() const { return list_; }
    bool complete() const { return complete_; }  // false when an append failed

  private:
    curl_slist* list_ = nullptr;
    bool complete_ = true;
};

}  // namespace net
