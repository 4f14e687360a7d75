// The bookmark page and the bookmark list as a user works them on the results screen: the list,
// loading a bookmark with an entry, the box with its question, deleting and the rebuilt list,
// "Speichern", and what stays safe when the catalogue refuses to write.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "screen/globals.h"
#include "db/database.h"
#include "platform/data/utf.h"
#include "platform/ui/hooks.h"
#include "results/results_screen.h"
#include "results/results_state.h"
#include "tests/results/bookmark_mode_fixture.h"

using namespace results_screen;

namespace {

using Items = std::vector<std::pair<std::u16string, LPARAM>>;

const std::u16string kQuestion = u"Soll das Lesezeichen gelöscht werden?";

bool isQuestion(const platform::testing::MessageBoxRecord& box) {
    return box.caption == u"FRAGE" && box.text == kQuestion && box.type == (MB_YESNO | MB_ICONQUESTION);
}
bool isError(const platform::testing::MessageBoxRecord& box) {
    return box.caption == u"FEHLER" && box.type == (MB_OK | MB_ICONINFORMATION) && !box.text.empty();
}

class Bookmarks : public BookmarkScreenTest {
  protected:
    void addSampleBookmarks() {
        catalogue.addBookmark(TestCatalogue::kRiesling, u"Mosel", u"zum Spargel");
        catalogue.addBookmark(TestCatalogue::kChablis, u"Austernwein", u"kühl servieren");
    }

    // The Chablis from a search, on the bookmark tab.
    HWND chablisOnBookmarkTab() {
        const HWND dialog = openSearch(u"ID = 1001");
        if (!dialog) return nullptr;
        EXPECT_TRUE(driver.selectTreeItem(dialog, kTree, {u"Weiß", kChablisLabel}));
        EXPECT_TRUE(driver.selectTab(dialog, kTabs, kBookmarkTab));
        return dialog;
    }

    bool flag() const { return g_resultsState->bookmarkFlag; }
};

// ---- The bookmark list ----------------------------------------------------------------------

TEST_F(Bookmarks, TheListShowsTheBookmarksInTheTableOrderUnderACollapsedRoot) {
    catalogue.addBookmark(TestCatalogue::kRiesling, u"Zum Spargel", u"");
    catalogue.addBookmark(TestCatalogue::kChablis, u"Austern", u"");
    catalogue.addBookmark(TestCatalogue::kPort, u"Mit Käse", u"");
    const HWND dialog = openBookmarkList();
    ASSERT_NE(dialog, nullptr);
    const Tree items = tree(dialog);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].label, u"Lesezeichen");
    EXPECT_EQ(items[0].data, 0);
    EXPECT_FALSE(items[0].expanded);
    EXPECT_EQ(listed(dialog), (Items{{u"Zum Spargel", TestCatalogue::kRiesling},
                                     {u"Austern", TestCatalogue::kChablis},
                                     {u"Mit Käse", TestCatalogue::kPort}}));
}

TEST_F(Bookmarks, TheListOpensOnTheInfoTabWithThePageHidden) {
    addSampleBookmarks();
    const HWND dialog = openBookmarkList();
    EXPECT_EQ(driver.currentTab(dialog, kTabs), kInfoTab);
    for (int id : {kDescriptionEdit, kNoteEdit, kBookmarkBox, kSaveButton, kVintageArea})
        EXPECT_FALSE(driver.visible(dialog, id)) << id;
    EXPECT_TRUE(driver.visible(dialog, kInfoArea));
    EXPECT_EQ(driver.text(dialog, kBookmarkBox), u"Lesezeichen löschen");
}

TEST_F(Bookmarks, AnEmptyTableListsOnlyTheRoot) {
    const HWND dialog = openBookmarkList();
    const Tree items = tree(dialog);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].label, u"Lesezeichen");
    EXPECT_TRUE(items[0].children.empty());
}

