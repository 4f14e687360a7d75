#include "db/database.h"

#include <algorithm>
#include <cstdio>

#include "db/schema.h"
#include "db/text_codec.h"
#include "platform/win32.h"

Database::~Database() {
    closeCatalogue();
    releaseObjects();
    freeQueryBuffer();
}

void Database::allocateQueryBuffer() {
    if (queryBuffer) return;
    queryBuffer = new char16_t[kQueryBufferChars]();
}

void Database::freeQueryBuffer() {
    delete[] queryBuffer;
    queryBuffer = nullptr;
}

std::u16string Database::cataloguePath() {
    char16_t module[kCataloguePathChars] = {};
    const DWORD length = GetModuleFileNameW(nullptr, module, kCataloguePathChars);
    // A path cut at the buffer's end would name another file.
    if (length == 0 || length >= static_cast<DWORD>(kCataloguePathChars - 1)) return {};
    std::u16string path(module, length);
    const std::size_t slash = path.find_last_of(u"\\/");
    path.erase(slash == std::u16string::npos ? 0 : slash + 1);
    path += schema::kCatalogueFileName;
    if (path.size() >= static_cast<std::size_t>(kCataloguePathChars)) return {};
    return path;
}

void Database::releaseObjects() {
    if (recordset_) recordset_->Release();
    recordset_ = nullptr;
    if (connection_) connection_->Release();
    connection_ = nullptr;
}

bool Database::isOpen() const {
    long state = 0;
    return connection_ && SUCCEEDED(connection_->get_State(&state)) && state == 1;
}

bool Database::openCatalogue() {
    // A second open replaces the first: the old file handle is closed before the new one opens.
    if (connection_) connection_->Close();
    releaseObjects();

    const std::u16string path = catalogueFile();
    bool result = false;
    if (FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) return false;
    CLSID clsid;
    void* object = nullptr;
    if (FAILED(CLSIDFromProgID(ado::kConnectionProgId, &clsid)) ||
        FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                IID_IADOCEConnection, &object)) ||
        !object)
        return false;
    connection_ = static_cast<ado::Connection*>(object);
    connection_->put_Provider(u"cedb");
    result = !path.empty() && SUCCEEDED(connection_->Open(path.c_str(), u"", u"", ado::adOptionUnspecified));

    object = nullptr;
    if (SUCCEEDED(CLSIDFromProgID(ado::kRecordsetProgId, &clsid)) &&
        SUCCEEDED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                   IID_IADOCERecordset, &object)) &&
        object) {
        recordset_ = static_cast<ado::Recordset*>(object);
        VARIANT active;
        VariantInit(&active);
        active.vt = VT_DISPATCH;
        active.pdispVal = connection_;
        recordset_->put_ActiveConnection(active);
    }
    closeRecordset();
    if (result) {
        // The scrambled columns are read, and the search term lowered, as the file was written.
        const long long generation = writtenGeneration();
        codec::useOffset(codec::offsetOfGeneration(generation).value_or(codec::kOffset));
        codec::useLowering(codec::loweringOfGeneration(generation).value_or(codec::Lowering::Folded));
    }
    return result;
}

bool Database::closeCatalogue() {
    if (!connection_) return false;
    connection_->Close();
    releaseObjects();
    return true;
}

void Database::closeRecordset() {
    if (recordset_) recordset_->Close();
}

HRESULT Database::openQuery(long cursorType, long lockType, long options) {
    if (!recordset_ || !queryBuffer) return E_FAIL;
    return ado::openRecordset(recordset_, queryBuffer, cursorType, lockType, options);
}

HRESULT Database::openOwnQuery(LPCWSTR sql) {
    if (!recordset_ || !sql) return E_FAIL;
    // A broken file must not take the program down here: it is a failed query like any other.
    try {
        return ado::openRecordset(recordset_, sql, ado::adOpenDynamic, ado::adLockOptimistic,
                                  ado::adCmdUnknown);
    } catch (const ado::ComponentException&) {
        return E_FAIL;
    }
}

