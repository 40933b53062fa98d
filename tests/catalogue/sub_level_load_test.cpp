// Levels 2 and 3 against the simulator: the loads a choice starts, their
// requests, blank answers tried again, and choices made while a load waits.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <optional>

#include "catalogue/loaders.h"
#include "plain/scoped_hosts.h"
#include "plain_view.h"
#include "probe_pump.h"
#include "sim_catalogue.h"
#include "sim_lists.h"
#include "sim_server.h"
#include "text/codepage.h"

namespace catalogue {
namespace {

using namespace catalogue_test;

int index_of(const std::vector<std::string>& ids, const std::string& id) {
    const auto it = std::find(ids.begin(), ids.end(), id);
    return it == ids.end() ? -1 : static_cast<int>(it - ids.begin());
}

// The targets the catalogue asks for, written out.
std::string level2_target(const std::string& id) {
    return "/operation/" + id + "/groups?offset=0&opt_type=1&size=20&sort_type=DEFAULT&qmxuid=0";
}
std::string level3_target(const std::string& id) {
    return "/operation/" + id + "/groups?opt_type=2&offset=0&size=20&sort_type=DEFAULT&qmxuid=0";
}

class SubLevelLoad : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(server.start());
        w.data.hosts = test::all_hosts_on(server.host());
        w.load_level1();
        ASSERT_GE(w.items(ListKind::Level1).size(), 5u);
    }

    void set_blank_level2(int n) {
        sim::Options options = server.options();
        options.blank_level2_answers = n;
        server.set_options(options);
    }

    // Chooses the category with this id in a box as a user would.
    void choose_id(ListKind kind, const std::string& id) {
        const int index = index_of(w.data.list(kind).ids, id);
        ASSERT_GE(index, 0) << "id " << id << " not in the box";
        w.choose(kind, index);
    }

    // A level-1 category other than the sample's.
    std::string other_level1() const {
        const auto& ids = w.data.level1.ids;
        return ids.at(ids.at(0) == sample[0].id ? 1 : 0);
    }

    Expected children(const std::string& id) const {
        return first(expected(truth.children(id)), 20);
    }
    Expected shown(ListKind kind) const { return Expected{w.items(kind), w.data.list(kind).ids}; }
    LinkState link() const { return w.view.link(Link::category); }

    int requests_for(const std::string& target) const {
        const auto all = server.requests();
        return static_cast<int>(std::count_if(all.begin(), all.end(),
                                              [&](const auto& r) { return r.target == target; }));
    }

    sim::Server server{on_any_port()};
    sim::Catalogue truth{server.options().seed};
    std::array<sim::Category, 3> sample = truth.sample_categories();
    PlainWindow w;
};

void expect_same(const Expected& got, const Expected& want) {
    EXPECT_EQ(got.names, want.names);
    EXPECT_EQ(got.ids, want.ids);
}

TEST_F(SubLevelLoad, Level1ThenLevel2FillBothInResponseOrder) {
    choose_id(ListKind::Level1, sample[0].id);
    EXPECT_EQ(w.data.level1.chosen_id, sample[0].id);
    EXPECT_EQ(requests_for(level2_target(sample[0].id)), 1);
    ASSERT_FALSE(children(sample[0].id).ids.empty());
    expect_same(shown(ListKind::Level2), children(sample[0].id));
    EXPECT_EQ(w.view.box(ListKind::Level2).chosen, -1);

    choose_id(ListKind::Level2, sample[1].id);
    EXPECT_EQ(w.data.level2.chosen_id, sample[1].id);
    EXPECT_EQ(requests_for(level3_target(sample[1].id)), 1);
    expect_same(shown(ListKind::Level3), children(sample[1].id));
    EXPECT_EQ(w.view.box(ListKind::Level3).chosen, -1);

    choose_id(ListKind::Level3, sample[2].id);
    EXPECT_EQ(w.data.level3.chosen_id, sample[2].id);
    EXPECT_FALSE(link().visible);
}

TEST_F(SubLevelLoad, LinkShowsTheLevelsProgressCaptionWhileFetching) {
    std::vector<LinkState> seen;
    ProbePump pump([&](int) { seen.push_back(link()); });
    choose_id(ListKind::Level1, sample[0].id);
    choose_id(ListKind::Level2, sample[1].id);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].caption, GBK("二级类目获取中……"));
    EXPECT_EQ(seen[1].caption, GBK("三级类目获取中……"));
    for (const LinkState& s : seen) {
        EXPECT_TRUE(s.visible);
        EXPECT_EQ(s.colour, LinkColour::Blue);
    }
}

