// The device window for tests and tools that make their own application object: create it,
// draw it to an image, save it as PNG. Names Qt; screens never include it.
#pragma once

#include <QImage>
#include <QString>

class QWidget;

namespace platform {

// Creates and shows the device window once (needs a QApplication); later calls return it.
// The device is the 240 x 320 screen; it lies in a host window (deviceHostWindow) that the
// desktop sees, which may have any size: the device is shown as large as fits.
QWidget* createDeviceWindow();
// As the program starts it: full screen on a phone-sized screen, else at the fixed scale given
// (`fixedScale` > 0), else at the size the user last gave it, else fitting the screen.
void showDeviceWindow(double fixedScale);
// Once the application object exists: the German locale, the "Windows" style, the device's fonts
// and the device window, as the program has them (tests and benchmarks start the same way).
void prepareDevice();
QWidget* deviceWindow();     // the device's screen; null before createDeviceWindow
QWidget* deviceHostWindow(); // the window around it
void destroyDeviceWindow();

double deviceScale();              // window pixels per device pixel, as shown now
void setDeviceScale(double scale); // fixes the scale and sizes the window to it; 0 lets it fit again

// The device screen, 240 x 320 device pixels drawn at `scale` (0: as shown now).
QImage grabDevice(double scale = 0);
bool saveDevicePng(const QString& path, double scale = 0);

// The scale of "--scale N" (1 to 4, fractions allowed), or 0 when there is none.
double scaleArgument(int argc, char** argv);

} // namespace platform
