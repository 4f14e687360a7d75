// "Speichern" on the bookmark page: the row is stored before the success message, texts are kept
// exactly as typed, the edits stop at 500 units, and nothing is lost or falsely reported when the
// catalogue refuses to write or no entry is shown.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "screen/globals.h"
#include "bookmarks/bookmark_store.h"
#include "db/database.h"
#include "platform/data/utf.h"
#include "results/results_screen.h"
#include "results/results_state.h"
#include "tests/results/bookmark_mode_fixture.h"

using namespace results_screen;

namespace {

const std::u16string kSaved = u"Das Lesezeichen wurde gespeichert.";
const std::u16string kSaveFailed =
    u"Das Lesezeichen konnte nicht gespeichert werden. Ihre Eingaben bleiben erhalten.";

class BookmarkSaving : public BookmarkScreenTest {
  protected:
    // The Chablis from a search, on the bookmark tab with the box ticked.
    HWND chablisReadyToSave() {
        const HWND dialog = openSearch(u"ID = 1001 OR ID = 1002");
        if (!dialog) return nullptr;
        EXPECT_TRUE(driver.selectTreeItem(dialog, kTree, {u"Weiß", kChablisLabel}));
        EXPECT_TRUE(driver.selectTab(dialog, kTabs, kBookmarkTab));
        if (!driver.checked(dialog, kBookmarkBox)) {
            EXPECT_TRUE(driver.tap(dialog, kBookmarkBox));
        }
        return dialog;
    }

    // Replaces what the edit holds by typing, as the user would.
    void retype(HWND dialog, int id, const std::u16string& text) {
        SetDlgItemTextW(dialog, id, u"");
        ASSERT_TRUE(driver.type(dialog, id, text));
    }

