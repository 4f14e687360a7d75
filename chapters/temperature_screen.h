// The serving temperature chart's animation: one window timer, two phases that replace each
// other on it. Tests and the tour may run a phase step themselves.
#pragma once

#include "platform/win32.h"

namespace temperature {

constexpr UINT_PTR kTimerId = 1;
constexpr UINT kStepMs = 100;

// The scroll unrolls one frame a step, showing the target level's text; at the last frame the
// timer stops and that text becomes the shown one.
void OpeningPhase(HWND window, UINT message, UINT_PTR id, DWORD time);
// The scroll rolls up one frame a step, showing the shown level's text; at the first frame it
// takes the target from the recorded height again and starts unrolling.
void ClosingPhase(HWND window, UINT message, UINT_PTR id, DWORD time);

} // namespace temperature
