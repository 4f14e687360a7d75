// Windows and messages. Differs from the platform: SendMessageW is a plain call on the calling
// thread (the program only sends from the interface thread); handles of destroyed windows are
// never reused while the program runs long enough to notice; a window's surface outlives the
// window briefly, emptied, so that a worker thread still drawing into it does no harm.
#include "platform/ui/window.h"
#include "platform/ui/hooks.h"
#include "platform/ui/device_geometry.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QElapsedTimer>
#include <QPainter>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <deque>
#include <mutex>
#include <set>
#include <unordered_map>

namespace platform::ui {
namespace {

std::recursive_mutex registryMutex;
std::set<Window*> liveWindows;
std::unordered_map<const QWidget*, Window*> byWidget;
// Emptied surfaces of destroyed windows, kept a while for a worker still drawing into one.
struct DeadSurfaces : std::deque<Surface*> {
    ~DeadSurfaces() {
        for (Surface* surface : *this)
            delete surface;
    }
};
DeadSurfaces deadSurfaces;
ShellHost* host = nullptr;

// The surface has the widget's pixels (the screen's own where it has more) and draws in device
// pixels, so that what a device context draws is as sharp as the widget around it.
void sizeSurface(Window* window) {
    if (!window->widget) return;
    const qreal screenRatio = window->widget->devicePixelRatioF();
    const QSize size = (QSizeF(window->widget->size()) * screenRatio).toSize().expandedTo(QSize(1, 1));
    const qreal ratio = deviceScale() * screenRatio;
    std::lock_guard<std::mutex> lock(window->surface->mutex);
    window->surface->size = size;
    window->surface->ratio = ratio;
    QImage& old = window->surface->image;
    if (old.isNull()) return; // made when something first draws on it
    if (old.size() == size && qFuzzyCompare(old.devicePixelRatio(), ratio)) return;
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    {
        // Keep what was drawn where it still fits, enlarged or reduced with the device.
        QPainter painter(&image);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(QPointF(0, 0), old);
    }
    window->surface->image = image;
}

// Keeps a window's surface at its widget's size.
class SurfaceSizer : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Resize) {
            if (Window* window = windowOf(static_cast<QWidget*>(object))) sizeSurface(window);
        }
        return false;
    }
};

SurfaceSizer* surfaceSizer() {
    static SurfaceSizer* sizer = new SurfaceSizer(qApp);
    return sizer;
}

} // namespace

Window::~Window() = default;

Window* live(HWND hwnd) {
    if (!hwnd) return nullptr;
    std::lock_guard<std::recursive_mutex> lock(registryMutex);
    auto* window = static_cast<Window*>(hwnd);
    return liveWindows.count(window) ? window : nullptr;
}

Window* windowOf(const QWidget* widget) {
    std::lock_guard<std::recursive_mutex> lock(registryMutex);
    auto it = byWidget.find(widget);
    return it == byWidget.end() ? nullptr : it->second;
}

// Windows whose surface a device context changed since they last painted: what a worker thread
// drew while the interface thread is busy, shown by showPendingDrawing.
std::mutex pendingMutex;
std::set<HWND> pendingDrawing;

Window* createWindow(Kind kind, std::u16string className, Window* parent, QWidget* widget) {
    auto* window = new Window;
    window->kind = kind;
    window->className = std::move(className);
    window->parent = parent;
    window->widget = widget;
    window->surface = new Surface;
    const HWND handle = window;
    auto painting = window->painting;
    window->surface->repaint = [handle, painting] {
        if (painting->load() && QThread::currentThread() == qApp->thread()) return;
        {
            std::lock_guard<std::mutex> lock(pendingMutex);
            pendingDrawing.insert(handle);
        }
        // Posted to the application object, which lives longer than any window.
        QMetaObject::invokeMethod(
            qApp,
            [handle] {
                if (Window* target = live(handle))
                    if (target->widget) target->widget->update();
            },
            Qt::QueuedConnection);
    };
    {
        std::lock_guard<std::recursive_mutex> lock(registryMutex);
        liveWindows.insert(window);
        if (widget) byWidget[widget] = window;
    }
    if (parent) parent->children.push_back(window);
    if (widget) {
        widget->installEventFilter(surfaceSizer());
        sizeSurface(window);
    }
    return window;
}

