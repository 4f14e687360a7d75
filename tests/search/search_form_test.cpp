// The search form as a user works it: lists, the quality bar, the input panel, the coloured
// groups and "Suche starten" with its wait animation.
#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include <QColor>
#include <QImage>

#include "app/global_objects.h"
#include "screen/application.h"
#include "db/database.h"
#include "platform/testing/driver.h"
#include "resources/dialog_ids.h"
#include "resources/resources.h"
#include "search/search_form.h"
#include "search/search_screen.h"
#include "search/wait_animation.h"
#include "tests/support/test_catalogue.h"

using platform::testing::Driver;
using platform::testing::ScrollAction;
using namespace search_form;

namespace {

const std::vector<std::u16string> kAllRegionsInIdOrder = {u" ",        u"Mosel",     u"Rheingau", u"Baden",
                                                          u"Bordeaux", u"Côte d'Or", u"Loire",    u"Lagunes"};

class SearchFormScreen : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        catalogue_ = new TestCatalogue;
        catalogue_->addCountry(u"F", u"Frankreich")
            .addCountry(u"D", u"Deutschland")
            .addCountry(u"C'I", u"Côte d'Ivoire")
            .addRegion(10, u"D", u"Mosel")
            .addRegion(11, u"D", u"Rheingau")
            .addRegion(12, u"D", u"Baden")
            .addRegion(100, u"F", u"Bordeaux")
            .addRegion(101, u"F", u"Côte d'Or")
            .addRegion(102, u"F", u"Loire")
            .addRegion(900, u"C'I", u"Lagunes");
        auto entry = TestCatalogue::entry(5001, u"Riesling Kabinett", u"D", u"Mosel");
        entry.white = 1;
        catalogue_->addEntry(entry);
        catalogue_->installAsProgramCatalogue();
    }
    static void TearDownTestSuite() {
        delete catalogue_;
        catalogue_ = nullptr;
    }

    void SetUp() override {
        createGlobalObjects();
        g_application->instance = talvinoModule();
        g_database->allocateQueryBuffer();
        ASSERT_TRUE(g_database->openCatalogue());
        setSearchResultsScreen(nullptr);
    }
    void TearDown() override {
        setSearchResultsScreen(nullptr);
        wait_animation::setFrameDrawer(nullptr);
        wait_animation::setPause(nullptr);
        g_database->closeCatalogue();
        g_database->freeQueryBuffer();
    }

    HWND openForm() { return driver.open(talvinoModule(), kSearchFormDialog, SearchFormProc); }

    std::u16string queryBuffer() const { return g_database->queryBuffer; }

    static TestCatalogue* catalogue_;
    Driver driver;
};
TestCatalogue* SearchFormScreen::catalogue_ = nullptr;

// ---- Opening --------------------------------------------------------------------------------

TEST_F(SearchFormScreen, OpensWithEmptyChoicesAllRegionsInIdOrderAndLevelEgal) {
    const HWND form = openForm();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(driver.items(form, kCountryList),
              (std::vector<std::u16string>{u" ", u"Côte d'Ivoire", u"Deutschland", u"Frankreich"}));
    EXPECT_EQ(driver.selectedIndex(form, kCountryList), -1);
    EXPECT_EQ(driver.items(form, kRegionList), kAllRegionsInIdOrder);
    EXPECT_EQ(driver.selectedIndex(form, kRegionList), -1);
    EXPECT_EQ(driver.text(form, kQualityName), u"egal");
    EXPECT_EQ(driver.scrollPosition(form, kQualityBar), 0);
    EXPECT_EQ(g_searchForm->qualityLevel, 0);
    for (int box : {kFullTextBox, kRedBox, kRoseBox, kWhiteBox, kBrownBox, kDryBox, kSweetBox,
                    kMediumSweetBox, kSparklingBox, kEspeciallyGoodBox})
        EXPECT_FALSE(driver.checked(form, box)) << box;
    EXPECT_FALSE(driver.visible(form, kAnimationControl));
    EXPECT_FALSE(driver.visible(form, kFullTextLabel));
    EXPECT_FALSE(driver.inputPanelShown());
    EXPECT_TRUE(driver.doneButtonShown());
    EXPECT_EQ(driver.deviceCaption(), u"Talvino Weinsuche");
}

