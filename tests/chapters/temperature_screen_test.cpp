// The serving temperature chart on screen: the scroll's frames on the dialog's surface, the text
// each height and wine kind brings, and the hand-over between rolling up and unrolling. The
// test takes the timer's place and runs the phase steps itself, so every frame can be looked at.
#include <QAbstractItemView>
#include <QComboBox>
#include <QFontMetrics>
#include <QScrollBar>
#include <QWidget>
#include <map>
#include <optional>

#include "platform/gdi/gdi_internal.h"
#include "platform/testing/message_recorder.h"
#include "screen/globals.h"
#include "chapters/chapter_screens.h"
#include "chapters/temperature_layout.h"
#include "chapters/temperature_screen.h"
#include "resources/dialog_ids.h"
#include "tests/chapters/chapter_fixture.h"

namespace {

using namespace temperature;

class TemperatureChart : public ChapterScreenTest {
  protected:
    void SetUp() override {
        ChapterScreenTest::SetUp();
        paper = resourceBitmap(146);
        topRoll = resourceBitmap(145);
        bottomRoll = resourceBitmap(144);
        ASSERT_EQ(paper.size(), QSize(160, 123));
        ASSERT_EQ(topRoll.size(), QSize(160, 23));
        ASSERT_EQ(bottomRoll.size(), QSize(160, 24));
    }

    // Opens the chart and takes over its timer: from here on only the test moves the scroll, first
    // through `unrolling` steps. The driver closes the chart when the test ends.
    HWND open(int unrolling = 0) {
        const HWND dialog = driver.open(talvinoModule(), kTemperatureDialog, TemperatureProc);
        if (dialog) holdTimer(dialog);
        if (dialog) opening(dialog, unrolling);
        return dialog;
    }
    void holdTimer(HWND dialog) { KillTimer(dialog, kTimerId); }
    TemperatureScreen& screen() { return *g_temperatureScreen; }

    void opening(HWND dialog, int steps = 1) {
        for (int i = 0; i < steps; ++i)
            OpeningPhase(dialog, WM_TIMER, kTimerId, 0);
    }
    void closing(HWND dialog, int steps = 1) {
        for (int i = 0; i < steps; ++i)
            ClosingPhase(dialog, WM_TIMER, kTimerId, 0);
    }
    // From a tap or choice at any frame: rolls up to the closed scroll, hands over, unrolls.
    void runChange(HWND dialog) {
        holdTimer(dialog);
        closing(dialog, screen().frameIndex + 1);
        opening(dialog, kFrameCount);
    }
    std::u16string scrollText() const {
        return g_temperatureScreen->textBuffer ? std::u16string(g_temperatureScreen->textBuffer) : u"";
    }

    // What the frame's bitmaps put at (x, y): the last drawn of paper, top roll, bottom roll.
    std::optional<QRgb> scrollPixel(int frame, int x, int y) const {
        const int t = kUnrollCurve[frame];
        const ScrollLayout layout = scrollLayout(t);
        const int bx = x - kScrollLeft;
        if (bx < 0 || bx >= paper.width()) return std::nullopt;
        if (y >= layout.bottomRollTop && y < layout.bottomRollTop + bottomRoll.height())
            return bottomRoll.pixel(bx, y - layout.bottomRollTop);
        if (y >= layout.topRollTop && y < layout.topRollTop + topRoll.height())
            return topRoll.pixel(bx, y - layout.topRollTop);
        if (y >= layout.paperTop && y < layout.paperTop + layout.paperRows)
            return paper.pixel(bx, layout.paperSourceTop + y - layout.paperTop);
        return std::nullopt;
    }
    static bool inText(int frame, int x, int y) {
        const RECT r = textRect(kUnrollCurve[frame]);
        return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
    }
    QImage surface(HWND dialog) const { return driver.grab(dialog).convertToFormat(QImage::Format_RGB32); }

