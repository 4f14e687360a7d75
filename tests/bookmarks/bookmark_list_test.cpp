// The bookmarks through the real program: the main menu's fourth row opens the list, a bookmark
// shows its entry, a changed note is saved, and the list opened again finds it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/global_objects.h"
#include "app/main_menu.h"
#include "resources/dialog_ids.h"
#include "resources/resources.h"
#include "results/results_screen.h"
#include "tests/support/test_catalogue.h"
#include "platform/testing/driver.h"

using namespace results_screen;

namespace {

constexpr int kBookmarkRowButton = 1050;

class BookmarkRoad : public ::testing::Test {
  protected:
    void SetUp() override {
        createGlobalObjects();
        catalogue.addSampleContent();
        catalogue.addBookmark(TestCatalogue::kRioja, u"Für Sonntag", u"mit Lamm");
        catalogue.addBookmark(TestCatalogue::kChablis, u"Austern", u"");
        catalogue.installAsProgramCatalogue();
    }
    // The program deletes its objects when the main menu ends; the next test starts afresh.
    void TearDown() override { createGlobalObjects(); }

    int runProgram() { return WinMain(talvinoModule(), nullptr, nullptr, SW_SHOW); }

    TestCatalogue catalogue;
    platform::testing::Driver driver;
};

TEST_F(BookmarkRoad, TheMenuOpensTheListAndABookmarkShowsItsEntryAndSavesItsNote) {
    std::u16string header, info, description, note;
    std::vector<std::u16string> labels;
    driver.onDialog(kMainMenuDialog, [&](HWND menu) { driver.tap(menu, kBookmarkRowButton); });
    driver.onDialog(kResultsDialog, [&](HWND results) {
        ASSERT_TRUE(driver.selectTreeItem(results, kTree, {u"Lesezeichen", u"Für Sonntag"}));
        header = driver.text(results, kHeaderLine);
        info = driver.text(results, kInfoArea);
        ASSERT_TRUE(driver.selectTab(results, kTabs, kBookmarkTab));
        description = driver.text(results, kDescriptionEdit);
        ASSERT_TRUE(driver.type(results, kNoteEdit, u" und Rosmarin"));
        ASSERT_TRUE(driver.tap(results, kSaveButton));
        driver.tapDone();
    });
    driver.onDialog(kMainMenuDialog, [&](HWND menu) { driver.tap(menu, kBookmarkRowButton); });
    driver.onDialog(kResultsDialog, [&](HWND results) {
        const auto items = driver.treeItems(results, kTree);
        ASSERT_EQ(items.size(), 1u);
        for (const auto& child : items[0].children)
            labels.push_back(child.label);
        ASSERT_TRUE(driver.selectTreeItem(results, kTree, {u"Lesezeichen", u"Für Sonntag"}));
        note = driver.text(results, kNoteEdit);
        driver.tapDone();
    });
    driver.onDialog(kMainMenuDialog, [&](HWND) { driver.tapDone(); });
    EXPECT_EQ(runProgram(), 0);

    EXPECT_EQ(header, u"Spanien: Rioja");
    EXPECT_NE(info, u"");
    EXPECT_EQ(description, u"Für Sonntag");
    // Saving writes the row anew, so it now comes last in the table's order.
    EXPECT_EQ(labels, (std::vector<std::u16string>{u"Austern", u"Für Sonntag"}));
    EXPECT_EQ(note, u"mit Lamm und Rosmarin");
    ASSERT_EQ(driver.messageBoxes().size(), 1u);
    EXPECT_EQ(driver.messageBoxes()[0].text, u"Das Lesezeichen wurde gespeichert.");
    EXPECT_EQ(catalogue.rows("SELECT id_talvino, Notiz FROM Lesezeichen ORDER BY rowid"),
              (std::vector<std::vector<std::string>>{{"1001", ""}, {"3001", "mit Lamm und Rosmarin"}}));
}

} // namespace
