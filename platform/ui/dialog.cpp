// Dialogs from templates and their modal loops. Differs from the platform: dialogs are child
// widgets of the device's dialog area, not top-level windows; "modal" means that an input gate
// lets only the topmost dialog (or message box) take stylus and keys.
#include <QApplication>
#include <QEventLoop>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHash>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "platform/gdi/gdi_internal.h"
#include "platform/shell/shell.h"
#include "platform/ui/hooks.h"
#include "platform/ui/program_end.h"
#include "platform/ui/window.h"

namespace platform::ui {
namespace {

std::vector<Window*> openDialogs;
Window* lastActive = nullptr;
QPointer<QWidget> boxWidget;
std::function<void(HWND)> activatedHook;
std::vector<std::function<void(HWND)>> oneShotSteps;

class DialogWidget : public QWidget {
  public:
    explicit DialogWidget(QWidget* parent) : QWidget(parent) {
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, Qt::white);
        setPalette(p);
        // A tap on the dialog itself leaves the focus where it is, as on the platform.
        setFocusPolicy(Qt::NoFocus);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        Window* window = windowOf(this);
        if (!window) return;
        const HWND handle = window;
        {
            PaintScope scope(window);
            sendObserved(window, WM_PAINT, 0, 0);
        }
        if (!live(handle)) return;
        paintSurface(this, window);
    }
    void mousePressEvent(QMouseEvent* event) override { stylus(WM_LBUTTONDOWN, event); }
    void mouseReleaseEvent(QMouseEvent* event) override { stylus(WM_LBUTTONUP, event); }
    void mouseMoveEvent(QMouseEvent* event) override { stylus(WM_MOUSEMOVE, event); }

  private:
    void stylus(UINT msg, QMouseEvent* event) {
        Window* window = windowOf(this);
        if (!window || event->button() == Qt::RightButton) return;
        const QPoint p = deviceOffset(this, event->position());
        sendObserved(window, msg, msg == WM_MOUSEMOVE ? 0x0001 : (msg == WM_LBUTTONDOWN ? 0x0001 : 0),
                     MAKELPARAM(static_cast<WORD>(p.x()), static_cast<WORD>(p.y())));
        event->accept();
    }
};

bool insideWidget(const QObject* object, const QWidget* ancestor) {
    for (auto* w = qobject_cast<const QWidget*>(object); w; w = w->parentWidget())
        if (w == ancestor) return true;
    return false;
}

} // namespace

