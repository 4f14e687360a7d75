// The text codec of the scrambled catalogue columns, the lower-casing rule of the catalogue's
// lower-case copies, apostrophe doubling for SQL literals and the input-panel switch.
#pragma once

#include <optional>
#include <string>

#include "platform/ui/win_types.h"

namespace codec {
// Encoding: XOR the low 8 bits with the mask, then add the offset (modulo 65536). With these
// values every character a catalogue text holds (U+0000–U+01FF, U+2000–U+20FF with €) lands in
// U+0600–U+07FF (Arabic to N'Ko) or U+2600–U+26FF (symbols): never NUL, a surrogate, an SQL or
// LIKE special character, or a letter with a case, so LIKE, which ignores case, still compares
// scrambled text exactly; and the first range is two bytes in UTF-8, the same as in UTF-16.
constexpr char16_t kOffset = 0x0600;
constexpr char16_t kMask = 0x5C;
// The offset catalogues were written with before: it puts Latin-1 in U+01A0–U+029F, where many
// characters are letters with a case. Such catalogues are still read as they were written, and
// keep that offset's weakness: LIKE folds case, so the full-text search also finds a text whose
// scrambled form differs from the term's only in case (a search for "q" also finds "r").
constexpr char16_t kEarlierOffset = 0x01A0;

// A catalogue names the offset of its scrambled columns in its header (PRAGMA user_version):
// kGeneration for kOffset. A file without the mark (0, as SQLite creates every file) was written
// before the mark existed, with kEarlierOffset.
constexpr int kEarlierGeneration = 0;
constexpr int kSimpleLoweringGeneration = 1;
constexpr int kGeneration = 2;
// The offset of a generation; none for a generation this program does not know.
std::optional<char16_t> offsetOfGeneration(long long generation);

// How a generation lowered its lower-case copies (Stichwort_Klein, Text_Klein): the earlier codec
// only A–Z and À–Þ; the first marked generation by the simple mapping alone (ß stays ß); the
// current one also writes ß and ẞ as "ss" and the final sigma ς as σ, so that "STRASSE", "Straße"
// and "straße" all meet the copy. The search lowers its term the way the open catalogue did.
enum class Lowering { LatinOnly, Simple, Folded };
std::optional<Lowering> loweringOfGeneration(long long generation);
Lowering lowering();
void useLowering(Lowering lowering);

// Uses `lowering` while it lives and then the one before, for the write or the check of one file.
class LoweringInUse {
  public:
    explicit LoweringInUse(Lowering lowering) : before_(codec::lowering()) { useLowering(lowering); }
    ~LoweringInUse() { useLowering(before_); }
    LoweringInUse(const LoweringInUse&) = delete;
    LoweringInUse& operator=(const LoweringInUse&) = delete;

  private:
    Lowering before_;
};

// The offset every routine below uses: that of the catalogue open now, set when it opens (the
// program and the catalogue tool read one catalogue at a time); kOffset until then.
char16_t offset();
void useOffset(char16_t offset);

// Uses `offset` while it lives and then the one before, for the write or the check of one file.
class OffsetInUse {
  public:
    explicit OffsetInUse(char16_t offset) : before_(codec::offset()) { useOffset(offset); }
    ~OffsetInUse() { useOffset(before_); }
    OffsetInUse(const OffsetInUse&) = delete;
    OffsetInUse& operator=(const OffsetInUse&) = delete;

  private:
    char16_t before_;
};

constexpr char16_t encodeChar(char16_t c, char16_t offset) {
    return static_cast<char16_t>(static_cast<char16_t>(c ^ kMask) + offset);
}
constexpr char16_t decodeChar(char16_t c, char16_t offset) {
    return static_cast<char16_t>(static_cast<char16_t>(c - offset) ^ kMask);
}
inline char16_t encodeChar(char16_t c) {
    return encodeChar(c, offset());
}
inline char16_t decodeChar(char16_t c) {
    return decodeChar(c, offset());
}
} // namespace codec

// In place; the length is taken once, so a character that turns into NUL does not stop the loop.
void decodeText(char16_t* text); // null is ignored
void encodeText(char16_t* text); // must not be null
std::u16string decodedText(std::u16string text);
std::u16string encodedText(std::u16string text);

// How a scrambled text is carried in the catalogue. The encoding of some characters (Hangul
// syllables from U+D200, and the halves of pairs such as most emoji) falls into the surrogate
// range, where a lone unit is no character: SQLite's UTF-16 conversion pairs it with whatever unit
// follows. So each encoded unit in U+D800–U+DFFF is carried as one character of the Supplementary
// Private Use Area-A, U+F0000 + (unit − U+D800), a proper pair that every conversion keeps; all
// other units stay as they are, so the codec's values and every catalogue without such units are
// unchanged. The full-text search carries its encoded term the same way, so both agree.
std::u16string carriedText(std::u16string_view encoded);
// The inverse; anything that is not such a carried pair stays as it is.
std::u16string uncarriedText(std::u16string_view carried);
// A readable text as a scrambled column stores it, and back.
std::u16string storedText(std::u16string_view readable);
std::u16string readableText(std::u16string_view stored);

// Unicode's simple lower-case mapping, one character to one (Š to š, Ș to ș; ß unchanged),
// surrogate pairs included; the LIKE of the data layer folds case by the same rule.
char16_t lowerCaseChar(char16_t c);
void lowerCaseText(char16_t* text); // in place; null is ignored
// A text lowered as the lower-case copies of the open catalogue are (codec::lowering()): shared by
// the catalogue tool, which writes and checks the copies, and the search, which lowers its term.
std::u16string lowerCasedText(std::u16string text);
std::u16string lowerCasedText(std::u16string text, codec::Lowering lowering);

// Doubles every apostrophe in place. The buffer must hold length + apostrophes + 1 characters.
void doubleApostrophes(char16_t* buffer);
// The same, bounded: returns false and leaves the buffer unchanged when the result would not fit
// in `capacity` characters (terminator included).
bool doubleApostrophes(char16_t* buffer, std::size_t capacity);
std::u16string doubledApostrophes(std::u16string_view text);

// Shows or hides the input panel and its button; a window that is missing is skipped.
bool inputPanelSwitch(bool panel, bool button);

// The utility object: the owner of these routines.
class Utility {
  public:
    void decode(char16_t* text) const { decodeText(text); }
    void encode(char16_t* text) const { encodeText(text); }
    void doubleApostrophes(char16_t* buffer) const { ::doubleApostrophes(buffer); }
    bool inputPanelSwitch(bool panel, bool button) const { return ::inputPanelSwitch(panel, button); }
};
