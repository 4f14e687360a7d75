// A user's bookmarks in an installed Talvino (a real install into a temporary prefix, copied per
// test): the first start makes the user's copy, a bookmark saved there is still listed after a
// restart and after an upgrade of the shipped catalogue, and a user whose data folder cannot be
// written reads the shipped catalogue and is told honestly that saving failed.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/catalogue_location.h"
#include "app/global_objects.h"
#include "db/database.h"
#include "platform/data/engine.h"
#include "platform/data/utf.h"
#include "platform/testing/driver.h"
#include "resources/dialog_ids.h"
#include "resources/resources.h"
#include "results/results_screen.h"
#include "screen/application.h"
#include "search/search_form.h"
#include "tools/catalogue/bookmark_transfer.h"
#include "tools/catalogue/catalogue_writer.h"

namespace fs = std::filesystem;
using namespace results_screen;

namespace {

// A whole file, byte for byte.
std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Starts `program` with `variables` as its whole environment (and `actions` on its files, where
// given); posix_spawn's result, the child's id in `pid`.
int spawnProgram(const std::string& program, std::vector<std::string> variables,
                 const posix_spawn_file_actions_t* actions, pid_t& pid) {
    std::vector<char*> envp;
    for (std::string& variable : variables)
        envp.push_back(variable.data());
    envp.push_back(nullptr);
    std::string path = program;
    char* argv[] = {path.data(), nullptr};
    return posix_spawn(&pid, path.c_str(), actions, nullptr, argv, envp.data());
}

const std::u16string kSaved = u"Das Lesezeichen wurde gespeichert.";
const std::u16string kSaveFailed =
    u"Das Lesezeichen konnte nicht gespeichert werden. Ihre Eingaben bleiben erhalten.";

class InstalledProgram : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string prefix = TALVINO_TEST_PREFIX;
        ASSERT_TRUE(fs::exists(prefix + "/bin/talvino"))
            << "no install in " << prefix << " (the install fixture runs first)";
        std::string pattern = (fs::temp_directory_path() / "talvino-install-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root = pattern;
        // The installed tree, moved elsewhere: it finds its catalogue wherever it lies.
        fs::create_directories(root + "/prefix/bin");
        fs::create_directories(root + "/prefix/share");
        fs::copy_file(prefix + "/bin/talvino", program());
        fs::copy(prefix + "/share/talvino", root + "/prefix/share/talvino", fs::copy_options::recursive);

        createGlobalObjects();
        g_application->instance = talvinoModule();
        g_application->mainWindow = nullptr;
        g_searchForm->window = nullptr;
        g_database->allocateQueryBuffer();
    }
    void TearDown() override {
        if (g_database) {
            g_database->closeCatalogue();
            g_database->freeQueryBuffer();
            g_database->useCatalogueFile({});
        }
        choice = CatalogueChoice();
        std::error_code error;
        for (const auto& e : fs::recursive_directory_iterator(root, error))
            if (e.is_directory()) ::chmod(e.path().c_str(), 0755);
        fs::remove_all(root, error);
    }

    std::string program() const { return root + "/prefix/bin/talvino"; }
    std::string shipped() const { return root + "/prefix/share/talvino/catalogue/talvino2006_db.cdb"; }
    std::string userFolder() const { return root + "/home/.local/share/talvino"; }
    std::string copy() const { return userFolder() + "/talvino2006_db.cdb"; }

    // What the program does before its main menu opens the catalogue.
    void start() {
        g_database->closeCatalogue();
        choice = CatalogueChoice(); // the earlier run has ended
        choice = locateCatalogue(program(), userFolder());
        g_database->useCatalogueFile(ado::toUtf16(choice.path));
        ASSERT_TRUE(g_database->openCatalogue()) << choice.path;
    }

    // The lowest or highest ID ("min", "max") of an entry that result lists show.
    std::u16string entryId(const std::u16string& which = u"min") {
        const std::u16string sql = u"select " + which + u"(ID) from talvino where Name is not null";
        std::copy(sql.begin(), sql.end() + 1, g_database->queryBuffer);
        char16_t id[20] = u"";
        EXPECT_TRUE(g_database->scalarQuery(id, 20));
        return id;
    }

    // Opens the entry on the results screen, ticks the bookmark box on its bookmark tab, types
    // the note and saves.
    void saveBookmark(const std::u16string& entryId, const std::u16string& note) {
        const std::u16string sql = u"SELECT * FROM talvino WHERE (ID = " + entryId + u") ORDER by STICHWORT";
        std::copy(sql.begin(), sql.end() + 1, g_database->queryBuffer);
        const HWND dialog = driver.open(talvinoModule(), kResultsDialog, ResultsProc);
        ASSERT_NE(dialog, nullptr);
        const auto categories = driver.treeItems(dialog, kTree);
        ASSERT_FALSE(categories.empty());
        ASSERT_FALSE(categories[0].children.empty());
        ASSERT_TRUE(
            driver.selectTreeItem(dialog, kTree, {categories[0].label, categories[0].children[0].label}));
        ASSERT_TRUE(driver.selectTab(dialog, kTabs, kBookmarkTab));
        ASSERT_TRUE(driver.tap(dialog, kBookmarkBox));
        ASSERT_TRUE(driver.type(dialog, kNoteEdit, note));
        ASSERT_TRUE(driver.tap(dialog, kSaveButton));
        driver.close(dialog);
    }

    // The labels of the bookmark list and the note of the first one.
    std::pair<std::vector<std::u16string>, std::u16string> bookmarkList() {
        g_database->queryBuffer[0] = u'\0';
        const HWND dialog = driver.open(talvinoModule(), kResultsDialog, ResultsProc);
        std::vector<std::u16string> labels;
        std::u16string note;
        const auto items = driver.treeItems(dialog, kTree);
        if (!items.empty())
            for (const auto& child : items[0].children)
                labels.push_back(child.label);
        if (!labels.empty() && driver.selectTreeItem(dialog, kTree, {u"Lesezeichen", labels[0]}))
            note = driver.text(dialog, kNoteEdit);
        driver.close(dialog);
        return {labels, note};
    }

    std::string root;
    CatalogueChoice choice;
    platform::testing::Driver driver;
};

TEST_F(InstalledProgram, TheFirstStartMakesTheCopyAndABookmarkSavedThereSurvivesARestart) {
    start();
    EXPECT_EQ(choice.kind, CatalogueChoice::Kind::UserCopy);
    EXPECT_EQ(choice.path, copy());
    const std::u16string entry = entryId();
    saveBookmark(entry, u"für Oma's Geburtstag");
    ASSERT_EQ(driver.messageBoxes().size(), 1u);
    EXPECT_EQ(driver.messageBoxes()[0].text, kSaved);

    start();
    const auto [labels, note] = bookmarkList();
    EXPECT_EQ(labels.size(), 1u);
    EXPECT_EQ(note, u"für Oma's Geburtstag");
    EXPECT_TRUE(catalogue::readBookmarks(shipped()).empty()) << "the shipped catalogue stays as installed";
}

TEST_F(InstalledProgram, AnUpgradeOfTheShippedCatalogueKeepsEveryBookmark) {
    start();
    const std::u16string first = entryId(u"min");
    const std::u16string last = entryId(u"max");
    saveBookmark(first, u"erste Notiz");
    saveBookmark(last, u"fällt weg");
    g_database->closeCatalogue();

    // The next release drops the last entry and adds one.
    const std::string rebuilt = root + "/rebuilt.cdb";
    fs::copy_file(shipped(), rebuilt);
    ::chmod(rebuilt.c_str(), 0644);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(rebuilt.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(ado::registerGermanOrder(db), SQLITE_OK);
    const std::string sql =
        "CREATE TEMP TABLE neu AS SELECT * FROM talvino WHERE ID = " + ado::toUtf8(first) +
        "; UPDATE neu SET ID = 999999, STICHWORT = 'Neuzugang', Stichwort_Klein = 'neuzugang'"
        "; INSERT INTO talvino SELECT * FROM neu; DELETE FROM talvino WHERE ID = " +
        ado::toUtf8(last);
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
    fs::remove(shipped());
    fs::copy_file(rebuilt, shipped());
    ::chmod(shipped().c_str(), 0444);

    start();
    EXPECT_TRUE(choice.notes.empty());
    EXPECT_FALSE(fs::exists(copy() + ".backup"));
    const auto [labels, note] = bookmarkList();
    EXPECT_EQ(labels.size(), 2u) << "the bookmark of the dropped entry is kept too";
    EXPECT_EQ(note, u"erste Notiz");
    const auto kept = catalogue::exportBookmarks(copy());
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[1].note, std::u16string(u"fällt weg"));
    EXPECT_EQ(entryId(u"max"), u"999999") << "the copy holds the new entry";
}

TEST_F(InstalledProgram, AnInstallWithThePrefixOfTheUsersOwnDataLeavesTheirCopyAlone) {
    start();
    saveBookmark(entryId(), u"bleibt");
    g_database->closeCatalogue();
    const std::string before = readFile(copy());

    // cmake --install build --prefix ~/.local, as the README allows.
    const std::string local = root + "/home/.local";
    const std::string install =
        std::string(TALVINO_INSTALL_COMMAND) + " --prefix '" + local + "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(install.c_str()), 0) << install;
    EXPECT_EQ(readFile(copy()), before) << "the install did not touch the copy";

    // The program installed there works on the same copy.
    g_database->useCatalogueFile({});
    choice = CatalogueChoice();
    choice = locateCatalogue(local + "/bin/talvino", userFolder());
    EXPECT_EQ(choice.path, copy());
    g_database->useCatalogueFile(ado::toUtf16(choice.path));
    ASSERT_TRUE(g_database->openCatalogue());
    const auto [labels, note] = bookmarkList();
    EXPECT_EQ(labels.size(), 1u);
    EXPECT_EQ(note, u"bleibt");
}

// Real starts of the installed program, each killed after `ms` while it makes or upgrades the copy.
void startAndKill(const std::string& program, const std::string& home, int ms) {
    pid_t pid = -1;
    ASSERT_EQ(spawnProgram(program, {"HOME=" + home, "QT_QPA_PLATFORM=offscreen", "LANG=de_DE.UTF-8"},
                           nullptr, pid),
              0);
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
}

TEST_F(InstalledProgram, StartsKilledWhileTheyMakeOrUpgradeTheCopyLeaveNothingBehind) {
    const std::vector<std::string> clean = {"talvino.lock", "talvino2006_db.cdb",
                                            "talvino2006_db.cdb.origin"};
    const auto filesInFolder = [&] {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(userFolder()))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    };
    for (int ms : {0, 2, 5, 10, 20, 40, 80})
        startAndKill(program(), root + "/home", ms);
    start();
    EXPECT_EQ(filesInFolder(), clean) << "the first copy";
    saveBookmark(entryId(), u"überlebt");
    g_database->closeCatalogue();

