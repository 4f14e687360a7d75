// Layer-internal: the one transform between device pixels (the 240 x 320 screen the program
// knows) and the pixels of the window that shows it. Every widget of the device is placed and
// given its font in device pixels here; the widget gets the shown size, so Qt draws text and
// frames at that size and input, drawing and the accessibility bus all see real positions.
// A device pixel x covers the window pixels [edge(x), edge(x + 1)), so mapping a tap back with
// toDevice always lands on the device pixel drawn there, at any scale, whole or fractional.
#pragma once

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <functional>

class QObject;
class QWidget;

namespace platform::ui {

constexpr int kDeviceWidth = 240;
constexpr int kDeviceHeight = 320;

double deviceScale(); // window pixels per device pixel (1 unless the shell says otherwise)

int toWindow(int deviceCoordinate);          // the first window pixel of a device pixel
int toDevice(double windowCoordinate);       // the device pixel a window pixel shows
QRect toWindow(const QRect& deviceRect);     // edges mapped one by one
QPoint toWindow(const QPoint& devicePoint);  // the middle of the device pixel
QPoint toDevice(const QPointF& windowPoint); // a window point of the whole device

// Widgets below the device root, positioned in device pixels relative to their parent.
void setDeviceRoot(QWidget* root);
QWidget* deviceRoot();
void setDeviceGeometry(QWidget* widget, const QRect& deviceRect);
QRect deviceGeometry(const QWidget* widget); // what was set, else the widget's own mapped back
QSize deviceSize(const QWidget* widget);
QPoint devicePosition(const QWidget* widget); // the widget's top left on the device
// A point in a widget's own pixels as device pixels relative to the widget's top left.
QPoint deviceOffset(const QWidget* widget, const QPointF& local);
// A rectangle in device pixels relative to the widget, as the widget's own pixels.
QRect windowRectIn(const QWidget* widget, const QRect& deviceRect);

// Fonts sized in device pixels; the widget gets the font at the shown size.
QFont scaledFont(const QFont& deviceFont);
void setDeviceFont(QWidget* widget, const QFont& deviceFont);
QFont deviceFont(const QWidget* widget); // what was set, else the widget's own

// After a rescale, for what keeps its own sizes (a layout, a picture); dropped with `owner`.
void whenRescaled(QObject* owner, std::function<void()> action);

// Sets the scale and places and sizes every widget below the root again. What the widgets show
// stays as it is: only its size changes.
void rescaleDevice(double scale);

} // namespace platform::ui
