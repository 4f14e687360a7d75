// Owning handles for the catalogue tool's own SQLite connections and statements, and the one way
// it reads a text column that may be NULL.
#pragma once

#include <memory>

#include "platform/data/engine.h"
#include "tools/catalogue/catalogue_writer.h"

namespace catalogue {

struct DbCloser {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct StatementFinalizer {
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using DbHandle = std::unique_ptr<sqlite3, DbCloser>;
using StatementHandle = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// The column of the current row as UTF-16 text; none for NULL.
inline OptionalText optionalText(sqlite3_stmt* s, int column) {
    if (sqlite3_column_type(s, column) == SQLITE_NULL) return std::nullopt;
    const auto* p = static_cast<const char16_t*>(sqlite3_column_text16(s, column));
    return Text(p, static_cast<std::size_t>(sqlite3_column_bytes16(s, column)) / 2);
}

} // namespace catalogue
