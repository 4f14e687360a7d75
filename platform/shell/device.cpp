// Start-up on the device. Differs from the platform: the program's command line is the
// arguments after the program's name, joined by blanks, without the layer's own "--scale N".
#include "platform/shell/device.h"

#include <QApplication>
#include <QLocale>
#include <QStyleFactory>
#include <cstring>
#include <string>

#include "platform/gdi/gdi_internal.h"
#include "platform/shell/device_window.h"
#include "platform/shell/end_requests.h"
#include "platform/ui/windows.h"

int platform::runDevice(int argc, char** argv, HINSTANCE module, EntryPoint entry) {
    const int scale = chooseDeviceScale(argc, argv);
    if (scale != 1 && qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR"))
        qputenv("QT_SCALE_FACTOR", QByteArray::number(scale));
    QApplication application(argc, argv);
    setDeviceScale(scale);
    prepareDevice();
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
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Windows"))) QApplication::setStyle(style);
    platform::gdi::registerDeviceFonts();
    createDeviceWindow();
}
