// The results screen on synth catalogues of 100,000 and 500,000 entries. Every search of the
// table below runs, in each iteration, through the program (opening the screen to the filled
// tree), through the best plan on SQLite alone (count(*) of the same WHERE plus the first 80 rows
// of the statement with a LIMIT: the floor) and through the full statement on SQLite alone (every
// row stepped, the columns of the first 80 read), in CPU time of the whole process (the program
// counts on a thread of its own). Also: the growth of the peak memory during the fill, the longest
// the screen goes without showing what the wait animation drew, and from a tree selection to the
// two text areas and the header line next to SQLite alone running the same primary-key lookups.
// The 100,000-entry catalogue also runs on a copy with an index on STICHWORT in German order.
//
//   bench_results [--benchmark_filter=...]
// TALVINO_BENCH_LARGE=0 leaves out the 500,000-entry catalogue (about a gigabyte in the
// temporary folder); its cases are then skipped with a message.
#include <QApplication>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

#include "bench/cpu_time.h"
#include "screen/application.h"
#include "screen/globals.h"
#include "db/database.h"
#include "platform/data/engine.h"
#include "platform/data/static_plan.h"
#include "platform/data/utf.h"
#include "platform/shell/device_window.h"
#include "platform/ui/hooks.h"
#include "platform/win32.h"
#include "resources/dialog_ids.h"
#include "resources/resources.h"
#include "results/results_screen.h"
#include "results/results_state.h"
#include "search/query_builder.h"
#include "bench/program_benchmarks.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// ---- The two catalogues -----------------------------------------------------------------------

enum Variant { kAsBuilt = 0, kKeywordIndex = 1, kLarge = 2 };
constexpr int kEntries = 100000;
constexpr int kLargeEntries = 500000;

bool largeWanted() {
    const char* wanted = std::getenv("TALVINO_BENCH_LARGE");
    return !wanted || std::string(wanted) != "0";
}

fs::path benchFolder() {
    return fs::temp_directory_path() / ("talvino-bench-results-" + std::to_string(::getpid()));
}
fs::path variantFolder(int variant) {
    return benchFolder() / (variant == kAsBuilt ? "plain" : variant == kKeywordIndex ? "indexed" : "large");
}
fs::path cataloguePath(int variant) {
    return variantFolder(variant) / "talvino2006_db.cdb";
}

int currentVariant = -1;

// The program's database object on the catalogue of `variant`.
bool useCatalogue(int variant) {
    if (currentVariant == variant) return true;
    platform::overrideModuleFileName((variantFolder(variant) / "talvino").u16string().c_str());
    currentVariant = g_database->openCatalogue() ? variant : -1;
    return currentVariant == variant;
}

// SQLite alone on the same file, with the catalogue's LIKE and German order, as the component
// opens it.
class BareConnection {
  public:
    explicit BareConnection(int variant) {
        if (sqlite3_open_v2(cataloguePath(variant).c_str(), &db_, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX,
                            nullptr) != SQLITE_OK ||
            ado::registerLike(db_) != SQLITE_OK || ado::registerGermanOrder(db_) != SQLITE_OK) {
            sqlite3_close_v2(db_);
            db_ = nullptr;
        }
    }
    ~BareConnection() { sqlite3_close_v2(db_); }
    BareConnection(const BareConnection&) = delete;
    BareConnection& operator=(const BareConnection&) = delete;
    bool ok() const { return db_ != nullptr; }

