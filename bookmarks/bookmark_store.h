// The bookmark table as the bookmark page uses it: the statements, the lookups through the query
// buffer, and saving and deleting so that a bookmark is never half written. No windows here, so
// that the store can be driven without a screen (tests, benchmarks, a process that gets killed).
#pragma once

#include <optional>
#include <string>
#include <string_view>

class Database;

namespace bookmark_store {

// Description and note hold at most this many UTF-16 units when typed: the edits count the same
// units, so a character outside the Basic Multilingual Plane counts twice.
constexpr int kTextLimit = 500;
// The existence lookup reads the ID back into a text of this many characters.
constexpr short kLookupChars = 100;

inline constexpr char16_t kListQuery[] = u"SELECT * from Lesezeichen";
inline constexpr char16_t kExistenceQuery[] = u"select id_talvino from Lesezeichen where id_talvino = %s";
inline constexpr char16_t kDescriptionQuery[] = u"select Beschreibung from Lesezeichen where id_talvino = %s";
inline constexpr char16_t kNoteQuery[] = u"select Notiz from Lesezeichen where id_talvino = %s";
inline constexpr char16_t kDeleteStatement[] = u"DELETE FROM Lesezeichen WHERE id_talvino = %s";
// A row without entry key is found by its texts; LIMIT 1 takes one of identical rows only.
inline constexpr char16_t kKeylessDeleteStatement[] =
    u"DELETE FROM Lesezeichen WHERE rowid IN (SELECT rowid FROM Lesezeichen WHERE (id_talvino IS NULL OR "
    u"CAST(id_talvino AS INTEGER) = 0) AND Beschreibung IS %s AND Notiz IS %s LIMIT 1)";
inline constexpr char16_t kInsertStatement[] =
    u"INSERT INTO Lesezeichen (id_talvino, Beschreibung, Notiz) VALUES ('%s','%s','%s')";

// An entry key as the results screen writes it: decimal digits, an optional leading minus. Only
// such a text is ever put unquoted into a WHERE clause.
bool isEntryId(std::u16string_view id);

// The statement `pattern` (one "%s") for the entry `id`.
std::u16string statementFor(std::u16string_view pattern, std::u16string_view id);
// The INSERT with the apostrophes of both texts doubled; grows with the texts, never cut.
std::u16string insertStatement(std::u16string_view id, std::u16string_view description,
                               std::u16string_view note);

// Runs `sql` through the query buffer as a scalar query into a text of `capacity` characters
// that starts empty. False when the query did not run; a query without a row gives empty text.
bool scalarText(Database& database, std::u16string_view sql, short capacity, std::u16string& out);
// The same, the text read whole however long it is.
bool wholeText(Database& database, std::u16string_view sql, std::u16string& out);

// What the page shows of a stored bookmark: description and note whole, so that saving them back
// never cuts what another program wrote.
struct StoredBookmark {
    std::u16string description;
    std::u16string note;
    bool rowExists = false;
    // Anything of it found: the entry counts as bookmarked.
    bool found() const { return rowExists || !description.empty() || !note.empty(); }
};
StoredBookmark load(Database& database, std::u16string_view id);

// The existence lookup: true when the lookup gives back `id` itself. `ran` tells whether the
// lookup could run at all.
bool hasRow(Database& database, std::u16string_view id, bool* ran = nullptr);

// Stores the bookmark of entry `id`: the existence lookup, then the old row's deletion (when
// there is one) and the insert in one transaction, so either the new row stands or the old one
// does. False, with nothing changed, when the ID is not an entry key, the lookup fails or the
// transaction does not commit.
bool save(Database& database, std::u16string_view id, std::u16string_view description,
          std::u16string_view note);

// Deletes the bookmark of entry `id`; false when the statement did not take effect.
bool remove(Database& database, std::u16string_view id);

// Deletes one bookmark row without entry key (its id NULL or no number) that holds exactly this
// description and note (nullopt for NULL). False when no such row went.
bool removeKeyless(Database& database, const std::optional<std::u16string>& description,
                   const std::optional<std::u16string>& note);

} // namespace bookmark_store
