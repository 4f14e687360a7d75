// Dialogs from templates: resources, dialog units, modal loops, nesting, ending early.
#include <QFontInfo>
#include <QTest>
#include <QWidget>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "platform/testing/driver.h"
#include "platform/ui/hooks.h"
#include "tests/platform/ui/test_module.h"

using platform::testing::Driver;
using namespace uitest;

namespace {

class DialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setHandler({});
        seen().clear();
    }
    void TearDown() override { setHandler({}); }
    Driver driver;
};

LPCDLGTEMPLATEW load(int id) {
    HRSRC resource = FindResourceW(module(), MAKEINTRESOURCEW(id), RT_DIALOG);
    return resource ? static_cast<LPCDLGTEMPLATEW>(LoadResource(module(), resource)) : nullptr;
}

int countSeen(int templateId, UINT msg) {
    int n = 0;
    for (const Seen& s : seen())
        if (s.templateId == templateId && s.msg == msg) ++n;
    return n;
}

} // namespace

TEST_F(DialogTest, FindResourceFindsDialogTemplatesByNumber) {
    LPCDLGTEMPLATEW found = load(kSimple);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->id, kSimple);
    EXPECT_EQ(found, dialogTemplate(kSimple));
    EXPECT_EQ(FindResourceW(module(), MAKEINTRESOURCEW(4711), RT_DIALOG), nullptr);
    EXPECT_EQ(FindResourceW(module(), MAKEINTRESOURCEW(kSimple), RT_BITMAP), nullptr);
}

TEST_F(DialogTest, BitmapStaticTakesTheSizeOfItsBitmap) {
    HWND dialog = driver.open(module(), kThermometer, TestProc);
    const QRect r = driver.rect(dialog, kThermometerBitmap);
    EXPECT_EQ(r.size(), QSize(58, 225));
    // 6 x 6 dialog units of Tahoma 8: 6 * 6 / 4 = 9 and 6 * 13 / 8 = 9.75.
    EXPECT_EQ(r.topLeft(), QPoint(9, 10));
}

TEST_F(DialogTest, DialogUnitsFollowTheTemplateFont) {
    HWND dialog = driver.open(module(), kThermometer, TestProc);
    // Tahoma 8 point at 96 dpi: base units 6 x 13 pixels.
    const QRect heading = driver.rect(dialog, kHeading);
    EXPECT_EQ(heading, QRect(72, 0, 162, 41)); // 48, 0, 108, 25 units
    RECT client{};
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, 236); // 157 units
    EXPECT_EQ(client.bottom, 255);
}

TEST_F(DialogTest, LargerTemplateFontMakesLargerUnits) {
    HWND dialog = driver.open(module(), kLargeFont, TestProc);
    RECT client{};
    GetClientRect(dialog, &client);
    // Tahoma 16 point: base units 12 x 25 pixels.
    EXPECT_EQ(client.right, 231);
    EXPECT_EQ(client.bottom, 284);
}

TEST_F(DialogTest, FullScreenSizingFitsATallTemplateIntoTheDialogArea) {
    setHandler([](HWND dialog, UINT msg, WPARAM, LPARAM) -> INT_PTR {
        if (msg == WM_INITDIALOG) {
            SHINITDLGINFO info{SHIDIM_FLAGS, dialog, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN};
            SHInitDialog(&info);
        }
        return 0;
    });
    HWND dialog = driver.open(module(), kLargeFont, TestProc);
    RECT client{};
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, 240);
    EXPECT_EQ(client.bottom, 268);
    const QRect lowest = driver.rect(dialog, kLowestLink);
    EXPECT_LE(lowest.bottom(), 267);
    EXPECT_GT(lowest.height(), 20);
    EXPECT_TRUE(driver.tap(dialog, kLowestLink));
}

TEST_F(DialogTest, ModalDialogReturnsTheResultOfEndDialog) {
    driver.onDialog(kSimple, [](HWND dialog) { EndDialog(dialog, 42); });
    EXPECT_EQ(driver.runModal(module(), kSimple, TestProc), 42);
    EXPECT_EQ(countSeen(kSimple, WM_INITDIALOG), 1);
    EXPECT_EQ(countSeen(kSimple, WM_DESTROY), 1);
    EXPECT_EQ(platform::activeDialog(), nullptr);
}

TEST_F(DialogTest, StepsFindTheirDialogByCaption) {
    bool ran = false;
    driver.onDialog(u"Einfach", [&](HWND dialog) {
        ran = true;
        EndDialog(dialog, 5);
    });
    EXPECT_EQ(driver.runModal(module(), kSimple, TestProc), 5);
    EXPECT_TRUE(ran);
}

TEST_F(DialogTest, ButtonOfAModalDialogEndsItThroughItsProcedure) {
    setHandler([](HWND dialog, UINT msg, WPARAM wParam, LPARAM) -> INT_PTR {
        if (msg == WM_COMMAND && LOWORD(wParam) == IDOK) EndDialog(dialog, 7);
        return 0;
    });
    driver.onDialog(kSimple, [&](HWND dialog) { driver.tap(dialog, IDOK); });
    EXPECT_EQ(driver.runModal(module(), kSimple, TestProc), 7);
}

TEST_F(DialogTest, EndDialogDuringInitDialogReturnsWithoutShowing) {
    bool shown = false;
    platform::setDialogActivatedHook([&](HWND) { shown = true; });
    setHandler([](HWND dialog, UINT msg, WPARAM, LPARAM) -> INT_PTR {
        if (msg == WM_INITDIALOG) EndDialog(dialog, 3);
        return 0;
    });
    const QImage before = driver.grabDevice();
    EXPECT_EQ(driver.runModal(module(), kSimple, TestProc), 3);
    driver.pump();
    EXPECT_FALSE(shown);
    EXPECT_EQ(countSeen(kSimple, WM_DESTROY), 1);
    EXPECT_EQ(driver.grabDevice(), before); // nothing of it is left on the screen
}

