// The grape varieties chapter's own pieces, beside its dialog procedure.
#pragma once

#include <string>
#include <string_view>

namespace grapes {

constexpr int kNameChars = 100;         // a chosen name, terminator included
constexpr int kQueryChars = 200;        // the description lookup, terminator included
constexpr int kDescriptionChars = 2000; // a description, terminator included

constexpr const char16_t* kRedNamesQuery =
    u"SELECT Rebsorte from Rebsorten WHERE Farbe = 1 ORDER BY ID_Rebsorte";
constexpr const char16_t* kWhiteNamesQuery =
    u"SELECT Rebsorte from Rebsorten WHERE Farbe = 2 ORDER BY ID_Rebsorte";

// The lookup of a variety's description: every name that starts with `name`. The name's
// apostrophes are doubled ("Nero d'Avola" would otherwise end the literal early); the text is
// cut to fit kQueryChars.
std::u16string descriptionQuery(std::u16string_view name);

} // namespace grapes
