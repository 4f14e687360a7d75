// Owning handles for the catalogue tool's own SQLite connections and statements.
#pragma once

#include <memory>

#include "platform/data/engine.h"

namespace catalogue {

struct DbCloser {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct StatementFinalizer {
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using DbHandle = std::unique_ptr<sqlite3, DbCloser>;
using StatementHandle = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

} // namespace catalogue
