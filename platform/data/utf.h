// UTF-8 ↔ UTF-16 at the engine boundary. Unpaired surrogates and malformed bytes become U+FFFD
// so that no input can make a conversion read or write out of bounds.
#pragma once

#include <string>
#include <string_view>

namespace ado {

std::string toUtf8(std::u16string_view text);
std::u16string toUtf16(std::string_view text);

} // namespace ado