void destroyWindow(Window* window) {
    if (!live(window)) return;
    for (Window* child : std::vector<Window*>(window->children))
        destroyWindow(child);
    for (auto& [id, timer] : window->timers) {
        timer->stop();
        timer->deleteLater();
    }
    window->timers.clear();
    if (window->parent) {
        auto& siblings = window->parent->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), window), siblings.end());
    }
    QPointer<QWidget> widget = window->widget;
    {
        std::lock_guard<std::recursive_mutex> lock(registryMutex);
        liveWindows.erase(window);
        if (widget) byWidget.erase(widget.data());
        {
            std::lock_guard<std::mutex> surfaceLock(window->surface->mutex);
            window->surface->image = QImage();
            window->surface->size = QSize();
            window->surface->repaint = [] {};
        }
        deadSurfaces.push_back(window->surface);
        while (deadSurfaces.size() > 4096) {
            delete deadSurfaces.front();
            deadSurfaces.pop_front();
        }
    }
    const bool ownsWidget = !window->parent || !window->parent->widget ||
                            (widget && widget->parentWidget() != window->parent->widget.data());
    delete window;
    // A child's widget goes with its parent's widget; the top of the subtree goes itself.
    if (widget && ownsWidget) delete widget.data();
}

std::vector<Window*> topLevelWindows() {
    std::lock_guard<std::recursive_mutex> lock(registryMutex);
    std::vector<Window*> result;
    for (Window* window : liveWindows)
        if (!window->parent) result.push_back(window);
    return result;
}

void refreshSurfaces() {
    std::vector<Window*> windows;
    {
        std::lock_guard<std::recursive_mutex> lock(registryMutex);
        windows.assign(liveWindows.begin(), liveWindows.end());
    }
    for (Window* window : windows) {
        if (!window->widget) continue;
        sizeSurface(window);
        window->widget->update();
    }
}

void setShellHost(ShellHost* shell) {
    host = shell;
}
ShellHost* shellHost() {
    return host;
}

QString toQString(const std::u16string& text) {
    return QString::fromStdU16String(text);
}
QString toQString(LPCWSTR text) {
    return text ? QString::fromUtf16(text) : QString();
}
std::u16string toU16(const QString& text) {
    return text.toStdU16String();
}

QString displayText(const std::u16string& text) {
    QString out;
    out.reserve(static_cast<int>(text.size()));
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'\n') {
            out += QChar(u'\n');
            if (i + 1 < text.size() && text[i + 1] == u'\r') ++i;
        } else if (c == u'\r') {
            out += QChar(u'\n');
            if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        } else {
            out += QChar(c);
        }
    }
    return out;
}

LRESULT copyText(const std::u16string& text, WPARAM capacity, LPARAM buffer) {
    auto* out = reinterpret_cast<char16_t*>(buffer);
    if (!out || capacity == 0) return 0;
    const std::size_t length = std::min<std::size_t>(text.size(), capacity - 1);
    text.copy(out, length);
    out[length] = u'\0';
    return static_cast<LRESULT>(length);
}

namespace {
LRESULT dispatch(Window* window, UINT msg, WPARAM wParam, LPARAM lParam);
}

LRESULT notifyParent(Window* control, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!live(control) || !control->parent) return 0;
    Window* parent = control->parent;
    if (parent->observer) {
        auto observer = parent->observer; // the observer may remove itself
        observer(parent, msg, wParam, lParam);
        if (!live(parent)) return 0;
    }
    return dispatch(parent, msg, wParam, lParam);
}

void paintSurface(QWidget* widget, Window* window, QPoint offset) {
    if (!window) return;
    QPainter painter(widget);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    std::lock_guard<std::mutex> lock(window->surface->mutex);
    const QImage& image = window->surface->image;
    // Pixel for pixel: the surface has the widget's own pixels. A surface nothing was drawn on is
    // clear, and a large one costs a frame more than everything else on the screen.
    if (!image.isNull() && window->surface->drawn)
        painter.drawImage(QRectF(QPointF(offset), QSizeF(image.size()) / widget->devicePixelRatioF()), image,
                          QRectF(image.rect()));
}