// What Tab reaches in a dialog or box, in template order.
std::vector<QWidget*> tabStops(QWidget* container) {
    std::vector<QWidget*> stops;
    for (QWidget* w = container->nextInFocusChain(); w && w != container; w = w->nextInFocusChain())
        if (insideWidget(w, container) && (w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled())
            stops.push_back(w);
    return stops;
}

namespace {

// Only the topmost dialog (or the message box above it) takes stylus and keys.
class InputGate : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* object, QEvent* event) override {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Wheel:
        case QEvent::Shortcut:
            break;
        default:
            return false;
        }
        if (!object->isWidgetType()) return false;
        noteInput(event);
        if (boxWidget) {
            // Keys that reach a control behind the box are lost, never acted on.
            if (!insideWidget(object, boxWidget)) return !isPopup(object);
            return moveFocus(boxWidget, event) || moveBetweenButtons(boxWidget, event);
        }
        Window* active = activeDialog();
        if (active && active->widget && insideWidget(object, active->widget)) {
            // A dropped list answers Tab and Escape itself (it closes first).
            if (isPopup(object)) return false;
            if (moveFocus(active->widget, event)) return true;
            if (escapeIsDone(active, event)) return true;
        }
        for (Window* dialog : openDialogs) {
            if (dialog == active || !dialog->widget) continue;
            if (insideWidget(object, dialog->widget)) return true;
        }
        return false;
    }

    // The focus never leaves an open message box: whatever takes it elsewhere gives it back.
    static void keepFocusInBox(QWidget* old, QWidget* now) {
        if (!boxWidget || !now || insideWidget(now, boxWidget) || isPopup(now)) return;
        QWidget* back = old && insideWidget(old, boxWidget) ? old : nullptr;
        if (!back) {
            const std::vector<QWidget*> stops = tabStops(boxWidget);
            back = stops.empty() ? nullptr : stops.front();
        }
        if (back) back->setFocus(Qt::OtherFocusReason);
    }

  private:
    // A key press shows the focus from then on; a tap hides it again.
    static void noteInput(QEvent* event) {
        if (event->type() == QEvent::KeyPress)
            setFocusCues(true);
        else if (event->type() == QEvent::MouseButtonPress)
            setFocusCues(false);
    }
    // Tab and Shift+Tab go round the tab stops of the dialog (or box) on top, in template order,
    // and never into a covered screen.
    static bool moveFocus(QWidget* container, QEvent* event) {
        if (event->type() != QEvent::KeyPress) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
        const bool backwards = key->key() == Qt::Key_Backtab ||
                               (key->key() == Qt::Key_Tab && (key->modifiers() & Qt::ShiftModifier));
        if (key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab) return false;
        step(tabStops(container), backwards, backwards ? Qt::BacktabFocusReason : Qt::TabFocusReason);
        return true;
    }
    // In a message box the arrow keys go from button to button, as on the device: Right and Down
    // to the next, Left and Up to the one before, round at the ends.
    static bool moveBetweenButtons(QWidget* box, QEvent* event) {
        if (event->type() != QEvent::KeyPress) return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool forwards = key == Qt::Key_Right || key == Qt::Key_Down;
        if (!forwards && key != Qt::Key_Left && key != Qt::Key_Up) return false;
        step(tabStops(box), !forwards, Qt::OtherFocusReason);
        return true;
    }
    static void step(const std::vector<QWidget*>& stops, bool backwards, Qt::FocusReason reason) {
        if (stops.empty()) return;
        const auto at = std::find(stops.begin(), stops.end(), QApplication::focusWidget());
        std::size_t next = 0;
        if (at == stops.end())
            next = backwards ? stops.size() - 1 : 0;
        else if (backwards)
            next = (static_cast<std::size_t>(at - stops.begin()) + stops.size() - 1) % stops.size();
        else
            next = (static_cast<std::size_t>(at - stops.begin()) + 1) % stops.size();
        stops[next]->setFocus(reason);
    }
    // Escape acts as the done button of the title bar ("ok") where the screen shows one.
    static bool escapeIsDone(Window* dialog, QEvent* event) {
        if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape)
            return false;
        if (!(dialog->shellFlags & SHIDIF_DONEBUTTON)) return false;
        sendObserved(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return true;
    }
    static bool isPopup(QObject* object) {
        auto* widget = qobject_cast<QWidget*>(object);
        return widget && (widget->window()->windowFlags() & Qt::Popup) == Qt::Popup;
    }
};

void installGate() {
    static InputGate* gate = nullptr;
    if (!gate) {
        gate = new InputGate(qApp);
        qApp->installEventFilter(gate);
        QObject::connect(qApp, &QApplication::focusChanged, gate, &InputGate::keepFocusInBox);
    }
}

int mulDiv(int value, int numerator, int denominator) {
    return static_cast<int>(std::lround(static_cast<double>(value) * numerator / denominator));
}

Window* buildDialog(HINSTANCE module, LPCDLGTEMPLATEW tmpl, HWND ownerHandle, DLGPROC proc) {
    if (!tmpl || !qApp) return nullptr;
    installGate();
    installAccessibility();
    QWidget* area = shellHost() ? shellHost()->dialogArea() : nullptr;
    auto* widget = new DialogWidget(area);
    widget->hide();
    const QFont font = templateFont(tmpl->fontFace, tmpl->pointSize);
    setDeviceFont(widget, font);
    Window* dialog = createWindow(Kind::Dialog, u"Dialog", nullptr, widget);
    dialog->owner = live(ownerHandle);
    dialog->style = tmpl->style;
    dialog->dlgProc = proc;
    dialog->module = module;
    dialog->templateId = tmpl->id;
    dialog->text = tmpl->caption ? std::u16string(tmpl->caption) : std::u16string();
    dialog->visible = false;
    dialogUnitsFor(font, &dialog->baseX, &dialog->baseY);
    setDeviceGeometry(widget, QRect(0, 0, mulDiv(tmpl->cx, dialog->baseX, 4), mulDiv(tmpl->cy, dialog->baseY, 8)));
    widget->setAccessibleName(toQString(dialog->text));
    for (int i = 0; i < tmpl->itemCount; ++i) {
        Window* control = createControl(dialog, tmpl->items[i]);
        // The first control of a template lies on top.
        if (control && control->widget) control->widget->lower();
    }
    finishControls(dialog);
    openDialogs.push_back(dialog);
    return dialog;
}

