// Writing a catalogue file from rows in plain text: the writer scrambles and lower-cases what the
// catalogue keeps scrambled and lower-cased, so callers never handle the codec.
#pragma once

#include <array>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "db/text_codec.h"

namespace catalogue {

using Text = std::u16string;
using OptionalText = std::optional<std::u16string>;

struct Country {
    Text code; // Land
    Text name; // Bezeichnung
};

struct Region {
    int id = 0; // ID_REGION
    Text country;
    Text name; // Regio_Lang
};

struct Grape {
    int id = 0; // ID_Rebsorte: list order
    Text name;
    int colour = 1;    // 1 red, 2 white
    OptionalText text; // plain; stored scrambled
};

struct Entry {
    int id = 0;
    OptionalText name; // position 1
    OptionalText
        description;     // plain; stored scrambled at position 2; Text_Klein is derived (fullTextCopy)
    Text keyword;        // STICHWORT; Stichwort_Klein is derived
    OptionalText suffix; // position 4
    int red = 0, rose = 0, white = 0, brown = 0;
    int dry = 0, mediumSweet = 0, sweet = 0, sparkling = 0;
    std::array<OptionalText, 15> vintages{}; // one character per year, code = year - 1900
    int quality1 = 0, quality2 = 0;
    Text country; // Land code
    Text region;  // Regio_Lang
    int drinkSoon = 0, noVintage = 0;
};

struct Bookmark {
    std::optional<long long> key; // position 0; empty: the table numbers it
    long long entryId = 0;
    OptionalText description;
    OptionalText note;

    bool operator==(const Bookmark& other) const {
        return key == other.key && entryId == other.entryId && description == other.description &&
               note == other.note;
    }
};

struct Content {
    std::vector<Country> countries;
    std::vector<Region> regions;
    std::vector<Grape> grapes;
    std::vector<Entry> entries;
    std::vector<Bookmark> bookmarks;
};

enum class TextEncoding { Utf8, Utf16 };
// The encoding the shipped catalogue uses. Measured on 100,000 synthetic entries (bench_data):
// the full-text search took 71 ms on UTF-8 and 75 ms on UTF-16, the file is 190 MB against
// 207 MB (scrambled text is two bytes a character either way), and reading rows into UTF-16
// values cost the same. UTF-8 it is; it is also what other SQLite tools expect.
constexpr TextEncoding kDefaultEncoding = TextEncoding::Utf8;

class WriteError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The vintage column text for a list of years (1900..2154).
Text vintageText(const std::vector<int>& years);

// The readable text of an entry's full-text copy (Text_Klein, stored scrambled), lowered as the
// catalogue of the codec in use lowers: the description, and in today's catalogues also the
// shown name and its addition, joined by " | ", so that every word a result shows is found by the
// full-text search and no term found spans two of them. Empty (NULL) when the entry has none of them.
OptionalText fullTextCopy(const OptionalText& description, const OptionalText& name, const OptionalText& suffix);

// Writes a complete catalogue to `path` through a temporary file renamed into place, so a failed
// write leaves an existing file as it was. Throws WriteError. The scrambled columns are written
// with the codec of `codecGeneration`, which the file's header names; only tests write another
// than today's, to stand for catalogues written before.
void writeCatalogue(const std::string& path, const Content& content,
                    TextEncoding encoding = kDefaultEncoding, int codecGeneration = codec::kGeneration);

// The bookmarks of an existing catalogue, in table order, keys included. Throws WriteError when
// the file cannot be read as a catalogue with a Lesezeichen table.
std::vector<Bookmark> readBookmarks(const std::string& path);

// The CREATE statements of the five tables and the bookmark index, in the given order.
std::vector<std::string> schemaStatements();
// The index the searches read instead of whole rows; made after the rows are written.
std::string searchIndexStatement();

} // namespace catalogue
