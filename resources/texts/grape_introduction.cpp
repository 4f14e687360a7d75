// The introduction of the grape varieties screen, one list item per line, broken so that every
// line fits the narrow list without a horizontal scroll bar.
#include "resources/resources.h"

namespace {

const char16_t* const introductionLines[] = {
    u"In den vergangenen zwei Jahrzehnten",
    u"vollzog sich allenthalben ein grundlegender",
    u"Wandel in der Art, wie Weine benannt und",
    u"verkauft werden. Auf immer mehr Etiketten",
    u"steht heute an erster Stelle der Name der",
    u"Rebsorte, aus der ein Wein gekeltert wurde.",
    u"Für viele Weinfreunde ist die Sorte zum",
    u"wichtigsten Wegweiser beim Einkauf",
    u"geworden: Wer einen Chardonnay mag, greift",
    u"zum nächsten Chardonnay, gleich ob er aus",
    u"Kalifornien, Chile oder Australien kommt.",
    u"Den Anstoß gaben die Winzer der Neuen",
    u"Welt. Sie pflanzten die berühmten Sorten",
    u"Europas in fremde Böden und nannten ihre",
    u"Weine schlicht nach der Traube. So wusste",
    u"jeder Käufer auf einen Blick, was ihn in",
    u"der Flasche erwartete, auch ohne die Karte",
    u"eines fernen Weinbaugebiets zu kennen.",
    u"In den alten Weinländern Europas war es",
    u"lange anders. Dort bestimmt die Herkunft",
    u"den Namen: Ein Bordeaux, ein Chablis,",
    u"ein Barolo oder ein Rioja verrät auf dem",
    u"Etikett oft nicht, aus welchen Trauben er",
    u"gekeltert ist. Wer ihn verstehen will,",
    u"muss wissen, welche Sorten in welcher",
    u"Gegend wachsen und was Boden, Klima und",
    u"Überlieferung daraus machen. Der Ort gilt",
    u"dort mehr als die Rebe, die auf ihm steht.",
    u"Inzwischen nähern sich beide Welten",
    u"einander an. Auch in Frankreich, Italien",
    u"und Spanien tragen viele Landweine den",
    u"Sortennamen, während die Neue Welt ihre",
    u"besten Lagen zu schützen beginnt. In",
    u"Deutschland und Österreich stehen seit",
    u"jeher beide Angaben auf dem Etikett.",
    u"Aus der großen Zahl der Rebsorten haben",
    u"sich einige wenige zu internationalen",
    u"Kategorien entwickelt, die man in aller",
    u"Welt anbaut und unter ihrem Namen kennt:",
    u"Cabernet Sauvignon, Merlot, Pinot Noir,",
    u"Syrah oder Shiraz, Grenache, Malbec,",
    u"Zinfandel, Chardonnay, Sauvignon Blanc,",
    u"Riesling, Chenin Blanc, Sémillon,",
    u"Viognier, Pinot Grigio, Gewürztraminer,",
    u"Muskateller, Nebbiolo, Barbera,",
    u"Sangiovese, Tempranillo",
};

} // namespace

extern const TextRows kGrapeIntroductionLines = {
    introductionLines, static_cast<int>(sizeof introductionLines / sizeof introductionLines[0])};
