// The 通知通道 dialog against a real korvel.ini in a temporary directory:
// channels added, changed and deleted keep every other byte of the file, the
// file is the owner's alone, secrets are masked, the board form hears of the
// new channel, and 发送测试消息 shows a loopback robot's answer without
// holding up the window.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <fstream>

#include "app/channel_checks.h"
#include "app/channel_drafts.h"
#include "app/channel_editor.h"
#include "app/channels_dialog.h"
#include "plain/raw_http_server.h"
#include "plain/temp_dir.h"

namespace {

const std::string kBefore =
    "; mine\n[hosts]\nvendor_info=v.test:1\n\n[notify.运营群]\nkind = wecom\n"
    "; from the group chat\nurl = https://qyapi.example/send?key=OLDKEY   ; office\n\n"
    "[board]\nretries=2\n";

void choose_kind(app::ChannelEditor& editor, const char* word) {
    editor.kind_box()->setCurrentIndex(editor.kind_box()->findData(QString::fromLatin1(word)));
}

void fill(app::ChannelEditor& editor, const char* key, const QString& text) {
    QLineEdit* edit = editor.field(key);
    ASSERT_NE(edit, nullptr) << key;
    edit->setText(text);
}

TEST(ChannelsDialog, AddEditDeleteKeepCommentsAndOtherSections) {
    test::TempDir dir;
    const auto file = dir.file("korvel.ini");
    std::ofstream(file) << kBefore;
    app::ChannelChecks form_channels;
    app::ChannelsDialog dialog(file, file);
    dialog.confirm = [](const QString&) { return true; };
    ASSERT_EQ(dialog.list()->count(), 1);
    EXPECT_TRUE(dialog.list()->item(0)->text().startsWith("运营群 · 企业微信群机器人"));
    EXPECT_FALSE(dialog.list()->item(0)->text().contains("OLDKEY"));

    app::ChannelEditor* added = dialog.add_channel();
    added->name_edit()->setText("钉钉");
    choose_kind(*added, "dingtalk");
    EXPECT_TRUE(added->findChild<QLabel*>("guide")->text().contains("加签"));
    fill(*added, "url", "https://oapi.example/robot/send?access_token=T0KEN");
    fill(*added, "secret", "SECabcdef");
    EXPECT_EQ(added->field("secret")->echoMode(), QLineEdit::Password);
    EXPECT_EQ(added->field("url")->echoMode(), QLineEdit::Password);
    added->show_secrets()->setChecked(true);
    EXPECT_EQ(added->field("secret")->echoMode(), QLineEdit::Normal);
    ASSERT_TRUE(added->save()) << added->problems()->text().toStdString();
    EXPECT_NE(form_channels.box("钉钉"), nullptr) << "the board form offers it at once";

    app::ChannelEditor* edited = dialog.edit_channel(0);
    fill(*edited, "url", "https://qyapi.example/send?key=NEWKEY");
    ASSERT_TRUE(edited->save()) << edited->problems()->text().toStdString();
    const std::string changed =
        "; mine\n[hosts]\nvendor_info=v.test:1\n\n[notify.运营群]\nkind = wecom\n"
        "; from the group chat\nurl = https://qyapi.example/send?key=NEWKEY   ; office\n\n"
        "[board]\nretries=2\n";
    EXPECT_EQ(test::file_bytes(file), changed +
                                          "\n[notify.钉钉]\nkind=dingtalk\n"
                                          "url=https://oapi.example/robot/send?access_token=T0KEN\n"
                                          "secret=SECabcdef\n");
    EXPECT_EQ(std::filesystem::status(file).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);

    // A robot without signing drops the secret line; the other lines stay.
    app::ChannelEditor* unsigned_robot = dialog.edit_channel(1);
    choose_kind(*unsigned_robot, "wecom");
    ASSERT_TRUE(unsigned_robot->save());
    EXPECT_EQ(test::file_bytes(file),
              changed +
                  "\n[notify.钉钉]\nkind=wecom\n"
                  "url=https://oapi.example/robot/send?access_token=T0KEN\n");

    ASSERT_EQ(dialog.list()->count(), 2);
    ASSERT_TRUE(dialog.delete_channel(1));
    EXPECT_EQ(test::file_bytes(file), changed);
    EXPECT_EQ(dialog.list()->count(), 1);
}

TEST(ChannelsDialog, EveryProblemIsNamedBeforeAnythingIsSaved) {
    test::TempDir dir;
    const auto file = dir.file("korvel.ini");
    std::ofstream(file) << kBefore;
    app::ChannelsDialog dialog(file, file);
    app::ChannelEditor* editor = dialog.add_channel();
    editor->name_edit()->setText("运营群");
    choose_kind(*editor, "email");
    fill(*editor, "user", "me@example.com");
    fill(*editor, "from", "Korvel");
    fill(*editor, "to", "boss@example.com, partner");
    EXPECT_FALSE(editor->save());
    EXPECT_EQ(editor->problems()->text().split('\n'),
              (QStringList{"名称：已有同名的通知通道", "SMTP 服务器：不能为空",
                           "发件人：不是邮件地址", "收件人：须是邮件地址，多个用逗号分开",
                           "用户名和密码：须同时填写，或同时留空"}));
    EXPECT_EQ(test::file_bytes(file), kBefore);
}

TEST(ChannelsDialog, TheTestMessageShowsTheRobotsAnswerAndNeverHoldsUpTheWindow) {
    test::RawHttpServer robot(test::Reply::ok(R"({"errcode":0,"errmsg":"ok, key=SECRETKEY123"})"));
    app::ChannelEditor editor(std::nullopt, {});
    editor.name_edit()->setText("测试群");
    choose_kind(editor, "wecom");
    fill(editor, "url", QString::fromStdString(robot.url("/send?key=SECRETKEY123")));
    QTest::mouseClick(editor.test_button(), Qt::LeftButton);
    EXPECT_FALSE(editor.test_button()->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(editor.test_button()->isEnabled(), 60000);
    const QString answer = editor.answer()->text();
    EXPECT_TRUE(answer.startsWith("已送达")) << answer.toStdString();
    EXPECT_TRUE(answer.contains("errcode\":0")) << answer.toStdString();
    EXPECT_FALSE(answer.contains("SECRETKEY123")) << answer.toStdString();
    EXPECT_NE(robot.last_request().find("Korvel"), std::string::npos);

    // A robot that never answers: the click returns at once, and the editor
    // may close before the answer would come.
    test::Reply hung = test::Reply::ok("{}");
    hung.hold = true;
    test::RawHttpServer silent(hung);
    auto waiting = std::make_unique<app::ChannelEditor>(std::nullopt, std::vector<std::string>{});
    waiting->name_edit()->setText("慢群");
    choose_kind(*waiting, "wecom");
    fill(*waiting, "url", QString::fromStdString(silent.url("/send?key=SLOWKEY1")));
    ASSERT_TRUE(waiting->send_test());
    EXPECT_TRUE(waiting->answer()->text().contains("正在发送"));
    QTRY_VERIFY_WITH_TIMEOUT(silent.held_now() == 1, 30000);
    waiting.reset();
    silent.release();
    QTest::qWait(50);
}

// A section the programs leave out is listed so it can be mended; mending
// it changes only its wrong line.
TEST(ChannelDrafts, ABrokenSectionIsListedWithWhyAndMendedInPlace) {
    const std::string text =
        "[notify.Bot]\nKIND = DingTalk\n# token from the robot page\nurl = 'oapi.example/send'\n"
        "secret = \"SECxyz1\"\n[notify.odd]\nkind = pager\n";
    const auto drafts = app::channel_drafts(text);
    ASSERT_EQ(drafts.size(), 2u);
    EXPECT_EQ(drafts[0].kind, "dingtalk");
    EXPECT_EQ(drafts[0].values.at("secret"), "SECxyz1") << "quotes go, as for the reader";
    EXPECT_EQ(
        app::draft_problems(drafts[0], {"odd"}),
        (std::vector<std::string>{"机器人地址：须是以 https:// 或 http:// 开头、不含空格的地址"}));
    EXPECT_EQ(app::draft_problems(drafts[1], {"ODD"}),
              (std::vector<std::string>{"名称：已有同名的通知通道", "类型：须选一种"}));

    app::ChannelDraft mended = drafts[0];
    mended.values["url"] = "https://oapi.example/send?access_token=T";
    EXPECT_TRUE(app::draft_problems(mended, {"odd"}).empty());
    ASSERT_TRUE(app::channel_of(mended));
    EXPECT_EQ(app::channel_of(mended)->secret, "SECxyz1");
    EXPECT_EQ(app::channel_destination(mended), "oapi.example");
    EXPECT_EQ(app::with_channel(text, drafts[0], mended),
              "[notify.Bot]\nKIND = DingTalk\n# token from the robot page\n"
              "url = https://oapi.example/send?access_token=T\nsecret = \"SECxyz1\"\n"
              "[notify.odd]\nkind = pager\n");

    app::ChannelDraft renamed = mended;
    renamed.name = "钉钉";
    EXPECT_EQ(app::with_channel(text, drafts[0], renamed),
              "[notify.odd]\nkind = pager\n\n[notify.钉钉]\nkind=dingtalk\n"
              "url=https://oapi.example/send?access_token=T\nsecret=SECxyz1\n");
}

}  // namespace
