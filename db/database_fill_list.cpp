// Fill list: the one operation of the database object that talks to a window.
#include "db/database.h"
#include "platform/win32.h"

bool Database::fillList(HWND comboBox) {
    if (FAILED(openOwnQuery(queryBuffer))) {
        closeRecordset();
        return false;
    }
    VARIANT_BOOL eof = VARIANT_TRUE;
    recordset_->MoveFirst();
    recordset_->get_EOF(&eof);
    ado::Field* field = nullptr;
    if (!eof) {
        ado::Fields* fields = nullptr;
        VARIANT index;
        VariantInit(&index);
        index.vt = VT_UI2;
        index.uiVal = 0;
        if (FAILED(recordset_->get_Fields(&fields)) || FAILED(fields->get_Item(index, &field)))
            field = nullptr;
    }
    while (!eof && field) {
        VARIANT value;
        VariantInit(&value);
        field->get_Value(&value);
        // Only texts: a number's first word is not a string pointer.
        if (value.vt == VT_BSTR && value.bstrVal)
            SendMessageW(comboBox, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(value.bstrVal));
        VariantClear(&value);
        if (FAILED(recordset_->MoveNext())) break;
        recordset_->get_EOF(&eof);
    }
    closeRecordset();
    return true;
}
