// Synthetic catalogues for benchmarks and scale tests: real countries, regions and grapes,
// invented estates, German descriptions of realistic length.
#include <random>

#include "tools/catalogue/verifier.h"

namespace catalogue {

namespace {

struct CountryPlan {
    const char16_t* code;
    const char16_t* name;
    int weight; // share of entries in per mille
    std::vector<const char16_t*> regions;
};

const std::vector<CountryPlan>& plans() {
    static const std::vector<CountryPlan> all = {
        {u"F",
         u"Frankreich",
         260,
         {u"Champagne", u"Elsass", u"Burgund Chablis", u"Burgund Côte de Nuits", u"Beaujolais", u"Rhône Nord",
          u"Rhône Süd", u"Languedoc", u"Bordeaux Médoc", u"Bordeaux Saint-Émilion", u"Loire Sancerre"}},
        {u"I",
         u"Italien",
         180,
         {u"Piemont", u"Südtirol", u"Venetien", u"Toskana", u"Chianti Classico", u"Montalcino", u"Abruzzen",
          u"Sizilien"}},
        {u"D",
         u"Deutschland",
         150,
         {u"Mosel", u"Rheingau", u"Rheinhessen", u"Pfalz", u"Nahe", u"Franken", u"Baden", u"Württemberg",
          u"Ahr"}},
        {u"E",
         u"Spanien",
         100,
         {u"Rioja", u"Ribera del Duero", u"Priorat", u"Rías Baixas", u"Jerez", u"Toro"}},
        {u"A", u"Österreich", 60, {u"Wachau", u"Kamptal", u"Kremstal", u"Burgenland", u"Südsteiermark"}},
        {u"P", u"Portugal", 50, {u"Douro", u"Vinho Verde", u"Dão", u"Alentejo", u"Madeira"}},
        {u"CH", u"Schweiz", 20, {u"Wallis", u"Waadt", u"Tessin"}},
        {u"H", u"Ungarn", 20, {u"Tokaj", u"Villány", u"Eger"}},
        {u"GR", u"Griechenland", 15, {u"Santorini", u"Naoussa", u"Nemea"}},
        {u"ZA", u"Südafrika", 30, {u"Stellenbosch", u"Paarl", u"Swartland"}},
        {u"USA", u"USA", 45, {u"Napa Valley", u"Sonoma", u"Oregon", u"Washington"}},
        {u"RCH", u"Chile", 20, {u"Maipo", u"Colchagua", u"Casablanca"}},
        {u"RA", u"Argentinien", 15, {u"Mendoza", u"Salta"}},
        {u"AUS", u"Australien", 25, {u"Barossa Valley", u"McLaren Vale", u"Clare Valley", u"Margaret River"}},
        {u"NZ", u"Neuseeland", 10, {u"Marlborough", u"Central Otago", u"Martinborough"}},
    };
    return all;
}

const char16_t* const kRedGrapes[] = {u"Cabernet Sauvignon", u"Merlot",      u"Spätburgunder", u"Syrah",
                                      u"Grenache",           u"Tempranillo", u"Sangiovese",    u"Nebbiolo",
                                      u"Blaufränkisch",      u"Zweigelt",    u"Malbec",        u"Pinotage",
                                      u"Touriga Nacional",   u"Gamay"};
const char16_t* const kWhiteGrapes[] = {
    u"Riesling",     u"Chardonnay", u"Sauvignon Blanc", u"Grüner Veltliner", u"Silvaner", u"Weißburgunder",
    u"Chenin Blanc", u"Albariño",   u"Furmint",         u"Gewürztraminer",   u"Viognier", u"Assyrtiko"};
const char16_t* const kTypes[] = {u"Reserva",     u"Spätlese",  u"Kabinett", u"Grand Cru",
                                  u"Premier Cru", u"Classico",  u"Riserva",  u"Gutswein",
                                  u"Ortswein",    u"Lagenwein", u"Crianza",  u"Cuvée"};
const char16_t* const kFamilies[] = {u"Ebenhöh",    u"Kellerbach", u"Sonnleitner", u"Vaux Clairs",
                                     u"Valle Alto", u"Miradouro",  u"Rührlinger",  u"Brandtner",
                                     u"Lindqvist",  u"Maréchal",   u"Castellaro",  u"Oberhauser",
                                     u"Weidenfels", u"Quintela",   u"Hollerbrunn"};
const char16_t* const kEstateKinds[] = {u"Weingut", u"Domaine", u"Château", u"Bodegas",
                                        u"Tenuta",  u"Quinta",  u"Estate"};
const char16_t* const kWords[] = {
    u"kräftiger",     u"eleganter", u"fruchtiger", u"mineralischer", u"würziger", u"samtiger",
    u"Wein",          u"mit",       u"Noten",      u"von",           u"Kirsche",  u"Pflaume",
    u"grünem",        u"Apfel",     u"Pfirsich",   u"Zitrus",        u"Veilchen", u"Leder",
    u"Tabak",         u"Vanille",   u"Schiefer",   u"Feuerstein",    u"und",      u"feiner",
    u"Säure",         u"Gerbstoff", u"langem",     u"Abgang",        u"passt",    u"zu",
    u"Wild",          u"Käse",      u"Fisch",      u"Geflügel",      u"jung",     u"getrunken",
    u"reift",         u"gut",       u"im",         u"Holzfass",      u"aus",      u"alten",
    u"Reben",         u"steilen",   u"Lagen",      u"über",          u"dem",      u"Fluss",
    u"großer",        u"Jahrgang",  u"süße",       u"Frucht",        u"Würze",    u"Öl",
    u"Brioche",       u"Honig",     u"Nüsse",      u"Karamell",      u"Rosen",    u"Erdbeere",
    u"Johannisbeere", u"Zeder",     u"Kräuter",
};
// About one description in a hundred names it: a search term with about 1,000 hits in 100,000.
constexpr const char16_t* kRareWord = u"Quittengelee";

} // namespace

Content synthContent(int entries, unsigned seed) {
    std::mt19937 random(seed);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    auto chance = [&](int perMille) { return pick(1000) < perMille; };

    Content content;
    int regionId = 1;
    std::vector<std::vector<std::u16string>> regionNames;
    std::vector<int> cumulative;
    int total = 0;
    for (const CountryPlan& plan : plans()) {
        content.countries.push_back({plan.code, plan.name});
        regionNames.emplace_back();
        for (const char16_t* region : plan.regions) {
            content.regions.push_back({regionId++, plan.code, region});
            regionNames.back().push_back(region);
        }
        total += plan.weight;
        cumulative.push_back(total);
    }
    int grapeId = 1;
    for (const char16_t* g : kRedGrapes)
        content.grapes.push_back(
            {grapeId++, g, 1, std::u16string(u"Rote Sorte ") + g + u", fest und fruchtig."});
    for (const char16_t* g : kWhiteGrapes)
        content.grapes.push_back(
            {grapeId++, g, 2, std::u16string(u"Weiße Sorte ") + g + u", frisch und duftig."});

    content.entries.reserve(static_cast<std::size_t>(entries));
    for (int i = 1; i <= entries; ++i) {
        const int draw = pick(total);
        std::size_t c = 0;
        while (cumulative[c] <= draw)
            ++c;
        const CountryPlan& plan = plans()[c];
        Entry e;
        e.id = i;
        e.country = plan.code;
        e.region = regionNames[c][static_cast<std::size_t>(pick(static_cast<int>(regionNames[c].size())))];

        const int colour = pick(1000);
        if (colour < 500)
            e.red = 1;
        else if (colour < 880)
            e.white = 1;
        else if (colour < 940)
            e.rose = 1;
        else if (colour < 970)
            e.brown = 1;
        else
            e.red = e.white = 1;
        const bool red = e.red || e.rose || e.brown;
        const char16_t* grape =
            red ? kRedGrapes[pick(std::size(kRedGrapes))] : kWhiteGrapes[pick(std::size(kWhiteGrapes))];
        e.keyword = e.region + u" " + grape + u" " + kTypes[pick(std::size(kTypes))];
        e.name = chance(5) ? OptionalText() : OptionalText(e.keyword);
        e.suffix = std::u16string(kEstateKinds[pick(std::size(kEstateKinds))]) + u" " +
                   kFamilies[pick(std::size(kFamilies))];

        const int taste = pick(1000);
        if (taste < 780)
            e.dry = 1;
        else if (taste < 880)
            e.mediumSweet = 1;
        else
            e.sweet = 1;
        if (chance(50)) e.sparkling = 1;

        const int level = 1 + pick(4);
        e.quality1 = chance(150) ? level + 4 : level;
        e.quality2 = chance(700) ? e.quality1 : std::min(8, e.quality1 + 1 + pick(3));
        if (chance(30)) e.quality1 = e.quality2 = 0;

        const int categories = pick(4);
        for (int k = 0; k < categories; ++k) {
            std::vector<int> years;
            const int n = 1 + pick(4);
            for (int y = 0; y < n; ++y)
                years.push_back(1985 + pick(21));
            e.vintages[static_cast<std::size_t>(
                plan.code == std::u16string(u"D") ? 12 + pick(3) : pick(12))] = vintageText(years);
        }
        e.drinkSoon = chance(100) ? 1 : 0;
        e.noVintage = e.brown && chance(500) ? 1 : 0;

        if (!chance(20)) {
            // 80 to 600 characters, most around 250.
            const int target = 80 + pick(260) + pick(260);
            std::u16string text = std::u16string(grape) + u" aus " + e.region + u":";
            while (static_cast<int>(text.size()) < target) {
                text += u" ";
                text += kWords[pick(std::size(kWords))];
            }
            if (chance(10)) text += std::u16string(u" mit einem Hauch ") + kRareWord;
            text += u".";
            e.description = text;
        }
        content.entries.push_back(std::move(e));
    }
    return content;
}

} // namespace catalogue