void fireActivated(HWND handle);

// WM_INITDIALOG names the control that would get the focus by default.
HWND firstTabStop(Window* dialog) {
    for (Window* control : dialog->children)
        if ((control->style & WS_TABSTOP) && control->visible && !(control->style & WS_DISABLED))
            return control;
    return nullptr;
}

void showDialog(Window* dialog) {
    if (!live(dialog) || dialog->ended || !dialog->widget) return;
    hideCoveredControls(dialog);
    dialog->visible = true;
    dialog->shownOnce = true;
    dialog->widget->show();
    dialog->widget->raise();
    dialogStackChanged();
}

void finishDialog(Window* dialog) {
    const HWND handle = dialog;
    SendMessageW(handle, WM_DESTROY, 0, 0);
    openDialogs.erase(std::remove(openDialogs.begin(), openDialogs.end(), dialog), openDialogs.end());
    if (live(handle)) destroyWindow(dialog);
    if (lastActive == dialog) lastActive = nullptr;
    dialogStackChanged();
    if (Window* active = activeDialog()) {
        const HWND activeHandle = active;
        QTimer::singleShot(0, qApp, [activeHandle] { fireActivated(activeHandle); });
    }
}

void fireActivated(HWND handle) {
    if (!live(handle) || activeDialog() != handle) return;
    // A dialog above that is still unwinding its loop: its opener is active once the call returned.
    for (Window* dialog : openDialogs)
        if (dialog->ended && dialog->loop) return;
    if (activatedHook) {
        auto hook = activatedHook;
        hook(handle);
    }
    if (!oneShotSteps.empty() && live(handle)) {
        auto steps = std::move(oneShotSteps);
        oneShotSteps.clear();
        for (auto& step : steps)
            step(handle);
    }
}

} // namespace

QFont templateFont(LPCWSTR face, int pointSize) {
    platform::gdi::registerDeviceFonts();
    QString family = toQString(face);
    if (family.isEmpty() || family == QLatin1String("MS Sans Serif") ||
        family == QLatin1String("MS Shell Dlg") || family == QLatin1String("Tahoma")) {
        family = platform::gdi::deviceFontFamily(); // known without asking the font database
    } else {
        static QHash<QString, QString> available; // the font list is long; ask once per face
        auto known = available.find(family);
        if (known == available.end())
            known = available.insert(
                family, QFontDatabase::hasFamily(family) ? family : QStringLiteral("DejaVu Sans"));
        family = *known;
    }
    QFont font(family);
    // Points at the device's 96 dots per inch, as the platform's character height.
    font.setPixelSize(std::max(1, mulDiv(pointSize > 0 ? pointSize : 8, 96, 72)));
    // As the fonts the drawing layer makes, so that a size and weight needs one font engine.
    font.setStyleStrategy(QFont::PreferAntialias);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

void dialogUnitsFor(const QFont& font, int* baseX, int* baseY) {
    const QFontMetrics metrics(font);
    const int width =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    *baseX = (width / 26 + 1) / 2;
    // The platform's character cell: the font's Windows ascent plus descent, each rounded.
    const platform::gdi::CellMetrics cell = platform::gdi::cellMetrics(font.family(), font.weight());
    const int pixels = font.pixelSize();
    const int height =
        pixels > 0 ? static_cast<int>(std::lround(cell.ascent * pixels) + std::lround(cell.descent * pixels))
                   : metrics.height();
    *baseY = std::max(1, height);
}

// A control that another one above it covers whole cannot be seen: it is no tab stop and no
// screen reader reads it (the platform left it to Tab and readers; the device user never met it).
// The program still sees it as visible.
void hideCoveredControls(Window* dialog) {
    const std::vector<Window*>& controls = dialog->children;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        Window* control = controls[i];
        if (!control->widget || !control->visible) continue;
        const QRect own = control->widget->geometry();
        bool covered = false;
        for (std::size_t above = 0; above < i && !covered; ++above) {
            Window* other = controls[above]; // the first control of a template lies on top
            if (!other->widget || !other->visible || other->kind == Kind::Static) continue;
            covered = other->widget->geometry().adjusted(-2, -2, 2, 2).contains(own);
        }
        if (control->widget->isHidden() != covered) control->widget->setVisible(!covered);
    }
}