    // Pixels of the frame's bitmaps that differ on the surface, outside or inside the text rectangle.
    struct Differences {
        int outsideText = 0;
        int insideText = 0;
        int compared = 0;
    };
    Differences compareFrame(HWND dialog, int frame) const {
        const QImage image = surface(dialog);
        Differences d;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const std::optional<QRgb> expected = scrollPixel(frame, x, y);
                if (!expected) continue;
                ++d.compared;
                if (image.pixel(x, y) == *expected) continue;
                if (inText(frame, x, y))
                    ++d.insideText;
                else
                    ++d.outsideText;
            }
        return d;
    }
    // The first row of the surface from which `bitmap` is drawn whole at the scroll's left, or -1.
    static int drawnTop(const QImage& image, const QImage& bitmap) {
        for (int y = 0; y + bitmap.height() <= image.height(); ++y) {
            bool same = true;
            for (int row = 0; same && row < bitmap.height(); ++row)
                for (int x = 0; same && x < bitmap.width(); ++x)
                    same = image.pixel(kScrollLeft + x, y + row) == bitmap.pixel(x, row);
            if (same) return y;
        }
        return -1;
    }
    bool whiteRow(const QImage& image, int y) const {
        for (int x = kScrollLeft; x < kScrollLeft + paper.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255)) return false;
        return true;
    }
    // Rows from the top roll's first to the bottom roll's last: all of them show a bitmap.
    static int scrollRows(int frame) {
        const ScrollLayout layout = scrollLayout(kUnrollCurve[frame]);
        return layout.bottomRollTop + kBottomRollHeight - layout.topRollTop;
    }

    QImage paper, topRoll, bottomRoll;
};

TEST_F(TemperatureChart, OpensWithTheClosedScrollAtFrameZero) {
    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(screen().frameIndex, 0);
    EXPECT_EQ(screen().targetLevel, 0);
    EXPECT_EQ(screen().shownLevel, 0);
    EXPECT_FALSE(screen().selectionFlag);
    opening(dialog);
    const Differences d = compareFrame(dialog, 0);
    EXPECT_EQ(d.outsideText + d.insideText, 0);
    // Paper rows 116 to 122 at 123 to 129, the top roll from 102 (over the paper's first two rows),
    // the bottom roll from 130.
    EXPECT_EQ(scrollRows(0), 52);
    EXPECT_EQ(d.compared, 160 * scrollRows(0));
    EXPECT_EQ(screen().frameIndex, 1);
}

TEST_F(TemperatureChart, UnrollsToTheFullyOpenScrollShowingTheIntroduction) {
    const HWND dialog = open(kFrameCount);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(screen().frameIndex, kLastFrame);
    EXPECT_EQ(screen().shownLevel, 0);
    const Differences d = compareFrame(dialog, kLastFrame);
    EXPECT_EQ(d.outsideText, 0);
    EXPECT_GT(d.insideText, 100) << "the introduction is written on the paper";
    EXPECT_EQ(scrollRows(kLastFrame), 212 - 44);
    EXPECT_EQ(d.compared, 160 * scrollRows(kLastFrame));
    EXPECT_EQ(scrollText(), resourceString(1));
}

TEST_F(TemperatureChart, NothingOfTheTextShowsInTheFirstFourFrames) {
    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    for (int frame = 0; frame < 4; ++frame) {
        opening(dialog);
        const Differences d = compareFrame(dialog, frame);
        EXPECT_EQ(d.insideText + d.outsideText, 0) << "frame " << frame;
    }
    opening(dialog, 8);
    const Differences d = compareFrame(dialog, 11);
    EXPECT_EQ(d.outsideText, 0);
    EXPECT_GT(d.insideText, 0) << "frame 11 shows the first lines";
}

TEST_F(TemperatureChart, EachFrameDrawsTheBitmapsAtTheirPositions) {
    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    for (int frame = 0; frame < kFrameCount; ++frame) {
        opening(dialog);
        EXPECT_EQ(compareFrame(dialog, frame).outsideText, 0) << "frame " << frame;
    }
}

