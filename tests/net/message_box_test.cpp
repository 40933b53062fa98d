#include "net/message_box.h"

#include <gtest/gtest.h>

#include "plain/message_recorder.h"
#include "text/codepage.h"

namespace {

TEST(ShowMessage, WithoutABoxPrintsCaptionAndTextAndAnswersOk) {
    testing::internal::CaptureStderr();
    const int answer = net::show_message(GBK("出错了"));
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_EQ(answer, 0);
    EXPECT_EQ(printed, "友情提醒: 出错了\n");
}

TEST(ShowMessage, GoesThroughTheInstalledBoxWithDefaults) {
    test::MessageRecorder recorder(1);
    EXPECT_EQ(net::show_message(GBK("提示")), 1);
    EXPECT_EQ(net::show_message("x", 16, GBK("信息：")), 1);
    const auto shown = recorder.shown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, GBK("提示"));
    EXPECT_EQ(shown[0].style, 64);
    EXPECT_EQ(shown[0].caption, GBK("友情提醒"));
    EXPECT_EQ(shown[1].style, 16);
    EXPECT_EQ(shown[1].caption, GBK("信息："));
}

TEST(ShowMessage, RemovingTheBoxRestoresPrinting) {
    { test::MessageRecorder recorder; }
    testing::internal::CaptureStderr();
    net::show_message("x");
    EXPECT_NE(testing::internal::GetCapturedStderr().find("x"), std::string::npos);
}

}  // namespace
