// The program's module: its dialog templates, bitmaps and string table, and the fixed
// text lists of the reference chapters.
#pragma once

#include "platform/ui/win_types.h"

// The instance handle of the program's own resources.
HINSTANCE talvinoModule();

// A fixed, ordered list of rows shown in a list box.
struct TextRows {
    const char16_t* const* rows;
    int count;
};

extern const TextRows kGrapeIntroductionLines; // 46 lines of the grape varieties screen
extern const TextRows kHelpBookmarksRows;      // 21 rows
extern const TextRows kHelpTemperatureRows;    // 22 rows
extern const TextRows kHelpGrapesRows;         // 5 rows
extern const TextRows kHelpWinesRows;          // 94 rows
extern const TextRows kCreditRows;             // 28 rows