    // Prepares `sql`, steps at most `rows` rows, finalises; the number of rows stepped.
    int run(const std::u16string& sql, int rows) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare16_v3(db_, sql.c_str(), static_cast<int>(sql.size() * sizeof(char16_t)), 0,
                                 &statement, nullptr) != SQLITE_OK)
            return -1;
        int stepped = 0;
        while (stepped < rows && sqlite3_step(statement) == SQLITE_ROW)
            ++stepped;
        sqlite3_finalize(statement);
        return stepped;
    }

    // The number in the first column of the first row of `sql`; -1 when there is none.
    long long scalar(const std::u16string& sql) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare16_v3(db_, sql.c_str(), static_cast<int>(sql.size() * sizeof(char16_t)), 0,
                                 &statement, nullptr) != SQLITE_OK)
            return -1;
        const long long value = sqlite3_step(statement) == SQLITE_ROW ? sqlite3_column_int64(statement, 0) : -1;
        sqlite3_finalize(statement);
        return value;
    }

    // Prepares `sql`, steps it to its last row reading every column of the first `readRows` rows
    // (texts in the file's encoding), finalises; the number of rows.
    int runToLastRow(const std::u16string& sql, int readRows) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare16_v3(db_, sql.c_str(), static_cast<int>(sql.size() * sizeof(char16_t)), 0,
                                 &statement, nullptr) != SQLITE_OK)
            return -1;
        int stepped = 0;
        const int columns = sqlite3_column_count(statement);
        while (sqlite3_step(statement) == SQLITE_ROW) {
            if (stepped++ >= readRows) continue;
            for (int i = 0; i < columns; ++i) {
                switch (sqlite3_column_type(statement, i)) {
                case SQLITE_INTEGER:
                    benchmark::DoNotOptimize(sqlite3_column_int64(statement, i));
                    break;
                case SQLITE_TEXT:
                    benchmark::DoNotOptimize(sqlite3_column_text(statement, i));
                    break;
                default:
                    break;
                }
            }
        }
        sqlite3_finalize(statement);
        return stepped;
    }

  private:
    sqlite3* db_ = nullptr;
};

BareConnection& bare(int variant) {
    static BareConnection plain(kAsBuilt);
    static BareConnection indexed(kKeywordIndex);
    static BareConnection large(kLarge);
    return variant == kAsBuilt ? plain : variant == kKeywordIndex ? indexed : large;
}

// ---- Peak memory ------------------------------------------------------------------------------

// A figure of /proc/self/status in kB ("VmHWM", the peak resident size; "VmRSS", the current one).
long statusKb(const std::string& key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.compare(0, key.size() + 1, key + ":") == 0) return std::atol(line.c_str() + key.size() + 1);
    return -1;
}

// Lets the peak start again from the current resident size, so that a measurement sees only its
// own growth and not an earlier benchmark's.
void resetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

// The growth of the peak during `work`, in MB, measured from the resident size before it (which is
// no more than the process's own peak before it: the figure errs on the high side).
template <typename Work> double peakGrowthMb(Work&& work) {
    resetPeak();
    const long before = statusKb("VmRSS");
    work();
    return static_cast<double>(statusKb("VmHWM") - before) / 1024.0;
}

// ---- What the screen shows while the search runs --------------------------------------------------

// The program's busy hook shows what the wait animation drew; here it also notes the longest
// time between two showings (and from the start of the fill to the first one).
Clock::time_point lastShown;
double longestUnshownMs = 0;
void showPendingDrawingTimed() {
    const auto now = Clock::now();
    longestUnshownMs =
        std::max(longestUnshownMs, std::chrono::duration<double, std::milli>(now - lastShown).count());
    lastShown = now;
    platform::showPendingDrawing();
}
void startWatchingShowings() {
    lastShown = Clock::now();
    longestUnshownMs = 0;
}

// The count the "Meldung" named, from its text; 0 when there was none.
long countInMessage = 0;

// ---- The searches -----------------------------------------------------------------------------

// 0: full text for a word about one description in a hundred has (about 1,000 rows);
// 1: the keyword "Ries*" (a few percent); 2: every red wine (about half the catalogue);
// 3: "Rot", "Weiß", "Rosé" and "Braun" ticked, nothing else (every entry); 4: the country
// Frankreich (a quarter); 5: Frankreich and the region "Bordeaux"; 6: quality "gut" with "bes.gut".
enum Shape {
    kFullText = 0,
    kKeyword = 1,
    kRed = 2,
    kAllColours = 3,
    kCountry = 4,
    kCountryRegion = 5,
    kEspeciallyGood = 6
};