PaintScope::PaintScope(Window* window) : flag(window ? window->painting : nullptr) {
    if (flag) flag->store(true);
}
PaintScope::~PaintScope() {
    if (flag) flag->store(false);
}

LRESULT sendCommand(Window* control, WORD code) {
    return notifyParent(control, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(control->id), code),
                        reinterpret_cast<LPARAM>(static_cast<HWND>(control)));
}

namespace {

LRESULT dialogDefault(Window* dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SETTEXT:
        dialog->text = lParam ? std::u16string(reinterpret_cast<LPCWSTR>(lParam)) : std::u16string();
        if (host) host->activeDialogChanged();
        return TRUE;
    case WM_GETTEXT:
        return copyText(dialog->text, wParam, lParam);
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(dialog->text.size());
    case WM_SETFONT:
        dialog->font = reinterpret_cast<HFONT>(wParam);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(dialog->font);
    default:
        return 0;
    }
}

LRESULT dispatch(Window* window, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (window->kind) {
    case Kind::Dialog: {
        LRESULT result = 0;
        if (window->dlgProc) result = window->dlgProc(window, msg, wParam, lParam);
        if (!live(window)) return result;
        switch (msg) {
        case WM_SETTEXT:
        case WM_GETTEXT:
        case WM_GETTEXTLENGTH:
        case WM_SETFONT:
        case WM_GETFONT:
            return dialogDefault(window, msg, wParam, lParam);
        default:
            return result;
        }
    }
    case Kind::Shell:
        if (window->proc) return window->proc(msg, wParam, lParam);
        switch (msg) {
        case WM_SETTEXT:
            window->text = lParam ? std::u16string(reinterpret_cast<LPCWSTR>(lParam)) : std::u16string();
            return TRUE;
        case WM_GETTEXT:
            return copyText(window->text, wParam, lParam);
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(window->text.size());
        default:
            return 0;
        }
    default:
        return controlMessage(window, msg, wParam, lParam);
    }
}

// Where a window's top left lies on the device.
QPoint deviceOriginOf(Window* window) {
    return window->widget ? devicePosition(window->widget) : QPoint();
}

void fireTimer(HWND hwnd, UINT_PTR id, TIMERPROC proc) {
    if (!live(hwnd)) return;
    const DWORD now = GetTickCount();
    if (proc)
        proc(hwnd, WM_TIMER, id, now);
    else
        SendMessageW(hwnd, WM_TIMER, id, 0);
}

} // namespace

} // namespace platform::ui

using namespace platform::ui;

platform::Surface* platform::surfaceOf(HWND hwnd) {
    std::lock_guard<std::recursive_mutex> lock(registryMutex);
    Window* window = live(hwnd);
    return window ? window->surface : nullptr;
}

LRESULT SendMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* window = live(hwnd);
    if (!window) return 0;
    return dispatch(window, msg, wParam, lParam);
}

LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT msg, WPARAM wParam, LPARAM lParam) {
    return SendMessageW(GetDlgItem(dialog, id), msg, wParam, lParam);
}

HWND GetDlgItem(HWND dialog, int id) {
    Window* window = live(dialog);
    if (!window) return nullptr;
    for (Window* child : window->children)
        if (child->id == id) return child;
    return nullptr;
}

int GetDlgCtrlID(HWND hwnd) {
    Window* window = live(hwnd);
    return window ? window->id : 0;
}

HWND GetParent(HWND hwnd) {
    Window* window = live(hwnd);
    if (!window) return nullptr;
    return window->kind == Kind::Dialog ? window->owner : window->parent;
}

BOOL IsWindow(HWND hwnd) {
    return live(hwnd) ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND hwnd) {
    for (Window* window = live(hwnd); window; window = window->parent)
        if (!window->visible) return FALSE;
    return live(hwnd) ? TRUE : FALSE;
}

