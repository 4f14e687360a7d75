// The bookmark file: bookmarks as plain UTF-8 text that moves between catalogues and machines.
//
//   # talvino-catalogue bookmarks 1
//   # entry<TAB>keyword<TAB>description<TAB>note
//   1001<TAB>Chablis Premier Cru<TAB>Zu Austern<TAB>Mit Jörg\r\ntrinken 🍷
//
// One bookmark a line, four fields separated by a tab, every line ending with a line break. In a
// field a backslash starts an escape: \\ backslash, \t tab, \n line feed, \r carriage return,
// \uXXXX one UTF-16 unit (two of them, high then low half, make one character), and a field that
// is just \N has no value at all (NULL). Every other character stands as itself. Lines starting
// with '#' and empty lines are ignored. The keyword is the entry's STICHWORT when the file was
// written, for reading; importing ignores it.
//
// A line is refused, never stored changed, when its entry id lies outside the catalogue's ids, or
// its description or note is longer than kBookmarkTextLimit, holds U+0000 or half of a character
// pair without the other half (a catalogue stores neither as it is).
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "tools/catalogue/catalogue_writer.h"

namespace catalogue {

struct ExportedBookmark {
    long long entryId = 0;
    OptionalText keyword; // empty when the catalogue has no such entry
    OptionalText description;
    OptionalText note;

    bool operator==(const ExportedBookmark& other) const {
        return entryId == other.entryId && keyword == other.keyword && description == other.description &&
               note == other.note;
    }
};

inline constexpr char kBookmarkFileHeader[] = "# talvino-catalogue bookmarks 1";

// The longest description or note a bookmark file may give, in UTF-16 units: what the bookmark
// page loads (it saves at most 500, what its edits take).
inline constexpr std::size_t kBookmarkTextLimit = 4000;

void writeBookmarkFile(std::ostream& out, const std::vector<ExportedBookmark>& bookmarks);

struct BookmarkFileLine {
    int line = 0; // 1-based line number in the file
    ExportedBookmark bookmark;
};

struct BookmarkFileContents {
    std::vector<BookmarkFileLine> bookmarks;
    std::vector<std::string> problems; // "line N: why", one per line that cannot be imported
    bool recognised = false;           // the first line is the header
};

BookmarkFileContents readBookmarkFile(std::istream& in);

// One field as the file writes it, and back; false when the field is malformed.
std::string encodeBookmarkField(const OptionalText& text);
bool decodeBookmarkField(const std::string& field, OptionalText& text, std::string& why);

} // namespace catalogue