TEST_F(SearchFormScreen, HeadingAndLabelsGetTheirOwnFonts) {
    const HWND form = openForm();
    const auto fontOf = [&](int id) {
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendDlgItemMessageW(form, id, WM_GETFONT, 0, 0)), sizeof font, &font);
        return font;
    };
    const LOGFONTW heading = fontOf(kHeading);
    EXPECT_EQ(heading.lfHeight, 20);
    EXPECT_EQ(heading.lfWeight, 700);
    EXPECT_EQ(std::u16string(heading.lfFaceName), u"Tahoma");
    for (int id : {kQualityLabel, kTermLabel, kCountryLabel, kRegionLabel, kFullTextLabel, kStartButton}) {
        const LOGFONTW label = fontOf(id);
        EXPECT_EQ(label.lfHeight, 13) << id;
        EXPECT_EQ(label.lfWeight, 700) << id;
        EXPECT_EQ(std::u16string(label.lfFaceName), u"Tahoma") << id;
    }
}

TEST_F(SearchFormScreen, OpeningAgainFillsTheListsAfreshAndResetsTheLevel) {
    HWND form = openForm();
    ASSERT_TRUE(driver.scroll(form, kQualityBar, ScrollAction::End));
    driver.close(form);
    form = openForm();
    EXPECT_EQ(driver.items(form, kCountryList).size(), 4u);
    EXPECT_EQ(driver.items(form, kRegionList), kAllRegionsInIdOrder);
    EXPECT_EQ(g_searchForm->qualityLevel, 0);
    EXPECT_EQ(driver.text(form, kQualityName), u"egal");
}

TEST_F(SearchFormScreen, WithoutACatalogueBothListsHoldOnlyTheBlankItem) {
    g_database->closeCatalogue();
    const HWND form = openForm();
    EXPECT_EQ(driver.items(form, kCountryList), std::vector<std::u16string>{u" "});
    EXPECT_EQ(driver.items(form, kRegionList), std::vector<std::u16string>{u" "});
}

// ---- Country and region -------------------------------------------------------------------------

TEST_F(SearchFormScreen, ChoosingACountryListsItsRegionsByNameAndTheBlankCountryAllAgain) {
    const HWND form = openForm();
    ASSERT_TRUE(driver.chooseItem(form, kCountryList, u"Deutschland"));
    EXPECT_EQ(driver.items(form, kRegionList),
              (std::vector<std::u16string>{u" ", u"Baden", u"Mosel", u"Rheingau"}));
    ASSERT_TRUE(driver.chooseItem(form, kRegionList, u"Mosel"));

    ASSERT_TRUE(driver.chooseItem(form, kCountryList, u"Frankreich"));
    EXPECT_EQ(driver.items(form, kRegionList),
              (std::vector<std::u16string>{u" ", u"Bordeaux", u"Côte d'Or", u"Loire"}));
    EXPECT_EQ(driver.selectedIndex(form, kRegionList), -1);

    ASSERT_TRUE(driver.chooseItem(form, kCountryList, 0));
    EXPECT_EQ(driver.items(form, kRegionList), kAllRegionsInIdOrder);
}

TEST_F(SearchFormScreen, CountryWithAnApostropheListsItsRegions) {
    const HWND form = openForm();
    ASSERT_TRUE(driver.chooseItem(form, kCountryList, u"Côte d'Ivoire"));
    EXPECT_EQ(driver.items(form, kRegionList), (std::vector<std::u16string>{u" ", u"Lagunes"}));
}

// ---- Quality bar --------------------------------------------------------------------------------

