// The catalogue's LIKE: '*' matches any run of characters, '?' exactly one, everything else
// (SQLite's '%' and '_' included) stands for itself, compared without regard to case for ASCII
// and Latin-1 letters (Ä/ä, Ö/ö, Ü/ü; ß has no capital here and stays ß).
// A pattern is compiled once per statement and matched against text in the file's own
// encoding (UTF-8 bytes or UTF-16 units), so no row is ever converted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace ado {

// The one lower-casing rule of the catalogue: A–Z and À–Þ (without ×) to their small letters.
constexpr char16_t foldCase(char16_t c) {
    if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 0x20);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 0x20);
    return c;
}
// The capital that foldCase maps to c, or c itself.
constexpr char16_t capitalOf(char16_t c) {
    if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 0x20);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 0x20);
    return c;
}

// Unit is unsigned char (UTF-8) or char16_t (UTF-16).
template <typename Unit> class LikePattern {
  public:
    LikePattern(const Unit* pattern, std::size_t length);
    bool matches(const Unit* text, std::size_t length) const;

  private:
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
};

extern template class LikePattern<unsigned char>;
extern template class LikePattern<char16_t>;

} // namespace ado
