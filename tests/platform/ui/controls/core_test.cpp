// What every control shares: the stylus on the dialog around them and fonts.
#include <QWidget>
#include <gtest/gtest.h>

#include "platform/testing/driver.h"
#include "platform/testing/message_recorder.h"
#include "tests/platform/ui/controls/controls_fixture.h"
#include "tests/platform/ui/test_module.h"

using namespace platform::testing;
using namespace uitest;

TEST_F(ControlsTest, StylusOnTheDialogArrivesInClientCoordinates) {
    MessageRecorder recorder(dialog);
    driver.stylusDown(dialog, 230, 5);
    driver.stylusMove(dialog, 231, 7);
    driver.stylusUp(dialog, 231, 7);
    EXPECT_TRUE(recorder.matches(
        {stylus(WM_LBUTTONDOWN, 230, 5), stylus(WM_MOUSEMOVE, 231, 7), stylus(WM_LBUTTONUP, 231, 7)}));
}

// ---- Fonts ----

TEST_F(ControlsTest, SetFontChangesTheControlsFontAndIsReported) {
    LOGFONTW description{};
    description.lfHeight = 20;
    description.lfWeight = FW_BOLD;
    std::u16string face = u"Tahoma";
    face.copy(description.lfFaceName, face.size());
    HFONT font = CreateFontIndirectW(&description);
    send(kLeftText, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    EXPECT_EQ(reinterpret_cast<HFONT>(send(kLeftText, WM_GETFONT)), font);
    EXPECT_TRUE(driver.widget(dialog, kLeftText)->font().bold());
    EXPECT_GT(driver.widget(dialog, kLeftText)->font().pixelSize(), 11);
    DeleteObject(font);
}
