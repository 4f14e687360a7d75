// The test driver: works screens the way a user does (taps, typing, choosing items, tabs),
// answers message boxes, and reads back what the screen shows. Every action goes through real
// Qt input events on the real widgets, so the controls' own notification paths run.
//
// Two ways to run a screen:
//   * modeless:  HWND dlg = driver.open(module, 126, SearchFormProc); ... driver.close(dlg);
//   * the real modal flow: queue steps with onDialog(templateId or caption, step) and start the
//     modal call (driver.runModal(...) or the program's own code). A step runs, from the event
//     loop, when a matching dialog has become the active one; steps run in the order queued, each
//     once. A step may tap something that opens another modal dialog: the next step then runs
//     inside that dialog's loop. If a modal dialog stays active for `stepTimeoutMs` without a
//     step to run, the driver reports a failure and ends the open modal dialogs, so a test
//     never hangs.
//
// Message boxes never show while a Driver exists: each is recorded (owner, caption, text, type)
// and answered with the next queued answer (answerNext), or IDOK when nothing is queued.
//
// Actions return false and add a test failure when the control is missing, hidden or disabled:
// a user could not do them either. Coordinates are client coordinates of the dialog unless the
// name says device (the 240 x 320 device screen).
#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/ui/hooks.h"
#include "platform/ui/windows.h"

class QWidget;
class QTimer;

namespace platform::testing {

struct MessageBoxRecord {
    HWND owner;
    std::u16string caption;
    std::u16string text;
    UINT type;
    int answer;
};

struct TreeItemInfo {
    std::u16string label;
    LPARAM data = 0;
    bool expanded = false;
    bool selected = false;
    std::vector<TreeItemInfo> children;
};

enum class ScrollAction { LineLeft, LineRight, PageLeft, PageRight, Home, End };

class Driver {
  public:
    Driver();
    ~Driver(); // closes the dialogs it opened modelessly, removes its hooks
    Driver(const Driver&) = delete;
    Driver& operator=(const Driver&) = delete;

    // ---- Opening screens ----
    HWND open(HINSTANCE module, int templateId, DLGPROC proc, HWND parent = nullptr, LPARAM initParam = 0);
    void close(HWND dialog); // WM_DESTROY, then the dialog and its controls are destroyed
    INT_PTR runModal(HINSTANCE module, int templateId, DLGPROC proc, HWND parent = nullptr,
                     LPARAM initParam = 0);

    // ---- Steps of a modal flow ----
    void onDialog(int templateId, std::function<void(HWND)> step);
    void onDialog(const std::u16string& caption, std::function<void(HWND)> step);
    std::size_t pendingSteps() const { return steps_.size(); }
    int stepTimeoutMs = 20000;

    // ---- Acting ----
    bool tap(HWND dialog, int id);              // a click in the middle of the control itself
    bool tapAt(HWND dialog, int x, int y);      // whatever lies at that point of the dialog
    bool tapDevice(int x, int y);               // at a point of the device screen
    bool tapDone();                             // the "ok" button of the title bar
    // Closes the desktop window as the window manager does (its close button, Alt+F4). It does
    // not wait: the program's end runs from the event loop.
    bool closeDeviceWindow();
    bool stylusDown(HWND dialog, int x, int y); // press, move (with the stylus down) and lift
    bool stylusMove(HWND dialog, int x, int y);
    bool stylusUp(HWND dialog, int x, int y);
    bool type(HWND dialog, int id, const std::u16string& text); // taps the edit, then types
    bool typeKeys(const std::u16string& text);                  // into whatever has the focus
    // As the system's on-screen keyboard types: taps the edit, then each character is composed
    // (preedit) and committed through input-method events to the focus object.
    bool typeWithInputMethod(HWND dialog, int id, const std::u16string& text);
    bool pressKey(HWND dialog, int id, int qtKey);              // one key (Qt::Key) on a control
    // One key of a physical keyboard (Qt::Key, with Shift and the like) on whatever has the focus.
    bool pressKey(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    bool chooseItem(HWND dialog, int id, int index); // combo box (drop down, pick) or list box (tap)
    bool chooseItem(HWND dialog, int id, const std::u16string& text);
    bool selectTreeItem(HWND dialog, int id, const std::vector<std::u16string>& labels); // path of labels
    bool expandTreeItem(HWND dialog, int id, const std::vector<std::u16string>& labels);
    bool selectTab(HWND dialog, int id, int index);
    bool scroll(HWND dialog, int id, ScrollAction action);
    bool dragThumb(HWND dialog, int id, int position); // drags the thumb to where `position` lies, lifts
    bool toggleInputPanel();                           // taps the input-panel button
    bool typeOnInputPanel(const std::u16string& text); // taps the panel's keys (shift for capitals)

    // Runs the event loop: for `ms` milliseconds, or until `done` holds (false after timeoutMs).
    void pump(int ms = 0);
    bool waitFor(const std::function<bool()>& done, int timeoutMs = 5000);

    // ---- Message boxes ----
    void answerNext(int answer); // queued answers, used in order
    const std::vector<MessageBoxRecord>& messageBoxes() const { return boxes_; }
    void clearMessageBoxes() { boxes_.clear(); }

    // ---- Reading ----
    HWND activeDialog() const { return platform::activeDialog(); }
    HWND item(HWND dialog, int id) const { return GetDlgItem(dialog, id); }
    std::u16string text(HWND window) const;
    std::u16string text(HWND dialog, int id) const { return text(GetDlgItem(dialog, id)); }
    bool visible(HWND dialog, int id) const; // shown on screen: itself and every parent shown
    bool visible(HWND window) const;
    bool enabled(HWND dialog, int id) const;
    bool checked(HWND dialog, int id) const;
    std::vector<std::u16string> items(HWND dialog, int id) const; // list box or combo box
    int selectedIndex(HWND dialog, int id) const;                 // -1 when none
    std::vector<TreeItemInfo> treeItems(HWND dialog, int id) const;
    std::u16string selectedTreeLabel(HWND dialog, int id) const;
    std::vector<std::u16string> tabs(HWND dialog, int id) const;
    int currentTab(HWND dialog, int id) const;
    int scrollPosition(HWND dialog, int id) const { return GetScrollPos(GetDlgItem(dialog, id), SB_CTL); }
    QRect rect(HWND dialog, int id) const; // in the dialog's client coordinates
    QWidget* widget(HWND window) const;
    QWidget* widget(HWND dialog, int id) const { return widget(GetDlgItem(dialog, id)); }
    QImage grab(HWND window) const;                // the window as drawn, at scale 1
    QColor pixel(HWND window, int x, int y) const; // client coordinates of that window
    QColor devicePixel(int x, int y) const;        // device screen coordinates
    QImage grabDevice(int scale = 1) const;
    bool saveScreen(const QString& path, int scale = 1) const;
    std::u16string deviceCaption() const; // the caption shown in the title bar
    bool doneButtonShown() const;
    bool inputPanelShown() const;

  private:
    struct Step {
        int templateId;
        std::u16string caption;
        bool byCaption;
        std::function<void(HWND)> run;
    };
    void activated(HWND dialog);
    bool runnable(HWND dialog) const;
    void armWatchdog(HWND dialog);
    QWidget* usable(HWND dialog, int id, const char* action) const;

    std::deque<Step> steps_;
    std::vector<HWND> opened_;
    std::deque<int> answers_;
    std::vector<MessageBoxRecord> boxes_;
    QTimer* watchdog_ = nullptr;
    HWND watched_ = nullptr;
    int runningSteps_ = 0;
};

} // namespace platform::testing
