// Layer-internal: the object behind every HWND, the registry of live windows and the small
// services that the controls, dialogs and shell share. Differs from the platform: a window is
// a Qt widget plus this record; there is no window class registry, the kind is fixed at creation.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <atomic>
#include <memory>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/gdi/surface.h"
#include "platform/ui/device_geometry.h"
#include "platform/ui/hooks.h"
#include "platform/ui/windows.h"

class QTimer;
class QAccessibleEvent;
class QPainter;
class QStyle;
class QEventLoop;

struct HWND__ {};

namespace platform::ui {

enum class Kind {
    Dialog,
    Static,
    PushButton,
    CheckBox,
    OwnerDrawButton,
    GroupBox,
    Edit,
    MultiLineEdit,
    ListBox,
    ComboBox,
    ScrollBar,
    TreeView,
    TabControl,
    Shell, // windows of the shell: input panel and its button
};

struct Window : HWND__ {
    Kind kind = Kind::Shell;
    std::u16string className;
    int id = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    Window* parent = nullptr; // the parent of a control; null for dialogs and shell windows
    Window* owner = nullptr;  // the owner of a dialog (what GetParent answers for it)
    std::vector<Window*> children;
    QPointer<QWidget> widget;
    Surface* surface = nullptr;
    // Set while the widget paints itself: drawing done during its own paint asks no new paint.
    std::shared_ptr<std::atomic<bool>> painting = std::make_shared<std::atomic<bool>>(false);
    HFONT font = nullptr;
    bool visible = true; // the WS_VISIBLE bit
    std::u16string text; // window text of statics, buttons, dialogs and shell windows
    std::map<UINT_PTR, QTimer*> timers;

    // What a screen reader learns beyond the widget's own: painted text, pressable areas, work.
    std::u16string accessibleText;
    std::vector<platform::AccessiblePart> accessibleParts;
    int accessiblePartsVersion = 0;
    int currentPart = 0; // the part the arrow keys have reached
    bool busy = false;
    HWND describes = nullptr; // a static: the control its text describes

    // Dialogs
    DLGPROC dlgProc = nullptr;
    HINSTANCE module = nullptr;
    int templateId = 0;
    int baseX = 6, baseY = 13; // dialog base units of the template font
    bool modal = false;
    bool ended = false;
    bool shownOnce = false;
    INT_PTR result = 0;
    QEventLoop* loop = nullptr;
    DWORD shellFlags = 0;                                     // SHInitDialog flags
    std::function<void(HWND, UINT, WPARAM, LPARAM)> observer; // sees what controls send to it
    QPointer<QWidget> savedFocus; // focus to give back when the dialog is active again

    // Shell windows answer through this.
    std::function<LRESULT(UINT, WPARAM, LPARAM)> proc;

    ~Window();
};

// Registry ----------------------------------------------------------------------------------
Window* live(HWND hwnd);                 // null for null, dead or unknown handles (any thread)
Window* windowOf(const QWidget* widget); // the window a widget stands for, or null
Window* createWindow(Kind kind, std::u16string className, Window* parent, QWidget* widget);
void destroyWindow(Window* window); // children first; deletes the widgets
std::vector<Window*> topLevelWindows();
// Sizes every surface to its widget again and repaints (after the device was rescaled).
void refreshSurfaces();

// Text helpers at the Qt boundary.
QString toQString(const std::u16string& text);
QString toQString(LPCWSTR text);
std::u16string toU16(const QString& text);
QString displayText(const std::u16string& text); // "\r\n", "\n\r", "\r" become one line break
LRESULT copyText(const std::u16string& text, WPARAM capacity, LPARAM buffer);

// Sends a notification from a control to its parent dialog (observer first, then the procedure).
LRESULT notifyParent(Window* control, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT sendCommand(Window* control, WORD code);
// Paints the window's surface over what the widget drew (call at the end of paintEvent).
void paintSurface(QWidget* widget, Window* window, QPoint offset = QPoint());
// Marks the window as painting itself while alive.
struct PaintScope {
    explicit PaintScope(Window* window);
    ~PaintScope();
    std::shared_ptr<std::atomic<bool>> flag;
};

// Dialogs ----------------------------------------------------------------------------------
QFont templateFont(LPCWSTR face, int pointSize);
void dialogUnitsFor(const QFont& font, int* baseX, int* baseY);
LRESULT controlMessage(Window* window, UINT msg, WPARAM wParam, LPARAM lParam);
Window* createControl(Window* dialog, const DLGITEMTEMPLATE& item);
void finishControls(Window* dialog); // after the last control: names, labels, keyboard reach
void installAccessibility();
// Tells screen readers of a change; a listener (for tests) hears it also where no reader runs.
void announce(QAccessibleEvent* event);
void setAnnouncementListener(std::function<void(QAccessibleEvent*)> listener);
// Has screen readers speak a text at once, wherever the focus is.
void speak(const QString& text);
// Tells the listener alone, of an event Qt has sent to screen readers itself.
void heard(QAccessibleEvent* event);
// While it lives, screen readers are told nothing: for news Qt sends that a reader would take
// in the wrong order or in a flood.
class ReadersUntold {
  public:
    ReadersUntold();
    ~ReadersUntold();
    ReadersUntold(const ReadersUntold&) = delete;
    ReadersUntold& operator=(const ReadersUntold&) = delete;

  private:
    void (*before_)(QAccessibleEvent*);
};
// A static whose text changed passes it on to the control it describes.
void describeFrom(Window* label);
void applyFont(Window* window, const QFont& font);
std::vector<Window*> dialogStack(); // open dialogs, opener first
Window* activeDialog();
void dialogStackChanged();
// Sends a message of the layer's own (stylus, paint) to a dialog, past its observer.
LRESULT sendObserved(Window* dialog, UINT msg, WPARAM wParam, LPARAM lParam);
// Squeezes the controls' vertical positions so that all of them fit into `height`.
void fitControlsToHeight(Window* dialog, int height);
// Hides (from the eye, Tab and readers, not from the program) controls that one above covers.
void hideCoveredControls(Window* dialog);
// What Tab reaches in a dialog or message box, in template order.
std::vector<QWidget*> tabStops(QWidget* container);
// Keyboard cues: from the first key press the focused control shows a focus frame; a tap hides it.
void setFocusCues(bool shown);
bool focusCuesShown();
void drawFocusFrame(QPainter& painter, const QRect& area); // the dotted frame of the focus
QStyle* withFocusCues(QStyle* base); // the device's style: no focus rectangles of its own
// Message boxes shown inside the device: the gate lets only the topmost box take input.
void setMessageBoxWidget(QWidget* box);
QWidget* messageBoxWidget();
// The program's end (program_end.h): answers the box on screen as its cancel choice would; ends
// a dialog as its done button does; goes on with an end that was asked for before a loop started.
void answerOpenMessageBoxWithCancel();
void endAsIfDone(Window* dialog);
void continueProgramEnd();

// The shell supplies where dialogs and message boxes live and hears about changes.
struct ShellHost {
    virtual ~ShellHost() = default;
    virtual QWidget* dialogArea() = 0;      // parent of dialog widgets (240 x 268)
    virtual void activeDialogChanged() = 0; // caption, done button, stacking
    virtual void sipChanged() {}
};
void setShellHost(ShellHost* host);
ShellHost* shellHost();

} // namespace platform::ui
