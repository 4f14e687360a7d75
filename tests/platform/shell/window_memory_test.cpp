// The window size kept for the next start: where it lives, what reads back, what does not.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/shell/window_memory.h"

namespace {

class WindowMemoryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        savedConfig = qgetenv("XDG_CONFIG_HOME");
        savedHome = qgetenv("HOME");
        qputenv("XDG_CONFIG_HOME", folder.filePath(QStringLiteral("config")).toUtf8());
    }
    void TearDown() override {
        qputenv("XDG_CONFIG_HOME", savedConfig);
        qputenv("HOME", savedHome);
    }
    void write(const QByteArray& content) {
        QDir().mkpath(folder.filePath(QStringLiteral("config/talvino")));
        QFile file(platform::windowMemoryPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    QTemporaryDir folder;
    QByteArray savedConfig, savedHome;
};

TEST_F(WindowMemoryTest, LivesInTheUsersConfigFolder) {
    EXPECT_EQ(platform::windowMemoryPath(), folder.filePath(QStringLiteral("config/talvino/window")));
    qputenv("XDG_CONFIG_HOME", "relative/is/ignored");
    qputenv("HOME", folder.path().toUtf8());
    EXPECT_EQ(platform::windowMemoryPath(), folder.filePath(QStringLiteral(".config/talvino/window")));
}

TEST_F(WindowMemoryTest, ASizeKeptReadsBack) {
    EXPECT_FALSE(platform::rememberedWindowSize().isValid()) << "nothing kept yet";
    ASSERT_TRUE(platform::rememberWindowSize(QSize(720, 1440)));
    EXPECT_EQ(platform::rememberedWindowSize(), QSize(720, 1440));
    ASSERT_TRUE(platform::rememberWindowSize(QSize(500, 700)));
    EXPECT_EQ(platform::rememberedWindowSize(), QSize(500, 700));
}

TEST_F(WindowMemoryTest, AFileThatIsNotASizeIsIgnored) {
    const char* const damaged[] = {"", "720", "720 x 1440", "abc def", "-5 100", "0 320", "720 1440 3",
                                   "99999999 1", "720\n", "\xff\xfe"};
    for (const char* content : damaged) {
        write(content);
        EXPECT_FALSE(platform::rememberedWindowSize().isValid()) << '"' << content << '"';
    }
    write("  600   800 \n");
    EXPECT_EQ(platform::rememberedWindowSize(), QSize(600, 800)) << "blanks around the numbers";
}

TEST_F(WindowMemoryTest, AnUnwritableFolderIsReportedNotFatal) {
    write("1 1");
    qputenv("XDG_CONFIG_HOME", platform::windowMemoryPath().toUtf8()); // a file where the folder belongs
    EXPECT_FALSE(platform::rememberWindowSize(QSize(480, 640)));
}

} // namespace
