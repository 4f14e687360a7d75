// The catalogue's data access on a synthetic catalogue of 100,000 entries, each figure beside
// its baseline in the same run:
//   * the full-text search through our LIKE, SQLite's built-in LIKE ('%' patterns) and a bare
//     scan of the same rows, side by side in every iteration, on a UTF-8 and a UTF-16 file;
//   * a static recordset on a search of about 1,000 rows, first 80 rows' 35 columns read, against
//     the bare sqlite3_step loop over the same statement;
//   * scalar query and fill list against the bare statement.
// The catalogues are written once per run into a temporary folder (TALVINO_BENCH_ENTRIES
// overrides the number of entries).
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "bench/cpu_time.h"
#include "db/database.h"
#include "db/text_codec.h"
#include "platform/data/ado.h"
#include "platform/data/engine.h"
#include "platform/data/testing.h"
#include "platform/data/utf.h"
#include "platform/win32.h"
#include "tools/catalogue/catalogue_writer.h"
#include "tools/catalogue/verifier.h"

namespace {

using catalogue::TextEncoding;

// About one description in a hundred holds this word.
const std::u16string kTerm = u"quittengelee";

std::string folder() {
    static const std::string path = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "talvino-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        return pattern;
    }();
    return path;
}

std::string cataloguePath(TextEncoding encoding) {
    static std::map<TextEncoding, std::string> built;
    auto it = built.find(encoding);
    if (it != built.end()) return it->second;
    const char* env = std::getenv("TALVINO_BENCH_ENTRIES");
    const int entries = env ? std::atoi(env) : 100000;
    const std::string dir = folder() + (encoding == TextEncoding::Utf8 ? "/utf8" : "/utf16");
    std::filesystem::create_directories(dir);
    const std::string path = dir + "/talvino2006_db.cdb";
    catalogue::writeCatalogue(path, catalogue::synthContent(entries), encoding);
    built[encoding] = path;
    return path;
}

