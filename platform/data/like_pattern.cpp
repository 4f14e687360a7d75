#include "platform/data/like_pattern.h"

#include <emmintrin.h>

#include <algorithm>

#include "platform/data/letter_case.h"

namespace ado {

namespace {

constexpr std::size_t npos = static_cast<std::size_t>(-1);

bool isContinuation(unsigned char u) {
    return (u & 0xC0) == 0x80;
}

// Length of the character that starts at text[at] (one unit for malformed input).
std::size_t charLength(const unsigned char* text, std::size_t at, std::size_t length) {
    const unsigned char b = text[at];
    std::size_t n = b < 0xC0 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    if (at + n > length) return 1;
    for (std::size_t k = 1; k < n; ++k)
        if (!isContinuation(text[at + k])) return 1;
    return n;
}
std::size_t charLength(const char16_t* text, std::size_t at, std::size_t length) {
    if (text[at] >= 0xD800 && text[at] <= 0xDBFF && at + 1 < length && text[at + 1] >= 0xDC00 &&
        text[at + 1] <= 0xDFFF)
        return 2;
    return 1;
}
bool isCharStart(const unsigned char* text, std::size_t at) {
    return !isContinuation(text[at]);
}
bool isCharStart(const char16_t* text, std::size_t at) {
    return !(text[at] >= 0xDC00 && text[at] <= 0xDFFF && at > 0 && text[at - 1] >= 0xD800 &&
             text[at - 1] <= 0xDBFF);
}

// Reads one code point of the pattern and advances.
char32_t nextCodePoint(const unsigned char* p, std::size_t& at, std::size_t length) {
    const std::size_t n = charLength(p, at, length);
    char32_t c = p[at];
    if (n > 1) {
        c &= (n == 2 ? 0x1F : n == 3 ? 0x0F : 0x07);
        for (std::size_t k = 1; k < n; ++k)
            c = (c << 6) | (p[at + k] & 0x3F);
    }
    at += n;
    return c;
}
char32_t nextCodePoint(const char16_t* p, std::size_t& at, std::size_t length) {
    const std::size_t n = charLength(p, at, length);
    char32_t c = p[at];
    if (n == 2) c = 0x10000 + ((c - 0xD800) << 10) + (p[at + 1] - 0xDC00);
    at += n;
    return c;
}

void appendUnits(std::vector<unsigned char>& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<unsigned char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<unsigned char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<unsigned char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<unsigned char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<unsigned char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<unsigned char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<unsigned char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<unsigned char>(0x80 | (c & 0x3F)));
    }
}
void appendUnits(std::vector<char16_t>& out, char32_t c) {
    if (c >= 0x10000) {
        out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
        out.push_back(static_cast<char16_t>(c));
    }
}

// Candidate starts: positions p in [from, last] where text[p + o0] is one of (a0, b0) and
// text[p + o1] is one of (a1, b1). Calls check(p) for each in order until it returns true.
template <typename Check>
std::size_t scanCandidates(const unsigned char* text, std::size_t from, std::size_t last, std::size_t o0,
                           std::size_t o1, unsigned char a0, unsigned char b0, unsigned char a1,
                           unsigned char b1, Check check) {
    std::size_t p = from;
    const __m128i va0 = _mm_set1_epi8(static_cast<char>(a0)), vb0 = _mm_set1_epi8(static_cast<char>(b0));
    const __m128i va1 = _mm_set1_epi8(static_cast<char>(a1)), vb1 = _mm_set1_epi8(static_cast<char>(b1));
    while (p + 16 <= last + 1) {
        const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + p + o0));
        const __m128i final = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + p + o1));
        const __m128i hit =
            _mm_and_si128(_mm_or_si128(_mm_cmpeq_epi8(first, va0), _mm_cmpeq_epi8(first, vb0)),
                          _mm_or_si128(_mm_cmpeq_epi8(final, va1), _mm_cmpeq_epi8(final, vb1)));
        unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hit));
        while (mask) {
            const unsigned bit = static_cast<unsigned>(__builtin_ctz(mask));
            if (check(p + bit)) return p + bit;
            mask &= mask - 1;
        }
        p += 16;
    }
    for (; p <= last; ++p) {
        const unsigned char u0 = text[p + o0], u1 = text[p + o1];
        if ((u0 == a0 || u0 == b0) && (u1 == a1 || u1 == b1) && check(p)) return p;
    }
    return npos;
}

