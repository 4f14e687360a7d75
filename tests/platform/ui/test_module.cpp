// The test templates and bitmaps.
#include "tests/platform/ui/test_module.h"

#include <cstring>
#include <string>

#include "platform/ui/hooks.h"

namespace uitest {
namespace {

constexpr DWORD V = WS_VISIBLE;
constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT;

// A complete .bmp file: 24 bits per pixel, bottom-up rows padded to four bytes.
std::vector<unsigned char> makeBitmap(int width, int height, COLORREF top, COLORREF bottom) {
    const int stride = (width * 3 + 3) & ~3;
    const int size = 54 + stride * height;
    std::vector<unsigned char> data(static_cast<std::size_t>(size), 0);
    auto put32 = [&](int at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            data[static_cast<std::size_t>(at + i)] = static_cast<unsigned char>(v >> (8 * i));
    };
    auto put16 = [&](int at, std::uint16_t v) {
        data[static_cast<std::size_t>(at)] = static_cast<unsigned char>(v);
        data[static_cast<std::size_t>(at + 1)] = static_cast<unsigned char>(v >> 8);
    };
    data[0] = 'B';
    data[1] = 'M';
    put32(2, static_cast<std::uint32_t>(size));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(width));
    put32(22, static_cast<std::uint32_t>(height));
    put16(26, 1);
    put16(28, 24);
    put32(34, static_cast<std::uint32_t>(stride * height));
    for (int row = 0; row < height; ++row) {
        const int y = height - 1 - row; // bottom-up
        const COLORREF c = y < height / 2 ? top : bottom;
        for (int x = 0; x < width; ++x) {
            const std::size_t at = static_cast<std::size_t>(54 + row * stride + x * 3);
            data[at] = GetBValue(c);
            data[at + 1] = GetGValue(c);
            data[at + 2] = GetRValue(c);
        }
    }
    return data;
}

const std::vector<unsigned char> tall = makeBitmap(58, 225, RGB(200, 0, 0), RGB(0, 0, 200));
const std::vector<unsigned char> small = makeBitmap(20, 20, RGB(0, 160, 0), RGB(0, 160, 0));

const BitmapResource bitmaps[] = {
    {kTallBitmap, tall.data(), tall.size()},
    {kSmallBitmapId, small.data(), small.size()},
};

const DLGITEMTEMPLATE allItems[] = {
    {kLeftText, u"STATIC", u"Links", 0, V | SS_LEFT, 0, 2, 2, 48, 8},
    {kCentreText, u"STATIC", u"Mitte", 0, V | SS_CENTER | WS_BORDER, 0, 52, 2, 50, 9},
    {kRightText, u"STATIC", u"Rechts", 0, V | SS_RIGHT, 0, 104, 2, 50, 8},
    {kNotifyText, u"STATIC", u"Tippen", 0, V | SS_NOTIFY, 0, 2, 12, 48, 8},
    {kSmallBitmap, u"STATIC", nullptr, kSmallBitmapId, V | SS_BITMAP | SS_NOTIFY, WS_EX_STATICEDGE, 52, 12,
     30, 30},
    {kOwnerDraw, u"BUTTON", nullptr, 0, V | BS_OWNERDRAW | WS_TABSTOP, 0, 104, 12, 50, 14},
    {kPush, u"BUTTON", u"Drücken", 0, V | BS_PUSHBUTTON | WS_TABSTOP, 0, 2, 28, 46, 12},
    {kCheck, u"BUTTON", u"Wählen", 0, V | BS_AUTOCHECKBOX | WS_TABSTOP, 0, 104, 28, 50, 10},
    {kEdit, u"EDIT", nullptr, 0, V | ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 0, 2, 42, 74, 12},
    {kCombo, u"COMBOBOX", nullptr, 0, V | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, 80, 42, 74, 60},
    {kMultiEdit, u"EDIT", nullptr, 0, V | ES_MULTILINE | WS_VSCROLL | WS_BORDER, 0, 2, 56, 74, 30},
    {kSortedCombo, u"COMBOBOX", nullptr, 0, V | CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL, 0, 80, 58, 74, 60},
    {kList, u"LISTBOX", nullptr, 0, V | LBS_NOTIFY | WS_VSCROLL | WS_BORDER, 0, 2, 88, 37, 30},
    {kSortedList, u"LISTBOX", nullptr, 0, V | LBS_SORT | LBS_NOTIFY | WS_BORDER, 0, 40, 88, 36, 30},
    {kNoSelList, u"LISTBOX", nullptr, 0, V | LBS_NOSEL | WS_BORDER, 0, 80, 120, 74, 14},
    {kScroll, u"SCROLLBAR", nullptr, 0, V | SBS_HORZ, 0, 2, 122, 74, 10},
    {kTree, u"SysTreeView32", nullptr, 0,
     V | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | WS_BORDER, 0, 80, 74, 74, 44},
    {kTabs, u"SysTabControl32", nullptr, 0, V | TCS_BOTTOM | TCS_RAGGEDRIGHT, 0, 2, 136, 152, 12},
};
const DLGTEMPLATE allControls = {kAllControls,
                                 kDialogStyle,
                                 u"Alle Steuerelemente",
                                 u"Tahoma",
                                 8,
                                 157,
                                 157,
                                 allItems,
                                 static_cast<int>(sizeof(allItems) / sizeof(allItems[0]))};

const DLGITEMTEMPLATE simpleItems[] = {
    {IDOK, u"BUTTON", u"OK", 0, V | BS_PUSHBUTTON | WS_TABSTOP, 0, 4, 40, 40, 14},
    {100, u"STATIC", u"Text", 0, V | SS_LEFT, 0, 4, 4, 80, 8},
};
const DLGTEMPLATE simple = {kSimple, kDialogStyle, u"Einfach", u"MS Sans Serif", 8, 100, 60, simpleItems, 2};

const DLGITEMTEMPLATE thermometerItems[] = {
    {kThermometerBitmap, u"STATIC", nullptr, kTallBitmap, V | SS_BITMAP | SS_NOTIFY, 0, 6, 6, 39, 138},
    {kHeading, u"STATIC", u"Die richtige Temperatur", 0, V | SS_CENTER, 0, 48, 0, 108, 25},
};
const DLGTEMPLATE thermometer = {kThermometer, kDialogStyle, u"Thermometer",   u"Tahoma", 8,
                                 157,          157,          thermometerItems, 2};

const DLGITEMTEMPLATE secondItems[] = {
    {kGroup, u"BUTTON", u"Gruppe", 0, V | BS_GROUPBOX, 0, 2, 30, 100, 40},
    {kNext, u"BUTTON", u"Weiter", 0, V | BS_PUSHBUTTON | WS_TABSTOP, 0, 4, 4, 50, 14},
};
const DLGTEMPLATE second = {kSecond, kDialogStyle, u"Zweiter", u"Tahoma", 8, 157, 157, secondItems, 2};

const DLGITEMTEMPLATE largeItems[] = {
    {1000, u"STATIC", u"Titel", 0, V | SS_LEFT, 0, 2, 1, 71, 8},
    {1007, u"STATIC", u"Weine von A - Z", 0, V | SS_LEFT | SS_NOTIFY, 0, 25, 14, 50, 8},
    {1023, u"STATIC", u"Impressum", 0, V | SS_LEFT | SS_NOTIFY, 0, 21, 80, 18, 8},
    {kLowestLink, u"STATIC", u"Hilfe", 0, V | SS_LEFT | SS_NOTIFY, 0, 64, 80, 11, 8},
    {1006, u"BUTTON", nullptr, 0, V | BS_OWNERDRAW, 0, 0, 10, 75, 17},
};
const DLGTEMPLATE large = {kLargeFont, kDialogStyle, u"Groß", u"Tahoma", 16, 77, 91, largeItems, 5};

// Labels as the program's templates place them: often after their control in template order.
const DLGITEMTEMPLATE labelledItems[] = {
    {kTermEdit, u"EDIT", nullptr, 0, V | ES_LEFT | WS_BORDER | WS_TABSTOP, 0, 57, 4, 97, 12},
    {kTermLabel, u"STATIC", u"Such&begriff:", 0, V | SS_RIGHT, 0, 4, 8, 46, 8},
    {kListLabel, u"STATIC", u"ROTWEIN:", 0, V | SS_LEFT, 0, 4, 22, 71, 8},
    {kLabelledList, u"LISTBOX", nullptr, 0, V | LBS_NOTIFY | WS_BORDER | WS_TABSTOP, 0, 3, 32, 76, 30},
    {kBarLabel, u"STATIC", u"Nach\n\rGüte:", 0, V | SS_LEFT, 0, 4, 70, 33, 16},
    {kLabelledBar, u"SCROLLBAR", nullptr, 0, V | SBS_HORZ, 0, 39, 72, 69, 8},
    {kGoodLabel, u"STATIC", u"bes.gut", 0, V | SS_LEFT, 0, 127, 88, 25, 8},
    {kGoodBox, u"BUTTON", u"", 0, V | BS_AUTOCHECKBOX | WS_TABSTOP, 0, 113, 88, 10, 10},
    {kPanel, u"BUTTON", u"", 0, V | BS_OWNERDRAW, 0, 4, 66, 150, 36},
    {kRowPicture, u"STATIC", nullptr, kSmallBitmapId, V | SS_BITMAP | SS_NOTIFY, 0, 2, 106, 21, 17},
    {kRowLink, u"STATIC", u"Rebsorten", 0, V | SS_LEFT | SS_NOTIFY, 0, 25, 110, 50, 8},
    {kLonelyLink, u"STATIC", u"Hilfe", 0, V | SS_LEFT | SS_NOTIFY, 0, 90, 110, 20, 8},
    {kReadingList, u"LISTBOX", nullptr, 0, V | LBS_NOSEL | WS_VSCROLL | WS_BORDER | WS_TABSTOP, 0, 2, 126, 150, 24},
};
const DLGTEMPLATE labelled = {kLabelled, kDialogStyle, u"Beschriftet", u"Tahoma", 8, 157, 157, labelledItems,
                              static_cast<int>(sizeof(labelledItems) / sizeof(labelledItems[0]))};

const DLGTEMPLATE* const dialogs[] = {&allControls, &simple, &thermometer, &second, &large, &labelled};

const HINSTANCE__ instance = {dialogs, 6, bitmaps, 2, nullptr, 0};

Handler handler;

} // namespace

HINSTANCE module() {
    return &instance;
}

const DLGTEMPLATE* dialogTemplate(int id) {
    for (const DLGTEMPLATE* d : dialogs)
        if (d->id == id) return d;
    return nullptr;
}

void setHandler(Handler h) {
    handler = std::move(h);
}

std::vector<Seen>& seen() {
    static std::vector<Seen> all;
    return all;
}

INT_PTR TestProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    seen().push_back(Seen{platform::dialogTemplateId(dialog), msg, wParam, lParam});
    if (handler) {
        auto h = handler;
        return h(dialog, msg, wParam, lParam);
    }
    return 0;
}

} // namespace uitest
