#include "tools/catalogue/catalogue_writer.h"

#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "db/schema.h"
#include "tools/catalogue/bookmark_rows.h"
#include "db/text_codec.h"
#include "platform/data/engine.h"
#include "platform/data/german_order.h"
#include "platform/data/utf.h"
#include "tools/catalogue/sqlite_handles.h"

namespace catalogue {

namespace {

std::string utf8(const char16_t* text) {
    return ado::toUtf8(text);
}

void exec(sqlite3* db, const std::string& sql) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message ? message : sqlite3_errmsg(db);
        sqlite3_free(message);
        throw WriteError(text + " (in: " + sql.substr(0, 80) + ")");
    }
}

StatementHandle prepare(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
        throw WriteError(std::string(sqlite3_errmsg(db)) + " (in: " + sql.substr(0, 80) + ")");
    return StatementHandle(statement);
}

void bindText(sqlite3_stmt* s, int index, const OptionalText& text) {
    if (text)
        sqlite3_bind_text16(s, index, text->data(), static_cast<int>(text->size() * sizeof(char16_t)),
                            SQLITE_TRANSIENT);
    else
        sqlite3_bind_null(s, index);
}

void step(sqlite3* db, sqlite3_stmt* s, const std::string& what) {
    if (sqlite3_step(s) != SQLITE_DONE) throw WriteError(what + ": " + sqlite3_errmsg(db));
    sqlite3_reset(s);
    sqlite3_clear_bindings(s);
}

std::string insertStatement(const char16_t* table, const char16_t* const* columns, int count) {
    std::string sql = "INSERT INTO " + utf8(table) + " (";
    std::string values;
    for (int i = 0; i < count; ++i) {
        sql += (i ? ", " : "") + utf8(columns[i]);
        values += i ? ", ?" : "?";
    }
    return sql + ") VALUES (" + values + ")";
}

} // namespace

Text vintageText(const std::vector<int>& years) {
    Text text;
    for (int year : years)
        text += static_cast<char16_t>(year - 1900);
    return text;
}

std::vector<std::string> schemaStatements() {
    using namespace schema;
    // The columns the screens sort by declare German order; the program registers it, a plain
    // sqlite3 shell does not know it (see the README).
    const std::string german = std::string(" COLLATE ") + ado::kGermanCollation;
    std::string entries = "CREATE TABLE talvino (\n";
    for (int i = 0; i < entry::kColumnCount; ++i) {
        const std::string name = utf8(entry::kColumns[i]);
        std::string type;
        if (i == entry::kId)
            type = "INTEGER PRIMARY KEY CHECK (ID <> 0)";
        else if (i == entry::kName || i == entry::kDescription || i == entry::kSuffix ||
                 i == entry::kTextLower ||
                 (i >= entry::kFirstVintage && i < entry::kFirstVintage + entry::kVintageCategories))
            type = "TEXT";
        else if (i == entry::kKeyword)
            type = "TEXT NOT NULL" + german;
        else if (i == entry::kCountry || i == entry::kRegion || i == entry::kKeywordLower)
            type = "TEXT NOT NULL";
        else
            type = "INTEGER NOT NULL DEFAULT 0";
        entries += "  " + name + " " + type + (i + 1 < entry::kColumnCount ? ",\n" : "\n");
    }
    entries += ")";
    return {
        entries,
        // No index on a German-ordered column, so a plain shell can still write and check the file;
        // the catalogue tool refuses a country name given twice.
        "CREATE TABLE Land (\n  Land TEXT PRIMARY KEY NOT NULL,\n  Bezeichnung TEXT NOT NULL" + german +
            "\n)",
        "CREATE TABLE Region (\n  ID_REGION INTEGER PRIMARY KEY,\n  Land TEXT NOT NULL,\n  Regio_Lang TEXT "
        "NOT NULL" +
            german + "\n)",
        "CREATE TABLE Rebsorten (\n  ID_Rebsorte INTEGER PRIMARY KEY,\n  Rebsorte TEXT NOT NULL,\n"
        "  Farbe INTEGER NOT NULL,\n  Text TEXT\n)",
        // The key numbers new bookmarks after every earlier one, so the list keeps saving order.
        "CREATE TABLE Lesezeichen (\n  ID_Lesezeichen INTEGER PRIMARY KEY AUTOINCREMENT,\n"
        "  id_talvino INTEGER,\n  Beschreibung TEXT,\n  Notiz TEXT\n)",
        "CREATE INDEX Lesezeichen_id_talvino ON Lesezeichen (id_talvino)",
    };
}