// Found on the surface, not computed: the roll hangs right under the paper's last row and the
// scroll ends with the roll bitmap's last row.
TEST_F(TemperatureChart, BottomRollFollowsItsBitmapsHeight) {
    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    for (int frame = 0; frame < kFrameCount; ++frame) {
        opening(dialog);
        const QImage image = surface(dialog);
        const int rollTop = drawnTop(image, bottomRoll);
        ASSERT_GT(rollTop, 0) << "frame " << frame;
        EXPECT_EQ(drawnTop(image.copy(0, rollTop - 1, image.width(), 1), paper.copy(0, paper.height() - 1, 160, 1)), 0)
            << "frame " << frame;
        EXPECT_TRUE(whiteRow(image, rollTop + bottomRoll.height())) << "frame " << frame;
    }
}

// Every step of rolling up leaves white where the rolls were: nothing of an earlier frame shows
// above the top roll or below the bottom roll.
TEST_F(TemperatureChart, ClosingWipesTheBandsAboveTheTopRollAndBelowTheBottomRoll) {
    const HWND dialog = open(kFrameCount);
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(driver.chooseItem(dialog, 1005, u"Bordeaux"));
    holdTimer(dialog);
    const ScrollLayout open = scrollLayout(kUnrollCurve[kLastFrame]);
    for (int frame = kLastFrame; frame >= 0; --frame) {
        closing(dialog);
        const QImage image = surface(dialog);
        const ScrollLayout layout = scrollLayout(kUnrollCurve[frame]);
        for (int y = open.topRollTop; y < open.bottomRollTop + bottomRoll.height(); ++y) {
            const bool outside = y < layout.topRollTop || y >= layout.bottomRollTop + bottomRoll.height();
            EXPECT_TRUE(!outside || whiteRow(image, y)) << "frame " << frame << ", row " << y;
        }
    }
}

// Every line of every text the scroll shows, measured in the scroll's font against its text box
// (x 90 to 225): it fits, or it is a few percent wider and drawn narrower to fit, never cut.
TEST_F(TemperatureChart, EveryScrollTextLineIsDrawnWholeInsideItsBox) {
    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    const QFontMetrics metrics(driver.widget(dialog, 1056)->font());
    constexpr int kBox = 225 - 90;
    for (int id = 1; id <= 15; ++id) {
        const std::u16string text = resourceString(id);
        for (std::size_t start = 0, end = 0; start <= text.size(); start = end + 1) {
            end = std::min(text.find_first_of(u"\r\n", start), text.size());
            const std::u16string line = text.substr(start, end - start);
            if (end + 1 < text.size() && text[end] != text[end + 1] && text[end + 1] <= u'\r') ++end;
            const int width = metrics.horizontalAdvance(QString::fromStdU16String(line));
            EXPECT_LE(width * platform::gdi::fittingSqueeze(width, kBox), kBox)
                << "string " << id << " (" << width << " px): " << QString::fromStdU16String(line).toStdString();
        }
    }
}

TEST_F(TemperatureChart, KeepsTheIntroductionInTheHiddenTextControl) {
    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(driver.text(dialog, 1056), resourceString(1));
    EXPECT_FALSE(driver.visible(dialog, 1056));
    for (int id : {1072, 1073, 1074})
        EXPECT_FALSE(driver.visible(dialog, id)) << id;
}

TEST_F(TemperatureChart, OffersTheEmptyItemAndTwentyWineKindsUnsorted) {
    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    const std::vector<std::u16string> items = driver.items(dialog, 1005);
    ASSERT_EQ(items.size(), 21u);
    for (int i = 0; i < kWineKindCount; ++i)
        EXPECT_EQ(items[i], kWineKinds[i]) << i;
    EXPECT_EQ(items[0], u"");
    EXPECT_EQ(items[20], u"Zinnfandel");
}