TEST_F(Bookmarks, ABookmarkWithoutDescriptionIsListedEmptyAndStillFound) {
    catalogue.addBookmark(TestCatalogue::kRioja, std::nullopt, std::nullopt);
    const HWND dialog = openBookmarkList();
    EXPECT_EQ(listed(dialog), (Items{{u"", TestCatalogue::kRioja}}));
    ASSERT_TRUE(showBookmark(dialog, u""));
    EXPECT_EQ(driver.text(dialog, kHeaderLine), u"Spanien: Rioja");
    EXPECT_TRUE(driver.checked(dialog, kBookmarkBox));
    EXPECT_TRUE(flag());
    EXPECT_EQ(driver.text(dialog, kDescriptionEdit), u"");
    EXPECT_EQ(driver.text(dialog, kNoteEdit), u"");
}

TEST_F(Bookmarks, ABookmarkShowsItsEntryAsASearchResultWould) {
    addSampleBookmarks();
    HWND dialog = openSearch(u"ID = 1001");
    ASSERT_TRUE(driver.selectTreeItem(dialog, kTree, {u"Weiß", kChablisLabel}));
    const std::u16string info = driver.text(dialog, kInfoArea);
    const std::u16string vintages = driver.text(dialog, kVintageArea);
    const std::u16string header = driver.text(dialog, kHeaderLine);
    driver.close(dialog);

    dialog = openBookmarkList();
    EXPECT_EQ(driver.text(dialog, kHeaderLine), u"");
    ASSERT_TRUE(showBookmark(dialog, u"Austernwein"));
    EXPECT_EQ(driver.text(dialog, kHeaderLine), header);
    EXPECT_EQ(header, u"Frankreich: Burgund");
    EXPECT_EQ(driver.text(dialog, kInfoArea), info);
    EXPECT_EQ(driver.text(dialog, kVintageArea), vintages);
    EXPECT_FALSE(info.empty());
    EXPECT_EQ(g_resultsState->currentEntryId, u"1001");
    EXPECT_EQ(g_resultsState->defaultDescription, kChablisKeyword);
}

TEST_F(Bookmarks, SelectingTheRootShowsNothing) {
    addSampleBookmarks();
    const HWND dialog = openBookmarkList();
    ASSERT_TRUE(driver.selectTreeItem(dialog, kTree, {u"Lesezeichen"}));
    EXPECT_EQ(driver.text(dialog, kHeaderLine), u"");
    EXPECT_EQ(driver.text(dialog, kInfoArea), u"");
}

// ---- Loading the page with an entry -----------------------------------------------------------

TEST_F(Bookmarks, ABookmarkedEntryFillsTheEditsAndTicksTheBox) {
    addSampleBookmarks();
    const HWND dialog = openBookmarkList();
    ASSERT_TRUE(showBookmark(dialog, u"Mosel"));
    EXPECT_EQ(driver.text(dialog, kDescriptionEdit), u"Mosel");
    EXPECT_EQ(driver.text(dialog, kNoteEdit), u"zum Spargel");
    EXPECT_TRUE(driver.checked(dialog, kBookmarkBox));
    EXPECT_TRUE(flag());
    // Not on the bookmark tab: nothing of the page shows yet.
    EXPECT_FALSE(driver.visible(dialog, kSaveButton));
    ASSERT_TRUE(driver.selectTab(dialog, kTabs, kBookmarkTab));
    EXPECT_TRUE(driver.visible(dialog, kDescriptionEdit));
    EXPECT_TRUE(driver.visible(dialog, kSaveButton));
}