    bool savedMessageOnly() const {
        const auto& boxes = driver.messageBoxes();
        return boxes.size() == 1 && boxes[0].caption == u"HINWEIS" && boxes[0].text == kSaved &&
               boxes[0].type == (MB_OK | MB_ICONINFORMATION);
    }
};

TEST_F(BookmarkSaving, StoresTheTypedTextsAndThenReportsSuccess) {
    const HWND dialog = chablisReadyToSave();
    retype(dialog, kDescriptionEdit, u"Austernwein");
    retype(dialog, kNoteEdit, u"kühl servieren");
    ASSERT_TRUE(driver.tap(dialog, kSaveButton));
    EXPECT_TRUE(savedMessageOnly());
    EXPECT_EQ(bookmarks(), (Rows{{"1001", "Austernwein", "kühl servieren"}}));
    EXPECT_TRUE(g_resultsState->bookmarkFlag);
    EXPECT_EQ(driver.text(dialog, kDescriptionEdit), u"Austernwein");
}

TEST_F(BookmarkSaving, TheKeywordIsSavedWhenTheDescriptionIsLeftAsTicked) {
    const HWND dialog = chablisReadyToSave();
    ASSERT_TRUE(driver.tap(dialog, kSaveButton));
    EXPECT_EQ(bookmarks(), (Rows{{"1001", ado::toUtf8(kChablisKeyword), ""}}));
}

TEST_F(BookmarkSaving, SavingTwiceLeavesOneRowWithTheSecondTexts) {
    catalogue.addBookmark(TestCatalogue::kRiesling, u"Mosel", u"");
    const HWND dialog = chablisReadyToSave();
    retype(dialog, kDescriptionEdit, u"erste");
    retype(dialog, kNoteEdit, u"eins");
    ASSERT_TRUE(driver.tap(dialog, kSaveButton));
    retype(dialog, kDescriptionEdit, u"zweite");
    retype(dialog, kNoteEdit, u"zwei");
    ASSERT_TRUE(driver.tap(dialog, kSaveButton));
    EXPECT_EQ(bookmarks(), (Rows{{"5001", "Mosel", ""}, {"1001", "zweite", "zwei"}}));
}

TEST_F(BookmarkSaving, AShownBookmarkIsSavedAgainWithItsChanges) {
    catalogue.addBookmark(TestCatalogue::kChablis, u"Austernwein", u"kühl");
    const HWND dialog = chablisReadyToSave();
    ASSERT_TRUE(driver.visible(dialog, kSaveButton));
    ASSERT_TRUE(driver.type(dialog, kNoteEdit, u" servieren"));
    ASSERT_TRUE(driver.tap(dialog, kSaveButton));
    EXPECT_EQ(bookmarks(), (Rows{{"1001", "Austernwein", "kühl servieren"}}));
}

TEST_F(BookmarkSaving, TheListIsNotRefreshedInBookmarkMode) {
    catalogue.addBookmark(TestCatalogue::kChablis, u"Austernwein", u"");
    const HWND dialog = openBookmarkList();
    ASSERT_TRUE(showBookmark(dialog, u"Austernwein"));
    ASSERT_TRUE(driver.selectTab(dialog, kTabs, kBookmarkTab));
    retype(dialog, kDescriptionEdit, u"Muschelwein");
    ASSERT_TRUE(driver.tap(dialog, kSaveButton));
    EXPECT_EQ(bookmarks(), (Rows{{"1001", "Muschelwein", ""}}));
    EXPECT_EQ(listed(dialog), (std::vector<std::pair<std::u16string, LPARAM>>{{u"Austernwein", 1001}}));
}

// ---- Texts exactly as typed -------------------------------------------------------------------

class BookmarkTypedText : public BookmarkSaving, public ::testing::WithParamInterface<const char16_t*> {};

TEST_P(BookmarkTypedText, IsStoredAndShownAgainUnchanged) {
    const std::u16string text = GetParam();
    HWND dialog = chablisReadyToSave();
    retype(dialog, kDescriptionEdit, text);
    retype(dialog, kNoteEdit, text + u" (Notiz)");
    ASSERT_TRUE(driver.tap(dialog, kSaveButton));
    ASSERT_TRUE(savedMessageOnly());
    EXPECT_EQ(bookmarks(), (Rows{{"1001", ado::toUtf8(text), ado::toUtf8(text + u" (Notiz)")}}));
    driver.close(dialog);

    dialog = openBookmarkList();
    ASSERT_TRUE(showBookmark(dialog, text));
    EXPECT_EQ(driver.text(dialog, kDescriptionEdit), text);
    EXPECT_EQ(driver.text(dialog, kNoteEdit), text + u" (Notiz)");
}

INSTANTIATE_TEST_SUITE_P(Texts, BookmarkTypedText,
                         ::testing::Values(u"Château d'Yquem", u"'", u"''", u"ein \"guter\" Jahrgang",
                                           u"Süß, Größe, ÄÖÜ äöü ß", u"Trauben \U0001F347 zum Käse",
                                           u"'); DELETE FROM Lesezeichen; --", u"100 % * ? _ [Text] \\"));

TEST_F(BookmarkSaving, StoredLineBreaksSurviveSavingAgain) {
    catalogue.addBookmark(TestCatalogue::kChablis, u"erste Zeile\r\nzweite Zeile", u"a\nb\rc");
    const HWND dialog = chablisReadyToSave();
    EXPECT_EQ(driver.text(dialog, kDescriptionEdit), u"erste Zeile\r\nzweite Zeile");
    ASSERT_TRUE(driver.tap(dialog, kSaveButton));
    EXPECT_EQ(bookmarks(), (Rows{{"1001", "erste Zeile\r\nzweite Zeile", "a\nb\rc"}}));
}

// ---- The 500-unit limit -----------------------------------------------------------------------

TEST_F(BookmarkSaving, TheEditsStopAt500Characters) {
    const HWND dialog = chablisReadyToSave();
    retype(dialog, kDescriptionEdit, std::u16string(510, u'd'));
    retype(dialog, kNoteEdit, std::u16string(520, u'n'));
    EXPECT_EQ(driver.text(dialog, kDescriptionEdit), std::u16string(500, u'd'));
    EXPECT_EQ(driver.text(dialog, kNoteEdit), std::u16string(500, u'n'));
    ASSERT_TRUE(driver.tap(dialog, kSaveButton));
    EXPECT_EQ(bookmarks(), (Rows{{"1001", std::string(500, 'd'), std::string(500, 'n')}}));
}

TEST_F(BookmarkSaving, ExactlyFiveHundredApostrophesAreStoredWhole) {
    const HWND dialog = chablisReadyToSave();
    retype(dialog, kDescriptionEdit, std::u16string(500, u'\''));
    retype(dialog, kNoteEdit, std::u16string(500, u'\''));
    ASSERT_TRUE(driver.tap(dialog, kSaveButton));
    EXPECT_EQ(bookmarks(), (Rows{{"1001", std::string(500, '\''), std::string(500, '\'')}}));
}

TEST_F(BookmarkSaving, ACharacterOutsideTheBmpCountsTwoUnits) {
    const HWND dialog = chablisReadyToSave();
    // 498 + 2 units fit exactly.
    retype(dialog, kDescriptionEdit, std::u16string(498, u'a') + u"\U0001F377");
    EXPECT_EQ(driver.text(dialog, kDescriptionEdit), std::u16string(498, u'a') + u"\U0001F377");
    // 499 + 2 do not: no half of the pair reaches the catalogue.
    retype(dialog, kNoteEdit, std::u16string(499, u'b') + u"\U0001F377");
    ASSERT_TRUE(driver.tap(dialog, kSaveButton));
    const Rows rows = bookmarks();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][1], std::string(498, 'a') + "\xF0\x9F\x8D\xB7");
    EXPECT_EQ(rows[0][2], std::string(499, 'b'));
}