    // A new shipped catalogue: every killed start may have begun the upgrade.
    fs::remove(shipped());
    const std::string rebuilt = root + "/rebuilt.cdb";
    fs::copy_file(copy(), rebuilt);
    catalogue::replaceBookmarks(rebuilt, {});
    fs::copy_file(rebuilt, shipped());
    ::chmod(shipped().c_str(), 0444);
    for (int ms : {0, 2, 5, 10, 20, 40, 80})
        startAndKill(program(), root + "/home", ms);
    start();
    EXPECT_EQ(filesInFolder(), clean) << "the upgrade";
    const auto [labels, note] = bookmarkList();
    EXPECT_EQ(labels.size(), 1u);
    EXPECT_EQ(note, u"überlebt");
}

TEST_F(InstalledProgram, AStartWithADamagedCopyKeepsItAsideCarriesTheBookmarkAndSaysWhere) {
    start();
    saveBookmark(entryId(), u"gerettet");
    g_database->closeCatalogue();
    choice = CatalogueChoice();                            // the earlier run has ended
    fs::resize_file(copy(), fs::file_size(copy()) - 1000); // cut short

    // The real program, its standard error in a file; ended by SIGTERM once the copy is replaced
    // (the HINWEIS box is then answered as every open box is at the end).
    const std::string errors = root + "/errors.txt";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = -1;
    ASSERT_EQ(spawnProgram(program(), {"HOME=" + root + "/home", "QT_QPA_PLATFORM=offscreen"}, &actions, pid),
              0);
    posix_spawn_file_actions_destroy(&actions);
    std::string damaged;
    for (int i = 0; i < 3000 && damaged.empty(); ++i) {
        for (const auto& e : fs::directory_iterator(userFolder()))
            if (e.path().filename().string().rfind("talvino2006_db.cdb.damaged-", 0) == 0) damaged = e.path();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::kill(pid, SIGTERM); // whenever it comes, the start goes on to its clean end
    int status = -1;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    ASSERT_FALSE(damaged.empty()) << "the damaged copy is kept beside the new one";
    const std::string said = readFile(errors);
    EXPECT_NE(said.find(damaged), std::string::npos) << said;

    start();
    const auto [labels, note] = bookmarkList();
    EXPECT_EQ(labels.size(), 1u);
    EXPECT_EQ(note, u"gerettet");
}

TEST_F(InstalledProgram, AReadOnlyDataFolderReadsTheShippedCatalogueAndSavingSaysItFailed) {
    fs::create_directories(userFolder());
    ::chmod(userFolder().c_str(), 0555);
    start();
    EXPECT_EQ(choice.kind, CatalogueChoice::Kind::ShippedReadOnly);
    EXPECT_EQ(choice.path, shipped());
    const std::u16string entry = entryId();
    EXPECT_FALSE(entry.empty()) << "the guide works";
    saveBookmark(entry, u"geht nicht");
    ASSERT_EQ(driver.messageBoxes().size(), 1u);
    EXPECT_EQ(driver.messageBoxes()[0].caption, u"FEHLER");
    EXPECT_EQ(driver.messageBoxes()[0].text, kSaveFailed);
    EXPECT_TRUE(catalogue::readBookmarks(shipped()).empty());
}

TEST_F(InstalledProgram, APortableCopyBesideTheProgramIsUsedAsItIs) {
    fs::copy_file(shipped(), root + "/prefix/bin/talvino2006_db.cdb");
    ::chmod((root + "/prefix/bin/talvino2006_db.cdb").c_str(), 0644);
    start();
    EXPECT_EQ(choice.kind, CatalogueChoice::Kind::NextToProgram);
    saveBookmark(entryId(), u"tragbar");
    EXPECT_EQ(catalogue::readBookmarks(root + "/prefix/bin/talvino2006_db.cdb").size(), 1u);
    EXPECT_FALSE(fs::exists(userFolder()));
}

} // namespace
