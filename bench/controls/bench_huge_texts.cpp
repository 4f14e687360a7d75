// Screens over the largest texts a catalogue can hold: each opening is timed up to the first
// picture of the device screen, so the layout and drawing of the texts count.
//   - the grape varieties with twenty grape names of 1 MB in the red list (combo box);
//   - the bookmark list, expanded, with ten descriptions of 512 K characters (tree view);
//   - the results screen's header line with a region of 1 MB (static).
// No text the catalogue can hold should make a screen take more than about a second.
//
//   bench_huge_texts [--benchmark_filter=...]
#include <QApplication>
#include <benchmark/benchmark.h>

#include <string>

#include "results/bookmark_mode.h"
#include "chapters/chapter_screens.h"
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

TestCatalogue* hugeCatalogue = nullptr;
constexpr int kRedGrapeList = 1013; // the grape screen's list of red varieties

HWND openDialog(int templateId, DLGPROC procedure) {
    const auto* dialogTemplate = static_cast<LPCDLGTEMPLATEW>(LoadResource(
        talvinoModule(), FindResourceW(talvinoModule(), MAKEINTRESOURCEW(templateId), RT_DIALOG)));
    return platform::createDialog(talvinoModule(), dialogTemplate, nullptr, procedure, 0);
}

// Lets the screen lay itself out and draws the device screen once.
void firstPicture() {
    QApplication::processEvents();
    benchmark::DoNotOptimize(platform::grabDevice(1).bits());
}

void BM_OpenGrapesWithHugeNames(benchmark::State& state) {
    for (auto _ : state) {
        const HWND dialog = openDialog(kGrapesDialog, GrapeVarietiesProc);
        firstPicture();
        state.PauseTiming();
        platform::destroyDialog(dialog);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenGrapesWithHugeNames)->Unit(benchmark::kMillisecond);

// The red list dropped down, its twenty huge rows on screen.
void BM_DropGrapeListWithHugeNames(benchmark::State& state) {
    const HWND dialog = openDialog(kGrapesDialog, GrapeVarietiesProc);
    firstPicture();
    for (auto _ : state) {
        SendDlgItemMessageW(dialog, kRedGrapeList, CB_SHOWDROPDOWN, TRUE, 0);
        firstPicture();
        state.PauseTiming();
        SendDlgItemMessageW(dialog, kRedGrapeList, CB_SHOWDROPDOWN, FALSE, 0);
        firstPicture();
        state.ResumeTiming();
    }
    platform::destroyDialog(dialog);
}
BENCHMARK(BM_DropGrapeListWithHugeNames)->Unit(benchmark::kMillisecond);

void BM_OpenBookmarkListWithHugeDescriptions(benchmark::State& state) {
    for (auto _ : state) {
        g_database->queryBuffer[0] = u'\0';
        const HWND dialog = openDialog(kResultsDialog, ResultsProc);
        SendDlgItemMessageW(dialog, results_screen::kTree, TVM_EXPAND, TVE_EXPAND,
                            reinterpret_cast<LPARAM>(g_resultsState->bookmarkRoot));
        firstPicture();
        state.PauseTiming();
        platform::destroyDialog(dialog);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenBookmarkListWithHugeDescriptions)->Unit(benchmark::kMillisecond);

void BM_HeaderLineWithAHugeRegion(benchmark::State& state) {
    g_database->queryBuffer[0] = u'\0';
    const HWND dialog = openDialog(kResultsDialog, ResultsProc);
    firstPicture();
    const std::u16string header = u"Frankreich: " + std::u16string(1 << 20, u'B');
    for (auto _ : state) {
        SetDlgItemTextW(dialog, results_screen::kHeaderLine, u"");
        firstPicture();
        SetDlgItemTextW(dialog, results_screen::kHeaderLine, header.c_str());
        firstPicture();
    }
    platform::destroyDialog(dialog);
}
BENCHMARK(BM_HeaderLineWithAHugeRegion)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    platform::prepareDevice();
    {
        TestCatalogue catalogue;
        catalogue.addSampleContent();
        for (int i = 0; i < 20; ++i)
            catalogue.addGrape(900 + i, std::u16string(1 << 20, static_cast<char16_t>(u'A' + i)), 1,
                               u"Riesig.");
        for (int i = 0; i < 10; ++i)
            catalogue.addBookmark(TestCatalogue::kChablis + i,
                                  std::u16string(1 << 19, static_cast<char16_t>(u'a' + i)), u"Notiz");
        catalogue.installAsProgramCatalogue();
        hugeCatalogue = &catalogue;
        g_application->instance = talvinoModule();
        g_database->allocateQueryBuffer();
        g_database->openCatalogue();
        runProgramBenchmarks(argc, argv);
    }
    platform::destroyDeviceWindow();
    return 0;
}
