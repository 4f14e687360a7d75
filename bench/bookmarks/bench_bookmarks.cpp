// Bookmarks: saving one bookmark (the existence lookup and the delete-and-insert transaction, with
// SQLite's default durability on the catalogue file) and filling the bookmark list of 10,000 rows,
// each next to what SQLite alone needs for the same work.
//
//   bench_bookmarks [--benchmark_filter=...]
#include <QApplication>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <unistd.h>

#include <string>

#include "screen/application.h"
#include "screen/globals.h"
#include "bench/bookmarks/bookmark_mode_screen.h"
#include "bookmarks/bookmark_list.h"
#include "bookmarks/bookmark_store.h"
#include "results/bookmark_mode.h"
#include "db/database.h"
#include "platform/shell/device_window.h"
#include "platform/ui/hooks.h"
#include "platform/win32.h"
#include "resources/dialog_ids.h"
#include "resources/resources.h"
#include "results/results_screen.h"
#include "results/results_state.h"
#include "tests/support/test_catalogue.h"
#include "bench/program_benchmarks.h"

namespace {

constexpr int kListRows = 10000;

TestCatalogue* listCatalogue = nullptr; // sample entries and 10,000 bookmarks
TestCatalogue* saveCatalogue = nullptr; // sample entries and a few bookmarks

std::u16string digits(long long value) {
    const std::string text = std::to_string(value);
    return std::u16string(text.begin(), text.end());
}

// ---- Saving ---------------------------------------------------------------------------------

// The store alone: lookup, then delete and insert in one transaction (the row exists after the
// first iteration, so every later one replaces it).
void BM_SaveBookmark(benchmark::State& state) {
    useCatalogue(*saveCatalogue);
    const std::u16string description = u"Austernwein d'été";
    const std::u16string note(static_cast<std::size_t>(state.range(0)), u'n');
    long long failures = 0;
    for (auto _ : state)
        if (!bookmark_store::save(*g_database, u"1001", description, note)) ++failures;
    state.counters["failures"] = static_cast<double>(failures);
    state.SetLabel("note of " + std::to_string(state.range(0)) + " characters");
}
BENCHMARK(BM_SaveBookmark)->Arg(0)->Arg(500)->Unit(benchmark::kMillisecond);

// "Speichern" on the screen: reading the edits, the store, the message (answered at once).
void BM_SaveBookmarkFromThePage(benchmark::State& state) {
    useCatalogue(*saveCatalogue);
    const HWND dialog = openBookmarkMode();
    // A bookmark of the list, shown as the user would select it.
    g_resultsState->currentEntryId = u"1001";
    SetDlgItemTextW(dialog, results_screen::kHeaderLine, u"Frankreich: Burgund");
    SetDlgItemTextW(dialog, results_screen::kDescriptionEdit, u"Austernwein");
    SetDlgItemTextW(dialog, results_screen::kNoteEdit, u"kühl servieren, zu Austern und Muscheln");
    for (auto _ : state)
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(results_screen::kSaveButton, BN_CLICKED), 0);
    platform::destroyDialog(dialog);
}
BENCHMARK(BM_SaveBookmarkFromThePage)->Unit(benchmark::kMillisecond);

// SQLite alone on the same file: the same lookup and transaction as prepared-once statements
// would cost, written as plain SQL text.
void BM_BareSqliteSave(benchmark::State& state) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(saveCatalogue->path().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close_v2(db);
        return state.SkipWithError("no catalogue");
    }
    for (auto _ : state) {
        sqlite3_exec(db, "select id_talvino from Lesezeichen where id_talvino = 1001", nullptr, nullptr,
                     nullptr);
        sqlite3_exec(db,
                     "BEGIN IMMEDIATE; DELETE FROM Lesezeichen WHERE id_talvino = 1001; INSERT INTO "
                     "Lesezeichen (id_talvino, Beschreibung, Notiz) VALUES ('1001','Austernwein d''été',''); "
                     "COMMIT",
                     nullptr, nullptr, nullptr);
    }
    sqlite3_close_v2(db);
}
BENCHMARK(BM_BareSqliteSave)->Unit(benchmark::kMillisecond);

