// Reading a TrueType file's own tables from its bytes, without a font engine: Qt makes a whole
// engine (and asks fontconfig about it) for every size it is asked to measure.
#pragma once

#include <QByteArray>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform::gdi {

// Where each table of the file lies, in the directory's order. Entries past the end of the file,
// or whose table reaches past it, are left out.
struct FontTableEntry {
    std::string tag;
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
};
std::vector<FontTableEntry> fontTableDirectory(const QByteArray& font);

// The table with the four-letter `tag` ("OS/2", "head"), or empty when the file has none or it
// lies outside the file.
QByteArray fontTable(const QByteArray& font, const char* tag);

// Ascent and descent per pixel of character size as the platform measures them: the OS/2 table's
// Windows ascent and descent over the units per em (Qt goes by the typographic ones, which make
// Tahoma's cell about a fifth smaller). Empty when a table is missing or short, or the
// cell it gives is not a plausible one (between half an em and three ems).
struct CellMetrics {
    double ascent = 1.0;
    double descent = 0.2;
};
bool plausibleCell(const CellMetrics& cell);
std::optional<CellMetrics> cellMetricsOfTables(const QByteArray& os2, const QByteArray& head);
std::optional<CellMetrics> fileCellMetrics(const QByteArray& font);

// The file as a font engine must see it to space lines by the Windows cell, as the platform did:
// the OS/2 table's "use typographic metrics" flag cleared, and the embedded bitmap strikes hidden
// (at their sizes they bring line metrics of their own). Rows that hold only Tahoma's typographic
// ascent cut the marks above capitals: Ö reads O. Unchanged when the file has neither.
QByteArray withWindowsLineSpacing(QByteArray font);

} // namespace platform::gdi
