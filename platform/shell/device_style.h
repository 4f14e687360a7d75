// Qt's "Windows" style with its sizes (frames, scroll bars, check boxes, margins) in device
// pixels: each is shown at the device's scale, so the controls keep their proportions however
// large the device is shown.
#pragma once

#include <QProxyStyle>

namespace platform {

class DeviceStyle : public QProxyStyle {
  public:
    explicit DeviceStyle(QStyle* base);
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                         const QWidget* widget = nullptr) const override;
};

} // namespace platform
