// The results screen (template 109): the result tree grouped by colour, the header line and the
// three tabs Info, Jahrgänge and Notiz / Lesezeichen.
#pragma once

#include <string>

#include "platform/win32.h"
#include "results/results_state.h"

namespace results_screen {
constexpr int kDescriptionEdit = 1064;
constexpr int kNoteEdit = 1065;
constexpr int kBookmarkBox = 1067;
constexpr int kSaveButton = 1066;
constexpr int kTree = 1001;
constexpr int kInfoArea = 1034;
constexpr int kVintageArea = 1035;
constexpr int kTabs = 1002;
constexpr int kHeaderLine = 1045;

constexpr int kInfoTab = 0;
constexpr int kVintageTab = 1;
constexpr int kBookmarkTab = 2;

// The tree shows the first rows of a search only.
constexpr int kMaxResultRows = 80;
// Each detail lookup reads at most this many characters.
constexpr short kDetailTextChars = 100;

inline constexpr char16_t kTooManyHitsText[] = u"Ihre Suche (%i Treffer) übersteigt die voreingestellte "
                                               u"Anzahl von 80 Ergebnistreffern. Es werden nur die "
                                               u"ersten 80 Ergebnisse angezeigt.";
inline constexpr char16_t kNoHitsText[] =
    u"Ihre Suche ergab 0 Ergebnistreffer. Bitte verändern Sie Ihre Suchkriterien.";
// In the Info area of a bookmark whose entry is no longer in the catalogue.
inline constexpr char16_t kEntryGoneText[] = u"Dieser Eintrag ist im Katalog nicht mehr enthalten.";

// Shows that the bookmarked entry is gone: the line above in Info, empty Jahrgänge and header, so
// that nothing of the entry shown before reads as this bookmark's.
void ShowEntryGone(HWND dialog);
} // namespace results_screen

// The label of an entry in the result tree: "name, suffix"; a missing suffix leaves the part
// after the comma and blank empty.
std::u16string resultLabel(const std::u16string& name, const std::u16string& suffix);

// The header line "country: region".
std::u16string headerLine(const std::u16string& country, const std::u16string& region);
