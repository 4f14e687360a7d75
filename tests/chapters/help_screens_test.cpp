// The help index and its four pages, opened and closed as a user does.
#include <QListWidget>
#include <QPushButton>
#include <QWidget>

#include "screen/globals.h"
#include "chapters/chapter_screens.h"
#include "db/text_codec.h"
#include "resources/dialog_ids.h"
#include "tests/chapters/chapter_fixture.h"

namespace {

using HelpIndex = ChapterScreenTest;

TEST_F(HelpIndex, OffersFourButtonsWithTheirCaptions) {
    const HWND index = driver.open(talvinoModule(), kHelpIndexDialog, HelpIndexProc);
    ASSERT_NE(index, nullptr);
    EXPECT_EQ(driver.widget(index)->findChildren<QPushButton*>().size(), 4);
    EXPECT_EQ(driver.text(index, 1048), u"Hilfe für Weine von A - Z");
    EXPECT_EQ(driver.text(index, 1036), u"Hilfe zu Rebsorten");
    EXPECT_EQ(driver.text(index, 1026), u"Hilfe zu \"Die richtige Temperatur\"");
    EXPECT_EQ(driver.text(index, 1006), u"Hilfe zu \"Lesezeichen\"");
    for (int id : {1048, 1036, 1026, 1006})
        EXPECT_TRUE(driver.visible(index, id)) << id;
}

TEST_F(HelpIndex, ShowsItsHeadingInTheBoldTitleFont) {
    const HWND index = driver.open(talvinoModule(), kHelpIndexDialog, HelpIndexProc);
    ASSERT_NE(index, nullptr);
    EXPECT_EQ(driver.text(index, 1058), u"Hilfe");
    EXPECT_EQ(driver.deviceCaption(), u"Talvino - Hilfe");
    EXPECT_TRUE(driver.doneButtonShown());
    EXPECT_EQ(g_helpIndex->window, index);
    ASSERT_NE(g_helpIndex->titleFont, nullptr);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(driver.item(index, 1058), WM_GETFONT, 0, 0)),
              g_helpIndex->titleFont);
    const LOGFONTW font = fontOf(driver.item(index, 1058));
    EXPECT_EQ(font.lfHeight, 20);
    EXPECT_EQ(font.lfWeight, 700);
    EXPECT_EQ(faceOf(font), u"Tahoma");
}

TEST_F(HelpIndex, HidesTheInputPanel) {
    ASSERT_TRUE(inputPanelSwitch(true, true));
    ASSERT_TRUE(driver.inputPanelShown());
    const HWND index = driver.open(talvinoModule(), kHelpIndexDialog, HelpIndexProc);
    ASSERT_NE(index, nullptr);
    EXPECT_FALSE(driver.inputPanelShown());
}

TEST_F(HelpIndex, DoneButtonReturnsOne) {
    driver.onDialog(kHelpIndexDialog, [&](HWND) { driver.tapDone(); });
    EXPECT_EQ(driver.runModal(talvinoModule(), kHelpIndexDialog, HelpIndexProc), 1);
    EXPECT_EQ(driver.pendingSteps(), 0u);
}

struct PageCase {
    const char* name;
    int button;
    const char16_t* heading;
    int titleHeight;
    const TextRows* rows;
    int rowCount;
    std::vector<int> blanks;
};

void PrintTo(const PageCase& c, std::ostream* os) {
    *os << c.name;
}

// What one visit of a page showed.
struct PageVisit {
    bool opened = false;
    std::u16string heading;
    std::u16string caption;
    int titleHeight = 0;
    bool titleBold = false;
    std::vector<std::u16string> rows;
    bool indexOpenAfterwards = false;
};