TEST_F(TemperatureChart, FontsOfHeadingTextAndList) {
    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(driver.text(dialog, 1055), u"Die richtige Temperatur");
    EXPECT_EQ(driver.deviceCaption(), u"Die richtige Temperatur");
    const LOGFONTW heading = fontOf(driver.item(dialog, 1055));
    EXPECT_EQ(heading.lfHeight, 20);
    EXPECT_EQ(heading.lfWeight, 700);
    EXPECT_EQ(faceOf(heading), u"Tahoma");
    const LOGFONTW list = fontOf(driver.item(dialog, 1005));
    EXPECT_EQ(list.lfHeight, 11);
    EXPECT_EQ(list.lfWeight, 400);
    const LOGFONTW text = fontOf(driver.item(dialog, 1056));
    EXPECT_EQ(text.lfHeight, 13);
    EXPECT_EQ(text.lfWeight, 400);
    EXPECT_EQ(faceOf(text), u"Tahoma");
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(driver.item(dialog, 1056), WM_GETFONT, 0, 0)),
              screen().textFont);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)), screen().textFont);
}

struct Choice {
    const char16_t* kind;
    int stringId;
};

void PrintTo(const Choice& choice, std::ostream* os) {
    *os << QString::fromStdU16String(choice.kind).toStdString();
}

class WineKindChoices : public TemperatureChart, public ::testing::WithParamInterface<Choice> {};

TEST_P(WineKindChoices, ShowTheTextOfTheirBand) {
    const HWND dialog = open(kFrameCount);
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(driver.chooseItem(dialog, 1005, std::u16string(GetParam().kind)));
    // The choice set the flag; the stylus move of the closing list used it up without being recorded.
    EXPECT_FALSE(screen().selectionFlag);
    runChange(dialog);
    EXPECT_EQ(scrollText(), resourceString(GetParam().stringId));
    EXPECT_EQ(stringIdForLevel(screen().shownLevel), GetParam().stringId);
    EXPECT_FALSE(screen().selectionFlag);
}

INSTANTIATE_TEST_SUITE_P(Chart, WineKindChoices,
                         ::testing::Values(Choice{u"Bordeaux", 8}, Choice{u"Rotweine, beste", 8},
                                           Choice{u"Schaumweine", 15}, Choice{u"Weißweine, süß", 15},
                                           Choice{u"Sherry", 14}, Choice{u"Fino Sherry", 14},
                                           Choice{u"Beaujolais", 12}, Choice{u"Lambrusco", 4}));

TEST_F(TemperatureChart, TheEmptyItemRollsUpAndUnrollsTheIntroduction) {
    const HWND dialog = open(kFrameCount);
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(driver.chooseItem(dialog, 1005, u"Bordeaux"));
    runChange(dialog);
    ASSERT_EQ(scrollText(), resourceString(8));
    ASSERT_TRUE(driver.chooseItem(dialog, 1005, 0));
    EXPECT_EQ(screen().recordedY, 256u);
    EXPECT_EQ(screen().targetLevel, 19);
    holdTimer(dialog);
    closing(dialog);
    EXPECT_EQ(scrollText(), resourceString(8)) << "rolling up still shows the text that was there";
    closing(dialog, kFrameCount - 1);
    EXPECT_EQ(screen().targetLevel, 1);
    opening(dialog, kFrameCount);
    EXPECT_EQ(scrollText(), resourceString(1));
}

struct Tap {
    const char* name;
    int y; // dialog client coordinates; -1 top of the thermometer, -2 its bottom
    int stringId;
    std::u16string firstLine;
};
void PrintTo(const Tap& tap, std::ostream* os) {
    *os << tap.name;
}

class ThermometerTaps : public TemperatureChart, public ::testing::WithParamInterface<Tap> {};