TEST_F(Bookmarks, AnEntryWithoutBookmarkShowsEmptyEditsAndAnUntickedBox) {
    addSampleBookmarks();
    const HWND dialog = openSearch(u"ID = 1001 OR ID = 1002");
    ASSERT_TRUE(driver.selectTreeItem(dialog, kTree, {u"Weiß", kChablisLabel}));
    ASSERT_TRUE(driver.selectTab(dialog, kTabs, kBookmarkTab));
    EXPECT_TRUE(driver.visible(dialog, kSaveButton));
    ASSERT_TRUE(
        driver.selectTreeItem(dialog, kTree, {u"Rot", u"Beaujolais Villages, Château de la Colline"}));
    EXPECT_EQ(driver.text(dialog, kDescriptionEdit), u"");
    EXPECT_EQ(driver.text(dialog, kNoteEdit), u"");
    EXPECT_FALSE(driver.checked(dialog, kBookmarkBox));
    EXPECT_FALSE(driver.visible(dialog, kSaveButton));
    EXPECT_FALSE(flag());
}

TEST_F(Bookmarks, ABookmarkedEntryShownOnTheBookmarkTabShowsSpeichernAtOnce) {
    addSampleBookmarks();
    const HWND dialog = openSearch(u"ID = 1001 OR ID = 1002");
    ASSERT_TRUE(
        driver.selectTreeItem(dialog, kTree, {u"Rot", u"Beaujolais Villages, Château de la Colline"}));
    ASSERT_TRUE(driver.selectTab(dialog, kTabs, kBookmarkTab));
    EXPECT_FALSE(driver.visible(dialog, kSaveButton));
    ASSERT_TRUE(driver.selectTreeItem(dialog, kTree, {u"Weiß", kChablisLabel}));
    EXPECT_TRUE(driver.visible(dialog, kSaveButton));
    EXPECT_EQ(driver.text(dialog, kDescriptionEdit), u"Austernwein");
    EXPECT_TRUE(flag());
}

TEST_F(Bookmarks, ANoteAloneMakesAnEntryBookmarked) {
    catalogue.addBookmark(TestCatalogue::kChablis, u"", u"nur eine Notiz");
    const HWND dialog = chablisOnBookmarkTab();
    EXPECT_TRUE(driver.checked(dialog, kBookmarkBox));
    EXPECT_EQ(driver.text(dialog, kNoteEdit), u"nur eine Notiz");
    EXPECT_TRUE(flag());
}

// ---- The bookmark box -----------------------------------------------------------------------

TEST_F(Bookmarks, TickingShowsSpeichernAndPutsTheKeywordIntoTheDescription) {
    const HWND dialog = chablisOnBookmarkTab();
    EXPECT_FALSE(driver.visible(dialog, kSaveButton));
    ASSERT_TRUE(driver.tap(dialog, kBookmarkBox));
    EXPECT_TRUE(driver.checked(dialog, kBookmarkBox));
    EXPECT_TRUE(driver.visible(dialog, kSaveButton));
    EXPECT_EQ(driver.text(dialog, kDescriptionEdit), kChablisKeyword);
    EXPECT_TRUE(bookmarks().empty()); // nothing stored before "Speichern"
    EXPECT_TRUE(driver.messageBoxes().empty());
}

TEST_F(Bookmarks, UntickingWithTheFlagClearAsksNothing) {
    const HWND dialog = chablisOnBookmarkTab();
    ASSERT_TRUE(driver.tap(dialog, kBookmarkBox));
    // Ticking alone does not set the flag; only the tab, a found bookmark or a save do.
    ASSERT_FALSE(flag());
    ASSERT_TRUE(driver.tap(dialog, kBookmarkBox));
    EXPECT_TRUE(driver.messageBoxes().empty());
    EXPECT_FALSE(driver.checked(dialog, kBookmarkBox));
}

TEST_F(Bookmarks, AnsweringNoKeepsTheBookmarkAndLeavesTheBoxUnticked) {
    addSampleBookmarks();
    const HWND dialog = chablisOnBookmarkTab();
    driver.answerNext(IDNO);
    ASSERT_TRUE(driver.tap(dialog, kBookmarkBox));
    ASSERT_EQ(driver.messageBoxes().size(), 1u);
    EXPECT_TRUE(isQuestion(driver.messageBoxes()[0]));
    EXPECT_FALSE(driver.checked(dialog, kBookmarkBox));
    EXPECT_TRUE(driver.visible(dialog, kSaveButton)); // beside an unticked box
    EXPECT_EQ(driver.text(dialog, kDescriptionEdit), u"Austernwein");
    EXPECT_EQ(bookmarks(),
              (Rows{{"5001", "Mosel", "zum Spargel"}, {"1001", "Austernwein", "kühl servieren"}}));
}

