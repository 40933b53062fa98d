// An installed Korvel (its directory not writable) that finds a newer
// version says so once and starts as usual: nothing downloaded or replaced.
#include <gtest/gtest.h>

#include "app/startup_steps.h"
#include "text/codepage.h"
#include "update_fixture.h"

namespace {

class UpdateInstalled : public startup_test::SimulatorTest {};

TEST_F(UpdateInstalled, ReadOnlyProgramDirectoryOnlyTellsOfTheNewVersion) {
    sim::Options options;
    options.version = "2.1";
    start_simulator(options);
    app::set_update_hooks(
        {[this] { return program_path(); }, [this](int code) { exit_codes.push_back(code); },
         [this] { return deleter_recorder(); }, [](const QString&) { return false; }});
    app::check_update(bare_window().context());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find(GBK("有新版本") + "2.1"), std::string::npos);
    EXPECT_NE(boxes[0].text.find(GBK("请更新软件包")), std::string::npos);
    EXPECT_TRUE(exit_codes.empty()) << "the program goes on starting";
    EXPECT_FALSE(requested("/download/"));
    EXPECT_EQ(program_dir_files(), QStringList{"korvel-old"});
}

}  // namespace
