// The program's own skin: the embedded skin file, written at every start,
// applied to the application before the window first shows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <string>

#include "app/main_window.h"
#include "app/program_data.h"
#include "app/skin.h"
#include "app/startup_steps.h"

namespace {

std::string read_bytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().toStdString();
}

QString sheet_of_block() {
    const std::string_view sheet = app::skin_style_sheet(app::skin_block());
    return QString::fromUtf8(sheet.data(), static_cast<qsizetype>(sheet.size()));
}

class Skin : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        qApp->setStyleSheet(QString());
    }
    void TearDown() override { qApp->setStyleSheet(QString()); }

    QString skin_file() const { return dir.filePath("win8.she"); }

    QTemporaryDir dir;
};

TEST_F(Skin, BlockIsASkinFileWithAStyleSheet) {
    const std::string_view block = app::skin_block();
    ASSERT_GT(block.size(), 5u);
    EXPECT_EQ(block.substr(0, 5), std::string_view(".SHE\0", 5));
    EXPECT_EQ(app::skin_style_sheet(block), block.substr(5));
    EXPECT_NE(app::skin_style_sheet(block).find("QPushButton"), std::string_view::npos);
}

TEST_F(Skin, OtherBytesAreNoSkin) {
    EXPECT_TRUE(app::skin_style_sheet("").empty());
    EXPECT_TRUE(app::skin_style_sheet(".SHE").empty());
    EXPECT_TRUE(app::skin_style_sheet("QWidget{}").empty());
}

TEST_F(Skin, WrittenByteIdenticalAndApplied) {
    app::install_skin_into(dir.path());
    EXPECT_EQ(read_bytes(skin_file()), std::string(app::skin_block()));
    EXPECT_EQ(qApp->styleSheet(), sheet_of_block());
}

TEST_F(Skin, RewrittenAtEveryStart) {
    app::install_skin_into(dir.path());
    QFile file(skin_file());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(".SHE\0QWidget { color: red; }", 28);
    file.close();
    app::install_skin_into(dir.path());
    EXPECT_EQ(read_bytes(skin_file()), std::string(app::skin_block()));
    EXPECT_EQ(qApp->styleSheet(), sheet_of_block());
}

TEST_F(Skin, MissingDirectoryIsCreated) {
    const QString nested = dir.filePath("a/b");
    app::install_skin_into(nested);
    EXPECT_EQ(read_bytes(QDir(nested).filePath("win8.she")), std::string(app::skin_block()));
}

TEST_F(Skin, UnwritableDirectoryIsSkippedAndBlockApplied) {
    // A directory below a plain file can be neither created nor written.
    QFile plain(dir.filePath("plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    const QString blocked = dir.filePath("plain/skins");
    app::install_skin_into(blocked);
    EXPECT_FALSE(QFile::exists(QDir(blocked).filePath("win8.she")));
    EXPECT_EQ(qApp->styleSheet(), sheet_of_block());
}

TEST_F(Skin, UnreadableSkinFileFallsBackToBlock) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("win8.she"));  // neither writable nor readable as a file
    app::install_skin_into(dir.path());
    EXPECT_EQ(qApp->styleSheet(), sheet_of_block());
}

TEST_F(Skin, DefaultPlaceIsThePerUserDataDirectory) {
    QStandardPaths::setTestModeEnabled(true);
    const QString place = app::default_skin_dir();
    ASSERT_FALSE(place.isEmpty());
    app::install_skin();
    EXPECT_EQ(read_bytes(QDir(place).filePath("win8.she")), std::string(app::skin_block()));
    QFile::remove(QDir(place).filePath("win8.she"));
    QStandardPaths::setTestModeEnabled(false);
}

// Records the application's style sheet when the window is first shown.
class ShowWatcher : public QObject {
  public:
    QString sheet_at_show;
    bool shown = false;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show && !shown) {
            shown = true;
            sheet_at_show = qApp->styleSheet();
        }
        return false;
    }
};

TEST_F(Skin, AppliedBeforeWindowShowsAndAnnouncementStaysRed) {
    QStandardPaths::setTestModeEnabled(true);
    app::ProgramData data;
    app::WindowOptions options;
    options.load_browser_pages = false;
    options.startup.check_update = [](app::Context&) {};
    options.startup.show_announcement = [](app::Context&) {};
    app::MainWindow window(data, options);
    ShowWatcher watcher;
    window.installEventFilter(&watcher);
    window.show();
    ASSERT_TRUE(watcher.shown);
    EXPECT_EQ(watcher.sheet_at_show, sheet_of_block());

    window.编辑框20->ensurePolished();
    EXPECT_EQ(window.编辑框20->palette().color(QPalette::Text), QColor(255, 0, 0));
    EXPECT_EQ(window.编辑框20->palette().color(QPalette::Base), QColor(255, 255, 255));
    QStandardPaths::setTestModeEnabled(false);
}

}  // namespace