BOOL ShowWindow(HWND hwnd, int cmd) {
    Window* window = live(hwnd);
    if (!window) return FALSE;
    const bool was = window->visible;
    const bool show = cmd != SW_HIDE;
    window->visible = show;
    if (window->kind == Kind::Dialog && !window->shownOnce)
        return was ? TRUE : FALSE; // shown when its loop runs
    if (window->widget) window->widget->setVisible(show);
    if (window->parent && window->parent->kind == Kind::Dialog && was != show)
        hideCoveredControls(window->parent);
    if (window->kind == Kind::Shell && was != show && host) host->sipChanged();
    if (window->kind == Kind::Dialog) dialogStackChanged();
    return was ? TRUE : FALSE;
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
    Window* window = live(hwnd);
    if (!window || !window->widget) return FALSE;
    const bool wasDisabled = !window->widget->isEnabled();
    window->widget->setEnabled(enable != FALSE);
    if (enable)
        window->style &= ~WS_DISABLED;
    else
        window->style |= WS_DISABLED;
    return wasDisabled ? TRUE : FALSE;
}

BOOL SetWindowTextW(HWND hwnd, LPCWSTR text) {
    return live(hwnd) ? static_cast<BOOL>(SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)))
                      : FALSE;
}

int GetWindowTextW(HWND hwnd, LPWSTR buffer, int capacity) {
    if (!buffer || capacity <= 0) return 0;
    buffer[0] = u'\0';
    return static_cast<int>(
        SendMessageW(hwnd, WM_GETTEXT, static_cast<WPARAM>(capacity), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthW(HWND hwnd) {
    return static_cast<int>(SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text) {
    HWND item = GetDlgItem(dialog, id);
    return item ? SetWindowTextW(item, text) : FALSE;
}

UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR buffer, int capacity) {
    HWND item = GetDlgItem(dialog, id);
    if (!item) {
        if (buffer && capacity > 0) buffer[0] = u'\0';
        return 0;
    }
    return static_cast<UINT>(GetWindowTextW(item, buffer, capacity));
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
    HWND item = GetDlgItem(dialog, id);
    if (!item) return FALSE;
    SendMessageW(item, BM_SETCHECK, check, 0);
    return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
    return static_cast<UINT>(SendMessageW(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0));
}

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL) {
    Window* window = live(hwnd);
    if (!window || !window->widget) return FALSE;
    if (rect)
        window->widget->update(windowRectIn(
            window->widget, QRect(QPoint(rect->left, rect->top), QPoint(rect->right - 1, rect->bottom - 1))));
    else
        window->widget->update();
    if (auto* area = qobject_cast<QAbstractScrollArea*>(window->widget.data())) area->viewport()->update();
    return TRUE;
}

BOOL UpdateWindow(HWND hwnd) {
    Window* window = live(hwnd);
    if (!window || !window->widget) return FALSE;
    if (!window->widget->isVisible()) return TRUE;
    window->widget->repaint();
    if (auto* area = qobject_cast<QAbstractScrollArea*>(window->widget.data())) area->viewport()->repaint();
    return TRUE;
}

HWND SetFocus(HWND hwnd) {
    HWND previous = GetFocus();
    Window* window = live(hwnd);
    if (window && window->widget) {
        // Set before the screen shows: it is where the focus goes when the screen opens.
        Window* dialog = window->parent;
        if (dialog && dialog->kind == Kind::Dialog && !dialog->shownOnce) dialog->savedFocus = window->widget;
        window->widget->setFocus(Qt::OtherFocusReason);
    }
    return previous;
}

HWND GetFocus() {
    for (QWidget* widget = QApplication::focusWidget(); widget; widget = widget->parentWidget())
        if (Window* window = windowOf(widget)) return window;
    return nullptr;
}

BOOL GetClientRect(HWND hwnd, RECT* rect) {
    Window* window = live(hwnd);
    if (!window || !rect || !window->widget) return FALSE;
    // The device size less the frame, which Qt draws at the shown size.
    const QWidget* widget = window->widget;
    const QRect client = widget->contentsRect();
    const QSize size = deviceSize(widget);
    const int frameWidth = widget->width() - client.width();
    const int frameHeight = widget->height() - client.height();
    *rect = RECT{0, 0, std::max(0, size.width() - static_cast<int>(std::lround(frameWidth / deviceScale()))),
                 std::max(0, size.height() - static_cast<int>(std::lround(frameHeight / deviceScale())))};
    return TRUE;
}

BOOL GetWindowRect(HWND hwnd, RECT* rect) {
    Window* window = live(hwnd);
    if (!window || !rect || !window->widget) return FALSE;
    const QPoint origin = deviceOriginOf(window);
    const QSize size = deviceSize(window->widget);
    *rect = RECT{origin.x(), origin.y(), origin.x() + size.width(), origin.y() + size.height()};
    return TRUE;
}

int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count) {
    Window* source = live(from);
    Window* target = live(to);
    const QPoint origin = source ? deviceOriginOf(source) : QPoint(0, 0);
    const QPoint delta = target ? origin - deviceOriginOf(target) : origin;
    for (UINT i = 0; points && i < count; ++i) {
        points[i].x += delta.x();
        points[i].y += delta.y();
    }
    return static_cast<int>(MAKELONG(static_cast<WORD>(delta.x()), static_cast<WORD>(delta.y())));
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
    Window* window = live(hwnd);
    if (!window || !window->widget) return FALSE;
    const QSize before = deviceSize(window->widget);
    setDeviceGeometry(window->widget, QRect(x, y, std::max(0, width), std::max(0, height)));
    if (repaint) window->widget->update();
    if (window->kind == Kind::Dialog && before != deviceSize(window->widget))
        SendMessageW(hwnd, WM_SIZE, 0, MAKELPARAM(static_cast<WORD>(width), static_cast<WORD>(height)));
    return TRUE;
}

HWND FindWindowW(LPCWSTR className, LPCWSTR windowName) {
    for (Window* window : topLevelWindows()) {
        if (className && window->className != className) continue;
        if (windowName && window->text != windowName) continue;
        return window;
    }
    return nullptr;
}

void OutputDebugStringW(LPCWSTR text) {
    if (!text) return;
    const QByteArray bytes = QString::fromUtf16(text).toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
    std::fflush(stderr);
}

int SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw) {
    if (bar != SB_CTL) return FALSE;
    return static_cast<int>(SendMessageW(hwnd, redraw ? SBM_SETRANGEREDRAW : SBM_SETRANGE,
                                         static_cast<WPARAM>(minPos), static_cast<LPARAM>(maxPos)));
}

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw) {
    if (bar != SB_CTL) return 0;
    return static_cast<int>(SendMessageW(hwnd, SBM_SETPOS, static_cast<WPARAM>(pos), redraw));
}

