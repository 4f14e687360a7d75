// Start-up of the program itself: from main to the main menu shown on the device with the
// shipped catalogue opened, and the peak memory of the process. Prints "first_paint_ms=... max_rss_kb=...".
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "app/main_menu.h"
#include "platform/shell/device.h"
#include "platform/ui/hooks.h"
#include "resources/resources.h"

namespace {

using Clock = std::chrono::steady_clock;
Clock::time_point started;
double firstPaintMs = -1;

int entry(HINSTANCE module, HINSTANCE previous, LPWSTR commandLine, int show) {
    platform::callAfterNextDialogShown([](HWND menu) {
        firstPaintMs = std::chrono::duration<double, std::milli>(Clock::now() - started).count();
        EndDialog(menu, 1);
    });
    return WinMain(module, previous, commandLine, show);
}

} // namespace

int main(int argc, char** argv) {
    started = Clock::now();
    // The program finds its catalogue next to itself; here that is the built program's folder.
    const std::string program = TALVINO_PROGRAM;
    platform::overrideModuleFileName(std::u16string(program.begin(), program.end()).c_str());
    const int status = platform::runDevice(argc, argv, talvinoModule(), entry);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("menu first_paint_ms=%.1f max_rss_kb=%ld\n", firstPaintMs, usage.ru_maxrss);
    return status;
}
