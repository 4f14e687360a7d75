// COM as far as the program uses it: per-thread initialisation, classes by ProgID, object
// creation, component strings and variants.
#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/data/ado.h"
#include "platform/data/engine.h"
#include "platform/data/testing.h"

namespace {

thread_local int comInitialisations = 0;
bool componentInstalled = true;

constexpr CLSID kConnectionClass = {
    0x1A2B3C01, 0x7A1F, 0x4D0E, {0x9C, 0x51, 0x54, 0x41, 0x4C, 0x56, 0x49, 0x01}};
constexpr CLSID kRecordsetClass = {
    0x1A2B3C02, 0x7A1F, 0x4D0E, {0x9C, 0x51, 0x54, 0x41, 0x4C, 0x56, 0x49, 0x02}};

bool sameText(LPCWSTR a, LPCWSTR b) {
    while (*a && *b) {
        if (ado::foldCaseAscii(*a) != ado::foldCaseAscii(*b)) return false;
        ++a;
        ++b;
    }
    return *a == *b;
}

// A component string keeps its length in the word before the text, as the platform's does.
struct StringHeader {
    UINT length;
    UINT padding;
};

} // namespace

char16_t ado::foldCaseAscii(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 0x20) : c;
}

bool ado::sameIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (foldCaseAscii(a[i]) != foldCaseAscii(b[i])) return false;
    return true;
}

void ado::testing::setComponentInstalled(bool installed) {
    componentInstalled = installed;
}

HRESULT CoInitializeEx(void*, DWORD) {
    ++comInitialisations;
    return comInitialisations == 1 ? S_OK : S_FALSE;
}

void CoUninitialize() {
    if (comInitialisations > 0) --comInitialisations;
}

HRESULT CLSIDFromProgID(LPCWSTR progId, CLSID* clsid) {
    if (!progId || !clsid) return E_INVALIDARG;
    if (componentInstalled && sameText(progId, ado::kConnectionProgId)) {
        *clsid = kConnectionClass;
        return S_OK;
    }
    if (componentInstalled && sameText(progId, ado::kRecordsetProgId)) {
        *clsid = kRecordsetClass;
        return S_OK;
    }
    return CO_E_CLASSSTRING;
}

HRESULT CoCreateInstance(const CLSID& clsid, IUnknown* outer, DWORD context, const IID& iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (comInitialisations == 0) return CO_E_NOTINITIALIZED;
    if (outer) return E_INVALIDARG; // no aggregation
    if ((context & (CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER)) == 0) return REGDB_E_CLASSNOTREG;
    if (!componentInstalled) return REGDB_E_CLASSNOTREG;
    IUnknown* created = nullptr;
    if (clsid == kConnectionClass)
        created = new (std::nothrow) ado::SqliteConnection();
    else if (clsid == kRecordsetClass)
        created = new (std::nothrow) ado::SqliteRecordset();
    else
        return REGDB_E_CLASSNOTREG;
    if (!created) return E_OUTOFMEMORY;
    const HRESULT hr = created->QueryInterface(iid, object);
    created->Release();
    return hr;
}

BSTR SysAllocStringLen(LPCWSTR text, UINT length) {
    auto* block =
        static_cast<unsigned char*>(std::malloc(sizeof(StringHeader) + (length + 1) * sizeof(char16_t)));
    if (!block) return nullptr;
    reinterpret_cast<StringHeader*>(block)->length = length;
    BSTR result = reinterpret_cast<BSTR>(block + sizeof(StringHeader));
    if (text)
        std::memcpy(result, text, length * sizeof(char16_t));
    else
        std::memset(result, 0, length * sizeof(char16_t));
    result[length] = u'\0';
    return result;
}

BSTR SysAllocString(LPCWSTR text) {
    if (!text) return nullptr;
    UINT length = 0;
    while (text[length])
        ++length;
    return SysAllocStringLen(text, length);
}

void SysFreeString(BSTR text) {
    if (text) std::free(reinterpret_cast<unsigned char*>(text) - sizeof(StringHeader));
}

UINT SysStringLen(BSTR text) {
    if (!text) return 0;
    return reinterpret_cast<const StringHeader*>(reinterpret_cast<unsigned char*>(text) -
                                                 sizeof(StringHeader))
        ->length;
}

void VariantInit(VARIANT* v) {
    if (!v) return;
    std::memset(v, 0, sizeof(VARIANT));
    v->vt = VT_EMPTY;
}

HRESULT VariantClear(VARIANT* v) {
    if (!v) return E_INVALIDARG;
    if (v->vt == VT_BSTR && v->wReserved1 == 0) SysFreeString(v->bstrVal);
    if (v->vt == VT_DISPATCH && v->pdispVal) v->pdispVal->Release();
    VariantInit(v);
    return S_OK;
}

namespace ado {

Connection* createConnection() {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    CLSID clsid;
    void* object = nullptr;
    if (FAILED(CLSIDFromProgID(kConnectionProgId, &clsid)) ||
        FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                IID_IADOCEConnection, &object)))
        return nullptr;
    return static_cast<Connection*>(object);
}

Recordset* createRecordset() {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    CLSID clsid;
    void* object = nullptr;
    if (FAILED(CLSIDFromProgID(kRecordsetProgId, &clsid)) ||
        FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                IID_IADOCERecordset, &object)))
        return nullptr;
    return static_cast<Recordset*>(object);
}

HRESULT openRecordset(Recordset* recordset, LPCWSTR sql, long cursorType, long lockType, long options) {
    if (!recordset || !sql) return E_POINTER;
    VARIANT source;
    VariantInit(&source);
    source.vt = VT_BSTR;
    source.bstrVal = SysAllocString(sql);
    VARIANT none;
    VariantInit(&none);
    HRESULT hr = E_FAIL;
    try {
        hr = recordset->Open(source, none, cursorType, lockType, options);
    } catch (...) {
        VariantClear(&source);
        throw;
    }
    VariantClear(&source);
    return hr;
}

} // namespace ado
