// A TrueType file's tables read from its bytes agree with what Qt reads through a font engine,
// and damaged files give nothing instead of reading outside them.
#include <gtest/gtest.h>

#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QRawFont>

#include "platform/gdi/font_tables.h"
#include "platform/gdi/gdi_internal.h"

using platform::gdi::CellMetrics;
using platform::gdi::fileCellMetrics;
using platform::gdi::fontTable;

namespace {

QByteArray tahomaFile() {
    QFile file(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(FontTables, TablesAreTheOnesQtReadsThroughAnEngine) {
    const QByteArray file = tahomaFile();
    if (file.isEmpty()) GTEST_SKIP() << "needs the wine Tahoma (fonts-wine)";
    const QRawFont raw(file, 40);
    ASSERT_TRUE(raw.isValid());
    for (const char* tag : {"OS/2", "head", "hhea", "cmap", "glyf"}) {
        const QByteArray table = fontTable(file, tag);
        EXPECT_FALSE(table.isEmpty()) << tag;
        EXPECT_EQ(table, raw.fontTable(tag)) << tag;
    }
    EXPECT_TRUE(fontTable(file, "NONE").isEmpty());
}

TEST(FontTables, CellOfTheDeviceFaceIsItsWindowsAscentAndDescent) {
    const QByteArray file = tahomaFile();
    if (file.isEmpty()) GTEST_SKIP() << "needs the wine Tahoma (fonts-wine)";
    const std::optional<CellMetrics> cell = fileCellMetrics(file);
    ASSERT_TRUE(cell.has_value());
    const QRawFont raw(file, 40);
    const QByteArray os2 = raw.fontTable("OS/2");
    auto word = [&](int at) {
        return (static_cast<unsigned char>(os2[at]) << 8) | static_cast<unsigned char>(os2[at + 1]);
    };
    EXPECT_DOUBLE_EQ(cell->ascent, word(74) / raw.unitsPerEm());
    EXPECT_DOUBLE_EQ(cell->descent, word(76) / raw.unitsPerEm());
    // The cell is taller than the em by the internal leading, as the platform's Tahoma is.
    EXPECT_GT(cell->ascent + cell->descent, 1.0);
    EXPECT_LT(cell->ascent + cell->descent, 1.5);
}

TEST(FontTables, RegularAndBoldOfTheDeviceFaceShareTheCellOfTheFile) {
    const QByteArray file = tahomaFile();
    if (file.isEmpty()) GTEST_SKIP() << "needs the wine Tahoma (fonts-wine)";
    const std::optional<CellMetrics> fromFile = fileCellMetrics(file);
    ASSERT_TRUE(fromFile.has_value());
    const QString family = platform::gdi::deviceFontFamily();
    for (int weight : {400, 700}) {
        const CellMetrics cell = platform::gdi::cellMetrics(family, weight);
        EXPECT_DOUBLE_EQ(cell.ascent, fromFile->ascent) << weight;
        EXPECT_DOUBLE_EQ(cell.descent, fromFile->descent) << weight;
        // What a font engine of that weight reads from the face Qt chose for it.
        QFont font(family);
        font.setPixelSize(200);
        font.setWeight(static_cast<QFont::Weight>(weight));
        const std::optional<CellMetrics> engine = platform::gdi::cellMetricsOfTables(
            QRawFont::fromFont(font).fontTable("OS/2"), QRawFont::fromFont(font).fontTable("head"));
        ASSERT_TRUE(engine.has_value()) << weight;
        EXPECT_DOUBLE_EQ(engine->ascent, cell.ascent) << weight;
        EXPECT_DOUBLE_EQ(engine->descent, cell.descent) << weight;
    }
}

// Rows, boxes and text lines of Qt's controls are as high as the font engine's ascent and descent:
// with the face's typographic ones the marks above capitals (Ö, É, Š) lie outside them and are cut.
// The registered face therefore spaces lines by the Windows cell, at every size the screens use.
TEST(FontTables, QtSpacesLinesOfTheDeviceFaceByItsWindowsCell) {
    const QByteArray file = tahomaFile();
    if (file.isEmpty()) GTEST_SKIP() << "needs the wine Tahoma (fonts-wine)";
    const QByteArray patched = platform::gdi::withWindowsLineSpacing(file);
    EXPECT_NE(static_cast<unsigned char>(fontTable(file, "OS/2")[63]) & 0x80, 0) << "the file asks for typographic lines";
    EXPECT_EQ(static_cast<unsigned char>(fontTable(patched, "OS/2")[63]) & 0x80, 0);
    EXPECT_EQ(patched.size(), file.size());
    EXPECT_EQ(platform::gdi::withWindowsLineSpacing(QByteArray("short")), QByteArray("short"));
    const std::optional<CellMetrics> cell = fileCellMetrics(file);
    ASSERT_TRUE(cell.has_value());
    for (int weight : {400, 700}) {
        for (int pixels : {8, 11, 13, 16, 22, 26, 33, 39}) {
            QFont font(platform::gdi::deviceFontFamily());
            font.setPixelSize(pixels);
            font.setWeight(static_cast<QFont::Weight>(weight));
            font.setHintingPreference(QFont::PreferNoHinting);
            const QFontMetrics metrics(font);
            EXPECT_NEAR(metrics.ascent(), pixels * cell->ascent, 1.0) << pixels << " px, weight " << weight;
            EXPECT_NEAR(metrics.height(), pixels * (cell->ascent + cell->descent), 1.5)
                << pixels << " px, weight " << weight;
        }
    }
}

TEST(FontTables, DamagedFilesGiveNoTablesAndNoCell) {
    const QByteArray file = tahomaFile();
    if (file.isEmpty()) GTEST_SKIP() << "needs the wine Tahoma (fonts-wine)";
    // Cut inside the table directory, and just before the end of the OS/2 table.
    for (int cut : {0, 11, 12, 40, 12 + 16 * 3 + 5}) {
        EXPECT_FALSE(fileCellMetrics(file.left(cut)).has_value()) << "cut to " << cut;
    }
    const QByteArray os2 = fontTable(file, "OS/2");
    const qsizetype os2At = file.indexOf(os2);
    ASSERT_GT(os2At, 0);
    EXPECT_TRUE(fontTable(file.left(os2At + os2.size() - 1), "OS/2").isEmpty());
    EXPECT_FALSE(fileCellMetrics(file.left(os2At + 70)).has_value());

    // A directory that claims more tables than the file holds, or a table far outside it.
    QByteArray many = file.left(12 + 16);
    many[4] = '\x7F';
    EXPECT_TRUE(fontTable(many, "OS/2").isEmpty());
    QByteArray outside = file;
    for (int entry = 0; entry < 64; ++entry) {
        const int at = 12 + 16 * entry;
        if (at + 16 > outside.size()) break;
        if (outside.mid(at, 4) == "OS/2") {
            outside[at + 8] = '\x7F'; // offset 2 GB on
            break;
        }
    }
    EXPECT_TRUE(fontTable(outside, "OS/2").isEmpty());
    EXPECT_FALSE(fileCellMetrics(QByteArray("not a font at all")).has_value());
}

TEST(FontTables, ImplausibleCellsAreRefused) {
    QByteArray os2(78, '\0');
    QByteArray head(54, '\0');
    head[18] = '\x08'; // 2048 units per em
    os2[74] = '\x00';  // ascent 0, descent 0: no cell at all
    EXPECT_FALSE(platform::gdi::cellMetricsOfTables(os2, head).has_value());
    os2[74] = '\x20'; // ascent 8192 units: four ems
    EXPECT_FALSE(platform::gdi::cellMetricsOfTables(os2, head).has_value());
    os2[74] = '\x08'; // one em, and a fifth below
    os2[76] = '\x01';
    os2[77] = '\x9A';
    const std::optional<CellMetrics> cell = platform::gdi::cellMetricsOfTables(os2, head);
    ASSERT_TRUE(cell.has_value());
    EXPECT_DOUBLE_EQ(cell->ascent, 1.0);
    EXPECT_DOUBLE_EQ(cell->descent, 410.0 / 2048.0);
    head[18] = '\0'; // no units per em
    EXPECT_FALSE(platform::gdi::cellMetricsOfTables(os2, head).has_value());
}

} // namespace
