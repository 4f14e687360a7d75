#include "search/wait_animation.h"

#include <atomic>

#include "platform/ui/hooks.h"
#include "search/search_form.h"

namespace {

// What the running thread works on. Written before the thread starts and not again until it has
// ended, so the thread never reads a field that the user-interface thread writes meanwhile (the
// form's window field is rewritten at every message).
struct AnimationTarget {
    SearchForm* form = nullptr;
    HWND picture = nullptr;
    HINSTANCE module = nullptr;
};
AnimationTarget target;

std::atomic<wait_animation::DrawFrame> frameDrawer{nullptr};
std::atomic<wait_animation::Pause> pause{nullptr};

void drawNextFrame(const AnimationTarget& what) {
    const int index = what.form->frameIndex.load();
    const wait_animation::DrawFrame draw = frameDrawer.load();
    (draw ? draw : wait_animation::drawFrame)(what.picture, what.module, kFirstAnimationFrame + index);
    what.form->frameIndex.store(index >= kAnimationFrameCount - 1 ? 0 : index + 1);
}

DWORD animate(void* parameter) {
    const AnimationTarget& what = *static_cast<const AnimationTarget*>(parameter);
    for (;;) {
        if (what.form->stopFlag.load() != 0) return 0;
        drawNextFrame(what);
        if (what.form->stopFlag.load() != 0) return 0;
        const wait_animation::Pause wait = pause.load();
        (wait ? wait : Sleep)(kAnimationPeriodMs);
    }
}

} // namespace

void wait_animation::setFrameDrawer(DrawFrame drawer) {
    frameDrawer.store(drawer);
}
void wait_animation::setPause(Pause wait) {
    pause.store(wait);
}

void wait_animation::drawFrame(HWND picture, HINSTANCE module, int bitmapId) {
    const HBITMAP bitmap = LoadBitmapW(module, MAKEINTRESOURCEW(bitmapId));
    if (!bitmap) return;
    BITMAP size{};
    GetObjectW(bitmap, sizeof size, &size);
    const HDC screen = GetDC(picture);
    if (screen) {
        const HDC memory = CreateCompatibleDC(screen);
        const HGDIOBJ previous = SelectObject(memory, bitmap);
        BitBlt(screen, 0, 0, size.bmWidth, size.bmHeight, memory, 0, 0, SRCCOPY);
        SelectObject(memory, previous);
        DeleteDC(memory);
        ReleaseDC(picture, screen);
    }
    DeleteObject(bitmap);
}

void endWaitAnimation(SearchForm& form) {
    if (!form.animationThread) return;
    form.stopFlag.store(1);
    WaitForSingleObject(form.animationThread, INFINITE);
    CloseHandle(form.animationThread);
    form.animationThread = nullptr;
    platform::setAccessibleBusy(target.picture, false);
}

void startWaitAnimation(SearchForm& form, HWND picture, HINSTANCE module) {
    endWaitAnimation(form);
    // Reset before the thread exists, so that a stop set by the results screen is never lost.
    form.frameIndex.store(0);
    form.stopFlag.store(0);
    target = AnimationTarget{&form, picture, module};
    form.animationThread = CreateThread(nullptr, 0, animate, &target, 0, nullptr);
    platform::setAccessibleBusy(picture, true);
}

void stopWaitAnimation(SearchForm& form) {
    form.stopFlag.store(1);
    platform::setAccessibleBusy(target.picture, false);
    // Without an open form (results opened from the main menu) there is nothing to hide.
    if (form.window && IsWindow(form.window)) ShowWindow(GetDlgItem(form.window, kAnimationControl), SW_HIDE);
}
