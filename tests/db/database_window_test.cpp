// The database object and the utility object where they meet windows: fill list into real combo
// boxes, and the input-panel switch on the device's panel and button.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "db/database.h"
#include "db/text_codec.h"
#include "platform/testing/driver.h"
#include "platform/win32.h"
#include "tests/support/test_catalogue.h"

namespace {

constexpr int kDialog = 900;
constexpr int kUnsortedCombo = 901;
constexpr int kSortedCombo = 902;

const DLGITEMTEMPLATE kItems[] = {
    {kUnsortedCombo, u"COMBOBOX", nullptr, 0, WS_VISIBLE | CBS_DROPDOWNLIST | WS_VSCROLL, 0, 4, 4, 100, 60},
    {kSortedCombo, u"COMBOBOX", nullptr, 0, WS_VISIBLE | CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL, 0, 4, 24,
     100, 60},
};
const DLGTEMPLATE kTemplate = {
    kDialog, WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT, u"Liste", u"Tahoma", 8, 157, 159, kItems, 2};
const DLGTEMPLATE* const kDialogs[] = {&kTemplate};
const HINSTANCE__ kModule = {kDialogs, 1, nullptr, 0, nullptr, 0};

INT_PTR ignoreMessages(HWND, UINT, WPARAM, LPARAM) {
    return 0;
}

class FillListTest : public ::testing::Test {
  protected:
    void SetUp() override {
        catalogue.addSampleContent();
        catalogue.installAsProgramCatalogue();
        db.allocateQueryBuffer();
        dialog = driver.open(&kModule, kDialog, ignoreMessages);
        ASSERT_NE(dialog, nullptr);
    }
    void query(const std::u16string& sql) {
        std::fill(db.queryBuffer, db.queryBuffer + Database::kQueryBufferChars, u'\0');
        sql.copy(db.queryBuffer, Database::kQueryBufferChars - 1);
    }
    std::vector<std::u16string> items(int id) {
        std::vector<std::u16string> result;
        HWND combo = GetDlgItem(dialog, id);
        const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            char16_t text[200] = {};
            SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            result.emplace_back(text);
        }
        return result;
    }

    TestCatalogue catalogue;
    Database db;
    platform::testing::Driver driver;
    HWND dialog = nullptr;
};

using Items = std::vector<std::u16string>;

TEST_F(FillListTest, AddsTheFirstColumnOfEveryRowInTheQueryOrder) {
    ASSERT_TRUE(db.openCatalogue());
    query(u"SELECT Region.REGIO_LANG FROM Region ORDER BY Region.ID_REGION");
    EXPECT_TRUE(db.fillList(GetDlgItem(dialog, kUnsortedCombo)));
    EXPECT_EQ(items(kUnsortedCombo), (Items{u"Champagne", u"Burgund", u"Beaujolais", u"Bordeaux", u"Rioja",
                                            u"Douro", u"Mosel", u"Wachau"}));
}

TEST_F(FillListTest, ASortedComboSortsWhateverTheQueryOrder) {
    ASSERT_TRUE(db.openCatalogue());
    query(u"SELECT Region.REGIO_LANG FROM Region ORDER BY Region.ID_REGION");
    EXPECT_TRUE(db.fillList(GetDlgItem(dialog, kSortedCombo)));
    const Items sorted = items(kSortedCombo);
    ASSERT_EQ(sorted.size(), 8u);
    EXPECT_EQ(sorted.front(), u"Beaujolais");
}

TEST_F(FillListTest, NeverEmptiesTheBoxFirst) {
    ASSERT_TRUE(db.openCatalogue());
    HWND combo = GetDlgItem(dialog, kUnsortedCombo);
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u" "));
    query(u"select Regio_Lang from Region where Land = 'F' order by Regio_Lang");
    EXPECT_TRUE(db.fillList(combo));
    EXPECT_EQ(items(kUnsortedCombo), (Items{u" ", u"Beaujolais", u"Bordeaux", u"Burgund", u"Champagne"}));
}

