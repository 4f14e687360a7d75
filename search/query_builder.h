// Turns the criteria of the search form into the one SQL statement that the results screen runs.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class Database;

// Everything the statement depends on, read from the form before anything is composed.
struct SearchCriteria {
    std::u16string countryName; // selected item of the country list; " " is the blank item
    int countryNameLength = -1; // length of that item, negative when nothing is selected
    std::u16string searchTerm;  // empty: no term
    bool fullText = false;      // also search the description and the region
    std::u16string regionName;  // as the region list shows it; fewer than 3 characters: none
    bool red = false, white = false, rose = false, brown = false;
    bool dry = false, mediumSweet = false, sweet = false, sparkling = false;
    std::int16_t qualityLevel = 0; // 0..4, 0 = "egal"
    bool especiallyGood = false;   // "bes.gut": only with a level
};

// Field limits of the form (characters, without terminator).
constexpr int kCountryNameLimit = 199;
constexpr int kSearchTermLimit = 149;
constexpr int kRegionNameLimit = 149;
// Capacity given to the scalar query for the country code, terminator included.
constexpr int kCountryCodeCapacity = 150;
// A statement copied into the query buffer for a query operation is cut here.
constexpr std::size_t kLookupStatementLimit = 200;

// A country counts only with a name of 3 or more characters: the blank item and no selection do not.
bool hasCountry(const SearchCriteria& criteria);

// "SELECT Land FROM Land WHERE Bezeichnung = '...'" for the country name.
std::u16string countryCodeQuery(std::u16string_view countryName);

// Looks the country's code up with one scalar query. When the query fails or finds no row the
// code is a single line feed, which no entry's country equals.
std::u16string lookUpCountryCode(Database& database, std::u16string_view countryName);

// The statement for `criteria`, with `countryCode` standing for the chosen country. Pure: the
// same criteria always give the same text.
std::u16string composeSearchStatement(const SearchCriteria& criteria, std::u16string_view countryCode);

// Looks up the country code when a country is chosen, composes the statement and leaves it whole
// in the database object's query buffer.
void buildSearchStatement(const SearchCriteria& criteria, Database& database);
