#include "platform/ui/device_geometry.h"

#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QVariant>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "platform/ui/window.h"

namespace platform::ui {
namespace {

// A hair's tolerance, so that 1.5 × 2 is 3 and not the next pixel up.
constexpr double kTolerance = 1e-9;
constexpr const char* kDeviceRect = "talvinoDeviceRect";
constexpr const char* kDeviceFont = "talvinoDeviceFont";

double scale = 1.0;
QPointer<QWidget> root;
std::vector<std::pair<QPointer<QObject>, std::function<void()>>> rescaleActions;

// Where a widget's top left lies in the root's pixels.
QPoint windowOrigin(const QWidget* widget) {
    QPoint sum;
    for (; widget && widget != root && !widget->isWindow(); widget = widget->parentWidget())
        sum += widget->pos();
    return sum;
}

void placeAgain(QWidget* widget);

} // namespace

// A widget the layer did not place (a layout's) counts with its own position mapped back.
QPoint devicePosition(const QWidget* widget) {
    QPoint sum;
    for (; widget && widget != root && !widget->isWindow(); widget = widget->parentWidget()) {
        const QVariant placed = widget->property(kDeviceRect);
        sum += placed.isValid() ? placed.toRect().topLeft() : toDevice(QPointF(widget->pos()));
    }
    return sum;
}

namespace {
void placeAgain(QWidget* widget) {
    const QVariant placed = widget->property(kDeviceRect);
    if (placed.isValid()) setDeviceGeometry(widget, placed.toRect());
    const QVariant font = widget->property(kDeviceFont);
    if (font.isValid()) widget->setFont(scaledFont(font.value<QFont>()));
    for (QObject* child : widget->children())
        if (child->isWidgetType()) placeAgain(static_cast<QWidget*>(child));
}

} // namespace

double deviceScale() {
    return scale;
}

int toWindow(int deviceCoordinate) {
    return static_cast<int>(std::ceil(deviceCoordinate * scale - kTolerance));
}

int toDevice(double windowCoordinate) {
    return static_cast<int>(std::floor(windowCoordinate / scale + kTolerance));
}

QRect toWindow(const QRect& deviceRect) {
    const int left = toWindow(deviceRect.x());
    const int top = toWindow(deviceRect.y());
    return QRect(left, top, toWindow(deviceRect.x() + deviceRect.width()) - left,
                 toWindow(deviceRect.y() + deviceRect.height()) - top);
}

QPoint toWindow(const QPoint& devicePoint) {
    const QRect pixel = toWindow(QRect(devicePoint, QSize(1, 1)));
    return QPoint(pixel.left() + (pixel.width() - 1) / 2, pixel.top() + (pixel.height() - 1) / 2);
}

QPoint toDevice(const QPointF& windowPoint) {
    return QPoint(toDevice(windowPoint.x()), toDevice(windowPoint.y()));
}

void setDeviceRoot(QWidget* widget) {
    root = widget;
}

QWidget* deviceRoot() {
    return root;
}

void setDeviceGeometry(QWidget* widget, const QRect& deviceRect) {
    if (!widget) return;
    widget->setProperty(kDeviceRect, deviceRect);
    if (widget->isWindow()) {
        widget->resize(toWindow(deviceRect).size());
        return;
    }
    const QWidget* parent = widget->parentWidget();
    widget->setGeometry(toWindow(deviceRect.translated(devicePosition(parent))).translated(-windowOrigin(parent)));
}

QRect deviceGeometry(const QWidget* widget) {
    if (!widget) return QRect();
    const QVariant placed = widget->property(kDeviceRect);
    if (placed.isValid()) return placed.toRect();
    return QRect(toDevice(QPointF(widget->pos())),
                 QSize(static_cast<int>(std::lround(widget->width() / scale)),
                       static_cast<int>(std::lround(widget->height() / scale))));
}

QSize deviceSize(const QWidget* widget) {
    return deviceGeometry(widget).size();
}

QPoint deviceOffset(const QWidget* widget, const QPointF& local) {
    return toDevice(local + QPointF(windowOrigin(widget))) - devicePosition(widget);
}

QRect windowRectIn(const QWidget* widget, const QRect& deviceRect) {
    return toWindow(deviceRect.translated(devicePosition(widget))).translated(-windowOrigin(widget));
}

QFont scaledFont(const QFont& deviceFont) {
    if (std::abs(scale - 1.0) < kTolerance) return deviceFont;
    QFont font = deviceFont;
    // A fractional size (in points, which Qt keeps fractional; pixels it rounds), so that a text
    // is as wide, against its control, as on the device: a whole pixel more would cut its end off.
    if (deviceFont.pixelSize() > 0) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        const double dotsPerInch = screen ? screen->logicalDotsPerInchY() : 96.0;
        font.setPointSizeF(deviceFont.pixelSize() * scale * 72.0 / dotsPerInch);
    } else if (deviceFont.pointSizeF() > 0) {
        font.setPointSizeF(deviceFont.pointSizeF() * scale);
    }
    // Hinting rounds each letter's advance to whole pixels of the size it is drawn at, so a word
    // would grow or shrink against its control from one scale to the next; unhinted it keeps the
    // proportions it has on the device.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

void setDeviceFont(QWidget* widget, const QFont& font) {
    if (!widget) return;
    widget->setProperty(kDeviceFont, QVariant::fromValue(font));
    widget->setFont(scaledFont(font));
}

QFont deviceFont(const QWidget* widget) {
    if (!widget) return QFont();
    const QVariant font = widget->property(kDeviceFont);
    return font.isValid() ? font.value<QFont>() : widget->font();
}

void whenRescaled(QObject* owner, std::function<void()> action) {
    rescaleActions.emplace_back(owner, std::move(action));
}

void rescaleDevice(double newScale) {
    scale = newScale > 0 ? newScale : 1.0;
    if (root) placeAgain(root);
    // Actions may add others (a picture shown again): walk by index over what is there now.
    for (std::size_t i = 0; i < rescaleActions.size(); ++i) {
        if (!rescaleActions[i].first) continue;
        const std::function<void()> action = rescaleActions[i].second;
        action();
    }
    rescaleActions.erase(std::remove_if(rescaleActions.begin(), rescaleActions.end(),
                                        [](const auto& entry) { return entry.first.isNull(); }),
                         rescaleActions.end());
    refreshSurfaces();
}

} // namespace platform::ui
