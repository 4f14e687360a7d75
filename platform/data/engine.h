// Inside the data-access component: the SQLite objects behind Connection and Recordset.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <cstring>
#include <deque>
#include <memory>
#include <set>
#include <unordered_map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/data/ado.h"

namespace ado {

class SqliteRecordset;

// A file without these tables, or with fewer columns in them, is not a catalogue.
struct RequiredTable {
    const char* name;
    int minimumColumns;
};
extern const RequiredTable kRequiredTables[1];

// SQLite hands UTF-16 texts to collations and functions where they lie in its pages, at odd
// addresses too, and a char16_t may not be read there: such a text is first copied into `copy`.
inline std::u16string_view utf16At(const void* text, std::size_t units, std::u16string& copy) {
    if (!text) return {};
    if (reinterpret_cast<std::uintptr_t>(text) % alignof(char16_t) == 0)
        return std::u16string_view(static_cast<const char16_t*>(text), units);
    copy.resize(units);
    std::memcpy(copy.data(), text, units * sizeof(char16_t));
    return copy;
}

// Registers the catalogue's LIKE on a connection, in UTF-8 and UTF-16 forms.
int registerLike(sqlite3* db);
// Registers the catalogue's German order (the collation kGermanCollation) on a connection.
int registerGermanOrder(sqlite3* db);

// Errors of the file itself, as opposed to errors of the SQL text.
bool isFileError(int engineCode);
char16_t foldCaseAscii(char16_t c);
// Whether two names or keywords are the same but for the case of ASCII letters, as SQL reads them.
bool sameIgnoringAsciiCase(std::u16string_view a, std::u16string_view b);
void setLastError(const std::string& text);
// The hook given to setBusyHook, or null.
using BusyHook = void (*)();
BusyHook currentBusyHook();
// This thread steps a statement while the one that opened it calls the hook itself.
void stepForAnotherThread();

class SqliteConnection final : public Connection {
  public:
    SqliteConnection() = default;
    SqliteConnection(const SqliteConnection&) = delete;
    SqliteConnection& operator=(const SqliteConnection&) = delete;

    HRESULT QueryInterface(const IID& iid, void** object) override;
    ULONG AddRef() override { return ++references_; }
    ULONG Release() override;

    HRESULT put_Provider(LPCWSTR provider) override;
    HRESULT Open(LPCWSTR connectionString, LPCWSTR user, LPCWSTR password, long options) override;
    HRESULT Close() override;
    HRESULT get_State(long* state) override;
    HRESULT BeginTrans(long* level) override;
    HRESULT CommitTrans() override;
    HRESULT RollbackTrans() override;

    sqlite3* handle() const { return db_; }
    bool isUtf8() const { return utf8_; }
    void attach(SqliteRecordset* recordset) { openRecordsets_.insert(recordset); }
    void detach(SqliteRecordset* recordset) { openRecordsets_.erase(recordset); }

  private:
    ~SqliteConnection() override;
    HRESULT run(const char* sql);

    ULONG references_ = 1;
    sqlite3* db_ = nullptr;
    std::u16string provider_;
    long transactionLevel_ = 0;
    bool utf8_ = true;
    std::set<SqliteRecordset*> openRecordsets_;
};

class SqliteRecordset;

class SqliteField final : public Field {
  public:
    SqliteField(SqliteRecordset* owner, long position) : owner_(owner), position_(position) {}
    HRESULT QueryInterface(const IID& iid, void** object) override;
    ULONG AddRef() override { return 2; }
    ULONG Release() override { return 1; }
    HRESULT get_Value(VARIANT* value) override;
    HRESULT get_Name(BSTR* name) override;

  private:
    SqliteRecordset* owner_;
    long position_;
};

class SqliteFields final : public Fields {
  public:
    explicit SqliteFields(SqliteRecordset* owner) : owner_(owner) {}
    HRESULT QueryInterface(const IID& iid, void** object) override;
    ULONG AddRef() override { return 2; }
    ULONG Release() override { return 1; }
    HRESULT get_Count(long* count) override;
    HRESULT get_Item(VARIANT index, Field** field) override;

