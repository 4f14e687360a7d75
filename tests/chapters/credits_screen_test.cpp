// The credits screen: its rows, heading and banner.
#include <QFont>
#include <algorithm>
#include <QWidget>

#include "screen/globals.h"
#include "chapters/chapter_screens.h"
#include "resources/dialog_ids.h"
#include "tests/chapters/chapter_fixture.h"

namespace {

using Credits = ChapterScreenTest;

TEST_F(Credits, ShowsTwentyEightRowsWithBlanksInTheirPlaces) {
    const HWND credits = driver.open(talvinoModule(), kCreditsDialog, CreditsProc);
    ASSERT_NE(credits, nullptr);
    const std::vector<std::u16string> rows = driver.items(credits, 1046);
    EXPECT_EQ(rows.size(), 28u);
    EXPECT_EQ(rows, rowsOf(kCreditRows));
    EXPECT_EQ(blankPositions(rows), (std::vector<int>{5, 11, 16, 20, 23, 26}));
    for (int position : {5, 11, 16, 20, 23, 26})
        EXPECT_EQ(rows[position - 1], u" ") << position;
}

TEST_F(Credits, HeadingRowsStandWhereTheStructurePutsThem) {
    const HWND credits = driver.open(talvinoModule(), kCreditsDialog, CreditsProc);
    ASSERT_NE(credits, nullptr);
    const std::vector<std::u16string> rows = driver.items(credits, 1046);
    ASSERT_EQ(rows.size(), 28u);
    EXPECT_EQ(rows[5].rfind(u"Englische Buchausgabe: ", 0), 0u);
    EXPECT_EQ(rows[7].rfind(u"Deutsche Übersetzung: ", 0), 0u);
    EXPECT_EQ(rows[11], u"Programmierung");
    EXPECT_EQ(rows[16], u"Konzept:");
    EXPECT_EQ(rows[23], u"Programmierung:");
    EXPECT_EQ(rows[26], u"Grafiken:");
    std::size_t longest = 0;
    for (const std::u16string& row : rows)
        longest = std::max(longest, row.size());
    EXPECT_EQ(longest, 40u);
}

TEST_F(Credits, OpenedTwiceStillShowsTwentyEightRows) {
    for (int visit = 0; visit < 2; ++visit) {
        const HWND credits = driver.open(talvinoModule(), kCreditsDialog, CreditsProc);
        ASSERT_NE(credits, nullptr);
        EXPECT_EQ(driver.items(credits, 1046).size(), 28u) << "visit " << visit;
        driver.close(credits);
    }
}

TEST_F(Credits, TappingARowSelectsNothing) {
    const HWND credits = driver.open(talvinoModule(), kCreditsDialog, CreditsProc);
    ASSERT_NE(credits, nullptr);
    driver.tap(credits, 1046);
    driver.chooseItem(credits, 1046, 3);
    EXPECT_EQ(driver.selectedIndex(credits, 1046), -1);
    EXPECT_EQ(driver.items(credits, 1046).size(), 28u);
}

TEST_F(Credits, HeadingIsInTheBoldTitleFontUnderTheScreensCaption) {
    const HWND credits = driver.open(talvinoModule(), kCreditsDialog, CreditsProc);
    ASSERT_NE(credits, nullptr);
    EXPECT_EQ(driver.text(credits, 1057), u"IMPRESSUM");
    EXPECT_EQ(driver.deviceCaption(), u"Impressum");
    EXPECT_EQ(g_credits->window, credits);
    const LOGFONTW font = fontOf(driver.item(credits, 1057));
    EXPECT_EQ(font.lfHeight, 20);
    EXPECT_EQ(font.lfWeight, 700);
    EXPECT_EQ(faceOf(font), u"Tahoma");
    EXPECT_FALSE(driver.widget(credits, 1046)->font().bold());
}

TEST_F(Credits, BannerLiesBelowTheList) {
    const HWND credits = driver.open(talvinoModule(), kCreditsDialog, CreditsProc);
    ASSERT_NE(credits, nullptr);
    const QRect list = driver.rect(credits, 1046);
    const QImage banner = resourceBitmap(134);
    ASSERT_FALSE(banner.isNull());
    EXPECT_EQ(banner.size(), QSize(275, 52));
    // The banner static is the only control without an id: look for its picture below the list.
    const QImage screen = driver.grab(credits).convertToFormat(QImage::Format_RGB32);
    const int width = std::min(screen.width(), banner.width());
    auto bannerAt = [&](int top) {
        for (int row : {10, 26, 40})
            for (int x = 0; x < width; ++x)
                if (top + row >= screen.height() || screen.pixel(x, top + row) != banner.pixel(x, row))
                    return false;
        return true;
    };
    int found = -1;
    for (int top = 0; top < screen.height() && found < 0; ++top)
        if (bannerAt(top)) found = top;
    EXPECT_GT(found, list.bottom()) << "banner top " << found << ", list bottom " << list.bottom();
}

TEST_F(Credits, DoneButtonReturnsOneToTheOpener) {
    driver.onDialog(kCreditsDialog, [&](HWND) { driver.tapDone(); });
    EXPECT_EQ(driver.runModal(talvinoModule(), kCreditsDialog, CreditsProc), 1);
    EXPECT_EQ(driver.pendingSteps(), 0u);
}

} // namespace
