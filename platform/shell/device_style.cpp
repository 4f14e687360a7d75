#include "platform/shell/device_style.h"

#include <QStyleOptionComboBox>
#include <cmath>

#include "platform/ui/device_geometry.h"

namespace platform {

DeviceStyle::DeviceStyle(QStyle* base) : QProxyStyle(base) {}

int DeviceStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const {
    const int size = QProxyStyle::pixelMetric(metric, option, widget);
    if (size <= 0) return size;
    return std::max(1, static_cast<int>(std::lround(size * ui::deviceScale())));
}

// A combo box's arrow has a width in pixels of its own, not a metric: the parts are laid out at
// the device's size and shown at the scale.
QRect DeviceStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                                  const QWidget* widget) const {
    const double scale = ui::deviceScale();
    const auto* combo = qstyleoption_cast<const QStyleOptionComboBox*>(option);
    if (control != CC_ComboBox || !combo || std::abs(scale - 1.0) < 1e-9)
        return QProxyStyle::subControlRect(control, option, part, widget);
    const auto shown = [scale](int devicePixels) { return static_cast<int>(std::lround(devicePixels * scale)); };
    QStyleOptionComboBox deviceSized(*combo);
    deviceSized.rect = QRect(0, 0, static_cast<int>(std::lround(option->rect.width() / scale)),
                             static_cast<int>(std::lround(option->rect.height() / scale)));
    const QRect laidOut = QProxyStyle::subControlRect(control, &deviceSized, part, widget);
    if (!laidOut.isValid()) return laidOut;
    const int left = shown(laidOut.left()), top = shown(laidOut.top());
    return QRect(option->rect.x() + left, option->rect.y() + top, shown(laidOut.right() + 1) - left,
                 shown(laidOut.bottom() + 1) - top);
}

} // namespace platform
