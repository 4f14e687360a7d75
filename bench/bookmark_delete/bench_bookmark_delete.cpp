// Deleting a bookmark from the expanded list, side by side with opening the list, for 2,000 and
// 20,000 bookmarks: the deletion builds the list again, and should cost what opening it costs.
// Headless by default; with the accessibility bridge on, run it on X with an AT-SPI bus (README).
#include <QAccessible>
#include <QApplication>
#include <QThread>
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <map>
#include <memory>
#include <string>

#include "bench/bookmarks/bookmark_mode_screen.h"
#include "bookmarks/bookmark_store.h"
#include "db/database.h"
#include "platform/data/utf.h"
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

constexpr int kFirstEntry = 200000;

// One catalogue per size: numbered entries, each with a bookmark, built on first use.
std::map<int, std::unique_ptr<TestCatalogue>> catalogues;

void useCatalogueWith(int bookmarks) {
    std::unique_ptr<TestCatalogue>& catalogue = catalogues[bookmarks];
    if (!catalogue) {
        catalogue = std::make_unique<TestCatalogue>();
        catalogue->addSampleContent().addNumberedEntries(bookmarks, kFirstEntry, u"F", u"Burgund");
        for (int i = 0; i < bookmarks; ++i)
            catalogue->addBookmark(kFirstEntry + i, u"Lesezeichen " + ado::toUtf16(std::to_string(i)),
                                   u"eine Notiz");
        catalogue->build();
        ::sync();
    }
    useCatalogue(*catalogue);
}

HWND openBookmarkList() {
    const HWND dialog = openBookmarkMode();
    ShowWindow(dialog, SW_SHOW); // on the device screen, where a screen reader sees it
    return dialog;
}

HTREEITEM firstBookmark(HWND dialog) {
    const auto root = reinterpret_cast<HTREEITEM>(
        SendDlgItemMessageW(dialog, results_screen::kTree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    return reinterpret_cast<HTREEITEM>(SendDlgItemMessageW(dialog, results_screen::kTree, TVM_GETNEXTITEM,
                                                           TVGN_CHILD, reinterpret_cast<LPARAM>(root)));
}

// The main menu's row: the screen opens in bookmark mode with the root collapsed.
void BM_OpenBookmarkList(benchmark::State& state) {
    useCatalogueWith(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const HWND dialog = openBookmarkList();
        state.PauseTiming();
        platform::destroyDialog(dialog);
        state.ResumeTiming();
    }
}

// The user opens the list, expands it, chooses a bookmark, unticks its box and answers "Ja": the
// row goes and the list is built again, expanded. The bookmark is saved again, untimed, so every
// round deletes from the same number.
void BM_DeleteBookmark(benchmark::State& state) {
    useCatalogueWith(static_cast<int>(state.range(0)));
    const HWND dialog = openBookmarkList();
    const auto root = reinterpret_cast<LPARAM>(
        SendDlgItemMessageW(dialog, results_screen::kTree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    SendDlgItemMessageW(dialog, results_screen::kTree, TVM_EXPAND, TVE_EXPAND, root);
    long long failures = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const HTREEITEM item = firstBookmark(dialog);
        SendDlgItemMessageW(dialog, results_screen::kTree, TVM_SELECTITEM, TVGN_CARET,
                            reinterpret_cast<LPARAM>(item));
        const std::u16string entry = g_resultsState->currentEntryId;
        SendDlgItemMessageW(dialog, results_screen::kBookmarkBox, BM_SETCHECK, BST_UNCHECKED, 0);
        state.ResumeTiming();
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(results_screen::kBookmarkBox, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, results_screen::kBookmarkBox)));
        state.PauseTiming();
        if (!bookmark_store::save(*g_database, entry, u"wieder da", u"")) ++failures;
        state.ResumeTiming();
    }
    state.counters["failures"] = static_cast<double>(failures);
    state.counters["accessibility on"] = QAccessible::isActive() ? 1 : 0;
    state.counters["tree items"] =
        static_cast<double>(SendDlgItemMessageW(dialog, results_screen::kTree, TVM_GETCOUNT, 0, 0));
    platform::destroyDialog(dialog);
}

BENCHMARK(BM_OpenBookmarkList)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_DeleteBookmark)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    platform::prepareDevice();
    // The bridge connects to the accessibility bus from the event loop.
    for (int i = 0;
         i < 300 && qEnvironmentVariableIsSet("QT_LINUX_ACCESSIBILITY_ALWAYS_ON") && !QAccessible::isActive();
         ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(10);
    }
    // The question before a deletion is answered "Ja", every other box "OK".
    platform::setMessageBoxResponder([](HWND, const std::u16string&, const std::u16string&, UINT type) {
        return (type & MB_YESNO) ? IDYES : IDOK;
    });
    g_application->instance = talvinoModule();
    g_database->allocateQueryBuffer();
    runProgramBenchmarks(argc, argv);
    catalogues.clear();
    platform::setMessageBoxResponder({});
    platform::destroyDeviceWindow();
    return 0;
}
