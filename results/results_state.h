// The results screen's state, shared with the bookmark page and the bookmark list.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/win32.h"

// A listed bookmark whose row names no entry (its id NULL or no number): only its texts find it
// again, to show and to delete it.
struct KeylessBookmark {
    HTREEITEM item;
    std::optional<std::u16string> description;
    std::optional<std::u16string> note;
};

enum ResultCategory { kCategoryRed, kCategoryWhite, kCategoryRose, kCategoryBrown, kCategoryKeyword, kCategoryCount };

struct ResultsState {
    HWND window;
    HTREEITEM categories[kCategoryCount]; // "Rot", "Weiß", "Rosè", "Braun", "Stichwort" of the latest search fill
    HTREEITEM bookmarkRoot;               // "Lesezeichen" of the latest bookmark-list fill
    HFONT resultsFont;
    std::u16string defaultDescription;    // STICHWORT of the current entry
    std::u16string currentEntryId;        // decimal ID of the entry shown last (kept across openings)
    bool bookmarkFlag;                    // the current entry counts as bookmarked
    bool entryShown;                      // an entry or bookmark was shown in this opening
    std::vector<KeylessBookmark> keylessBookmarks; // of the latest bookmark-list fill
    std::optional<KeylessBookmark> shownKeyless;   // the bookmark shown, when it is one of them
};

INT_PTR ResultsProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
