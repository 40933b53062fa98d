// Where korvel.ini puts the history: a server's address or a file's full
// path is taken, anything else refused with a reason and no history at all.
// (That a refused address's password shows nowhere: the korvel-check tests.)
#include "service/history_setting.h"

#include <gtest/gtest.h>

namespace {

// A full path on the platform the test runs on.
#if defined(_WIN32)
const std::string kFullPath = "C:\\korvel\\history.sqlite";
#else
const std::string kFullPath = "/srv/korvel/history.sqlite";
#endif

TEST(HistorySetting, AServerOrAFullPathIsTakenAndAnythingElseRefused) {
    struct Case {
        std::string url;
        bool taken;
    };
    const Case cases[] = {
        {"", true},
        {"postgresql://korvel:pw@db.test/korvel", true},
        {"postgres://db.test/korvel?sslmode=disable", true},
        {kFullPath, true},
        {"mysql://db.test/korvel", false},
        {"history.sqlite", false},
        {"postgresql://db.test/kor vel", false},
    };
    for (const Case& c : cases) {
        std::vector<std::string> messages;
        const auto setting = service::parse_history_setting("[history]\nurl=" + c.url, messages);
        EXPECT_EQ(setting.problem.empty(), c.taken) << c.url;
        EXPECT_EQ(messages.empty(), c.taken) << c.url;
        EXPECT_EQ(setting.location.text(), c.taken ? c.url : std::string()) << c.url;
    }
}

}  // namespace
