// Statics: taps that notify or go through, text, line breaks, alignment and pictures.
#include <QLabel>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

#include "platform/testing/driver.h"
#include "platform/testing/message_recorder.h"
#include "tests/platform/ui/controls/controls_fixture.h"
#include "tests/platform/ui/test_module.h"

using namespace platform::testing;
using namespace uitest;

TEST_F(ControlsTest, NotifyingStaticTellsThePointThenClicked) {
    MessageRecorder recorder(dialog);
    const QRect r = driver.rect(dialog, kNotifyText);
    driver.tap(dialog, kNotifyText);
    const QPoint centre = r.center();
    EXPECT_TRUE(
        recorder.matches({stylus(WM_MOUSEMOVE, centre.x(), centre.y()), command(kNotifyText, STN_CLICKED)}));
}

TEST_F(ControlsTest, BitmapStaticTapTellsThePointInDialogCoordinates) {
    MessageRecorder recorder(dialog);
    const QRect r = driver.rect(dialog, kSmallBitmap);
    driver.tapAt(dialog, r.left() + 3, r.top() + 5);
    EXPECT_TRUE(recorder.matches(
        {stylus(WM_MOUSEMOVE, r.left() + 3, r.top() + 5), command(kSmallBitmap, STN_CLICKED)}));
}

TEST_F(ControlsTest, StaticWithoutNotifyLetsTheTapThroughToTheDialog) {
    MessageRecorder recorder(dialog);
    const QRect r = driver.rect(dialog, kLeftText);
    driver.tapAt(dialog, r.left() + 2, r.top() + 2);
    EXPECT_TRUE(recorder.matches({stylus(WM_LBUTTONDOWN, r.left() + 2, r.top() + 2),
                                  stylus(WM_LBUTTONUP, r.left() + 2, r.top() + 2)}));
}

TEST_F(ControlsTest, StaticTextLineBreaksOfEveryKindShowAsOneBreak) {
    SetDlgItemTextW(dialog, kLeftText, u"a\nb\r\nc\n\rd");
    auto* label = qobject_cast<QLabel*>(driver.widget(dialog, kLeftText));
    ASSERT_TRUE(label);
    EXPECT_EQ(label->text(), QStringLiteral("a\nb\nc\nd"));
    EXPECT_EQ(driver.text(dialog, kLeftText), u"a\nb\r\nc\n\rd"); // the text itself is kept
    EXPECT_EQ(label->accessibleName(), QStringLiteral("a\nb\nc\nd"));
}

// Read from the pixels, not the alignment flags: a centred style that also picked up another
// alignment still claims AlignHCenter but draws its text elsewhere.
TEST_F(ControlsTest, StaticTextIsDrawnWhereItsStyleAligns) {
    struct Case {
        int id;
        const char* style;
        int leftMargin;  // -1: not checked
        int rightMargin; // -1: not checked
    };
    const int kFrame = 2; // the centred static's border, left out of the ink
    for (const Case& c : {Case{kLeftText, "left", 0, -1}, Case{kCentreText, "centre", -1, -1},
                          Case{kRightText, "right", -1, 0}}) {
        SetDlgItemTextW(dialog, c.id, u"ab");
        const QImage image = driver.grab(GetDlgItem(dialog, c.id));
        ASSERT_FALSE(image.isNull()) << c.style;
        int first = image.width(), last = -1;
        for (int y = kFrame; y < image.height() - kFrame; ++y)
            for (int x = kFrame; x < image.width() - kFrame; ++x)
                if (qGray(image.pixel(x, y)) < 128) {
                    first = std::min(first, x);
                    last = std::max(last, x);
                }
        ASSERT_GE(last, first) << c.style << ": no text drawn";
        const int left = first - kFrame, right = image.width() - kFrame - 1 - last;
        if (c.id == kCentreText) {
            EXPECT_LE(std::abs(left - right), 2) << "centred text: " << left << " px left, " << right << " px right";
        } else if (c.leftMargin >= 0) {
            EXPECT_LE(left, c.leftMargin + 2) << c.style;
            EXPECT_GT(right, left) << c.style;
        } else {
            EXPECT_LE(right, c.rightMargin + 2) << c.style;
            EXPECT_GT(left, right) << c.style;
        }
    }
}

TEST_F(ControlsTest, TextOfABitmapStaticLeavesItsPicture) {
    SetDlgItemTextW(dialog, kSmallBitmap, u"Bild");
    EXPECT_EQ(driver.text(dialog, kSmallBitmap), u"Bild");
    auto* label = qobject_cast<QLabel*>(driver.widget(dialog, kSmallBitmap));
    ASSERT_TRUE(label);
    EXPECT_FALSE(label->pixmap().isNull());
}

// ---- A huge text: only what can be seen is laid out, the program keeps the whole text ----

TEST_F(ControlsTest, AHugeStaticTextKeepsItsWholeTextAndLooksLikeItsShownPart) {
    std::u16string shown;
    while (shown.size() < 8192)
        shown += u"Wein ";
    shown.resize(8192);
    const std::u16string huge = shown + std::u16string(1 << 20, u'W');
    SetDlgItemTextW(dialog, kLeftText, shown.c_str());
    const QImage cut = driver.grab(GetDlgItem(dialog, kLeftText));
    SetDlgItemTextW(dialog, kLeftText, huge.c_str());
    EXPECT_EQ(driver.grab(GetDlgItem(dialog, kLeftText)), cut);
    EXPECT_EQ(driver.text(dialog, kLeftText), huge);
    EXPECT_EQ(GetWindowTextLengthW(GetDlgItem(dialog, kLeftText)), static_cast<int>(huge.size()));
}
