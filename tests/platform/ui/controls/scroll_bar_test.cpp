// Scroll bars: every step, page, jump and drag as WM_HSCROLL, the thumb left to the dialog.
#include <QScrollBar>
#include <gtest/gtest.h>

#include "platform/testing/driver.h"
#include "platform/testing/message_recorder.h"
#include "tests/platform/ui/controls/controls_fixture.h"
#include "tests/platform/ui/test_module.h"

using namespace platform::testing;
using namespace uitest;

// ---- Scroll bar ----

class ScrollBarTest : public ControlsTest {
  protected:
    void SetUp() override {
        ControlsTest::SetUp();
        SetScrollRange(GetDlgItem(dialog, kScroll), SB_CTL, 0, 4, TRUE);
        SetScrollPos(GetDlgItem(dialog, kScroll), SB_CTL, 2, TRUE);
    }
};

TEST_F(ScrollBarTest, ArrowsSendLineStepsAndEndScrollWithoutMovingTheThumb) {
    MessageRecorder recorder(dialog);
    driver.scroll(dialog, kScroll, ScrollAction::LineRight);
    recorder.mark();
    driver.scroll(dialog, kScroll, ScrollAction::LineLeft);
    EXPECT_TRUE(recorder.matches({hscroll(kScroll, SB_LINERIGHT), hscroll(kScroll, SB_ENDSCROLL), marker(),
                                  hscroll(kScroll, SB_LINELEFT), hscroll(kScroll, SB_ENDSCROLL)}));
    EXPECT_EQ(driver.scrollPosition(dialog, kScroll), 2);
}

TEST_F(ScrollBarTest, TroughTapsSendPageSteps) {
    MessageRecorder recorder(dialog);
    driver.scroll(dialog, kScroll, ScrollAction::PageRight);
    recorder.mark();
    driver.scroll(dialog, kScroll, ScrollAction::PageLeft);
    EXPECT_TRUE(recorder.matches({hscroll(kScroll, SB_PAGERIGHT), hscroll(kScroll, SB_ENDSCROLL), marker(),
                                  hscroll(kScroll, SB_PAGELEFT), hscroll(kScroll, SB_ENDSCROLL)}));
    EXPECT_EQ(driver.scrollPosition(dialog, kScroll), 2);
}

TEST_F(ScrollBarTest, HomeAndEndKeysJumpToTheEnds) {
    MessageRecorder recorder(dialog);
    driver.scroll(dialog, kScroll, ScrollAction::Home);
    recorder.mark();
    driver.scroll(dialog, kScroll, ScrollAction::End);
    EXPECT_TRUE(recorder.matches({hscroll(kScroll, SB_LEFT), hscroll(kScroll, SB_ENDSCROLL), marker(),
                                  hscroll(kScroll, SB_RIGHT), hscroll(kScroll, SB_ENDSCROLL)}));
}

TEST_F(ScrollBarTest, DraggingTheThumbTracksThenReportsThePosition) {
    // The dialog follows the thumb, as a screen does.
    setHandler([](HWND d, UINT msg, WPARAM wParam, LPARAM lParam) -> INT_PTR {
        if (msg == WM_HSCROLL && LOWORD(wParam) == SB_THUMBTRACK)
            SetScrollPos(reinterpret_cast<HWND>(lParam), SB_CTL, HIWORD(wParam), TRUE);
        (void)d;
        return 0;
    });
    MessageRecorder recorder(dialog);
    driver.dragThumb(dialog, kScroll, 4);
    std::vector<WORD> codes;
    for (const RecordedMessage& m : recorder.entries())
        codes.push_back(LOWORD(m.wParam));
    ASSERT_GE(codes.size(), 3u);
    EXPECT_EQ(codes.front(), SB_THUMBTRACK);
    EXPECT_EQ(codes[codes.size() - 2], SB_THUMBPOSITION);
    EXPECT_EQ(HIWORD(recorder.entries()[codes.size() - 2].wParam), 4);
    EXPECT_EQ(codes.back(), SB_ENDSCROLL);
    EXPECT_EQ(driver.scrollPosition(dialog, kScroll), 4);
}

TEST_F(ScrollBarTest, PositionIsKeptWithinTheRange) {
    HWND bar = GetDlgItem(dialog, kScroll);
    EXPECT_EQ(SetScrollPos(bar, SB_CTL, 9, TRUE), 2);
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), 4);
    SetScrollPos(bar, SB_CTL, -3, TRUE);
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), 0);
}
