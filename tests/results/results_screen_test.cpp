// The results screen as a user works it: the result tree of a search, the messages for no hits
// and for too many, an entry's texts and header line, the tabs and the font of the tree.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QTreeWidget>

#include "screen/globals.h"
#include "screen/screen.h"
#include "db/database.h"
#include "platform/data/utf.h"
#include "platform/ui/hooks.h"
#include "resources/dialog_ids.h"
#include "resources/resources.h"
#include "results/results_screen.h"
#include "results/results_state.h"
#include "search/search_form.h"
#include "search/search_screen.h"
#include "search/wait_animation.h"
#include "tests/results/results_fixture.h"

using namespace results_screen;
using platform::testing::TreeItemInfo;

namespace {

const std::u16string kBeaujolais = u"Beaujolais Villages, Château de la Colline";
const std::u16string kRioja = u"Rioja Reserva, Bodegas Valle Alto";
const std::u16string kChampagne = u"Champagne Rosé Brut, ";
const std::u16string kChablis = u"Chablis Premier Cru, Domaine des Vaux Clairs";
const std::u16string kRiesling = u"Ürziger Würzgarten Riesling Spätlese, Weingut Kellerbach";
const std::u16string kPort = u"Tawny Port 10 Jahre, Quinta do Miradouro";

const std::u16string kAllEntries = ResultsTest::search(u"ID > 0");

catalogue::Entry numberedEntry(int id, int red, int white) {
    const std::u16string digits = [&] {
        const std::string text = std::to_string(id);
        return std::u16string(text.begin(), text.end());
    }();
    auto entry = TestCatalogue::entry(id, u"Wein " + digits, u"F", u"Bordeaux");
    entry.red = red;
    entry.white = white;
    return entry;
}

class ResultsScreen : public ResultsTest {
  protected:
    // The catalogue with `count` entries, alternately red and white, keywords in id order.
    void addNumberedEntries(int count, int firstId = 10000) {
        catalogue.addCountry(u"F", u"Frankreich").addRegion(103, u"F", u"Bordeaux");
        for (int i = 0; i < count; ++i)
            catalogue.addEntry(numberedEntry(firstId + i, i % 2, (i + 1) % 2));
    }

    HWND openSearch(const std::u16string& sql, HWND parent = nullptr) {
        setQuery(sql);
        return openResults(parent);
    }

    Tree tree(HWND dialog) const { return driver.treeItems(dialog, kTree); }

