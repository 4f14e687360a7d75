#include "search/sql_format.h"

#include <algorithm>

std::u16string formatSql(std::u16string_view pattern, std::initializer_list<std::u16string_view> arguments) {
    std::u16string out;
    std::size_t reserve = pattern.size();
    for (std::u16string_view argument : arguments)
        reserve += argument.size();
    out.reserve(reserve);
    auto next = arguments.begin();
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const bool placeholder = pattern[i] == u'%' && i + 1 < pattern.size() &&
                                 (pattern[i + 1] == u's' || pattern[i + 1] == u'i') &&
                                 next != arguments.end();
        if (placeholder) {
            out.append(*next++);
            ++i;
        } else {
            out.push_back(pattern[i]);
        }
    }
    return out;
}

std::u16string decimalText(long value) {
    const bool negative = value < 0;
    unsigned long magnitude =
        negative ? 0ul - static_cast<unsigned long>(value) : static_cast<unsigned long>(value);
    std::u16string digits;
    do {
        digits.push_back(static_cast<char16_t>(u'0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    if (negative) digits.push_back(u'-');
    std::reverse(digits.begin(), digits.end());
    return digits;
}

void copySqlToBuffer(char16_t* buffer, std::u16string_view sql, std::size_t limit) {
    const std::size_t length = std::min(sql.size(), limit);
    std::copy_n(sql.data(), length, buffer);
    buffer[length] = u'\0';
}
