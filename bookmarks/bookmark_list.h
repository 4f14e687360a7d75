// Reading the bookmark list: the rows of the query buffer's SQL in the recordset's order, each as
// its label (position 2) and its entry key (position 1).
#pragma once

#include <functional>
#include <optional>
#include <string>

class Database;

struct ListedBookmark {
    std::u16string label; // position 2 as text; a NULL description gives an empty label
    long entryId = 0;     // position 1; 0 when it holds no entry key (NULL, 0, no number)
    // Only for a row without entry key, which nothing else can find again: its texts as stored,
    // NULL kept apart from empty (the note read by name).
    std::optional<std::u16string> description;
    std::optional<std::u16string> note;
};

// Calls `add` for every row; no limit, no sorting. A list that cannot be opened (broken SQL or
// file) adds nothing and gives false.
bool fillBookmarkList(Database& database, const std::function<void(const ListedBookmark&)>& add);
