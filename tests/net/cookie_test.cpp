// The shared cookie store, seen through both routines.
#include <gtest/gtest.h>

#include "net/cookie_store.h"
#include "net/fetch_page.h"
#include "net/goods_page.h"
#include "plain/raw_http_server.h"

namespace {

using test::RawHttpServer;
using test::Reply;

// "/set?name=N" sets N=1 with attributes; "/solo" sets a cookie line without
// ";"; "/echo" answers with the Cookie header it received.
Reply cookie_route(const std::string& request) {
    const std::string target = test::request_target(request);
    if (target.starts_with("/set?name=")) {
        return Reply::ok("set", "Set-Cookie: " + target.substr(10) + "=1; Path=/\r\n");
    }
    if (target == "/solo") {
        return Reply::ok("solo", "Set-Cookie: solo=7\r\n");
    }
    return Reply::ok(test::header_value(request, "Cookie"));
}

class Cookies : public testing::Test {
  protected:
    void SetUp() override { net::clear_cookies(); }

    std::string fetch(const std::string& path, const net::FetchOptions& options = {}) {
        std::string url = server.url(path);
        return net::fetch_page(url, options);
    }
    std::string goods(const std::string& path, const net::GoodsFetchOptions& options = {}) {
        std::string url = server.url(path);
        return net::网页_访问(url, options);
    }

    RawHttpServer server{cookie_route};
};

TEST_F(Cookies, FetchPageCookieIsSentByTheGoodsPageFetch) {
    fetch("/set?name=from_fetch");
    EXPECT_EQ(goods("/echo"), "from_fetch=1");
}

TEST_F(Cookies, GoodsPageCookieIsSentByFetchPage) {
    goods("/set?name=from_goods");
    EXPECT_EQ(fetch("/echo"), "from_goods=1");
}

TEST_F(Cookies, ClearingForgetsThem) {
    fetch("/set?name=gone");
    net::clear_cookies();
    EXPECT_EQ(fetch("/echo"), "");
}

TEST_F(Cookies, ExplicitCookieKeepsTheStoreOut) {
    fetch("/set?name=stored");
    net::FetchOptions options;
    options.cookie = "mine=2";
    EXPECT_EQ(fetch("/echo", options), "mine=2");
    net::GoodsFetchOptions goods_options;
    goods_options.cookie = "mine=3";
    EXPECT_EQ(goods("/echo", goods_options), "mine=3");
}

TEST_F(Cookies, ResponseToAnExplicitCookieStillFillsTheStore) {
    net::FetchOptions options;
    options.cookie = "mine=2";
    fetch("/set?name=kept", options);
    net::GoodsFetchOptions goods_options;
    goods_options.cookie = "mine=3";
    goods("/set?name=kept_too", goods_options);
    const std::string sent = fetch("/echo");
    EXPECT_NE(sent.find("kept=1"), std::string::npos) << sent;
    EXPECT_NE(sent.find("kept_too=1"), std::string::npos) << sent;
}

TEST_F(Cookies, LineWithoutSemicolonCollectsOnlyTheSemicolonButIsStored) {
    std::string collected;
    net::FetchOptions options;
    options.response_cookies = &collected;
    EXPECT_EQ(fetch("/solo", options), "solo");
    EXPECT_EQ(collected, ";");
    EXPECT_EQ(fetch("/echo"), "solo=7");
}

TEST_F(Cookies, CollectedCookiesNameEachValue) {
    std::string collected;
    net::FetchOptions options;
    options.response_cookies = &collected;
    fetch("/set?name=abc", options);
    EXPECT_EQ(collected, "abc=1;");
}

}  // namespace
