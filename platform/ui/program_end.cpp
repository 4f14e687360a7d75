// The program's end from outside its screens, one step at a time from the event loop: a screen
// that ends returns to its opener's code, which runs before the next screen is asked to end.
// Differs from the platform: a device program is never closed from outside; here the desktop
// window, signals and the session can ask, and the answer is the path the done buttons take.
#include "platform/ui/program_end.h"

#include <QCoreApplication>
#include <QTimer>
#include <atomic>

#include "platform/ui/window.h"

namespace platform {
namespace {

std::atomic<bool> ending{false};
std::atomic<void (*)(bool)> endHook{nullptr};
static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<void (*)(bool)>::is_always_lock_free,
              "used from a signal handler");
bool stepQueued = false;

void queueStep();

// The topmost modal dialog that has not ended; null when none is left or one above is still
// unwinding its loop (its opener's code has yet to run).
ui::Window* nextToEnd(bool* unwinding) {
    const std::vector<ui::Window*> dialogs = ui::dialogStack();
    for (auto it = dialogs.rbegin(); it != dialogs.rend(); ++it) {
        ui::Window* dialog = *it;
        if (!dialog->modal) continue; // a dialog without a loop belongs to whoever made it
        if (dialog->ended) {
            if (dialog->loop) {
                *unwinding = true;
                return nullptr;
            }
            continue;
        }
        return dialog;
    }
    return nullptr;
}

void step() {
    stepQueued = false;
    if (!ending.load()) return;
    // A box still on screen: answered now; its caller goes on once its loop has returned.
    if (ui::messageBoxWidget()) {
        ui::answerOpenMessageBoxWithCancel();
        queueStep();
        return;
    }
    bool unwinding = false;
    ui::Window* dialog = nextToEnd(&unwinding);
    if (dialog) ui::endAsIfDone(dialog);
    if (dialog || unwinding) queueStep();
}

void queueStep() {
    if (stepQueued || !QCoreApplication::instance()) return;
    stepQueued = true;
    QTimer::singleShot(0, QCoreApplication::instance(), step);
}

} // namespace

void noteProgramEndRequested() {
    if (ending.exchange(true)) return;
    if (void (*hook)(bool) = endHook.load()) hook(true);
}

void endProgram() {
    noteProgramEndRequested();
    queueStep();
}

bool programEnding() {
    return ending.load();
}

void setProgramEndHook(void (*hook)(bool)) {
    endHook.store(hook);
}

void resetProgramEnd() {
    if (!ending.exchange(false)) return;
    if (void (*hook)(bool) = endHook.load()) hook(false);
}

namespace ui {

void continueProgramEnd() {
    if (ending.load()) queueStep();
}

void endAsIfDone(Window* dialog) {
    const HWND handle = dialog;
    sendObserved(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    // A screen whose done command does not end it is ended all the same: the program is ending.
    if (Window* still = live(handle); still && !still->ended) EndDialog(handle, 0);
}

} // namespace ui
} // namespace platform
