// The catalogue's LIKE: '*' matches any run of characters, '?' exactly one, everything else
// (SQLite's '%' and '_' included) stands for itself, compared without regard to case: two
// characters match when their simple lower cases (letter_case.h) are the same, and the spellings
// a reader takes for one word meet: ß (and ẞ) matches "ss" both ways, the final sigma ς matches σ.
// A pattern is compiled once per statement and matched against text in the file's own
// encoding (UTF-8 bytes or UTF-16 units), so no row is ever converted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace ado {

// The catalogue's lower case (letter_case.h) of one UTF-16 unit; a surrogate stays as it is.
char16_t foldCase(char16_t c);

// Unit is unsigned char (UTF-8) or char16_t (UTF-16).
template <typename Unit> class LikePattern {
  public:
    LikePattern(const Unit* pattern, std::size_t length);
    bool matches(const Unit* text, std::size_t length) const;

  private:
    // The fast matcher knows two forms of each letter, small and the capital of the same length
    // (a/A, ä/Ä, š/Š). A few letters have more (k, K and the Kelvin sign): those extra forms are
    // rare, so a text is compared character by character only when it holds one of them.
    bool matchesCommonForms(const Unit* text, std::size_t length) const;
    bool holdsRareForm(const Unit* text, std::size_t length) const;
    bool matchesLowerCased(const Unit* text, std::size_t length) const;

    // A run of literal units; each position matches either of two units (small, capital).
    struct Piece {
        bool anyChar = false; // '?'
        std::vector<Unit> small, capital;
    };
    struct Segment {
        std::vector<Piece> pieces;
        bool literalOnly = true;
        std::size_t minUnits = 0;
    };

    // Where the segment matches at `at` ending at or before `limit`: its end, or npos.
    std::size_t matchAt(const Segment& s, const Unit* text, std::size_t at, std::size_t limit) const;
    // Leftmost match of s in [from, limit): writes its end, returns its start or npos.
    std::size_t find(const Segment& s, const Unit* text, std::size_t from, std::size_t limit,
                     std::size_t* end) const;

    std::vector<Segment> segments_;
    bool hasStar_ = false;
    bool anchoredStart_ = true;
    bool anchoredEnd_ = true;
    std::u32string lowerPattern_;     // '*' and '?' as they stand, every other character lower-cased
    std::vector<char32_t> rareForms_; // ascending
};

extern template class LikePattern<unsigned char>;
extern template class LikePattern<char16_t>;

} // namespace ado
