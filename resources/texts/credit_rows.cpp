// The credit rows: publisher, book editions, developer and the people behind the guide.
// The list neither wraps nor scrolls sideways, so every row stays within the list's visible width
// in the device font (about 200 pixels); the longest row has 40 characters.
#include "resources/resources.h"

namespace {

const char16_t* const creditRows[] = {
    u"Eine Ausgabe von Kelterhaus Medien",
    u"Kelterhaus Medien GmbH & Co. KG",
    u"Am Kelterplatz 7",
    u"55128 Mainz",
    u" ",
    u"Englische Buchausgabe: © 2005 ",
    u"Ashcombe & Reed Books Ltd., Bristol",
    u"Deutsche Übersetzung: © 2006 ",
    u"Verlag Lindenhof & Söhne, Stuttgart; ",
    u"übersetzt von Liesl Ottweiler, Till Reif",
    u" ",
    u"Programmierung",
    u"Nordlicht Mobilsoft GmbH",
    u"Kaispeicherweg 19",
    u"20457 Hamburg",
    u" ",
    u"Konzept:",
    u"Henrike Wallentin",
    u"Matthis Obergrell",
    u" ",
    u"Projektleitung Kelterhaus Medien:",
    u"Cordula Rennefarth",
    u" ",
    u"Programmierung:",
    u"Tobias Quernheim, Lale Sturmfeder",
    u" ",
    u"Grafiken:",
    u"Ilka Morgenroth",
};

} // namespace

extern const TextRows kCreditRows = {creditRows, static_cast<int>(sizeof creditRows / sizeof creditRows[0])};
