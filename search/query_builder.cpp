#include "search/query_builder.h"

#include <algorithm>

#include "db/database.h"
#include "db/text_codec.h"
#include "search/sql_format.h"

namespace {

// One check box of a group: its condition as the first of the group and as a later one. The
// first box of each group is never a later one, so it has no OR form.
struct GroupBox {
    bool set;
    const char16_t* first;
    const char16_t* later;
};

// The group starts with a line feed, which reaches the statement; the database reads it as blank.
// Returns whether any box was set.
bool composeGroup(std::initializer_list<GroupBox> boxes, std::u16string& group) {
    group.assign(1, u'\n');
    int count = 0;
    for (const GroupBox& box : boxes) {
        if (!box.set) continue;
        group = formatSql(count == 0 ? box.first : box.later, {group});
        ++count;
    }
    return count > 0;
}

// Text_Klein holds its text encoded, so the term is encoded the same way, and carried as the
// catalogue carries encoded units that fall into the surrogate range. A character that encodes to
// the null character ends the text there, as for every other reader of it.
std::u16string encoded(std::u16string_view lowerTerm) {
    std::u16string copy = encodedText(std::u16string(lowerTerm));
    copy.resize(std::find(copy.begin(), copy.end(), u'\0') - copy.begin());
    return carriedText(copy);
}

} // namespace

bool hasCountry(const SearchCriteria& criteria) {
    return criteria.countryNameLength >= 3;
}

std::u16string countryCodeQuery(std::u16string_view countryName) {
    return formatSql(u"SELECT Land FROM Land WHERE Bezeichnung = '%s'", {doubledApostrophes(countryName)});
}

std::u16string lookUpCountryCode(Database& database, std::u16string_view countryName) {
    char16_t code[kCountryCodeCapacity] = u"\n";
    copySqlToBuffer(database.queryBuffer, countryCodeQuery(countryName), kLookupStatementLimit);
    database.scalarQuery(code, kCountryCodeCapacity);
    return code;
}

std::u16string composeSearchStatement(const SearchCriteria& criteria, std::u16string_view countryCode) {
    std::u16string connector;
    std::u16string statement;
    if (!hasCountry(criteria)) {
        statement = u"SELECT * FROM talvino WHERE (";
    } else {
        statement =
            formatSql(u"SELECT * FROM talvino WHERE ((Land = '%s')", {doubledApostrophes(countryCode)});
        connector = u"AND";
    }

    std::u16string colours;
    const bool anyColour = composeGroup({{criteria.red, u"%s (Rot > 0)", nullptr},
                                         {criteria.white, u"%s (Weiss > 0)", u"%s OR (Weiss > 0)"},
                                         {criteria.rose, u"%s (Rose > 0)", u"%s OR (Rose > 0)"},
                                         {criteria.brown, u"%s (Braun > 0)", u"%s OR (Braun > 0)"}},
                                        colours);
    std::u16string tastes;
    const bool anyTaste =
        composeGroup({{criteria.dry, u"%s (Trocken > 0)", nullptr},
                      {criteria.mediumSweet, u"%s (Lieblich > 0)", u"%s OR (Lieblich > 0)"},
                      {criteria.sweet, u"%s (Suess > 0)", u"%s OR (Suess > 0)"},
                      {criteria.sparkling, u"%s (Schaeumend > 0)", u"%s OR (Schaeumend > 0)"}},
                     tastes);

    if (!criteria.searchTerm.empty()) {
        const std::u16string plain = lowerCasedText(criteria.searchTerm);
        const std::u16string plainLiteral = doubledApostrophes(plain);
        if (criteria.fullText) {
            statement = formatSql(
                u"%s %s ((Stichwort_Klein LIKE '*%s*') OR ([Text_Klein] like '*%s*') OR "
                u"([Regio_Lang] like '*%s*'))) ",
                {statement, connector, plainLiteral, doubledApostrophes(encoded(plain)), plainLiteral});
        } else {
            statement =
                formatSql(u"%s %s ((Stichwort_Klein LIKE '*%s*'))) ", {statement, connector, plainLiteral});
        }
        // The term's three parentheses closed the WHERE's; whatever follows opens a new group.
        connector = u"AND (";
    }

    if (criteria.regionName.size() >= 3) {
        statement = formatSql(u"%s %s (Regio_Lang LIKE '*%s*')",
                              {statement, connector, doubledApostrophes(criteria.regionName)});
        connector = u"AND";
    }

    std::u16string quality;
    const int level = criteria.qualityLevel;
    if (level != 0) {
        const std::u16string plainClass = decimalText(level);
        const std::u16string goodClass = decimalText(level + 4);
        if (criteria.especiallyGood)
            quality = formatSql(u"((Qualitaet1 <= %i) AND (Qualitaet2 >= %i))", {goodClass, goodClass});
        else
            quality = formatSql(u"( (((Qualitaet1 = %i) OR (Qualitaet2 = %i)) OR ((Qualitaet1 = %i) OR "
                                u"(Qualitaet2 = %i))))",
                                {plainClass, plainClass, goodClass, goodClass});
    }

    if (anyColour) {
        statement = formatSql(u"%s %s (%s)", {statement, connector, colours});
        connector = u"AND";
    }
    if (anyTaste) {
        statement = formatSql(u"%s %s (%s)", {statement, connector, tastes});
        connector = u"AND";
    }
    if (!quality.empty()) {
        statement = formatSql(u"%s %s  (%s)", {statement, connector, quality});
        connector = u"AND";
    }

    if (connector == u"AND (")
        statement = formatSql(u"%s ORDER by STICHWORT", {statement});
    else
        statement = formatSql(u"%s) ORDER by STICHWORT", {statement});
    return statement;
}

void buildSearchStatement(const SearchCriteria& criteria, Database& database) {
    const std::u16string countryCode =
        hasCountry(criteria) ? lookUpCountryCode(database, criteria.countryName) : std::u16string(u"\n");
    copySqlToBuffer(database.queryBuffer, composeSearchStatement(criteria, countryCode),
                    Database::kQueryBufferChars - 1);
}