class HelpPages : public ChapterScreenTest, public ::testing::WithParamInterface<PageCase> {
  protected:
    // Opens the index, taps the page's button `visits` times, reading the page each time, and
    // closes the index.
    std::vector<PageVisit> visit(int visits) {
        std::vector<PageVisit> seen(visits);
        for (int i = 0; i < visits; ++i) {
            driver.onDialog(kHelpIndexDialog, [this](HWND index) { driver.tap(index, GetParam().button); });
            driver.onDialog(kHelpPageDialog, [this, &seen, i](HWND page) {
                PageVisit& v = seen[i];
                v.opened = true;
                v.heading = driver.text(page, 1057);
                v.caption = driver.deviceCaption();
                const LOGFONTW font = fontOf(driver.item(page, 1057));
                v.titleHeight = font.lfHeight;
                v.titleBold = font.lfWeight == 700 && faceOf(font) == u"Tahoma";
                v.rows = driver.items(page, 1046);
                driver.tapDone();
            });
        }
        driver.onDialog(kHelpIndexDialog, [this, &seen](HWND) {
            seen.back().indexOpenAfterwards = true;
            driver.tapDone();
        });
        driver.runModal(talvinoModule(), kHelpIndexDialog, HelpIndexProc);
        EXPECT_EQ(driver.pendingSteps(), 0u);
        return seen;
    }
};

TEST_P(HelpPages, ButtonOpensThePageWithItsHeadingAndRows) {
    const PageCase& c = GetParam();
    const std::vector<PageVisit> seen = visit(1);
    ASSERT_TRUE(seen[0].opened);
    EXPECT_EQ(seen[0].heading, c.heading);
    EXPECT_EQ(seen[0].caption, u"Talvino - Hilfe");
    EXPECT_EQ(seen[0].rows.size(), static_cast<std::size_t>(c.rowCount));
    EXPECT_EQ(seen[0].rows, rowsOf(*c.rows));
}

TEST_P(HelpPages, BlankRowsStandWhereTheLayoutPutsThem) {
    const std::vector<PageVisit> seen = visit(1);
    EXPECT_EQ(blankPositions(seen[0].rows), GetParam().blanks);
}

TEST_P(HelpPages, TitleFontHasThePagesHeight) {
    const std::vector<PageVisit> seen = visit(1);
    EXPECT_EQ(seen[0].titleHeight, GetParam().titleHeight);
    EXPECT_TRUE(seen[0].titleBold);
}

TEST_P(HelpPages, OpeningThePageTwiceShowsItsRowsOnce) {
    const std::vector<PageVisit> seen = visit(2);
    EXPECT_EQ(seen[0].rows.size(), static_cast<std::size_t>(GetParam().rowCount));
    EXPECT_EQ(seen[1].rows, seen[0].rows);
}

TEST_P(HelpPages, OkClosesOnlyThePage) {
    const std::vector<PageVisit> seen = visit(1);
    EXPECT_TRUE(seen[0].indexOpenAfterwards);
}

INSTANTIATE_TEST_SUITE_P(
    Help, HelpPages,
    ::testing::Values(
        PageCase{
            "Bookmarks", 1006, u"Hilfe zu 'Lesezeichen'", 20, &kHelpBookmarksRows, 21, {2, 13, 16, 20, 21}},
        PageCase{"Temperature",
                 1026,
                 u"Hilfe zu 'Die richtige Temperatur'",
                 16,
                 &kHelpTemperatureRows,
                 22,
                 {2, 21, 22}},
        PageCase{"Grapes", 1036, u"Hilfe zu 'Rebsorten'", 20, &kHelpGrapesRows, 5, {4, 5}},
        PageCase{"Wines",
                 1048,
                 u"Hilfe für 'Weine von A - Z'",
                 20,
                 &kHelpWinesRows,
                 94,
                 {2, 4, 9, 13, 18, 23, 29, 40, 55, 61, 75, 80, 85, 93, 94}}),
    [](const ::testing::TestParamInfo<PageCase>& param) { return std::string(param.param.name); });

using HelpPageRows = ChapterScreenTest;

TEST_F(HelpPageRows, WinesHelpBlanksAreEmptyButThreeSingleSpaces) {
    const HWND page = driver.open(talvinoModule(), kHelpPageDialog, HelpWinesProc);
    ASSERT_NE(page, nullptr);
    const std::vector<std::u16string> rows = driver.items(page, 1046);
    ASSERT_EQ(rows.size(), 94u);
    for (int position : {29, 93, 94})
        EXPECT_EQ(rows[position - 1], u" ") << position;
    for (int position : {2, 4, 9, 13, 18, 23, 40, 55, 61, 75, 80, 85})
        EXPECT_EQ(rows[position - 1], u"") << position;
}

