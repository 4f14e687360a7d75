#include "chapters/temperature_layout.h"

namespace temperature {

const char16_t* const kWineKinds[kWineKindCount] = {
    u"",
    u"Alltagsrotweine",
    u"Beaujolais",
    u"Bordeaux",
    u"Burgunder (rot)",
    u"Burgunder (weiss)",
    u"Champagner",
    u"Chianti",
    u"Côtes du Rhône",
    u"Fino Sherry",
    u"Lambrusco",
    u"Madeira",
    u"Rosé",
    u"Rotweine, beste",
    u"Rotweine, leicht",
    u"Schaumweine",
    u"Sherry",
    u"Weißweine, süß",
    u"Weißwein, trocken",
    u"Weißburgunder",
    u"Zinnfandel",
};

int stringIdForLevel(int level) {
    switch (level) {
    case 18:
        return 9;
    case 17:
        return 8;
    case 16:
        return 7;
    case 15:
        return 10;
    case 14:
        return 6;
    case 13:
        return 11;
    case 12:
        return 12;
    case 11:
        return 5;
    case 10:
        return 13;
    case 9:
        return 4;
    case 8:
        return 14;
    case 7:
        return 3;
    case 6:
    case 5:
    case 4:
        return 15;
    default:
        return 1;
    }
}

ScrollLayout scrollLayout(int t, int paperHeight, int bottomRollHeight) {
    ScrollLayout layout{};
    layout.paperSourceTop = 100 - 2 * t;
    layout.paperTop = 115 - t;
    layout.paperRows = paperHeight > layout.paperSourceTop ? paperHeight - layout.paperSourceTop : 0;
    layout.topRollTop = 94 - t;
    layout.bottomRollTop = 114 + bottomRollHeight + t;
    return layout;
}

int textBottom(int t) {
    // Single precision on purpose: at T = 50 the double product lands just below 183.
    const float tenth = static_cast<float>(t) * 0.02f * 5.0f;
    return static_cast<int>(tenth + static_cast<float>(t + 128));
}

RECT textRect(int t) {
    return RECT{90, 120 - t, 225, textBottom(t)};
}

RECT upperWipe(int t) {
    return RECT{75, 74 - t, 231, 94 - t};
}

RECT lowerWipe(int t) {
    return RECT{75, 162 + t, 231, 172 + t};
}

} // namespace temperature
