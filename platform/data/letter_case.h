// The catalogue's one lower-casing rule: Unicode's simple lower-case mapping from ICU, one code
// point to one (so a text keeps its length; ß stays ß). The search term, the catalogue's
// lower-case copies and LIKE all use it, so that they stay in step; the copies and the term are
// then written in their search form (searchFolded), which LIKE also matches.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ado {

// The letters that are written more than one way: ß (whose capital ẞ lowers to it) as "ss", and
// the final sigma as the sigma.
constexpr char16_t kSharpS = 0x00DF;
constexpr char16_t kCapitalSharpS = 0x1E9E;
constexpr char16_t kFinalSigma = 0x03C2;
constexpr char16_t kSigma = 0x03C3;

char32_t lowerCaseOf(char32_t c);

// In place over UTF-16 text, surrogate pairs included; the length never changes.
void lowerCaseUtf16(char16_t* text, std::size_t length);

// The text lowered (lowerCaseUtf16), then ß written "ss" and the final sigma ς written σ: the
// form in which spellings a reader takes for the same word meet ("STRASSE", "Straße", "ΣΆΜΟΣ",
// "Σάμος"). It is longer than the text by one unit for each ß or ẞ.
std::u16string searchFolded(std::u16string_view text);

// Every code point other than `lower` itself whose lower case is `lower` (A for a; K and the
// Kelvin sign for k), in ascending order; empty when none.
const std::vector<char32_t>& capitalsOf(char32_t lower);

} // namespace ado