TEST_F(Bookmarks, TickingAfterAnsweringNoReplacesTheDescriptionWithTheKeyword) {
    addSampleBookmarks();
    const HWND dialog = chablisOnBookmarkTab();
    driver.answerNext(IDNO);
    ASSERT_TRUE(driver.tap(dialog, kBookmarkBox));
    ASSERT_TRUE(driver.tap(dialog, kBookmarkBox));
    EXPECT_TRUE(driver.checked(dialog, kBookmarkBox));
    EXPECT_EQ(driver.text(dialog, kDescriptionEdit), kChablisKeyword);
    EXPECT_EQ(driver.text(dialog, kNoteEdit), u"kühl servieren");
    // The row changes only with "Speichern".
    EXPECT_EQ(bookmarks()[1], (std::vector<std::string>{"1001", "Austernwein", "kühl servieren"}));
}

TEST_F(Bookmarks, AnsweringYesDeletesTheBookmarkAndListsTheRestExpanded) {
    addSampleBookmarks();
    const HWND dialog = openBookmarkList();
    ASSERT_TRUE(showBookmark(dialog, u"Austernwein"));
    ASSERT_TRUE(driver.selectTab(dialog, kTabs, kBookmarkTab));
    driver.answerNext(IDYES);
    ASSERT_TRUE(driver.tap(dialog, kBookmarkBox));
    ASSERT_EQ(driver.messageBoxes().size(), 1u);
    EXPECT_TRUE(isQuestion(driver.messageBoxes()[0]));
    EXPECT_EQ(bookmarks(), (Rows{{"5001", "Mosel", "zum Spargel"}}));
    EXPECT_FALSE(driver.checked(dialog, kBookmarkBox));
    EXPECT_FALSE(driver.visible(dialog, kSaveButton));
    EXPECT_EQ(driver.text(dialog, kDescriptionEdit), u"");
    EXPECT_EQ(driver.text(dialog, kNoteEdit), u"");
    EXPECT_TRUE(flag()); // a confirmed deletion leaves the flag as it was
    const Tree items = tree(dialog);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_TRUE(items[0].expanded);
    EXPECT_EQ(listed(dialog), (Items{{u"Mosel", TestCatalogue::kRiesling}}));
    EXPECT_EQ(driver.text(dialog, kBookmarkBox), u"Lesezeichen löschen");
}

TEST_F(Bookmarks, DeletingTheLastBookmarkLeavesTheExpandedEmptyRoot) {
    catalogue.addBookmark(TestCatalogue::kChablis, u"Austernwein", u"");
    const HWND dialog = openBookmarkList();
    ASSERT_TRUE(showBookmark(dialog, u"Austernwein"));
    ASSERT_TRUE(driver.selectTab(dialog, kTabs, kBookmarkTab));
    driver.answerNext(IDYES);
    ASSERT_TRUE(driver.tap(dialog, kBookmarkBox));
    EXPECT_TRUE(bookmarks().empty());
    const Tree items = tree(dialog);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].label, u"Lesezeichen");
    EXPECT_TRUE(items[0].expanded);
    EXPECT_TRUE(items[0].children.empty());
}

