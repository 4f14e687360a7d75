#include "platform/gdi/bold_face.h"
#include "platform/gdi/font_tables.h"

#include <QString>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace platform::gdi {
namespace {

using Table = std::vector<std::uint8_t>;

void put16(Table& t, unsigned v) {
    t.push_back(static_cast<std::uint8_t>(v >> 8));
    t.push_back(static_cast<std::uint8_t>(v));
}
void put32(Table& t, std::uint32_t v) {
    put16(t, v >> 16);
    put16(t, v & 0xFFFF);
}
void set16(Table& t, std::size_t at, unsigned v) {
    t[at] = static_cast<std::uint8_t>(v >> 8);
    t[at + 1] = static_cast<std::uint8_t>(v);
}
unsigned get16(const Table& t, std::size_t at) {
    return (unsigned(t[at]) << 8) | t[at + 1];
}

std::map<std::string, Table> readTables(const QByteArray& font) {
    std::map<std::string, Table> tables;
    const auto* d = reinterpret_cast<const std::uint8_t*>(font.constData());
    for (const FontTableEntry& entry : fontTableDirectory(font))
        tables[entry.tag] = Table(d + entry.offset, d + entry.offset + entry.length);
    return tables;
}

std::uint32_t checksum(const Table& t) {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < t.size(); i += 4) {
        std::uint32_t word = 0;
        for (std::size_t k = 0; k < 4; ++k)
            word = (word << 8) | (i + k < t.size() ? t[i + k] : 0);
        sum += word;
    }
    return sum;
}

QByteArray writeFont(const std::map<std::string, Table>& tables) {
    Table out;
    put32(out, 0x00010000);
    const unsigned count = static_cast<unsigned>(tables.size());
    unsigned power = 1, log = 0;
    while (power * 2 <= count) {
        power *= 2;
        ++log;
    }
    put16(out, count);
    put16(out, power * 16);
    put16(out, log);
    put16(out, count * 16 - power * 16);
    std::uint32_t offset = 12 + 16 * count;
    for (const auto& [tag, table] : tables) {
        out.insert(out.end(), tag.begin(), tag.end());
        put32(out, checksum(table));
        put32(out, offset);
        put32(out, static_cast<std::uint32_t>(table.size()));
        offset += static_cast<std::uint32_t>((table.size() + 3) & ~std::size_t(3));
    }
    for (const auto& entry : tables) {
        out.insert(out.end(), entry.second.begin(), entry.second.end());
        out.resize((out.size() + 3) & ~std::size_t(3), 0);
    }
    return QByteArray(reinterpret_cast<const char*>(out.data()), static_cast<qsizetype>(out.size()));
}

// One name record set, in the Windows platform's Unicode English, saying "Tahoma Bold".
Table nameTable(const std::u16string& family) {
    const std::vector<std::pair<unsigned, std::u16string>> names = {{1, family},
                                                                    {2, u"Bold"},
                                                                    {3, family + u" Bold (emboldened)"},
                                                                    {4, family + u" Bold"},
                                                                    {6, u"Tahoma-Bold"}};
    Table t;
    put16(t, 0);
    put16(t, static_cast<unsigned>(names.size()));
    put16(t, static_cast<unsigned>(6 + 12 * names.size()));
    Table strings;
    for (const auto& [id, text] : names) {
        put16(t, 3);
        put16(t, 1);
        put16(t, 0x409);
        put16(t, id);
        put16(t, static_cast<unsigned>(text.size() * 2));
        put16(t, static_cast<unsigned>(strings.size()));
        for (char16_t c : text)
            put16(strings, c);
    }
    t.insert(t.end(), strings.begin(), strings.end());
    return t;
}

struct FreeType {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    ~FreeType() {
        if (face) FT_Done_Face(face);
        if (library) FT_Done_FreeType(library);
    }
};

} // namespace