TEST_P(ThermometerTaps, ShowTheTextOfTheTappedBand) {
    const HWND dialog = open(kFrameCount);
    ASSERT_NE(dialog, nullptr);
    const QRect thermometer = driver.rect(dialog, 1054);
    int y = GetParam().y;
    if (y == -1) y = thermometer.top() + 2;
    if (y == -2) y = thermometer.bottom() - 2;
    ASSERT_TRUE(thermometer.contains(thermometer.center().x(), y)) << "y " << y;
    ASSERT_TRUE(driver.tapAt(dialog, thermometer.center().x(), y));
    EXPECT_EQ(screen().recordedY, static_cast<DWORD>(y)) << "the tap's y in the dialog's coordinates";
    runChange(dialog);
    EXPECT_EQ(scrollText(), resourceString(GetParam().stringId));
    EXPECT_EQ(scrollText().substr(0, GetParam().firstLine.size()), GetParam().firstLine);
}

INSTANTIATE_TEST_SUITE_P(Chart, ThermometerTaps,
                         ::testing::Values(Tap{"CellarTop", 104, 5, u"Ideale Kellertemperatur"},
                                           Tap{"CellarBottom", 117, 5, u"Ideale Kellertemperatur"},
                                           Tap{"FridgeTop", 160, 3, u"Kühlschranktemperatur"},
                                           Tap{"FridgeBottom", 173, 3, u"Kühlschranktemperatur"},
                                           Tap{"Room", -1, 9, u"Zimmertemperatur"},
                                           Tap{"BelowTheScale", -2, 1, u"Tippen Sie auf die"}),
                         [](const ::testing::TestParamInfo<Tap>& param) {
                             return std::string(param.param.name);
                         });

// Without a stylus: Tab reaches the thermometer, the arrow keys go from band to band, and Enter
// shows the text of the band reached, as a tap on it does; so every band is read with keys alone.
TEST_F(TemperatureChart, KeysAloneReachEveryBandOfTheThermometer) {
    const HWND dialog = open(kFrameCount);
    ASSERT_NE(dialog, nullptr);
    const HWND thermometer = GetDlgItem(dialog, 1054);
    for (int i = 0; i < 10 && GetFocus() != thermometer; ++i)
        driver.pressKey(Qt::Key_Tab);
    ASSERT_EQ(GetFocus(), thermometer);
    driver.pressKey(Qt::Key_Home);
    driver.pressKey(Qt::Key_Return);
    runChange(dialog);
    EXPECT_EQ(scrollText(), resourceString(9)) << "the top band, 18 degrees";
    for (int level = 17; level >= 4; --level) {
        driver.pressKey(Qt::Key_Down);
        driver.pressKey(Qt::Key_Return);
        runChange(dialog);
        EXPECT_EQ(screen().targetLevel, level);
    }
    driver.pressKey(Qt::Key_Up);
    driver.pressKey(Qt::Key_Space);
    runChange(dialog);
    EXPECT_EQ(screen().targetLevel, 5);
    EXPECT_EQ(scrollText(), resourceString(15)) << "5 degrees";
}

// The marks as the screen shows them, wherever the template puts the thermometer: each lies in the
// tap band of its own degree, 18 at the top down to 4.
TEST_F(TemperatureChart, ThermometerMarksLieInTheTapBandsOfTheirLevels) {
    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    const QImage image = surface(dialog);
    const QRect thermometer = driver.rect(dialog, 1054);
    const int markColumn = thermometer.left() + 26; // crosses the long marks only
    std::vector<int> levels, expected;
    for (int y = thermometer.top(); y <= thermometer.bottom(); ++y) {
        const bool darkAbove = y > thermometer.top() && qGray(image.pixel(markColumn, y - 1)) < 120;
        if (qGray(image.pixel(markColumn, y)) < 120 && !darkAbove) levels.push_back(heightLevel(y));
    }
    for (int level = 18; level >= 4; --level)
        expected.push_back(level);
    EXPECT_EQ(levels, expected);
}

