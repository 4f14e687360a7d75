// The arithmetic of the serving temperature chart: height levels and their texts, the wine
// kinds, the unroll curve and where each frame of the scroll is drawn. Pure, so every position
// can be checked exactly.
#pragma once

#include "platform/ui/win_types.h"

namespace temperature {

constexpr int kFrameCount = 19;
constexpr int kLastFrame = kFrameCount - 1;

// Half-opening T of the scroll in pixels, by frame index.
constexpr int kUnrollCurve[kFrameCount] = {-8, -7, -6, -4, -2, 1,  4,  8,  13, 19,
                                           25, 32, 39, 44, 47, 49, 50, 50, 50};

constexpr int kWineKindCount = 21; // the empty item and 20 kinds
// The height level of each wine kind by list index; index 0, the empty item, has none.
constexpr signed char kWineKindLevels[kWineKindCount] = {0,  13, 12, 17, 16, 14, 8, 15, 15, 8, 9,
                                                         14, 9,  17, 12, 5,  8,  5, 8,  14, 15};
extern const char16_t* const kWineKinds[kWineKindCount];

// The recorded y a choice in the list stands for, and the level of the empty item.
constexpr DWORD kEmptyChoiceY = 256;
constexpr int kEmptyChoiceLevel = 19;
constexpr DWORD wineKindY(int index) {
    return static_cast<DWORD>(258 - 14 * kWineKindLevels[index]);
}

// The level of a height on the thermometer: bands of 14 pixels, 18 at the top.
constexpr int heightLevel(DWORD y) {
    return 18 - (static_cast<LONG>(y) - 6) / 14;
}

// The string-table text of a level: 1 for the levels outside the scale.
int stringIdForLevel(int level);

// Rows of the paper picture that are visible at half-opening T, and where they go.
struct ScrollLayout {
    int paperSourceTop; // first row of the paper bitmap shown
    int paperTop;       // where that row is drawn
    int paperRows;      // rows shown, down to the paper's last row
    int topRollTop;
    int bottomRollTop;
};
constexpr int kScrollLeft = 75;
constexpr int kPaperHeight = 123;
constexpr int kBottomRollHeight = 24;
ScrollLayout scrollLayout(int t, int paperHeight = kPaperHeight, int bottomRollHeight = kBottomRollHeight);

// The rectangle the text of a level is drawn in; below its top while the scroll is nearly shut.
RECT textRect(int t);
// Its bottom: T + 128 + T/10, the tenth taken in single precision and the sum truncated.
int textBottom(int t);

// The two bands the closing phase wipes white: above the top roll and below the bottom roll.
RECT upperWipe(int t);
RECT lowerWipe(int t);

} // namespace temperature
