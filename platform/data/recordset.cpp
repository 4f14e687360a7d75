// The recordset: one SQL statement at a time. A static cursor knows its record count after the
// open but keeps only the first rows in memory: a search may hit half a million entries of which
// a screen reads eighty. It counts through the statement's cheaper plan where there is one
// (static_plan.h), otherwise by stepping the statement to its end. A dynamic cursor steps the
// statement as the caller moves.
#include <pthread.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/data/engine.h"
#include "platform/data/static_plan.h"
#include "platform/data/testing.h"
#include "platform/data/utf.h"

namespace ado {

namespace {

bool onlyBlanksAndSemicolons(const char16_t* p, const char16_t* end) {
    for (; p < end && *p; ++p)
        if (*p != u' ' && *p != u'\t' && *p != u'\r' && *p != u'\n' && *p != u';') return false;
    return true;
}

void setNumber(VARIANT* v, sqlite3_int64 n) {
    if (n >= INT32_MIN && n <= INT32_MAX) {
        v->vt = VT_I4;
        v->lVal = static_cast<LONG>(n);
    } else {
        v->vt = VT_R8;
        v->dblVal = static_cast<double>(n);
    }
}

// The rows a static cursor copies while it counts: more than the results tree reads (80).
constexpr long kKeptRows = 128;
// The rows one run of a planned statement's window covers past the kept ones.
constexpr long kWindowRows = 128;

sqlite3_stmt* prepared(sqlite3* db, const std::u16string& sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare16_v3(db, sql.c_str(), static_cast<int>(sql.size() * sizeof(char16_t)), 0, &statement,
                             nullptr) != SQLITE_OK) {
        sqlite3_finalize(statement);
        return nullptr;
    }
    return statement;
}

std::u16string quotedName(std::u16string_view name) {
    std::u16string quoted = u"\"";
    for (const char16_t c : name)
        quoted += c == u'"' ? u"\"\"" : std::u16string(1, c);
    return quoted + u"\"";
}

// The order in which an index holds its rows, as ORDER BY terms; nothing for an index on
// expressions.
std::optional<std::u16string> orderOfIndex(sqlite3* db, std::u16string_view index) {
    sqlite3_stmt* columns = prepared(db, u"PRAGMA index_xinfo(" + quotedName(index) + u")");
    if (!columns) return std::nullopt;
    std::u16string order;
    bool known = true;
    while (known && sqlite3_step(columns) == SQLITE_ROW) {
        const int column = sqlite3_column_int(columns, 1);
        const bool key = sqlite3_column_int(columns, 5) != 0;
        if (column == -1) {
            order += order.empty() ? u"rowid" : u", rowid";
            break;
        }
        if (!key) continue;
        const auto* name = static_cast<const char16_t*>(sqlite3_column_text16(columns, 2));
        const auto* collation = static_cast<const char16_t*>(sqlite3_column_text16(columns, 4));
        known = column >= 0 && name && collation;
        if (!known) break;
        order += (order.empty() ? u"" : u", ") + quotedName(name) + u" COLLATE " + quotedName(collation) +
                 (sqlite3_column_int(columns, 3) ? u" DESC" : u"");
    }
    sqlite3_finalize(columns);
    if (!known || order.empty()) return std::nullopt;
    return order;
}

// The order in which the statement as written reads the rows it sorts: its sort keeps that order
// for rows whose sort keys tie. Nothing when it reads them in any other way.
std::optional<std::u16string> tieOrderOf(sqlite3* db, std::u16string_view sql, std::u16string_view table) {
    sqlite3_stmt* explain = prepared(db, u"EXPLAIN QUERY PLAN " + std::u16string(sql));
    if (!explain) return std::nullopt;
    std::optional<std::u16string> order;
    int scans = 0;
    bool known = true;
    while (known && sqlite3_step(explain) == SQLITE_ROW) {
        const auto* text = static_cast<const char16_t*>(sqlite3_column_text16(explain, 3));
        const PlanLine line = readPlanLine(text ? text : u"", table);
        if (line.kind == PlanLine::Sort) continue;
        known = line.kind != PlanLine::Other && ++scans == 1;
        if (line.kind == PlanLine::RowIdOrder) order = u"rowid";
        if (line.kind == PlanLine::IndexOrder) order = orderOfIndex(db, line.index);
    }
    sqlite3_finalize(explain);
    if (!known) return std::nullopt;
    return order;
}

// Whether the engine answers `sql` from an index alone, without reading whole rows.
bool answeredFromAnIndex(sqlite3* db, const std::u16string& sql) {
    sqlite3_stmt* explain = prepared(db, u"EXPLAIN QUERY PLAN " + sql);
    if (!explain) return false;
    bool covered = true;
    bool any = false;
    while (covered && sqlite3_step(explain) == SQLITE_ROW) {
        const auto* text = static_cast<const char16_t*>(sqlite3_column_text16(explain, 3));
        covered = text && std::u16string_view(text).find(u" USING COVERING INDEX ") != std::u16string_view::npos;
        any = true;
    }
    sqlite3_finalize(explain);
    return any && covered;
}

// Runs `work` on a thread of its own while this thread calls `hook` every 40 ms until it is done.
// A single step of a long query can outlast the engine's progress calls (closing a sort's
// temporary file of a gigabyte takes half a second), and the hook must run on this thread.
template <typename Work> void runCallingHook(Work&& work, BusyHook hook) {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    std::thread worker([&] {
        pthread_setname_np(pthread_self(), "talvino-count");
        stepForAnotherThread();
        work();
        const std::lock_guard<std::mutex> lock(mutex);
        done = true;
        finished.notify_one();
    });
    std::unique_lock<std::mutex> lock(mutex);
    while (!finished.wait_for(lock, std::chrono::milliseconds(40), [&] { return done; })) {
        lock.unlock();
        hook();
        lock.lock();
    }
    lock.unlock();
    worker.join();
}

// Runs the stepping `work`: beside the busy hook when one is set (the connection is used by one
// thread at a time, so this one waits while the other steps), else right here.
template <typename Work> void runSteps(Work&& work) {
    if (const BusyHook hook = currentBusyHook())
        runCallingHook(work, hook);
    else
        work();
}

} // namespace