struct RawDb {
    sqlite3* db = nullptr;
    RawDb(TextEncoding encoding, bool ourLike) {
        sqlite3_open_v2(cataloguePath(encoding).c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        if (ourLike) ado::registerLike(db);
        ado::registerGermanOrder(db); // the sorted columns declare it
    }
    ~RawDb() { sqlite3_close_v2(db); }
};

// The full-text condition as the search builds it, with its own LIKE syntax or SQLite's.
std::u16string fullTextCondition(bool sqliteWildcards) {
    const std::u16string w = sqliteWildcards ? u"%" : u"*";
    const std::u16string encoded = encodedText(kTerm);
    return u"((Stichwort_Klein LIKE '" + w + kTerm + w + u"') OR ([Text_Klein] like '" + w + encoded + w +
           u"') OR ([Regio_Lang] like '" + w + kTerm + w + u"'))";
}

long countRows(sqlite3* db, const std::u16string& sql) {
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare16_v2(db, sql.c_str(), -1, &s, nullptr);
    long n = 0;
    while (sqlite3_step(s) == SQLITE_ROW)
        ++n;
    sqlite3_finalize(s);
    return n;
}

// The three scans in every iteration, taking turns at going first, so that they meet the same
// cache and machine load: our LIKE, SQLite's built-in LIKE ('%' patterns), and a bare scan of the
// same rows. CPU time; the ratios say what our LIKE costs beyond the built-in one and the scan.
void BM_FullTextLikeSideBySide(benchmark::State& state, TextEncoding encoding) {
    RawDb ours(encoding, true);
    RawDb builtin(encoding, false);
    const std::u16string ourSql = u"SELECT ID FROM talvino WHERE " + fullTextCondition(false);
    const std::u16string builtinSql = u"SELECT ID FROM talvino WHERE " + fullTextCondition(true);
    const std::u16string bareSql = u"SELECT ID FROM talvino WHERE Text_Klein IS NULL";
    struct Variant {
        sqlite3* db;
        const std::u16string* sql;
        double seconds = 0;
        long rows = 0;
    };
    Variant variants[3] = {{ours.db, &ourSql}, {builtin.db, &builtinSql}, {builtin.db, &bareSql}};
    long iteration = 0;
    for (auto _ : state) {
        for (int k = 0; k < 3; ++k) {
            Variant& v = variants[(k + iteration) % 3];
            const double started = cpuSeconds();
            v.rows = countRows(v.db, *v.sql);
            v.seconds += cpuSeconds() - started;
        }
        ++iteration;
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["our LIKE ms"] = variants[0].seconds / n * 1e3;
    state.counters["built-in LIKE ms"] = variants[1].seconds / n * 1e3;
    state.counters["bare scan ms"] = variants[2].seconds / n * 1e3;
    state.counters["ours/built-in"] = variants[1].seconds > 0 ? variants[0].seconds / variants[1].seconds : 0;
    state.counters["ours/bare"] = variants[2].seconds > 0 ? variants[0].seconds / variants[2].seconds : 0;
    state.counters["rows"] = static_cast<double>(variants[0].rows);
    state.counters["rows built-in"] = static_cast<double>(variants[1].rows);
    state.counters["file_MB"] =
        static_cast<double>(std::filesystem::file_size(cataloguePath(encoding))) / 1e6;
}

BENCHMARK_CAPTURE(BM_FullTextLikeSideBySide, utf8, TextEncoding::Utf8)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FullTextLikeSideBySide, utf16, TextEncoding::Utf16)->Unit(benchmark::kMillisecond);

// ---- A results screen's recordset --------------------------------------------------------------

std::u16string searchStatement() {
    return u"SELECT * FROM talvino WHERE (  " + fullTextCondition(false) + u")  ORDER by STICHWORT";
}
// A colour alone: about half the catalogue, all of it copied by a static cursor.
const std::u16string kRedStatement = u"SELECT * FROM talvino WHERE (  (\n (Rot > 0))) ORDER by STICHWORT";

void BM_StaticRecordset_First80Rows(benchmark::State& state, TextEncoding encoding,
                                    const std::u16string& sql = searchStatement()) {
    ado::Connection* connection = ado::createConnection();
    const std::u16string path = ado::toUtf16(cataloguePath(encoding));
    connection->Open(path.c_str(), u"", u"", -1);
    ado::Recordset* recordset = ado::testing::recordsetOn(connection);
    long count = 0;
    for (auto _ : state) {
        ado::openRecordset(recordset, sql.c_str(), ado::adOpenStatic, ado::adLockReadOnly);
        recordset->get_RecordCount(&count);
        ado::Fields* fields = nullptr;
        recordset->get_Fields(&fields);
        VARIANT_BOOL eof = VARIANT_FALSE;
        recordset->get_EOF(&eof);
        for (int row = 0; row < 80 && !eof; ++row) {
            for (int column = 0; column < 35; ++column) {
                VARIANT index;
                VariantInit(&index);
                index.vt = VT_I4;
                index.lVal = column;
                ado::Field* field = nullptr;
                fields->get_Item(index, &field);
                VARIANT value;
                field->get_Value(&value);
                benchmark::DoNotOptimize(value.bstrVal);
            }
            recordset->MoveNext();
            recordset->get_EOF(&eof);
        }
        recordset->Close();
    }
    state.counters["rows"] = static_cast<double>(count);
    recordset->Release();
    connection->Release();
}

void BM_BareStepLoop_SameStatement(benchmark::State& state, TextEncoding encoding,
                                   const std::u16string& sql = searchStatement()) {
    RawDb raw(encoding, true);
    long count = 0;
    for (auto _ : state) {
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare16_v2(raw.db, sql.c_str(), -1, &s, nullptr);
        count = 0;
        while (sqlite3_step(s) == SQLITE_ROW) {
            if (count < 80)
                for (int column = 0; column < 35; ++column) {
                    if (sqlite3_column_type(s, column) == SQLITE_TEXT)
                        benchmark::DoNotOptimize(sqlite3_column_text16(s, column));
                    else
                        benchmark::DoNotOptimize(sqlite3_column_int64(s, column));
                }
            ++count;
        }
        sqlite3_finalize(s);
    }
    state.counters["rows"] = static_cast<double>(count);
}

BENCHMARK_CAPTURE(BM_StaticRecordset_First80Rows, utf8, TextEncoding::Utf8)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BareStepLoop_SameStatement, utf8, TextEncoding::Utf8)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_StaticRecordset_First80Rows, utf16, TextEncoding::Utf16)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BareStepLoop_SameStatement, utf16, TextEncoding::Utf16)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_StaticRecordset_First80Rows, red_utf8, TextEncoding::Utf8, kRedStatement)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BareStepLoop_SameStatement, red_utf8, TextEncoding::Utf8, kRedStatement)
    ->Unit(benchmark::kMillisecond);

