// The bold face kept between runs: made once and read back as made, never trusted when damaged,
// and never a reason to fail when the cache cannot be written.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "platform/gdi/bold_face.h"
#include "platform/gdi/bold_face_cache.h"
#include "platform/ui/windows.h"

using platform::gdi::cachedBoldFaceFile;
using platform::gdi::cachedEmboldenedFace;
using platform::gdi::emboldenedFace;

namespace {

QByteArray contentsOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool replaceContents(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QByteArray regularTahoma() {
    return contentsOf(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf"));
}

#define NEEDS_TAHOMA(regular)                                                                                \
    if ((regular).isEmpty()) GTEST_SKIP() << "needs the wine Tahoma (fonts-wine)"

TEST(BoldFaceCache, KeepsTheMadeFaceAndGivesItBackOnTheNextRun) {
    const QByteArray regular = regularTahoma();
    NEEDS_TAHOMA(regular);
    QTemporaryDir home;
    const QString folder = home.path() + QStringLiteral("/cache/talvino"); // not there yet
    const QByteArray made = emboldenedFace(regular);
    ASSERT_FALSE(made.isEmpty());

    EXPECT_EQ(cachedEmboldenedFace(regular, folder), made);
    const QString file = cachedBoldFaceFile(regular, folder);
    EXPECT_TRUE(QFile::exists(file));
    // Only the finished file is left, no temporary one beside it.
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{QFileInfo(file).fileName()});
    EXPECT_EQ(cachedEmboldenedFace(regular, folder), made);
}

TEST(BoldFaceCache, ReadsTheStoredFaceWithoutMakingItAgain) {
    const QByteArray regular = regularTahoma();
    NEEDS_TAHOMA(regular);
    QTemporaryDir folder;
    const QByteArray made = cachedEmboldenedFace(regular, folder.path());
    ASSERT_FALSE(made.isEmpty());

    // Bytes that are no font cannot be emboldened, so a face for them can only come from the cache.
    const QByteArray notAFont("these bytes are no font at all");
    EXPECT_TRUE(cachedEmboldenedFace(notAFont, folder.path()).isEmpty());
    EXPECT_FALSE(QFile::exists(cachedBoldFaceFile(notAFont, folder.path())));
    ASSERT_TRUE(
        QFile::copy(cachedBoldFaceFile(regular, folder.path()), cachedBoldFaceFile(notAFont, folder.path())));
    EXPECT_EQ(cachedEmboldenedFace(notAFont, folder.path()), made);
}

TEST(BoldFaceCache, ADamagedFileIsMadeAgainAndReplaced) {
    const QByteArray regular = regularTahoma();
    NEEDS_TAHOMA(regular);
    QTemporaryDir folder;
    const QByteArray made = cachedEmboldenedFace(regular, folder.path());
    const QString file = cachedBoldFaceFile(regular, folder.path());
    const QByteArray sound = contentsOf(file);
    ASSERT_GT(sound.size(), made.size());

    QByteArray flipped = sound;
    flipped[flipped.size() / 2] = static_cast<char>(flipped[flipped.size() / 2] ^ 0x10);
    const QByteArray cutShort = sound.left(sound.size() - 100);
    for (const QByteArray& damaged : {flipped, cutShort, QByteArray()}) {
        ASSERT_TRUE(replaceContents(file, damaged));
        EXPECT_EQ(cachedEmboldenedFace(regular, folder.path()), made) << damaged.size() << " bytes";
        EXPECT_EQ(contentsOf(file), sound) << damaged.size() << " bytes";
    }
}

TEST(BoldFaceCache, ACacheThatCannotBeWrittenOnlyCostsTime) {
    const QByteArray regular = regularTahoma();
    NEEDS_TAHOMA(regular);
    const QByteArray made = emboldenedFace(regular);
    QTemporaryDir home;
    // A folder below a plain file cannot be made, not even by the superuser.
    const QString blocker = home.path() + QStringLiteral("/plain file");
    ASSERT_TRUE(replaceContents(blocker, "x"));
    EXPECT_EQ(cachedEmboldenedFace(regular, blocker + QStringLiteral("/talvino")), made);
    EXPECT_EQ(cachedEmboldenedFace(regular, QString()), made); // no cache folder at all
}

TEST(BoldFaceCache, AFaceMadeWithTheProgramIsReadFromItsFolderOnlyWhenSound) {
    const QByteArray regular = regularTahoma();
    NEEDS_TAHOMA(regular);
    QTemporaryDir shipped;
    const QString missing = shipped.path() + QStringLiteral("/not there");
    const QByteArray made = cachedEmboldenedFace(regular, shipped.path()); // as the build makes it
    ASSERT_FALSE(made.isEmpty());
    EXPECT_EQ(platform::gdi::shippedEmboldenedFace(regular, {missing, shipped.path()}), made);
    // Another regular face on this machine finds nothing made for it.
    EXPECT_TRUE(platform::gdi::shippedEmboldenedFace(QByteArray("no font"), {shipped.path()}).isEmpty());
    EXPECT_TRUE(platform::gdi::shippedEmboldenedFace(regular, {missing}).isEmpty());
    // A damaged copy is not used (and, unlike the cache, never rewritten).
    const QString file = cachedBoldFaceFile(regular, shipped.path());
    QByteArray damaged = contentsOf(file);
    damaged[damaged.size() / 2] = static_cast<char>(damaged[damaged.size() / 2] ^ 0x55);
    ASSERT_TRUE(replaceContents(file, damaged));
    EXPECT_TRUE(platform::gdi::shippedEmboldenedFace(regular, {shipped.path()}).isEmpty());
    EXPECT_EQ(contentsOf(file), damaged);
}

TEST(BoldFaceCache, TheProgramsFacesLieBesideItAndInItsInstalledShareFolder) {
    platform::overrideModuleFileName(u"/opt/talvino/bin/talvino");
    const QStringList folders = platform::gdi::shippedFontFolders();
    platform::overrideModuleFileName(nullptr);
    EXPECT_EQ(folders, (QStringList{QStringLiteral("/opt/talvino/bin/fonts"),
                                    QStringLiteral("/opt/talvino/bin/../share/talvino/fonts")}));
}

TEST(BoldFaceCache, EachFontFileHasAFileOfItsOwn) {
    const QByteArray font("0123456789abcdef0123456789abcdef");
    QByteArray changed = font;
    changed[17] = 'X';
    const QByteArray longer = font + "!";
    EXPECT_EQ(cachedBoldFaceFile(font, QStringLiteral("/c")),
              cachedBoldFaceFile(QByteArray(font), QStringLiteral("/c")));
    EXPECT_NE(cachedBoldFaceFile(font, QStringLiteral("/c")),
              cachedBoldFaceFile(changed, QStringLiteral("/c")));
    EXPECT_NE(cachedBoldFaceFile(font, QStringLiteral("/c")),
              cachedBoldFaceFile(longer, QStringLiteral("/c")));
    EXPECT_TRUE(cachedBoldFaceFile(font, QStringLiteral("/c")).startsWith(QStringLiteral("/c/")));
}

// Sets an environment variable for one scope and puts the old value back.
class ScopedVariable {
  public:
    ScopedVariable(const char* name, const char* value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
        if (value)
            qputenv(name, value);
        else
            qunsetenv(name);
    }
    ~ScopedVariable() {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }

  private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

TEST(BoldFaceCache, LivesInTheUsersCacheFolder) {
    {
        ScopedVariable cache("XDG_CACHE_HOME", "/var/tmp/someone/cache");
        ScopedVariable home("HOME", "/home/someone");
        EXPECT_EQ(platform::gdi::cacheFolder(), QStringLiteral("/var/tmp/someone/cache/talvino"));
    }
    for (const char* unusable : {"", "relative/cache"}) {
        ScopedVariable cache("XDG_CACHE_HOME", unusable);
        ScopedVariable home("HOME", "/home/someone");
        EXPECT_EQ(platform::gdi::cacheFolder(), QStringLiteral("/home/someone/.cache/talvino")) << unusable;
    }
    {
        ScopedVariable cache("XDG_CACHE_HOME", nullptr);
        ScopedVariable home("HOME", nullptr);
        EXPECT_TRUE(platform::gdi::cacheFolder().isEmpty());
    }
}

} // namespace
