// Start-up of the program itself: main as the program's own (app/main.cpp), with the shipped
// catalogue opened, ended right after the main menu's first paint; and the peak memory of the
// process. Prints "menu first_paint_ms=... max_rss_kb=...".
#include <sys/resource.h>

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <string>

#include "app/main_menu.h"
#include "platform/data/ado.h"
#include "platform/shell/device.h"
#include "platform/ui/hooks.h"
#include "resources/resources.h"

namespace {

using Clock = std::chrono::steady_clock;
Clock::time_point started;
double firstPaintMs = -1;

// The first paint while the main menu is open ends it, as the yardsticks quit after theirs. The
// stamp is taken once that paint is done, as the yardstick takes its own at the end of its paint.
class FirstPaint : public QObject {
  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && firstPaintMs < 0 && platform::activeDialog()) {
            watched->event(event); // the paint itself, before the stamp
            firstPaintMs = std::chrono::duration<double, std::milli>(Clock::now() - started).count();
            QTimer::singleShot(1, [] { EndDialog(platform::activeDialog(), 1); });
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

int entry(HINSTANCE module, HINSTANCE previous, LPWSTR commandLine, int show) {
    static FirstPaint firstPaint;
    qApp->installEventFilter(&firstPaint);
    return WinMain(module, previous, commandLine, show);
}

} // namespace

int main(int argc, char** argv) {
    started = Clock::now();
    // The program finds its catalogue next to itself; here that is the built program's folder.
    const std::string program = TALVINO_PROGRAM;
    platform::overrideModuleFileName(std::u16string(program.begin(), program.end()).c_str());
    ado::setBusyHook(platform::showPendingDrawing);
    const int status = platform::runDevice(argc, argv, talvinoModule(), entry);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("menu first_paint_ms=%.1f max_rss_kb=%ld\n", firstPaintMs, usage.ru_maxrss);
    return status;
}
