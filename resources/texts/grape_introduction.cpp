// The introduction of the grape varieties screen, one list item per line. The list neither wraps
// nor scrolls sideways, so each line is broken to the list's visible width in the device font
// (about 200 pixels, some 30 to 35 characters of prose).
#include "resources/resources.h"

namespace {

const char16_t* const introductionLines[] = {
    u"In den vergangenen zwei Jahrzehnten",
    u"vollzog sich allenthalben ein grundlegender",
    u"Wandel in der Art, wie man Weine",
    u"benennt und verkauft. Auf immer",
    u"mehr Etiketten steht heute zuerst",
    u"der Name der Rebsorte, aus der",
    u"ein Wein gekeltert wurde. Für viele",
    u"Weinfreunde ist die Sorte zum",
    u"wichtigsten Wegweiser geworden:",
    u"Wer Chardonnay mag, greift zum",
    u"nächsten Chardonnay, ob er aus",
    u"Kalifornien, Chile oder Australien",
    u"kommt. Den Anstoß gaben die",
    u"Winzer der Neuen Welt. Sie setzten",
    u"die großen Sorten Europas in neue",
    u"Böden und nannten ihre Weine",
    u"nach der Traube. So wusste jeder",
    u"Käufer, was ihn erwartete, auch",
    u"ohne die Karte eines fernen",
    u"Weinbaugebiets zu kennen.",
    u"In den alten Weinländern war es",
    u"lange anders. Dort bestimmt die",
    u"Herkunft den Namen: Ein Bordeaux,",
    u"ein Chablis, Barolo oder Rioja",
    u"verrät oft nicht, aus welchen",
    u"Trauben er gekeltert ist. Wer ihn",
    u"verstehen will, muss wissen, was",
    u"in welcher Gegend wächst und was",
    u"Boden, Klima und Überlieferung",
    u"daraus machen. Dort gilt der Ort",
    u"mehr als die Rebe, die auf ihm steht.",
    u"Heute nähern sich beide Welten an:",
    u"In Frankreich, Italien und Spanien",
    u"tragen viele Landweine den Namen",
    u"der Sorte, und die Neue Welt",
    u"beginnt, ihre Lagen zu schützen.",
    u"In Deutschland und Österreich",
    u"stehen seit jeher beide Angaben",
    u"auf dem Etikett. Einige wenige",
    u"Rebsorten werden heute in aller",
    u"Welt angebaut und gelten als eigene",
    u"Kategorien: Cabernet Sauvignon,",
    u"Merlot, Pinot Noir, Syrah, Grenache,",
    u"Chardonnay, Sauvignon Blanc,",
    u"Riesling, Gewürztraminer, Nebbiolo,",
    u"Sangiovese, Tempranillo",
};

} // namespace

extern const TextRows kGrapeIntroductionLines = {
    introductionLines, static_cast<int>(sizeof introductionLines / sizeof introductionLines[0])};
