// The catalogue's tables and columns: names as the statements spell them and the positions at
// which the screens read whole rows ("SELECT *" counted from 0).
//
// talvino, 36 columns:
//   0 ID            integer key, never 0
//   1 Name          first part of the result label; NULL keeps the entry out of result lists
//   2 Beschreibung  description, scrambled by the text codec
//   3 STICHWORT     keyword: sort key, header line, default bookmark description
//   4 Zusatz        second part of the result label
//   5..8 Rot Rose Weiss Braun            colour flags (0/1)
//   9..12 Trocken Lieblich Suess Schaeumend  taste flags (0/1)
//   13..27 J0..J14  vintage categories 0..14, one character per year (code = year - 1900)
//   28 Qualitaet1   lower end of the quality range (0 none, 1..8)
//   29 Land         country code, a Land.Land
//   30 Qualitaet2   upper end of the quality range
//   31 Regio_Lang   region name, a Region.Regio_Lang
//   32 Bald         drink soon (0/1)
//   33 OhneJahr     bottle without vintage (0/1)
//   34 Stichwort_Klein  lower-case keyword
//   35 Text_Klein   lower-case description, scrambled
// The two large texts stand apart (2 and 35) so that the full-text search, which reads
// Stichwort_Klein, Text_Klein and Regio_Lang, finds two of them near the end of the record.
//
// Lesezeichen: 0 ID_Lesezeichen (automatic key), 1 id_talvino, 2 Beschreibung, 3 Notiz; index on
// id_talvino. Land: Land, Bezeichnung. Region: ID_REGION, Land, Regio_Lang.
// Rebsorten: ID_Rebsorte, Rebsorte, Farbe (1 red, 2 white), Text (scrambled).
#pragma once

namespace schema {

inline constexpr char16_t kCatalogueFileName[] = u"talvino2006_db.cdb";

inline constexpr char16_t kEntryTable[] = u"talvino";
inline constexpr char16_t kCountryTable[] = u"Land";
inline constexpr char16_t kRegionTable[] = u"Region";
inline constexpr char16_t kGrapeTable[] = u"Rebsorten";
inline constexpr char16_t kBookmarkTable[] = u"Lesezeichen";

// Positions in a "SELECT * FROM talvino" row.
namespace entry {
// The ids an entry can have: positive, and read back by the program as a 32-bit number.
constexpr long long kLowestId = 1;
constexpr long long kHighestId = 2147483647;
constexpr int kId = 0;
constexpr int kName = 1;
constexpr int kDescription = 2;
constexpr int kKeyword = 3;
constexpr int kSuffix = 4;
constexpr int kRed = 5;
constexpr int kRose = 6;
constexpr int kWhite = 7;
constexpr int kBrown = 8;
constexpr int kDry = 9;
constexpr int kMediumSweet = 10;
constexpr int kSweet = 11;
constexpr int kSparkling = 12;
constexpr int kFirstVintage = 13;
constexpr int kVintageCategories = 15;
constexpr int kQuality1 = 28;
constexpr int kCountry = 29;
constexpr int kQuality2 = 30;
constexpr int kRegion = 31;
constexpr int kDrinkSoon = 32;
constexpr int kNoVintage = 33;
constexpr int kKeywordLower = 34;
constexpr int kTextLower = 35;
constexpr int kColumnCount = 36;

// Column names in position order.
inline constexpr const char16_t* kColumns[kColumnCount] = {
    u"ID",         u"Name",  u"Beschreibung", u"STICHWORT",  u"Zusatz", u"Rot",        u"Rose",
    u"Weiss",      u"Braun", u"Trocken",      u"Lieblich",   u"Suess",  u"Schaeumend", u"J0",
    u"J1",         u"J2",    u"J3",           u"J4",         u"J5",     u"J6",         u"J7",
    u"J8",         u"J9",    u"J10",          u"J11",        u"J12",    u"J13",        u"J14",
    u"Qualitaet1", u"Land",  u"Qualitaet2",   u"Regio_Lang", u"Bald",   u"OhneJahr",   u"Stichwort_Klein",
    u"Text_Klein"};
} // namespace entry

// Positions in a "SELECT * from Lesezeichen" row.
namespace bookmark {
constexpr int kKey = 0;
constexpr int kEntryId = 1;
constexpr int kDescription = 2;
constexpr int kNote = 3;
constexpr int kColumnCount = 4;
inline constexpr const char16_t* kColumns[kColumnCount] = {u"ID_Lesezeichen", u"id_talvino", u"Beschreibung",
                                                           u"Notiz"};
} // namespace bookmark

namespace country {
constexpr int kCode = 0;
constexpr int kName = 1;
inline constexpr const char16_t* kColumns[2] = {u"Land", u"Bezeichnung"};
} // namespace country

namespace region {
constexpr int kId = 0;
constexpr int kCountry = 1;
constexpr int kName = 2;
inline constexpr const char16_t* kColumns[3] = {u"ID_REGION", u"Land", u"Regio_Lang"};
} // namespace region

namespace grape {
constexpr int kId = 0;
constexpr int kName = 1;
constexpr int kColour = 2;
constexpr int kText = 3;
constexpr int kRed = 1;
constexpr int kWhite = 2;
inline constexpr const char16_t* kColumns[4] = {u"ID_Rebsorte", u"Rebsorte", u"Farbe", u"Text"};
} // namespace grape

} // namespace schema
