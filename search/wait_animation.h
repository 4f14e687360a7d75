// The wait animation of the search form: a thread of its own draws frames 148 to 153 into the
// picture control 1075 every 80 ms while the user-interface thread runs the search.
#pragma once

#include "platform/win32.h"

struct SearchForm;

constexpr int kAnimationControl = 1075;
constexpr int kFirstAnimationFrame = 148;
constexpr int kAnimationFrameCount = 6;
constexpr DWORD kAnimationPeriodMs = 80;

// Shows nothing by itself: resets the frame index and the stop flag and starts the thread that
// draws into `picture`. A previous animation thread is stopped and has ended before the new one
// starts, so two threads never draw at once.
void startWaitAnimation(SearchForm& form, HWND picture, HINSTANCE module);

// Sets the stop flag and hides the animation control of the form's window. The thread ends on its
// own within one frame period. Called by the form when the results screen returns and by the
// results screen once it has its results.
void stopWaitAnimation(SearchForm& form);

// Stops the animation and waits until its thread has ended; releases the thread's handle.
void endWaitAnimation(SearchForm& form);

namespace wait_animation {
// How a frame reaches the screen and how the thread waits between frames. Tests replace them to
// count frames without a clock; null restores the real drawing and Sleep.
using DrawFrame = void (*)(HWND picture, HINSTANCE module, int bitmapId);
using Pause = void (*)(DWORD ms);
void setFrameDrawer(DrawFrame drawer);
void setPause(Pause pause);

// Copies bitmap `bitmapId` whole, at its own size, to the top-left corner of `picture`.
void drawFrame(HWND picture, HINSTANCE module, int bitmapId);
} // namespace wait_animation
