// Reading field values of the current recordset row by position.
#pragma once

#include <optional>
#include <string>

#include "platform/data/ado.h"

namespace row_values {

// A text field as stored; nothing for NULL, a number or a missing field.
std::optional<std::u16string> text(ado::Recordset& recordset, long position);

// A number field (an integer, or a real cut towards zero); 0 for NULL, text or a missing field.
long number(ado::Recordset& recordset, long position);

// A flag counts as set when its number is not zero (a real such as 0.5 included).
bool flag(ado::Recordset& recordset, long position);

// The SQL test "column > 0": a number above zero.
bool positive(ado::Recordset& recordset, long position);

} // namespace row_values
