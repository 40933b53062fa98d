// Where the history file lives when no --db names one.
#include <cstdlib>
#include <optional>

#include "history/default_path.h"
#include "history_fixture.h"
#include "plain/scoped_time_zone.h"

namespace {

// Sets an environment variable for the life of the object.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        apply(value);
    }
    ~ScopedEnv() { apply(old_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    void apply(const std::optional<std::string>& value) {
        test::set_environment(name_, value ? value->c_str() : nullptr);
    }
    const char* name_;
    std::optional<std::string> old_;
};

TEST(DefaultPath, FollowsXdgDataHomeThenHomeAndCreatesTheDirectory) {
#if defined(_WIN32)
    GTEST_SKIP() << "Windows keeps the history in %APPDATA%\\Korvel; the XDG rules are the "
                    "other platforms'";
#endif
    const history_test::TempDir dir;
    const auto data = dir.path() / "data";
    const auto home = dir.path() / "home";
    const struct {
        const char* name;
        std::optional<std::string> xdg;
        std::filesystem::path expected;
    } cases[] = {
        {"absolute XDG_DATA_HOME", data.string(), data / "korvel" / "history.sqlite"},
        {"no XDG_DATA_HOME", std::nullopt, home / ".local/share/korvel/history.sqlite"},
        {"relative XDG_DATA_HOME is ignored", "relative/dir",
         home / ".local/share/korvel/history.sqlite"},
    };
    const ScopedEnv home_env("HOME", home.string());
    for (const auto& c : cases) {
        const ScopedEnv xdg_env("XDG_DATA_HOME", c.xdg);
        const auto path = history::default_history_path();
        ASSERT_TRUE(path.ok()) << c.name;
        EXPECT_EQ(path.value(), c.expected) << c.name;
        EXPECT_TRUE(std::filesystem::is_directory(c.expected.parent_path())) << c.name;
    }
}

}  // namespace