TEST_F(TemperatureChart, ASecondTapWhileUnrollingRollsUpFromTheFrameReached) {
    const HWND dialog = open(kFrameCount);
    ASSERT_NE(dialog, nullptr);
    const QRect thermometer = driver.rect(dialog, 1054);
    ASSERT_TRUE(driver.tapAt(dialog, thermometer.center().x(), 110));
    holdTimer(dialog);
    closing(dialog, kFrameCount);
    opening(dialog, 7); // unrolling the cellar text, at frame 7
    ASSERT_EQ(screen().frameIndex, 7);
    ASSERT_TRUE(driver.tapAt(dialog, thermometer.center().x(), 165));
    holdTimer(dialog);
    EXPECT_EQ(screen().frameIndex, 7);
    closing(dialog);
    EXPECT_EQ(screen().frameIndex, 6);
    EXPECT_EQ(compareFrame(dialog, 7).outsideText, 0) << "the first step up draws the frame reached";
    closing(dialog, 7);
    opening(dialog, kFrameCount);
    EXPECT_EQ(scrollText(), resourceString(3));
}

TEST_F(TemperatureChart, AFullChangeTakesNineteenStepsUpAndNineteenDown) {
    const HWND dialog = open(kFrameCount);
    ASSERT_NE(dialog, nullptr);
    const QRect thermometer = driver.rect(dialog, 1054);
    ASSERT_TRUE(driver.tapAt(dialog, thermometer.center().x(), 110));
    holdTimer(dialog);
    EXPECT_EQ(screen().targetLevel, 11);
    // A later stylus position decides the text: the target is taken again at the end of rolling up.
    ASSERT_TRUE(driver.stylusDown(dialog, 150, 160));
    ASSERT_TRUE(driver.stylusMove(dialog, 150, 165));
    ASSERT_TRUE(driver.stylusUp(dialog, 150, 165));
    ASSERT_EQ(screen().recordedY, 165u);

    for (int step = 1; step <= 18; ++step) {
        closing(dialog);
        EXPECT_EQ(screen().frameIndex, 18 - step) << "closing step " << step;
    }
    EXPECT_EQ(screen().targetLevel, 11);
    closing(dialog); // the 19th draws the closed scroll and hands over
    EXPECT_EQ(screen().frameIndex, 0);
    EXPECT_EQ(screen().targetLevel, 7);
    EXPECT_EQ(screen().shownLevel, 0);

    for (int step = 1; step <= 18; ++step) {
        opening(dialog);
        EXPECT_EQ(screen().frameIndex, step) << "opening step " << step;
        EXPECT_EQ(screen().shownLevel, 0) << "opening step " << step;
    }
    opening(dialog); // the 19th reaches the open scroll
    EXPECT_EQ(screen().frameIndex, 18);
    EXPECT_EQ(screen().shownLevel, 7);
    EXPECT_EQ(scrollText(), resourceString(3));
}

TEST_F(TemperatureChart, RollingUpHandsOverToUnrollingOnTheTimer) {
    const HWND dialog = open(kFrameCount);
    ASSERT_NE(dialog, nullptr);
    const QRect thermometer = driver.rect(dialog, 1054);
    ASSERT_TRUE(driver.tapAt(dialog, thermometer.center().x(), 12));
    // The timer runs on its own now: the scroll rolls up, unrolls and stops with the new text.
    EXPECT_TRUE(driver.waitFor([&] { return screen().shownLevel == 18 && screen().frameIndex == kLastFrame; },
                               15000));
    EXPECT_EQ(scrollText(), resourceString(9));
    const int frame = screen().frameIndex;
    driver.pump(300);
    EXPECT_EQ(screen().frameIndex, frame) << "the timer stops at the open scroll";
}

