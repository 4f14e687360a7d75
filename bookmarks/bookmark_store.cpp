#include "bookmarks/bookmark_store.h"

#include <algorithm>
#include <vector>

#include "db/database.h"
#include "db/text_codec.h"
#include "search/sql_format.h"

namespace bookmark_store {

namespace {
constexpr std::size_t kQueryLimit = Database::kQueryBufferChars - 1;
} // namespace

bool isEntryId(std::u16string_view id) {
    if (!id.empty() && id.front() == u'-') id.remove_prefix(1);
    // More digits than a 64-bit key has would be no key of the catalogue.
    if (id.empty() || id.size() > 19) return false;
    return std::all_of(id.begin(), id.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

std::u16string statementFor(std::u16string_view pattern, std::u16string_view id) {
    return formatSql(pattern, {id});
}

std::u16string insertStatement(std::u16string_view id, std::u16string_view description,
                               std::u16string_view note) {
    return formatSql(kInsertStatement, {id, doubledApostrophes(description), doubledApostrophes(note)});
}

bool scalarText(Database& database, std::u16string_view sql, short capacity, std::u16string& out) {
    out.clear();
    if (!database.queryBuffer || capacity <= 0) return false;
    copySqlToBuffer(database.queryBuffer, sql, kQueryLimit);
    std::vector<char16_t> text(static_cast<std::size_t>(capacity), u'\0');
    const bool ran = database.scalarQuery(text.data(), capacity);
    out = text.data();
    return ran;
}

bool wholeText(Database& database, std::u16string_view sql, std::u16string& out) {
    out.clear();
    if (!database.queryBuffer) return false;
    copySqlToBuffer(database.queryBuffer, sql, kQueryLimit);
    return database.scalarQuery(out);
}

bool hasRow(Database& database, std::u16string_view id, bool* ran) {
    std::u16string found;
    const bool lookedUp = scalarText(database, statementFor(kExistenceQuery, id), kLookupChars, found);
    if (ran) *ran = lookedUp;
    // A lookup without a row leaves the text empty, and an entry key is never empty.
    return lookedUp && !id.empty() && found == id;
}

StoredBookmark load(Database& database, std::u16string_view id) {
    StoredBookmark bookmark;
    wholeText(database, statementFor(kDescriptionQuery, id), bookmark.description);
    wholeText(database, statementFor(kNoteQuery, id), bookmark.note);
    bookmark.rowExists = hasRow(database, id);
    return bookmark;
}

bool save(Database& database, std::u16string_view id, std::u16string_view description,
          std::u16string_view note) {
    if (!isEntryId(id)) return false;
    bool ran = false;
    const bool replace = hasRow(database, id, &ran);
    // Without a working lookup a second row for the entry could slip in.
    if (!ran) return false;
    const std::u16string insert = insertStatement(id, description, note);
    if (!replace) return database.executeInTransaction({insert.c_str()});
    const std::u16string remove = statementFor(kDeleteStatement, id);
    return database.executeInTransaction({remove.c_str(), insert.c_str()});
}

bool remove(Database& database, std::u16string_view id) {
    if (!isEntryId(id)) return false;
    return database.executeStatement(statementFor(kDeleteStatement, id).c_str());
}

namespace {
std::u16string literalOrNull(const std::optional<std::u16string>& text) {
    return text ? u"'" + doubledApostrophes(*text) + u"'" : std::u16string(u"NULL");
}
} // namespace

bool removeKeyless(Database& database, const std::optional<std::u16string>& description,
                   const std::optional<std::u16string>& note) {
    const std::u16string remove =
        formatSql(kKeylessDeleteStatement, {literalOrNull(description), literalOrNull(note)});
    if (!database.executeStatement(remove.c_str())) return false;
    // The statement runs also when no row matches; SQLite counts what it deleted.
    std::u16string deleted;
    return scalarText(database, u"SELECT changes()", kLookupChars, deleted) && deleted == u"1";
}

} // namespace bookmark_store
