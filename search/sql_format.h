// Fills the format texts of the search's SQL: each "%s" or "%i" takes the next argument as it
// stands, so the format texts read exactly like the statements they make.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

std::u16string formatSql(std::u16string_view pattern, std::initializer_list<std::u16string_view> arguments);

// A number as "%i" writes it.
std::u16string decimalText(long value);

// The query operations run the SQL in the query buffer; statements are copied there cut at
// `limit` characters, always terminated.
void copySqlToBuffer(char16_t* buffer, std::u16string_view sql, std::size_t limit);
