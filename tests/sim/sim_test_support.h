#pragma once
// Shared by the simulator's tests: a running simulator on a free port, and
// readers that use the program's own text helpers and pattern object.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "pattern/regex_object.h"
#include "sim_catalogue.h"
#include "sim_client.h"
#include "sim_server.h"
#include "text/codepage.h"
#include "text/fields.h"

namespace simtest {

inline sim::Options on_free_port(sim::Options options = {}) {
    options.port = 0;
    return options;
}

// A simulator started for one test and stopped with it.
class SimTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(server.start()); }

    // The body of a GET that must be answered.
    std::string get(const std::string& target) {
        const auto reply = sim::http_get(server.port(), target);
        EXPECT_TRUE(reply.answered) << target;
        return reply.body;
    }
    sim::HttpReply reply(const std::string& target) { return sim::http_get(server.port(), target); }
    void change(void (*edit)(sim::Options&)) {
        auto o = server.options();
        edit(o);
        server.set_options(o);
    }

    sim::Server server{on_free_port()};
    sim::Catalogue catalogue{1};
};

inline std::string gbk(std::string_view utf8) {
    return text::utf8_to_gbk(utf8);
}

inline std::string between(std::string_view text, std::string start, std::string end) {
    return text::text_between(text, start, end);
}

// Group `group` of every match of `pattern` in `subject`, in order.
inline std::vector<std::string> captures(std::string_view pattern, std::string_view subject,
                                         int group = 1) {
    pattern::RegexObject re;
    re.create(pattern, subject);
    std::vector<std::string> out;
    for (int i = 1; i <= re.match_count(); ++i) {
        out.push_back(re.submatch(i, group));
    }
    return out;
}

// The program's patterns, character for character.
// Keyword and category listings: 1 goods id, 2 the keys up to the thumb key.
inline constexpr std::string_view kThumbListingPattern = R"re(,"goods_id":(.*?),"(.*?)"thumb)re";
// Tab and new-goods listings: 1 goods id.
inline constexpr std::string_view kIdFirstListingPattern = R"re({"goods_id":(.*?),)re";
// Sub-category entries: 1 category id, 2 priority, 3 category name.
inline constexpr std::string_view kOptInfoPattern =
    R"re("id":(.*?),"priority":(.*?),"opt_name":"(.*?)")re";
// Tab list entries: 1 tab id, 2 tab name.
inline constexpr std::string_view kTabPattern = R"re(tab_id":(.*?),"tab":"(.*?)","subjec)re";

inline std::string search_target(std::string_view keyword_escaped, sim::Sort sort, int page) {
    return "/search?q=" + std::string(keyword_escaped) + "&requery=0&page=" + std::to_string(page) +
           "&size=500&sort=" + std::string(sim::sort_value(sort));
}

// The keyword as Korvel puts it into q: every byte outside , - . / digits
// and letters as %XX.
inline std::string percent_encoded(std::string_view utf8) {
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : utf8) {
        const bool plain = (c >= 44 && c <= 57) || (c >= 65 && c <= 90) || (c >= 97 && c <= 122);
        if (plain) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += digits[c >> 4];
            out += digits[c & 15];
        }
    }
    return out;
}

}  // namespace simtest
