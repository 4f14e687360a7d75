// Start-up on the device. Differs from the platform: the program's command line is the
// arguments after the program's name, joined by blanks, without the layer's own "--scale N".
#include "platform/shell/device.h"

#include <QApplication>
#include <QLocale>
#include <QStyleFactory>
#include <cstring>
#include <string>

#include "platform/gdi/gdi_internal.h"
#include "platform/shell/device_style.h"
#include "platform/shell/device_window.h"
#include "platform/shell/end_requests.h"
#include "platform/ui/window.h"
#include "platform/ui/windows.h"

namespace {

void prepareApplication() {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Windows")))
        QApplication::setStyle(new platform::DeviceStyle(platform::ui::withFocusCues(style)));
    platform::gdi::registerDeviceFonts();
}

} // namespace

int platform::runDevice(int argc, char** argv, HINSTANCE module, EntryPoint entry) {
    const double scale = scaleArgument(argc, argv);
    QApplication application(argc, argv);
    // The same name as the desktop entry, so that a Wayland shell shows its name and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(TALVINO_APP_ID));
    prepareApplication();
    showDeviceWindow(scale);
    const EndRequests endRequests;

    std::u16string commandLine;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--scale") == 0 && i + 1 < argc) {
            ++i;
            continue;
        }
        if (!commandLine.empty()) commandLine += u' ';
        commandLine += QString::fromLocal8Bit(argv[i]).toStdU16String();
    }
    const int status = entry ? entry(module, nullptr, commandLine.data(), SW_SHOW) : 0;
    destroyDeviceWindow();
    return status;
}

void platform::prepareDevice() {
    prepareApplication();
    createDeviceWindow();
}
