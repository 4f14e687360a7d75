// Reading the bookmark list: the rows of the query buffer's SQL in the recordset's order, each as
// its label (position 2) and its entry key (position 1).
#pragma once

#include <functional>
#include <string>

class Database;

// Calls `add` for every row; no limit, no sorting. A NULL description gives an empty label. A
// list that cannot be opened (broken SQL or file) adds nothing and gives false.
bool fillBookmarkList(Database& database,
                      const std::function<void(const std::u16string& label, long entryId)>& add);
