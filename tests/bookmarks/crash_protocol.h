// What the crash writer does and how its texts look: shared by the writer and the test that
// checks the catalogue after each kill.
#pragma once

#include <random>
#include <string>

namespace crash_protocol {

// Bookmarks that are only ever saved again: each must always exist, in its old or new version.
constexpr long kKeptEntries[] = {1001, 1002, 5001, 3001};
// Bookmarks that come and go: each must be in the state of its last step or of the step the
// kill interrupted.
constexpr long kToggledEntries[] = {4001, 1004};

struct Step {
    long entryId;
    bool save;
};

inline Step nextStep(std::mt19937& random, long long version) {
    constexpr int kKept = sizeof kKeptEntries / sizeof kKeptEntries[0];
    constexpr int kToggled = sizeof kToggledEntries / sizeof kToggledEntries[0];
    const int pick = static_cast<int>(random() % (kKept + kToggled));
    if (pick < kKept) return {kKeptEntries[pick], true};
    return {kToggledEntries[pick - kKept], version % 2 == 0};
}

// Texts with apostrophes, umlauts and a character outside the Basic Multilingual Plane, so that
// a torn write could not pass for a whole one.
inline std::u16string description(long long version) {
    const std::string digits = std::to_string(version);
    return u"Fassung " + std::u16string(digits.begin(), digits.end()) + u" d'Été";
}
inline std::u16string note(long long version) {
    const std::string digits = std::to_string(version);
    return u"Notiz ''" + std::u16string(digits.begin(), digits.end()) + u"'' für Äpfel \U0001F347 " +
           std::u16string(300, u'x');
}

} // namespace crash_protocol
