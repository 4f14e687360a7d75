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

bool hasRow(Database& database, std::u16string_view id, bool* ran) {
    std::u16string found;
    const bool lookedUp = scalarText(database, statementFor(kExistenceQuery, id), kLookupChars, found);
    if (ran) *ran = lookedUp;
    // A lookup without a row leaves the text empty, and an entry key is never empty.
    return lookedUp && !id.empty() && found == id;
}

StoredBookmark load(Database& database, std::u16string_view id) {
    StoredBookmark bookmark;
    scalarText(database, statementFor(kDescriptionQuery, id), kLoadChars, bookmark.description);
    scalarText(database, statementFor(kNoteQuery, id), kLoadChars, bookmark.note);
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

} // namespace bookmark_store
