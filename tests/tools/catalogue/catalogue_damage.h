// Damaged copies of a catalogue, the way files really break: pages zeroed or with flipped bits,
// the file cut short, a header field changed, tables or columns dropped, values of the wrong
// type, NULLs where texts belong, and huge texts. Shared by the damage test and its long run.
#pragma once

#include <random>
#include <string>

namespace damage {

enum class Kind {
    ZeroedPage,
    FlippedBits,
    Truncated,
    HeaderField,
    DroppedTable,
    DroppedColumn,
    WrongType,
    Nulls,
    HugeTexts,
    Count
};
const char* nameOf(Kind kind);

// Writes a damaged copy of the catalogue `original` (its bytes) to `path` and says what was done.
// The same random state gives the same damage.
std::string makeDamagedCopy(const std::string& original, const std::string& path, Kind kind,
                            std::mt19937& random);

} // namespace damage
