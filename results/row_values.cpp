#include "results/row_values.h"

namespace row_values {

std::optional<std::u16string> text(ado::Recordset& recordset, long position) {
    VARIANT value;
    VariantInit(&value);
    if (FAILED(recordset.fieldValue(position, &value))) return std::nullopt;
    std::optional<std::u16string> result;
    if (value.vt == VT_BSTR && value.bstrVal) result = std::u16string(value.bstrVal);
    VariantClear(&value);
    return result;
}

long number(ado::Recordset& recordset, long position) {
    VARIANT value;
    VariantInit(&value);
    if (FAILED(recordset.fieldValue(position, &value))) return 0;
    long result = 0;
    if (value.vt == VT_I4)
        result = value.lVal;
    else if (value.vt == VT_I2)
        result = value.iVal;
    else if (value.vt == VT_R8 && value.dblVal > -2147483648.0 && value.dblVal < 2147483648.0)
        result = static_cast<long>(value.dblVal);
    VariantClear(&value);
    return result;
}

bool flag(ado::Recordset& recordset, long position) {
    VARIANT value;
    VariantInit(&value);
    if (FAILED(recordset.fieldValue(position, &value))) return false;
    bool set = false;
    if (value.vt == VT_I4)
        set = value.lVal != 0;
    else if (value.vt == VT_I2)
        set = value.iVal != 0;
    else if (value.vt == VT_R8)
        set = value.dblVal != 0.0;
    VariantClear(&value);
    return set;
}

bool positive(ado::Recordset& recordset, long position) {
    VARIANT value;
    VariantInit(&value);
    if (FAILED(recordset.fieldValue(position, &value))) return false;
    bool above = false;
    if (value.vt == VT_I4)
        above = value.lVal > 0;
    else if (value.vt == VT_I2)
        above = value.iVal > 0;
    else if (value.vt == VT_R8)
        above = value.dblVal > 0.0;
    VariantClear(&value);
    return above;
}

} // namespace row_values
