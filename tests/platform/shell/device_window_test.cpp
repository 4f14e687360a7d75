// The device window: title bar, done button, full-screen dialogs, the input panel and its
// button, typing on the panel and on a keyboard.
#include <QApplication>
#include <QWidget>
#include <gtest/gtest.h>

#include "platform/shell/device_window.h"
#include "platform/testing/driver.h"
#include "platform/testing/message_recorder.h"
#include "platform/ui/hooks.h"
#include "tests/platform/ui/test_module.h"

using namespace platform::testing;
using namespace uitest;

namespace {

class ShellTest : public ::testing::Test {
  protected:
    void SetUp() override {
        seen().clear();
        ShowWindow(FindWindowW(u"SipWndClass", nullptr), SW_HIDE);
        ShowWindow(FindWindowW(u"MS_SIPBUTTON", nullptr), SW_SHOW);
        setHandler([this](HWND dialog, UINT msg, WPARAM wParam, LPARAM) -> INT_PTR {
            if (msg == WM_INITDIALOG) {
                SHINITDLGINFO info{SHIDIM_FLAGS, dialog, flags};
                SHInitDialog(&info);
            }
            if (msg == WM_COMMAND && LOWORD(wParam) == IDOK) EndDialog(dialog, 1);
            return 0;
        });
    }
    void TearDown() override { setHandler({}); }
    DWORD flags = SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN;
    Driver driver;
};

} // namespace

TEST_F(ShellTest, TitleBarShowsTheActiveDialogsCaptionAndDoneButton) {
    HWND dialog = driver.open(module(), kThermometer, TestProc);
    EXPECT_EQ(driver.deviceCaption(), u"Thermometer");
    EXPECT_TRUE(driver.doneButtonShown());
    SetWindowTextW(dialog, u"Anders");
    EXPECT_EQ(driver.deviceCaption(), u"Anders");
}

TEST_F(ShellTest, DialogsWithoutTheDoneFlagShowNoDoneButton) {
    flags = SHIDIF_SIZEDLGFULLSCREEN;
    driver.open(module(), kThermometer, TestProc);
    EXPECT_FALSE(driver.doneButtonShown());
}

TEST_F(ShellTest, DoneButtonSendsCommandOneToTheActiveDialog) {
    HWND dialog = driver.open(module(), kThermometer, TestProc);
    MessageRecorder recorder(dialog);
    driver.tapDone();
    EXPECT_TRUE(recorder.matches({message(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0)}));
}

TEST_F(ShellTest, DoneButtonEndsAModalScreen) {
    driver.onDialog(kThermometer, [&](HWND) { driver.tapDone(); });
    EXPECT_EQ(driver.runModal(module(), kThermometer, TestProc), 1);
    EXPECT_FALSE(driver.doneButtonShown());
}

TEST_F(ShellTest, FullScreenDialogFillsTheAreaBetweenTheBars) {
    HWND dialog = driver.open(module(), kSimple, TestProc);
    RECT r{};
    GetWindowRect(dialog, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 26);
    EXPECT_EQ(r.right, 240);
    EXPECT_EQ(r.bottom, 294);
}

TEST_F(ShellTest, InputPanelButtonTogglesThePanel) {
    HWND panel = FindWindowW(u"SipWndClass", nullptr);
    EXPECT_FALSE(IsWindowVisible(panel));
    driver.toggleInputPanel();
    EXPECT_TRUE(IsWindowVisible(panel));
    EXPECT_TRUE(driver.inputPanelShown());
    driver.toggleInputPanel();
    EXPECT_FALSE(IsWindowVisible(panel));
    EXPECT_FALSE(driver.inputPanelShown());
}

