// The connection: one SQLite handle on the catalogue file, opened read-write but never created.
#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "platform/data/engine.h"
#include "platform/data/utf.h"

namespace ado {

namespace {
std::atomic<void (*)()> busyHook{nullptr};
std::atomic<bool> interruptRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");
thread_local bool stepsForAnotherThread = false;

// Only reading is cut short: a write or an open transaction (a bookmark being saved) runs to its end.
bool onlyReading(sqlite3* db) {
    if (!sqlite3_get_autocommit(db)) return false;
    for (sqlite3_stmt* statement = sqlite3_next_stmt(db, nullptr); statement;
         statement = sqlite3_next_stmt(db, statement))
        if (sqlite3_stmt_busy(statement) && !sqlite3_stmt_readonly(statement)) return false;
    return true;
}

// SQLite's progress handler: runs every few thousand steps of a statement.
int onProgress(void* context) {
    if (interruptRequested.load(std::memory_order_relaxed) && onlyReading(static_cast<sqlite3*>(context)))
        return 1; // the statement ends with SQLITE_INTERRUPT
    if (stepsForAnotherThread) return 0;
    static thread_local std::chrono::steady_clock::time_point last;
    const auto now = std::chrono::steady_clock::now();
    if (now - last >= std::chrono::milliseconds(40)) {
        last = now;
        if (void (*hook)() = busyHook.load()) hook();
    }
    return 0;
}
} // namespace

void setBusyHook(void (*hook)()) { busyHook.store(hook); }
BusyHook currentBusyHook() { return busyHook.load(); }
void stepForAnotherThread() { stepsForAnotherThread = true; }
void interruptQueries() { interruptRequested.store(true, std::memory_order_relaxed); }
void resumeQueries() { interruptRequested.store(false, std::memory_order_relaxed); }

const RequiredTable kRequiredTables[1] = {{"talvino", 35}};

namespace {

thread_local std::string lastErrorText;

constexpr int kBusyTimeoutMs = 3000;

std::uint32_t bigEndian32(const unsigned char* p) {
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
}

// A file cut short is caught here, before any query reads a page that is not there: the header
// of a rollback-journal database records its size in pages when the size is trustworthy.
bool looksTruncated(const std::string& path, long long fileSize) {
    std::ifstream in(path, std::ios::binary);
    unsigned char header[100];
    if (!in.read(reinterpret_cast<char*>(header), sizeof header)) return false; // too short: not a database
    if (std::memcmp(header, "SQLite format 3", 16) != 0) return false;
    if (header[18] != 1 || header[19] != 1) return false; // WAL files grow elsewhere
    std::uint32_t pageSize = (std::uint32_t(header[16]) << 8) | header[17];
    if (pageSize == 1) pageSize = 65536;
    const std::uint32_t pages = bigEndian32(header + 28);
    if (pages == 0 || bigEndian32(header + 24) != bigEndian32(header + 92)) return false;
    return static_cast<long long>(pages) * pageSize > fileSize;
}

} // namespace

void setLastError(const std::string& text) {
    lastErrorText = text;
}
std::string lastError() {
    return lastErrorText;
}

bool isFileError(int engineCode) {
    switch (engineCode & 0xFF) {
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_IOERR:
    case SQLITE_FORMAT:
        return true;
    default:
        return false;
    }
}

HRESULT SqliteConnection::QueryInterface(const IID& iid, void** object) {
    if (!object) return E_POINTER;
    if (iid == IID_IADOCEConnection || iid == IID_IUnknown) {
        *object = static_cast<Connection*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG SqliteConnection::Release() {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

SqliteConnection::~SqliteConnection() {
    Close();
}

HRESULT SqliteConnection::put_Provider(LPCWSTR provider) {
    provider_ = provider ? provider : u"";
    return S_OK;
}

HRESULT SqliteConnection::Open(LPCWSTR connectionString, LPCWSTR, LPCWSTR, long) {
    if (db_) return ADO_E_ILLEGALOPERATION;
    if (!connectionString || !*connectionString) return E_INVALIDARG;
    const std::string path = toUtf8(connectionString);

    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        setLastError("no catalogue file at " + path);
        return E_FAIL;
    }
    if (info.st_size == 0) {
        setLastError("the catalogue file is empty: " + path);
        return E_FAIL;
    }
    if (looksTruncated(path, static_cast<long long>(info.st_size))) {
        setLastError("the catalogue file is truncated: " + path);
        return E_FAIL;
    }
    // A file without write permission is read-only for everybody, as on the device, where the
    // read-only attribute binds every user.
    const bool writable = (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
    const int flags = (writable ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY) | SQLITE_OPEN_NOMUTEX;
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        setLastError(db ? sqlite3_errmsg(db) : "out of memory");
        sqlite3_close_v2(db);
        return E_FAIL;
    }
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    sqlite3_extended_result_codes(db, 1);
    sqlite3_progress_handler(db, 4000, onProgress, db);
    if (registerLike(db) != SQLITE_OK || registerGermanOrder(db) != SQLITE_OK) {
        setLastError(sqlite3_errmsg(db));
        sqlite3_close_v2(db);
        return E_FAIL;
    }
    // The entry table is checked now, not at the first query. The other tables may be missing (an
    // older edition without bookmarks, say): only the statements that name them fail.
    for (const RequiredTable& table : kRequiredTables) {
        const std::string sql = std::string("SELECT * FROM \"") + table.name + "\" LIMIT 0";
        sqlite3_stmt* statement = nullptr;
        rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr);
        const int columns = statement ? sqlite3_column_count(statement) : 0;
        sqlite3_finalize(statement);
        if (rc != SQLITE_OK || columns < table.minimumColumns) {
            setLastError(rc != SQLITE_OK ? std::string(sqlite3_errmsg(db))
                                         : std::string("table ") + table.name + " has too few columns");
            sqlite3_close_v2(db);
            return E_FAIL;
        }
    }
    // Static recordsets keep texts in the file's own encoding until they are read.
    sqlite3_stmt* encoding = nullptr;
    utf8_ = true;
    if (sqlite3_prepare_v2(db, "PRAGMA encoding", -1, &encoding, nullptr) == SQLITE_OK &&
        sqlite3_step(encoding) == SQLITE_ROW)
        utf8_ = std::strcmp(reinterpret_cast<const char*>(sqlite3_column_text(encoding, 0)), "UTF-8") == 0;
    sqlite3_finalize(encoding);
    db_ = db;
    transactionLevel_ = 0;
    return S_OK;
}

HRESULT SqliteConnection::Close() {
    if (!db_) return ADO_E_ILLEGALOPERATION;
    while (!openRecordsets_.empty())
        (*openRecordsets_.begin())->connectionClosing();
    if (transactionLevel_ > 0) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close_v2(db_);
    db_ = nullptr;
    transactionLevel_ = 0;
    return S_OK;
}

HRESULT SqliteConnection::get_State(long* state) {
    if (!state) return E_POINTER;
    *state = db_ ? 1 : 0;
    return S_OK;
}

HRESULT SqliteConnection::run(const char* sql) {
    if (!db_) return ADO_E_ILLEGALOPERATION;
    char* message = nullptr;
    const int rc = sqlite3_exec(db_, sql, nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        setLastError(message ? message : sqlite3_errstr(rc));
        sqlite3_free(message);
        return E_FAIL;
    }
    return S_OK;
}

HRESULT SqliteConnection::BeginTrans(long* level) {
    if (transactionLevel_ > 0) return ADO_E_ILLEGALOPERATION; // no nesting
    const HRESULT hr = run("BEGIN IMMEDIATE");
    if (SUCCEEDED(hr)) transactionLevel_ = 1;
    if (level) *level = transactionLevel_;
    return hr;
}

HRESULT SqliteConnection::CommitTrans() {
    if (transactionLevel_ == 0) return ADO_E_ILLEGALOPERATION;
    const HRESULT hr = run("COMMIT");
    if (SUCCEEDED(hr)) transactionLevel_ = 0;
    return hr;
}

HRESULT SqliteConnection::RollbackTrans() {
    if (transactionLevel_ == 0) return ADO_E_ILLEGALOPERATION;
    const HRESULT hr = run("ROLLBACK");
    transactionLevel_ = 0;
    return hr;
}

} // namespace ado
