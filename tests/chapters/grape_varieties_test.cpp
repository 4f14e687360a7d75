// The grape varieties chapter over a catalogue of the test's own.
#include <QWidget>
#include <algorithm>
#include <memory>

#include "screen/globals.h"
#include "chapters/chapter_screens.h"
#include "db/database.h"
#include "platform/data/german_order.h"
#include "resources/dialog_ids.h"
#include "tests/chapters/chapter_fixture.h"
#include "tests/support/test_catalogue.h"

namespace {

const std::u16string kMerlotText = u"Weich, pflaumig und früh reif; am rechten Ufer der Gironde zu Hause.";
const std::u16string kRieslingText = u"Rasse und Säure, von trocken bis edelsüß; altert über Jahrzehnte.";
const std::u16string kNeroText = u"Siziliens wichtigste rote Sorte: dunkel, würzig, mit weichem Gerbstoff.";

class GrapeVarieties : public ChapterScreenTest {
  protected:
    void SetUp() override {
        ChapterScreenTest::SetUp();
        // Ids deliberately out of alphabetical order: the lists sort the names themselves.
        catalogue.addGrape(1, u"Zweigelt", 1, std::u16string(u"Österreichs meistgepflanzte rote Sorte."));
        catalogue.addGrape(2, u"Merlot", 1, kMerlotText);
        catalogue.addGrape(3, u"Nero d'Avola", 1, kNeroText);
        catalogue.addGrape(4, u"Cabernet Sauvignon", 1, std::u16string(u"Tiefe Farbe, feste Tannine."));
        catalogue.addGrape(10, u"Silvaner", 2, std::u16string(u"Zurückhaltend, erdig, ein Essensbegleiter."));
        catalogue.addGrape(11, u"Riesling", 2, kRieslingText);
        catalogue.addGrape(12, u"Chardonnay", 2,
                           std::u16string(u"Wandlungsfähig, vom Stahltank bis zum Holzfass."));
    }
    void TearDown() override {
        if (g_database) {
            g_database->closeCatalogue();
            g_database->freeQueryBuffer();
        }
    }
    // Builds the catalogue, opens it as the program does and allocates the query buffer.
    void openCatalogue() {
        catalogue.installAsProgramCatalogue();
        g_database->allocateQueryBuffer();
        ASSERT_TRUE(g_database->openCatalogue());
    }
    HWND openScreen() { return driver.open(talvinoModule(), kGrapesDialog, GrapeVarietiesProc); }