TEST_F(DialogTest, NestedModalDialogsReturnToTheirOpener) {
    std::vector<std::string> order;
    setHandler([&](HWND dialog, UINT msg, WPARAM wParam, LPARAM) -> INT_PTR {
        if (msg != WM_COMMAND) return 0;
        if (platform::dialogTemplateId(dialog) == kSimple && LOWORD(wParam) == IDOK) {
            order.push_back("open second");
            HRSRC resource = FindResourceW(module(), MAKEINTRESOURCEW(kSecond), RT_DIALOG);
            const INT_PTR result = DialogBoxIndirectParamW(
                module(), static_cast<LPCDLGTEMPLATEW>(LoadResource(module(), resource)), dialog, TestProc,
                0);
            order.push_back("second returned " + std::to_string(result));
        }
        if (platform::dialogTemplateId(dialog) == kSecond && LOWORD(wParam) == kNext) EndDialog(dialog, 2);
        return 0;
    });
    HWND first = nullptr;
    driver.onDialog(kSimple, [&](HWND dialog) {
        first = dialog;
        driver.tap(dialog, IDOK);
    });
    driver.onDialog(kSecond, [&](HWND dialog) {
        EXPECT_EQ(GetParent(dialog), first);
        EXPECT_EQ(driver.deviceCaption(), u"Zweiter");
        // Only the topmost dialog takes input: a tap on the opener's button does nothing.
        const std::size_t before = seen().size();
        QWidget* openerButton = driver.widget(first, IDOK);
        QTest::mouseClick(openerButton, Qt::LeftButton);
        int openerCommands = 0;
        for (std::size_t i = before; i < seen().size(); ++i)
            if (seen()[i].templateId == kSimple && seen()[i].msg == WM_COMMAND) ++openerCommands;
        EXPECT_EQ(openerCommands, 0);
        driver.tap(dialog, kNext);
    });
    driver.onDialog(kSimple, [&](HWND dialog) {
        order.push_back("back on first");
        EXPECT_EQ(driver.deviceCaption(), u"Einfach");
        EndDialog(dialog, 1);
    });
    EXPECT_EQ(driver.runModal(module(), kSimple, TestProc), 1);
    EXPECT_EQ(order, (std::vector<std::string>{"open second", "second returned 2", "back on first"}));
}

TEST_F(DialogTest, ModalDialogWithoutAStepIsEndedByTheDriverWithAFailure) {
    Driver patient;
    patient.stepTimeoutMs = 50;
    // The failure the driver reports is expected here.
    ::testing::TestPartResultArray failures;
    {
        ::testing::ScopedFakeTestPartResultReporter reporter(
            ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &failures);
        EXPECT_EQ(patient.runModal(module(), kSimple, TestProc), 0);
    }
    ASSERT_EQ(failures.size(), 1);
    EXPECT_NE(std::string(failures.GetTestPartResult(0).message()).find("stayed open"), std::string::npos);
}

TEST_F(DialogTest, MissingTemplateMakesNoDialog) {
    EXPECT_EQ(DialogBoxIndirectParamW(module(), nullptr, nullptr, TestProc, 0), -1);
    EXPECT_TRUE(seen().empty());
}

TEST_F(DialogTest, TemplateFontsAreTheDevicesTahoma) {
    HWND dialog = driver.open(module(), kSimple, TestProc); // "MS Sans Serif" stands for Tahoma too
    EXPECT_EQ(QFontInfo(driver.widget(dialog, 100)->font()).family(), QStringLiteral("Tahoma"));
    EXPECT_EQ(driver.widget(dialog, 100)->font().pixelSize(), 11);
}

TEST_F(DialogTest, OpenDialogsListsHiddenOnesTooUntilDestroyed) {
    HWND first = driver.open(module(), kSimple, TestProc);
    HWND second = driver.open(module(), kSecond, TestProc);
    ShowWindow(first, SW_HIDE);
    EXPECT_EQ(platform::openDialogs(), (std::vector<HWND>{first, second}));
    EXPECT_EQ(platform::activeDialog(), second);
    driver.close(second);
    EXPECT_EQ(platform::activeDialog(), nullptr); // the hidden one is not active
    EXPECT_EQ(platform::openDialogs(), (std::vector<HWND>{first}));
}

TEST_F(DialogTest, InitDialogNamesTheFirstTabStopControl) {
    WPARAM focus = 1;
    setHandler([&](HWND, UINT msg, WPARAM wParam, LPARAM) -> INT_PTR {
        if (msg == WM_INITDIALOG) focus = wParam;
        return 0;
    });
    HWND dialog = driver.open(module(), kSecond, TestProc);
    EXPECT_EQ(reinterpret_cast<HWND>(focus), GetDlgItem(dialog, kNext)); // the group box is no tab stop
}

TEST_F(DialogTest, GroupBoxIsAFrameWithItsTitleThatTapsPassThrough) {
    HWND dialog = driver.open(module(), kSecond, TestProc);
    EXPECT_EQ(driver.text(dialog, kGroup), u"Gruppe");
    const QRect frame = driver.rect(dialog, kGroup);
    seen().clear();
    driver.tapAt(dialog, frame.center().x(), frame.center().y());
    std::vector<UINT> messages;
    for (const Seen& s : seen())
        messages.push_back(s.msg);
    EXPECT_EQ(messages, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}));
}
