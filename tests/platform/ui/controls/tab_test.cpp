// Tab controls: tabs in order, the user's choice and the program's.
#include <QTabBar>
#include <gtest/gtest.h>

#include "platform/testing/driver.h"
#include "platform/testing/message_recorder.h"
#include "tests/platform/ui/controls/controls_fixture.h"
#include "tests/platform/ui/test_module.h"

using namespace platform::testing;
using namespace uitest;

// ---- Tab control ----

class TabTest : public ControlsTest {
  protected:
    void SetUp() override {
        ControlsTest::SetUp();
        for (const char16_t* label : {u"Info", u"Jahrgänge", u"Notiz / Lesezeichen"}) {
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = const_cast<LPWSTR>(label);
            send(kTabs, TCM_INSERTITEMW, static_cast<WPARAM>(send(kTabs, TCM_GETITEMCOUNT)),
                 reinterpret_cast<LPARAM>(&item));
        }
    }
};

TEST_F(TabTest, TabsInsertInOrderWithTheFirstSelected) {
    EXPECT_EQ(driver.tabs(dialog, kTabs),
              (std::vector<std::u16string>{u"Info", u"Jahrgänge", u"Notiz / Lesezeichen"}));
    EXPECT_EQ(send(kTabs, TCM_GETCURSEL), 0);
}

TEST_F(TabTest, UserChoiceNotifiesWithTheNewSelectionSet) {
    LRESULT selectionSeen = -1;
    setHandler([&](HWND d, UINT msg, WPARAM, LPARAM lParam) -> INT_PTR {
        if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == TCN_SELCHANGE)
            selectionSeen = SendDlgItemMessageW(d, kTabs, TCM_GETCURSEL, 0, 0);
        return 0;
    });
    MessageRecorder recorder(dialog);
    driver.selectTab(dialog, kTabs, 2);
    EXPECT_TRUE(recorder.matches({notifyCode(kTabs, TCN_SELCHANGE)}));
    EXPECT_EQ(selectionSeen, 2);
}

TEST_F(TabTest, SelectionByTheProgramNotifiesNothing) {
    MessageRecorder recorder(dialog);
    EXPECT_EQ(send(kTabs, TCM_SETCURSEL, 1), 0);
    EXPECT_EQ(send(kTabs, TCM_GETCURSEL), 1);
    EXPECT_TRUE(recorder.entries().empty());
}

TEST_F(TabTest, TabsOfABottomTabControlPointDownAndTheVersionIsAccepted) {
    auto* bar = qobject_cast<QTabBar*>(driver.widget(dialog, kTabs));
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->shape(), QTabBar::RoundedSouth);
    EXPECT_EQ(send(kTabs, CCM_SETVERSION, 0x20C), 0);
    EXPECT_EQ(send(kTabs, CCM_SETVERSION, 0x20C), 0x20C);
}