TEST_F(TemperatureChart, OpeningUnrollsOnTheTimerByItself) {
    const HWND dialog = driver.open(talvinoModule(), kTemperatureDialog, TemperatureProc);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(driver.waitFor([&] { return screen().frameIndex == kLastFrame; }, 10000));
    EXPECT_EQ(compareFrame(dialog, kLastFrame).outsideText, 0);
}

TEST_F(TemperatureChart, TheFirstStylusMoveAfterAChoiceIsIgnored) {
    const HWND dialog = open(kFrameCount);
    ASSERT_NE(dialog, nullptr);
    platform::testing::MessageRecorder recorder(dialog);
    ASSERT_TRUE(driver.chooseItem(dialog, 1005, u"Bordeaux"));
    holdTimer(dialog);
    // The first move after the choice is the one the closing list makes; it is not recorded.
    EXPECT_EQ(recorder.count(WM_MOUSEMOVE), 1u);
    EXPECT_EQ(screen().recordedY, 20u) << "the first move is not recorded";
    EXPECT_FALSE(screen().selectionFlag);
    ASSERT_TRUE(driver.stylusDown(dialog, 150, 120));
    ASSERT_TRUE(driver.stylusMove(dialog, 150, 130));
    EXPECT_EQ(screen().recordedY, 130u) << "the user's own move after it is recorded";
    ASSERT_TRUE(driver.stylusMove(dialog, 150, 140));
    ASSERT_TRUE(driver.stylusUp(dialog, 150, 140));
    EXPECT_EQ(screen().recordedY, 140u);
}

TEST_F(TemperatureChart, AStylusMoveRightAfterAChoiceLeavesTheRecordedHeight) {
    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    // The choice alone, as the screen sees it, without the move the device makes afterwards.
    SendDlgItemMessageW(dialog, 1005, CB_SETCURSEL, 15, 0);
    TemperatureProc(dialog, WM_COMMAND, MAKEWPARAM(1005, CBN_SELCHANGE),
                    reinterpret_cast<LPARAM>(GetDlgItem(dialog, 1005)));
    holdTimer(dialog);
    ASSERT_TRUE(screen().selectionFlag);
    const DWORD chosen = screen().recordedY;
    EXPECT_EQ(chosen, 258u - 14u * 5u);
    TemperatureProc(dialog, WM_MOUSEMOVE, 1, MAKELPARAM(150, 30));
    EXPECT_EQ(screen().recordedY, chosen);
    TemperatureProc(dialog, WM_MOUSEMOVE, 1, MAKELPARAM(150, 30));
    EXPECT_EQ(screen().recordedY, 30u);
    EXPECT_EQ(screen().recordedX, 150u);
}

TEST_F(TemperatureChart, AThermometerTapRightAfterAChoiceShowsTheTappedBand) {
    const HWND dialog = open(kFrameCount);
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(driver.chooseItem(dialog, 1005, u"Bordeaux"));
    const QRect thermometer = driver.rect(dialog, 1054);
    ASSERT_TRUE(driver.tapAt(dialog, thermometer.center().x(), 165));
    EXPECT_EQ(screen().recordedY, 165u) << "the tap after the choice is not swallowed";
    runChange(dialog);
    EXPECT_EQ(stringIdForLevel(screen().shownLevel), 3);
    EXPECT_EQ(scrollText(), resourceString(3));
}

TEST_F(TemperatureChart, RollingUpWipesTheBandsTheRollsLeave) {
    const HWND dialog = open(kFrameCount);
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(driver.chooseItem(dialog, 1005, u"Bordeaux"));
    holdTimer(dialog);
    closing(dialog, 6); // frames 18 to 13 drawn; next comes frame 12
    ASSERT_EQ(screen().frameIndex, 12);
    const int previousT = kUnrollCurve[13];
    const int t = kUnrollCurve[12];
    const int upperRow = 94 - t - 3;  // drawn as top roll at frame 13, inside the upper band now
    const int lowerRow = 162 + t + 2; // drawn as bottom roll at frame 13, inside the lower band now
    ASSERT_GE(upperRow, 94 - previousT);
    ASSERT_LT(lowerRow, 138 + previousT + 24);
    EXPECT_FALSE(whiteRow(surface(dialog), upperRow)) << "the top roll was there";
    closing(dialog);
    EXPECT_TRUE(whiteRow(surface(dialog), upperRow));
    EXPECT_TRUE(whiteRow(surface(dialog), lowerRow));
}

