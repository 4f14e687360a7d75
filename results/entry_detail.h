// An entry's Info text (quality, taste words, description) and vintage text (vintage categories
// with their years, drink-soon and no-vintage notes), composed from its "SELECT *" row.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "platform/win32.h"

class Database;

constexpr int kVintageCategoryCount = 15;

// The values of one talvino row that the detail texts read, as stored.
struct EntryRow {
    std::optional<std::u16string> description; // scrambled; absent when NULL
    bool dry = false;
    bool mediumSweet = false;
    bool sweet = false;
    bool sparkling = false;
    std::array<std::optional<std::u16string>, kVintageCategoryCount> vintages{}; // one character per year
    int quality1 = 0;
    int quality2 = 0;
    bool drinkSoon = false;
    bool noVintage = false;
};

// "einfach" … "erstklassig+besonders gut" for 1 to 8, "unbekannt" for any other non-zero number;
// empty for 0 (no quality).
std::u16string qualityName(int number);

// "q1", "q1 -> q2" or "q2" by which of the two numbers are set; empty when neither is.
std::u16string qualityLine(int quality1, int quality2);

// "trocken ", "lieblich ", "süß ", "schäumend " for the flags set, in that order.
std::u16string tasteWords(const EntryRow& row);

// The years of a vintage column as two-digit numbers joined by commas ("95,97,00"); a character
// of code 255 or more leaves its place empty. Nothing when the result would be empty.
std::optional<std::u16string> yearList(std::u16string_view column);

// The heading of vintage category 0..14; the combined categories 3..11 are broken into
// indented "+" lines.
std::u16string vintageHeading(int category);

// The Info text by its four cases: with or without a quality line, with or without description.
// `description` is the readable text.
std::u16string infoText(const std::u16string& qualityLine, const std::u16string& tasteWords,
                        const std::optional<std::u16string>& description);

// Info text of a row, its description decoded.
std::u16string entryInfoText(const EntryRow& row);

// The vintage area's text of a row: every category with years in order 0..14, then the two notes;
// "keine Angabe" when nothing at all is known.
std::u16string entryVintageText(const EntryRow& row);

inline constexpr char16_t kNoVintageText[] = u"keine Angabe";
// Written to standard error when the data layer throws while the entry's recordset opens.
inline constexpr char kOpenGuardTrace[] = "in filter";

// Opens the query buffer's "select * from talvino where ID = …" (dynamic, optimistic) and sets
// the two areas from its first row. False when the recordset could not be opened; true when it
// was, even without a row. Either way that shows nothing new, the areas keep their texts;
// `rowFound` tells the caller whether there was a row.
// An exception from the data layer during the open is caught: the trace goes to standard error,
// the recordset is closed and the catalogue opened again, and the result is false.
bool composeEntryDetail(Database& database, HWND infoArea, HWND vintageArea, bool* rowFound = nullptr);