  private:
    SqliteRecordset* owner_;
};

class SqliteRecordset final : public Recordset {
  public:
    SqliteRecordset() : fields_(this) {}
    SqliteRecordset(const SqliteRecordset&) = delete;
    SqliteRecordset& operator=(const SqliteRecordset&) = delete;

    HRESULT QueryInterface(const IID& iid, void** object) override;
    ULONG AddRef() override { return ++references_; }
    ULONG Release() override;

    HRESULT put_ActiveConnection(VARIANT connection) override;
    HRESULT Open(VARIANT source, VARIANT activeConnection, long cursorType, long lockType,
                 long options) override;
    HRESULT Close() override;
    HRESULT get_State(long* state) override;
    HRESULT MoveFirst() override;
    HRESULT MoveNext() override;
    HRESULT get_EOF(VARIANT_BOOL* eof) override;
    HRESULT get_RecordCount(long* count) override;
    HRESULT get_Fields(Fields** fields) override;
    HRESULT fieldValue(long position, VARIANT* value) override;

    // For the fields: the current row's value at a position, and the column names.
    HRESULT valueAt(long position, VARIANT* value);
    long columnCount() const { return isOpen_ ? static_cast<long>(columnNames_.size()) : 0; }
    long positionOf(std::u16string_view name) const;
    const std::u16string& columnName(long position) const {
        return columnNames_[static_cast<std::size_t>(position)];
    }
    Field* field(long position);
    bool readsThroughCheaperPlan() const { return planned_; }
    // The connection closes under us: drop the statement.
    void connectionClosing();

  private:
    ~SqliteRecordset() override;
    HRESULT fail(int code, const char* what);
    HRESULT countAndKeepFirstRows();
    bool takeCheaperPlan(std::u16string_view sql);
    HRESULT countAndKeepFirstRowsThroughPlan();
    void keepCurrentRow(sqlite3_stmt* row);
    HRESULT stepStatementTo(long row);
    HRESULT stepWindowTo(long row);
    HRESULT stepForwardTo(long row);
    void finalize();

    struct Text {
        std::uint32_t offset;
        std::uint32_t length; // in units of the arena
    };
    struct Cell {
        VARTYPE vt;
        union {
            LONG number;
            double real;
            Text text;
        };
    };
    const char16_t* cellText(std::size_t cellIndex, const Cell& cell);

    ULONG references_ = 1;
    SqliteConnection* connection_ = nullptr;
    sqlite3_stmt* statement_ = nullptr;
    SqliteFields fields_;
    std::vector<std::unique_ptr<SqliteField>> fieldObjects_;
    std::vector<std::u16string> columnNames_;
    bool isOpen_ = false;
    bool isStatic_ = false;
    bool eof_ = true;
    bool readOnlyStatement_ = true;
    long rowIndex_ = 0;
    // Static cursor: the open counts the rows (stepping the statement to its end once, or through
    // the cheaper plan) and keeps the cells of the first rows, with one arena for their texts in
    // the file's encoding. Later rows are read from the statement itself (the plan's window
    // statement), which runs again when the caller goes back or past its window. A
    // UTF-8 text becomes UTF-16 only when it is read; the converted copies stay where they are
    // (a deque never moves its elements) until the recordset closes.
    long keptRows_ = 0;
    long statementRow_ = -1; // the row the statement stands on; -1 before its first step
    // With the cheaper plan, statement_ is the window statement (rows from windowStart_ on, once
    // bound) and the counting statements run once during the open.
    bool planned_ = false;
    bool windowBound_ = false;
    long windowStart_ = 0;
    // count(*) over the WHERE, or (countsIds_) every row id in order, then each kept row by its id.
    sqlite3_stmt* countStatement_ = nullptr;
    bool countsIds_ = false;
    sqlite3_stmt* rowStatement_ = nullptr;
    std::vector<Cell> cells_;
    std::vector<char16_t> texts_;
    std::vector<char> utf8Texts_;
    std::deque<std::u16string> converted_;
    std::unordered_map<std::size_t, const char16_t*> convertedCells_;
    bool utf8Arena_ = false;
    long rowCount_ = 0;
};

} // namespace ado