TEST_F(SearchFormScreen, ArrowsStopAtEgalAndAtErstklassig) {
    const HWND form = openForm();
    ASSERT_TRUE(driver.scroll(form, kQualityBar, ScrollAction::LineLeft));
    EXPECT_EQ(driver.text(form, kQualityName), u"egal");
    EXPECT_EQ(driver.scrollPosition(form, kQualityBar), 0);
    EXPECT_EQ(g_searchForm->qualityLevel, 0);

    const char16_t* names[] = {u"egal", u"einfach (*)", u"überdurchschnittlich (**)", u"bekannt (***)",
                               u"erstklassig (****)"};
    for (int level = 1; level <= 4; ++level) {
        ASSERT_TRUE(driver.scroll(form, kQualityBar, ScrollAction::LineRight));
        EXPECT_EQ(driver.text(form, kQualityName), names[level]);
        EXPECT_EQ(driver.scrollPosition(form, kQualityBar), level);
        EXPECT_EQ(g_searchForm->qualityLevel, level);
    }
    ASSERT_TRUE(driver.scroll(form, kQualityBar, ScrollAction::LineRight));
    EXPECT_EQ(driver.text(form, kQualityName), u"erstklassig (****)");
    EXPECT_EQ(driver.scrollPosition(form, kQualityBar), 4);
    EXPECT_EQ(g_searchForm->qualityLevel, 4);
}

TEST_F(SearchFormScreen, PageStepsMoveOneLevelAndTheEndsJumpToZeroAndFour) {
    const HWND form = openForm();
    ASSERT_TRUE(driver.scroll(form, kQualityBar, ScrollAction::PageRight));
    EXPECT_EQ(g_searchForm->qualityLevel, 1);
    EXPECT_EQ(driver.text(form, kQualityName), u"einfach (*)");
    ASSERT_TRUE(driver.scroll(form, kQualityBar, ScrollAction::End));
    EXPECT_EQ(g_searchForm->qualityLevel, 4);
    EXPECT_EQ(driver.scrollPosition(form, kQualityBar), 4);
    ASSERT_TRUE(driver.scroll(form, kQualityBar, ScrollAction::PageLeft));
    EXPECT_EQ(g_searchForm->qualityLevel, 3);
    EXPECT_EQ(driver.text(form, kQualityName), u"bekannt (***)");
    ASSERT_TRUE(driver.scroll(form, kQualityBar, ScrollAction::Home));
    EXPECT_EQ(g_searchForm->qualityLevel, 0);
    EXPECT_EQ(driver.scrollPosition(form, kQualityBar), 0);
    EXPECT_EQ(driver.text(form, kQualityName), u"egal");
    // At the left end the thumb leaves no trough to tap; the bar's own message must still hold.
    SendMessageW(form, WM_HSCROLL, MAKEWPARAM(SB_PAGELEFT, 0),
                 reinterpret_cast<LPARAM>(GetDlgItem(form, kQualityBar)));
    EXPECT_EQ(g_searchForm->qualityLevel, 0);
    EXPECT_EQ(driver.text(form, kQualityName), u"egal");
}

TEST_F(SearchFormScreen, ScrollCodesWithoutAPositionKeepTheLevelWithinZeroToFour) {
    const HWND form = openForm();
    const auto send = [&](WORD code, WORD position) {
        SendMessageW(form, WM_HSCROLL, MAKEWPARAM(code, position),
                     reinterpret_cast<LPARAM>(GetDlgItem(form, kQualityBar)));
    };
    send(SB_RIGHT, 0);
    EXPECT_EQ(g_searchForm->qualityLevel, 4);
    send(SB_PAGERIGHT, 0);
    EXPECT_EQ(g_searchForm->qualityLevel, 4);
    send(SB_THUMBPOSITION, 9);
    EXPECT_EQ(g_searchForm->qualityLevel, 4);
    EXPECT_EQ(driver.scrollPosition(form, kQualityBar), 4);
    send(SB_LEFT, 3);
    EXPECT_EQ(g_searchForm->qualityLevel, 0);
    EXPECT_EQ(driver.text(form, kQualityName), u"egal");
    send(SB_THUMBTRACK, 3);
    EXPECT_EQ(g_searchForm->qualityLevel, 3);
    EXPECT_EQ(driver.text(form, kQualityName), u"bekannt (***)");
}