std::u16string searchStatement(int shape) {
    SearchCriteria criteria;
    std::u16string countryCode;
    auto chooseFrance = [&] {
        criteria.countryName = u"Frankreich";
        criteria.countryNameLength = static_cast<int>(criteria.countryName.size());
        countryCode = u"F";
    };
    switch (shape) {
    case kFullText:
        criteria.searchTerm = u"Quittengelee";
        criteria.fullText = true;
        break;
    case kKeyword:
        criteria.searchTerm = u"Ries*";
        break;
    case kRed:
        criteria.red = true;
        break;
    case kCountry:
        chooseFrance();
        break;
    case kCountryRegion:
        chooseFrance();
        criteria.regionName = u"Bordeaux";
        break;
    case kEspeciallyGood:
        criteria.qualityLevel = 2;
        criteria.especiallyGood = true;
        break;
    default:
        criteria.red = criteria.white = criteria.rose = criteria.brown = true;
        break;
    }
    return composeSearchStatement(criteria, countryCode);
}

const char* shapeName(int shape) {
    switch (shape) {
    case kFullText:
        return "fulltext~1000";
    case kKeyword:
        return "keyword Ries*";
    case kRed:
        return "red~half";
    case kCountry:
        return "Frankreich";
    case kCountryRegion:
        return "Frankreich+Bordeaux";
    case kEspeciallyGood:
        return "bes.gut";
    default:
        return "all colours~all";
    }
}

void setQueryBuffer(const std::u16string& sql) {
    std::copy(sql.begin(), sql.end(), g_database->queryBuffer);
    g_database->queryBuffer[sql.size()] = u'\0';
}

LPCDLGTEMPLATEW resultsTemplate() {
    return static_cast<LPCDLGTEMPLATEW>(LoadResource(
        talvinoModule(), FindResourceW(talvinoModule(), MAKEINTRESOURCEW(kResultsDialog), RT_DIALOG)));
}

// Opening the results screen runs the search and fills the tree during its initialisation.
HWND openResults() {
    return platform::createDialog(talvinoModule(), resultsTemplate(), nullptr, ResultsProc, 0);
}

int treeEntries(HWND dialog) {
    return static_cast<int>(SendDlgItemMessageW(dialog, results_screen::kTree, TVM_GETCOUNT, 0, 0));
}

std::string label(int variant, int shape) {
    const char* catalogue = variant == kAsBuilt        ? "100k as built, "
                            : variant == kKeywordIndex ? "100k STICHWORT index, "
                                                       : "500k as built, ";
    return catalogue + std::string(shapeName(shape));
}

// ---- Opening to filled tree ------------------------------------------------------------------

void BM_BareSqliteFirst80Rows(benchmark::State& state) {
    const int variant = static_cast<int>(state.range(0));
    const std::u16string sql = searchStatement(static_cast<int>(state.range(1)));
    if (!bare(variant).ok()) return state.SkipWithError("no catalogue");
    for (auto _ : state)
        benchmark::DoNotOptimize(bare(variant).run(sql, results_screen::kMaxResultRows));
    state.SetLabel(label(variant, static_cast<int>(state.range(1))));
}

void BM_BareSqliteAllRows(benchmark::State& state) {
    const int variant = static_cast<int>(state.range(0));
    const std::u16string sql = searchStatement(static_cast<int>(state.range(1)));
    if (!bare(variant).ok()) return state.SkipWithError("no catalogue");
    int rows = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(rows = bare(variant).run(sql, 1 << 30));
    state.counters["rows"] = rows;
    state.SetLabel(label(variant, static_cast<int>(state.range(1))));
}

void BM_OpenResultsToFilledTree(benchmark::State& state) {
    const int variant = static_cast<int>(state.range(0));
    const std::u16string sql = searchStatement(static_cast<int>(state.range(1)));
    if (!useCatalogue(variant)) return state.SkipWithError("no catalogue");
    int items = 0;
    for (auto _ : state) {
        setQueryBuffer(sql);
        const HWND dialog = openResults();
        items = treeEntries(dialog);
        state.PauseTiming();
        platform::destroyDialog(dialog);
        state.ResumeTiming();
    }
    state.counters["tree items"] = items;
    state.SetLabel(label(variant, static_cast<int>(state.range(1))));
}

