// The message recorder: what it records and how it compares.
#include <gtest/gtest.h>

#include "platform/testing/driver.h"
#include "platform/testing/message_recorder.h"
#include "tests/platform/ui/test_module.h"

using namespace platform::testing;
using namespace uitest;

namespace {

class RecorderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setHandler({});
        dialog = driver.open(module(), kAllControls, TestProc);
    }
    Driver driver;
    HWND dialog = nullptr;
};

} // namespace

TEST_F(RecorderTest, RecordsTheSenderAndMarks) {
    MessageRecorder recorder(dialog);
    driver.tap(dialog, kPush);
    recorder.mark();
    ASSERT_EQ(recorder.entries().size(), 2u);
    EXPECT_EQ(recorder.entries()[0].msg, WM_COMMAND);
    EXPECT_EQ(recorder.entries()[0].wParam, MAKEWPARAM(kPush, BN_CLICKED));
    EXPECT_EQ(recorder.entries()[0].detail, kPush);
    EXPECT_TRUE(recorder.entries()[1].marker);
    EXPECT_EQ(recorder.count(WM_COMMAND), 1u);
}

TEST_F(RecorderTest, OptionalEntriesMayBeMissingButOthersMayNot) {
    MessageRecorder recorder(dialog);
    driver.tap(dialog, kPush);
    EXPECT_TRUE(recorder.matches(
        {optional(command(kCheck, BN_CLICKED)), command(kPush, BN_CLICKED), optional(marker())}));
    EXPECT_FALSE(recorder.matches({command(kPush, BN_CLICKED), command(kPush, BN_CLICKED)}));
    EXPECT_FALSE(recorder.matches({}));
    EXPECT_FALSE(recorder.matches({command(kCheck, BN_CLICKED)}));
}

TEST_F(RecorderTest, MismatchPrintsBothSequences) {
    MessageRecorder recorder(dialog);
    driver.tap(dialog, kPush);
    const ::testing::AssertionResult result = recorder.matches({command(kCheck, BN_CLICKED)});
    ASSERT_FALSE(result);
    const std::string text = result.message();
    EXPECT_NE(text.find("expected:"), std::string::npos);
    EXPECT_NE(text.find("WM_COMMAND(id 111"), std::string::npos);
    EXPECT_NE(text.find("recorded:"), std::string::npos);
    EXPECT_NE(text.find("WM_COMMAND(id 110"), std::string::npos);
}

TEST_F(RecorderTest, PaintingIsLeftOutUnlessAskedFor) {
    MessageRecorder quiet(dialog);
    UpdateWindow(GetDlgItem(dialog, kLeftText));
    EXPECT_EQ(quiet.count(WM_CTLCOLORSTATIC), 0u);
}

TEST_F(RecorderTest, PaintingIsRecordedWhenAskedFor) {
    MessageRecorder all(dialog, true);
    InvalidateRect(GetDlgItem(dialog, kLeftText), nullptr, TRUE);
    UpdateWindow(GetDlgItem(dialog, kLeftText));
    EXPECT_GE(all.count(WM_CTLCOLORSTATIC), 1u);
}

TEST_F(RecorderTest, StopsRecordingWhenGone) {
    { MessageRecorder recorder(dialog); }
    seen().clear();
    driver.tap(dialog, kPush); // reaches the dialog with no recorder in between
    ASSERT_FALSE(seen().empty());
    EXPECT_EQ(seen().back().msg, WM_COMMAND);
}