    static bool isMessage(const platform::testing::MessageBoxRecord& box, const std::u16string& caption,
                          const std::u16string& text) {
        return box.caption == caption && box.text == text && box.type == (MB_OK | MB_ICONINFORMATION);
    }
};

// ---- The result tree ------------------------------------------------------------------------

TEST_F(ResultsScreen, EntriesAreGroupedUnderTheirColoursInSearchOrder) {
    const HWND dialog = openSearch(kAllEntries);
    ASSERT_NE(dialog, nullptr);
    const Tree items = tree(dialog);
    EXPECT_EQ(topLabels(items), (std::vector<std::u16string>{u"Rot", u"Rosè", u"Weiß", u"Braun"}));
    EXPECT_EQ(childLabels(items, u"Rot"), (std::vector<std::u16string>{kBeaujolais, kRioja}));
    EXPECT_EQ(childLabels(items, u"Rosè"), (std::vector<std::u16string>{kChampagne}));
    EXPECT_EQ(childLabels(items, u"Weiß"), (std::vector<std::u16string>{kChablis, kChampagne, kRiesling}));
    EXPECT_EQ(childLabels(items, u"Braun"), (std::vector<std::u16string>{kPort}));
    EXPECT_TRUE(driver.messageBoxes().empty());
}

TEST_F(ResultsScreen, EntryItemsCarryTheirIdAndCategoriesCarryZeroAndStayCollapsed) {
    const HWND dialog = openSearch(kAllEntries);
    for (const TreeItemInfo& category : tree(dialog)) {
        EXPECT_EQ(category.data, 0) << std::string(category.label.begin(), category.label.end());
        EXPECT_FALSE(category.expanded);
    }
    const Tree items = tree(dialog);
    EXPECT_EQ(items[0].children[0].data, TestCatalogue::kBeaujolais);
    EXPECT_EQ(items[0].children[1].data, TestCatalogue::kRioja);
    EXPECT_EQ(items[3].children[0].data, TestCatalogue::kPort);
}

TEST_F(ResultsScreen, TheStateKeepsTheCategoriesThatStayAndForgetsTheRemovedOnes) {
    const HWND dialog = openSearch(search(u"Braun > 0"));
    const ResultsState& state = *g_resultsState;
    EXPECT_EQ(topLabels(tree(dialog)), (std::vector<std::u16string>{u"Braun"}));
    EXPECT_NE(state.categories[kCategoryBrown], nullptr);
    for (ResultCategory gone : {kCategoryRed, kCategoryWhite, kCategoryRose, kCategoryKeyword})
        EXPECT_EQ(state.categories[gone], nullptr) << gone;
}

TEST_F(ResultsScreen, RedAndWhiteWineIsListedUnderBoth) {
    catalogue.addCountry(u"F", u"Frankreich");
    auto both = TestCatalogue::entry(2001, u"Clos des Deux Couleurs", u"F", u"Loire");
    both.red = 1;
    both.white = 1;
    both.suffix = u"Domaine Fictif";
    catalogue.addEntry(both);
    const HWND dialog = openSearch(kAllEntries);
    const Tree items = tree(dialog);
    EXPECT_EQ(topLabels(items), (std::vector<std::u16string>{u"Rot", u"Weiß"}));
    EXPECT_EQ(childLabels(items, u"Rot"),
              (std::vector<std::u16string>{u"Clos des Deux Couleurs, Domaine Fictif"}));
    EXPECT_EQ(childLabels(items, u"Weiß"),
              (std::vector<std::u16string>{u"Clos des Deux Couleurs, Domaine Fictif"}));
}

TEST_F(ResultsScreen, EntryWithoutColourIsListedUnderStichwort) {
    catalogue.addCountry(u"F", u"Frankreich");
    auto plain = TestCatalogue::entry(2002, u"Vin de Table", u"F", u"Loire");
    catalogue.addEntry(plain);
    auto red = TestCatalogue::entry(2003, u"Anjou Rouge", u"F", u"Loire");
    red.red = 1;
    catalogue.addEntry(red);
    const HWND dialog = openSearch(kAllEntries);
    const Tree items = tree(dialog);
    EXPECT_EQ(topLabels(items), (std::vector<std::u16string>{u"Rot", u"Stichwort"}));
    EXPECT_EQ(childLabels(items, u"Stichwort"), (std::vector<std::u16string>{u"Vin de Table, "}));
}

TEST_F(ResultsScreen, NegativeColourFlagDoesNotCountAsAColour) {
    catalogue.addCountry(u"F", u"Frankreich");
    auto odd = TestCatalogue::entry(2004, u"Vin Curieux", u"F", u"Loire");
    odd.red = -1;
    catalogue.addEntry(odd);
    const HWND dialog = openSearch(kAllEntries);
    EXPECT_EQ(topLabels(tree(dialog)), (std::vector<std::u16string>{u"Stichwort"}));
}

TEST_F(ResultsScreen, RowsWithoutNameAreSkipped) {
    const HWND dialog = openSearch(search(u"Land = 'F' AND Rot > 0"));
    EXPECT_EQ(childLabels(tree(dialog), u"Rot"), (std::vector<std::u16string>{kBeaujolais}));
}

TEST_F(ResultsScreen, AllNamesNullLeavesAnEmptyTreeWithoutMessage) {
    const HWND dialog = openSearch(search(u"ID = 1003"));
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_TRUE(tree(dialog).empty());
    EXPECT_TRUE(driver.messageBoxes().empty());
}

TEST_F(ResultsScreen, OpeningAgainFillsTheTreeAfresh) {
    HWND dialog = openSearch(kAllEntries);
    driver.close(dialog);
    dialog = openSearch(kAllEntries);
    EXPECT_EQ(entryCount(tree(dialog)), 7u);
}

// ---- More than 80 hits ------------------------------------------------------------------------

TEST_F(ResultsScreen, MoreThanEightyHitsShowTheExactCountAndTheFirstEightyRows) {
    addNumberedEntries(123);
    const HWND dialog = openSearch(kAllEntries);
    ASSERT_EQ(driver.messageBoxes().size(), 1u);
    EXPECT_TRUE(isMessage(driver.messageBoxes()[0], u"Meldung",
                          u"Ihre Suche (123 Treffer) übersteigt die voreingestellte Anzahl von 80 "
                          u"Ergebnistreffern. Es werden nur die ersten 80 Ergebnisse angezeigt."));
    EXPECT_EQ(driver.messageBoxes()[0].owner, dialog);
    const Tree items = tree(dialog);
    EXPECT_EQ(entryCount(items), 80u);
    EXPECT_EQ(childLabels(items, u"Rot").size(), 40u);
    EXPECT_EQ(childLabels(items, u"Weiß").size(), 40u);
    // The first eighty in keyword order: ids 10000 to 10079.
    EXPECT_EQ(childLabels(items, u"Weiß").front(), u"Wein 10000, ");
    EXPECT_EQ(childLabels(items, u"Rot").back(), u"Wein 10079, ");
    EXPECT_TRUE(IsWindow(dialog));
}

TEST_F(ResultsScreen, AFewThousandHitsShowTheExactCountAndTheFirstEightyInKeywordOrder) {
    addNumberedEntries(3000);
    const HWND dialog = openSearch(kAllEntries);
    ASSERT_EQ(driver.messageBoxes().size(), 1u);
    EXPECT_NE(driver.messageBoxes()[0].text.find(u"(3000 Treffer)"), std::u16string::npos);
    std::vector<std::u16string> red, white;
    for (int id = 10000; id < 10080; ++id)
        (id % 2 ? red : white).push_back(u"Wein " + ado::toUtf16(std::to_string(id)) + u", ");
    const Tree items = tree(dialog);
    EXPECT_EQ(childLabels(items, u"Rot"), red);
    EXPECT_EQ(childLabels(items, u"Weiß"), white);
    EXPECT_EQ(entryCount(items), 80u);
}

TEST_F(ResultsScreen, EightyOneHitsShowTheMessage) {
    addNumberedEntries(81);
    const HWND dialog = openSearch(kAllEntries);
    ASSERT_EQ(driver.messageBoxes().size(), 1u);
    EXPECT_NE(driver.messageBoxes()[0].text.find(u"(81 Treffer)"), std::u16string::npos);
    EXPECT_EQ(entryCount(tree(dialog)), 80u);
}

TEST_F(ResultsScreen, ExactlyEightyHitsShowNoMessage) {
    addNumberedEntries(80);
    const HWND dialog = openSearch(kAllEntries);
    EXPECT_TRUE(driver.messageBoxes().empty());
    EXPECT_EQ(entryCount(tree(dialog)), 80u);
}

TEST_F(ResultsScreen, NamelessRowsCountTowardsTheEighty) {
    addNumberedEntries(81);
    catalogue.content().entries[0].name = std::nullopt;
    catalogue.content().entries[1].name = std::nullopt;
    const HWND dialog = openSearch(kAllEntries);
    ASSERT_EQ(driver.messageBoxes().size(), 1u);
    EXPECT_EQ(entryCount(tree(dialog)), 78u);
}

// ---- No hits ----------------------------------------------------------------------------------

TEST_F(ResultsScreen, NoHitsShowTheNoticeAndCloseTheScreenDuringItsInitialisation) {
    install();
    setQuery(search(u"Land = 'XX'"));
    const INT_PTR result = driver.runModal(talvinoModule(), kResultsDialog, ResultsProc);
    EXPECT_NE(result, -1);
    ASSERT_EQ(driver.messageBoxes().size(), 1u);
    EXPECT_TRUE(isMessage(driver.messageBoxes()[0], u"HINWEIS",
                          u"Ihre Suche ergab 0 Ergebnistreffer. Bitte verändern Sie Ihre Suchkriterien."));
    EXPECT_EQ(driver.activeDialog(), nullptr);
}

TEST_F(ResultsScreen, StatementThatFailsCountsAsNoHits) {
    install();
    setQuery(u"SELECT * FROM Weinkeller WHERE (Rot > 0) ORDER by STICHWORT");
    driver.runModal(talvinoModule(), kResultsDialog, ResultsProc);
    ASSERT_EQ(driver.messageBoxes().size(), 1u);
    EXPECT_EQ(driver.messageBoxes()[0].caption, u"HINWEIS");
    EXPECT_EQ(driver.activeDialog(), nullptr);
}

TEST_F(ResultsScreen, DamagedCatalogueFileCountsAsNoHitsInsteadOfEndingTheProgram) {
    catalogue.addSampleContent();
    catalogue.installAsProgramCatalogue();
    std::string bytes = catalogue.readRawFile();
    for (std::size_t i = 4096; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(0x5A);
    catalogue.writeRawFile(bytes);
    ASSERT_TRUE(g_database->openCatalogue());
    installed = true;
    setQuery(kAllEntries);
    driver.runModal(talvinoModule(), kResultsDialog, ResultsProc);
    ASSERT_EQ(driver.messageBoxes().size(), 1u);
    EXPECT_EQ(driver.messageBoxes()[0].caption, u"HINWEIS");
}

// ---- The search form's animation and colour boxes ---------------------------------------------

class ResultsOverSearchForm : public ResultsScreen {
  protected:
    HWND openForm() {
        if (!installed) install();
        form = driver.open(talvinoModule(), kSearchFormDialog, SearchFormProc);
        return form;
    }
    void tick(int box) { ASSERT_TRUE(driver.tap(form, box)); }
    // Pretends a search is running: the animation shows and its thread has not been told to stop.
    void animationRunning() {
        ShowWindow(GetDlgItem(form, kAnimationControl), SW_SHOW);
        g_searchForm->stopFlag = 0;
    }
    bool animationStopped() const {
        return g_searchForm->stopFlag != 0 && !IsWindowVisible(GetDlgItem(form, kAnimationControl));
    }

    HWND form = nullptr;
};

TEST_F(ResultsOverSearchForm, OnlyRotTickedRemovesTheWhiteCategoryAndKeepsStichwort) {
    catalogue.addCountry(u"F", u"Frankreich");
    auto both = TestCatalogue::entry(2001, u"Clos des Deux Couleurs", u"F", u"Loire");
    both.red = 1;
    both.white = 1;
    catalogue.addEntry(both);
    catalogue.addEntry(TestCatalogue::entry(2002, u"Vin de Table", u"F", u"Loire"));
    openForm();
    tick(search_form::kRedBox);
    const HWND dialog = openSearch(kAllEntries, form);
    const Tree items = tree(dialog);
    EXPECT_EQ(topLabels(items), (std::vector<std::u16string>{u"Rot", u"Stichwort"}));
    EXPECT_EQ(childLabels(items, u"Rot"), (std::vector<std::u16string>{u"Clos des Deux Couleurs, "}));
}

TEST_F(ResultsOverSearchForm, TickedColoursKeepTheirCategoriesOthersGo) {
    openForm();
    tick(search_form::kRoseBox);
    tick(search_form::kBrownBox);
    const HWND dialog = openSearch(kAllEntries, form);
    EXPECT_EQ(topLabels(tree(dialog)), (std::vector<std::u16string>{u"Rosè", u"Braun"}));
}

TEST_F(ResultsOverSearchForm, NoColourTickedKeepsEveryCategoryWithEntries) {
    openForm();
    const HWND dialog = openSearch(kAllEntries, form);
    EXPECT_EQ(topLabels(tree(dialog)), (std::vector<std::u16string>{u"Rot", u"Rosè", u"Weiß", u"Braun"}));
}

TEST_F(ResultsOverSearchForm, AnimationStopsWhenTheTreeIsFilled) {
    openForm();
    animationRunning();
    openSearch(kAllEntries, form);
    EXPECT_TRUE(animationStopped());
}

TEST_F(ResultsOverSearchForm, AnimationHasStoppedBeforeEitherMessageShows) {
    addNumberedEntries(90);
    openForm();
    std::vector<bool> stoppedAtMessage;
    platform::setMessageBoxResponder([&](HWND, const std::u16string&, const std::u16string&, UINT) {
        stoppedAtMessage.push_back(animationStopped());
        return IDOK;
    });
    animationRunning();
    openSearch(kAllEntries, form);
    animationRunning();
    setQuery(search(u"Land = 'XX'"));
    driver.runModal(talvinoModule(), kResultsDialog, ResultsProc, form);
    EXPECT_EQ(stoppedAtMessage, (std::vector<bool>{true, true}));
}

// ---- An entry ---------------------------------------------------------------------------------

TEST_F(ResultsScreen, SelectingAnEntryShowsItsTextsAndHeaderLine) {
    const HWND dialog = openSearch(kAllEntries);
    ASSERT_TRUE(driver.selectTreeItem(dialog, kTree, {u"Weiß", kChablis}));
    EXPECT_EQ(driver.text(dialog, kHeaderLine), u"Frankreich: Burgund");
    EXPECT_EQ(driver.text(dialog, kInfoArea),
              u"überdurchschnittlich -> bekannt \r\n\r\ntrocken  \r\n"
              u"Straffer, mineralischer Chablis mit Noten von grünem Apfel; Säure und Würze. \r\n");
    EXPECT_EQ(driver.text(dialog, kVintageArea),
              u"empfohlener Jahrgang: \r\n96,99\r\ngenussreifer Jahrgang: \r\n90\r\n");
    EXPECT_EQ(g_resultsState->currentEntryId, u"1001");
    EXPECT_EQ(g_resultsState->defaultDescription, u"Chablis Premier Cru");
}

TEST_F(ResultsScreen, AreasAndHeaderAreEmptyUntilTheFirstSelection) {
    const HWND dialog = openSearch(kAllEntries);
    EXPECT_EQ(driver.text(dialog, kHeaderLine), u"");
    EXPECT_EQ(driver.text(dialog, kInfoArea), u"");
    EXPECT_EQ(driver.text(dialog, kVintageArea), u"");
}

TEST_F(ResultsScreen, SelectingACategoryChangesNothing) {
    const HWND dialog = openSearch(kAllEntries);
    ASSERT_TRUE(driver.selectTreeItem(dialog, kTree, {u"Braun", kPort}));
    const std::u16string info = driver.text(dialog, kInfoArea);
    const std::u16string vintage = driver.text(dialog, kVintageArea);
    setQuery(u"unchanged");
    ASSERT_TRUE(driver.selectTreeItem(dialog, kTree, {u"Rot"}));
    EXPECT_EQ(driver.selectedTreeLabel(dialog, kTree), u"Rot");
    EXPECT_EQ(driver.text(dialog, kHeaderLine), u"Portugal: Douro");
    EXPECT_EQ(driver.text(dialog, kInfoArea), info);
    EXPECT_EQ(driver.text(dialog, kVintageArea), vintage);
    EXPECT_EQ(g_resultsState->currentEntryId, u"4001");
    EXPECT_EQ(std::u16string(g_database->queryBuffer), u"unchanged");
}

TEST_F(ResultsScreen, UnknownCountryCodeShowsTheCodeItself) {
    catalogue.addSampleContent();
    auto stray = TestCatalogue::entry(2005, u"Vinho Misterioso", u"QQ", u"Nirgendwo");
    stray.red = 1;
    catalogue.addEntry(stray);
    const HWND dialog = openSearch(search(u"ID = 2005"));
    ASSERT_TRUE(driver.selectTreeItem(dialog, kTree, {u"Rot", u"Vinho Misterioso, "}));
    EXPECT_EQ(driver.text(dialog, kHeaderLine), u"QQ: Nirgendwo");
}

TEST_F(ResultsScreen, CountryCodeWithApostropheIsLookedUpIntact) {
    catalogue.addCountry(u"C'I", u"Côte d'Ivoire").addRegion(900, u"C'I", u"Lagunes");
    auto entry = TestCatalogue::entry(2006, u"Vin des Lagunes", u"C'I", u"Lagunes");
    entry.white = 1;
    catalogue.addEntry(entry);
    const HWND dialog = openSearch(kAllEntries);
    ASSERT_TRUE(driver.selectTreeItem(dialog, kTree, {u"Weiß", u"Vin des Lagunes, "}));
    EXPECT_EQ(driver.text(dialog, kHeaderLine), u"Côte d'Ivoire: Lagunes");
}

TEST_F(ResultsScreen, EachSelectionReplacesTheTextsOfThePreviousEntry) {
    const HWND dialog = openSearch(kAllEntries);
    ASSERT_TRUE(driver.selectTreeItem(dialog, kTree, {u"Weiß", kChablis}));
    ASSERT_TRUE(driver.selectTreeItem(dialog, kTree, {u"Rot", kRioja}));
    EXPECT_EQ(driver.text(dialog, kHeaderLine), u"Spanien: Rioja");
    EXPECT_EQ(driver.text(dialog, kVintageArea),
              u"empfohlener Jahrgang: \r\n95,01\r\n\r\nBaldiger Verbrauch empfohlen");
    EXPECT_EQ(g_resultsState->currentEntryId, u"3001");
    EXPECT_EQ(g_resultsState->defaultDescription, u"Rioja Reserva");
}

TEST_F(ResultsScreen, CurrentEntryIsKeptForTheNextOpening) {
    HWND dialog = openSearch(kAllEntries);
    ASSERT_TRUE(driver.selectTreeItem(dialog, kTree, {u"Braun", kPort}));
    driver.close(dialog);
    dialog = openSearch(kAllEntries);
    EXPECT_EQ(g_resultsState->currentEntryId, u"4001");
    EXPECT_EQ(g_resultsState->defaultDescription, u"");
}

// ---- Tabs -------------------------------------------------------------------------------------

TEST_F(ResultsScreen, ThreeTabsWithInfoSelectedAndTheInfoAreaOnTop) {
    const HWND dialog = openSearch(kAllEntries);
    EXPECT_EQ(driver.tabs(dialog, kTabs),
              (std::vector<std::u16string>{u"Info", u"Jahrgänge", u"Notiz / Lesezeichen"}));
    EXPECT_EQ(driver.currentTab(dialog, kTabs), 0);
    EXPECT_TRUE(driver.visible(dialog, kInfoArea));
    EXPECT_TRUE(driver.visible(dialog, kTree));
    EXPECT_TRUE(driver.visible(dialog, kHeaderLine));
    for (int hidden : {kDescriptionEdit, kNoteEdit, kBookmarkBox, kSaveButton})
        EXPECT_FALSE(driver.visible(dialog, hidden)) << hidden;
    EXPECT_EQ(driver.text(dialog, kBookmarkBox), u"Lesezeichen setzen");
}

TEST_F(ResultsScreen, EachTabShowsItsOwnControls) {
    const HWND dialog = openSearch(kAllEntries);
    ASSERT_TRUE(driver.selectTreeItem(dialog, kTree, {u"Rot", kRioja}));

    ASSERT_TRUE(driver.selectTab(dialog, kTabs, kVintageTab));
    EXPECT_TRUE(driver.visible(dialog, kVintageArea));
    for (int hidden : {kInfoArea, kDescriptionEdit, kNoteEdit, kBookmarkBox, kSaveButton})
        EXPECT_FALSE(driver.visible(dialog, hidden)) << hidden;

    ASSERT_TRUE(driver.selectTab(dialog, kTabs, kBookmarkTab));
    for (int shown : {kDescriptionEdit, kNoteEdit, kBookmarkBox})
        EXPECT_TRUE(driver.visible(dialog, shown)) << shown;
    for (int hidden : {kInfoArea, kVintageArea})
        EXPECT_FALSE(driver.visible(dialog, hidden)) << hidden;

    ASSERT_TRUE(driver.selectTab(dialog, kTabs, kInfoTab));
    EXPECT_TRUE(driver.visible(dialog, kInfoArea));
    for (int hidden : {kVintageArea, kDescriptionEdit, kNoteEdit, kBookmarkBox, kSaveButton})
        EXPECT_FALSE(driver.visible(dialog, hidden)) << hidden;
}

TEST_F(ResultsScreen, SpeichernShowsOnTheThirdTabOnlyForATickedBox) {
    catalogue.addSampleContent().addBookmark(TestCatalogue::kChablis, u"Zum Fisch", u"Kühl servieren");
    const HWND dialog = openSearch(kAllEntries);
    ASSERT_TRUE(driver.selectTab(dialog, kTabs, kBookmarkTab));
    ASSERT_TRUE(driver.selectTreeItem(dialog, kTree, {u"Weiß", kChablis}));
    EXPECT_TRUE(driver.checked(dialog, kBookmarkBox));
    EXPECT_TRUE(driver.visible(dialog, kSaveButton));

    ASSERT_TRUE(driver.selectTreeItem(dialog, kTree, {u"Rot", kRioja}));
    EXPECT_FALSE(driver.checked(dialog, kBookmarkBox));
    EXPECT_FALSE(driver.visible(dialog, kSaveButton));
    ASSERT_TRUE(driver.selectTab(dialog, kTabs, kInfoTab));
    ASSERT_TRUE(driver.selectTab(dialog, kTabs, kBookmarkTab));
    EXPECT_FALSE(driver.visible(dialog, kSaveButton));

    ASSERT_TRUE(driver.selectTreeItem(dialog, kTree, {u"Weiß", kChablis}));
    ASSERT_TRUE(driver.selectTab(dialog, kTabs, kVintageTab));
    EXPECT_FALSE(driver.visible(dialog, kSaveButton));
    ASSERT_TRUE(driver.selectTab(dialog, kTabs, kBookmarkTab));
    EXPECT_TRUE(driver.visible(dialog, kSaveButton));
    EXPECT_TRUE(g_resultsState->bookmarkFlag);
}

TEST_F(ResultsScreen, TabsLeaveTheTextsAlone) {
    const HWND dialog = openSearch(kAllEntries);
    ASSERT_TRUE(driver.selectTreeItem(dialog, kTree, {u"Braun", kPort}));
    const std::u16string vintage = driver.text(dialog, kVintageArea);
    ASSERT_TRUE(driver.selectTab(dialog, kTabs, kVintageTab));
    ASSERT_TRUE(driver.selectTab(dialog, kTabs, kInfoTab));
    EXPECT_EQ(driver.text(dialog, kVintageArea), vintage);
    EXPECT_EQ(driver.text(dialog, kHeaderLine), u"Portugal: Douro");
}

// ---- Fonts and closing ------------------------------------------------------------------------

TEST_F(ResultsScreen, HeaderLineUsesTheBoldResultsFont) {
    const HWND dialog = openSearch(kAllEntries);
    const HFONT font = reinterpret_cast<HFONT>(SendDlgItemMessageW(dialog, kHeaderLine, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font, g_resultsState->resultsFont);
    LOGFONTW description{};
    ASSERT_NE(GetObjectW(font, sizeof description, &description), 0);
    EXPECT_EQ(description.lfHeight, 15);
    EXPECT_EQ(description.lfWeight, FW_BOLD);
    EXPECT_EQ(std::u16string(description.lfFaceName), u"Tahoma");
}

TEST_F(ResultsScreen, TreeAsksForEveryItemAndDrawsItInTheResultsFont) {
    const HWND dialog = openSearch(kAllEntries);
    const HWND treeView = GetDlgItem(dialog, kTree);
    NMTVCUSTOMDRAW draw{};
    draw.nmcd.hdr = NMHDR{treeView, static_cast<UINT_PTR>(kTree), NM_CUSTOMDRAW};
    draw.nmcd.dwDrawStage = CDDS_PREPAINT;
    EXPECT_EQ(SendMessageW(dialog, WM_NOTIFY, kTree, reinterpret_cast<LPARAM>(&draw)), CDRF_NOTIFYITEMDRAW);

    const HDC dc = GetDC(treeView);
    draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
    draw.nmcd.hdc = dc;
    EXPECT_EQ(SendMessageW(dialog, WM_NOTIFY, kTree, reinterpret_cast<LPARAM>(&draw)), CDRF_NEWFONT);
    const HFONT other = CreateTahomaFont(10, FW_NORMAL);
    EXPECT_EQ(SelectObject(dc, other), g_resultsState->resultsFont);
    ReleaseDC(treeView, dc);
    DeleteObject(other);
}

// Width of the ink of the first item's label as drawn: the results font writes "Rot" wider than
// the template's font does.
int labelInkWidth(platform::testing::Driver& driver, HWND dialog) {
    auto* tree = qobject_cast<QTreeWidget*>(driver.widget(dialog, kTree));
    if (!tree || tree->topLevelItemCount() == 0) return 0;
    const QRect row = tree->visualItemRect(tree->topLevelItem(0))
                          .translated(tree->viewport()->pos())
                          .intersected(tree->viewport()->geometry());
    const QImage image = driver.grab(GetDlgItem(dialog, kTree));
    int left = image.width();
    int right = -1;
    for (int y = std::max(0, row.top()); y <= std::min(image.height() - 1, row.bottom()); ++y)
        for (int x = std::max(0, row.left()); x <= std::min(image.width() - 1, row.right()); ++x)
            if (qGray(image.pixel(x, y)) < 100) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    return right < left ? 0 : right - left + 1;
}

INT_PTR plainDialog(HWND, UINT, WPARAM, LPARAM) {
    return 0;
}

TEST_F(ResultsScreen, TreeItemsAreDrawnInTheLargerResultsFont) {
    const HWND dialog = openSearch(search(u"Rot > 0"));
    ASSERT_TRUE(driver.expandTreeItem(dialog, kTree, {u"Rot"}));
    driver.pump(100);
    const int resultsInk = labelInkWidth(driver, dialog);

    // The same items in the same template without the screen's drawing.
    const HWND plain = driver.open(talvinoModule(), kResultsDialog, plainDialog);
    const HWND plainTree = GetDlgItem(plain, kTree);
    std::u16string rot = u"Rot";
    TVINSERTSTRUCTW insert{};
    insert.hParent = TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = rot.data();
    const auto root = reinterpret_cast<HTREEITEM>(
        SendMessageW(plainTree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    for (std::u16string label : {kBeaujolais, kRioja}) {
        insert.hParent = root;
        insert.item.pszText = label.data();
        SendMessageW(plainTree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert));
    }
    ASSERT_TRUE(driver.expandTreeItem(plain, kTree, {u"Rot"}));
    driver.pump(100);
    const int plainInk = labelInkWidth(driver, plain);

    EXPECT_GT(plainInk, 0);
    EXPECT_GT(resultsInk, plainInk) << resultsInk << " vs " << plainInk;
}

TEST_F(ResultsScreen, DoneClosesTheScreenWithResultOne) {
    install();
    setQuery(kAllEntries);
    driver.onDialog(kResultsDialog, [&](HWND) { driver.tapDone(); });
    EXPECT_EQ(driver.runModal(talvinoModule(), kResultsDialog, ResultsProc), 1);
    EXPECT_EQ(g_resultsState->resultsFont, nullptr);
}

} // namespace