int GetScrollPos(HWND hwnd, int bar) {
    if (bar != SB_CTL) return 0;
    return static_cast<int>(SendMessageW(hwnd, SBM_GETPOS, 0, 0));
}

// Timers ------------------------------------------------------------------------------------

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc) {
    Window* window = live(hwnd);
    if (!window) return 0;
    QTimer*& timer = window->timers[id];
    if (!timer) {
        timer = new QTimer;
        timer->setTimerType(Qt::PreciseTimer); // animations count on the period
    }
    timer->stop();
    QObject::disconnect(timer, &QTimer::timeout, nullptr, nullptr);
    QObject::connect(timer, &QTimer::timeout, [hwnd, id, proc] { platform::ui::fireTimer(hwnd, id, proc); });
    timer->start(static_cast<int>(std::max<UINT>(elapseMs, 1)));
    return id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
    Window* window = live(hwnd);
    if (!window) return FALSE;
    auto it = window->timers.find(id);
    if (it == window->timers.end()) return FALSE;
    it->second->stop();
    it->second->deleteLater(); // may be the timer whose procedure is running
    window->timers.erase(it);
    return TRUE;
}

void platform::showPendingDrawing() {
    if (!qApp || QThread::currentThread() != qApp->thread()) return;
    std::set<HWND> windows;
    {
        std::lock_guard<std::mutex> lock(platform::ui::pendingMutex);
        windows.swap(platform::ui::pendingDrawing);
    }
    // Only the windows drawn into are painted; no input is processed, so no procedure runs here
    // that the busy interface thread is not expecting.
    for (HWND handle : windows)
        if (platform::ui::Window* window = platform::ui::live(handle))
            if (window->widget && window->widget->isVisible()) window->widget->repaint();
}