TEST_F(Bookmarks, DeletingWhileShowingSearchResultsShowsTheBookmarkList) {
    addSampleBookmarks();
    const HWND dialog = chablisOnBookmarkTab();
    driver.answerNext(IDYES);
    ASSERT_TRUE(driver.tap(dialog, kBookmarkBox));
    const Tree items = tree(dialog);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].label, u"Lesezeichen");
    EXPECT_TRUE(items[0].expanded);
    EXPECT_EQ(listed(dialog), (Items{{u"Mosel", TestCatalogue::kRiesling}}));
    EXPECT_EQ(driver.text(dialog, kBookmarkBox), u"Lesezeichen setzen");
    // The search categories went with the tree; the state keeps no handle of them.
    for (HTREEITEM category : g_resultsState->categories)
        EXPECT_EQ(category, nullptr);
    // The list works as in bookmark mode.
    ASSERT_TRUE(showBookmark(dialog, u"Mosel"));
    EXPECT_EQ(driver.text(dialog, kHeaderLine), u"Deutschland: Mosel");
    EXPECT_EQ(driver.text(dialog, kNoteEdit), u"zum Spargel");
}

TEST_F(Bookmarks, AFailedDeletionIsReportedAndLeavesRowBoxAndList) {
    addSampleBookmarks();
    const HWND dialog = openBookmarkList();
    ASSERT_TRUE(showBookmark(dialog, u"Austernwein"));
    ASSERT_TRUE(driver.selectTab(dialog, kTabs, kBookmarkTab));
    catalogue.setReadOnly(true);
    ASSERT_TRUE(g_database->openCatalogue());
    driver.answerNext(IDYES);
    ASSERT_TRUE(driver.tap(dialog, kBookmarkBox));
    catalogue.setReadOnly(false);
    ASSERT_EQ(driver.messageBoxes().size(), 2u);
    EXPECT_TRUE(isQuestion(driver.messageBoxes()[0]));
    EXPECT_TRUE(isError(driver.messageBoxes()[1]));
    EXPECT_EQ(driver.messageBoxes()[1].text, u"Das Lesezeichen konnte nicht gelöscht werden.");
    EXPECT_EQ(bookmarks().size(), 2u);
    EXPECT_TRUE(driver.checked(dialog, kBookmarkBox));
    EXPECT_TRUE(driver.visible(dialog, kSaveButton));
    EXPECT_EQ(driver.text(dialog, kDescriptionEdit), u"Austernwein");
    EXPECT_EQ(driver.text(dialog, kNoteEdit), u"kühl servieren");
    EXPECT_EQ(listed(dialog),
              (Items{{u"Mosel", TestCatalogue::kRiesling}, {u"Austernwein", TestCatalogue::kChablis}}));
}

TEST_F(Bookmarks, UntickingBeforeAnEntryWasShownInThisOpeningDeletesNothing) {
    addSampleBookmarks();
    // An earlier opening showed the Chablis: its ID stays in the state.
    HWND dialog = openBookmarkList();
    ASSERT_TRUE(showBookmark(dialog, u"Austernwein"));
    driver.close(dialog);
    ASSERT_EQ(g_resultsState->currentEntryId, u"1001");

    dialog = openSearch(u"ID = 1002");
    ASSERT_TRUE(driver.selectTab(dialog, kTabs, kBookmarkTab));
    ASSERT_TRUE(driver.tap(dialog, kBookmarkBox));
    ASSERT_TRUE(driver.selectTab(dialog, kTabs, kInfoTab));
    ASSERT_TRUE(driver.selectTab(dialog, kTabs, kBookmarkTab)); // the ticked box sets the flag
    ASSERT_TRUE(flag());
    driver.answerNext(IDYES);
    ASSERT_TRUE(driver.tap(dialog, kBookmarkBox));
    EXPECT_TRUE(driver.messageBoxes().empty());
    EXPECT_EQ(bookmarks().size(), 2u);
}

// ---- The tabs -------------------------------------------------------------------------------

TEST_F(Bookmarks, TheBookmarkTabWithTheBoxTickedShowsSpeichernAndSetsTheFlag) {
    const HWND dialog = chablisOnBookmarkTab();
    ASSERT_TRUE(driver.tap(dialog, kBookmarkBox));
    ASSERT_TRUE(driver.selectTab(dialog, kTabs, kVintageTab));
    EXPECT_FALSE(driver.visible(dialog, kSaveButton));
    EXPECT_FALSE(flag());
    ASSERT_TRUE(driver.selectTab(dialog, kTabs, kBookmarkTab));
    EXPECT_TRUE(driver.visible(dialog, kSaveButton));
    EXPECT_TRUE(flag());
}

