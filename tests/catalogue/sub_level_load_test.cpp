// Levels 2 and 3 against the simulator: the loads a choice starts, their
// requests, blank answers tried again, and choices made while a load waits.
#include <gtest/gtest.h>

#include <optional>

#include <algorithm>

#include "catalogue/catalogue_handlers.h"
#include "catalogue/loaders.h"
#include "catalogue/request_paths.h"
#include "catalogue/status_link_widget.h"
#include "catalogue_host.h"
#include "probe_pump.h"
#include "qt/test_window.h"
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

class SubLevelLoad : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(server.start());
        hosts.emplace(server.host());
        load_level1_first_visit(host.ctx());
        ASSERT_GE(host.box(1).count(), 5);
    }

    void set_blank_level2(int n) {
        sim::Options options = server.options();
        options.blank_level2_answers = n;
        server.set_options(options);
    }

    // Chooses the category with this id in box `n` as a user would.
    void choose_id(int n, const std::string& id) {
        const std::vector<std::string>& ids = n == 1   ? host.data().level1_ids
                                              : n == 2 ? host.data().level2_ids
                                                       : host.data().level3_ids;
        const int index = index_of(ids, id);
        ASSERT_GE(index, 0) << "id " << id << " not in box " << n;
        host.choose(n, index);
    }

    // A level-1 category other than the sample's.
    std::string other_level1() {
        const auto& ids = host.data().level1_ids;
        return ids.at(ids.at(0) == sample[0].id ? 1 : 0);
    }

    Expected children(const std::string& id) const {
        return first(expected(truth.children(id)), 20);
    }
    Expected shown(int n, const std::vector<std::string>& ids) {
        return Expected{items(host.box(n)), ids};
    }

    int requests_for(const std::string& target) const {
        const auto all = server.requests();
        return static_cast<int>(std::count_if(all.begin(), all.end(),
                                              [&](const auto& r) { return r.target == target; }));
    }

    sim::Server server{on_any_port()};
    sim::Catalogue truth{server.options().seed};
    std::array<sim::Category, 3> sample = truth.sample_categories();
    std::optional<qt_test::ScopedHosts> hosts;  // once the server has its port
    qt_test::RecordingMessageBox messages;
    CatalogueHost host;
};

void expect_same(const Expected& got, const Expected& want) {
    EXPECT_EQ(got.names, want.names);
    EXPECT_EQ(got.ids, want.ids);
}

TEST_F(SubLevelLoad, Level1ThenLevel2FillBothInResponseOrder) {
    choose_id(1, sample[0].id);
    EXPECT_EQ(host.data().编辑框6, sample[0].id);
    EXPECT_EQ(requests_for(level2_path(sample[0].id)), 1);
    ASSERT_FALSE(children(sample[0].id).ids.empty());
    expect_same(shown(2, host.data().level2_ids), children(sample[0].id));
    EXPECT_EQ(host.box(2).currentIndex(), -1);

    choose_id(2, sample[1].id);
    EXPECT_EQ(host.data().编辑框7, sample[1].id);
    EXPECT_EQ(requests_for(level3_path(sample[1].id)), 1);
    expect_same(shown(3, host.data().level3_ids), children(sample[1].id));
    EXPECT_EQ(host.box(3).currentIndex(), -1);

    choose_id(3, sample[2].id);
    EXPECT_EQ(host.data().编辑框8, sample[2].id);
    EXPECT_FALSE(read_link(host.link(1)).visible);
}

TEST_F(SubLevelLoad, LinkShowsTheLevelsProgressCaptionWhileFetching) {
    std::vector<LinkState> seen;
    ProbePump pump([&](int) { seen.push_back(read_link(host.link(1))); });
    choose_id(1, sample[0].id);
    choose_id(2, sample[1].id);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].caption, GBK("二级类目获取中……"));
    EXPECT_EQ(seen[1].caption, GBK("三级类目获取中……"));
    for (const LinkState& s : seen) {
        EXPECT_TRUE(s.visible);
        EXPECT_EQ(s.colour, LinkColour::Blue);
    }
}

