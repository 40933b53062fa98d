#include "net/url_parts.h"

#include <gtest/gtest.h>

#include "net/target_url.h"
#include "text/codepage.h"

namespace {

struct UrlCase {
    std::string url;
    std::string host;
    std::string path;
    int port;
    friend void PrintTo(const UrlCase& c, std::ostream* os) { *os << c.url; }
};

class UrlParts : public testing::TestWithParam<UrlCase> {};

TEST_P(UrlParts, SplitsHostPathAndPortAsWritten) {
    const UrlCase& c = GetParam();
    EXPECT_EQ(net::url_host(c.url), c.host);
    EXPECT_EQ(net::url_path(c.url), c.path);
    EXPECT_EQ(net::url_port(c.url), c.port);
}

INSTANTIATE_TEST_SUITE_P(
    Table, UrlParts,
    testing::Values(UrlCase{"http://www.example.test/x/y?z=1", "www.example.test", "/x/y?z=1", 80},
                    UrlCase{"http://WWW.Example.TEST:8080/p", "www.example.test", "/p", 8080},
                    // The port rule sees "https:" as the authority of an https URL.
                    UrlCase{"https://s.example.test/q", "s.example.test", "/q", 0},
                    UrlCase{"https://s.example.test:8443/q", "s.example.test", "/q", 0},
                    UrlCase{"example.test", "example.test", "/", 80},
                    UrlCase{"example.test:81", "example.test", "/", 81},
                    // The scheme deletions are exact in letter case; the port's prefix test is not.
                    UrlCase{"HTTP://A.test:82/x", "http", "//A.test:82/x", 82},
                    UrlCase{"http://a.test:abc/", "a.test", "/", 0},
                    UrlCase{"http://a.test:12x/", "a.test", "/", 12},
                    UrlCase{"http://a.test?x=1", "a.test?x=1", "/", 80},
                    UrlCase{"http://a.test/p?next=http://b.test/", "a.test",
                            "/p?next=http://b.test/", 80},
                    UrlCase{"", "", "/", 80},
                    UrlCase{"http://a.test:99999999999/", "a.test", "/", 0}));

TEST(UrlParts, FullWidthPortDigitsCountAsAscii) {
    const std::string url = "http://a.test:" + GBK("８０８１") + "/x";
    EXPECT_EQ(net::url_port(url), 8081);
}

struct SchemeCase {
    std::string url;
    std::string expected;
    friend void PrintTo(const SchemeCase& c, std::ostream* os) { *os << c.url; }
};

class WithScheme : public testing::TestWithParam<SchemeCase> {};

TEST_P(WithScheme, PrefixesUnlessExactSchemeLeads) {
    EXPECT_EQ(net::with_scheme(GetParam().url), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, WithScheme,
                         testing::Values(SchemeCase{"http://a.test/", "http://a.test/"},
                                         SchemeCase{"https://a.test/", "https://a.test/"},
                                         SchemeCase{"a.test/x", "http://a.test/x"},
                                         SchemeCase{"HTTP://a.test/", "http://HTTP://a.test/"},
                                         SchemeCase{"", "http://"}));

struct AddressCase {
    std::string url;
    std::string address;  // empty: no request is made
    friend void PrintTo(const AddressCase& c, std::ostream* os) { *os << c.url; }
};

class TransferAddress : public testing::TestWithParam<AddressCase> {};

TEST_P(TransferAddress, NamesSchemeHostPortAndPath) {
    EXPECT_EQ(net::transfer_address(GetParam().url), GetParam().address);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TransferAddress,
    testing::Values(AddressCase{"http://127.0.0.1:8080/a?b=1", "http://127.0.0.1:8080/a?b=1"},
                    AddressCase{"http://a.test/x", "http://a.test/x"},
                    AddressCase{"http://a.test:80/x", "http://a.test/x"},
                    AddressCase{"http://a.test:0/x", "http://a.test/x"},
                    // TLS always goes to 443, whatever port the URL names.
                    AddressCase{"https://a.test:8443/x", "https://a.test/x"},
                    AddressCase{"http://a.test:70000/", ""}, AddressCase{"http://a.test:-5/", ""},
                    AddressCase{"http:///x", ""}, AddressCase{"http://", ""},
                    AddressCase{"http://us er@a.test/", ""},
                    AddressCase{"http://evil@a.test/", ""}));

}  // namespace