TEST_F(TemperatureChart, StaticsHaveWhiteBackgroundsButTheHiddenTextHasNone) {
    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    const HDC dc = GetDC(dialog);
    EXPECT_EQ(TemperatureProc(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                              reinterpret_cast<LPARAM>(driver.item(dialog, 1056))),
              reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH)));
    for (int id : {1055, 1054, 1080})
        EXPECT_EQ(TemperatureProc(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                  reinterpret_cast<LPARAM>(driver.item(dialog, id))),
                  reinterpret_cast<INT_PTR>(GetStockObject(WHITE_BRUSH)))
            << id;
    ReleaseDC(dialog, dc);
    const QImage image = surface(dialog);
    const QRect heading = driver.rect(dialog, 1055);
    EXPECT_EQ(image.pixel(heading.left() + 1, heading.top() + 1), qRgb(255, 255, 255));
    const QRect label = driver.rect(dialog, 1080);
    // Above the capitals of its first line, which the second line's letters do not reach.
    EXPECT_EQ(image.pixel(label.center().x(), label.top() + 1), qRgb(255, 255, 255));
}

TEST_F(TemperatureChart, DoneButtonEndsTheScreenAndItsTimer) {
    driver.onDialog(kTemperatureDialog, [&](HWND) { driver.tapDone(); });
    EXPECT_EQ(driver.runModal(talvinoModule(), kTemperatureDialog, TemperatureProc), 1);
    EXPECT_EQ(driver.pendingSteps(), 0u);
    EXPECT_EQ(screen().textBuffer, nullptr);
    const int frame = screen().frameIndex;
    driver.pump(300);
    EXPECT_EQ(screen().frameIndex, frame);
}

} // namespace

namespace {

// The dropped list of the wine kinds at the foot of the screen, as the reader sees it.
TEST_F(TemperatureChart, TheWineKindListDropsUpwardsInsideTheScreenWithWholeRowsCutAtTheRight) {
    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    auto* combo = qobject_cast<QComboBox*>(driver.widget(dialog, 1005));
    ASSERT_NE(combo, nullptr);
    combo->showPopup();
    driver.pump();
    QAbstractItemView* view = combo->view();
    QWidget* popup = view->window();
    const QWidget* screen = driver.widget(dialog);
    const QRect area(screen->mapToGlobal(QPoint(0, 0)), screen->size());
    const QRect list(popup->mapToGlobal(QPoint(0, 0)), popup->size());
    const QRect box(combo->mapToGlobal(QPoint(0, 0)), combo->size());
    EXPECT_TRUE(area.contains(list)) << "the list hangs over the menu bar";
    EXPECT_LE(list.bottom(), box.top()) << "no room below the box: the list opens upwards";
    const int row = view->sizeHintForRow(0);
    ASSERT_GT(row, 0);
    EXPECT_EQ(view->viewport()->height() % row, 0) << "a row is cut in half";
    EXPECT_GE(view->viewport()->height() / row, 4) << "more kinds than three at once";
    // Its scroll bar holds both arrows and a thumb between them.
    const QScrollBar* bar = view->verticalScrollBar();
    EXPECT_TRUE(bar->isVisible());
    EXPECT_GE(bar->height(), 3 * bar->width());
    EXPECT_EQ(view->textElideMode(), Qt::ElideNone) << "a long kind is cut at the right, not in its middle";
    combo->hidePopup();
    driver.pump();
}

} // namespace