bool Database::executeStatement(LPCWSTR sql) {
    if (!sql || !*sql) return false;
    const bool ok = SUCCEEDED(openOwnQuery(sql));
    closeRecordset();
    return ok;
}

bool Database::executeInTransaction(std::initializer_list<LPCWSTR> statements) {
    if (!connection_ || !isOpen()) return false;
    if (FAILED(connection_->BeginTrans(nullptr))) return false;
    for (LPCWSTR sql : statements) {
        if (!executeStatement(sql)) {
            connection_->RollbackTrans();
            return false;
        }
    }
    if (FAILED(connection_->CommitTrans())) {
        connection_->RollbackTrans();
        return false;
    }
    return true;
}

bool Database::readFirstValue(VARIANT& value, LPCWSTR sql) {
    VariantInit(&value);
    if (FAILED(openOwnQuery(sql))) return false;
    VARIANT_BOOL eof = VARIANT_TRUE;
    recordset_->MoveFirst();
    recordset_->get_EOF(&eof);
    if (eof) return true;
    ado::Fields* fields = nullptr;
    ado::Field* field = nullptr;
    VARIANT index;
    VariantInit(&index);
    index.vt = VT_UI2;
    index.uiVal = 0;
    if (SUCCEEDED(recordset_->get_Fields(&fields)) && SUCCEEDED(fields->get_Item(index, &field)))
        field->get_Value(&value);
    // A row without a readable first field reads as an empty value, not as no row.
    if (value.vt == VT_EMPTY) value.vt = VT_NULL;
    return true;
}

long long Database::writtenGeneration() {
    VARIANT value;
    const bool read = readFirstValue(value, u"PRAGMA user_version");
    closeRecordset();
    // A mark this program does not know comes from a later one; the newest generation known is
    // the nearest guess. A file whose header cannot be read fails its first query anyway.
    if (!read || value.vt != VT_I4 || !codec::offsetOfGeneration(value.lVal)) return codec::kGeneration;
    return value.lVal;
}

bool Database::scalarQuery(LPWSTR out, short capacity) {
    VARIANT value;
    if (!readFirstValue(value, queryBuffer)) {
        closeRecordset();
        return false;
    }
    // Nothing fits in a capacity below one, not even the terminator; no row leaves `out` alone.
    if (out && capacity > 0 && value.vt != VT_EMPTY) {
        const std::size_t room = static_cast<std::size_t>(capacity) - 1;
        if (value.vt == VT_BSTR && value.bstrVal) {
            std::size_t n = 0;
            while (n < room && value.bstrVal[n])
                ++n;
            std::copy(value.bstrVal, value.bstrVal + n, out);
            out[n] = u'\0';
        } else if (value.vt == VT_I4) {
            char digits[16];
            const int n = std::snprintf(digits, sizeof digits, "%i", static_cast<int>(value.lVal));
            const std::size_t count = std::min(room, static_cast<std::size_t>(n));
            for (std::size_t i = 0; i < count; ++i)
                out[i] = static_cast<char16_t>(digits[i]);
            out[count] = u'\0';
        } else {
            out[0] = u'\0';
        }
    }
    VariantClear(&value);
    closeRecordset();
    return true;
}

bool Database::scalarQuery(std::u16string& out) {
    VARIANT value;
    if (!readFirstValue(value, queryBuffer)) {
        closeRecordset();
        return false;
    }
    if (value.vt == VT_BSTR && value.bstrVal) {
        out = value.bstrVal;
    } else if (value.vt == VT_I4) {
        const std::string digits = std::to_string(value.lVal);
        out.assign(digits.begin(), digits.end());
    } else if (value.vt != VT_EMPTY) {
        out.clear();
    }
    VariantClear(&value);
    closeRecordset();
    return true;
}
