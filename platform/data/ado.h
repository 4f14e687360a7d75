// The catalogue's data-access component: COM-shaped Connection, Recordset, Fields and Field
// objects over an embedded SQLite engine.
// Differs from the platform: only the calls the program makes exist; classes are created by
// ProgID alone (no registry); the field and fields objects belong to their recordset (Release
// on them never frees, so a caller that forgets it leaks nothing); a text value read from a
// field is borrowed from the recordset (valid until the next move, open or close) and
// VariantClear leaves it alone; a statement may hold one SQL statement only.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "platform/ui/win_types.h"

// ---- HRESULTs -------------------------------------------------------------------------------
constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT CO_E_CLASSSTRING = static_cast<HRESULT>(0x800401F3u);
constexpr HRESULT CO_E_NOTINITIALIZED = static_cast<HRESULT>(0x800401F0u);
constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154u);
// The component's own errors: operation not allowed in this state, item not found.
constexpr HRESULT ADO_E_ILLEGALOPERATION = static_cast<HRESULT>(0x800A0C93u);
constexpr HRESULT ADO_E_ITEMNOTFOUND = static_cast<HRESULT>(0x800A0CC1u);
constexpr HRESULT ADO_E_NOCURRENTRECORD = static_cast<HRESULT>(0x800A0BCDu);

constexpr bool SUCCEEDED(HRESULT hr) {
    return hr >= 0;
}
constexpr bool FAILED(HRESULT hr) {
    return hr < 0;
}

// ---- COM ------------------------------------------------------------------------------------
using ULONG = std::uint32_t;

struct GUID {
    std::uint32_t Data1;
    std::uint16_t Data2;
    std::uint16_t Data3;
    std::uint8_t Data4[8];
};
using CLSID = GUID;
using IID = GUID;
inline bool operator==(const GUID& a, const GUID& b) {
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
    for (int i = 0; i < 8; ++i)
        if (a.Data4[i] != b.Data4[i]) return false;
    return true;
}
inline bool operator!=(const GUID& a, const GUID& b) {
    return !(a == b);
}

constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
constexpr DWORD CLSCTX_LOCAL_SERVER = 0x4;
constexpr DWORD COINIT_MULTITHREADED = 0x0;

// {113033DE-F682-11D2-BB62-00C04F680ACC} and {113033F6-F682-11D2-BB62-00C04F680ACC}
inline constexpr IID IID_IADOCEConnection = {
    0x113033DE, 0xF682, 0x11D2, {0xBB, 0x62, 0x00, 0xC0, 0x4F, 0x68, 0x0A, 0xCC}};
inline constexpr IID IID_IADOCERecordset = {
    0x113033F6, 0xF682, 0x11D2, {0xBB, 0x62, 0x00, 0xC0, 0x4F, 0x68, 0x0A, 0xCC}};
