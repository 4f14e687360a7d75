// The system's on-screen keyboard alone, as on a phone: the search term and the bookmark note are
// composed and committed through input-method events, umlauts and ß included, and what was typed
// is searched for and saved.
#include <gtest/gtest.h>

#include <string>

#include "app/global_objects.h"
#include "app/main_menu.h"
#include "platform/testing/driver.h"
#include "platform/ui/hooks.h"
#include "resources/dialog_ids.h"
#include "resources/resources.h"
#include "results/results_screen.h"
#include "tests/support/test_catalogue.h"

using platform::testing::Driver;
using namespace results_screen;

namespace {

constexpr int kSearchTerm = 1012;
constexpr int kStartSearch = 1011;
const std::u16string kChablisLabel = u"Chablis Premier Cru, Domaine des Vaux Clairs";

TEST(InputMethodJourney, SearchTermAndBookmarkNoteAreTypedWithTheSystemKeyboard) {
    createGlobalObjects();
    TestCatalogue catalogue;
    catalogue.addSampleContent().installAsProgramCatalogue();
    Driver driver;
    driver.stepTimeoutMs = 5000;
    std::u16string term, note;
    driver.onDialog(kMainMenuDialog, [&](HWND menu) { driver.tap(menu, 1007); });
    driver.onDialog(kSearchFormDialog, [&](HWND form) {
        EXPECT_TRUE(driver.typeWithInputMethod(form, kSearchTerm, u"Chablis"));
        term = driver.text(form, kSearchTerm);
        driver.tap(form, kStartSearch);
    });
    driver.onDialog(kResultsDialog, [&](HWND results) {
        EXPECT_TRUE(driver.selectTreeItem(results, kTree, {u"Weiß", kChablisLabel}));
        EXPECT_TRUE(driver.selectTab(results, kTabs, kBookmarkTab));
        if (!driver.checked(results, kBookmarkBox)) driver.tap(results, kBookmarkBox);
        SetDlgItemTextW(results, kNoteEdit, u"");
        EXPECT_TRUE(driver.typeWithInputMethod(results, kNoteEdit, u"Grüße: zu Austern, gut gekühlt – süß? Nein."));
        note = driver.text(results, kNoteEdit);
        driver.tap(results, kSaveButton);
        driver.tapDone();
    });
    driver.onDialog(kSearchFormDialog, [&](HWND) { driver.tapDone(); });
    driver.onDialog(kMainMenuDialog, [&](HWND) { driver.tapDone(); });
    EXPECT_EQ(WinMain(talvinoModule(), nullptr, nullptr, SW_SHOW), 0);
    EXPECT_EQ(driver.pendingSteps(), 0u);
    EXPECT_EQ(term, u"Chablis");
    EXPECT_EQ(note, u"Grüße: zu Austern, gut gekühlt – süß? Nein.");
    bool saved = false;
    for (const auto& box : driver.messageBoxes())
        saved = saved || box.text == u"Das Lesezeichen wurde gespeichert.";
    EXPECT_TRUE(saved) << "the bookmark with the typed note was saved";
    createGlobalObjects();
}

} // namespace
