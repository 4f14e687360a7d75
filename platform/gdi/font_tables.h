// Reading a TrueType file's own tables from its bytes, without a font engine: Qt makes a whole
// engine (and asks fontconfig about it) for every size it is asked to measure.
#pragma once

#include <QByteArray>
#include <optional>

namespace platform::gdi {

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
std::optional<CellMetrics> cellMetricsOfTables(const QByteArray& os2, const QByteArray& head);
std::optional<CellMetrics> fileCellMetrics(const QByteArray& font);

} // namespace platform::gdi
