// The results screen's state, shared with the bookmark page and the bookmark list.
#pragma once

#include <string>

#include "platform/win32.h"

enum ResultCategory { kCategoryRed, kCategoryWhite, kCategoryRose, kCategoryBrown, kCategoryKeyword, kCategoryCount };

struct ResultsState {
    HWND window;
    HTREEITEM categories[kCategoryCount]; // "Rot", "Weiß", "Rosè", "Braun", "Stichwort" of the latest search fill
    HTREEITEM bookmarkRoot;               // "Lesezeichen" of the latest bookmark-list fill
    HFONT resultsFont;
    std::u16string defaultDescription;    // STICHWORT of the current entry
    std::u16string currentEntryId;        // decimal ID of the entry shown last (kept across openings)
    bool bookmarkFlag;                    // the current entry counts as bookmarked
};

INT_PTR ResultsProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