// The best plan on SQLite alone: the count of the statement's WHERE, then its first 80 rows
// through a LIMIT, every column read.
long long runBestPlan(int variant, const std::u16string& countSql, const std::u16string& sql) {
    const long long counted = bare(variant).scalar(countSql);
    benchmark::DoNotOptimize(bare(variant).runToLastRow(sql + u" LIMIT 80", results_screen::kMaxResultRows));
    return counted;
}

// The program and the best plan in every iteration, taking turns at going first, so that they meet
// the same cache and machine load; the full statement after both. CPU time of the whole process.
void BM_SearchAgainstBestPlan(benchmark::State& state) {
    const int variant = static_cast<int>(state.range(0));
    const std::u16string sql = searchStatement(static_cast<int>(state.range(1)));
    const std::optional<ado::StaticPlan> plan = ado::staticPlanFor(sql);
    if (!plan) return state.SkipWithError("not a search statement");
    if (!useCatalogue(variant) || !bare(variant).ok()) return state.SkipWithError("no catalogue");
    double programCpu = 0, programWall = 0, bestCpu = 0, fullCpu = 0;
    double fillPeakMb = 0, unshownMs = 0;
    long long hits = 0;
    long iteration = 0;
    for (auto _ : state) {
        auto program = [&] {
            setQueryBuffer(sql);
            countInMessage = 0;
            HWND dialog = nullptr;
            startWatchingShowings();
            const double cpu = cpuSeconds();
            const auto wall = Clock::now();
            fillPeakMb = std::max(fillPeakMb, peakGrowthMb([&] { dialog = openResults(); }));
            programCpu += cpuSeconds() - cpu;
            programWall += std::chrono::duration<double>(Clock::now() - wall).count();
            unshownMs = std::max(unshownMs, longestUnshownMs);
            state.PauseTiming();
            platform::destroyDialog(dialog);
            state.ResumeTiming();
        };
        auto best = [&] {
            const double cpu = cpuSeconds();
            hits = runBestPlan(variant, plan->countSql, sql);
            bestCpu += cpuSeconds() - cpu;
        };
        if (iteration++ % 2 == 0) {
            program();
            best();
        } else {
            best();
            program();
        }
        const double cpu = cpuSeconds();
        benchmark::DoNotOptimize(bare(variant).runToLastRow(sql, results_screen::kMaxResultRows));
        fullCpu += cpuSeconds() - cpu;
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["program CPU ms"] = programCpu / n * 1e3;
    state.counters["best plan CPU ms"] = bestCpu / n * 1e3;
    state.counters["program/best"] = bestCpu > 0 ? programCpu / bestCpu : 0;
    state.counters["full stmt CPU ms"] = fullCpu / n * 1e3;
    state.counters["program wall ms"] = programWall / n * 1e3;
    state.counters["hits"] = static_cast<double>(hits);
    state.counters["Meldung count"] = static_cast<double>(countInMessage);
    state.counters["fill peak +MB"] = fillPeakMb;
    state.counters["unshown max ms"] = unshownMs;
    state.SetLabel(label(variant, static_cast<int>(state.range(1))));
}

// The whole result of a search sorted in German order (the column's collation) and, in the same
// iteration, sorted by bytes: what German order costs on top of the search.
void BM_GermanAgainstByteOrderSideBySide(benchmark::State& state) {
    const int variant = static_cast<int>(state.range(0));
    const std::u16string german = searchStatement(static_cast<int>(state.range(1)));
    const std::u16string bytes = german + u" COLLATE BINARY";
    if (!bare(variant).ok()) return state.SkipWithError("no catalogue");
    double germanSeconds = 0;
    double byteSeconds = 0;
    int rows = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        benchmark::DoNotOptimize(rows = bare(variant).run(german, 1 << 30));
        const auto t1 = Clock::now();
        benchmark::DoNotOptimize(bare(variant).run(bytes, 1 << 30));
        const auto t2 = Clock::now();
        germanSeconds += std::chrono::duration<double>(t1 - t0).count();
        byteSeconds += std::chrono::duration<double>(t2 - t1).count();
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["rows"] = rows;
    state.counters["German ms"] = germanSeconds / n * 1e3;
    state.counters["bytes ms"] = byteSeconds / n * 1e3;
    state.counters["German/bytes"] = byteSeconds > 0 ? germanSeconds / byteSeconds : 0;
    state.SetLabel(label(variant, static_cast<int>(state.range(1))));
}

BENCHMARK(BM_GermanAgainstByteOrderSideBySide)
    ->ArgsProduct({{kAsBuilt}, {kFullText, kKeyword, kRed}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareSqliteFirst80Rows)
    ->ArgsProduct({{kAsBuilt, kKeywordIndex}, {kFullText, kKeyword, kRed}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareSqliteAllRows)
    ->ArgsProduct({{kAsBuilt, kKeywordIndex}, {kFullText, kKeyword, kRed}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenResultsToFilledTree)
    ->ArgsProduct({{kAsBuilt, kKeywordIndex}, {kFullText, kKeyword, kRed}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchAgainstBestPlan)
    ->ArgsProduct({{kAsBuilt, kKeywordIndex},
                   {kAllColours, kRed, kCountry, kKeyword, kFullText, kCountryRegion, kEspeciallyGood}})
    ->Unit(benchmark::kMillisecond);
// The 500,000-entry cases are registered in main once their catalogue is there.

// ---- Selection to texts ----------------------------------------------------------------------

// Two entry items of a filled tree, to select in turn.
std::vector<HTREEITEM> entryItems(HWND dialog, std::vector<LPARAM>& ids) {
    const HWND tree = GetDlgItem(dialog, results_screen::kTree);
    std::vector<HTREEITEM> items;
    for (auto category = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
         category && items.size() < 2;
         category = reinterpret_cast<HTREEITEM>(
             SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(category)))) {
        for (auto item = reinterpret_cast<HTREEITEM>(
                 SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(category)));
             item && items.size() < 2;
             item = reinterpret_cast<HTREEITEM>(
                 SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
            TVITEMW data{};
            data.mask = TVIF_PARAM;
            data.hItem = item;
            SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data));
            items.push_back(item);
            ids.push_back(data.lParam);
        }
    }
    return items;
}

std::u16string idText(LPARAM id) {
    const std::string digits = std::to_string(static_cast<long long>(id));
    return std::u16string(digits.begin(), digits.end());
}

void BM_SelectionToTexts(benchmark::State& state) {
    const int variant = static_cast<int>(state.range(0));
    if (!useCatalogue(variant)) return state.SkipWithError("no catalogue");
    setQueryBuffer(searchStatement(0));
    const HWND dialog = openResults();
    std::vector<LPARAM> ids;
    const std::vector<HTREEITEM> items = entryItems(dialog, ids);
    if (items.size() < 2) {
        platform::destroyDialog(dialog);
        return state.SkipWithError("too few entries");
    }
    const HWND tree = GetDlgItem(dialog, results_screen::kTree);
    std::size_t next = 0;
    for (auto _ : state) {
        SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(items[next]));
        next = 1 - next;
    }
    platform::destroyDialog(dialog);
    state.SetLabel(variant == kAsBuilt ? "as built" : "STICHWORT index");
}

// SQLite alone: the entry's row, the four header lookups and the three bookmark lookups that one
// selection runs.
void BM_BareSqliteSelectionLookups(benchmark::State& state) {
    const int variant = static_cast<int>(state.range(0));
    if (!useCatalogue(variant) || !bare(variant).ok()) return state.SkipWithError("no catalogue");
    setQueryBuffer(searchStatement(0));
    const HWND dialog = openResults();
    std::vector<LPARAM> ids;
    entryItems(dialog, ids);
    platform::destroyDialog(dialog);
    if (ids.size() < 2) return state.SkipWithError("too few entries");
    std::vector<std::vector<std::u16string>> statements;
    for (LPARAM id : ids) {
        const std::u16string key = idText(id);
        statements.push_back({u"select * from talvino where ID = " + key,
                              u"select Land from talvino where ID = " + key,
                              u"select Bezeichnung from Land where Land = 'F'",
                              u"select REGIO_LANG from talvino where ID = " + key,
                              u"select STICHWORT from talvino where ID = " + key,
                              u"select Beschreibung from Lesezeichen where id_talvino = " + key,
                              u"select Notiz from Lesezeichen where id_talvino = " + key,
                              u"select id_talvino from Lesezeichen where id_talvino = " + key});
    }
    std::size_t next = 0;
    for (auto _ : state) {
        for (const std::u16string& sql : statements[next])
            benchmark::DoNotOptimize(bare(variant).run(sql, 1));
        next = 1 - next;
    }
    state.SetLabel(variant == kAsBuilt ? "as built" : "STICHWORT index");
}

BENCHMARK(BM_SelectionToTexts)->Arg(kAsBuilt)->Arg(kKeywordIndex)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BareSqliteSelectionLookups)->Arg(kAsBuilt)->Arg(kKeywordIndex)->Unit(benchmark::kMicrosecond);