// ---- The database object's own queries ---------------------------------------------------------

struct ProgramCatalogue {
    Database db;
    explicit ProgramCatalogue(TextEncoding encoding) {
        const std::string program =
            std::filesystem::path(cataloguePath(encoding)).parent_path().string() + "/talvino";
        const std::u16string wide = ado::toUtf16(program);
        platform::overrideModuleFileName(wide.c_str());
        db.allocateQueryBuffer();
        db.openCatalogue();
    }
    ~ProgramCatalogue() { platform::overrideModuleFileName(nullptr); }
    void query(const std::u16string& sql) {
        sql.copy(db.queryBuffer, Database::kQueryBufferChars - 1);
        db.queryBuffer[sql.size()] = u'\0';
    }
};

const std::u16string kScalarSql = u"select STICHWORT from talvino where ID = 54321";
const std::u16string kListSql = u"SELECT Region.REGIO_LANG FROM Region ORDER BY Region.ID_REGION";

void BM_ScalarQuery(benchmark::State& state) {
    ProgramCatalogue program(catalogue::kDefaultEncoding);
    program.query(kScalarSql);
    char16_t out[100];
    for (auto _ : state) {
        program.db.scalarQuery(out, 100);
        benchmark::DoNotOptimize(out[0]);
    }
}

void BM_ScalarQuery_BareStatement(benchmark::State& state) {
    RawDb raw(catalogue::kDefaultEncoding, true);
    char16_t out[100];
    for (auto _ : state) {
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare16_v2(raw.db, kScalarSql.c_str(), -1, &s, nullptr);
        if (sqlite3_step(s) == SQLITE_ROW) {
            const auto* text = static_cast<const char16_t*>(sqlite3_column_text16(s, 0));
            std::u16string(text).copy(out, 99);
        }
        sqlite3_finalize(s);
        benchmark::DoNotOptimize(out[0]);
    }
}

// A null window: every step of fill list but the combo box's own insertion.
void BM_FillList(benchmark::State& state) {
    ProgramCatalogue program(catalogue::kDefaultEncoding);
    program.query(kListSql);
    for (auto _ : state)
        benchmark::DoNotOptimize(program.db.fillList(nullptr));
}

void BM_FillList_BareStatement(benchmark::State& state) {
    RawDb raw(catalogue::kDefaultEncoding, true);
    for (auto _ : state) {
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare16_v2(raw.db, kListSql.c_str(), -1, &s, nullptr);
        while (sqlite3_step(s) == SQLITE_ROW)
            benchmark::DoNotOptimize(sqlite3_column_text16(s, 0));
        sqlite3_finalize(s);
    }
}

BENCHMARK(BM_ScalarQuery)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScalarQuery_BareStatement)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FillList)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FillList_BareStatement)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    // Build both catalogues before any timing starts.
    cataloguePath(TextEncoding::Utf8);
    cataloguePath(TextEncoding::Utf16);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    std::filesystem::remove_all(folder(), ignored);
    return 0;
}
