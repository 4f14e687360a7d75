#include <gtest/gtest.h>

#include <random>
#include <string>

#include "platform/data/ado.h"
#include "platform/data/testing.h"
#include "platform/data/utf.h"
#include "tests/support/test_catalogue.h"

namespace {

HRESULT openFile(ado::Connection* connection, const std::string& path) {
    const std::u16string wide = ado::toUtf16(path);
    return connection->Open(wide.c_str(), u"", u"", -1);
}

struct ConnectionHolder {
    ado::Connection* connection = ado::createConnection();
    ~ConnectionHolder() {
        if (connection) connection->Release();
    }
};

TEST(ComponentCreation, KnownProgIdsGiveTheirObjects) {
    ASSERT_EQ(CoInitializeEx(nullptr, 0) >= 0, true);
    CLSID connectionClass, recordsetClass;
    ASSERT_EQ(CLSIDFromProgID(u"ADOCE.Connection.3.0", &connectionClass), S_OK);
    ASSERT_EQ(CLSIDFromProgID(u"ADOCE.Recordset.3.0", &recordsetClass), S_OK);
    EXPECT_NE(connectionClass, recordsetClass);
    void* object = nullptr;
    ASSERT_EQ(CoCreateInstance(connectionClass, nullptr, 5, IID_IADOCEConnection, &object), S_OK);
    ASSERT_NE(object, nullptr);
    static_cast<ado::Connection*>(object)->Release();
    ASSERT_EQ(CoCreateInstance(recordsetClass, nullptr, 5, IID_IADOCERecordset, &object), S_OK);
    static_cast<ado::Recordset*>(object)->Release();
    CoUninitialize();
}

TEST(ComponentCreation, UnknownProgIdAndWrongInterfaceFail) {
    CoInitializeEx(nullptr, 0);
    CLSID clsid;
    EXPECT_EQ(CLSIDFromProgID(u"ADOCE.Connection.2.0", &clsid), CO_E_CLASSSTRING);
    EXPECT_EQ(CLSIDFromProgID(u"", &clsid), CO_E_CLASSSTRING);
    ASSERT_EQ(CLSIDFromProgID(u"ADOCE.Connection.3.0", &clsid), S_OK);
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(CoCreateInstance(clsid, nullptr, 5, IID_IADOCERecordset, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    CoUninitialize();
}

TEST(ComponentCreation, NothingIsCreatedBeforeComInitialisation) {
    CLSID clsid;
    ASSERT_EQ(CLSIDFromProgID(u"ADOCE.Recordset.3.0", &clsid), S_OK);
    void* object = nullptr;
    EXPECT_EQ(CoCreateInstance(clsid, nullptr, 5, IID_IADOCERecordset, &object), CO_E_NOTINITIALIZED);
}

TEST(ComponentCreation, AMissingComponentIsARealFailure) {
    ado::testing::setComponentInstalled(false);
    CLSID clsid;
    EXPECT_EQ(CLSIDFromProgID(u"ADOCE.Connection.3.0", &clsid), CO_E_CLASSSTRING);
    EXPECT_EQ(ado::createConnection(), nullptr);
    ado::testing::setComponentInstalled(true);
    ConnectionHolder holder;
    EXPECT_NE(holder.connection, nullptr);
}

TEST(ComponentStrings, KeepTheirLengthAndVariantsFreeOnlyWhatTheyOwn) {
    BSTR text = SysAllocString(u"Grüner Veltliner");
    EXPECT_EQ(SysStringLen(text), 16u);
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = text;
    EXPECT_EQ(VariantClear(&v), S_OK);
    EXPECT_EQ(v.vt, VT_EMPTY);
    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    EXPECT_EQ(SysStringLen(nullptr), 0u);
}

class CatalogueFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        catalogue.addSampleContent();
        catalogue.build();
    }
    TestCatalogue catalogue;
    ConnectionHolder holder;
};

TEST_F(CatalogueFileTest, AGoodCatalogueOpensAndClosesOnce) {
    EXPECT_EQ(openFile(holder.connection, catalogue.path()), S_OK);
    long state = 0;
    holder.connection->get_State(&state);
    EXPECT_EQ(state, 1);
    EXPECT_TRUE(FAILED(openFile(holder.connection, catalogue.path()))); // already open
    EXPECT_EQ(holder.connection->Close(), S_OK);
    EXPECT_TRUE(FAILED(holder.connection->Close()));
}

TEST_F(CatalogueFileTest, AMissingFileFailsAndIsNotCreated) {
    const std::string missing = catalogue.file("fehlt.cdb");
    EXPECT_EQ(openFile(holder.connection, missing), E_FAIL);
    EXPECT_TRUE(catalogue.rows("SELECT 1").size() == 1); // the real one is untouched
    std::FILE* f = std::fopen(missing.c_str(), "rb");
    EXPECT_EQ(f, nullptr);
    if (f) std::fclose(f);
}

TEST_F(CatalogueFileTest, AFolderIsNotACatalogue) {
    EXPECT_EQ(openFile(holder.connection, catalogue.folder()), E_FAIL);
}

TEST_F(CatalogueFileTest, AnEmptyFileFailsAtOpen) {
    catalogue.writeRawFile("");
    EXPECT_EQ(openFile(holder.connection, catalogue.path()), E_FAIL);
}

TEST_F(CatalogueFileTest, RandomBytesFailAtOpen) {
    std::mt19937 random(42);
    std::string bytes(8192, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random());
    catalogue.writeRawFile(bytes);
    EXPECT_EQ(openFile(holder.connection, catalogue.path()), E_FAIL);
}

TEST_F(CatalogueFileTest, ATextFileFailsAtOpen) {
    catalogue.writeRawFile("F | Frankreich\nD | Deutschland\n");
    EXPECT_EQ(openFile(holder.connection, catalogue.path()), E_FAIL);
}

TEST_F(CatalogueFileTest, ATruncatedFileFailsAtOpen) {
    const std::string whole = catalogue.readRawFile();
    ASSERT_GT(whole.size(), 8192u);
    catalogue.writeRawFile(whole.substr(0, whole.size() / 2));
    EXPECT_EQ(openFile(holder.connection, catalogue.path()), E_FAIL);
    catalogue.writeRawFile(whole.substr(0, 50));
    EXPECT_EQ(openFile(holder.connection, catalogue.path()), E_FAIL);
}

TEST_F(CatalogueFileTest, ADatabaseWithoutTheEntryTableFailsAtOpen) {
    catalogue.execute("DROP TABLE talvino");
    EXPECT_EQ(openFile(holder.connection, catalogue.path()), E_FAIL);
}

TEST_F(CatalogueFileTest, AMissingContentOrBookmarkTableFailsOnlyTheStatementsNamingIt) {
    catalogue.execute("DROP TABLE Rebsorten");
    catalogue.execute("DROP TABLE Lesezeichen");
    ASSERT_EQ(openFile(holder.connection, catalogue.path()), S_OK);
    ado::Recordset* recordset = ado::testing::recordsetOn(holder.connection);
    EXPECT_EQ(ado::openRecordset(recordset, u"SELECT * FROM talvino", ado::adOpenStatic, ado::adLockReadOnly),
              S_OK);
    recordset->Close();
    EXPECT_EQ(ado::openRecordset(recordset, u"SELECT Bezeichnung FROM Land", ado::adOpenStatic,
                                 ado::adLockReadOnly),
              S_OK);
    recordset->Close();
    EXPECT_EQ(ado::openRecordset(recordset, u"SELECT Rebsorte from Rebsorten", ado::adOpenStatic,
                                 ado::adLockReadOnly),
              E_FAIL);
    EXPECT_EQ(
        ado::openRecordset(recordset, u"SELECT * from Lesezeichen", ado::adOpenStatic, ado::adLockReadOnly),
        E_FAIL);
    recordset->Release();
}

TEST_F(CatalogueFileTest, AnEntryTableWithTooFewColumnsFailsAtOpen) {
    catalogue.execute("DROP TABLE talvino");
    catalogue.execute("CREATE TABLE talvino (ID INTEGER, Name TEXT)");
    EXPECT_EQ(openFile(holder.connection, catalogue.path()), E_FAIL);
}

TEST_F(CatalogueFileTest, AReadOnlyFileReadsButRefusesWrites) {
    catalogue.setReadOnly(true);
    ASSERT_EQ(openFile(holder.connection, catalogue.path()), S_OK);
    ado::Recordset* recordset = ado::testing::recordsetOn(holder.connection);
    EXPECT_EQ(ado::openRecordset(recordset, u"SELECT Bezeichnung FROM Land", ado::adOpenStatic,
                                 ado::adLockReadOnly),
              S_OK);
    EXPECT_EQ(
        ado::openRecordset(recordset,
                           u"INSERT INTO Lesezeichen (id_talvino, Beschreibung, Notiz) VALUES ('1','a','b')",
                           ado::adOpenDynamic, ado::adLockOptimistic),
        E_FAIL);
    recordset->Release();
    catalogue.setReadOnly(false);
    EXPECT_TRUE(catalogue.rows("SELECT * FROM Lesezeichen").empty());
}

// The first column of every row, through the component.
std::vector<std::string> firstColumn(ado::Connection* connection, const std::u16string& sql) {
    ado::Recordset* recordset = ado::testing::recordsetOn(connection);
    std::vector<std::string> texts;
    if (SUCCEEDED(ado::openRecordset(recordset, sql.c_str(), ado::adOpenStatic, ado::adLockReadOnly))) {
        VARIANT_BOOL eof = VARIANT_FALSE;
        for (recordset->get_EOF(&eof); !eof; recordset->MoveNext(), recordset->get_EOF(&eof)) {
            VARIANT v;
            recordset->fieldValue(0, &v);
            texts.push_back(v.vt == VT_BSTR ? ado::toUtf8(v.bstrVal) : "?");
            VariantClear(&v);
        }
        recordset->Close();
    }
    recordset->Release();
    return texts;
}

TEST_F(CatalogueFileTest, SortsTheDeclaredColumnsInGermanOrder) {
    ASSERT_EQ(openFile(holder.connection, catalogue.path()), S_OK);
    EXPECT_EQ(firstColumn(holder.connection, u"SELECT Bezeichnung FROM Land ORDER BY Bezeichnung"),
              (std::vector<std::string>{"Deutschland", "Frankreich", "Österreich", "Portugal", "Spanien"}));
    EXPECT_EQ(firstColumn(holder.connection, u"SELECT Land FROM Land WHERE Bezeichnung = 'Österreich'"),
              (std::vector<std::string>{"A"}));
}

TEST_F(CatalogueFileTest, ACatalogueWithoutGermanOrderOpensAndSortsByBytes) {
    // As written before the schema declared the order; no German order is needed to write it.
    catalogue.execute(
        "CREATE TABLE Land_old (Land TEXT PRIMARY KEY NOT NULL, Bezeichnung TEXT NOT NULL UNIQUE);"
        "INSERT INTO Land_old SELECT Land, Bezeichnung FROM Land; DROP TABLE Land;"
        "ALTER TABLE Land_old RENAME TO Land");
    ASSERT_EQ(openFile(holder.connection, catalogue.path()), S_OK);
    EXPECT_EQ(firstColumn(holder.connection, u"SELECT Bezeichnung FROM Land ORDER BY Bezeichnung"),
              (std::vector<std::string>{"Deutschland", "Frankreich", "Portugal", "Spanien", "Österreich"}));
}

TEST_F(CatalogueFileTest, APlainSqliteConnectionChecksAndReadsTheCatalogue) {
    // Without the program's collation: what a stock sqlite3 shell can do (see the README).
    EXPECT_EQ(catalogue.rows("PRAGMA integrity_check"), (std::vector<std::vector<std::string>>{{"ok"}}));
    EXPECT_EQ(catalogue.rows("SELECT Bezeichnung FROM Land ORDER BY Bezeichnung COLLATE BINARY").back(),
              (std::vector<std::string>{"Österreich"}));
    EXPECT_THROW(catalogue.rows("SELECT Bezeichnung FROM Land ORDER BY Bezeichnung"), std::exception);
}

TEST_F(CatalogueFileTest, DamagedPagesRaiseTheComponentExceptionWhileARecordsetOpens) {
    std::string bytes = catalogue.readRawFile();
    // Overwrite every page after the schema page: the file still opens, the tables do not read.
    for (std::size_t i = 4096; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(0xA5);
    catalogue.writeRawFile(bytes);
    ASSERT_EQ(openFile(holder.connection, catalogue.path()), S_OK);
    ado::Recordset* recordset = ado::testing::recordsetOn(holder.connection);
    EXPECT_THROW(ado::openRecordset(recordset, u"select * from talvino where ID = 1001", ado::adOpenDynamic,
                                    ado::adLockOptimistic),
                 ado::ComponentException);
    long state = 1;
    recordset->get_State(&state);
    EXPECT_EQ(state, 0);
    recordset->Release();
}

TEST_F(CatalogueFileTest, ASecondReaderDoesNotMakeWritesFailAtOnce) {
    ASSERT_EQ(openFile(holder.connection, catalogue.path()), S_OK);
    ConnectionHolder other;
    ASSERT_EQ(openFile(other.connection, catalogue.path()), S_OK);
    ado::Recordset* reader = ado::testing::recordsetOn(other.connection);
    ado::Recordset* writer = ado::testing::recordsetOn(holder.connection);
    // The reader holds no lock once its static rows are read.
    ASSERT_EQ(ado::openRecordset(reader, u"SELECT * FROM Land", ado::adOpenStatic, ado::adLockReadOnly),
              S_OK);
    EXPECT_EQ(ado::openRecordset(
                  writer, u"INSERT INTO Lesezeichen (id_talvino, Beschreibung, Notiz) VALUES ('1','a','b')",
                  ado::adOpenDynamic, ado::adLockOptimistic),
              S_OK);
    reader->Release();
    writer->Release();
}

} // namespace
