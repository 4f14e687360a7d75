// Moving bookmarks: out of a catalogue into a bookmark file, from a bookmark file into a
// catalogue, and from one catalogue into a fresh copy of another (an upgrade).
#pragma once

#include <string>
#include <vector>

#include "tools/catalogue/bookmark_file.h"
#include "tools/catalogue/catalogue_writer.h"

namespace catalogue {

// Every bookmark of the catalogue in table order, each with its entry's keyword (none when the
// catalogue lacks the entry). Throws WriteError when the file is no catalogue with bookmarks.
std::vector<ExportedBookmark> exportBookmarks(const std::string& cataloguePath);

struct ImportReport {
    int added = 0;
    std::vector<std::string> skipped; // "line N: entry E ...": what was not added and why
    std::vector<std::string> notes;   // added, but worth knowing
};

// Adds the bookmarks to the catalogue, all in one transaction. A bookmark the catalogue already
// holds with the same texts is skipped, and so is one for an entry that already has a bookmark
// with other texts (the catalogue keeps one bookmark an entry, and the one there stays). A
// bookmark whose entry the catalogue lacks is added all the same, as a build keeps it.
// Throws WriteError when the catalogue cannot be opened or written; nothing is added then.
ImportReport importBookmarks(const std::string& cataloguePath, const std::vector<BookmarkFileLine>& lines);

// Replaces every bookmark of the catalogue at `path` by `bookmarks`, keys included, in one
// transaction. Throws WriteError; the file is unchanged then.
void replaceBookmarks(const std::string& path, const std::vector<Bookmark>& bookmarks);

// What can still be read of the bookmarks of a damaged file, in table order: the rows before the
// first unreadable page read forwards, and those after the last one read backwards. Never throws;
// nothing readable gives an empty list. The file is opened as it lies, never changed.
std::vector<Bookmark> salvageBookmarks(const std::string& path);

} // namespace catalogue