    TestCatalogue catalogue;
};

TEST_F(GrapeVarieties, ListsShowRedAndWhiteNamesSortedWhateverTheQueryOrder) {
    openCatalogue();
    const HWND grapes = openScreen();
    ASSERT_NE(grapes, nullptr);
    EXPECT_EQ(driver.items(grapes, 1013),
              (std::vector<std::u16string>{u"Cabernet Sauvignon", u"Merlot", u"Nero d'Avola", u"Zweigelt"}));
    EXPECT_EQ(driver.items(grapes, 1014),
              (std::vector<std::u16string>{u"Chardonnay", u"Riesling", u"Silvaner"}));
    driver.close(grapes);
}

#ifdef TALVINO_SHIPPED_CATALOGUE_DIR
TEST_F(GrapeVarieties, ListsOfTheShippedCatalogueAreInDictionaryOrder) {
    platform::overrideModuleFileName(u"" TALVINO_SHIPPED_CATALOGUE_DIR "/talvino");
    g_database->allocateQueryBuffer();
    ASSERT_TRUE(g_database->openCatalogue());
    const HWND grapes = openScreen();
    ASSERT_NE(grapes, nullptr);
    const auto germanOrder = [](const std::u16string& a, const std::u16string& b) {
        return ado::compareGerman(a, b) < 0;
    };
    const std::vector<std::u16string> red = driver.items(grapes, 1013);
    const std::vector<std::u16string> white = driver.items(grapes, 1014);
    EXPECT_GE(red.size(), 20u);
    EXPECT_GE(white.size(), 20u);
    EXPECT_TRUE(std::is_sorted(red.begin(), red.end(), germanOrder));
    EXPECT_TRUE(std::is_sorted(white.begin(), white.end(), germanOrder));
    const auto at = [&](const char16_t* name) {
        return std::find(white.begin(), white.end(), name) - white.begin();
    };
    EXPECT_LT(at(u"Müller-Thurgau"), at(u"Muskateller"));
    EXPECT_LT(at(u"Sémillon"), at(u"Silvaner"));
    EXPECT_LT(at(u"Silvaner"), static_cast<std::ptrdiff_t>(white.size()));
    driver.close(grapes);
    platform::overrideModuleFileName(nullptr);
}
#endif

TEST_F(GrapeVarieties, OpensWithTheIntroductionAndNothingChosen) {
    openCatalogue();
    const HWND grapes = openScreen();
    ASSERT_NE(grapes, nullptr);
    const std::vector<std::u16string> lines = driver.items(grapes, 1046);
    EXPECT_EQ(lines.size(), 46u);
    EXPECT_EQ(lines, rowsOf(kGrapeIntroductionLines));
    EXPECT_EQ(driver.selectedIndex(grapes, 1013), -1);
    EXPECT_EQ(driver.selectedIndex(grapes, 1014), -1);
    EXPECT_EQ(driver.text(grapes, 1047), u"");
    EXPECT_EQ(driver.text(grapes, 1080), u"Rebsorten");
    EXPECT_EQ(driver.deviceCaption(), u"Rebsorten");
    const LOGFONTW font = fontOf(driver.item(grapes, 1080));
    EXPECT_EQ(font.lfHeight, 20);
    EXPECT_EQ(font.lfWeight, 700);
    EXPECT_EQ(faceOf(font), u"Tahoma");
    EXPECT_NE(fontOf(driver.item(grapes, 1047)).lfWeight, 700);
    driver.close(grapes);
}

TEST_F(GrapeVarieties, ChoosingAVarietyShowsItsDecodedDescription) {
    openCatalogue();
    const HWND grapes = openScreen();
    ASSERT_NE(grapes, nullptr);
    ASSERT_TRUE(driver.chooseItem(grapes, 1014, u"Riesling"));
    EXPECT_EQ(driver.text(grapes, 1047), kRieslingText);
    driver.close(grapes);
}

TEST_F(GrapeVarieties, ChoosingRedEmptiesTheWhiteListsTextAndBack) {
    openCatalogue();
    const HWND grapes = openScreen();
    ASSERT_NE(grapes, nullptr);
    ASSERT_TRUE(driver.chooseItem(grapes, 1014, u"Riesling"));
    EXPECT_EQ(driver.text(grapes, 1014), u"Riesling");

    ASSERT_TRUE(driver.chooseItem(grapes, 1013, u"Merlot"));
    EXPECT_EQ(driver.text(grapes, 1013), u"Merlot");
    EXPECT_EQ(driver.text(grapes, 1014), u"");
    EXPECT_EQ(driver.text(grapes, 1047), kMerlotText);

    ASSERT_TRUE(driver.chooseItem(grapes, 1014, u"Riesling"));
    EXPECT_EQ(driver.text(grapes, 1014), u"Riesling");
    EXPECT_EQ(driver.text(grapes, 1013), u"");
    EXPECT_EQ(driver.text(grapes, 1047), kRieslingText);
    driver.close(grapes);
}

TEST_F(GrapeVarieties, TheSameVarietyTwiceShowsTheSameDescription) {
    openCatalogue();
    const HWND grapes = openScreen();
    ASSERT_NE(grapes, nullptr);
    ASSERT_TRUE(driver.chooseItem(grapes, 1013, u"Merlot"));
    const std::u16string first = driver.text(grapes, 1047);
    ASSERT_TRUE(driver.chooseItem(grapes, 1014, u"Riesling"));
    ASSERT_TRUE(driver.chooseItem(grapes, 1013, u"Merlot"));
    EXPECT_EQ(driver.text(grapes, 1047), first);
    EXPECT_EQ(first, kMerlotText);
    driver.close(grapes);
}

TEST_F(GrapeVarieties, ANameWithAnApostropheFindsItsDescription) {
    openCatalogue();
    const HWND grapes = openScreen();
    ASSERT_NE(grapes, nullptr);
    ASSERT_TRUE(driver.chooseItem(grapes, 1013, u"Nero d'Avola"));
    EXPECT_EQ(driver.text(grapes, 1047), kNeroText);
    driver.close(grapes);
}

TEST_F(GrapeVarieties, ALongDescriptionIsCutTo1999Characters) {
    std::u16string longText;
    while (longText.size() < 2500)
        longText += u"Würzig, tief und lang. ";
    longText.resize(2500);
    catalogue.addGrape(20, u"Syrah", 1, longText);
    openCatalogue();
    const HWND grapes = openScreen();
    ASSERT_NE(grapes, nullptr);
    ASSERT_TRUE(driver.chooseItem(grapes, 1013, u"Syrah"));
    const std::u16string shown = driver.text(grapes, 1047);
    EXPECT_EQ(shown.size(), 1999u);
    EXPECT_EQ(shown, longText.substr(0, 1999));
    driver.close(grapes);
}

TEST_F(GrapeVarieties, ReopeningShowsEachNameOnce) {
    openCatalogue();
    for (int visit = 0; visit < 2; ++visit) {
        const HWND grapes = openScreen();
        ASSERT_NE(grapes, nullptr);
        EXPECT_EQ(driver.items(grapes, 1013).size(), 4u) << "visit " << visit;
        EXPECT_EQ(driver.items(grapes, 1014).size(), 3u) << "visit " << visit;
        EXPECT_EQ(driver.items(grapes, 1046).size(), 46u) << "visit " << visit;
        EXPECT_EQ(driver.text(grapes, 1047), u"") << "visit " << visit;
        if (visit == 0) driver.chooseItem(grapes, 1013, u"Merlot");
        driver.close(grapes);
    }
}

TEST_F(GrapeVarieties, AVarietyWithoutDescriptionShowsAnEmptyField) {
    catalogue.addGrape(30, u"Gamay", 1, std::nullopt);
    openCatalogue();
    const HWND grapes = openScreen();
    ASSERT_NE(grapes, nullptr);
    ASSERT_TRUE(driver.chooseItem(grapes, 1013, u"Merlot"));
    ASSERT_TRUE(driver.chooseItem(grapes, 1013, u"Gamay"));
    EXPECT_EQ(driver.text(grapes, 1047), u"");
    driver.close(grapes);
}

TEST_F(GrapeVarieties, WithoutACatalogueTheListsStayEmptyAndTheScreenStillWorks) {
    g_database->allocateQueryBuffer(); // the catalogue is never opened
    const HWND grapes = openScreen();
    ASSERT_NE(grapes, nullptr);
    EXPECT_TRUE(driver.items(grapes, 1013).empty());
    EXPECT_TRUE(driver.items(grapes, 1014).empty());
    EXPECT_EQ(driver.items(grapes, 1046).size(), 46u);
    driver.close(grapes);
}

TEST_F(GrapeVarieties, DoneButtonReturnsOne) {
    openCatalogue();
    driver.onDialog(kGrapesDialog, [&](HWND) { driver.tapDone(); });
    EXPECT_EQ(driver.runModal(talvinoModule(), kGrapesDialog, GrapeVarietiesProc), 1);
    EXPECT_EQ(driver.pendingSteps(), 0u);
}

} // namespace
