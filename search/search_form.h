// The search form: criteria, the quality scroll bar and the wait animation.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/win32.h"

struct SearchForm {
    HWND window;
    HFONT headingFont;
    HFONT labelFont;
    std::int16_t qualityLevel;     // 0..4, 0 = "egal"
    HANDLE animationThread;        // the running (or last) animation thread
    std::atomic<int> frameIndex;   // 0..5, the next frame of the wait animation
    std::atomic<int> stopFlag;     // non-zero ends the animation thread; shared with the results screen
};

INT_PTR SearchFormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