TEST_F(SearchFormScreen, DraggingTheThumbToTwoShowsItsNameAndTheSearchUsesIt) {
    const HWND form = openForm();
    ASSERT_TRUE(driver.dragThumb(form, kQualityBar, 2));
    EXPECT_EQ(driver.text(form, kQualityName), u"überdurchschnittlich (**)");
    EXPECT_EQ(driver.scrollPosition(form, kQualityBar), 2);
    EXPECT_EQ(g_searchForm->qualityLevel, 2);
    ASSERT_TRUE(driver.tap(form, kStartButton));
    EXPECT_NE(queryBuffer().find(u"(Qualitaet1 = 2) OR (Qualitaet2 = 2)"), std::u16string::npos);
}

TEST_F(SearchFormScreen, EndOfScrollChangesNothing) {
    const HWND form = openForm();
    ASSERT_TRUE(driver.scroll(form, kQualityBar, ScrollAction::LineRight));
    SendMessageW(form, WM_HSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0),
                 reinterpret_cast<LPARAM>(GetDlgItem(form, kQualityBar)));
    EXPECT_EQ(g_searchForm->qualityLevel, 1);
    EXPECT_EQ(driver.text(form, kQualityName), u"einfach (*)");
}

// ---- Input panel and check boxes ----------------------------------------------------------------

TEST_F(SearchFormScreen, TheSearchTermFieldShowsTheInputPanelAndOtherControlsHideIt) {
    const HWND form = openForm();
    ASSERT_TRUE(driver.tap(form, kSearchTerm));
    EXPECT_TRUE(driver.inputPanelShown());
    ASSERT_TRUE(driver.tap(form, kRedBox));
    EXPECT_FALSE(driver.inputPanelShown());
    ASSERT_TRUE(driver.tap(form, kSearchTerm));
    EXPECT_TRUE(driver.inputPanelShown());
    ASSERT_TRUE(driver.chooseItem(form, kCountryList, u"Frankreich"));
    EXPECT_FALSE(driver.inputPanelShown());
}

TEST_F(SearchFormScreen, ClosingTheFormHidesTheInputPanel) {
    const HWND form = openForm();
    ASSERT_TRUE(driver.tap(form, kSearchTerm));
    ASSERT_TRUE(driver.inputPanelShown());
    driver.close(form);
    EXPECT_FALSE(driver.inputPanelShown());
}

TEST_F(SearchFormScreen, CheckBoxesToggleOnlyThemselves) {
    const HWND form = openForm();
    ASSERT_TRUE(driver.tap(form, kRoseBox));
    ASSERT_TRUE(driver.tap(form, kSparklingBox));
    ASSERT_TRUE(driver.tap(form, kEspeciallyGoodBox));
    EXPECT_TRUE(driver.checked(form, kRoseBox));
    EXPECT_TRUE(driver.checked(form, kSparklingBox));
    EXPECT_TRUE(driver.checked(form, kEspeciallyGoodBox));
    EXPECT_FALSE(driver.checked(form, kRedBox));
    EXPECT_EQ(g_searchForm->qualityLevel, 0);
    ASSERT_TRUE(driver.tap(form, kRoseBox));
    EXPECT_FALSE(driver.checked(form, kRoseBox));
}

// ---- The criteria as the search reads them -----------------------------------------------------

TEST_F(SearchFormScreen, CriteriaAreReadFromEveryControl) {
    const HWND form = openForm();
    ASSERT_TRUE(driver.chooseItem(form, kCountryList, u"Frankreich"));
    ASSERT_TRUE(driver.chooseItem(form, kRegionList, u"Côte d'Or"));
    ASSERT_TRUE(driver.type(form, kSearchTerm, u"Chablis"));
    for (int box : {kFullTextBox, kWhiteBox, kBrownBox, kDryBox, kSparklingBox, kEspeciallyGoodBox})
        ASSERT_TRUE(driver.tap(form, box));
    ASSERT_TRUE(driver.scroll(form, kQualityBar, ScrollAction::End));

    const SearchCriteria c = gatherSearchCriteria(form, g_searchForm->qualityLevel);
    EXPECT_EQ(c.countryName, u"Frankreich");
    EXPECT_EQ(c.countryNameLength, 10);
    EXPECT_EQ(c.regionName, u"Côte d'Or");
    EXPECT_EQ(c.searchTerm, u"Chablis");
    EXPECT_TRUE(c.fullText);
    EXPECT_FALSE(c.red);
    EXPECT_TRUE(c.white);
    EXPECT_FALSE(c.rose);
    EXPECT_TRUE(c.brown);
    EXPECT_TRUE(c.dry);
    EXPECT_FALSE(c.mediumSweet);
    EXPECT_FALSE(c.sweet);
    EXPECT_TRUE(c.sparkling);
    EXPECT_EQ(c.qualityLevel, 4);
    EXPECT_TRUE(c.especiallyGood);
}

