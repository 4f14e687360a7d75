// Writing bookmark rows into an open catalogue: the one rule by which a new catalogue build, an
// upgraded per-user copy and an import store bookmarks.
#pragma once

#include <vector>

#include "tools/catalogue/catalogue_writer.h"

struct sqlite3;

namespace catalogue {

// Inserts the rows in the given order, keys included where given (an empty key lets the table
// number the row after every earlier one), whether or not the catalogue has their entries.
// Throws WriteError.
void insertBookmarks(sqlite3* db, const std::vector<Bookmark>& bookmarks);

} // namespace catalogue
