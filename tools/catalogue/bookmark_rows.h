// Writing bookmark rows into an open catalogue: the one rule by which a new catalogue build, an
// upgraded per-user copy and an import store bookmarks.
#pragma once

#include <vector>

#include "tools/catalogue/catalogue_writer.h"

struct sqlite3;
struct sqlite3_stmt;

namespace catalogue {

// Inserts the rows in the given order, keys included where given (an empty key lets the table
// number the row after every earlier one), whether or not the catalogue has their entries.
// Throws WriteError.
void insertBookmarks(sqlite3* db, const std::vector<Bookmark>& bookmarks);

// The bookmark in the current row of a statement whose columns from `first` on are ID_Lesezeichen,
// id_talvino, Beschreibung and Notiz: how a copy's rows and a damaged file's rows are read alike.
Bookmark bookmarkInRow(sqlite3_stmt* s, int first);

} // namespace catalogue
