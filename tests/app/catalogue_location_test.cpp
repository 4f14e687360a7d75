// Which catalogue the program opens: the portable one beside it, the user's own copy (made on the
// first start, rebuilt with every bookmark when the shipped one changes), or the shipped one
// read-only when the user's folder cannot be written.
#include "app/catalogue_location.h"

#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "tests/support/test_catalogue.h"
#include "tools/catalogue/bookmark_transfer.h"

namespace fs = std::filesystem;
using catalogue::Bookmark;
using Kind = CatalogueChoice::Kind;

namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& e : fs::directory_iterator(folder, error))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// An installed tree in a temporary folder: prefix/bin/talvino and the shipped catalogue,
// read-only as the install leaves it, in prefix/share/talvino/catalogue; and a home with a data
// folder.
class UserCatalogue : public ::testing::Test {
  protected:
    void SetUp() override {
        shipped.addSampleContent();
        shipped.build();
        fs::create_directories(root() + "/prefix/bin");
        fs::create_directories(root() + "/prefix/share/talvino/catalogue");
        std::ofstream(program()) << "#!/bin/sh\n";
        installShipped();
    }
    void TearDown() override {
        // Folders a test made read-only must be removable again.
        std::error_code error;
        for (const auto& e : fs::recursive_directory_iterator(root(), error))
            if (e.is_directory()) ::chmod(e.path().c_str(), 0755);
    }

    std::string root() const { return shipped.folder(); }
    std::string program() const { return root() + "/prefix/bin/talvino"; }
    std::string shippedPath() const { return root() + "/prefix/share/talvino/catalogue/talvino2006_db.cdb"; }
    std::string userFolder() const { return root() + "/home/.local/share/talvino"; }
    std::string copy() const { return userFolder() + "/talvino2006_db.cdb"; }

    // Copies the fixture's catalogue as it was last built into the installed tree (a package
    // upgrade replaces the file).
    void installShipped() {
        std::error_code error;
        fs::remove(shippedPath(), error);
        fs::copy_file(shipped.path(), shippedPath());
        ::chmod(shippedPath().c_str(), 0444);
    }

    CatalogueChoice start() { return locateCatalogue(program(), userFolder()); }

    TestCatalogue shipped;
};

