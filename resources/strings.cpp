// The string table: the texts of the serving temperature chapter. "\n" and "\n\r" are line breaks
// as the chapter draws them; the two forms stand exactly as the texts were written.
#include "platform/ui/win_types.h"

extern const StringResource kStringResources[] = {
    {1, u"Tippen Sie auf die\n\reinzelnen Bereiche des\n\rThermometers und Ihnen\n\rwerden die entsprechenden\n\r"
        u"Weine angezeigt.\n\rSie können auch einen\n\rWein aus der Liste unterhalb\n\rauswählen."},
    {3, u"Kühlschranktemperatur\n7°C-10°C\nFino Sherry, Tokaji Aszù,\n Trockener Weißwein,\n Champagner\n3°C-7°C\n"
        u"Süße Weißweine,\n Schaumweine"},
    {4, u"8°C-11°C\n\rRosé, Lambrusco\n\r\n\r7°C-10°C\n\rFino Sherry, Tokaji Aszù,\n\r Trockener Weißwein,\n\r "
        u"Champagner"},
    {5, u"Ideale Kellertemperatur\n\r11°C-13°C\n\rLeichte Rotweine,\n\r z.B. Beaujolais\n\r10°C-11°C\n\rSherry\n\r"
        u"8°C-11°C\n\rRosé, Lambrusco"},
    {6, u"14°C-16°C\n\rChianti, Zinfandel,\n\r Côtes du Rhône\n\r14°C-15°C\n\rBester weißer Burgunder,\n\r Port, "
        u"Madeira\n\r13°C-14°C\n\rAlltagsrotweine"},
    {7, u"16°C-18°C\n\rBeste Rotweine\n\rbesonders Bordeaux\n\r16°C-17°C\n\rRoter Burgunder\n\r14°C-16°C\n\r"
        u"Chianti, Zinfandel,\n\r Côtes du Rhône"},
    {8, u"16°C-18°C\nBeste Rotweine\nbesonders Bordeaux\n\n16°C-17°C\nRoter Burgunder"},
    {9, u"Zimmertemperatur\n\n16°C-18°C\nBeste Rotweine\nbesonders Bordeaux"},
    {10, u"14°C-16°C\n\rChianti, Zinfandel,\n\r Côtes du Rhône\n\r\n\r14°C-15°C\n\rBester weißer Burgunder,\n\r "
         u"Port, Madeira"},
    {11, u"13°C-14°C\n\rAlltagsrotweine\n\r\n\r11°C-13°C\n\rLeichte Rotweine,\n\r z.B. Beaujolais"},
    {12, u"11°C-13°C\n\rLeichte Rotweine,\n\r z.B. Beaujolais"},
    {13, u"10°C-11°C\nSherry\n8°C-11°C\nRosé, Lambrusco\n7°C-10°C\nFino Sherry, Tokaji Aszù,\n\r Trockener "
         u"Weißwein,\n\r Champagner"},
    {14, u"8°C-11°C\nRosé, Lambrusco\n\r\n\r7°C-10°C\nFino Sherry,\n Tokaji Aszù,\n Trockener Weißwein,\n Champagner"},
    {15, u"3°C-7°C\nSüße Weißweine,\n Schaumweine"},
};
extern const int kStringResourceCount = static_cast<int>(sizeof(kStringResources) / sizeof(kStringResources[0]));