TEST_F(FillListTest, NoRowsAddsNothingAndSucceeds) {
    ASSERT_TRUE(db.openCatalogue());
    query(u"select Regio_Lang from Region where Land = 'XX' order by Regio_Lang");
    EXPECT_TRUE(db.fillList(GetDlgItem(dialog, kUnsortedCombo)));
    EXPECT_TRUE(items(kUnsortedCombo).empty());
}

TEST_F(FillListTest, AddsTextsExactlyAsStoredAndSkipsNullsAndNumbers) {
    ASSERT_TRUE(db.openCatalogue());
    query(u"SELECT [Text] from Rebsorten WHERE [Rebsorte] LIKE 'Riesling*' ");
    EXPECT_TRUE(db.fillList(GetDlgItem(dialog, kUnsortedCombo)));
    EXPECT_EQ(items(kUnsortedCombo), (Items{encodedText(u"Rasse und Säure; von trocken bis edelsüß.")}));
    query(u"SELECT Name FROM talvino WHERE Land = 'F' ORDER BY ID");
    EXPECT_TRUE(db.fillList(GetDlgItem(dialog, kSortedCombo)));
    EXPECT_EQ(items(kSortedCombo).size(), 3u); // four entries, one without a name
    query(u"SELECT ID FROM talvino");
    EXPECT_TRUE(db.fillList(GetDlgItem(dialog, kSortedCombo)));
    EXPECT_EQ(items(kSortedCombo).size(), 3u);
}

TEST_F(FillListTest, RejectedSqlFailsAndLeavesTheBox) {
    ASSERT_TRUE(db.openCatalogue());
    query(u"SELECT Bezeichnung from Laender");
    EXPECT_FALSE(db.fillList(GetDlgItem(dialog, kUnsortedCombo)));
    EXPECT_TRUE(items(kUnsortedCombo).empty());
}

TEST_F(FillListTest, WithoutACatalogueFailsAndLeavesTheBox) {
    std::remove(catalogue.path().c_str());
    EXPECT_FALSE(db.openCatalogue());
    query(u"SELECT Bezeichnung from Land ORDER by Bezeichnung");
    EXPECT_FALSE(db.fillList(GetDlgItem(dialog, kUnsortedCombo)));
    EXPECT_TRUE(items(kUnsortedCombo).empty());
}

class InputPanelSwitchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        panel = FindWindowW(kInputPanelClass, nullptr);
        button = FindWindowW(kInputPanelButtonClass, nullptr);
        if (!panel || !button) GTEST_SKIP() << "the device window has no input panel or button";
    }
    void TearDown() override {
        if (panel && button) inputPanelSwitch(false, true);
    }
    HWND panel = nullptr;
    HWND button = nullptr;
};

TEST_F(InputPanelSwitchTest, BothOffHidesPanelAndButton) {
    inputPanelSwitch(true, true);
    EXPECT_TRUE(inputPanelSwitch(false, false));
    EXPECT_FALSE(IsWindowVisible(panel));
    EXPECT_FALSE(IsWindowVisible(button));
}

TEST_F(InputPanelSwitchTest, PanelOffButtonOnHidesThePanelAndShowsTheButton) {
    inputPanelSwitch(true, false);
    EXPECT_TRUE(inputPanelSwitch(false, true));
    EXPECT_FALSE(IsWindowVisible(panel));
    EXPECT_TRUE(IsWindowVisible(button));
}

TEST_F(InputPanelSwitchTest, PanelOnShowsThePanel) {
    EXPECT_TRUE(inputPanelSwitch(true, true));
    EXPECT_TRUE(IsWindowVisible(panel));
    EXPECT_TRUE(IsWindowVisible(button));
    Utility utility;
    EXPECT_TRUE(utility.inputPanelSwitch(false, true));
    EXPECT_FALSE(IsWindowVisible(panel));
}

} // namespace
