#include "catalogue/load_tickets.h"

#include <gtest/gtest.h>

namespace catalogue {
namespace {

TEST(LoadTickets, NewerLoadOfTheSameLevelSupersedesTheOlder) {
    for (ListKind kind : {ListKind::Level2, ListKind::Level3}) {
        LoadTickets tickets;
        const Ticket older = begin_sub_level_load(tickets, kind);
        EXPECT_FALSE(superseded(tickets, kind, older));
        const Ticket newer = begin_sub_level_load(tickets, kind);
        EXPECT_TRUE(superseded(tickets, kind, older));
        EXPECT_FALSE(superseded(tickets, kind, newer));
    }
}

TEST(LoadTickets, Level2LoadSupersedesARunningLevel3LoadButNotTheOtherWay) {
    LoadTickets tickets;
    const Ticket level2 = begin_sub_level_load(tickets, ListKind::Level2);
    const Ticket level3 = begin_sub_level_load(tickets, ListKind::Level3);
    EXPECT_FALSE(superseded(tickets, ListKind::Level2, level2));
    begin_sub_level_load(tickets, ListKind::Level2);
    EXPECT_TRUE(superseded(tickets, ListKind::Level3, level3));
    const Ticket level2_now = tickets.level2;
    begin_sub_level_load(tickets, ListKind::Level3);
    EXPECT_FALSE(superseded(tickets, ListKind::Level2, level2_now));
}

TEST(LoadTickets, ExclusiveLoadRefusesASecondLoadOfTheSameListUntilTheFirstEnds) {
    for (ListKind kind : {ListKind::Level1, ListKind::Tabs}) {
        LoadTickets tickets;
        {
            const ExclusiveLoad first(tickets, kind);
            ASSERT_TRUE(first.running());
            const ExclusiveLoad second(tickets, kind);
            EXPECT_FALSE(second.running());
        }
        const ExclusiveLoad again(tickets, kind);
        EXPECT_TRUE(again.running());
    }
}

TEST(LoadTickets, Level1AndTabLoadsDoNotBlockEachOther) {
    LoadTickets tickets;
    const ExclusiveLoad level1(tickets, ListKind::Level1);
    const ExclusiveLoad tabs(tickets, ListKind::Tabs);
    EXPECT_TRUE(level1.running());
    EXPECT_TRUE(tabs.running());
}

}  // namespace
}  // namespace catalogue