std::vector<Window*> dialogStack() {
    return openDialogs;
}

Window* activeDialog() {
    for (auto it = openDialogs.rbegin(); it != openDialogs.rend(); ++it) {
        Window* dialog = *it;
        if (dialog->shownOnce && dialog->visible && !dialog->ended) return dialog;
    }
    return nullptr;
}

void dialogStackChanged() {
    Window* active = activeDialog();
    if (active != lastActive) {
        if (live(lastActive) && lastActive->widget) {
            QWidget* focus = QApplication::focusWidget();
            if (focus && insideWidget(focus, lastActive->widget)) lastActive->savedFocus = focus;
        }
        lastActive = active;
        if (active && active->widget) {
            active->widget->show();
            active->widget->raise();
            // A screen opens with the focus where it put it, else on its first tab stop, as the
            // device's dialog manager gives it when the screen is activated.
            const std::vector<QWidget*> stops = tabStops(active->widget);
            if (active->savedFocus)
                active->savedFocus->setFocus(Qt::OtherFocusReason);
            else if (!stops.empty())
                stops.front()->setFocus(Qt::OtherFocusReason);
            else
                active->widget->setFocus(Qt::OtherFocusReason);
            const HWND handle = active;
            QTimer::singleShot(0, qApp, [handle] { fireActivated(handle); });
        }
    }
    // A covered screen is hidden, so that neither a screen reader nor Tab finds its controls.
    for (Window* dialog : openDialogs)
        if (dialog != active && dialog->widget && dialog->shownOnce && dialog->visible && !dialog->ended)
            dialog->widget->hide();
    if (shellHost()) shellHost()->activeDialogChanged();
}

LRESULT sendObserved(Window* dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!live(dialog)) return 0;
    if (dialog->observer) {
        auto observer = dialog->observer;
        observer(dialog, msg, wParam, lParam);
        if (!live(dialog)) return 0;
    }
    return SendMessageW(dialog, msg, wParam, lParam);
}

void fitControlsToHeight(Window* dialog, int height) {
    int bottom = 0;
    for (Window* child : dialog->children)
        if (child->widget) bottom = std::max(bottom, deviceGeometry(child->widget).bottom() + 1);
    if (bottom <= height || bottom <= 0) return;
    for (Window* child : dialog->children) {
        if (!child->widget) continue;
        const QRect r = deviceGeometry(child->widget);
        const int top = r.top() * height / bottom;
        const bool fixedSize = (child->style & 0x1F) == SS_BITMAP && child->kind == Kind::Static;
        const int h = fixedSize ? r.height() : std::max(1, r.height() * height / bottom);
        setDeviceGeometry(child->widget, QRect(r.left(), std::min(top, height - h), r.width(), h));
    }
}

void setMessageBoxWidget(QWidget* box) {
    installGate();
    boxWidget = box;
}
QWidget* messageBoxWidget() {
    return boxWidget;
}

} // namespace platform::ui

using namespace platform::ui;