TEST_F(SearchFormScreen, NothingChosenReadsAsNoCountryAndABlankOrEmptyRegion) {
    const HWND form = openForm();
    const SearchCriteria c = gatherSearchCriteria(form, g_searchForm->qualityLevel);
    EXPECT_LT(c.countryNameLength, 0);
    EXPECT_LT(c.regionName.size(), 3u);
    EXPECT_TRUE(c.searchTerm.empty());
}

TEST_F(SearchFormScreen, SearchTermIsReadUpTo149Characters) {
    const HWND form = openForm();
    SetDlgItemTextW(form, kSearchTerm, std::u16string(200, u'x').c_str());
    EXPECT_EQ(gatherSearchCriteria(form, 0).searchTerm.size(), 149u);
}

// ---- "Suche starten" ----------------------------------------------------------------------------

// A stand-in for the results screen: notes what it finds when it opens and closes at once.
struct ResultsVisit {
    int opened = 0;
    std::u16string statement;
    bool animationShown = false;
    int stopFlag = -1;
    HWND parent = nullptr;
};
ResultsVisit* visit = nullptr;

INT_PTR FakeResultsProc(HWND window, UINT message, WPARAM, LPARAM) {
    if (message != WM_INITDIALOG) return 0;
    ++visit->opened;
    visit->statement = g_database->queryBuffer;
    visit->animationShown = IsWindowVisible(GetDlgItem(g_searchForm->window, kAnimationControl)) != 0;
    visit->stopFlag = g_searchForm->stopFlag.load();
    visit->parent = GetParent(window);
    EndDialog(window, 1);
    return 0;
}

TEST_F(SearchFormScreen, StartingASearchLeavesTheStatementAndOpensTheResultsOverTheRunningAnimation) {
    ResultsVisit seen;
    visit = &seen;
    setSearchResultsScreen(FakeResultsProc);
    const HWND form = openForm();
    ASSERT_TRUE(driver.chooseItem(form, kCountryList, u"Deutschland"));
    ASSERT_TRUE(driver.chooseItem(form, kRegionList, u"Mosel"));
    ASSERT_TRUE(driver.type(form, kSearchTerm, u"Riesling"));
    ASSERT_TRUE(driver.tap(form, kWhiteBox));
    ASSERT_TRUE(driver.tap(form, kStartButton));

    EXPECT_EQ(seen.opened, 1);
    EXPECT_EQ(seen.statement,
              u"SELECT * FROM talvino WHERE ((Land = 'D') AND ((Stichwort_Klein LIKE '*riesling*'))) "
              u" AND ( (Regio_Lang LIKE '*Mosel*') AND (\n (Weiss > 0))) ORDER by STICHWORT");
    EXPECT_TRUE(seen.animationShown);
    EXPECT_EQ(seen.stopFlag, 0);
    EXPECT_EQ(seen.parent, form);
    visit = nullptr;
}