inline constexpr IID IID_IUnknown = {
    0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

struct IUnknown {
    virtual HRESULT QueryInterface(const IID& iid, void** object) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

  protected:
    virtual ~IUnknown() = default;
};
using IDispatch = IUnknown;

HRESULT CoInitializeEx(void* reserved, DWORD flags);
void CoUninitialize();
HRESULT CLSIDFromProgID(LPCWSTR progId, CLSID* clsid);
HRESULT CoCreateInstance(const CLSID& clsid, IUnknown* outer, DWORD context, const IID& iid, void** object);

// ---- Strings and variants -------------------------------------------------------------------
using BSTR = char16_t*;
using VARTYPE = std::uint16_t;
using VARIANT_BOOL = std::int16_t;
constexpr VARIANT_BOOL VARIANT_TRUE = -1;
constexpr VARIANT_BOOL VARIANT_FALSE = 0;

constexpr VARTYPE VT_EMPTY = 0;
constexpr VARTYPE VT_NULL = 1;
constexpr VARTYPE VT_I2 = 2;
constexpr VARTYPE VT_I4 = 3;
constexpr VARTYPE VT_R8 = 5;
constexpr VARTYPE VT_BSTR = 8;
constexpr VARTYPE VT_DISPATCH = 9;
constexpr VARTYPE VT_BOOL = 11;
constexpr VARTYPE VT_UI2 = 18;

// A value with a 16-bit type tag. The union's first word is the string pointer for VT_BSTR and
// the number for VT_I4, as the program reads it.
struct VARIANT {
    VARTYPE vt;
    WORD wReserved1; // non-zero: the text is borrowed from the component, not owned
    WORD wReserved2;
    WORD wReserved3;
    union {
        LONG lVal;
        std::int16_t iVal;
        std::uint16_t uiVal;
        VARIANT_BOOL boolVal;
        double dblVal;
        BSTR bstrVal;
        IUnknown* punkVal;
        IDispatch* pdispVal;
    };
};
using Variant = VARIANT;

BSTR SysAllocString(LPCWSTR text);
BSTR SysAllocStringLen(LPCWSTR text, UINT length);
void SysFreeString(BSTR text);
UINT SysStringLen(BSTR text);
void VariantInit(VARIANT* v);
// Frees an owned text and releases a held object; leaves the variant empty.
HRESULT VariantClear(VARIANT* v);

// ---- The data-access component ----------------------------------------------------------------
namespace ado {

enum CursorTypeEnum : long { adOpenForwardOnly = 0, adOpenKeyset = 1, adOpenDynamic = 2, adOpenStatic = 3 };
enum LockTypeEnum : long { adLockReadOnly = 1, adLockPessimistic = 2, adLockOptimistic = 3 };
constexpr long adCmdUnknown = 8;
constexpr long adOptionUnspecified = -1;

inline constexpr char16_t kConnectionProgId[] = u"ADOCE.Connection.3.0";
inline constexpr char16_t kRecordsetProgId[] = u"ADOCE.Recordset.3.0";

// Raised while a recordset opens when the FILE fails (corrupt, not a database, I/O error):
// the one failure the program guards with an exception handler. SQL that the engine rejects
// is an HRESULT instead.
class ComponentException : public std::runtime_error {
  public:
    ComponentException(int engineCode, const std::string& message)
        : std::runtime_error(message), engineCode_(engineCode) {}
    int engineCode() const { return engineCode_; }

  private:
    int engineCode_;
};

class Connection : public IUnknown {
  public:
    virtual HRESULT put_Provider(LPCWSTR provider) = 0;
    // The connection string is the catalogue's path. The file must exist and hold the entry table
    // `talvino` with its columns; it is never created.
    virtual HRESULT Open(LPCWSTR connectionString, LPCWSTR user, LPCWSTR password, long options) = 0;
    virtual HRESULT Close() = 0;
    virtual HRESULT get_State(long* state) = 0; // 0 closed, 1 open
    virtual HRESULT BeginTrans(long* level) = 0;
    virtual HRESULT CommitTrans() = 0;
    virtual HRESULT RollbackTrans() = 0;
};

class Field : public IUnknown {
  public:
    // VT_NULL, VT_I4 (integers that fit 32 bits), VT_R8, VT_BSTR (borrowed text), VT_EMPTY (blobs).
    virtual HRESULT get_Value(VARIANT* value) = 0;
    virtual HRESULT get_Name(BSTR* name) = 0; // an owned copy
};

class Fields : public IUnknown {
  public:
    virtual HRESULT get_Count(long* count) = 0;
    // By position (VT_I2, VT_UI2, VT_I4) or by column name (VT_BSTR, any case).
    virtual HRESULT get_Item(VARIANT index, Field** field) = 0;
};

class Recordset : public IUnknown {
  public:
    virtual HRESULT put_ActiveConnection(VARIANT connection) = 0;
    // Source is a VT_BSTR with the SQL text; activeConnection VT_EMPTY uses the bound connection.
    // A static cursor counts the rows during the open and keeps the first ones; a later row is
    // read by running the statement again. A sorted "SELECT * FROM table [WHERE …] ORDER BY …"
    // is counted with count(*) over its WHERE and read in windows of sorted row ids (the same rows
    // in the same order); any other statement is stepped through to its end. A dynamic cursor
    // steps on demand. INSERT and DELETE run during the open. Throws ComponentException when the
    // file fails.
    virtual HRESULT Open(VARIANT source, VARIANT activeConnection, long cursorType, long lockType,
                         long options) = 0;
    virtual HRESULT Close() = 0;
    virtual HRESULT get_State(long* state) = 0; // 0 closed, 1 open
    virtual HRESULT MoveFirst() = 0;
    virtual HRESULT MoveNext() = 0;
    virtual HRESULT get_EOF(VARIANT_BOOL* eof) = 0;
    virtual HRESULT get_RecordCount(long* count) = 0; // -1 for a dynamic cursor
    virtual HRESULT get_Fields(Fields** fields) = 0;
    // Shortcut for get_Fields → get_Item(position) → get_Value.
    virtual HRESULT fieldValue(long position, VARIANT* value) = 0;
};

// Creates the component objects by ProgID and opens a recordset on SQL text: what tests and
// tools need without spelling out the COM steps.
Connection* createConnection();

// Called now and then on the thread that runs a long query (at most every 40 ms, also while one
// step of it takes longer), so that the program can show what other threads drew meanwhile. Set
// before the connection opens; null for none.
void setBusyHook(void (*hook)());
// From now on, every reading statement running or started stops at its next progress check and
// fails (a program that is ending does not wait for a long search). Writes and open transactions
// run to their end. Sets one flag and nothing else, so a signal handler may call it.
void interruptQueries();
// Statements run to their end again.
void resumeQueries();
Recordset* createRecordset();
HRESULT openRecordset(Recordset* recordset, LPCWSTR sql, long cursorType, long lockType,
                      long options = adCmdUnknown);

// The engine's message for the latest failure on this thread (for tools and tests).
std::string lastError();

} // namespace ado