template <typename Check>
std::size_t scanCandidates(const char16_t* text, std::size_t from, std::size_t last, std::size_t o0,
                           std::size_t o1, char16_t a0, char16_t b0, char16_t a1, char16_t b1, Check check) {
    std::size_t p = from;
    const __m128i va0 = _mm_set1_epi16(static_cast<short>(a0)), vb0 = _mm_set1_epi16(static_cast<short>(b0));
    const __m128i va1 = _mm_set1_epi16(static_cast<short>(a1)), vb1 = _mm_set1_epi16(static_cast<short>(b1));
    while (p + 8 <= last + 1) {
        const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + p + o0));
        const __m128i final = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + p + o1));
        const __m128i hit =
            _mm_and_si128(_mm_or_si128(_mm_cmpeq_epi16(first, va0), _mm_cmpeq_epi16(first, vb0)),
                          _mm_or_si128(_mm_cmpeq_epi16(final, va1), _mm_cmpeq_epi16(final, vb1)));
        // Two mask bits per unit; keep the low one.
        unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hit)) & 0x5555u;
        while (mask) {
            const unsigned bit = static_cast<unsigned>(__builtin_ctz(mask));
            if (check(p + bit / 2)) return p + bit / 2;
            mask &= mask - 1;
        }
        p += 8;
    }
    for (; p <= last; ++p) {
        const char16_t u0 = text[p + o0], u1 = text[p + o1];
        if ((u0 == a0 || u0 == b0) && (u1 == a1 || u1 == b1) && check(p)) return p;
    }
    return npos;
}

} // namespace

namespace {
// The letter as the search form writes it: the final sigma as σ (ß stays one letter here).
char32_t searchLetter(char32_t lower) {
    return lower == kFinalSigma ? kSigma : lower;
}
} // namespace

char16_t foldCase(char16_t c) {
    if (c >= 0xD800 && c <= 0xDFFF) return c;
    return static_cast<char16_t>(lowerCaseOf(c));
}

template <typename Unit> LikePattern<Unit>::LikePattern(const Unit* pattern, std::size_t length) {
    Segment current;
    auto flush = [&] {
        if (!current.pieces.empty()) segments_.push_back(std::move(current));
        current = Segment();
    };
    std::size_t at = 0;
    while (at < length) {
        const char32_t c = nextCodePoint(pattern, at, length);
        if (c == U'*') {
            lowerPattern_ += c;
            hasStar_ = true;
            flush();
            continue;
        }
        if (c == U'?') {
            lowerPattern_ += c;
            Piece any;
            any.anyChar = true;
            current.pieces.push_back(any);
            current.literalOnly = false;
            current.minUnits += 1;
            continue;
        }
        if (current.pieces.empty() || current.pieces.back().anyChar) current.pieces.push_back(Piece());
        const char32_t small = searchLetter(lowerCaseOf(c));
        lowerPattern_ += small;
        if (small == kSharpS) {
            // The fast matcher looks for "ss"; a text that writes ß takes the slow way.
            for (int k = 0; k < 2; ++k) {
                current.pieces.back().small.push_back(static_cast<Unit>('s'));
                current.pieces.back().capital.push_back(static_cast<Unit>('S'));
            }
            current.minUnits += 2;
            continue;
        }
        Piece& piece = current.pieces.back();
        const std::size_t before = piece.small.size();
        appendUnits(piece.small, small);
        const std::size_t units = piece.small.size() - before;
        bool haveCapital = false;
        for (char32_t capital : capitalsOf(small)) {
            std::vector<Unit> form;
            appendUnits(form, capital);
            if (!haveCapital && form.size() == units) {
                piece.capital.insert(piece.capital.end(), form.begin(), form.end());
                haveCapital = true;
            } else {
                rareForms_.push_back(capital);
            }
        }
        if (!haveCapital)
            piece.capital.insert(piece.capital.end(), piece.small.end() - static_cast<std::ptrdiff_t>(units),
                                 piece.small.end());
        current.minUnits += units;
    }
    anchoredStart_ = !(length > 0 && pattern[0] == static_cast<Unit>('*'));
    anchoredEnd_ = !(length > 0 && pattern[length - 1] == static_cast<Unit>('*'));
    if (!hasStar_) anchoredStart_ = anchoredEnd_ = true;
    flush();
    // Forms the fast matcher cannot meet: ß and ẞ for a pattern's "ss" (or ß), ς for its σ.
    std::u32string folded;
    for (char32_t c : lowerPattern_)
        folded += c == kSharpS ? std::u32string(U"ss") : std::u32string(1, c);
    if (folded.find(U"ss") != std::u32string::npos) {
        rareForms_.push_back(kSharpS);
        rareForms_.push_back(kCapitalSharpS);
    }
    if (folded.find(kSigma) != std::u32string::npos) rareForms_.push_back(kFinalSigma);
    std::sort(rareForms_.begin(), rareForms_.end());
    rareForms_.erase(std::unique(rareForms_.begin(), rareForms_.end()), rareForms_.end());
}

template <typename Unit>
std::size_t LikePattern<Unit>::matchAt(const Segment& s, const Unit* text, std::size_t at,
                                       std::size_t limit) const {
    std::size_t p = at;
    for (const Piece& piece : s.pieces) {
        if (piece.anyChar) {
            if (p >= limit) return npos;
            p += charLength(text, p, limit);
            continue;
        }
        const std::size_t n = piece.small.size();
        if (p + n > limit) return npos;
        for (std::size_t k = 0; k < n; ++k) {
            const Unit u = text[p + k];
            if (u != piece.small[k] && u != piece.capital[k]) return npos;
        }
        p += n;
    }
    return p;
}