TEST_F(SearchFormScreen, ReturningFromTheResultsStopsAndHidesTheAnimationAndKeepsEveryCriterion) {
    ResultsVisit seen;
    visit = &seen;
    setSearchResultsScreen(FakeResultsProc);
    const HWND form = openForm();
    ASSERT_TRUE(driver.chooseItem(form, kCountryList, u"Frankreich"));
    ASSERT_TRUE(driver.chooseItem(form, kRegionList, u"Loire"));
    ASSERT_TRUE(driver.type(form, kSearchTerm, u"Crémant"));
    ASSERT_TRUE(driver.tap(form, kRoseBox));
    ASSERT_TRUE(driver.tap(form, kDryBox));
    ASSERT_TRUE(driver.scroll(form, kQualityBar, ScrollAction::LineRight));
    ASSERT_TRUE(driver.tap(form, kStartButton));

    EXPECT_FALSE(driver.visible(form, kAnimationControl));
    EXPECT_EQ(g_searchForm->stopFlag.load(), 1);
    EXPECT_EQ(driver.text(form, kCountryList), u"Frankreich");
    EXPECT_EQ(driver.text(form, kRegionList), u"Loire");
    EXPECT_EQ(driver.text(form, kSearchTerm), u"Crémant");
    EXPECT_TRUE(driver.checked(form, kRoseBox));
    EXPECT_TRUE(driver.checked(form, kDryBox));
    EXPECT_FALSE(driver.checked(form, kRedBox));
    EXPECT_EQ(g_searchForm->qualityLevel, 1);
    EXPECT_EQ(driver.text(form, kQualityName), u"einfach (*)");

    // The same criteria build the same statement again.
    const std::u16string first = seen.statement;
    ASSERT_TRUE(driver.tap(form, kStartButton));
    EXPECT_EQ(seen.opened, 2);
    EXPECT_EQ(seen.statement, first);
    visit = nullptr;
}

TEST_F(SearchFormScreen, WithoutAResultsScreenTheSearchStillEndsItsAnimation) {
    const HWND form = openForm();
    ASSERT_TRUE(driver.tap(form, kRedBox));
    ASSERT_TRUE(driver.tap(form, kStartButton));
    EXPECT_EQ(queryBuffer(), u"SELECT * FROM talvino WHERE (  (\n (Rot > 0))) ORDER by STICHWORT");
    EXPECT_FALSE(driver.visible(form, kAnimationControl));
    EXPECT_EQ(g_searchForm->stopFlag.load(), 1);
    driver.close(form);
    EXPECT_EQ(g_searchForm->animationThread, nullptr);
}

TEST_F(SearchFormScreen, TheDoneButtonEndsTheFormWithOne) {
    driver.onDialog(kSearchFormDialog, [&](HWND) { driver.tapDone(); });
    EXPECT_EQ(driver.runModal(talvinoModule(), kSearchFormDialog, SearchFormProc), 1);
}

// ---- Drawing ------------------------------------------------------------------------------------

TEST_F(SearchFormScreen, GroupFramesArePanelsOfTheirColourWithABlackBorder) {
    const HWND form = openForm();
    driver.pump(20);
    const struct {
        int frame;
        QColor colour;
    } frames[] = {{kColourFrame, QColor(216, 224, 224)},
                  {kTasteFrame, QColor(255, 224, 192)},
                  {kQualityFrame, QColor(247, 251, 192)}};
    for (const auto& f : frames) {
        const QImage image = driver.grab(GetDlgItem(form, f.frame));
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(QColor(image.pixel(0, 0)), QColor(0, 0, 0)) << f.frame;
        // Somewhere inside, away from the controls lying on it, the panel's own colour shows.
        EXPECT_EQ(QColor(image.pixel(image.width() - 3, image.height() - 3)), f.colour) << f.frame;
    }
}

TEST_F(SearchFormScreen, LabelsOfAGroupStandOnTheGroupsColour) {
    const HWND form = openForm();
    driver.pump(20);
    const struct {
        int label;
        QColor colour;
    } labels[] = {
        {1029, QColor(216, 224, 224)}, {1044, QColor(255, 224, 192)}, {1028, QColor(247, 251, 192)}};
    for (const auto& l : labels) {
        const QRect r = driver.rect(form, l.label);
        EXPECT_EQ(driver.pixel(GetDlgItem(form, l.label), r.width() - 1, r.height() - 1), l.colour)
            << l.label;
    }
    // A label outside the groups keeps the dialog's own background.
    const QRect term = driver.rect(form, kTermLabel);
    EXPECT_NE(driver.pixel(GetDlgItem(form, kTermLabel), 0, term.height() - 1), QColor(216, 224, 224));
}

