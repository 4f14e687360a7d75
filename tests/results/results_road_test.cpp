// The road of a search through the real modal dialogs: main menu, search form, results screen,
// an entry, and back the same way.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "screen/globals.h"
#include "app/main_menu.h"
#include "resources/dialog_ids.h"
#include "resources/resources.h"
#include "results/results_screen.h"
#include "results/results_state.h"
#include "search/search_form.h"
#include "search/search_screen.h"
#include "search/wait_animation.h"
#include "tests/results/results_fixture.h"

using namespace results_screen;

namespace {

constexpr int kSearchRowButton = 1006;
constexpr int kBookmarkRowButton = 1050;

class SearchRoad : public ResultsTest {
  protected:
    void SetUp() override {
        ResultsTest::SetUp();
        catalogue.addSampleContent();
        catalogue.installAsProgramCatalogue();
        setSearchResultsScreen(ResultsProc);
    }
    void runMainMenu() { driver.runModal(talvinoModule(), kMainMenuDialog, MainMenuProc); }
};

TEST_F(SearchRoad, FromTheMenuToAnEntryAndBackWithTheCriteriaKept) {
    std::vector<std::u16string> visited;
    driver.onDialog(kMainMenuDialog, [&](HWND menu) {
        visited.push_back(u"menu");
        driver.tap(menu, kSearchRowButton);
    });
    driver.onDialog(kSearchFormDialog, [&](HWND form) {
        visited.push_back(u"form");
        driver.type(form, search_form::kSearchTerm, u"Chablis");
        driver.tap(form, search_form::kWhiteBox);
        driver.tap(form, search_form::kStartButton);
    });
    driver.onDialog(kResultsDialog, [&](HWND results) {
        visited.push_back(u"results");
        const Tree items = driver.treeItems(results, kTree);
        EXPECT_EQ(topLabels(items), (std::vector<std::u16string>{u"Weiß"}));
        EXPECT_EQ(childLabels(items, u"Weiß"),
                  (std::vector<std::u16string>{u"Chablis Premier Cru, Domaine des Vaux Clairs"}));
        EXPECT_FALSE(driver.visible(GetParent(results), kAnimationControl));
        ASSERT_TRUE(driver.selectTreeItem(results, kTree,
                                          {u"Weiß", u"Chablis Premier Cru, Domaine des Vaux Clairs"}));
        EXPECT_EQ(driver.text(results, kHeaderLine), u"Frankreich: Burgund");
        ASSERT_TRUE(driver.selectTab(results, kTabs, kVintageTab));
        EXPECT_EQ(driver.text(results, kVintageArea),
                  u"empfohlener Jahrgang: \r\n96,99\r\ngenussreifer Jahrgang: \r\n90\r\n");
        EXPECT_EQ(driver.deviceCaption(), u"Talvino - Suchergebnis");
        driver.tapDone();
    });
    driver.onDialog(kSearchFormDialog, [&](HWND form) {
        visited.push_back(u"form again");
        EXPECT_EQ(driver.text(form, search_form::kSearchTerm), u"Chablis");
        EXPECT_TRUE(driver.checked(form, search_form::kWhiteBox));
        EXPECT_FALSE(driver.visible(form, kAnimationControl));
        driver.tapDone();
    });
    driver.onDialog(kMainMenuDialog, [&](HWND) {
        visited.push_back(u"menu again");
        driver.tapDone();
    });
    runMainMenu();
    EXPECT_EQ(visited,
              (std::vector<std::u16string>{u"menu", u"form", u"results", u"form again", u"menu again"}));
    EXPECT_TRUE(driver.messageBoxes().empty());
    EXPECT_EQ(driver.pendingSteps(), 0u);
}

TEST_F(SearchRoad, NoHitsShowTheNoticeOnlyAndReturnToTheFormWithItsCriteria) {
    driver.onDialog(kMainMenuDialog, [&](HWND menu) { driver.tap(menu, kSearchRowButton); });
    driver.onDialog(kSearchFormDialog, [&](HWND form) {
        driver.type(form, search_form::kSearchTerm, u"Gibtesnicht");
        driver.tap(form, search_form::kRedBox);
        driver.tap(form, search_form::kStartButton);
    });
    driver.onDialog(u"Talvino Weinsuche", [&](HWND form) {
        EXPECT_EQ(driver.text(form, search_form::kSearchTerm), u"Gibtesnicht");
        EXPECT_TRUE(driver.checked(form, search_form::kRedBox));
        EXPECT_FALSE(driver.visible(form, kAnimationControl));
        driver.tapDone();
    });
    driver.onDialog(kMainMenuDialog, [&](HWND) { driver.tapDone(); });
    runMainMenu();
    ASSERT_EQ(driver.messageBoxes().size(), 1u);
    EXPECT_EQ(driver.messageBoxes()[0].caption, u"HINWEIS");
    EXPECT_EQ(driver.messageBoxes()[0].text,
              u"Ihre Suche ergab 0 Ergebnistreffer. Bitte verändern Sie Ihre Suchkriterien.");
    // A results screen left open would have had no step to run and failed the flow.
    EXPECT_EQ(driver.pendingSteps(), 0u);
}

TEST_F(SearchRoad, TheMenuOpensTheBookmarkListAfterASearchLeftSqlInTheBuffer) {
    catalogue.addBookmark(TestCatalogue::kPort, u"Zum Käse", u"");
    catalogue.installAsProgramCatalogue();
    std::vector<std::u16string> roots;
    driver.onDialog(kMainMenuDialog, [&](HWND menu) { driver.tap(menu, kSearchRowButton); });
    driver.onDialog(kSearchFormDialog, [&](HWND form) {
        driver.type(form, search_form::kSearchTerm, u"Port");
        driver.tap(form, search_form::kStartButton);
    });
    driver.onDialog(kResultsDialog, [&](HWND results) {
        driver.selectTreeItem(results, kTree, {u"Braun", u"Tawny Port 10 Jahre, Quinta do Miradouro"});
        driver.tapDone();
    });
    driver.onDialog(kSearchFormDialog, [&](HWND) { driver.tapDone(); });
    driver.onDialog(kMainMenuDialog, [&](HWND menu) { driver.tap(menu, kBookmarkRowButton); });
    driver.onDialog(kResultsDialog, [&](HWND results) {
        for (const auto& item : driver.treeItems(results, kTree))
            roots.push_back(item.label);
        driver.tapDone();
    });
    driver.onDialog(kMainMenuDialog, [&](HWND) { driver.tapDone(); });
    runMainMenu();
    EXPECT_EQ(roots, (std::vector<std::u16string>{u"Lesezeichen"}));
    EXPECT_EQ(driver.pendingSteps(), 0u);
}

} // namespace
