// The device shown in a tablet's window of 1080 x 1440 pixels (scale 4.5): one repaint of the whole
// window with the main menu and with the results screen (goal: at most 8 ms of CPU a frame), and a
// resize that rescales the device and repaints it (the window dragged between two sizes). Memory:
// the process's resident size with the main menu shown at scale 1 and then at scale 3, next to the
// bound of 1.3 times the first plus the window's own pixels (counters "rss_*_kb", "bound_kb").
//
//   bench_repaint [--benchmark_filter=...]
#include <QApplication>
#include <QImage>
#include <QWidget>
#include <benchmark/benchmark.h>

#include <fstream>
#include <unistd.h>

#include "app/main_menu.h"
#include "db/database.h"
#include "platform/shell/device_window.h"
#include "platform/ui/hooks.h"
#include "platform/win32.h"
#include "resources/dialog_ids.h"
#include "resources/resources.h"
#include "results/results_screen.h"
#include "results/results_state.h"
#include "screen/application.h"
#include "screen/globals.h"
#include "tests/support/test_catalogue.h"
#include "bench/program_benchmarks.h"

namespace {

HWND mainMenu = nullptr; // open for the whole run: closing it ends the program

HWND openDialog(int templateId, DLGPROC procedure) {
    const auto* dialogTemplate = static_cast<LPCDLGTEMPLATEW>(LoadResource(
        talvinoModule(), FindResourceW(talvinoModule(), MAKEINTRESOURCEW(templateId), RT_DIALOG)));
    HWND dialog = platform::createDialog(talvinoModule(), dialogTemplate, nullptr, procedure, 0);
    QApplication::processEvents();
    return dialog;
}

// The window at a size, the device fitted into it, everything laid out.
void showAt(QSize size) {
    platform::setDeviceScale(0);
    platform::deviceHostWindow()->resize(size);
    QApplication::processEvents();
}

// One frame of the whole window, painted as the window system's backing store is painted.
void repaintWindow() {
    QWidget* window = platform::deviceHostWindow();
    static QImage frame;
    if (frame.size() != window->size()) frame = QImage(window->size(), QImage::Format_ARGB32_Premultiplied);
    window->render(&frame);
    benchmark::DoNotOptimize(frame.bits());
}

long residentKilobytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

// Resident memory with the main menu shown at 1, then at 3 (720 x 960 window pixels); first, before
// the larger windows of the other benchmarks have grown the heap.
void BM_MemoryAtScaleThree(benchmark::State& state) {
    long atOne = 0, atThree = 0;
    for (auto _ : state) {
        platform::setDeviceScale(1);
        repaintWindow();
        atOne = residentKilobytes();
        platform::setDeviceScale(3);
        repaintWindow();
        atThree = residentKilobytes();
    }
    const long windowKilobytes = 720L * 960L * 4 / 1024;
    state.counters["rss_scale1_kb"] = static_cast<double>(atOne);
    state.counters["rss_scale3_kb"] = static_cast<double>(atThree);
    state.counters["bound_kb"] = 1.3 * static_cast<double>(atOne) + static_cast<double>(windowKilobytes);
    platform::setDeviceScale(1);
}
BENCHMARK(BM_MemoryAtScaleThree)->Iterations(1)->Unit(benchmark::kMillisecond);

void repaintFrames(benchmark::State& state) {
    showAt(QSize(1080, 1440));
    for (auto _ : state)
        repaintWindow();
    state.counters["scale"] = platform::deviceScale();
}

void BM_RepaintMainMenuAt1080x1440(benchmark::State& state) {
    repaintFrames(state);
}
BENCHMARK(BM_RepaintMainMenuAt1080x1440)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

void BM_RepaintResultsAt1080x1440(benchmark::State& state) {
    g_database->queryBuffer[0] = u'\0';
    const HWND results = openDialog(kResultsDialog, ResultsProc);
    repaintFrames(state);
    platform::destroyDialog(results);
}
BENCHMARK(BM_RepaintResultsAt1080x1440)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

// The window dragged between two sizes: each frame rescales every control and repaints.
void BM_ResizeMainMenuAroundTablet(benchmark::State& state) {
    bool wide = false;
    for (auto _ : state) {
        showAt(wide ? QSize(1080, 1440) : QSize(1000, 1380));
        repaintWindow();
        wide = !wide;
    }
}
BENCHMARK(BM_ResizeMainMenuAroundTablet)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);


} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    platform::prepareDevice();
    {
        TestCatalogue catalogue;
        catalogue.addSampleContent();
        catalogue.installAsProgramCatalogue();
        g_application->instance = talvinoModule();
        g_database->allocateQueryBuffer();
        g_database->openCatalogue();
        mainMenu = openDialog(kMainMenuDialog, MainMenuProc);
        runProgramBenchmarks(argc, argv);
    }
    platform::destroyDeviceWindow();
    return 0;
}