TEST_F(Bookmarks, TheBookmarkTabWithTheBoxUntickedKeepsSpeichernHidden) {
    const HWND dialog = chablisOnBookmarkTab();
    EXPECT_TRUE(driver.visible(dialog, kBookmarkBox));
    EXPECT_FALSE(driver.visible(dialog, kSaveButton));
    EXPECT_FALSE(flag());
}

// ---- Bookmarks whose entry is gone -------------------------------------------------------------

class OrphanBookmarks : public Bookmarks {
  protected:
    // The list after the Chablis was shown, so that its texts are on screen before the orphan.
    HWND listAfterChablis() {
        const HWND dialog = openBookmarkList();
        EXPECT_TRUE(showBookmark(dialog, u"Austernwein"));
        EXPECT_FALSE(driver.text(dialog, kInfoArea).empty());
        EXPECT_FALSE(driver.text(dialog, kVintageArea).empty());
        return dialog;
    }

    void expectEntryGonePage(HWND dialog, const std::u16string& description, const std::u16string& note) {
        EXPECT_EQ(driver.text(dialog, kInfoArea), kEntryGoneText);
        EXPECT_EQ(driver.text(dialog, kVintageArea), u"");
        EXPECT_EQ(driver.text(dialog, kHeaderLine), u"");
        EXPECT_EQ(driver.text(dialog, kDescriptionEdit), description);
        EXPECT_EQ(driver.text(dialog, kNoteEdit), note);
        EXPECT_TRUE(driver.checked(dialog, kBookmarkBox));
        EXPECT_TRUE(flag());
    }

    void deleteShown(HWND dialog) {
        ASSERT_TRUE(driver.selectTab(dialog, kTabs, kBookmarkTab));
        driver.answerNext(IDYES);
        ASSERT_TRUE(driver.tap(dialog, kBookmarkBox));
    }
};

TEST_F(OrphanBookmarks, AnEntryNoLongerInTheCatalogueShowsTheBookmarksOwnTextsAndNothingOfTheLastEntry) {
    catalogue.addBookmark(TestCatalogue::kChablis, u"Austernwein", u"kühl servieren");
    catalogue.addBookmark(4711, u"Vom Weingut verschwunden", u"Jahrgang 1999");
    const HWND dialog = listAfterChablis();
    ASSERT_TRUE(showBookmark(dialog, u"Vom Weingut verschwunden"));
    expectEntryGonePage(dialog, u"Vom Weingut verschwunden", u"Jahrgang 1999");
    EXPECT_EQ(g_resultsState->currentEntryId, u"4711");

    deleteShown(dialog);
    ASSERT_EQ(driver.messageBoxes().size(), 1u);
    EXPECT_TRUE(isQuestion(driver.messageBoxes()[0]));
    EXPECT_EQ(bookmarks(), (Rows{{"1001", "Austernwein", "kühl servieren"}}));
    EXPECT_EQ(listed(dialog), (Items{{u"Austernwein", TestCatalogue::kChablis}}));
}

