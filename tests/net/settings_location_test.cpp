// Where korvel.ini is looked for: each place wins over the ones after it.
#include <gtest/gtest.h>

#include <fstream>

#include "net/settings_location.h"
#include "plain/temp_dir.h"

namespace {

namespace fs = std::filesystem;

struct Places : ::testing::Test {
    test::TempDir dir;
    net::SettingsPlaces places{dir.file("named.ini"), dir.file("program"), dir.file("user"),
                               dir.file("system")};

    void make(const fs::path& file) {
        fs::create_directories(file.parent_path());
        std::ofstream(file) << "[hosts]\n";
    }
    fs::path in(const fs::path& place) const { return place / "korvel.ini"; }
};

TEST_F(Places, EachPlaceWinsOverTheLaterOnes) {
    places.named.clear();
    const fs::path order[] = {in(places.program_dir), in(places.user_dir), in(places.system_dir)};
    // Made from the last place to the first: each new file takes over.
    EXPECT_EQ(net::find_settings_file(places), fs::path());
    for (int i = 2; i >= 0; --i) {
        make(order[i]);
        EXPECT_EQ(net::find_settings_file(places), order[i]) << i;
    }
}

TEST_F(Places, ANamedFileIsTheOnlyCandidate) {
    make(in(places.program_dir));
    EXPECT_EQ(net::find_settings_file(places), fs::path()) << "absent named file";
    make(places.named);
    EXPECT_EQ(net::find_settings_file(places), places.named);
}

TEST_F(Places, UnknownPlacesAreLeftOutAndADirectoryIsNoFile) {
    places.named.clear();
    places.program_dir.clear();
    fs::create_directories(in(places.user_dir));
    make(in(places.system_dir));
    EXPECT_EQ(net::settings_candidates(places).size(), 2u);
    EXPECT_EQ(net::find_settings_file(places), in(places.system_dir));
    EXPECT_EQ(net::user_settings_file(places), in(places.user_dir));
}

TEST(UserSettingsDir, FollowsTheBaseDirectoryRules) {
#if defined(_WIN32)
    GTEST_SKIP() << "Windows keeps the settings in %APPDATA%\\Korvel; the XDG rules (and their "
                    "absolute paths) are the other platforms'";
#endif
    struct Case {
        const char* xdg;
        const char* home;
        fs::path expected;
    };
    const Case cases[] = {
        {"/x/cfg", "/home/u", "/x/cfg/korvel"},
        {"relative/cfg", "/home/u", "/home/u/.config/korvel"},
        {nullptr, "/home/u", "/home/u/.config/korvel"},
        {nullptr, "", ""},
        {nullptr, nullptr, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(net::xdg_user_settings_dir(c.xdg, c.home), c.expected) << c.expected;
}

}  // namespace