TEST_F(SubLevelLoad, AFailedLevel1LinkStaysClickableThroughASubLevelLoad) {
    w.data.category_link = {true, true, GBK("获取类目名称失败，点击这里重新获取…"),
                            LinkColour::Red};
    choose_id(ListKind::Level1, sample[0].id);
    EXPECT_FALSE(link().visible);
    EXPECT_TRUE(link().enabled);
}

TEST_F(SubLevelLoad, TwoBlankAnswersAreTriedAgainAndListedOnce) {
    set_blank_level2(2);
    choose_id(ListKind::Level1, sample[0].id);
    EXPECT_EQ(requests_for(level2_target(sample[0].id)), 3);
    expect_same(shown(ListKind::Level2), children(sample[0].id));
    EXPECT_FALSE(link().visible);
}

TEST_F(SubLevelLoad, BlankEveryTimeStopsAfterThreeTriesWithAnEmptyBoxAndHiddenLink) {
    set_blank_level2(-1);
    std::vector<std::string> captions;
    ProbePump pump([&](int) { captions.push_back(link().caption); });
    choose_id(ListKind::Level1, sample[0].id);
    EXPECT_EQ(requests_for(level2_target(sample[0].id)), kSubLevelTries);
    EXPECT_EQ(captions, std::vector<std::string>(3, GBK("二级类目获取中……")));
    EXPECT_TRUE(w.items(ListKind::Level2).empty());
    EXPECT_TRUE(w.data.level2.ids.empty());
    EXPECT_FALSE(link().visible);
}

TEST_F(SubLevelLoad, NewLevel1ChoiceEmptiesLowerLevelsAtOnceAndKeepsHolders) {
    choose_id(ListKind::Level1, sample[0].id);
    choose_id(ListKind::Level2, sample[1].id);
    choose_id(ListKind::Level3, sample[2].id);
    const std::string other = other_level1();

    struct Seen {
        std::size_t box2, box3;
        std::string buffer2, holder1, holder2, holder3;
    };
    std::vector<Seen> seen;
    ProbePump pump([&](int) {
        seen.push_back({w.items(ListKind::Level2).size(), w.items(ListKind::Level3).size(),
                        w.data.level2.buffer, w.data.level1.chosen_id, w.data.level2.chosen_id,
                        w.data.level3.chosen_id});
    });
    choose_id(ListKind::Level1, other);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].box2, 0u);
    EXPECT_EQ(seen[0].box3, 0u);
    EXPECT_EQ(seen[0].buffer2, "");
    EXPECT_EQ(seen[0].holder1, other);
    EXPECT_EQ(seen[0].holder2, sample[1].id);
    EXPECT_EQ(seen[0].holder3, sample[2].id);
    // Afterwards: level 2 shows the new children, level 3 stays empty and
    // unchosen, the holders below keep their ids until a new choice.
    expect_same(shown(ListKind::Level2), children(other));
    EXPECT_TRUE(w.items(ListKind::Level3).empty());
    EXPECT_EQ(w.view.box(ListKind::Level2).text(), "");
    EXPECT_EQ(w.view.box(ListKind::Level3).text(), "");
    EXPECT_EQ(w.data.level2.chosen_id, sample[1].id);
    EXPECT_EQ(w.data.level3.chosen_id, sample[2].id);
}

TEST_F(SubLevelLoad, ChoiceDuringAFetchWinsAndTheOlderAnswerIsDropped) {
    const std::string other = other_level1();
    ProbePump pump([&](int wait) {
        if (wait == 1)
            choose_id(ListKind::Level1, other);
    });
    choose_id(ListKind::Level1, sample[0].id);
    EXPECT_EQ(requests_for(level2_target(sample[0].id)), 1);
    EXPECT_EQ(requests_for(level2_target(other)), 1);
    EXPECT_EQ(w.data.level1.chosen_id, other);
    expect_same(shown(ListKind::Level2), children(other));
    EXPECT_FALSE(link().visible);
}

TEST_F(SubLevelLoad, Level1ChoiceDuringALevel3FetchLeavesLevel3Empty) {
    choose_id(ListKind::Level1, sample[0].id);
    const std::string other = other_level1();
    ProbePump pump([&](int wait) {
        if (wait == 1)
            choose_id(ListKind::Level1, other);
    });
    choose_id(ListKind::Level2, sample[1].id);
    EXPECT_TRUE(w.items(ListKind::Level3).empty());
    EXPECT_TRUE(w.data.level3.ids.empty());
    expect_same(shown(ListKind::Level2), children(other));
}

TEST_F(SubLevelLoad, WindowClosedDuringABlankAnswerAsksNoMore) {
    set_blank_level2(-1);
    ProbePump pump([&](int) { w.view.close(); });
    choose_id(ListKind::Level1, sample[0].id);
    EXPECT_EQ(requests_for(level2_target(sample[0].id)), 1);
    EXPECT_EQ(pump.waits(), 1);
}

}  // namespace
}  // namespace catalogue
