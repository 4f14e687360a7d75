#include "bookmarks/bookmark_list.h"

#include <cmath>
#include <exception>
#include <limits>

#include "db/database.h"
#include "db/schema.h"
#include "search/sql_format.h"

namespace {

std::u16string labelOf(const VARIANT& value) {
    switch (value.vt) {
    case VT_BSTR:
        return value.bstrVal ? std::u16string(value.bstrVal) : std::u16string();
    case VT_I4:
        return decimalText(value.lVal);
    default:
        return {};
    }
}

long keyOf(const VARIANT& value) {
    switch (value.vt) {
    case VT_I4:
        return value.lVal;
    case VT_R8:
        return std::isfinite(value.dblVal) ? static_cast<long>(value.dblVal) : 0;
    case VT_BSTR: {
        // A key stored as text still finds its entry.
        long key = 0;
        const char16_t* c = value.bstrVal;
        if (!c) return 0;
        const bool negative = *c == u'-';
        if (negative) ++c;
        for (; *c >= u'0' && *c <= u'9'; ++c) {
            if (key > (std::numeric_limits<long>::max() - 9) / 10) return 0; // no key of the catalogue
            key = key * 10 + (*c - u'0');
        }
        return negative ? -key : key;
    }
    default:
        return 0;
    }
}

std::optional<std::u16string> storedText(const VARIANT& value) {
    if (value.vt == VT_NULL) return std::nullopt;
    return labelOf(value);
}

// The note of the current row, read by name as every other reader of it does.
std::optional<std::u16string> noteOf(ado::Recordset& recordset) {
    ado::Fields* fields = nullptr;
    ado::Field* field = nullptr;
    char16_t name[] = u"Notiz";
    VARIANT index;
    VariantInit(&index);
    index.vt = VT_BSTR;
    index.bstrVal = name;
    VARIANT value;
    VariantInit(&value);
    if (SUCCEEDED(recordset.get_Fields(&fields)) && SUCCEEDED(fields->get_Item(index, &field)))
        field->get_Value(&value);
    std::optional<std::u16string> note = value.vt == VT_EMPTY ? std::nullopt : storedText(value);
    VariantClear(&value);
    return note;
}

} // namespace

bool fillBookmarkList(Database& database, const std::function<void(const ListedBookmark&)>& add) {
    ado::Recordset* recordset = database.recordset();
    if (!recordset) return false;
    bool opened = false;
    try {
        opened = SUCCEEDED(database.openQuery(ado::adOpenStatic, ado::adLockReadOnly, ado::adCmdUnknown));
    } catch (const std::exception&) {
        // A damaged file leaves the list empty; the screen stays usable.
        opened = false;
    }
    if (opened) {
        VARIANT_BOOL eof = VARIANT_TRUE;
        recordset->MoveFirst();
        recordset->get_EOF(&eof);
        while (!eof) {
            VARIANT key;
            VariantInit(&key);
            VARIANT label;
            VariantInit(&label);
            recordset->fieldValue(schema::bookmark::kEntryId, &key);
            recordset->fieldValue(schema::bookmark::kDescription, &label);
            ListedBookmark listed;
            listed.label = labelOf(label);
            listed.entryId = keyOf(key);
            if (listed.entryId == 0) {
                listed.description = storedText(label);
                listed.note = noteOf(*recordset);
            }
            add(listed);
            VariantClear(&label);
            VariantClear(&key);
            recordset->MoveNext();
            recordset->get_EOF(&eof);
        }
    }
    recordset->Close();
    return opened;
}