QByteArray emboldenedFace(const QByteArray& regular) {
    std::map<std::string, Table> tables = readTables(regular);
    for (const char* needed : {"head", "hhea", "maxp", "OS/2", "cmap", "glyf", "loca", "hmtx"})
        if (tables.find(needed) == tables.end()) return {};
    Table& head = tables["head"];
    Table& hhea = tables["hhea"];
    Table& maxp = tables["maxp"];
    Table& os2 = tables["OS/2"];
    if (head.size() < 54 || hhea.size() < 36 || maxp.size() < 32 || os2.size() < 64) return {};

    FreeType ft;
    if (FT_Init_FreeType(&ft.library) != 0 ||
        FT_New_Memory_Face(ft.library, reinterpret_cast<const FT_Byte*>(regular.constData()), regular.size(),
                           0, &ft.face) != 0 ||
        !FT_IS_SFNT(ft.face) || !FT_IS_SCALABLE(ft.face))
        return {};
    const FT_Face face = ft.face;
    const FT_Pos strength = face->units_per_EM / emboldeningDivisor;
    const auto glyphs = static_cast<unsigned>(face->num_glyphs);

    Table glyf, loca, hmtx;
    unsigned maxPoints = 0, maxContours = 0, widest = 0;
    for (unsigned gid = 0; gid < glyphs; ++gid) {
        put32(loca, static_cast<std::uint32_t>(glyf.size()));
        if (FT_Load_Glyph(face, gid, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0)
            return {};
        FT_GlyphSlot slot = face->glyph;
        FT_Outline& outline = slot->outline;
        const unsigned advance =
            static_cast<unsigned>(std::max<FT_Pos>(0, slot->metrics.horiAdvance + strength));
        widest = std::max(widest, advance);
        if (outline.n_contours <= 0 || slot->format != FT_GLYPH_FORMAT_OUTLINE) {
            put16(hmtx, advance);
            put16(hmtx, 0);
            continue;
        }
        FT_Outline_EmboldenXY(&outline, strength, strength);
        FT_BBox box;
        FT_Outline_Get_CBox(&outline, &box);
        put16(hmtx, advance);
        put16(hmtx, static_cast<unsigned>(static_cast<std::int16_t>(box.xMin)));
        maxPoints = std::max(maxPoints, static_cast<unsigned>(outline.n_points));
        maxContours = std::max(maxContours, static_cast<unsigned>(outline.n_contours));
        put16(glyf, static_cast<unsigned>(outline.n_contours));
        for (FT_Pos v : {box.xMin, box.yMin, box.xMax, box.yMax})
            put16(glyf, static_cast<unsigned>(static_cast<std::int16_t>(v)));
        for (int c = 0; c < outline.n_contours; ++c)
            put16(glyf, static_cast<unsigned>(outline.contours[c]));
        put16(glyf, 0); // no instructions: the face is drawn unhinted
        for (int p = 0; p < outline.n_points; ++p)
            glyf.push_back((FT_CURVE_TAG(outline.tags[p]) == FT_CURVE_TAG_ON) ? 1 : 0);
        FT_Pos last = 0;
        for (int p = 0; p < outline.n_points; ++p) {
            put16(glyf, static_cast<unsigned>(static_cast<std::int16_t>(outline.points[p].x - last)));
            last = outline.points[p].x;
        }
        last = 0;
        for (int p = 0; p < outline.n_points; ++p) {
            put16(glyf, static_cast<unsigned>(static_cast<std::int16_t>(outline.points[p].y - last)));
            last = outline.points[p].y;
        }
        glyf.resize((glyf.size() + 3) & ~std::size_t(3), 0);
    }
    put32(loca, static_cast<std::uint32_t>(glyf.size()));

    set16(head, 50, 1);                          // long loca offsets
    set16(head, 44, get16(head, 44) | 1);        // macStyle: bold
    head[8] = head[9] = head[10] = head[11] = 0; // checksum adjustment: not checked by the readers
    set16(hhea, 10, widest);
    set16(hhea, 34, glyphs);
    set16(maxp, 6, maxPoints);
    set16(maxp, 8, maxContours);
    set16(maxp, 10, maxPoints);
    set16(maxp, 12, maxContours);
    set16(maxp, 26, 0); // no instructions
    set16(maxp, 28, 0); // no components: composites are flattened
    set16(maxp, 30, 0);
    set16(os2, 4, 700);                                // usWeightClass
    set16(os2, 62, (get16(os2, 62) & ~0x41u) | 0x20u); // fsSelection: bold, not regular or italic
    tables["glyf"] = std::move(glyf);
    tables["loca"] = std::move(loca);
    tables["hmtx"] = std::move(hmtx);
    tables["name"] = nameTable(QString::fromUtf8(face->family_name).toStdU16String());
    for (const char* dropped :
         {"EBDT", "EBLC", "EBSC", "BDF ", "hdmx", "LTSH", "VDMX", "fpgm", "prep", "cvt ", "gasp"})
        tables.erase(dropped);
    return writeFont(tables);
}

} // namespace platform::gdi
