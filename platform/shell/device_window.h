// The device window for tests and tools that make their own application object: create it,
// draw it to an image, save it as PNG. Names Qt; screens never include it.
#pragma once

#include <QImage>
#include <QString>

class QWidget;

namespace platform {

// Creates and shows the device window once (needs a QApplication); later calls return it.
QWidget* createDeviceWindow();
// Once the application object exists: the German locale, the "Windows" style, the device's fonts
// and the device window, as the program has them (tests and benchmarks start the same way).
void prepareDevice();
QWidget* deviceWindow(); // null before createDeviceWindow
void destroyDeviceWindow();

int deviceScale();              // the scale the device window is drawn at
void setDeviceScale(int scale); // for grabs; the on-screen scale is fixed when the application starts

// The device screen, 240 x 320 logical pixels drawn at `scale` (0: the device's own scale).
QImage grabDevice(int scale = 0);
bool saveDevicePng(const QString& path, int scale = 0);

// Decides the scale from the arguments ("--scale N") and the screen; call before QApplication.
int chooseDeviceScale(int argc, char** argv);

} // namespace platform