TEST_F(UserCatalogue, FirstStartMakesTheCopyFromTheShippedCatalogue) {
    fs::create_directories(root() + "/home");
    ::chmod((root() + "/home").c_str(), 0751);
    const CatalogueChoice choice = start();
    EXPECT_EQ(choice.kind, Kind::UserCopy);
    EXPECT_EQ(choice.path, copy());
    EXPECT_TRUE(choice.notes.empty());
    EXPECT_EQ(readFile(copy()), readFile(shippedPath()));
    // The user's copy can take bookmarks although the shipped file cannot.
    struct stat info {};
    ASSERT_EQ(::stat(copy().c_str(), &info), 0);
    EXPECT_NE(info.st_mode & S_IWUSR, 0u);
    // What the program makes under the data folder is the user's alone; folders that were there
    // keep their permissions.
    for (const std::string& made :
         {root() + "/home/.local", root() + "/home/.local/share", userFolder(), copy() + ".origin"}) {
        ASSERT_EQ(::stat(made.c_str(), &info), 0) << made;
        EXPECT_EQ(info.st_mode & 0777, S_ISDIR(info.st_mode) ? 0700u : 0600u) << made;
    }
    ASSERT_EQ(::stat((root() + "/home").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0751u) << "the home was there before";
    // No temporary file stays behind: the copy, where it came from, and the lock.
    EXPECT_EQ(filesIn(userFolder()),
              (std::vector<std::string>{"talvino.lock", "talvino2006_db.cdb", "talvino2006_db.cdb.origin"}));
}

TEST_F(UserCatalogue, WhatAnEarlierVersionMadeReadableForEverybodyBecomesTheUsersAlone) {
    start();
    for (const std::string& path : {userFolder(), copy(), copy() + ".origin"})
        ::chmod(path.c_str(), fs::is_directory(path) ? 0755 : 0644);
    start();
    for (const std::string& path : {userFolder(), copy(), copy() + ".origin"}) {
        struct stat info {};
        ASSERT_EQ(::stat(path.c_str(), &info), 0) << path;
        EXPECT_EQ(info.st_mode & 0777, fs::is_directory(path) ? 0700u : 0600u) << path;
    }
}

TEST_F(UserCatalogue, ALaterStartKeepsTheCopyAndItsBookmarks) {
    start();
    catalogue::replaceBookmarks(copy(),
                                {Bookmark{std::nullopt, TestCatalogue::kChablis, u"Austern", u"kühl"}});
    const std::string before = readFile(copy());
    const CatalogueChoice again = start();
    EXPECT_EQ(again.kind, Kind::UserCopy);
    EXPECT_TRUE(again.notes.empty());
    EXPECT_EQ(readFile(copy()), before);
}

TEST_F(UserCatalogue, AnUpgradeCarriesOverEveryBookmarkAlsoOfAnEntryThatIsGone) {
    start();
    const std::vector<Bookmark> saved = {
        {1, TestCatalogue::kBeaujolais, u"Für's Grillen", u"Mit \"Freunden\"\r\nam Samstag 🍷"},
        {2, TestCatalogue::kChablis, std::nullopt, u""},
        {7, TestCatalogue::kRioja, u"Rioja", std::nullopt},
    };
    catalogue::replaceBookmarks(copy(), saved);

    // The new release drops the Beaujolais and adds an entry.
    auto& entries = shipped.content().entries;
    entries.erase(
        std::remove_if(entries.begin(), entries.end(),
                       [](const catalogue::Entry& e) { return e.id == TestCatalogue::kBeaujolais; }),
        entries.end());
    shipped.addEntry(TestCatalogue::entry(1010, u"Pouilly-Fuissé", u"F", u"Burgund"));
    shipped.build();
    installShipped();

    const CatalogueChoice choice = start();
    EXPECT_EQ(choice.kind, Kind::UserCopy);
    EXPECT_TRUE(choice.notes.empty()) << choice.notes.front();
    EXPECT_TRUE(catalogue::readBookmarks(copy()) == saved);
    const std::vector<catalogue::ExportedBookmark> exported = catalogue::exportBookmarks(copy());
    ASSERT_EQ(exported.size(), 3u);
    EXPECT_FALSE(exported[0].keyword.has_value()) << "the Beaujolais is gone from the new catalogue";
    EXPECT_EQ(exported[1].keyword, std::u16string(u"Chablis Premier Cru"));
    EXPECT_EQ(filesIn(userFolder()),
              (std::vector<std::string>{"talvino.lock", "talvino2006_db.cdb", "talvino2006_db.cdb.origin"}))
        << "the backup goes once the new copy has opened";
    // A further start finds the copy up to date and leaves it alone.
    catalogue::replaceBookmarks(copy(), saved);
    const std::string upgraded = readFile(copy());
    start();
    EXPECT_EQ(readFile(copy()), upgraded);
}

TEST_F(UserCatalogue, AnUpgradeBringsTheNewEntries) {
    start();
    shipped.addEntry(TestCatalogue::entry(1010, u"Pouilly-Fuissé", u"F", u"Burgund"));
    shipped.build();
    installShipped();
    start();
    catalogue::replaceBookmarks(copy(), {Bookmark{std::nullopt, 1010, u"neu", u""}});
    const auto exported = catalogue::exportBookmarks(copy());
    ASSERT_EQ(exported.size(), 1u);
    EXPECT_EQ(exported[0].keyword, std::u16string(u"Pouilly-Fuissé"));
}

// The note beside the copy holds the shipped catalogue's fingerprint and the file it was taken
// from; while that file is the very same, a start trusts the note and does not read it through.
std::vector<std::string> originLines(const std::string& copy) {
    std::ifstream in(copy + ".origin");
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

void writeOriginLines(const std::string& copy, const std::vector<std::string>& lines) {
    std::ofstream out(copy + ".origin", std::ios::trunc);
    for (const std::string& line : lines)
        out << line << "\n";
}

TEST_F(UserCatalogue, TheVerySameShippedFileIsNotReadAgain) {
    start();
    std::vector<std::string> origin = originLines(copy());
    ASSERT_EQ(origin.size(), 3u);
    EXPECT_FALSE(origin[1].empty()) << "the shipped file as it was";
    origin[0] = "0 0"; // a fingerprint that would call for an upgrade, were the file read
    writeOriginLines(copy(), origin);
    const std::string before = readFile(copy());
    EXPECT_TRUE(start().notes.empty());
    EXPECT_EQ(readFile(copy()), before);
    EXPECT_EQ(originLines(copy()), origin);
}

TEST_F(UserCatalogue, ANoteWithoutTheFileIsCheckedByTheBytesAndCompleted) {
    start();
    catalogue::replaceBookmarks(copy(),
                                {Bookmark{std::nullopt, TestCatalogue::kChablis, u"Austern", u"kühl"}});
    const std::vector<std::string> full = originLines(copy());
    ASSERT_EQ(full.size(), 3u);
    writeOriginLines(copy(), {full[0]}); // as an earlier version wrote it
    const std::string before = readFile(copy());
    EXPECT_TRUE(start().notes.empty());
    EXPECT_EQ(readFile(copy()), before) << "the same catalogue: no upgrade";
    EXPECT_EQ(originLines(copy()), full);

    writeOriginLines(copy(), {"0 0"}); // an earlier version's note of another catalogue
    start();
    const std::vector<std::string> upgraded = originLines(copy());
    ASSERT_EQ(upgraded.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(upgraded.begin(), upgraded.begin() + 2),
              std::vector<std::string>(full.begin(), full.begin() + 2))
        << "upgraded, and the note names the shipped file";
    EXPECT_EQ(catalogue::exportBookmarks(copy()).size(), 1u);
}

// A copy that no longer opens is kept beside a new one, which takes every bookmark that can still
// be read from it; the user is told once, with the number and the old file's place.
struct Damage {
    const char* name;
    std::function<void(const std::string& copy)> apply;
    std::size_t recovered;
};

void PrintTo(const Damage& d, std::ostream* os) {
    *os << d.name;
}

class DamagedCopy : public UserCatalogue, public ::testing::WithParamInterface<Damage> {};

TEST_P(DamagedCopy, IsKeptAsidAndEveryReadableBookmarkCarriedIntoANewCopy) {
    start();
    const std::vector<Bookmark> saved = {
        {1, TestCatalogue::kChablis, u"Austern", u"kühl"},
        {2, TestCatalogue::kRioja, u"Rioja", std::nullopt},
        {3, 777, u"verschollen", u"Eintrag fehlt"},
    };
    catalogue::replaceBookmarks(copy(), saved);
    GetParam().apply(copy());
    const std::string damagedBytes = readFile(copy());

    const CatalogueChoice choice = start();
    EXPECT_EQ(choice.kind, Kind::UserCopy);
    EXPECT_EQ(choice.path, copy());
    const std::vector<Bookmark> carried = catalogue::readBookmarks(copy());
    ASSERT_EQ(carried.size(), GetParam().recovered);
    EXPECT_TRUE(std::equal(carried.begin(), carried.end(), saved.begin()));
    EXPECT_EQ(catalogue::exportBookmarks(copy()).size(), carried.size()) << "the new copy opens";

    const std::vector<std::string> files = filesIn(userFolder());
    const auto damaged = std::find_if(files.begin(), files.end(), [](const std::string& name) {
        return name.rfind("talvino2006_db.cdb.damaged-", 0) == 0;
    });
    ASSERT_NE(damaged, files.end());
    const std::string damagedPath = userFolder() + "/" + *damaged;
    EXPECT_EQ(readFile(damagedPath), damagedBytes) << "the old file is kept as it was";
    EXPECT_NE(choice.notice.find("beschädigt"), std::string::npos) << choice.notice;
    EXPECT_NE(choice.notice.find(userFolder() + "\n"), std::string::npos) << choice.notice;
    EXPECT_NE(choice.notice.find(damaged->substr(damaged->find(".damaged-"))), std::string::npos)
        << choice.notice;
    if (GetParam().recovered > 0)
        EXPECT_NE(choice.notice.find(" " + std::to_string(GetParam().recovered) + " Lesezeichen"),
                  std::string::npos)
            << choice.notice;
    else
        EXPECT_NE(choice.notice.find("kein Lesezeichen"), std::string::npos) << choice.notice;
    ASSERT_EQ(choice.notes.size(), 1u);
    EXPECT_NE(choice.notes[0].find(damagedPath), std::string::npos) << choice.notes[0];

    const CatalogueChoice again = start();
    EXPECT_TRUE(again.notice.empty()) << "said once";
    EXPECT_EQ(filesIn(userFolder()).size(), files.size());
}

INSTANTIATE_TEST_SUITE_P(
    Damages, DamagedCopy,
    ::testing::Values(
        Damage{"CutByOneByte",
               [](const std::string& copy) { fs::resize_file(copy, fs::file_size(copy) - 1); }, 3},
        Damage{"OnlyItsHeaderLeft", [](const std::string& copy) { fs::resize_file(copy, 100); }, 0},
        Damage{
            "NotADatabase",
            [](const std::string& copy) { std::ofstream(copy, std::ios::trunc) << "Notizen, kein Katalog"; },
            0}),
    [](const ::testing::TestParamInfo<Damage>& row) { return std::string(row.param.name); });

TEST_F(UserCatalogue, ADamagedCopyWithoutAShippedCatalogueStaysAndIsNamed) {
    start();
    std::ofstream(copy(), std::ios::trunc) << "Notizen, kein Katalog";
    fs::remove(shippedPath());
    fs::copy_file(copy(), shippedPath());
    const CatalogueChoice choice = start();
    EXPECT_EQ(choice.path, copy());
    EXPECT_TRUE(choice.notice.empty());
    ASSERT_EQ(choice.notes.size(), 1u);
    EXPECT_NE(choice.notes[0].find(copy()), std::string::npos) << choice.notes[0];
    EXPECT_EQ(readFile(copy()), "Notizen, kein Katalog");
}

TEST_F(UserCatalogue, AnUpgradeStoppedBetweenItsRenamesIsFinishedFromTheBackup) {
    start();
    catalogue::replaceBookmarks(copy(), {Bookmark{3, TestCatalogue::kPort, u"Portwein", u"zum Käse"}});
    fs::rename(copy(), copy() + ".backup");
    shipped.addEntry(TestCatalogue::entry(1010, u"Pouilly-Fuissé", u"F", u"Burgund"));
    shipped.build();
    installShipped();
    const CatalogueChoice choice = start();
    EXPECT_EQ(choice.kind, Kind::UserCopy);
    const std::vector<Bookmark> carried = {Bookmark{3, TestCatalogue::kPort, u"Portwein", u"zum Käse"}};
    EXPECT_TRUE(catalogue::readBookmarks(copy()) == carried);
    EXPECT_FALSE(fs::exists(copy() + ".backup"));
}

TEST_F(UserCatalogue, NoUpgradeWhileAnotherProgramUsesTheCopy) {
    CatalogueChoice running = start();
    shipped.addEntry(TestCatalogue::entry(1010, u"Pouilly-Fuissé", u"F", u"Burgund"));
    shipped.build();
    installShipped();
    const std::string before = readFile(copy());
    {
        const CatalogueChoice second = start();
        EXPECT_EQ(second.path, copy());
        EXPECT_EQ(readFile(copy()), before);
        EXPECT_EQ(second.notes.size(), 1u);
    }
    running = CatalogueChoice();
    start();
    EXPECT_NE(readFile(copy()), before) << "the next start alone upgrades";
}

TEST_F(UserCatalogue, AReadOnlyDataFolderOpensTheShippedCatalogue) {
    fs::create_directories(userFolder());
    ::chmod(userFolder().c_str(), 0555);
    const CatalogueChoice choice = start();
    EXPECT_EQ(choice.kind, Kind::ShippedReadOnly);
    EXPECT_EQ(choice.path, shippedPath());
    EXPECT_EQ(choice.notes.size(), 1u);
    EXPECT_TRUE(filesIn(userFolder()).empty());
}

TEST_F(UserCatalogue, ADataFolderThatCannotBeMadeOpensTheShippedCatalogue) {
    // A file where the folder should be stops every user, root too.
    fs::create_directories(root() + "/home/.local");
    std::ofstream(root() + "/home/.local/share") << "keine Ordner";
    const CatalogueChoice choice = start();
    EXPECT_EQ(choice.kind, Kind::ShippedReadOnly);
    EXPECT_EQ(choice.path, shippedPath());
}

TEST_F(UserCatalogue, AnExistingCopyInAFolderTurnedReadOnlyIsStillOpened) {
    start();
    ::chmod(userFolder().c_str(), 0555);
    const CatalogueChoice choice = start();
    EXPECT_EQ(choice.kind, Kind::UserCopy);
    EXPECT_EQ(choice.path, copy());
}

TEST_F(UserCatalogue, APortableCatalogueBesideTheProgramIsUsedAsItIs) {
    shipped.build();
    fs::copy_file(shipped.path(), root() + "/prefix/bin/talvino2006_db.cdb");
    const std::string before = readFile(root() + "/prefix/bin/talvino2006_db.cdb");
    const CatalogueChoice choice = start();
    EXPECT_EQ(choice.kind, Kind::NextToProgram);
    EXPECT_EQ(choice.path, root() + "/prefix/bin/talvino2006_db.cdb");
    EXPECT_FALSE(fs::exists(userFolder()));
    EXPECT_EQ(readFile(choice.path), before);
}

TEST_F(UserCatalogue, AReadOnlyCatalogueBesideTheProgramIsCopiedForTheUser) {
    fs::remove(shippedPath());
    fs::copy_file(shipped.path(), root() + "/prefix/bin/talvino2006_db.cdb");
    ::chmod((root() + "/prefix/bin/talvino2006_db.cdb").c_str(), 0444);
    const CatalogueChoice choice = start();
    EXPECT_EQ(choice.kind, Kind::UserCopy);
    EXPECT_EQ(readFile(copy()), readFile(root() + "/prefix/bin/talvino2006_db.cdb"));
}

TEST_F(UserCatalogue, NoCatalogueAnywhereNamesTheOneBesideTheProgram) {
    fs::remove(shippedPath());
    const CatalogueChoice choice = start();
    EXPECT_EQ(choice.kind, Kind::Missing);
    EXPECT_EQ(choice.path, root() + "/prefix/bin/talvino2006_db.cdb");
}

TEST_F(UserCatalogue, AnInstallIntoTheUsersOwnDataFolderNeverTouchesTheCopy) {
    // prefix ~/.local: the program in ~/.local/bin, its catalogue under ~/.local/share/talvino.
    const std::string local = root() + "/home/.local";
    fs::create_directories(local + "/bin");
    fs::create_directories(local + "/share/talvino/catalogue");
    fs::copy_file(program(), local + "/bin/talvino");
    const std::string installed = shippedCataloguePath(local + "/bin/talvino");
    fs::copy_file(shippedPath(), installed);
    EXPECT_NE(installed, copy()) << "the shipped catalogue and the copy are never one path";

    CatalogueChoice choice = locateCatalogue(local + "/bin/talvino", userFolder());
    EXPECT_EQ(choice.kind, Kind::UserCopy);
    EXPECT_EQ(choice.path, copy());
    const std::vector<Bookmark> saved = {{1, TestCatalogue::kChablis, u"Austern", u"kühl"}};
    catalogue::replaceBookmarks(copy(), saved);
    choice = CatalogueChoice();

    // The same install again: it writes its own file only.
    fs::remove(installed);
    fs::copy_file(shippedPath(), installed);
    choice = locateCatalogue(local + "/bin/talvino", userFolder());
    EXPECT_EQ(choice.path, copy());
    EXPECT_TRUE(catalogue::readBookmarks(copy()) == saved);
}

TEST_F(UserCatalogue, ACopyFromAnEarlierInstallIntoTheDataFolderBecomesTheUsersOwn) {
    // An earlier version installed with the prefix ~/.local put its read-only catalogue where
    // the copy lies, with no note beside it.
    fs::create_directories(userFolder());
    fs::copy_file(shippedPath(), copy());
    ::chmod(copy().c_str(), 0444);
    const CatalogueChoice choice = start();
    EXPECT_EQ(choice.kind, Kind::UserCopy);
    struct stat info {};
    ASSERT_EQ(::stat(copy().c_str(), &info), 0);
    EXPECT_NE(info.st_mode & S_IWUSR, 0u) << "bookmarks can be saved in it";
}

TEST_F(UserCatalogue, TheNextStartRemovesWhatDeadStartsLeftAndNothingElse) {
    start();
    const std::vector<Bookmark> saved = {{1, TestCatalogue::kChablis, u"Austern", u"kühl"}};
    catalogue::replaceBookmarks(copy(), saved);
    const std::vector<std::string> kept = filesIn(userFolder());
    const std::vector<std::string> leftovers = {"talvino2006_db.cdb.new-a1B2c3",
                                                "talvino2006_db.cdb.new-a1B2c3-journal", ".probe-Xy12Zq",
                                                "talvino2006_db.cdb.origin.new", "talvino2006_db.cdb.backup"};
    const std::vector<std::string> ours = {"talvino2006_db.cdb.damaged-2026-01-02", "meine-notizen.txt"};
    std::vector<std::string> all = kept;
    all.insert(all.end(), leftovers.begin(), leftovers.end());
    all.insert(all.end(), ours.begin(), ours.end());
    std::sort(all.begin(), all.end());
    {
        const CatalogueChoice running = start();
        for (const std::string& name : leftovers)
            std::ofstream(userFolder() + "/" + name) << std::string(1000, 'x');
        for (const std::string& name : ours)
            std::ofstream(userFolder() + "/" + name) << "bleibt";
        const CatalogueChoice second = start();
        EXPECT_EQ(filesIn(userFolder()), all) << "while a program runs, its files may be its own";
    }
    start();
    std::vector<std::string> expected = kept;
    expected.insert(expected.end(), ours.begin(), ours.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(filesIn(userFolder()), expected);
    EXPECT_TRUE(catalogue::readBookmarks(copy()) == saved);
}

TEST_F(UserCatalogue, ACopyAndItsNoteChangeTogether) {
    // An upgrade to B stopped after its note was written, and the earlier catalogue A is installed
    // again: the copy at hand is of unknown origin and is rebuilt from A with every bookmark.
    start();
    const std::vector<std::string> noteOfA = originLines(copy());
    shipped.addEntry(TestCatalogue::entry(1010, u"Pouilly-Fuissé", u"F", u"Burgund"));
    shipped.build();
    installShipped();
    start();
    catalogue::replaceBookmarks(copy(), {Bookmark{std::nullopt, 1010, u"neu", u""}});
    ASSERT_EQ(catalogue::exportBookmarks(copy())[0].keyword, std::u16string(u"Pouilly-Fuissé"));
    writeOriginLines(copy(), noteOfA); // names A and another file than the copy

    auto& entries = shipped.content().entries;
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [](const catalogue::Entry& e) { return e.id == 1010; }),
                  entries.end());
    shipped.build();
    installShipped();
    EXPECT_TRUE(start().notes.empty());
    const auto exported = catalogue::exportBookmarks(copy());
    ASSERT_EQ(exported.size(), 1u);
    EXPECT_FALSE(exported[0].keyword.has_value()) << "the copy holds A, which lacks the entry";
    EXPECT_EQ(originLines(copy()).size(), 3u);
    const std::string rebuilt = readFile(copy());
    start();
    EXPECT_EQ(readFile(copy()), rebuilt) << "and is then left alone";
}

TEST(UserDataFolder, FollowsXdgDataHomeAndFallsBackToTheHome) {
    EXPECT_EQ(userDataFolder("/daten", "/home/anna"), "/daten/talvino");
    EXPECT_EQ(userDataFolder(nullptr, "/home/anna"), "/home/anna/.local/share/talvino");
    EXPECT_EQ(userDataFolder("", "/home/anna"), "/home/anna/.local/share/talvino");
    EXPECT_EQ(userDataFolder("relativ/daten", "/home/anna"), "/home/anna/.local/share/talvino")
        << "a relative XDG_DATA_HOME is invalid and ignored";
}

TEST(UserDataFolder, TheShippedCatalogueLiesRelativeToTheProgram) {
    EXPECT_EQ(shippedCataloguePath("/opt/talvino/bin/talvino"),
              "/opt/talvino/share/talvino/catalogue/talvino2006_db.cdb");
}

} // namespace
