#pragma once
// The built korvel-check run as a process against the simulator on a free
// loopback port, with a settings file that points every host at it and a
// data directory of its own, so no run touches the user's history.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "plain/temp_dir.h"
#include "run_process.h"
#include "sim_catalogue.h"
#include "sim_server.h"

namespace checktest {

inline const std::string kProgram = KORVEL_CHECK_EXE;
inline const std::string kSample(sim::kSampleGoodsId);
inline const std::string kHint = "Run with --help for more information.\n";

// The board's politeness, brisk: the simulator answers at once.
inline const std::string kBriskBoard =
    "[board]\npages_per_second=50\nbackoff_s=0.05\npause_s=0.2\n";

inline sim::Options on_free_port() {
    sim::Options options;
    options.port = 0;
    return options;
}

class KorvelCheck : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(server.start()); }

    // A settings file in the temporary directory with every host at `host`.
    std::string config_for(const std::string& host, const std::string& name = "korvel.ini",
                           const std::string& board_section = kBriskBoard) {
        const auto file = dir.file(name);
        std::ofstream(file) << "[hosts]\ngoods_page=" << host << "\nsearch_api=" << host
                            << "\noperations_api=" << host << "\nvendor_info=" << host << "\n"
                            << board_section;
        return file.string();
    }

    // The history a run without --db uses.
    std::filesystem::path default_history() const { return dir.file("data/korvel/history.sqlite"); }

    test::ProcessResult run(const std::string& program, const std::vector<std::string>& args) {
        return test::run_process(program, args, {{"XDG_DATA_HOME", dir.file("data").string()}});
    }
    test::ProcessResult run(const std::vector<std::string>& args) { return run(kProgram, args); }

    // A run with the settings file of the simulator.
    test::ProcessResult check(std::vector<std::string> args) {
        args.insert(args.begin(), {"--config", config_for(server.host())});
        return run(args);
    }

    std::size_t requests_to(const std::string& path) const {
        std::size_t count = 0;
        for (const sim::RequestRecord& r : server.requests())
            count += r.path == path ? 1 : 0;
        return count;
    }

    int expected_rank(sim::ListingKind kind, const std::vector<std::string>& listing,
                      const std::string& goods_id) const {
        return sim::expected_position(kind, listing, goods_id, server.options());
    }

    sim::Server server{on_free_port()};
    sim::Catalogue catalogue{1};
    test::TempDir dir;
};

}  // namespace checktest
