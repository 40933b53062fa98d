// Channels read from korvel.ini, and the warning about a file others can read.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "notify/channel_settings.h"
#include "plain/temp_dir.h"

namespace {

const char* const kIni =
    "\xEF\xBB\xBF"
    R"(; 通知
[board]
retries = 2
[notify.team]
kind = wecom
url = https://qyapi.example.com/cgi-bin/webhook/send?key=KEY-team-1234
[notify.ding]
kind = DingTalk
url = https://oapi.example.com/robot/send?access_token=TOKEN-ding-1234
secret = SEC-ding-1234   ; only when signed
[notify.mail]
kind = email
smtp = SMTP://smtp.example.com:587   ; STARTTLS
user = korvel@example.com
password = "PASS ; word-1234"
from = Korvel <korvel@example.com>
to = a@example.com, b@example.com;c@example.com # both
[notify.nokind]
url = https://example.com/hook?key=KEY-nokind-1234
[notify.ftp]
kind = wecom
url = ftp://example.com/hook?key=KEY-ftp-1234
[notify.extra]
kind = json
url = http://127.0.0.1:8080/hook
secret = SEC-extra-1234
colour = blue
[notify.half]
kind = email
smtp = smtps://smtp.example.com
password = PASS-half-1234
from = k@example.com
to = a@example.com
[notify.wrongkind]
kind = telegram
)";

// The file opens with a byte-order mark, values carry comments after them
// and a quoted password holds " ; ": the first channel, the signing secret
// and the password come out as meant.
TEST(ChannelSettings, ReadsGoodChannelsAndNamesTheBadOnesWithoutTheirSecrets) {
    const auto parsed = notify::parse_channels(kIni);
    std::vector<std::string> names;
    for (const auto& channel : parsed.channels)
        names.push_back(channel.name);
    EXPECT_EQ(names, (std::vector<std::string>{"team", "ding", "mail", "extra"}));

    const notify::Channel* ding = notify::find_channel(parsed.channels, "DING");
    ASSERT_NE(ding, nullptr);
    EXPECT_EQ(ding->kind, notify::ChannelKind::dingtalk);
    EXPECT_EQ(ding->secret, "SEC-ding-1234");
    const notify::Channel* mail = notify::find_channel(parsed.channels, "mail");
    ASSERT_NE(mail, nullptr);
    EXPECT_EQ(mail->smtp, "smtp://smtp.example.com:587/");
    EXPECT_EQ(mail->password, "PASS ; word-1234");
    EXPECT_EQ(mail->to,
              (std::vector<std::string>{"a@example.com", "b@example.com", "c@example.com"}));
    EXPECT_EQ(notify::find_channel(parsed.channels, "extra")->secret, "");

    EXPECT_EQ(parsed.messages,
              (std::vector<std::string>{
                  "line 18: [notify.nokind] has no kind; channel left out",
                  "line 22: [notify.ftp] url is not an http(s) address; channel left out",
                  "line 26: [notify.extra] secret does not apply to kind json; ignored",
                  "line 27: [notify.extra] unknown key 'colour' ignored",
                  "line 28: [notify.half] needs both user and password, or neither; channel left "
                  "out",
                  "line 35: [notify.wrongkind] kind = telegram is not one of wecom, "
                  "wecom-markdown, dingtalk, feishu, json, email; channel left out",
              }));
    for (const auto& message : parsed.messages)
        EXPECT_EQ(message.find("1234"), std::string::npos) << message;
}

// The README's example, copied as it stands (comments after values
// included), gives every channel it shows, each as meant.
TEST(ChannelSettings, TheReadmeExampleWorksAsCopied) {
    std::ifstream readme(KORVEL_README);
    const std::string text((std::istreambuf_iterator<char>(readme)), {});
    const auto start = text.find("```ini\n[notify.");
    ASSERT_NE(start, std::string::npos);
    const auto end = text.find("```", start + 6);
    const auto parsed = notify::parse_channels(text.substr(start + 7, end - start - 7));
    EXPECT_TRUE(parsed.messages.empty()) << parsed.messages.front();
    EXPECT_EQ(parsed.channels.size(), 6u);
    const notify::Channel* ding = notify::find_channel(parsed.channels, "钉钉");
    ASSERT_NE(ding, nullptr);
    EXPECT_EQ(ding->secret, "SECxxxxxxxxxxxxxxxx");
    const notify::Channel* mail = notify::find_channel(parsed.channels, "邮件");
    ASSERT_NE(mail, nullptr);
    EXPECT_EQ(mail->smtp, "smtps://smtp.example.com:465/");
}

TEST(ChannelSettings, WarnsWhenOtherUsersCanReadTheFile) {
#if defined(_WIN32)
    GTEST_SKIP() << "Windows keeps access in ACLs; the warning reads POSIX permission bits";
#endif
    test::TempDir dir;
    const auto file = dir.file("korvel.ini");
    std::ofstream(file) << kIni;
    using std::filesystem::perms;
    std::filesystem::permissions(file, perms::owner_read | perms::owner_write);
    EXPECT_EQ(notify::shared_settings_warning(file), std::nullopt);
    std::filesystem::permissions(file, perms::group_read, std::filesystem::perm_options::add);
    const auto warning = notify::shared_settings_warning(file);
    ASSERT_TRUE(warning.has_value());
    EXPECT_NE(warning->find(file.string()), std::string::npos);
    EXPECT_EQ(warning->find("1234"), std::string::npos);
}

}  // namespace
