// Saved boards and change notices, on every engine.
#include "history_fixture.h"

namespace {

using history::Board;
using history::ErrorCode;
using history::Notice;
using history_test::StoreContract;

TEST_P(StoreContract, BoardsAreSavedListedReplacedAndDeleted) {
    auto store = open_store();
    // The definition is opaque: line ends, a NUL and Chinese come back as given.
    const std::string definition = std::string("goods=1001\r\nkeywords=辣条\n") + '\0' + "tail";
    ASSERT_TRUE(store.save_board("早市", definition, 1000).ok());
    ASSERT_TRUE(store.save_board("Alpha", "x", 1500).ok());
    EXPECT_EQ(store.board_names().value(), (std::vector<std::string>{"Alpha", "早市"}));

    EXPECT_EQ(store.load_board("早市").value(), (Board{"早市", definition, 1000, 1000}));

    ASSERT_TRUE(store.save_board("早市", "goods=2002", 2000).ok());
    EXPECT_EQ(store.load_board("早市").value(), (Board{"早市", "goods=2002", 1000, 2000}));
    EXPECT_EQ(store.board_names().value().size(), 2u);

    EXPECT_TRUE(store.delete_board("早市").value());
    EXPECT_FALSE(store.delete_board("早市").value());
    const auto gone = store.load_board("早市");
    ASSERT_FALSE(gone.ok());
    EXPECT_EQ(gone.error().code, ErrorCode::not_found);
    EXPECT_EQ(store.board_names().value(), std::vector<std::string>{"Alpha"});
}

Notice notice(std::string board, std::int64_t time_ms, std::string message) {
    return Notice{0,
                  std::move(board),
                  time_ms,
                  history::Listing::keyword,
                  "辣条",
                  history::Sort::sales,
                  "1001",
                  "rank",
                  "第3名",
                  "第40名",
                  std::move(message)};
}

TEST_P(StoreContract, NoticesListPerBoardInTimeOrderFromAnInclusiveSince) {
    auto store = open_store();
    ASSERT_TRUE(store.add_notice(notice("早市", 300, "late")).ok());
    ASSERT_TRUE(store.add_notice(notice("早市", 100, "early")).ok());
    ASSERT_TRUE(store.add_notice(notice("other", 200, "elsewhere")).ok());
    ASSERT_TRUE(store.add_notice(notice("早市", 200, "middle")).ok());

    const auto messages = [&](std::optional<std::int64_t> since,
                              std::optional<std::size_t> newest = {}) {
        std::vector<std::string> texts;
        for (const auto& n : store.notices("早市", since, newest).value()) {
            texts.push_back(n.message);
        }
        return texts;
    };
    EXPECT_EQ(messages({}), (std::vector<std::string>{"early", "middle", "late"}));
    EXPECT_EQ(messages(200), (std::vector<std::string>{"middle", "late"}));
    EXPECT_TRUE(messages(301).empty());
    EXPECT_EQ(messages({}, 2), (std::vector<std::string>{"middle", "late"}));
    EXPECT_EQ(messages(200, 5), (std::vector<std::string>{"middle", "late"}));

    Notice want = notice("早市", 300, "late");
    want.id = store.notices("早市", 300).value().at(0).id;
    EXPECT_GT(want.id, 0);
    EXPECT_EQ(store.notices("早市", 300).value(), std::vector<Notice>{want});
}

}  // namespace