HRSRC FindResourceW(HINSTANCE module, LPCWSTR name, LPCWSTR type) {
    if (!module || !IS_INTRESOURCE(name)) return nullptr;
    const int id = static_cast<int>(reinterpret_cast<std::uintptr_t>(name));
    if (type == RT_DIALOG) {
        for (int i = 0; i < module->dialogCount; ++i)
            if (module->dialogs[i] && module->dialogs[i]->id == id)
                return reinterpret_cast<HRSRC>(module->dialogs[i]);
    } else if (type == RT_BITMAP) {
        for (int i = 0; i < module->bitmapCount; ++i)
            if (module->bitmaps[i].id == id) return reinterpret_cast<HRSRC>(&module->bitmaps[i]);
    }
    return nullptr;
}

HGLOBAL LoadResource(HINSTANCE, HRSRC resource) {
    return resource;
}

INT_PTR DialogBoxIndirectParamW(HINSTANCE module, LPCDLGTEMPLATEW dialogTemplate, HWND parent, DLGPROC proc,
                                LPARAM initParam) {
    Window* dialog = buildDialog(module, dialogTemplate, parent, proc);
    if (!dialog) return -1;
    dialog->modal = true;
    const HWND handle = dialog;
    SendMessageW(handle, WM_INITDIALOG, reinterpret_cast<WPARAM>(firstTabStop(dialog)), initParam);
    if (!live(handle)) return -1;
    if (!dialog->ended) {
        showDialog(dialog);
        QEventLoop loop;
        dialog->loop = &loop;
        continueProgramEnd(); // an end asked for while this dialog was starting
        if (!dialog->ended) loop.exec(QEventLoop::DialogExec);
        dialog->loop = nullptr;
        // Only EndDialog ends the loop, unless the application itself quit underneath (the
        // desktop session ended): the screen then ends as its done button would end it.
        if (live(handle) && !dialog->ended) {
            platform::noteProgramEndRequested();
            endAsIfDone(dialog);
        }
    }
    const INT_PTR result = dialog->result;
    finishDialog(dialog);
    return result;
}

BOOL EndDialog(HWND handle, INT_PTR result) {
    Window* dialog = live(handle);
    if (!dialog || dialog->kind != Kind::Dialog) return FALSE;
    dialog->result = result;
    if (dialog->ended) return TRUE;
    dialog->ended = true;
    if (dialog->widget) dialog->widget->hide();
    if (dialog->loop) dialog->loop->exit(0);
    dialogStackChanged();
    return TRUE;
}

HWND platform::createDialog(HINSTANCE module, LPCDLGTEMPLATEW dialogTemplate, HWND parent, DLGPROC proc,
                            LPARAM initParam) {
    Window* dialog = buildDialog(module, dialogTemplate, parent, proc);
    if (!dialog) return nullptr;
    const HWND handle = dialog;
    SendMessageW(handle, WM_INITDIALOG, reinterpret_cast<WPARAM>(firstTabStop(dialog)), initParam);
    if (!live(handle)) return nullptr;
    if (!dialog->ended) showDialog(dialog);
    return handle;
}

void platform::destroyDialog(HWND handle) {
    Window* dialog = live(handle);
    if (!dialog || dialog->kind != Kind::Dialog) return;
    if (dialog->loop) {
        // A modal dialog ends through its own loop, which destroys it.
        EndDialog(handle, 0);
        return;
    }
    finishDialog(dialog);
}

void platform::setDialogActivatedHook(std::function<void(HWND)> hook) {
    activatedHook = std::move(hook);
}

void platform::callAfterNextDialogShown(std::function<void(HWND)> step) {
    oneShotSteps.push_back(std::move(step));
}

HWND platform::activeDialog() {
    return platform::ui::activeDialog();
}

std::vector<HWND> platform::openDialogs() {
    std::vector<HWND> result;
    for (Window* dialog : platform::ui::dialogStack())
        result.push_back(dialog);
    return result;
}

int platform::dialogTemplateId(HWND handle) {
    Window* dialog = live(handle);
    return dialog && dialog->kind == Kind::Dialog ? dialog->templateId : 0;
}

bool platform::isModalLoopRunning(HWND handle) {
    Window* dialog = live(handle);
    return dialog && dialog->loop != nullptr;
}

void platform::setMessageObserver(HWND handle, MessageObserver observer) {
    if (Window* dialog = live(handle)) dialog->observer = std::move(observer);
}