TEST_F(BookmarkSaving, ALongerStoredTextLoadsAndSavesWhole) {
    const std::u16string longText(700, u'L');
    catalogue.addBookmark(TestCatalogue::kChablis, longText, u"kurz");
    const HWND dialog = chablisReadyToSave();
    EXPECT_EQ(driver.text(dialog, kDescriptionEdit), longText);
    ASSERT_TRUE(driver.tap(dialog, kSaveButton));
    EXPECT_EQ(bookmarks(), (Rows{{"1001", std::string(700, 'L'), "kurz"}}));
}

// ---- Nothing stored, nothing claimed ----------------------------------------------------------

TEST_F(BookmarkSaving, StoredTextsBeyondFourThousandCharactersLoadAndSaveWhole) {
    // Written by another program: longer than anything the page lets one type.
    std::u16string description(3999, u'd');
    description += u"Ende";
    std::u16string note;
    for (int i = 0; note.size() < 40000; ++i)
        note += u"Zeile " + std::u16string(1, static_cast<char16_t>(u'0' + i % 10)) + u" mit Ä und 'ß'; ";
    catalogue.addBookmark(TestCatalogue::kChablis, description, note);
    const HWND dialog = chablisReadyToSave();
    EXPECT_EQ(driver.text(dialog, kDescriptionEdit), description);
    EXPECT_EQ(driver.text(dialog, kNoteEdit), note);
    ASSERT_TRUE(driver.tap(dialog, kSaveButton));
    EXPECT_TRUE(savedMessageOnly());
    EXPECT_EQ(bookmarks(), (Rows{{"1001", ado::toUtf8(description), ado::toUtf8(note)}}));
}

TEST_F(BookmarkSaving, BeforeAnEntryWasShownInThisOpeningNothingIsStored) {
    // An earlier opening showed the Chablis: its ID stays in the state.
    HWND dialog = chablisReadyToSave();
    driver.close(dialog);
    ASSERT_EQ(g_resultsState->currentEntryId, u"1001");

    dialog = openSearch(u"ID = 1002");
    ASSERT_TRUE(driver.selectTab(dialog, kTabs, kBookmarkTab));
    ASSERT_TRUE(driver.tap(dialog, kBookmarkBox));
    ASSERT_TRUE(driver.type(dialog, kNoteEdit, u"für wen?"));
    ASSERT_TRUE(driver.tap(dialog, kSaveButton));
    EXPECT_TRUE(bookmarks().empty());
    // The tap is answered: the page says what to do first.
    ASSERT_EQ(driver.messageBoxes().size(), 1u);
    EXPECT_EQ(driver.messageBoxes()[0].caption, u"HINWEIS");
    EXPECT_EQ(driver.messageBoxes()[0].text,
              u"Bitte wählen Sie zuerst einen Eintrag aus, zu dem das Lesezeichen gespeichert werden soll.");
    EXPECT_EQ(driver.messageBoxes()[0].type, MB_OK | MB_ICONINFORMATION);
    EXPECT_EQ(driver.text(dialog, kNoteEdit), u"für wen?");
}

