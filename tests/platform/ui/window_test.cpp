// Windows and messages: handles, texts, visibility, focus, geometry, finding windows.
#include <QApplication>
#include <QWidget>
#include <gtest/gtest.h>

#include "platform/testing/driver.h"
#include "platform/ui/hooks.h"
#include "tests/platform/ui/test_module.h"

using platform::testing::Driver;
using namespace uitest;

namespace {

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setHandler({});
        seen().clear();
    }
    void TearDown() override { setHandler({}); }
    Driver driver;
};

std::u16string windowText(HWND hwnd) {
    char16_t buffer[256] = {};
    GetWindowTextW(hwnd, buffer, 256);
    return buffer;
}

} // namespace

TEST_F(WindowTest, ControlsAreFoundByIdAndKnowTheirIdAndDialog) {
    HWND dialog = driver.open(module(), kAllControls, TestProc);
    ASSERT_TRUE(dialog);
    HWND push = GetDlgItem(dialog, kPush);
    ASSERT_TRUE(push);
    EXPECT_EQ(GetDlgCtrlID(push), kPush);
    EXPECT_EQ(GetParent(push), dialog);
    EXPECT_EQ(GetDlgItem(dialog, 4242), nullptr);
    EXPECT_NE(GetDlgItem(dialog, kEdit), push);
}

TEST_F(WindowTest, HandlesOfDestroyedWindowsAreNoLongerWindows) {
    HWND dialog = driver.open(module(), kSimple, TestProc);
    HWND button = GetDlgItem(dialog, IDOK);
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_TRUE(IsWindow(button));
    driver.close(dialog);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_FALSE(IsWindow(button));
    EXPECT_EQ(SendMessageW(button, WM_GETTEXTLENGTH, 0, 0), 0);
    EXPECT_FALSE(IsWindow(nullptr));
}

TEST_F(WindowTest, DialogGetsInitDialogWithItsParameterThenDestroyWhenClosed) {
    HWND dialog = driver.open(module(), kSimple, TestProc, nullptr, 1234);
    driver.close(dialog);
    ASSERT_GE(seen().size(), 2u);
    std::vector<UINT> order;
    for (const Seen& s : seen())
        if (s.msg == WM_INITDIALOG || s.msg == WM_DESTROY) order.push_back(s.msg);
    EXPECT_EQ(order, (std::vector<UINT>{WM_INITDIALOG, WM_DESTROY}));
    for (const Seen& s : seen()) {
        if (s.msg == WM_INITDIALOG) {
            EXPECT_EQ(s.lParam, 1234);
        }
    }
}

TEST_F(WindowTest, WindowTextOfStaticsButtonsAndDialogs) {
    HWND dialog = driver.open(module(), kAllControls, TestProc);
    EXPECT_EQ(windowText(GetDlgItem(dialog, kLeftText)), u"Links");
    EXPECT_EQ(GetWindowTextLengthW(GetDlgItem(dialog, kPush)), 7);
    EXPECT_TRUE(SetDlgItemTextW(dialog, kLeftText, u"Größe"));
    EXPECT_EQ(windowText(GetDlgItem(dialog, kLeftText)), u"Größe");
    EXPECT_EQ(driver.text(dialog), u"Alle Steuerelemente");
    SetWindowTextW(dialog, u"Neuer Titel");
    EXPECT_EQ(driver.text(dialog), u"Neuer Titel");
    char16_t buffer[64];
    EXPECT_EQ(GetDlgItemTextW(dialog, kPush, buffer, 64), 7u);
    EXPECT_EQ(std::u16string(buffer), u"Drücken");
}

TEST_F(WindowTest, GetWindowTextCutsToTheBufferAndTerminates) {
    HWND dialog = driver.open(module(), kAllControls, TestProc);
    char16_t buffer[4] = {u'x', u'x', u'x', u'x'};
    EXPECT_EQ(GetWindowTextW(GetDlgItem(dialog, kRightText), buffer, 4), 3);
    EXPECT_EQ(std::u16string(buffer), u"Rec");
}

TEST_F(WindowTest, ShowWindowHidesAndShowsAndReportsThePreviousState) {
    HWND dialog = driver.open(module(), kAllControls, TestProc);
    HWND check = GetDlgItem(dialog, kCheck);
    EXPECT_TRUE(IsWindowVisible(check));
    EXPECT_TRUE(driver.visible(dialog, kCheck));
    EXPECT_TRUE(ShowWindow(check, SW_HIDE));
    EXPECT_FALSE(IsWindowVisible(check));
    EXPECT_FALSE(driver.visible(dialog, kCheck));
    EXPECT_FALSE(ShowWindow(check, SW_SHOW));
    EXPECT_TRUE(driver.visible(dialog, kCheck));
}

