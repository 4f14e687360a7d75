#include "results/entry_detail.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <exception>

#include "db/database.h"
#include "db/schema.h"
#include "db/text_codec.h"
#include "results/row_values.h"

namespace {

struct VintageCategory {
    const char16_t* heading;
    bool cut; // combined categories: one line per part
};

const VintageCategory kVintageCategories[kVintageCategoryCount] = {
    {u"empfohlener Jahrgang: ", false},
    {u"genussreifer Jahrgang: ", false},
    {u"2006 bevorzugt zu genießen: ", false},
    {u"empfohlener Jahrgang+besonders gut ausgefallen: ", true},
    {u"genussreifer Jahrgang+besonders gut ausgefallen: ", true},
    {u"2006 bevorzugt zu genießender Jahrgang+besonders gut ausgefallen: ", true},
    {u"empfohlener Jahrgang+vorläufige Bewertung: ", true},
    {u"genussreifer Jahrgang+vorläufige Bewertung: ", true},
    {u"2006 bevorzugt zu genießender Jahrgang+vorläufige Bewertung: ", true},
    {u"empfohlener Jahrgang+besonders gut ausgefallen+vorläufige Bewertung: ", true},
    {u"genussreifer Jahrgang+besonders gut ausgefallen+vorläufige Bewertung: ", true},
    {u"2005 bevorzugt zu genießender Jahrgang+besonders gut ausgefallen+vorläufige Bewertung: ", true},
    {u"normaler, guter Jahrgang: ", false},
    {u"klassischer, vollreifer Jahrgang: ", false},
    {u"kühler Jahrgang: ", false},
};

const char16_t* const kQualityNames[] = {
    u"einfach",
    u"überdurchschnittlich",
    u"bekannt",
    u"erstklassig",
    u"einfach+ besonders gut",
    u"überdurchschnittlich+besonders gut",
    u"bekannt+besonders gut",
    u"erstklassig+besonders gut",
};

// The quality columns are 16-bit on the device; a wider stored value wraps as it did there.
int qualityNumber(long stored) {
    return static_cast<std::int16_t>(stored);
}

EntryRow readEntryRow(ado::Recordset& recordset) {
    using namespace schema::entry;
    EntryRow row;
    row.description = row_values::text(recordset, kDescription);
    row.dry = row_values::flag(recordset, kDry);
    row.mediumSweet = row_values::flag(recordset, kMediumSweet);
    row.sweet = row_values::flag(recordset, kSweet);
    row.sparkling = row_values::flag(recordset, kSparkling);
    for (int k = 0; k < kVintageCategoryCount; ++k)
        row.vintages[k] = row_values::text(recordset, kFirstVintage + k);
    row.quality1 = qualityNumber(row_values::number(recordset, kQuality1));
    row.quality2 = qualityNumber(row_values::number(recordset, kQuality2));
    row.drinkSoon = row_values::flag(recordset, kDrinkSoon);
    row.noVintage = row_values::flag(recordset, kNoVintage);
    return row;
}

} // namespace

std::u16string qualityName(int number) {
    if (number == 0) return {};
    if (number >= 1 && number <= 8) return kQualityNames[number - 1];
    return u"unbekannt";
}

std::u16string qualityLine(int quality1, int quality2) {
    if (quality1 != 0 && quality2 != 0) {
        if (quality1 == quality2) return qualityName(quality1);
        return qualityName(quality1) + u" -> " + qualityName(quality2);
    }
    if (quality1 != 0) return qualityName(quality1);
    if (quality2 != 0) return qualityName(quality2);
    return {};
}

std::u16string tasteWords(const EntryRow& row) {
    std::u16string words;
    if (row.dry) words += u"trocken ";
    if (row.mediumSweet) words += u"lieblich ";
    if (row.sweet) words += u"süß ";
    if (row.sparkling) words += u"schäumend ";
    return words;
}

std::optional<std::u16string> yearList(std::u16string_view column) {
    std::u16string years;
    for (std::size_t i = 0; i < column.size(); ++i) {
        if (i > 0) years += u',';
        const unsigned code = column[i];
        if (code >= 255) continue;
        const unsigned twoDigits = code % 100;
        years += static_cast<char16_t>(u'0' + twoDigits / 10);
        years += static_cast<char16_t>(u'0' + twoDigits % 10);
    }
    if (years.empty()) return std::nullopt;
    return years;
}

std::u16string vintageHeading(int category) {
    if (category < 0 || category >= kVintageCategoryCount) return {};
    const VintageCategory& entry = kVintageCategories[category];
    std::u16string heading;
    for (const char16_t* c = entry.heading; *c; ++c) {
        if (entry.cut && *c == u'+')
            heading += u"\r\n  +";
        else
            heading += *c;
    }
    return heading;
}

std::u16string infoText(const std::u16string& qualityLine, const std::u16string& tasteWords,
                        const std::optional<std::u16string>& description) {
    std::u16string text;
    if (!qualityLine.empty()) text += qualityLine + u" \r\n\r\n";
    text += tasteWords + u" \r\n";
    if (description) text += *description + u" \r\n";
    return text;
}

std::u16string entryInfoText(const EntryRow& row) {
    std::optional<std::u16string> description;
    // A character that decodes to NUL ends the decoded text for every reader, as a C string does;
    // what follows the description in the Info text still follows it.
    if (row.description) {
        description = readableText(*row.description);
        description->resize(std::min(description->size(), description->find(u'\0')));
    }
    return infoText(qualityLine(row.quality1, row.quality2), tasteWords(row), description);
}

std::u16string entryVintageText(const EntryRow& row) {
    std::u16string text;
    for (int k = 0; k < kVintageCategoryCount; ++k) {
        if (!row.vintages[k]) continue;
        const std::optional<std::u16string> years = yearList(*row.vintages[k]);
        if (!years) continue;
        text += vintageHeading(k);
        text += u"\r\n" + *years + u"\r\n";
    }
    if (row.drinkSoon) text += u"\r\nBaldiger Verbrauch empfohlen";
    if (row.noVintage) text += u"\r\nFlasche ohne Jahresangabe";
    if (text.empty()) text = kNoVintageText;
    return text;
}

bool composeEntryDetail(Database& database, HWND infoArea, HWND vintageArea, bool* rowFound) {
    if (rowFound) *rowFound = false;
    ado::Recordset* recordset = database.recordset();
    HRESULT opened = E_FAIL;
    try {
        opened = database.openQuery(ado::adOpenDynamic, ado::adLockOptimistic, ado::adCmdUnknown);
    } catch (const std::exception&) {
        std::fputs(kOpenGuardTrace, stderr);
        std::fputc('\n', stderr);
        std::fflush(stderr);
        if (recordset) recordset->Close();
        database.openCatalogue();
        return false;
    }
    if (FAILED(opened) || !recordset) {
        if (recordset) recordset->Close();
        return false;
    }
    VARIANT_BOOL eof = VARIANT_TRUE;
    recordset->MoveFirst();
    recordset->get_EOF(&eof);
    if (!eof) {
        if (rowFound) *rowFound = true;
        const EntryRow row = readEntryRow(*recordset);
        SetWindowTextW(infoArea, entryInfoText(row).c_str());
        SetWindowTextW(vintageArea, entryVintageText(row).c_str());
    }
    recordset->Close();
    return true;
}