TEST_F(OrphanBookmarks, ABookmarkWithoutEntryIdIsListedShownAndDeletedAlone) {
    catalogue.addBookmark(TestCatalogue::kChablis, u"Austernwein", u"kühl servieren");
    install();
    catalogue.execute("INSERT INTO Lesezeichen (id_talvino, Beschreibung, Notiz) VALUES "
                      "(NULL, 'Ohne Eintrag', 'it''s mine'), (NULL, 'Noch einer', NULL)");
    const HWND dialog = listAfterChablis();
    EXPECT_EQ(listed(dialog), (Items{{u"Austernwein", TestCatalogue::kChablis},
                                     {u"Ohne Eintrag", 0},
                                     {u"Noch einer", 0}}));
    ASSERT_TRUE(showBookmark(dialog, u"Ohne Eintrag"));
    expectEntryGonePage(dialog, u"Ohne Eintrag", u"it's mine");

    deleteShown(dialog);
    ASSERT_EQ(driver.messageBoxes().size(), 1u) << ado::toUtf8(driver.messageBoxes().back().text);
    EXPECT_EQ(bookmarks(), (Rows{{"1001", "Austernwein", "kühl servieren"}, {"NULL", "Noch einer", "NULL"}}));
    EXPECT_EQ(listed(dialog), (Items{{u"Austernwein", TestCatalogue::kChablis}, {u"Noch einer", 0}}));
    EXPECT_FALSE(driver.checked(dialog, kBookmarkBox));

    // The other one, with a NULL note, goes the same way.
    ASSERT_TRUE(showBookmark(dialog, u"Noch einer"));
    expectEntryGonePage(dialog, u"Noch einer", u"");
    deleteShown(dialog);
    EXPECT_EQ(bookmarks(), (Rows{{"1001", "Austernwein", "kühl servieren"}}));
}

TEST_F(OrphanBookmarks, OneOfTwoIdenticalBookmarksWithoutEntryIsDeleted) {
    install();
    catalogue.execute("INSERT INTO Lesezeichen (id_talvino, Beschreibung, Notiz) VALUES "
                      "(NULL, 'Doppelt', 'x'), (0, 'Doppelt', 'x')");
    const HWND dialog = openBookmarkList();
    ASSERT_TRUE(showBookmark(dialog, u"Doppelt"));
    deleteShown(dialog);
    EXPECT_EQ(bookmarks().size(), 1u);
    EXPECT_EQ(listed(dialog), (Items{{u"Doppelt", 0}}));
}

TEST_F(OrphanBookmarks, ABookmarkWithoutEntryIdIsNotSavedAgainAndSaysWhy) {
    install();
    catalogue.execute("INSERT INTO Lesezeichen (id_talvino, Beschreibung, Notiz) VALUES (NULL, 'Ohne', 'n')");
    const HWND dialog = openBookmarkList();
    ASSERT_TRUE(showBookmark(dialog, u"Ohne"));
    ASSERT_TRUE(driver.selectTab(dialog, kTabs, kBookmarkTab));
    ASSERT_TRUE(driver.visible(dialog, kSaveButton));
    ASSERT_TRUE(driver.type(dialog, kNoteEdit, u" geändert"));
    ASSERT_TRUE(driver.tap(dialog, kSaveButton));
    ASSERT_EQ(driver.messageBoxes().size(), 1u);
    EXPECT_EQ(driver.messageBoxes()[0].caption, u"HINWEIS");
    EXPECT_EQ(driver.messageBoxes()[0].text,
              u"Dieses Lesezeichen gehört zu keinem Eintrag im Katalog. Es kann nur gelöscht werden.");
    EXPECT_EQ(bookmarks(), (Rows{{"NULL", "Ohne", "n"}}));
    EXPECT_EQ(driver.text(dialog, kNoteEdit), u"n geändert");
}

TEST_F(OrphanBookmarks, AnEntryShownAfterwardsShowsItsOwnTextsAgain) {
    catalogue.addBookmark(TestCatalogue::kChablis, u"Austernwein", u"kühl servieren");
    catalogue.addBookmark(4711, u"Verschwunden", u"");
    const HWND dialog = openBookmarkList();
    ASSERT_TRUE(showBookmark(dialog, u"Verschwunden"));
    ASSERT_TRUE(showBookmark(dialog, u"Austernwein"));
    EXPECT_EQ(driver.text(dialog, kHeaderLine), u"Frankreich: Burgund");
    EXPECT_NE(driver.text(dialog, kInfoArea).find(u"mineralisch"), std::u16string::npos)
        << ado::toUtf8(driver.text(dialog, kInfoArea));
    EXPECT_EQ(driver.text(dialog, kDescriptionEdit), u"Austernwein");
}

} // namespace
