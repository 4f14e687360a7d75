// Buttons: taps, check states, owner drawing and names, as the dialog hears them.
#include <QWidget>
#include <gtest/gtest.h>

#include "platform/testing/driver.h"
#include "platform/testing/message_recorder.h"
#include "tests/platform/ui/controls/controls_fixture.h"
#include "tests/platform/ui/test_module.h"

using namespace platform::testing;
using namespace uitest;

TEST_F(ControlsTest, PushButtonTapSendsClicked) {
    MessageRecorder recorder(dialog);
    driver.tap(dialog, kPush);
    recorder.mark();
    EXPECT_TRUE(recorder.matches({command(kPush, BN_CLICKED), marker()}));
}

TEST_F(ControlsTest, CommandCarriesTheControlHandle) {
    HWND from = nullptr;
    setHandler([&](HWND, UINT msg, WPARAM, LPARAM lParam) -> INT_PTR {
        if (msg == WM_COMMAND) from = reinterpret_cast<HWND>(lParam);
        return 0;
    });
    driver.tap(dialog, kPush);
    EXPECT_EQ(from, GetDlgItem(dialog, kPush));
}

TEST_F(ControlsTest, AutoCheckBoxTogglesItselfBeforeNotifying) {
    std::vector<UINT> statesSeen;
    setHandler([&](HWND d, UINT msg, WPARAM wParam, LPARAM) -> INT_PTR {
        if (msg == WM_COMMAND && LOWORD(wParam) == kCheck)
            statesSeen.push_back(IsDlgButtonChecked(d, kCheck));
        return 0;
    });
    MessageRecorder recorder(dialog);
    EXPECT_FALSE(driver.checked(dialog, kCheck));
    driver.tap(dialog, kCheck);
    recorder.mark();
    const QRect box = driver.rect(dialog, kCheck); // far right of the short label: still the box's
    driver.tapAt(dialog, box.right() - 1, box.center().y());
    EXPECT_TRUE(recorder.matches({command(kCheck, BN_CLICKED), marker(), command(kCheck, BN_CLICKED)}));
    EXPECT_EQ(statesSeen, (std::vector<UINT>{BST_CHECKED, BST_UNCHECKED}));
}

TEST_F(ControlsTest, CheckStateSetByTheProgramNotifiesNothing) {
    MessageRecorder recorder(dialog);
    CheckDlgButton(dialog, kCheck, BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, kCheck), BST_CHECKED);
    EXPECT_EQ(send(kCheck, BM_GETCHECK), static_cast<LRESULT>(BST_CHECKED));
    send(kCheck, BM_SETCHECK, BST_UNCHECKED);
    EXPECT_FALSE(driver.checked(dialog, kCheck));
    EXPECT_TRUE(recorder.entries().empty());
}

TEST_F(ControlsTest, AccessibleNamesFollowTheText) {
    EXPECT_EQ(driver.widget(dialog, kPush)->accessibleName(), QStringLiteral("Drücken"));
    SetDlgItemTextW(dialog, kCheck, u"Neu");
    EXPECT_EQ(driver.widget(dialog, kCheck)->accessibleName(), QStringLiteral("Neu"));
}

TEST_F(ControlsTest, OwnerDrawnButtonTapSendsClicked) {
    MessageRecorder recorder(dialog);
    driver.tap(dialog, kOwnerDraw);
    EXPECT_TRUE(recorder.matches({command(kOwnerDraw, BN_CLICKED)}));
}

TEST_F(ControlsTest, OwnerDrawnButtonAsksItsDialogToDrawIt) {
    std::vector<DRAWITEMSTRUCT> requests;
    setHandler([&](HWND, UINT msg, WPARAM, LPARAM lParam) -> INT_PTR {
        if (msg == WM_DRAWITEM) requests.push_back(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        return 0;
    });
    InvalidateRect(GetDlgItem(dialog, kOwnerDraw), nullptr, TRUE);
    UpdateWindow(GetDlgItem(dialog, kOwnerDraw));
    ASSERT_FALSE(requests.empty());
    const DRAWITEMSTRUCT& item = requests.back();
    EXPECT_EQ(item.CtlType, ODT_BUTTON);
    EXPECT_EQ(item.CtlID, static_cast<UINT>(kOwnerDraw));
    EXPECT_EQ(item.hwndItem, GetDlgItem(dialog, kOwnerDraw));
    EXPECT_NE(item.hDC, nullptr);
    const QRect r = driver.rect(dialog, kOwnerDraw);
    EXPECT_EQ(item.rcItem.right, r.width());
    EXPECT_EQ(item.rcItem.bottom, r.height());
}

TEST(OwnerDrawnNamesTest, OwnerDrawnButtonWithoutTextIsNamedByTheLabelOnIt) {
    Driver driver;
    HWND dialog = driver.open(module(), kLargeFont, TestProc);
    EXPECT_EQ(driver.widget(dialog, 1006)->accessibleName(), QStringLiteral("Weine von A - Z"));
    EXPECT_EQ(driver.widget(dialog, kOwnerDraw), nullptr);
}