// ---- The list of 10,000 ---------------------------------------------------------------------

// Reading the rows alone, through the program's recordset.
void BM_ReadBookmarkList(benchmark::State& state) {
    useCatalogue(*listCatalogue);
    long rows = 0;
    for (auto _ : state) {
        std::copy_n(bookmark_store::kListQuery,
                    std::char_traits<char16_t>::length(bookmark_store::kListQuery) + 1,
                    g_database->queryBuffer);
        rows = 0;
        fillBookmarkList(*g_database, [&](const ListedBookmark& listed) {
            benchmark::DoNotOptimize(listed.label.data());
            rows += listed.entryId != 0;
        });
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_ReadBookmarkList)->Unit(benchmark::kMillisecond);

// The tree emptied and filled again with every bookmark, as after a deletion.
void BM_FillBookmarkListTree(benchmark::State& state) {
    useCatalogue(*listCatalogue);
    const HWND dialog = openBookmarkMode();
    for (auto _ : state)
        RebuildBookmarkList(dialog);
    state.counters["tree items"] =
        static_cast<double>(SendDlgItemMessageW(dialog, results_screen::kTree, TVM_GETCOUNT, 0, 0));
    platform::destroyDialog(dialog);
}
BENCHMARK(BM_FillBookmarkListTree)->Unit(benchmark::kMillisecond);

// The whole opening of the screen in bookmark mode from the main menu's row.
void BM_OpenBookmarkList(benchmark::State& state) {
    useCatalogue(*listCatalogue);
    for (auto _ : state) {
        const HWND dialog = openBookmarkMode();
        state.PauseTiming();
        platform::destroyDialog(dialog);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenBookmarkList)->Unit(benchmark::kMillisecond);

// SQLite alone: the same statement stepped to its end, both columns read as UTF-16 text.
void BM_BareSqliteList(benchmark::State& state) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(listCatalogue->path().c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close_v2(db);
        return state.SkipWithError("no catalogue");
    }
    long rows = 0;
    for (auto _ : state) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db, "SELECT * from Lesezeichen", -1, &statement, nullptr);
        rows = 0;
        while (sqlite3_step(statement) == SQLITE_ROW) {
            benchmark::DoNotOptimize(sqlite3_column_int(statement, 1));
            benchmark::DoNotOptimize(sqlite3_column_text16(statement, 2));
            ++rows;
        }
        sqlite3_finalize(statement);
    }
    state.counters["rows"] = static_cast<double>(rows);
    sqlite3_close_v2(db);
}
BENCHMARK(BM_BareSqliteList)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    platform::prepareDevice();
    // "Das Lesezeichen wurde gespeichert." is answered without showing.
    platform::setMessageBoxResponder(
        [](HWND, const std::u16string&, const std::u16string&, UINT) { return IDOK; });

    {
        TestCatalogue list;
        list.addSampleContent();
        for (int i = 0; i < kListRows; ++i)
            list.addBookmark(100000 + i, u"Lesezeichen Nummer " + digits(i) + u" für Sonntag", u"eine Notiz");
        list.build();
        TestCatalogue save;
        save.addSampleContent().addBookmark(TestCatalogue::kRiesling, u"Mosel", u"");
        save.build();
        // The files just written would otherwise be flushed by the first timed commit.
        ::sync();
        listCatalogue = &list;
        saveCatalogue = &save;

        g_application->instance = talvinoModule();
        g_database->allocateQueryBuffer();
        runProgramBenchmarks(argc, argv);
    }
    platform::setMessageBoxResponder({});
    platform::destroyDeviceWindow();
    return 0;
}
