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
// read-only as the install leaves it, in prefix/share/talvino; and a home with a data folder.
class UserCatalogue : public ::testing::Test {
  protected:
    void SetUp() override {
        shipped.addSampleContent();
        shipped.build();
        fs::create_directories(root() + "/prefix/bin");
        fs::create_directories(root() + "/prefix/share/talvino");
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
    std::string shippedPath() const { return root() + "/prefix/share/talvino/talvino2006_db.cdb"; }
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
    const CatalogueChoice choice = start();
    EXPECT_EQ(choice.kind, Kind::UserCopy);
    EXPECT_EQ(choice.path, copy());
    EXPECT_TRUE(choice.notes.empty());
    EXPECT_EQ(readFile(copy()), readFile(shippedPath()));
    // The user's copy can take bookmarks although the shipped file cannot.
    struct stat info {};
    ASSERT_EQ(::stat(copy().c_str(), &info), 0);
    EXPECT_NE(info.st_mode & S_IWUSR, 0u);
    // No temporary file stays behind: the copy, where it came from, and the lock.
    EXPECT_EQ(filesIn(userFolder()),
              (std::vector<std::string>{"talvino.lock", "talvino2006_db.cdb", "talvino2006_db.cdb.origin"}));
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
    ASSERT_EQ(origin.size(), 2u);
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
    ASSERT_EQ(full.size(), 2u);
    writeOriginLines(copy(), {full[0]}); // as an earlier version wrote it
    const std::string before = readFile(copy());
    EXPECT_TRUE(start().notes.empty());
    EXPECT_EQ(readFile(copy()), before) << "the same catalogue: no upgrade";
    EXPECT_EQ(originLines(copy()), full);

    writeOriginLines(copy(), {"0 0"}); // an earlier version's note of another catalogue
    start();
    EXPECT_EQ(originLines(copy()), full) << "upgraded, and the note names the shipped file";
    EXPECT_EQ(catalogue::exportBookmarks(copy()).size(), 1u);
}

TEST_F(UserCatalogue, ACopyWhoseBookmarksCannotBeReadIsNeverReplaced) {
    start();
    std::ofstream(copy(), std::ios::trunc) << "Notizen, kein Katalog";
    shipped.addEntry(TestCatalogue::entry(1010, u"Pouilly-Fuissé", u"F", u"Burgund"));
    shipped.build();
    installShipped();
    const CatalogueChoice choice = start();
    EXPECT_EQ(choice.path, copy());
    ASSERT_EQ(choice.notes.size(), 1u);
    EXPECT_NE(choice.notes[0].find("cannot be read"), std::string::npos) << choice.notes[0];
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

TEST_F(UserCatalogue, AnInstallIntoTheUsersOwnDataFolderIsNeverTakenForTheCopy) {
    // prefix ~/.local: the shipped catalogue is where the user's copy would be.
    const std::string dataHome = root() + "/prefix/share";
    const CatalogueChoice choice = locateCatalogue(program(), dataHome + "/talvino");
    EXPECT_EQ(choice.kind, Kind::ShippedReadOnly);
    EXPECT_EQ(choice.path, shippedPath());
    EXPECT_EQ(choice.notes.size(), 1u);
    EXPECT_EQ(filesIn(dataHome + "/talvino"), (std::vector<std::string>{"talvino2006_db.cdb"}));
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
              "/opt/talvino/share/talvino/talvino2006_db.cdb");
}

} // namespace