// ---- Setting up ---------------------------------------------------------------------------------

// Makes a synth catalogue and says on standard error how long that took.
bool synth(int entries, int variant) {
    fs::create_directories(variantFolder(variant));
    const std::string command = std::string(TALVINO_CATALOGUE_TOOL) + " synth " + std::to_string(entries) +
                                " '" + cataloguePath(variant).string() + "' > /dev/null";
    const auto started = Clock::now();
    const bool made = std::system(command.c_str()) == 0;
    std::fprintf(stderr, "synth %d entries: %.1f s, %.0f MB\n", entries,
                 std::chrono::duration<double>(Clock::now() - started).count(),
                 made ? static_cast<double>(fs::file_size(cataloguePath(variant))) / 1e6 : 0.0);
    return made;
}

bool buildCatalogues() {
    if (!synth(kEntries, kAsBuilt)) return false;
    // Without it, its cases are skipped with a message (see main).
    if (largeWanted()) synth(kLargeEntries, kLarge);
    fs::create_directories(variantFolder(kKeywordIndex));
    fs::copy_file(cataloguePath(kAsBuilt), cataloguePath(kKeywordIndex),
                  fs::copy_options::overwrite_existing);
    sqlite3* db = nullptr;
    // The index takes the column's German order, so the connection must know it.
    bool ok = sqlite3_open_v2(cataloguePath(kKeywordIndex).c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) ==
                  SQLITE_OK &&
              ado::registerGermanOrder(db) == SQLITE_OK &&
              sqlite3_exec(db, "CREATE INDEX talvino_stichwort ON talvino (STICHWORT); ANALYZE;", nullptr,
                           nullptr, nullptr) == SQLITE_OK;
    sqlite3_close_v2(db);
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    platform::prepareDevice();
    // As the program does; set before a connection opens.
    ado::setBusyHook(showPendingDrawingTimed);
    // The "Meldung" of searches beyond 80 hits is answered without showing; its count is kept.
    platform::setMessageBoxResponder([](HWND, const std::u16string& text, const std::u16string&, UINT) {
        const std::size_t open = text.find(u'(');
        countInMessage = 0;
        for (std::size_t i = open + 1;
             open != std::u16string::npos && i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
            countInMessage = countInMessage * 10 + (text[i] - u'0');
        return IDOK;
    });

    if (!buildCatalogues()) return 1;
    g_application->instance = talvinoModule();
    g_database->allocateQueryBuffer();

    if (fs::exists(cataloguePath(kLarge))) {
        benchmark::RegisterBenchmark("BM_SearchAgainstBestPlan", BM_SearchAgainstBestPlan)
            ->ArgsProduct({{kLarge},
                           {kAllColours, kRed, kCountry, kKeyword, kFullText, kCountryRegion, kEspeciallyGood}})
            ->Unit(benchmark::kMillisecond)
            ->Iterations(3);
    } else {
        std::fprintf(stderr, "The 500,000-entry cases are skipped: %s.\n",
                     largeWanted() ? "their catalogue could not be made" : "TALVINO_BENCH_LARGE=0");
    }
    runProgramBenchmarks(argc, argv);
    platform::setMessageBoxResponder({});
    std::error_code ignored;
    fs::remove_all(benchFolder(), ignored);
    platform::destroyDeviceWindow();
    return 0;
}