// ---- Fields and field ----------------------------------------------------------------------

HRESULT SqliteField::QueryInterface(const IID& iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (iid != IID_IUnknown) return E_NOINTERFACE;
    *object = static_cast<Field*>(this);
    return S_OK;
}

HRESULT SqliteField::get_Value(VARIANT* value) {
    return owner_->valueAt(position_, value);
}

HRESULT SqliteField::get_Name(BSTR* name) {
    if (!name) return E_POINTER;
    *name = nullptr;
    if (position_ >= owner_->columnCount()) return ADO_E_ITEMNOTFOUND;
    *name = SysAllocString(owner_->columnName(position_).c_str());
    return S_OK;
}

HRESULT SqliteFields::QueryInterface(const IID& iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (iid != IID_IUnknown) return E_NOINTERFACE;
    *object = static_cast<Fields*>(this);
    return S_OK;
}

HRESULT SqliteFields::get_Count(long* count) {
    if (!count) return E_POINTER;
    *count = owner_->columnCount();
    return S_OK;
}

HRESULT SqliteFields::get_Item(VARIANT index, Field** field) {
    if (!field) return E_POINTER;
    *field = nullptr;
    long position = -1;
    switch (index.vt) {
    case VT_I2:
        position = index.iVal;
        break;
    case VT_UI2:
        position = index.uiVal;
        break;
    case VT_I4:
        position = index.lVal;
        break;
    case VT_BSTR:
        position = index.bstrVal ? owner_->positionOf(index.bstrVal) : -1;
        break;
    default:
        return E_INVALIDARG;
    }
    if (position < 0 || position >= owner_->columnCount()) return ADO_E_ITEMNOTFOUND;
    *field = owner_->field(position);
    return S_OK;
}

// ---- Recordset -----------------------------------------------------------------------------

