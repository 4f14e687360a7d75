#include "platform/shell/device_fit.h"

#include <algorithm>
#include <cmath>

#include "platform/ui/device_geometry.h"

namespace platform {

namespace {
// A device pixel x covers the window pixels [ceil(x × scale), ceil((x + 1) × scale)), as the
// controls are placed; the device's own size follows the same rule.
int shown(int devicePixels, double scale) {
    return static_cast<int>(std::ceil(devicePixels * scale - 1e-9));
}
} // namespace

DeviceFit fitDevice(QSize window, double fixedScale) {
    DeviceFit fit;
    if (fixedScale > 0) {
        fit.scale = fixedScale;
    } else if (window.width() > 0 && window.height() > 0) {
        fit.scale = std::min(window.width() / double(ui::kDeviceWidth), window.height() / double(ui::kDeviceHeight));
    }
    const QSize size(shown(ui::kDeviceWidth, fit.scale), shown(ui::kDeviceHeight, fit.scale));
    fit.device = QRect(QPoint((window.width() - size.width()) / 2, (window.height() - size.height()) / 2), size);
    return fit;
}

QSize windowSizeAt(double scale) {
    return QSize(shown(ui::kDeviceWidth, scale), shown(ui::kDeviceHeight, scale));
}

bool isPhoneSized(QSize screen) {
    return screen.isValid() && std::min(screen.width(), screen.height()) < kPhoneScreenLimit;
}

} // namespace platform
