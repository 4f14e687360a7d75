// The database object: the program's one door to the catalogue. It owns the connection, the
// one recordset every query uses, and the query buffer through which screens hand it SQL.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>

#include "platform/data/ado.h"
#include "platform/ui/win_types.h"

class Database {
  public:
    static constexpr int kQueryBufferChars = 5000;
    static constexpr int kCataloguePathChars = 300;

    Database() = default;
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // The query buffer: allocated by the main menu at its first message, freed at shutdown.
    // Allocation leaves it empty.
    char16_t* queryBuffer = nullptr;
    void allocateQueryBuffer();
    void freeQueryBuffer();

    // Opens the catalogue file: talvino2006_db.cdb in the program's own directory, or the file
    // given to useCatalogueFile. Called again, it replaces the connection and recordset it had.
    // True exactly when the connection opened.
    bool openCatalogue();
    // From now on openCatalogue opens `path` (the program was told which catalogue to use);
    // an empty path goes back to the one in the program's directory.
    void useCatalogueFile(std::u16string path) { chosenPath_ = std::move(path); }
    // The file openCatalogue opens; empty when its path does not fit.
    std::u16string catalogueFile() const { return chosenPath_.empty() ? cataloguePath() : chosenPath_; }
    // False when there was no connection.
    bool closeCatalogue();

    // Runs a statement that changes data (INSERT, DELETE); true when it took effect. An empty
    // text does nothing and touches no component object.
    bool executeStatement(LPCWSTR sql);
    // All statements or none: the bookmark save deletes and inserts together.
    bool executeInTransaction(std::initializer_list<LPCWSTR> statements);

    // The first column of every row of the query buffer's SQL into a combo box (CB_ADDSTRING),
    // texts as stored. True when the query ran; the box is never emptied first.
    bool fillList(HWND comboBox);

    // The first column of the first row into `out`: a text cut to fit `capacity` characters and
    // always terminated, a 32-bit integer as "%i", NULL as empty. No row: true, `out` untouched.
    // Failure: false, `out` untouched.
    bool scalarQuery(LPWSTR out, short capacity);
    // The same into a text that takes the whole value, however long: for texts that are read to be
    // saved back, where a cut would lose the rest.
    bool scalarQuery(std::u16string& out);

    // The one recordset, for screens that walk rows themselves (null while none was created).
    ado::Recordset* recordset() const { return recordset_; }
    ado::Connection* connection() const { return connection_; }
    bool isOpen() const;

    // Opens the recordset on the query buffer's SQL with the caller's cursor and lock values.
    // File errors raise ado::ComponentException, as the recordset's own open does.
    HRESULT openQuery(long cursorType, long lockType, long options = ado::adCmdUnknown);

    // The catalogue's full path as openCatalogue builds it; empty when it does not fit.
    static std::u16string cataloguePath();

  private:
    // The dynamic, optimistic open of the object's own operations; never throws.
    HRESULT openOwnQuery(LPCWSTR sql);
    // Opens `sql` and reads the first field of the first row into `value`; false
    // when the query did not run, true with VT_EMPTY when there was no row. The recordset stays
    // open until `closeRecordset`.
    bool readFirstValue(VARIANT& value, LPCWSTR sql);
    // The codec generation the open catalogue names in its header (its offset and lowering).
    long long writtenGeneration();
    void closeRecordset();
    void releaseObjects();

    ado::Connection* connection_ = nullptr;
    ado::Recordset* recordset_ = nullptr;
    std::u16string chosenPath_;
};