HRESULT SqliteRecordset::QueryInterface(const IID& iid, void** object) {
    if (!object) return E_POINTER;
    if (iid == IID_IADOCERecordset || iid == IID_IUnknown) {
        *object = static_cast<Recordset*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG SqliteRecordset::Release() {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

SqliteRecordset::~SqliteRecordset() {
    if (isOpen_) Close();
    if (connection_) connection_->Release();
}

HRESULT SqliteRecordset::put_ActiveConnection(VARIANT connection) {
    if (connection.vt != VT_DISPATCH || !connection.pdispVal) return E_INVALIDARG;
    void* object = nullptr;
    if (FAILED(connection.pdispVal->QueryInterface(IID_IADOCEConnection, &object))) return E_INVALIDARG;
    if (isOpen_) Close();
    if (connection_) connection_->Release();
    connection_ = static_cast<SqliteConnection*>(static_cast<Connection*>(object)); // keeps the reference
    return S_OK;
}

HRESULT SqliteRecordset::fail(int code, const char* what) {
    sqlite3* db = connection_ ? connection_->handle() : nullptr;
    const std::string message = std::string(what) + ": " + (db ? sqlite3_errmsg(db) : sqlite3_errstr(code));
    setLastError(message);
    finalize();
    if (isFileError(code)) throw ComponentException(code, message);
    return E_FAIL;
}

void SqliteRecordset::finalize() {
    if (statement_) sqlite3_finalize(statement_);
    statement_ = nullptr;
    if (countStatement_) sqlite3_finalize(countStatement_);
    countStatement_ = nullptr;
    if (rowStatement_) sqlite3_finalize(rowStatement_);
    rowStatement_ = nullptr;
    countsIds_ = false;
    planned_ = false;
    windowBound_ = false;
    windowStart_ = 0;
    if (isOpen_ && connection_) connection_->detach(this);
    isOpen_ = false;
    eof_ = true;
    cells_.clear();
    texts_.clear();
    utf8Texts_.clear();
    converted_.clear();
    convertedCells_.clear();
    columnNames_.clear();
    rowCount_ = 0;
    rowIndex_ = 0;
    keptRows_ = 0;
    statementRow_ = -1;
}

HRESULT SqliteRecordset::Open(VARIANT source, VARIANT activeConnection, long cursorType, long lockType,
                              long) {
    if (isOpen_) Close();
    if (source.vt != VT_BSTR || !source.bstrVal) return E_INVALIDARG;
    if (activeConnection.vt == VT_DISPATCH) {
        const HRESULT hr = put_ActiveConnection(activeConnection);
        if (FAILED(hr)) return hr;
    } else if (activeConnection.vt != VT_EMPTY && activeConnection.vt != VT_NULL) {
        return E_INVALIDARG;
    }
    if (!connection_ || !connection_->handle()) {
        setLastError("the connection is not open");
        return ADO_E_ILLEGALOPERATION;
    }
    sqlite3* db = connection_->handle();
    const char16_t* sql = source.bstrVal;
    std::size_t length = 0;
    while (sql[length])
        ++length;

    const void* tail = nullptr;
    int rc =
        sqlite3_prepare16_v3(db, sql, static_cast<int>(length * sizeof(char16_t)), 0, &statement_, &tail);
    if (rc != SQLITE_OK) return fail(rc, "prepare");
    if (!statement_) {
        setLastError("no SQL statement");
        return E_FAIL;
    }
    // One statement per text: whatever follows the first is refused, not silently dropped.
    if (!onlyBlanksAndSemicolons(static_cast<const char16_t*>(tail), sql + length)) {
        setLastError("more than one SQL statement");
        finalize();
        return E_FAIL;
    }
    readOnlyStatement_ = sqlite3_stmt_readonly(statement_) != 0;
    if (lockType == adLockReadOnly && !readOnlyStatement_) {
        setLastError("a read-only recordset cannot change data");
        finalize();
        return E_FAIL;
    }
    const int columns = sqlite3_column_count(statement_);
    columnNames_.reserve(static_cast<std::size_t>(columns));
    for (int i = 0; i < columns; ++i) {
        const void* name = sqlite3_column_name16(statement_, i);
        columnNames_.emplace_back(name ? static_cast<const char16_t*>(name) : u"");
    }
    isOpen_ = true;
    connection_->attach(this);
    isStatic_ = cursorType == adOpenStatic;
    rowIndex_ = 0;
    if (isStatic_) {
        if (readOnlyStatement_ && takeCheaperPlan(std::u16string_view(sql, length)))
            return countAndKeepFirstRowsThroughPlan();
        return countAndKeepFirstRows();
    }

    rc = sqlite3_step(statement_);
    if (rc == SQLITE_ROW) {
        eof_ = false;
    } else if (rc == SQLITE_DONE) {
        eof_ = true;
    } else {
        return fail(rc, "step");
    }
    return S_OK;
}

HRESULT SqliteRecordset::countAndKeepFirstRows() {
    utf8Arena_ = connection_->isUtf8();
    int rc = SQLITE_ROW;
    auto stepToTheEnd = [this, &rc] {
        while ((rc = sqlite3_step(statement_)) == SQLITE_ROW) {
            if (rowCount_ < kKeptRows) keepCurrentRow(statement_);
            ++rowCount_;
        }
    };
    runSteps(stepToTheEnd);
    if (rc != SQLITE_DONE) return fail(rc, "step");
    keptRows_ = std::min(rowCount_, kKeptRows);
    // Done with the rows for now: a later row runs the statement again from its start.
    sqlite3_reset(statement_);
    statementRow_ = -1;
    eof_ = rowCount_ == 0;
    return S_OK;
}

// Swaps the statement for its cheaper plan when there is one the engine accepts with the same
// columns. Otherwise the statement runs as written.
bool SqliteRecordset::takeCheaperPlan(std::u16string_view sql) {
    if (sqlite3_bind_parameter_count(statement_) != 0) return false;
    const std::optional<StaticPlan> plan = staticPlanFor(sql);
    if (!plan) return false;
    sqlite3* db = connection_->handle();
    const std::optional<std::u16string> tieOrder = tieOrderOf(db, sql, plan->table);
    if (!tieOrder) return false;
    // A count an index answers costs little beside reading the rows; one that reads whole rows
    // would read them twice, so the row ids are counted as they come, sorted, in one pass.
    const bool countsIds = !answeredFromAnIndex(db, plan->countSql);
    sqlite3_stmt* count = prepared(db, countsIds ? plan->orderedIdsSql(*tieOrder) : plan->countSql);
    sqlite3_stmt* row = countsIds ? prepared(db, plan->rowSql()) : nullptr;
    sqlite3_stmt* window = prepared(db, plan->windowSql(*tieOrder));
    bool same = count && window && (row || !countsIds) && sqlite3_column_count(count) == 1;
    for (sqlite3_stmt* rows : {window, row}) {
        if (!same || !rows) continue;
        same = sqlite3_column_count(rows) == static_cast<int>(columnNames_.size());
        for (int i = 0; same && i < sqlite3_column_count(rows); ++i) {
            const void* name = sqlite3_column_name16(rows, i);
            same = name && columnNames_[static_cast<std::size_t>(i)] == static_cast<const char16_t*>(name);
        }
    }
    if (!same) {
        sqlite3_finalize(count);
        sqlite3_finalize(row);
        sqlite3_finalize(window);
        return false;
    }
    sqlite3_finalize(statement_);
    statement_ = window;
    countStatement_ = count;
    rowStatement_ = row;
    countsIds_ = countsIds;
    planned_ = true;
    windowBound_ = false;
    return true;
}

HRESULT SqliteRecordset::countAndKeepFirstRowsThroughPlan() {
    utf8Arena_ = connection_->isUtf8();
    int rc = SQLITE_OK;
    sqlite3_int64 counted = 0;
    long kept = 0;
    // The counting statement stays active while the rows are read, so that both read the file as
    // it was at one moment.
    auto countAndReadFirstWindow = [&] {
        rc = sqlite3_step(countStatement_);
        if (rc != SQLITE_ROW) return;
        counted = sqlite3_column_int64(countStatement_, 0);
        sqlite3_bind_int64(statement_, 1, kKeptRows);
        sqlite3_bind_int64(statement_, 2, 0);
        while ((rc = sqlite3_step(statement_)) == SQLITE_ROW) {
            keepCurrentRow(statement_);
            ++kept;
        }
    };
    auto countIdsAndReadFirstRows = [&] {
        while ((rc = sqlite3_step(countStatement_)) == SQLITE_ROW) {
            if (counted++ >= kKeptRows) continue;
            sqlite3_bind_int64(rowStatement_, 1, sqlite3_column_int64(countStatement_, 0));
            const int found = sqlite3_step(rowStatement_);
            if (found == SQLITE_ROW) keepCurrentRow(rowStatement_);
            sqlite3_reset(rowStatement_);
            if (found != SQLITE_ROW) {
                rc = found == SQLITE_DONE ? SQLITE_CORRUPT : found; // a row id the file just gave is gone
                return;
            }
            ++kept;
        }
    };
    if (countsIds_)
        runSteps(countIdsAndReadFirstRows);
    else
        runSteps(countAndReadFirstWindow);
    if (rc != SQLITE_DONE) return fail(rc, "step");
    sqlite3_finalize(countStatement_);
    countStatement_ = nullptr;
    sqlite3_finalize(rowStatement_);
    rowStatement_ = nullptr;
    rowCount_ = static_cast<long>(std::min<sqlite3_int64>(counted, LONG_MAX));
    keptRows_ = std::min(rowCount_, kept);
    sqlite3_reset(statement_);
    windowBound_ = false;
    statementRow_ = -1;
    eof_ = rowCount_ == 0;
    return S_OK;
}

void SqliteRecordset::keepCurrentRow(sqlite3_stmt* row) {
    const int columns = static_cast<int>(columnNames_.size());
    for (int i = 0; i < columns; ++i) {
        Cell cell;
        switch (sqlite3_column_type(row, i)) {
        case SQLITE_INTEGER: {
            VARIANT v;
            setNumber(&v, sqlite3_column_int64(row, i));
            cell.vt = v.vt;
            if (v.vt == VT_I4)
                cell.number = v.lVal;
            else
                cell.real = v.dblVal;
            break;
        }
        case SQLITE_FLOAT:
            cell.vt = VT_R8;
            cell.real = sqlite3_column_double(row, i);
            break;
        case SQLITE_TEXT: {
            cell.vt = VT_BSTR;
            if (utf8Arena_) {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(row, i));
                const std::size_t bytes = static_cast<std::size_t>(sqlite3_column_bytes(row, i));
                cell.text = {static_cast<std::uint32_t>(utf8Texts_.size()),
                             static_cast<std::uint32_t>(bytes)};
                utf8Texts_.insert(utf8Texts_.end(), text, text + bytes);
            } else {
                const auto* text = static_cast<const char16_t*>(sqlite3_column_text16(row, i));
                const std::size_t units = static_cast<std::size_t>(sqlite3_column_bytes16(row, i)) / 2;
                cell.text = {static_cast<std::uint32_t>(texts_.size()), static_cast<std::uint32_t>(units)};
                texts_.insert(texts_.end(), text, text + units);
                texts_.push_back(u'\0');
            }
            break;
        }
        case SQLITE_NULL:
            cell.vt = VT_NULL;
            cell.number = 0;
            break;
        default:
            cell.vt = VT_EMPTY;
            cell.number = 0;
            break;
        }
        cells_.push_back(cell);
    }
}

// Brings the statement of a static cursor to `row`, one it counted at the open but did not keep.
HRESULT SqliteRecordset::stepStatementTo(long row) {
    if (planned_) return stepWindowTo(row);
    if (statementRow_ > row) {
        // Running it again cannot change data: only a read-only statement has rows to go back to.
        if (!readOnlyStatement_) return ADO_E_ILLEGALOPERATION;
        sqlite3_reset(statement_);
        statementRow_ = -1;
    }
    return stepForwardTo(row);
}

// Steps the running statement on to `row`; past its last row it is reset to run again.
HRESULT SqliteRecordset::stepForwardTo(long row) {
    while (statementRow_ < row) {
        const int rc = sqlite3_step(statement_);
        if (rc != SQLITE_ROW) {
            // The file changed under the recordset (fewer rows now), or failed.
            sqlite3_reset(statement_);
            statementRow_ = -1;
            if (rc != SQLITE_DONE) {
                setLastError(sqlite3_errmsg(connection_->handle()));
                return E_FAIL;
            }
            return ADO_E_NOCURRENTRECORD;
        }
        ++statementRow_;
    }
    return S_OK;
}

// Brings the window statement of a planned cursor to `row`, running it for a new window when the
// row lies outside the one it stands in.
HRESULT SqliteRecordset::stepWindowTo(long row) {
    const bool inWindow = windowBound_ && row >= windowStart_ && row < windowStart_ + kWindowRows &&
                          statementRow_ <= row;
    if (!inWindow) {
        sqlite3_reset(statement_);
        // Going back, the window ends at the row asked for: reading backwards row by row then runs
        // the statement once per window, not once per row.
        windowStart_ = windowBound_ && row < windowStart_ ? std::max(keptRows_, row - kWindowRows + 1) : row;
        sqlite3_bind_int64(statement_, 1, kWindowRows);
        sqlite3_bind_int64(statement_, 2, windowStart_);
        windowBound_ = true;
        statementRow_ = windowStart_ - 1;
    }
    const HRESULT hr = stepForwardTo(row);
    // A window the statement ended in is run anew next time.
    if (hr != S_OK) windowBound_ = false;
    return hr;
}

void SqliteRecordset::connectionClosing() {
    if (isOpen_) finalize();
}

HRESULT SqliteRecordset::Close() {
    if (!isOpen_) return ADO_E_ILLEGALOPERATION;
    finalize();
    return S_OK;
}

HRESULT SqliteRecordset::get_State(long* state) {
    if (!state) return E_POINTER;
    *state = isOpen_ ? 1 : 0;
    return S_OK;
}

HRESULT SqliteRecordset::MoveFirst() {
    if (!isOpen_) return ADO_E_ILLEGALOPERATION;
    if (isStatic_) {
        rowIndex_ = 0;
        eof_ = rowCount_ == 0;
        return S_OK;
    }
    if (rowIndex_ == 0) return S_OK;
    // Going back means running the query again; a statement that changed data is not rerun.
    if (!readOnlyStatement_ || !statement_) return ADO_E_ILLEGALOPERATION;
    sqlite3_reset(statement_);
    rowIndex_ = 0;
    const int rc = sqlite3_step(statement_);
    eof_ = rc != SQLITE_ROW;
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        setLastError(sqlite3_errmsg(connection_->handle()));
        return E_FAIL;
    }
    return S_OK;
}

HRESULT SqliteRecordset::MoveNext() {
    if (!isOpen_) return ADO_E_ILLEGALOPERATION;
    if (eof_) return ADO_E_NOCURRENTRECORD;
    ++rowIndex_;
    if (isStatic_) {
        eof_ = rowIndex_ >= rowCount_;
        return S_OK;
    }
    const int rc = sqlite3_step(statement_);
    eof_ = rc != SQLITE_ROW;
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        // A file error while stepping ends the rows; only the open raises exceptions.
        setLastError(sqlite3_errmsg(connection_->handle()));
        return E_FAIL;
    }
    return S_OK;
}