TEST_F(HelpPageRows, RowsKeepTheirInsertionOrder) {
    const HWND page = driver.open(talvinoModule(), kHelpPageDialog, HelpWinesProc);
    ASSERT_NE(page, nullptr);
    const std::vector<std::u16string> rows = driver.items(page, 1046);
    ASSERT_EQ(rows.size(), 94u);
    EXPECT_EQ(rows[0], u"Weine von A-Z");
    EXPECT_EQ(rows[9], u"1. Typ: ");
    EXPECT_EQ(rows[13], u"2. Qualität: ");
    EXPECT_EQ(rows[29], u"3. Jahrgang:");
}

TEST_F(HelpPageRows, GrapesHelpShowsNoBlankAfterItsFirstRow) {
    const HWND page = driver.open(talvinoModule(), kHelpPageDialog, HelpGrapesProc);
    ASSERT_NE(page, nullptr);
    const std::vector<std::u16string> rows = driver.items(page, 1046);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0], u"Rebsorten");
    EXPECT_EQ(rows[1], u"In diesem Kapitel erhalten Sie Informationen");
    EXPECT_EQ(rows[2], u"zu den besten bzw. beliebtesten Rebsorten.");
}

TEST_F(HelpPageRows, ARowWiderThanTheListIsCutAtItsEdgeWithoutSideways) {
    const HWND page = driver.open(talvinoModule(), kHelpPageDialog, HelpWinesProc);
    ASSERT_NE(page, nullptr);
    auto* list = qobject_cast<QListWidget*>(driver.widget(page, 1046));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->textElideMode(), Qt::ElideNone);
    EXPECT_EQ(list->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_FALSE(list->wordWrap());
}

TEST_F(HelpPageRows, EveryPageShowsWholeRowsOnlyAtTheTopAndAfterScrolling) {
    for (auto proc : {HelpBookmarksProc, HelpTemperatureProc, HelpGrapesProc, HelpWinesProc}) {
        const HWND page = driver.open(talvinoModule(), kHelpPageDialog, proc);
        ASSERT_NE(page, nullptr);
        auto* list = qobject_cast<QListWidget*>(driver.widget(page, 1046));
        ASSERT_NE(list, nullptr);
        const int row = list->sizeHintForRow(0);
        ASSERT_GT(row, 0);
        const int area = list->viewport()->height();
        EXPECT_EQ(area % row, 0) << "a " << area << "-pixel list of " << row << "-pixel rows";
        EXPECT_GE(area / row, 7) << "the list keeps all but a part of a row of its rectangle";
        EXPECT_LE(driver.rect(page, 1046).bottom(), 149 * 2) << "never taller than its template";
        // Scrolled a row at a time, the last row of a longer page lands whole at the bottom too.
        if (list->count() > area / row) {
            list->scrollToItem(list->item(list->count() - 1));
            driver.pump();
            const QRect last = list->visualItemRect(list->item(list->count() - 1));
            EXPECT_LE(last.bottom(), area - 1);
            EXPECT_GE(last.top(), area - row);
        }
        driver.close(page);
    }
}

TEST_F(HelpPageRows, TappingARowHighlightsItAndNothingElse) {
    const HWND page = driver.open(talvinoModule(), kHelpPageDialog, HelpBookmarksProc);
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(driver.chooseItem(page, 1046, 2));
    EXPECT_EQ(driver.selectedIndex(page, 1046), 2);
    EXPECT_EQ(driver.activeDialog(), page);
    EXPECT_EQ(driver.items(page, 1046).size(), 21u);
}

TEST_F(HelpPageRows, APageLeavesTheInputPanelAsItFindsIt) {
    ASSERT_TRUE(inputPanelSwitch(true, true));
    const HWND page = driver.open(talvinoModule(), kHelpPageDialog, HelpTemperatureProc);
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(driver.inputPanelShown());
    driver.close(page);
    inputPanelSwitch(false, true);
}

} // namespace
