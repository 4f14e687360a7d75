// List boxes: order, sorting, selection by tap and by the program.
#include <QListWidget>
#include <QWidget>
#include <gtest/gtest.h>

#include "platform/testing/driver.h"
#include "platform/testing/message_recorder.h"
#include "tests/platform/ui/controls/controls_fixture.h"
#include "tests/platform/ui/test_module.h"

using namespace platform::testing;
using namespace uitest;

// ---- List boxes ----

TEST_F(ControlsTest, ListBoxShrinksToWholeRows) {
    const int before = driver.rect(dialog, kList).height();
    for (const char16_t* row :
         {u"Riesling", u"Silvaner", u"Müller-Thurgau", u"Kerner", u"Bacchus", u"Scheurebe"})
        add(kList, LB_ADDSTRING, row);
    auto* list = qobject_cast<QListWidget*>(driver.widget(dialog, kList));
    ASSERT_NE(list, nullptr);
    const int row = list->sizeHintForRow(0);
    ASSERT_GT(row, 0);
    EXPECT_EQ(list->viewport()->height() % row, 0);
    EXPECT_LE(driver.rect(dialog, kList).height(), before);
    EXPECT_GT(driver.rect(dialog, kList).height(), before - row);
}

TEST_F(ControlsTest, SortedListBoxSortsAsAGermanDictionary) {
    for (const char16_t* row : {u"Silvaner", u"Sémillon", u"Muskateller", u"Müller-Thurgau", u"scheurebe"})
        add(kSortedList, LB_ADDSTRING, row);
    EXPECT_EQ(driver.items(dialog, kSortedList),
              (std::vector<std::u16string>{u"Müller-Thurgau", u"Muskateller", u"scheurebe", u"Sémillon",
                                           u"Silvaner"}));
}

TEST_F(ControlsTest, ListBoxKeepsItemsInTheOrderAdded) {
    EXPECT_EQ(add(kList, LB_ADDSTRING, u"Riesling"), 0);
    EXPECT_EQ(add(kList, LB_ADDSTRING, u"Chardonnay"), 1);
    EXPECT_EQ(send(kList, LB_GETCOUNT), 2);
    char16_t buffer[32];
    EXPECT_EQ(send(kList, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(buffer)), 10);
    EXPECT_EQ(std::u16string(buffer), u"Chardonnay");
    EXPECT_EQ(send(kList, LB_GETTEXTLEN, 0), 8);
    EXPECT_EQ(send(kList, LB_GETTEXTLEN, 5), LB_ERR);
    send(kList, LB_RESETCONTENT);
    EXPECT_EQ(send(kList, LB_GETCOUNT), 0);
}

TEST_F(ControlsTest, SortedListBoxSortsWithoutRegardToCase) {
    add(kSortedList, LB_ADDSTRING, u"riesling");
    EXPECT_EQ(add(kSortedList, LB_ADDSTRING, u"Chardonnay"), 0);
    EXPECT_EQ(add(kSortedList, LB_ADDSTRING, u"Merlot"), 1);
    EXPECT_EQ(driver.items(dialog, kSortedList),
              (std::vector<std::u16string>{u"Chardonnay", u"Merlot", u"riesling"}));
}

TEST_F(ControlsTest, ListBoxTapSelectsAndNotifies) {
    add(kList, LB_ADDSTRING, u"Eins");
    add(kList, LB_ADDSTRING, u"Zwei");
    EXPECT_EQ(send(kList, LB_GETCURSEL), LB_ERR);
    MessageRecorder recorder(dialog);
    driver.chooseItem(dialog, kList, 1);
    EXPECT_EQ(send(kList, LB_GETCURSEL), 1);
    EXPECT_TRUE(recorder.matches({command(kList, LBN_SELCHANGE)}));
}

TEST_F(ControlsTest, ListBoxSelectionByTheProgram) {
    add(kList, LB_ADDSTRING, u"Eins");
    add(kList, LB_ADDSTRING, u"Zwei");
    MessageRecorder recorder(dialog);
    EXPECT_EQ(send(kList, LB_SETCURSEL, 1), 1);
    EXPECT_EQ(send(kList, LB_GETCURSEL), 1);
    EXPECT_EQ(send(kList, LB_SETCURSEL, static_cast<WPARAM>(-1)), LB_ERR);
    EXPECT_EQ(send(kList, LB_GETCURSEL), LB_ERR);
    EXPECT_EQ(driver.selectedIndex(dialog, kList), -1);
    EXPECT_TRUE(recorder.entries().empty());
}

TEST_F(ControlsTest, NoSelectionListBoxNeverHighlights) {
    add(kNoSelList, LB_ADDSTRING, u"Zeile");
    driver.chooseItem(dialog, kNoSelList, 0);
    EXPECT_EQ(send(kNoSelList, LB_GETCURSEL), LB_ERR);
    EXPECT_EQ(send(kNoSelList, LB_SETCURSEL, 0), LB_ERR);
    EXPECT_EQ(driver.selectedIndex(dialog, kNoSelList), -1);
}

// ---- Huge rows: only what can be seen is laid out, the program keeps the whole text ----

TEST_F(ControlsTest, AHugeListRowKeepsItsWholeTextAndLooksLikeItsShownPart) {
    const std::u16string shown(1024, u'W');
    const std::u16string huge = shown + std::u16string(300000, u'W');
    add(kList, LB_ADDSTRING, shown.c_str());
    const QImage cut = driver.grab(GetDlgItem(dialog, kList));
    send(kList, LB_RESETCONTENT);
    add(kList, LB_ADDSTRING, huge.c_str());
    EXPECT_EQ(driver.grab(GetDlgItem(dialog, kList)), cut);
    ASSERT_EQ(send(kList, LB_GETTEXTLEN, 0), static_cast<LRESULT>(huge.size()));
    std::u16string text(huge.size() + 1, u'\0');
    send(kList, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(text.data()));
    EXPECT_EQ(text.c_str(), huge);
}
