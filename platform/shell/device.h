// Start-up of the program on the device: the application, the device window, the entry point.
// Free of Qt, so the program's thin main can include it.
#pragma once

#include "platform/ui/win_types.h"

namespace platform {

using EntryPoint = int (*)(HINSTANCE, HINSTANCE, LPWSTR, int);

// From now until the process ends, SIGTERM, SIGINT and SIGHUP ask the program to end the way
// closing its window does, also before the device runs (a screen that starts later ends at once)
// and while it ends (the end under way goes on). For the program's start; tests keep the defaults.
void catchEndSignals();

// Creates the application (German locale, the device's fonts, Qt's "Windows" style) and the
// device window, calls entry(module, nullptr, command line, SW_SHOW) on the interface thread and
// returns its result, the process's exit status. Understands "--scale N" (N from 1 to 4, fractions
// allowed): a window of N times the device. Without it the window has the size the user last
// gave it, else the device at 2 on screens at least 800 pixels high, at 1 on smaller ones; on a
// phone-sized screen it fills the screen. The device follows every change of the window's size.
int runDevice(int argc, char** argv, HINSTANCE module, EntryPoint entry);

} // namespace platform