TEST_F(SubLevelLoad, TwoBlankAnswersAreTriedAgainAndListedOnce) {
    set_blank_level2(2);
    choose_id(1, sample[0].id);
    EXPECT_EQ(requests_for(level2_path(sample[0].id)), 3);
    expect_same(shown(2, host.data().level2_ids), children(sample[0].id));
    EXPECT_FALSE(read_link(host.link(1)).visible);
}

TEST_F(SubLevelLoad, BlankEveryTimeStopsAfterThreeTriesWithAnEmptyBoxAndHiddenLink) {
    set_blank_level2(-1);
    std::vector<std::string> captions;
    ProbePump pump([&](int) { captions.push_back(read_link(host.link(1)).caption); });
    choose_id(1, sample[0].id);
    EXPECT_EQ(requests_for(level2_path(sample[0].id)), kSubLevelTries);
    EXPECT_EQ(captions, std::vector<std::string>(3, GBK("二级类目获取中……")));
    EXPECT_EQ(host.box(2).count(), 0);
    EXPECT_TRUE(host.data().level2_ids.empty());
    EXPECT_FALSE(read_link(host.link(1)).visible);
}

TEST_F(SubLevelLoad, NewLevel1ChoiceEmptiesLowerLevelsAtOnceAndKeepsHolders) {
    choose_id(1, sample[0].id);
    choose_id(2, sample[1].id);
    choose_id(3, sample[2].id);
    const std::string level2_id = sample[1].id;
    const std::string other = other_level1();

    struct Seen {
        int box2, box3;
        std::string buffer2, holder6, holder7, holder8;
    };
    std::vector<Seen> seen;
    ProbePump pump([&](int) {
        seen.push_back({host.box(2).count(), host.box(3).count(), host.data().编辑框10,
                        host.data().编辑框6, host.data().编辑框7, host.data().编辑框8});
    });
    choose_id(1, other);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].box2, 0);
    EXPECT_EQ(seen[0].box3, 0);
    EXPECT_EQ(seen[0].buffer2, "");
    EXPECT_EQ(seen[0].holder6, other);
    EXPECT_EQ(seen[0].holder7, level2_id);
    EXPECT_EQ(seen[0].holder8, sample[2].id);
    // Afterwards: level 2 shows the new children, level 3 stays empty and
    // unchosen, the holders below keep their ids until a new choice.
    expect_same(shown(2, host.data().level2_ids), children(other));
    EXPECT_EQ(host.box(3).count(), 0);
    EXPECT_TRUE(host.box(2).currentText().isEmpty());
    EXPECT_TRUE(host.box(3).currentText().isEmpty());
    EXPECT_EQ(host.data().编辑框7, level2_id);
    EXPECT_EQ(host.data().编辑框8, sample[2].id);
}

TEST_F(SubLevelLoad, ChoiceDuringAFetchWinsAndTheOlderAnswerIsDropped) {
    const std::string other = other_level1();
    ProbePump pump([&](int wait) {
        if (wait == 1)
            choose_id(1, other);
    });
    choose_id(1, sample[0].id);
    EXPECT_EQ(requests_for(level2_path(sample[0].id)), 1);
    EXPECT_EQ(requests_for(level2_path(other)), 1);
    EXPECT_EQ(host.data().编辑框6, other);
    expect_same(shown(2, host.data().level2_ids), children(other));
    EXPECT_FALSE(read_link(host.link(1)).visible);
}

TEST_F(SubLevelLoad, Level1ChoiceDuringALevel3FetchLeavesLevel3Empty) {
    choose_id(1, sample[0].id);
    const std::string other = other_level1();
    ProbePump pump([&](int wait) {
        if (wait == 1)
            choose_id(1, other);
    });
    choose_id(2, sample[1].id);
    EXPECT_EQ(host.box(3).count(), 0);
    EXPECT_TRUE(host.data().level3_ids.empty());
    expect_same(shown(2, host.data().level2_ids), children(other));
}

}  // namespace
}  // namespace catalogue