template <typename Unit>
std::size_t LikePattern<Unit>::find(const Segment& s, const Unit* text, std::size_t from, std::size_t limit,
                                    std::size_t* end) const {
    if (from > limit || limit - from < s.minUnits) return npos;
    const Piece& first = s.pieces.front();
    if (!first.anyChar) {
        // Pre-filter on two units of the leading literal run: the last one, and the first one
        // or, when that is the lead byte of a UTF-8 sequence (few distinct values), the next.
        const std::size_t o1 = first.small.size() - 1;
        const std::size_t o0 = (sizeof(Unit) == 1 && first.small[0] >= 0xC0 && o1 >= 1) ? 1 : 0;
        const std::size_t last = limit - s.minUnits;
        std::size_t found = npos;
        const std::size_t start = scanCandidates(text, from, last, o0, o1, first.small[o0], first.capital[o0],
                                                 first.small[o1], first.capital[o1], [&](std::size_t p) {
                                                     found = matchAt(s, text, p, limit);
                                                     return found != npos;
                                                 });
        if (start != npos) *end = found;
        return start;
    }
    for (std::size_t p = from; p + s.minUnits <= limit; ++p) {
        if (!isCharStart(text, p)) continue;
        const std::size_t e = matchAt(s, text, p, limit);
        if (e != npos) {
            *end = e;
            return p;
        }
    }
    return npos;
}

template <typename Unit> bool LikePattern<Unit>::matches(const Unit* text, std::size_t length) const {
    if (matchesCommonForms(text, length)) return true;
    return !rareForms_.empty() && holdsRareForm(text, length) && matchesLowerCased(text, length);
}

template <typename Unit> bool LikePattern<Unit>::holdsRareForm(const Unit* text, std::size_t length) const {
    // Every rare form lies beyond ASCII, so ASCII units are passed over unread.
    for (std::size_t at = 0; at < length;) {
        if (text[at] < 0x80) {
            ++at;
            continue;
        }
        const char32_t c = nextCodePoint(text, at, length);
        if (std::binary_search(rareForms_.begin(), rareForms_.end(), c)) return true;
    }
    return false;
}

template <typename Unit>
bool LikePattern<Unit>::matchesLowerCased(const Unit* text, std::size_t length) const {
    std::u32string lower;
    for (std::size_t at = 0; at < length;)
        lower += searchLetter(lowerCaseOf(nextCodePoint(text, at, length)));
    // matched[i][j]: the pattern from i matches the text from j; rows i, i + 1 and i + 2 are kept.
    // Besides letter for letter, the pattern's "ss" matches a ß of the text and its ß matches "ss".
    const std::u32string& p = lowerPattern_;
    const std::size_t n = lower.size();
    std::vector<char> row(n + 1, 0), next(n + 1, 0), afterNext(n + 1, 0);
    next[n] = 1; // the empty rest of the pattern matches the end of the text only
    for (std::size_t i = p.size(); i-- > 0;) {
        for (std::size_t j = n + 1; j-- > 0;) {
            bool m = false;
            if (p[i] == U'*') {
                m = next[j] || (j < n && row[j + 1]);
            } else if (j < n) {
                if (p[i] == U'?' || p[i] == lower[j]) m = next[j + 1];
                if (!m && p[i] == U's' && i + 1 < p.size() && p[i + 1] == U's' && lower[j] == kSharpS)
                    m = afterNext[j + 1];
                if (!m && p[i] == kSharpS && j + 1 < n && lower[j] == U's' && lower[j + 1] == U's')
                    m = next[j + 2];
            }
            row[j] = m;
        }
        afterNext.swap(next);
        next.swap(row);
    }
    return next[0] != 0;
}

template <typename Unit>
bool LikePattern<Unit>::matchesCommonForms(const Unit* text, std::size_t length) const {
    if (!hasStar_) {
        if (segments_.empty()) return length == 0;
        return matchAt(segments_[0], text, 0, length) == length;
    }
    std::size_t pos = 0;
    std::size_t first = 0;
    std::size_t last = segments_.size();
    std::size_t limit = length;
    if (anchoredStart_) {
        const std::size_t e = matchAt(segments_[0], text, 0, length);
        if (e == npos) return false;
        pos = e;
        first = 1;
    }
    if (anchoredEnd_) {
        const Segment& tail = segments_.back();
        last = segments_.size() - 1;
        std::size_t start = npos;
        if (tail.literalOnly) {
            if (length >= tail.minUnits && length - tail.minUnits >= pos &&
                matchAt(tail, text, length - tail.minUnits, length) == length)
                start = length - tail.minUnits;
        } else {
            for (std::size_t q = length >= tail.minUnits ? length - tail.minUnits + 1 : 0; q-- > pos;) {
                if (isCharStart(text, q) && matchAt(tail, text, q, length) == length) {
                    start = q;
                    break;
                }
            }
        }
        if (start == npos) return false;
        limit = start;
    }
    for (std::size_t i = first; i < last; ++i) {
        std::size_t end = 0;
        if (find(segments_[i], text, pos, limit, &end) == npos) return false;
        pos = end;
    }
    return true;
}

template class LikePattern<unsigned char>;
template class LikePattern<char16_t>;

} // namespace ado