// The bitmap's pixels as the device's drawing reads them.
QImage bitmapPixels(int bitmapId, HWND anyWindow) {
    const HBITMAP bitmap = LoadBitmapW(talvinoModule(), MAKEINTRESOURCEW(bitmapId));
    if (!bitmap) return {};
    BITMAP size{};
    GetObjectW(bitmap, sizeof size, &size);
    QImage image(size.bmWidth, size.bmHeight, QImage::Format_RGB32);
    const HDC screen = GetDC(anyWindow);
    const HDC memory = CreateCompatibleDC(screen);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const COLORREF c = GetPixel(memory, x, y);
            image.setPixel(x, y, qRgb(GetRValue(c), GetGValue(c), GetBValue(c)));
        }
    SelectObject(memory, previous);
    DeleteDC(memory);
    ReleaseDC(anyWindow, screen);
    DeleteObject(bitmap);
    return image;
}

TEST_F(SearchFormScreen, EachFrameIsCopiedWholeToTheTopLeftOfThePicture) {
    const HWND form = openForm();
    const HWND picture = GetDlgItem(form, kAnimationControl);
    ShowWindow(picture, SW_SHOW);
    std::vector<QImage> frames;
    for (int bitmapId = kFirstAnimationFrame; bitmapId < kFirstAnimationFrame + kAnimationFrameCount;
         ++bitmapId) {
        const QImage expected = bitmapPixels(bitmapId, picture);
        if (expected.isNull() && bitmapId == kFirstAnimationFrame)
            GTEST_SKIP() << "the animation's frame bitmaps are not among the program's resources yet";
        ASSERT_FALSE(expected.isNull()) << bitmapId;
        EXPECT_EQ(expected.size(), QSize(159, 106)) << bitmapId;

        wait_animation::drawFrame(picture, talvinoModule(), bitmapId);
        driver.pump(10);
        // The grab shows the picture's border too; the frame lies in the client area inside it.
        const QImage shown = driver.grab(picture).convertToFormat(QImage::Format_RGB32);
        RECT client{};
        GetClientRect(picture, &client);
        const int border = (shown.width() - (client.right - client.left)) / 2;
        ASSERT_GE(shown.width() - 2 * border, expected.width());
        ASSERT_GE(shown.height() - 2 * border, expected.height());
        EXPECT_EQ(shown.copy(border, border, expected.width(), expected.height()), expected) << bitmapId;
        frames.push_back(expected);
    }
    // The frames differ from each other, so the comparison above tells them apart.
    for (std::size_t i = 1; i < frames.size(); ++i)
        EXPECT_NE(frames[i], frames[i - 1]) << i;
}

// Frames drawn during a search, written by the animation thread and read once it has ended.
std::vector<int> framesDrawn;
std::atomic<int> framesCount{0};

TEST_F(SearchFormScreen, DuringASearchTheAnimationDrawsFramesInOrder) {
    framesDrawn.clear();
    framesCount = 0;
    wait_animation::setPause([](DWORD) { Sleep(1); });
    wait_animation::setFrameDrawer([](HWND picture, HINSTANCE module, int bitmapId) {
        framesDrawn.push_back(bitmapId);
        wait_animation::drawFrame(picture, module, bitmapId);
        ++framesCount;
    });
    // The stand-in results screen keeps the interface thread busy until seven frames are drawn.
    setSearchResultsScreen([](HWND window, UINT message, WPARAM, LPARAM) -> INT_PTR {
        if (message != WM_INITDIALOG) return 0;
        while (framesCount.load() < 7)
            Sleep(5);
        stopWaitAnimation(*g_searchForm);
        EndDialog(window, 1);
        return 0;
    });
    const HWND form = openForm();
    ASSERT_TRUE(driver.tap(form, kStartButton));
    driver.close(form); // waits for the thread
    EXPECT_EQ(g_searchForm->animationThread, nullptr);
    ASSERT_GE(framesDrawn.size(), 7u);
    for (std::size_t i = 0; i < framesDrawn.size(); ++i)
        EXPECT_EQ(framesDrawn[i], kFirstAnimationFrame + static_cast<int>(i % 6)) << i;
}

} // namespace
