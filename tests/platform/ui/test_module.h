// A module of test templates with one control of every class, and a dialog procedure that
// tests program with a handler.
#pragma once

#include <functional>
#include <vector>

#include "platform/win32.h"

namespace uitest {

enum Template {
    kAllControls = 900, // one control of every class, Tahoma 8
    kSimple = 901,      // caption "Einfach", button IDOK "OK", static 100
    kThermometer = 902, // a 39 x 138 unit bitmap static (58 x 225 bitmap) and a text static
    kSecond = 903,      // caption "Zweiter", button 200 "Weiter"
    kLargeFont = 904,   // Tahoma 16, 77 x 91 units, controls down to 88 units
    kLabelled = 905,    // controls without text, their labels beside, above or after them in order
};

enum Control {
    kLeftText = 100,
    kCentreText = 101,
    kRightText = 102,
    kNotifyText = 103,
    kSmallBitmap = 104,
    kPush = 110,
    kCheck = 111,
    kOwnerDraw = 112,
    kEdit = 120,
    kMultiEdit = 121,
    kList = 130,
    kSortedList = 131,
    kNoSelList = 132,
    kCombo = 140,
    kSortedCombo = 141,
    kScroll = 150,
    kTree = 160,
    kTabs = 170,
    kThermometerBitmap = 1054,
    kHeading = 1055,
    kNext = 200,
    kGroup = 201,
    kLowestLink = 1025,
    // kLabelled
    kTermLabel = 300,
    kTermEdit = 301,
    kListLabel = 302,
    kLabelledList = 303,
    kBarLabel = 304,
    kLabelledBar = 305,
    kGoodBox = 306,
    kGoodLabel = 307,
    kRowPicture = 308,
    kRowLink = 309,
    kPanel = 310,
    kLonelyLink = 311,
    kReadingList = 312,
};

enum Bitmap { kTallBitmap = 500, kSmallBitmapId = 501 };

HINSTANCE module();
const DLGTEMPLATE* dialogTemplate(int id);

using Handler = std::function<INT_PTR(HWND, UINT, WPARAM, LPARAM)>;
void setHandler(Handler handler); // empty: every message returns 0
INT_PTR TestProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);

// Every message the procedure saw, in order, with its dialog's template id.
struct Seen {
    int templateId;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<Seen>& seen();

} // namespace uitest
