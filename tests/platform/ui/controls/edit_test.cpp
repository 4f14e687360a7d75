// Edits: typing, focus and change notifications, limits and line breaks.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QImage>
#include <gtest/gtest.h>

#include "platform/testing/driver.h"
#include "platform/testing/message_recorder.h"
#include "tests/platform/ui/controls/controls_fixture.h"
#include "tests/platform/ui/test_module.h"

using namespace platform::testing;
using namespace uitest;

// ---- Edits ----

// Whether the pixel is dark enough to read as an edge on the white page.
bool dark(const QImage& image, int x, int y) {
    return qGray(image.pixel(x, y)) < 128;
}

TEST_F(ControlsTest, BorderedEditsAndListsShowAnEdgeOnAllFourSides) {
    for (int id : {kEdit, kMultiEdit, kList, kTree}) {
        const QImage image = driver.grab(GetDlgItem(dialog, id));
        ASSERT_FALSE(image.isNull()) << id;
        const int w = image.width(), h = image.height();
        for (int x : {w / 4, w / 2, 3 * w / 4}) {
            EXPECT_TRUE(dark(image, x, 0)) << "top edge of " << id << " at " << x;
            EXPECT_TRUE(dark(image, x, h - 1)) << "bottom edge of " << id << " at " << x;
        }
        for (int y : {h / 4, h / 2, 3 * h / 4}) {
            EXPECT_TRUE(dark(image, 0, y)) << "left edge of " << id << " at " << y;
            EXPECT_TRUE(dark(image, w - 1, y)) << "right edge of " << id << " at " << y;
        }
        // Just inside the edge the control is white, so the edge is a line, not a shadow.
        EXPECT_FALSE(dark(image, w / 3, h - 3)) << id;
    }
}

TEST_F(ControlsTest, TextOfABorderedEditStaysInsideItsEdge) {
    driver.type(dialog, kEdit, u"Weißburgunder Spätlese trocken");
    const QImage image = driver.grab(GetDlgItem(dialog, kEdit));
    for (int y = 0; y < image.height(); ++y)
        EXPECT_TRUE(dark(image, 0, y)) << "left edge at " << y;
}

TEST_F(ControlsTest, TypingIntoAnEditSendsFocusAndChanges) {
    MessageRecorder recorder(dialog);
    driver.type(dialog, kEdit, u"Weiß");
    EXPECT_EQ(driver.text(dialog, kEdit), u"Weiß");
    EXPECT_TRUE(
        recorder.matches({command(kEdit, EN_SETFOCUS), command(kEdit, EN_CHANGE), command(kEdit, EN_CHANGE),
                          command(kEdit, EN_CHANGE), command(kEdit, EN_CHANGE)}));
    recorder.clear();
    driver.tap(dialog, kPush);
    EXPECT_TRUE(recorder.matches({command(kEdit, EN_KILLFOCUS), command(kPush, BN_CLICKED)}));
}

TEST_F(ControlsTest, EditLimitStopsTyping) {
    send(kEdit, EM_LIMITTEXT, 3);
    driver.type(dialog, kEdit, u"Rotwein");
    EXPECT_EQ(driver.text(dialog, kEdit), u"Rot");
}

TEST_F(ControlsTest, MultiLineEditKeepsThePlatformsLineBreaks) {
    SetDlgItemTextW(dialog, kMultiEdit, u"Erste Zeile\r\nZweite Zeile");
    auto* edit = qobject_cast<QPlainTextEdit*>(driver.widget(dialog, kMultiEdit));
    ASSERT_TRUE(edit);
    EXPECT_EQ(edit->toPlainText(), QStringLiteral("Erste Zeile\nZweite Zeile"));
    EXPECT_EQ(driver.text(dialog, kMultiEdit), u"Erste Zeile\r\nZweite Zeile");
    EXPECT_EQ(GetWindowTextLengthW(GetDlgItem(dialog, kMultiEdit)), 25);
    EXPECT_EQ(edit->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

TEST_F(ControlsTest, TextSetByTheProgramReportsAChange) {
    MessageRecorder recorder(dialog);
    SetDlgItemTextW(dialog, kEdit, u"Neu");
    EXPECT_TRUE(recorder.matches({command(kEdit, EN_CHANGE)}));
}

TEST_F(ControlsTest, TapOnTheDialogItselfLeavesTheFocusInTheEdit) {
    driver.type(dialog, kEdit, u"a");
    MessageRecorder recorder(dialog);
    driver.tapAt(dialog, 230, 5);
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, kEdit));
    EXPECT_TRUE(recorder.matches({stylus(WM_LBUTTONDOWN, 230, 5), stylus(WM_LBUTTONUP, 230, 5)}));
}