TEST_F(BookmarkSaving, ACatalogueWithoutBookmarkTableShowsEntriesListsNothingAndRefusesSaving) {
    install();
    catalogue.execute("DROP TABLE Lesezeichen");
    ASSERT_TRUE(g_database->openCatalogue());
    HWND dialog = chablisReadyToSave();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(driver.text(dialog, kHeaderLine), u"Frankreich: Burgund");
    ASSERT_TRUE(driver.tap(dialog, kSaveButton));
    ASSERT_EQ(driver.messageBoxes().size(), 1u);
    EXPECT_EQ(driver.messageBoxes()[0].caption, u"FEHLER");
    EXPECT_EQ(driver.messageBoxes()[0].text, kSaveFailed);
    driver.close(dialog);

    dialog = openBookmarkList();
    ASSERT_NE(dialog, nullptr);
    const Tree items = tree(dialog);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_TRUE(items[0].children.empty());
}

TEST_F(BookmarkSaving, AReadOnlyCatalogueShowsTheErrorAndKeepsTheEdits) {
    catalogue.addBookmark(TestCatalogue::kChablis, u"Austernwein", u"alt");
    const HWND dialog = chablisReadyToSave();
    catalogue.setReadOnly(true);
    ASSERT_TRUE(g_database->openCatalogue());
    const bool flagBefore = g_resultsState->bookmarkFlag;
    retype(dialog, kDescriptionEdit, u"neu");
    retype(dialog, kNoteEdit, u"auch neu");
    ASSERT_TRUE(driver.tap(dialog, kSaveButton));
    catalogue.setReadOnly(false);

    ASSERT_EQ(driver.messageBoxes().size(), 1u);
    EXPECT_EQ(driver.messageBoxes()[0].caption, u"FEHLER");
    EXPECT_EQ(driver.messageBoxes()[0].text, kSaveFailed);
    EXPECT_EQ(driver.messageBoxes()[0].type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
    EXPECT_EQ(bookmarks(), (Rows{{"1001", "Austernwein", "alt"}}));
    EXPECT_EQ(driver.text(dialog, kDescriptionEdit), u"neu");
    EXPECT_EQ(driver.text(dialog, kNoteEdit), u"auch neu");
    EXPECT_EQ(g_resultsState->bookmarkFlag, flagBefore);

    // The program goes on: another entry shows, and the first one still has its stored bookmark.
    ASSERT_TRUE(
        driver.selectTreeItem(dialog, kTree, {u"Rot", u"Beaujolais Villages, Château de la Colline"}));
    EXPECT_EQ(driver.text(dialog, kHeaderLine), u"Frankreich: Beaujolais");
    ASSERT_TRUE(driver.selectTreeItem(dialog, kTree, {u"Weiß", kChablisLabel}));
    EXPECT_EQ(driver.text(dialog, kNoteEdit), u"alt");
}

TEST_F(BookmarkSaving, ACatalogueReadOnlyFromTheStartListsShowsAndRefusesSaving) {
    catalogue.addBookmark(TestCatalogue::kChablis, u"Austernwein", u"alt");
    catalogue.installAsProgramCatalogue();
    catalogue.setReadOnly(true);
    ASSERT_TRUE(g_database->openCatalogue());
    installed = true;
    const HWND dialog = openBookmarkList();
    ASSERT_TRUE(showBookmark(dialog, u"Austernwein"));
    EXPECT_EQ(driver.text(dialog, kHeaderLine), u"Frankreich: Burgund");
    ASSERT_TRUE(driver.selectTab(dialog, kTabs, kBookmarkTab));
    ASSERT_TRUE(driver.type(dialog, kNoteEdit, u" und neu"));
    ASSERT_TRUE(driver.tap(dialog, kSaveButton));
    catalogue.setReadOnly(false);
    ASSERT_EQ(driver.messageBoxes().size(), 1u);
    EXPECT_EQ(driver.messageBoxes()[0].caption, u"FEHLER");
    EXPECT_EQ(driver.text(dialog, kNoteEdit), u"alt und neu");
    EXPECT_EQ(bookmarks(), (Rows{{"1001", "Austernwein", "alt"}}));
}

TEST_F(BookmarkSaving, ANewBookmarkOnAReadOnlyCatalogueIsNotReportedAsSaved) {
    const HWND dialog = chablisReadyToSave();
    catalogue.setReadOnly(true);
    ASSERT_TRUE(g_database->openCatalogue());
    ASSERT_TRUE(driver.tap(dialog, kSaveButton));
    catalogue.setReadOnly(false);
    ASSERT_EQ(driver.messageBoxes().size(), 1u);
    EXPECT_EQ(driver.messageBoxes()[0].caption, u"FEHLER");
    EXPECT_TRUE(bookmarks().empty());
    EXPECT_FALSE(g_resultsState->bookmarkFlag);
}

} // namespace