TEST_F(WindowTest, AControlOfAHiddenDialogIsNotVisible) {
    HWND dialog = driver.open(module(), kAllControls, TestProc);
    ShowWindow(dialog, SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, kPush)));
    ShowWindow(dialog, SW_SHOW);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, kPush)));
}

TEST_F(WindowTest, EnableWindowDisablesInputAndReportsThePreviousState) {
    HWND dialog = driver.open(module(), kAllControls, TestProc);
    HWND push = GetDlgItem(dialog, kPush);
    EXPECT_FALSE(EnableWindow(push, FALSE));
    EXPECT_FALSE(driver.enabled(dialog, kPush));
    EXPECT_TRUE(EnableWindow(push, TRUE));
    EXPECT_TRUE(driver.enabled(dialog, kPush));
}

TEST_F(WindowTest, FocusMovesToTheControlAndBack) {
    HWND dialog = driver.open(module(), kAllControls, TestProc);
    HWND edit = GetDlgItem(dialog, kEdit);
    SetFocus(edit);
    EXPECT_EQ(GetFocus(), edit);
    HWND previous = SetFocus(GetDlgItem(dialog, kPush));
    EXPECT_EQ(previous, edit);
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, kPush));
}

TEST_F(WindowTest, GeometryInClientAndDeviceCoordinates) {
    HWND dialog = driver.open(module(), kAllControls, TestProc);
    HWND push = GetDlgItem(dialog, kPush);
    RECT client{};
    ASSERT_TRUE(GetClientRect(push, &client));
    EXPECT_EQ(client.left, 0);
    EXPECT_GT(client.right, 0);
    RECT screen{};
    ASSERT_TRUE(GetWindowRect(push, &screen));
    POINT origin{0, 0};
    MapWindowPoints(push, dialog, &origin, 1);
    EXPECT_EQ(origin.x, driver.rect(dialog, kPush).left());
    EXPECT_EQ(origin.y, driver.rect(dialog, kPush).top());
    POINT device{0, 0};
    MapWindowPoints(push, nullptr, &device, 1);
    EXPECT_EQ(device.x, screen.left);
    EXPECT_EQ(device.y, screen.top);
    // The dialog area starts below the 26 pixel title bar.
    RECT dialogRect{};
    GetWindowRect(dialog, &dialogRect);
    EXPECT_EQ(dialogRect.top, 26);
}

TEST_F(WindowTest, MoveWindowPlacesAndSizesAControl) {
    HWND dialog = driver.open(module(), kAllControls, TestProc);
    HWND push = GetDlgItem(dialog, kPush);
    ASSERT_TRUE(MoveWindow(push, 10, 20, 60, 30, TRUE));
    EXPECT_EQ(driver.rect(dialog, kPush), QRect(10, 20, 60, 30));
}

TEST_F(WindowTest, MoveWindowOfADialogSendsItsNewSize) {
    HWND dialog = driver.open(module(), kSimple, TestProc);
    seen().clear();
    MoveWindow(dialog, 0, 0, 200, 150, TRUE);
    bool sized = false;
    for (const Seen& s : seen())
        if (s.msg == WM_SIZE) sized = LOWORD(s.lParam) == 200 && HIWORD(s.lParam) == 150;
    EXPECT_TRUE(sized);
}

TEST_F(WindowTest, InputPanelAndItsButtonAreFoundByClass) {
    HWND panel = FindWindowW(u"SipWndClass", nullptr);
    HWND button = FindWindowW(u"MS_SIPBUTTON", nullptr);
    ASSERT_TRUE(panel);
    ASSERT_TRUE(button);
    EXPECT_NE(panel, button);
    EXPECT_EQ(FindWindowW(u"NoSuchClass", nullptr), nullptr);
}

TEST_F(WindowTest, SendDlgItemMessageReachesTheControl) {
    HWND dialog = driver.open(module(), kAllControls, TestProc);
    SendDlgItemMessageW(dialog, kList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"Eins"));
    EXPECT_EQ(SendDlgItemMessageW(dialog, kList, LB_GETCOUNT, 0, 0), 1);
}

TEST_F(WindowTest, OutputDebugStringWritesToStandardError) {
    ::testing::internal::CaptureStderr();
    OutputDebugStringW(u"Spur: Größe\n");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Spur: Größe\n");
}