HRESULT SqliteRecordset::get_EOF(VARIANT_BOOL* eof) {
    if (!eof) return E_POINTER;
    if (!isOpen_) return ADO_E_ILLEGALOPERATION;
    *eof = eof_ ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT SqliteRecordset::get_RecordCount(long* count) {
    if (!count) return E_POINTER;
    if (!isOpen_) return ADO_E_ILLEGALOPERATION;
    *count = isStatic_ ? rowCount_ : -1;
    return S_OK;
}

HRESULT SqliteRecordset::get_Fields(Fields** fields) {
    if (!fields) return E_POINTER;
    *fields = nullptr;
    if (!isOpen_) return ADO_E_ILLEGALOPERATION;
    *fields = &fields_;
    return S_OK;
}

Field* SqliteRecordset::field(long position) {
    while (static_cast<long>(fieldObjects_.size()) <= position)
        fieldObjects_.push_back(std::make_unique<SqliteField>(this, static_cast<long>(fieldObjects_.size())));
    return fieldObjects_[static_cast<std::size_t>(position)].get();
}

long SqliteRecordset::positionOf(std::u16string_view name) const {
    for (std::size_t i = 0; i < columnNames_.size(); ++i)
        if (sameIgnoringAsciiCase(columnNames_[i], name)) return static_cast<long>(i);
    return -1;
}

const char16_t* SqliteRecordset::cellText(std::size_t cellIndex, const Cell& cell) {
    if (!utf8Arena_) return texts_.data() + cell.text.offset;
    auto found = convertedCells_.find(cellIndex);
    if (found != convertedCells_.end()) return found->second;
    converted_.push_back(toUtf16(std::string_view(utf8Texts_.data() + cell.text.offset, cell.text.length)));
    const char16_t* text = converted_.back().c_str();
    convertedCells_.emplace(cellIndex, text);
    return text;
}

HRESULT SqliteRecordset::fieldValue(long position, VARIANT* value) {
    return valueAt(position, value);
}

HRESULT SqliteRecordset::valueAt(long position, VARIANT* value) {
    if (!value) return E_POINTER;
    VariantInit(value);
    if (!isOpen_) return ADO_E_ILLEGALOPERATION;
    if (position < 0 || position >= columnCount()) return ADO_E_ITEMNOTFOUND;
    if (eof_) return ADO_E_NOCURRENTRECORD;
    if (isStatic_ && rowIndex_ < keptRows_) {
        const Cell& cell = cells_[static_cast<std::size_t>(rowIndex_) * columnNames_.size() +
                                  static_cast<std::size_t>(position)];
        value->vt = cell.vt;
        if (cell.vt == VT_I4) {
            value->lVal = cell.number;
        } else if (cell.vt == VT_R8) {
            value->dblVal = cell.real;
        } else if (cell.vt == VT_BSTR) {
            value->bstrVal =
                const_cast<char16_t*>(cellText(static_cast<std::size_t>(rowIndex_) * columnNames_.size() +
                                                   static_cast<std::size_t>(position),
                                               cell));
            value->wReserved1 = 1;
        }
        return S_OK;
    }
    if (isStatic_) {
        const HRESULT hr = stepStatementTo(rowIndex_);
        if (FAILED(hr)) return hr;
    }
    const int column = static_cast<int>(position);
    switch (sqlite3_column_type(statement_, column)) {
    case SQLITE_INTEGER:
        setNumber(value, sqlite3_column_int64(statement_, column));
        break;
    case SQLITE_FLOAT:
        value->vt = VT_R8;
        value->dblVal = sqlite3_column_double(statement_, column);
        break;
    case SQLITE_TEXT:
        value->vt = VT_BSTR;
        value->bstrVal =
            const_cast<char16_t*>(static_cast<const char16_t*>(sqlite3_column_text16(statement_, column)));
        value->wReserved1 = 1;
        break;
    case SQLITE_NULL:
        value->vt = VT_NULL;
        break;
    default:
        value->vt = VT_EMPTY;
        break;
    }
    return S_OK;
}

bool testing::readsThroughCheaperPlan(Recordset* recordset) {
    const auto* sqlite = dynamic_cast<SqliteRecordset*>(recordset);
    return sqlite && sqlite->readsThroughCheaperPlan();
}

} // namespace ado
