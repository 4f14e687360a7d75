#include "tools/catalogue/bookmark_transfer.h"

#include <sqlite3.h>

#include <map>
#include <memory>

#include "platform/data/engine.h"
#include "tools/catalogue/bookmark_rows.h"
#include "tools/catalogue/sqlite_handles.h"

namespace catalogue {

namespace {

DbHandle open(const std::string& path, int flags) {
    sqlite3* raw = nullptr;
    if (sqlite3_open_v2(path.c_str(), &raw, flags, nullptr) != SQLITE_OK) {
        const std::string message = raw ? sqlite3_errmsg(raw) : "out of memory";
        sqlite3_close_v2(raw);
        throw WriteError("cannot open " + path + ": " + message);
    }
    sqlite3_busy_timeout(raw, 5000);
    DbHandle db(raw);
    // The catalogue declares German order on its sorted columns; without it they cannot be read.
    if (ado::registerGermanOrder(raw) != SQLITE_OK) throw WriteError("cannot register German order");
    return db;
}

StatementHandle prepare(sqlite3* db, const char* sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK)
        throw WriteError(std::string(sqlite3_errmsg(db)) + " (in: " + sql + ")");
    return StatementHandle(statement);
}

void exec(sqlite3* db, const char* sql) {
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        throw WriteError(std::string(sqlite3_errmsg(db)) + " (in: " + sql + ")");
}

// Rolls back unless committed, so that a failure half-way leaves the catalogue as it was.
class Transaction {
  public:
    explicit Transaction(sqlite3* db) : db_(db) { exec(db_, "BEGIN IMMEDIATE"); }
    ~Transaction() {
        if (!committed_) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit() {
        exec(db_, "COMMIT");
        committed_ = true;
    }

  private:
    sqlite3* db_;
    bool committed_ = false;
};

long long bookmarkCount(sqlite3* db) {
    auto s = prepare(db, "SELECT count(*) FROM Lesezeichen");
    if (sqlite3_step(s.get()) != SQLITE_ROW)
        throw WriteError(std::string("cannot count the bookmarks: ") + sqlite3_errmsg(db));
    return sqlite3_column_int64(s.get(), 0);
}

std::string entryName(long long id) {
    return "entry " + std::to_string(id);
}

} // namespace

std::vector<ExportedBookmark> exportBookmarks(const std::string& cataloguePath) {
    DbHandle db = open(cataloguePath, SQLITE_OPEN_READONLY);
    auto s = prepare(db.get(), "SELECT l.id_talvino, t.STICHWORT, l.Beschreibung, l.Notiz FROM Lesezeichen l "
                               "LEFT JOIN talvino t ON t.ID = l.id_talvino ORDER BY l.rowid");
    std::vector<ExportedBookmark> bookmarks;
    int rc;
    while ((rc = sqlite3_step(s.get())) == SQLITE_ROW) {
        ExportedBookmark b;
        b.entryId = sqlite3_column_int64(s.get(), 0);
        b.keyword = optionalText(s.get(), 1);
        b.description = optionalText(s.get(), 2);
        b.note = optionalText(s.get(), 3);
        bookmarks.push_back(std::move(b));
    }
    if (rc != SQLITE_DONE)
        throw WriteError("cannot read the bookmarks of " + cataloguePath + ": " + sqlite3_errmsg(db.get()));
    return bookmarks;
}

ImportReport importBookmarks(const std::string& cataloguePath, const std::vector<BookmarkFileLine>& lines) {
    DbHandle db = open(cataloguePath, SQLITE_OPEN_READWRITE);
    auto existing = prepare(db.get(), "SELECT Beschreibung, Notiz FROM Lesezeichen WHERE id_talvino = ?");
    auto entry = prepare(db.get(), "SELECT 1 FROM talvino WHERE ID = ?");
    Transaction transaction(db.get());
    const long long before = bookmarkCount(db.get());
    ImportReport report;
    for (const BookmarkFileLine& line : lines) {
        const ExportedBookmark& b = line.bookmark;
        const std::string where = "line " + std::to_string(line.line) + ": " + entryName(b.entryId);

        sqlite3_reset(existing.get());
        sqlite3_bind_int64(existing.get(), 1, b.entryId);
        bool same = false, other = false;
        int rc;
        while ((rc = sqlite3_step(existing.get())) == SQLITE_ROW) {
            if (optionalText(existing.get(), 0) == b.description && optionalText(existing.get(), 1) == b.note)
                same = true;
            else
                other = true;
        }
        if (rc != SQLITE_DONE)
            throw WriteError(std::string("cannot read the bookmarks: ") + sqlite3_errmsg(db.get()));
        if (same) {
            report.skipped.push_back(where + " already has this bookmark");
            continue;
        }
        if (other) {
            report.skipped.push_back(where + " already has a bookmark with other texts, which stays");
            continue;
        }

        sqlite3_reset(entry.get());
        sqlite3_bind_int64(entry.get(), 1, b.entryId);
        rc = sqlite3_step(entry.get());
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            throw WriteError(std::string("cannot read the entries: ") + sqlite3_errmsg(db.get()));
        if (rc == SQLITE_DONE)
            report.notes.push_back(where + " is not in this catalogue; its bookmark is kept all the same");

        insertBookmarks(db.get(), {Bookmark{std::nullopt, b.entryId, b.description, b.note}});
        ++report.added;
    }
    // A trigger or a view in the catalogue could swallow what was written: what was reported added
    // must be there.
    const long long after = bookmarkCount(db.get());
    if (after != before + report.added)
        throw WriteError("Lesezeichen holds " + std::to_string(after) + " bookmarks after " +
                         std::to_string(report.added) + " were added to " + std::to_string(before) +
                         " (a trigger or view of the catalogue changed them; see talvino-catalogue verify)");
    transaction.commit();
    return report;
}

void replaceBookmarks(const std::string& path, const std::vector<Bookmark>& bookmarks) {
    DbHandle db = open(path, SQLITE_OPEN_READWRITE);
    Transaction transaction(db.get());
    exec(db.get(), "DELETE FROM Lesezeichen");
    insertBookmarks(db.get(), bookmarks);
    transaction.commit();
}

std::vector<Bookmark> salvageBookmarks(const std::string& path) {
    // immutable: no lock, and a journal beside the file is never played back into it.
    const std::string uri = "file:" + path + "?immutable=1";
    sqlite3* raw = nullptr;
    if (sqlite3_open_v2(uri.c_str(), &raw, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr) != SQLITE_OK) {
        sqlite3_close_v2(raw);
        return {};
    }
    DbHandle db(raw);
    std::map<long long, Bookmark> found; // by rowid
    for (const char* order : {"ASC", "DESC"}) {
        const std::string sql = std::string("SELECT rowid, ID_Lesezeichen, id_talvino, Beschreibung, Notiz "
                                            "FROM Lesezeichen ORDER BY rowid ") +
                                order;
        sqlite3_stmt* raw_statement = nullptr;
        if (sqlite3_prepare_v2(db.get(), sql.c_str(), -1, &raw_statement, nullptr) != SQLITE_OK) break;
        StatementHandle s(raw_statement);
        while (sqlite3_step(s.get()) == SQLITE_ROW) {
            const long long rowid = sqlite3_column_int64(s.get(), 0);
            if (found.count(rowid)) break; // met the rows read the other way
            found.emplace(rowid, bookmarkInRow(s.get(), 1));
        }
    }
    std::vector<Bookmark> bookmarks;
    bookmarks.reserve(found.size());
    for (auto& [rowid, bookmark] : found)
        bookmarks.push_back(std::move(bookmark));
    return bookmarks;
}

} // namespace catalogue