TEST_F(ShellTest, PanelAndButtonAreShownAndHiddenByShowWindow) {
    HWND panel = FindWindowW(u"SipWndClass", nullptr);
    HWND button = FindWindowW(u"MS_SIPBUTTON", nullptr);
    ShowWindow(panel, SW_SHOW);
    EXPECT_TRUE(driver.inputPanelShown());
    ShowWindow(panel, SW_HIDE);
    ShowWindow(button, SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(button));
    EXPECT_FALSE(driver.widget(button)->isVisible());
    // The shell state call keeps the button shown.
    SHFullScreen(nullptr, SHFS_SHOWSIPBUTTON);
    EXPECT_TRUE(IsWindowVisible(button));
    EXPECT_TRUE(driver.widget(button)->isVisible());
}

TEST_F(ShellTest, LoweringFlagHidesThePanel) {
    ShowWindow(FindWindowW(u"SipWndClass", nullptr), SW_SHOW);
    flags = SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN;
    driver.open(module(), kSimple, TestProc);
    EXPECT_FALSE(driver.inputPanelShown());
}

TEST_F(ShellTest, RaisingThePanelIsASettingChangeForTheActiveDialog) {
    HWND dialog = driver.open(module(), kSimple, TestProc);
    seen().clear();
    ShowWindow(FindWindowW(u"SipWndClass", nullptr), SW_SHOW);
    int changes = 0;
    for (const Seen& s : seen())
        if (s.msg == WM_SETTINGCHANGE) ++changes;
    EXPECT_EQ(changes, 1);
    (void)dialog;
}

TEST_F(ShellTest, InputPanelTypesIntoTheFocusedEdit) {
    HWND dialog = driver.open(module(), kAllControls, TestProc);
    driver.tap(dialog, kEdit);
    driver.toggleInputPanel();
    EXPECT_TRUE(driver.typeOnInputPanel(u"Süße Weiß"));
    EXPECT_EQ(driver.text(dialog, kEdit), u"Süße Weiß");
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, kEdit)); // the keys never take the focus
}

TEST_F(ShellTest, InputPanelBackspaceRemovesTheLastCharacter) {
    HWND dialog = driver.open(module(), kAllControls, TestProc);
    driver.type(dialog, kEdit, u"Rotx");
    driver.toggleInputPanel();
    driver.typeOnInputPanel(u"\b");
    EXPECT_EQ(driver.text(dialog, kEdit), u"Rot");
}

TEST_F(ShellTest, KeyboardTypesIntoTheFocusedEdit) {
    HWND dialog = driver.open(module(), kAllControls, TestProc);
    SetFocus(GetDlgItem(dialog, kEdit));
    driver.typeKeys(u"Äpfel 🍷");
    EXPECT_EQ(driver.text(dialog, kEdit), u"Äpfel 🍷");
}

TEST_F(ShellTest, DoneButtonAndPanelHaveAccessibleNames) {
    driver.open(module(), kSimple, TestProc);
    QWidget* device = platform::deviceWindow();
    ASSERT_TRUE(device);
    EXPECT_EQ(device->findChild<QWidget*>(QStringLiteral("DoneButton"))->accessibleName(),
              QStringLiteral("ok"));
    EXPECT_FALSE(device->findChild<QWidget*>(QStringLiteral("InputPanelButton"))->accessibleName().isEmpty());
}

// The input-panel button's keyboard is drawn, not a character: dark lines in the button's middle.
TEST_F(ShellTest, InputPanelButtonShowsAKeyboard) {
    driver.open(module(), kSimple, TestProc);
    QWidget* button = platform::deviceWindow()->findChild<QWidget*>(QStringLiteral("InputPanelButton"));
    ASSERT_TRUE(button);
    const QImage image = button->grab().toImage();
    const QRect middle(button->width() / 2 - 8, button->height() / 2 - 5, 17, 11);
    int dark = 0, darkOutside = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) >= 80) continue;
            (middle.contains(x, y) ? dark : darkOutside) += 1;
        }
    // The board's edge (52 pixels), twelve keys and the space bar.
    EXPECT_GE(dark, 60);
    EXPECT_LT(darkOutside, dark) << "only the button's own edge lies outside the keyboard";
}
