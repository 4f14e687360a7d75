// What the search form offers beyond its dialog procedure: reading its criteria and the screen
// that a search opens.
#pragma once

#include <cstdint>

#include "platform/win32.h"
#include "search/query_builder.h"

// Control ids of template 126 that the search and the results screen read.
namespace search_form {
constexpr int kStartButton = 1011;
constexpr int kHeading = 1000;
constexpr int kFullTextLabel = 1010;
constexpr int kFullTextBox = 1078;
constexpr int kSearchTerm = 1012;
constexpr int kTermLabel = 1007;
constexpr int kCountryLabel = 1008;
constexpr int kRegionLabel = 1009;
constexpr int kCountryList = 1013;
constexpr int kRegionList = 1014;
constexpr int kRedBox = 1015;
constexpr int kRoseBox = 1016;
constexpr int kWhiteBox = 1017;
constexpr int kBrownBox = 1018;
constexpr int kDryBox = 1037;
constexpr int kSweetBox = 1038;
constexpr int kMediumSweetBox = 1039;
constexpr int kSparklingBox = 1040;
constexpr int kQualityLabel = 1019;
constexpr int kQualityBar = 1021;
constexpr int kEspeciallyGoodBox = 1022;
constexpr int kQualityName = 1027;
constexpr int kColourFrame = 1006;
constexpr int kQualityFrame = 1026;
constexpr int kTasteFrame = 1036;
constexpr int kHighestLevel = 4;
} // namespace search_form

// The name shown under the quality bar for level 0..4.
const char16_t* qualityLevelName(int level);

// Reads the criteria from the open form `form`; the quality level is the one the form keeps.
SearchCriteria gatherSearchCriteria(HWND form, std::int16_t qualityLevel);

// The screen that "Suche starten" opens over the form once the statement is in the query buffer
// (the results screen). Null opens nothing. The program sets it once at start.
void setSearchResultsScreen(DLGPROC proc);
DLGPROC searchResultsScreen();
