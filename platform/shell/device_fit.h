// How large the device is shown in a window of a given size, and where: as large as fits at
// 3:4, centred; or at a scale the user fixed (--scale N). Pure arithmetic, for the device window
// and its tests.
#pragma once

#include <QRect>
#include <QSize>

namespace platform {

struct DeviceFit {
    double scale = 1.0; // window pixels per device pixel
    QRect device;       // where the device lies in the window, in window pixels
};

// `fixedScale` > 0 keeps that scale whatever the window's size; otherwise the largest that fits.
DeviceFit fitDevice(QSize window, double fixedScale = 0);

// The window size of the device at `scale`, frame and margins aside.
QSize windowSizeAt(double scale);

// A screen whose shorter side is under this many logical pixels is a phone's: the guide fills it.
constexpr int kPhoneScreenLimit = 600;
bool isPhoneSized(QSize screen);

} // namespace platform
