#pragma once
// The korvel.ini the process tests hand to korvel-check: every host on the
// test's simulator and a brisk [board] section (the simulator answers at
// once, so the polite pauses only slow the tests down).
#include <string>

namespace test {

inline constexpr const char* kBriskBoard = "[board]\npages_per_second=50\nbackoff_s=0.05\n";

inline std::string settings_text(const std::string& host, const std::string& board = kBriskBoard) {
    return "[hosts]\ngoods_page=" + host + "\nsearch_api=" + host + "\noperations_api=" + host +
           "\nvendor_info=" + host + "\n" + board;
}

}  // namespace test