std::string searchIndexStatement() {
    // Every column a search filters on and the sort key, a tenth of a row: a search counts its
    // hits and picks its first rows from the index without reading whole rows. The key is stored
    // in byte order, so a plain shell can still write and check the file; the program sorts its
    // values in German order all the same. The first column is one no search filters on, so a
    // search as written still scans the table in its order and the index never changes its plan.
    return "CREATE INDEX talvino_suche ON talvino (Bald, Land, Rot, Rose, Weiss, Braun, Trocken, "
           "Lieblich, Suess, Schaeumend, Qualitaet1, Qualitaet2, Regio_Lang, Stichwort_Klein, "
           "STICHWORT COLLATE BINARY)";
}

OptionalText fullTextCopy(const OptionalText& description, const OptionalText& name, const OptionalText& suffix) {
    if (codec::lowering() != codec::Lowering::Folded)
        return description ? OptionalText(lowerCasedText(*description)) : std::nullopt;
    OptionalText copy;
    for (const OptionalText* part : {&description, &name, &suffix}) {
        if (!*part) continue;
        copy = copy ? *copy + u" | " + lowerCasedText(**part) : lowerCasedText(**part);
    }
    return copy;
}

void writeCatalogue(const std::string& path, const Content& content, TextEncoding encoding,
                    int codecGeneration) {
    using namespace schema;
    const std::optional<char16_t> offset = codec::offsetOfGeneration(codecGeneration);
    if (!offset) throw WriteError("unknown text codec generation " + std::to_string(codecGeneration));
    const codec::OffsetInUse writtenWith(*offset);
    const codec::LoweringInUse loweredAs(*codec::loweringOfGeneration(codecGeneration));
    std::string temporary = path + ".tmp-XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) throw WriteError("cannot create a temporary file next to " + path);
    ::close(fd);
    ::unlink(temporary.c_str()); // SQLite wants to create it itself

    try {
        sqlite3* raw = nullptr;
        if (sqlite3_open_v2(temporary.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
            SQLITE_OK) {
            const std::string message = raw ? sqlite3_errmsg(raw) : "out of memory";
            sqlite3_close_v2(raw);
            throw WriteError("cannot create " + temporary + ": " + message);
        }
        DbHandle db(raw);
        if (ado::registerGermanOrder(db.get()) != SQLITE_OK) throw WriteError("cannot register German order");
        exec(db.get(),
             encoding == TextEncoding::Utf16 ? "PRAGMA encoding = 'UTF-16le'" : "PRAGMA encoding = 'UTF-8'");
        exec(db.get(), "PRAGMA journal_mode = OFF");
        exec(db.get(), "PRAGMA synchronous = OFF");
        exec(db.get(), "BEGIN");
        for (const std::string& sql : schemaStatements())
            exec(db.get(), sql);
        // The reader learns from this which offset the scrambled columns were written with.
        exec(db.get(), "PRAGMA user_version = " + std::to_string(codecGeneration));

        {
            auto s = prepare(db.get(), insertStatement(kCountryTable, country::kColumns, 2));
            for (const Country& c : content.countries) {
                bindText(s.get(), 1, c.code);
                bindText(s.get(), 2, c.name);
                step(db.get(), s.get(), "country " + utf8(c.code.c_str()));
            }
        }
        {
            auto s = prepare(db.get(), insertStatement(kRegionTable, region::kColumns, 3));
            for (const Region& r : content.regions) {
                sqlite3_bind_int(s.get(), 1, r.id);
                bindText(s.get(), 2, r.country);
                bindText(s.get(), 3, r.name);
                step(db.get(), s.get(), "region " + std::to_string(r.id));
            }
        }
        {
            auto s = prepare(db.get(), insertStatement(kGrapeTable, grape::kColumns, 4));
            for (const Grape& g : content.grapes) {
                sqlite3_bind_int(s.get(), 1, g.id);
                bindText(s.get(), 2, g.name);
                sqlite3_bind_int(s.get(), 3, g.colour);
                bindText(s.get(), 4, g.text ? OptionalText(encodedText(*g.text)) : std::nullopt);
                step(db.get(), s.get(), "grape " + std::to_string(g.id));
            }
        }
        {
            auto s = prepare(db.get(), insertStatement(kEntryTable, entry::kColumns, entry::kColumnCount));
            for (const Entry& e : content.entries) {
                sqlite3_stmt* st = s.get();
                sqlite3_bind_int(st, 1 + entry::kId, e.id);
                bindText(st, 1 + entry::kName, e.name);
                bindText(st, 1 + entry::kDescription,
                         e.description ? OptionalText(storedText(*e.description)) : std::nullopt);
                bindText(st, 1 + entry::kKeyword, e.keyword);
                bindText(st, 1 + entry::kSuffix, e.suffix);
                const int flags[8] = {e.red, e.rose,        e.white, e.brown,
                                      e.dry, e.mediumSweet, e.sweet, e.sparkling};
                for (int k = 0; k < 8; ++k)
                    sqlite3_bind_int(st, 1 + entry::kRed + k, flags[k]);
                for (int k = 0; k < entry::kVintageCategories; ++k)
                    bindText(st, 1 + entry::kFirstVintage + k, e.vintages[static_cast<std::size_t>(k)]);
                sqlite3_bind_int(st, 1 + entry::kQuality1, e.quality1);
                bindText(st, 1 + entry::kCountry, e.country);
                sqlite3_bind_int(st, 1 + entry::kQuality2, e.quality2);
                bindText(st, 1 + entry::kRegion, e.region);
                sqlite3_bind_int(st, 1 + entry::kDrinkSoon, e.drinkSoon);
                sqlite3_bind_int(st, 1 + entry::kNoVintage, e.noVintage);
                bindText(st, 1 + entry::kKeywordLower, lowerCasedText(e.keyword));
                const OptionalText fullText = fullTextCopy(e.description, e.name, e.suffix);
                bindText(st, 1 + entry::kTextLower, fullText ? OptionalText(storedText(*fullText)) : std::nullopt);
                step(db.get(), st, "entry " + std::to_string(e.id));
            }
        }
        insertBookmarks(db.get(), content.bookmarks);
        // Made after the rows, which is quicker than keeping it up to date row by row.
        exec(db.get(), searchIndexStatement());
        exec(db.get(), "COMMIT");
        exec(db.get(), "PRAGMA journal_mode = DELETE");
    } catch (...) {
        std::remove(temporary.c_str());
        throw;
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        throw WriteError("cannot move the new catalogue into place at " + path);
    }
}

void insertBookmarks(sqlite3* db, const std::vector<Bookmark>& bookmarks) {
    auto s = prepare(db, insertStatement(schema::kBookmarkTable, schema::bookmark::kColumns, 4));
    for (const Bookmark& b : bookmarks) {
        if (b.key)
            sqlite3_bind_int64(s.get(), 1, *b.key);
        else
            sqlite3_bind_null(s.get(), 1);
        sqlite3_bind_int64(s.get(), 2, b.entryId);
        bindText(s.get(), 3, b.description);
        bindText(s.get(), 4, b.note);
        step(db, s.get(), "bookmark of entry " + std::to_string(b.entryId));
    }
}

Bookmark bookmarkInRow(sqlite3_stmt* s, int first) {
    Bookmark b;
    if (sqlite3_column_type(s, first) != SQLITE_NULL) b.key = sqlite3_column_int64(s, first);
    b.entryId = sqlite3_column_int64(s, first + 1);
    b.description = optionalText(s, first + 2);
    b.note = optionalText(s, first + 3);
    return b;
}

std::vector<Bookmark> readBookmarks(const std::string& path) {
    sqlite3* raw = nullptr;
    if (sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        const std::string message = raw ? sqlite3_errmsg(raw) : "out of memory";
        sqlite3_close_v2(raw);
        throw WriteError("cannot open " + path + ": " + message);
    }
    DbHandle db(raw);
    auto s = prepare(
        db.get(), "SELECT ID_Lesezeichen, id_talvino, Beschreibung, Notiz FROM Lesezeichen ORDER BY rowid");
    std::vector<Bookmark> bookmarks;
    int rc;
    while ((rc = sqlite3_step(s.get())) == SQLITE_ROW)
        bookmarks.push_back(bookmarkInRow(s.get(), 0));
    if (rc != SQLITE_DONE)
        throw WriteError("cannot read the bookmarks of " + path + ": " + sqlite3_errmsg(db.get()));
    return bookmarks;
}

} // namespace catalogue
