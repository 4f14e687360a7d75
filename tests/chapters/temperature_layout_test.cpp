// The chart's arithmetic: which text a height or a wine kind stands for, and where each frame of
// the scroll and its text are drawn.
#include <gtest/gtest.h>

#include <string>

#include "chapters/temperature_layout.h"

using namespace temperature;

namespace {

struct Band {
    DWORD fromY;
    DWORD toY;
    int level;
};

void PrintTo(const Band& band, std::ostream* os) {
    *os << "Level" << band.level << "From" << band.fromY << "To" << band.toY;
}

class HeightBands : public ::testing::TestWithParam<Band> {};

TEST_P(HeightBands, EveryHeightOfABandGivesItsLevel) {
    const Band band = GetParam();
    for (DWORD y = band.fromY; y <= band.toY; ++y)
        EXPECT_EQ(heightLevel(y), band.level) << "y = " << y;
}

INSTANTIATE_TEST_SUITE_P(Thermometer, HeightBands,
                         ::testing::Values(Band{0, 19, 18}, Band{20, 33, 17}, Band{34, 47, 16},
                                           Band{48, 61, 15}, Band{62, 75, 14}, Band{76, 89, 13},
                                           Band{90, 103, 12}, Band{104, 117, 11}, Band{118, 131, 10},
                                           Band{132, 145, 9}, Band{146, 159, 8}, Band{160, 173, 7},
                                           Band{174, 187, 6}, Band{188, 201, 5}, Band{202, 215, 4},
                                           Band{216, 229, 3}));

TEST(HeightLevels, BelowTheScaleTheLevelKeepsFalling) {
    EXPECT_EQ(heightLevel(230), 2);
    EXPECT_EQ(heightLevel(256), 1);
    EXPECT_EQ(heightLevel(65535), 18 - 65529 / 14);
}

TEST(LevelTexts, EachLevelOfTheScaleHasItsString) {
    const int expected[19] = {1, 1, 1, 1, 15, 15, 15, 3, 14, 4, 13, 5, 12, 11, 6, 10, 7, 8, 9};
    for (int level = 0; level <= 18; ++level)
        EXPECT_EQ(stringIdForLevel(level), expected[level]) << level;
}

TEST(LevelTexts, LevelsOutsideTheScaleShowTheIntroduction) {
    for (int level : {-1000, -1, 19, 20, 100})
        EXPECT_EQ(stringIdForLevel(level), 1) << level;
}

TEST(LevelTexts, TapBandsOfTheChapterShowTheirTexts) {
    for (DWORD y = 104; y <= 117; ++y)
        EXPECT_EQ(stringIdForLevel(heightLevel(y)), 5);
    for (DWORD y = 160; y <= 173; ++y)
        EXPECT_EQ(stringIdForLevel(heightLevel(y)), 3);
    for (DWORD y = 0; y <= 19; ++y)
        EXPECT_EQ(stringIdForLevel(heightLevel(y)), 9);
    for (DWORD y = 216; y <= 400; ++y)
        EXPECT_EQ(stringIdForLevel(heightLevel(y)), 1);
}

int wineKindIndex(const std::u16string& name) {
    for (int i = 0; i < kWineKindCount; ++i)
        if (name == kWineKinds[i]) return i;
    return -1;
}

// A choice records a height and takes its level from it, as a tap would.
int stringForChoice(const std::u16string& name) {
    const int index = wineKindIndex(name);
    if (index <= 0) return -1;
    return stringIdForLevel(heightLevel(wineKindY(index)));
}

TEST(WineKinds, TheListHoldsTheEmptyItemAndTwentyKindsInOrder) {
    EXPECT_EQ(std::u16string(kWineKinds[0]), u"");
    EXPECT_EQ(std::u16string(kWineKinds[1]), u"Alltagsrotweine");
    EXPECT_EQ(std::u16string(kWineKinds[8]), u"Côtes du Rhône");
    EXPECT_EQ(std::u16string(kWineKinds[17]), u"Weißweine, süß");
    EXPECT_EQ(std::u16string(kWineKinds[20]), u"Zinnfandel");
}

TEST(WineKinds, ChoicesShowTheTextOfTheirBand) {
    EXPECT_EQ(stringForChoice(u"Bordeaux"), 8);
    EXPECT_EQ(stringForChoice(u"Rotweine, beste"), 8);
    EXPECT_EQ(stringForChoice(u"Schaumweine"), 15);
    EXPECT_EQ(stringForChoice(u"Weißweine, süß"), 15);
    EXPECT_EQ(stringForChoice(u"Sherry"), 14);
    EXPECT_EQ(stringForChoice(u"Fino Sherry"), 14);
    EXPECT_EQ(stringForChoice(u"Alltagsrotweine"), 11);
    EXPECT_EQ(stringForChoice(u"Lambrusco"), 4);
    EXPECT_EQ(stringForChoice(u"Burgunder (rot)"), 7);
}

TEST(WineKinds, TheRecordedHeightGivesBackTheKindsLevel) {
    for (int i = 1; i < kWineKindCount; ++i)
        EXPECT_EQ(heightLevel(wineKindY(i)), kWineKindLevels[i]) << i;
}

TEST(WineKinds, TheEmptyChoiceEndsOnTheIntroduction) {
    EXPECT_EQ(heightLevel(kEmptyChoiceY), 1);
    EXPECT_EQ(stringIdForLevel(heightLevel(kEmptyChoiceY)), 1);
    EXPECT_EQ(stringIdForLevel(kEmptyChoiceLevel), 1);
}

TEST(TextRectangle, BottomsFollowTheUnrollCurve) {
    const int expected[kFrameCount] = {119, 120, 121, 123, 125, 129, 132, 136, 142, 148,
                                       155, 163, 170, 176, 179, 181, 183, 183, 183};
    for (int frame = 0; frame < kFrameCount; ++frame)
        EXPECT_EQ(textBottom(kUnrollCurve[frame]), expected[frame]) << "frame " << frame;
}

TEST(TextRectangle, NothingShowsDuringTheFirstFourFrames) {
    for (int frame = 0; frame < kFrameCount; ++frame) {
        const RECT r = textRect(kUnrollCurve[frame]);
        EXPECT_EQ(r.left, 90);
        EXPECT_EQ(r.right, 225);
        EXPECT_EQ(r.top, 120 - kUnrollCurve[frame]);
        if (frame < 4)
            EXPECT_LE(r.bottom, r.top) << "frame " << frame;
        else
            EXPECT_GT(r.bottom, r.top) << "frame " << frame;
    }
}

TEST(ScrollLayout, ClosedScrollShowsSevenRowsOfPaperBetweenTheRolls) {
    const ScrollLayout closed = scrollLayout(kUnrollCurve[0]);
    EXPECT_EQ(closed.paperSourceTop, 116);
    EXPECT_EQ(closed.paperRows, 7);
    EXPECT_EQ(closed.paperTop, 123);
    EXPECT_EQ(closed.topRollTop, 102);
    EXPECT_EQ(closed.bottomRollTop, 130);
    EXPECT_EQ(closed.paperTop + closed.paperRows, closed.bottomRollTop);
}

TEST(ScrollLayout, OpenScrollShowsTheWholePaperFrom65To187) {
    const ScrollLayout open = scrollLayout(kUnrollCurve[kLastFrame]);
    EXPECT_EQ(open.paperSourceTop, 0);
    EXPECT_EQ(open.paperRows, 123);
    EXPECT_EQ(open.paperTop, 65);
    EXPECT_EQ(open.paperTop + open.paperRows - 1, 187);
    EXPECT_EQ(open.topRollTop, 44);
    EXPECT_EQ(open.bottomRollTop, 188);
}

TEST(ScrollLayout, PaperAlwaysEndsWhereTheBottomRollBegins) {
    for (int t : kUnrollCurve) {
        const ScrollLayout layout = scrollLayout(t);
        EXPECT_EQ(layout.paperTop + layout.paperRows, 138 + t) << t;
        EXPECT_EQ(layout.bottomRollTop, 138 + t) << t;
        EXPECT_EQ(layout.topRollTop, 94 - t) << t;
    }
}

} // namespace
