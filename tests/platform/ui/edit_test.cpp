// Edits: typing, focus and change notifications, limits and line breaks.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

#include "platform/testing/driver.h"
#include "platform/testing/message_recorder.h"
#include "tests/platform/ui/controls_fixture.h"
#include "tests/platform/ui/test_module.h"

using namespace platform::testing;
using namespace uitest;

// ---- Edits ----

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
