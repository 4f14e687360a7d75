// The dialog templates of the program's screens: captions, fonts, sizes and controls in
// template order (the first control lies on top), rectangles in dialog units.
#include "platform/ui/windows.h"
#include "resources/dialog_ids.h"

namespace {

constexpr DWORD kScreenStyle = WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT;
constexpr DWORD kVisible = WS_VISIBLE;
constexpr DWORD kLinkStyle = kVisible | SS_LEFT | SS_NOTIFY | WS_GROUP;
constexpr DWORD kMenuBitmapStyle = kVisible | SS_BITMAP | SS_NOTIFY | WS_BORDER;
constexpr DWORD kMenuButtonStyle = kVisible | BS_OWNERDRAW | WS_TABSTOP;
constexpr DWORD kCheckStyle = kVisible | BS_AUTOCHECKBOX | WS_TABSTOP;
constexpr DWORD kLabelStyle = kVisible | SS_LEFT;
constexpr DWORD kRightLabelStyle = kVisible | SS_RIGHT;

#define ITEMS(array) array, static_cast<int>(sizeof(array) / sizeof(array[0]))

const DLGITEMTEMPLATE mainMenuItems[] = {
    {1000, u"STATIC", u"TALVINO Weinführer", 0, kVisible | SS_LEFT | WS_GROUP | WS_TABSTOP, 0, 2, 1, 71, 8},
    {1005, u"STATIC", nullptr, 108, kMenuBitmapStyle, WS_EX_STATICEDGE, 2, 10, 21, 17},
    {1007, u"STATIC", u"Weine von A - Z", 0, kLinkStyle, 0, 25, 14, 50, 8},
    {1006, u"BUTTON", nullptr, 0, kMenuButtonStyle, 0, 0, 10, 75, 17},
    {1051, u"STATIC", nullptr, 106, kMenuBitmapStyle, WS_EX_STATICEDGE, 2, 27, 21, 18},
    {1052, u"STATIC", nullptr, 107, kMenuBitmapStyle, WS_EX_STATICEDGE, 2, 44, 21, 18},
    {1053, u"STATIC", nullptr, 105, kMenuBitmapStyle, WS_EX_STATICEDGE, 2, 61, 21, 18},
    {1008, u"STATIC", u"Rebsorten", 0, kLinkStyle, 0, 25, 30, 50, 8},
    {1009, u"STATIC", u"Die richtige Temperatur", 0, kLinkStyle, 0, 25, 48, 33, 13},
    {1010, u"STATIC", u"Lesezeichen", 0, kLinkStyle, 0, 25, 64, 50, 8},
    {1023, u"STATIC", u"Impressum", 0, kLinkStyle, 0, 21, 80, 18, 8},
    {1025, u"STATIC", u"Hilfe", 0, kLinkStyle, 0, 64, 80, 11, 8},
    {1048, u"BUTTON", nullptr, 0, kMenuButtonStyle, 0, 0, 27, 75, 17},
    {1049, u"BUTTON", nullptr, 0, kMenuButtonStyle, 0, 0, 44, 75, 17},
    {1050, u"BUTTON", nullptr, 0, kMenuButtonStyle, 0, 0, 61, 75, 17},
};
const DLGTEMPLATE mainMenu = {kMainMenuDialog, kScreenStyle, u"Talvino - Weinführer", u"Tahoma", 16, 77, 91,
                              ITEMS(mainMenuItems)};

const DLGITEMTEMPLATE searchFormItems[] = {
    {1075, u"STATIC", nullptr, 148, SS_BITMAP | WS_BORDER, 0, 27, 72, 107, 66},
    {1011, u"BUTTON", u"Suche starten", 0, kVisible | BS_PUSHBUTTON | WS_TABSTOP, 0, 4, 151, 58, 12},
    {1000, u"STATIC", u"Weine von A - Z", 0, kVisible | SS_CENTER, 0, 4, 0, 150, 12},
    {1010, u"STATIC", u"Volltext:", 0, SS_RIGHT, 0, 2, 13, 46, 8},
    {1078, u"BUTTON", u"Volltextsuche aktivieren", 0, kCheckStyle, 0, 57, 12, 96, 12},
    {1012, u"EDIT", nullptr, 0, kVisible | ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 0, 57, 24, 97, 12},
    {1007, u"STATIC", u"Suchbegriff:", 0, kRightLabelStyle, 0, 4, 28, 46, 8},
    {1008, u"STATIC", u"Land:", 0, kRightLabelStyle, 0, 4, 41, 46, 11},
    {1009, u"STATIC", u"Region:", 0, kRightLabelStyle, 0, 4, 54, 46, 9},
    {1013, u"COMBOBOX", nullptr, 0, kVisible | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, 57, 38, 97, 66},
    {1014, u"COMBOBOX", nullptr, 0, kVisible | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, 57, 52, 97, 80},
    {1015, u"BUTTON", u"Rot", 0, kCheckStyle, 0, 13, 71, 10, 10},
    {1016, u"BUTTON", u"Rosè", 0, kCheckStyle, 0, 47, 71, 10, 10},
    {1017, u"BUTTON", u"Weiß", 0, kCheckStyle, 0, 79, 71, 10, 10},
    {1018, u"BUTTON", u"Braun", 0, kCheckStyle, 0, 113, 71, 10, 10},
    {1037, u"BUTTON", u"Trocken", 0, kCheckStyle, 0, 29, 86, 10, 10},
    {1038, u"BUTTON", u"Süß", 0, kCheckStyle, 0, 29, 102, 10, 10},
    {1039, u"BUTTON", u"Lieblich", 0, kCheckStyle, 0, 95, 86, 10, 10},
    {1040, u"BUTTON", u"Schäumend", 0, kCheckStyle, 0, 95, 102, 10, 10},
    {1019, u"STATIC", u"Qualität:", 0, kLabelStyle, 0, 5, 126, 33, 8},
    {1029, u"STATIC", u"Rot", 0, kLabelStyle, 0, 27, 71, 25, 8},
    {1030, u"STATIC", u"Rosè", 0, kLabelStyle, 0, 59, 71, 25, 8},
    {1031, u"STATIC", u"Weiß", 0, kLabelStyle, 0, 93, 71, 25, 8},
    {1032, u"STATIC", u"Braun", 0, kLabelStyle, 0, 127, 71, 20, 8},
    {1041, u"STATIC", u"Trocken", 0, kLabelStyle, 0, 43, 86, 38, 8},
    {1042, u"STATIC", u"Lieblich", 0, kLabelStyle, 0, 109, 86, 38, 8},
    {1043, u"STATIC", u"Süß", 0, kLabelStyle, 0, 43, 102, 38, 8},
    {1044, u"STATIC", u"Schäumend", 0, kLabelStyle, 0, 109, 102, 38, 8},
    {1028, u"STATIC", u"bes.gut", 0, kLabelStyle, 0, 127, 127, 25, 8},
    {1021, u"SCROLLBAR", nullptr, 0, kVisible | SBS_HORZ, 0, 39, 124, 69, 8},
    {1022, u"BUTTON", u"", 0, kCheckStyle, 0, 113, 127, 10, 10},
    {1027, u"STATIC", u"kurz Beschreibung", 0, kRightLabelStyle | SS_NOPREFIX, 0, 10, 134, 98, 8},
    {1006, u"BUTTON", u"", 0, kVisible | BS_OWNERDRAW, 0, 4, 67, 150, 17},
    {1026, u"BUTTON", u"", 0, kVisible | BS_OWNERDRAW, 0, 4, 117, 150, 28},
    {1036, u"BUTTON", u"", 0, kVisible | BS_OWNERDRAW, 0, 4, 83, 150, 40},
};
const DLGTEMPLATE searchForm = {kSearchFormDialog, kScreenStyle | WS_SYSMENU, u"Talvino Weinsuche", u"Tahoma", 8,
                                155, 167, ITEMS(searchFormItems)};

constexpr DWORD kBookmarkEditStyle = ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
constexpr DWORD kTextAreaStyle = kVisible | ES_LEFT | ES_MULTILINE | WS_VSCROLL | WS_BORDER | WS_TABSTOP;
const DLGITEMTEMPLATE resultsItems[] = {
    {1064, u"EDIT", nullptr, 0, kBookmarkEditStyle, 0, 2, 67, 153, 12},
    {1065, u"EDIT", nullptr, 0, kBookmarkEditStyle, 0, 2, 81, 153, 46},
    {1067, u"BUTTON", u"Lesezeichen setzen", 0, BS_AUTOCHECKBOX | WS_TABSTOP, 0, 10, 128, 91, 10},
    {1066, u"BUTTON", u"Speichern", 0, BS_PUSHBUTTON | WS_TABSTOP, 0, 101, 128, 46, 11},
    {1001, u"SysTreeView32", nullptr, 0,
     kVisible | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP, 0, 2,
     2, 153, 54},
    {1034, u"EDIT", nullptr, 0, kTextAreaStyle, 0, 2, 66, 153, 75},
    {1035, u"EDIT", nullptr, 0, kTextAreaStyle, 0, 2, 67, 153, 74},
    {1002, u"SysTabControl32", nullptr, 0, kVisible | TCS_BOTTOM | TCS_RAGGEDRIGHT, 0, 2, 141, 153, 11},
    {1045, u"STATIC", nullptr, 0, kLabelStyle, 0, 2, 56, 153, 10},
};
const DLGTEMPLATE results = {kResultsDialog, kScreenStyle | WS_SYSMENU, u"Talvino - Suchergebnis", u"Tahoma", 8, 157,
                             159, ITEMS(resultsItems)};

const DLGITEMTEMPLATE grapesItems[] = {
    {1007, u"STATIC", u"ROTWEIN:", 0, kLabelStyle | WS_GROUP, 0, 4, 77, 71, 8},
    {1008, u"STATIC", u"WEISSWEIN", 0, kLabelStyle | WS_GROUP, 0, 81, 76, 74, 8},
    {1013, u"COMBOBOX", nullptr, 0, kVisible | CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_TABSTOP, 0, 3, 87, 76, 78},
    {1014, u"COMBOBOX", nullptr, 0, kVisible | CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_TABSTOP, 0, 81, 87, 76,
     78},
    {1047, u"EDIT", nullptr, 0, kVisible | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER | WS_TABSTOP, 0, 2,
     103, 155, 54},
    {1046, u"LISTBOX", nullptr, 0,
     kVisible | LBS_NOSEL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP, 0, 2, 20, 155, 53},
    {1080, u"STATIC", u"Rebsorten", 0, kVisible | SS_CENTER | WS_GROUP, 0, 0, 1, 157, 14},
};
const DLGTEMPLATE grapes = {kGrapesDialog, kScreenStyle | WS_SYSMENU, u"Rebsorten", u"Tahoma", 8, 157, 159,
                            ITEMS(grapesItems)};

const DLGITEMTEMPLATE temperatureItems[] = {
    {1056, u"STATIC", u"", 0, SS_LEFT, 0, 65, 47, 74, 76},
    {1072, u"STATIC", nullptr, 145, SS_BITMAP, 0, 49, 34, 107, 14},
    {1073, u"STATIC", nullptr, 146, SS_BITMAP, 0, 49, 48, 107, 76},
    {1074, u"STATIC", nullptr, 144, SS_BITMAP, 0, 49, 123, 107, 15},
    {1054, u"STATIC", nullptr, 131, kVisible | SS_BITMAP | SS_NOTIFY, 0, 6, 6, 39, 138},
    {1055, u"STATIC", u"Die richtige Temperatur", 0, kVisible | SS_CENTER, 0, 48, 0, 108, 25},
    {1005, u"COMBOBOX", nullptr, 0, kVisible | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, 87, 137, 69, 45},
    {1080, u"STATIC", u"Nach\n\rWeinsorte:", 0, kLabelStyle, 0, 51, 132, 40, 15},
};
const DLGTEMPLATE temperature = {kTemperatureDialog, kScreenStyle | WS_SYSMENU, u"Die richtige Temperatur",
                                 u"Tahoma", 8, 157, 157, ITEMS(temperatureItems)};

const DLGITEMTEMPLATE creditsItems[] = {
    {1057, u"STATIC", u"IMPRESSUM", 0, kVisible | SS_CENTER, 0, 0, 5, 157, 19},
    {1046, u"LISTBOX", nullptr, 0,
     kVisible | WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOSEL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 0, 2, 25, 155, 91},
    {IDC_STATIC, u"STATIC", nullptr, 134, kVisible | SS_BITMAP, 0, 0, 132, 183, 32},
};
const DLGTEMPLATE credits = {kCreditsDialog, kScreenStyle | WS_SYSMENU, u"Impressum", u"Tahoma", 8, 157, 165,
                             ITEMS(creditsItems)};

const DLGITEMTEMPLATE helpIndexItems[] = {
    {1058, u"STATIC", u"Hilfe", 0, kVisible | SS_CENTER, 0, 3, 3, 147, 13},
    {1048, u"BUTTON", u"Hilfe für Weine von A - Z", 0, kVisible | BS_PUSHBUTTON | BS_NOTIFY | WS_TABSTOP, 0, 20, 28,
     114, 13},
    {1036, u"BUTTON", u"Hilfe zu Rebsorten", 0, kVisible | BS_PUSHBUTTON | BS_NOTIFY | WS_TABSTOP, 0, 20, 49, 114, 13},
    {1026, u"BUTTON", u"Hilfe zu \"Die richtige Temperatur\"", 0, kVisible | BS_PUSHBUTTON | BS_NOTIFY | WS_TABSTOP,
     0, 20, 71, 114, 13},
    {1006, u"BUTTON", u"Hilfe zu \"Lesezeichen\"", 0, kVisible | BS_PUSHBUTTON | BS_NOTIFY | WS_TABSTOP, 0, 20, 92,
     114, 13},
};
const DLGTEMPLATE helpIndex = {kHelpIndexDialog, kScreenStyle | WS_SYSMENU, u"Talvino - Hilfe", u"MS Sans Serif", 8,
                               155, 148, ITEMS(helpIndexItems)};

const DLGITEMTEMPLATE helpPageItems[] = {
    {1057, u"STATIC", u"Hilfe", 0, kVisible | SS_CENTER, 0, 3, 6, 151, 13},
    {1046, u"LISTBOX", nullptr, 0, kVisible | WS_BORDER | WS_VSCROLL | WS_TABSTOP, 0, 3, 23, 154, 126},
};
const DLGTEMPLATE helpPage = {kHelpPageDialog, kScreenStyle | WS_SYSMENU, u"Talvino - Hilfe", u"MS Sans Serif", 8,
                              160, 149, ITEMS(helpPageItems)};

} // namespace

extern const DLGTEMPLATE* const kDialogTemplates[] = {&mainMenu,    &searchForm, &results,   &grapes,
                                                       &temperature, &credits,    &helpIndex, &helpPage};
extern const int kDialogTemplateCount = static_cast<int>(sizeof(kDialogTemplates) / sizeof(kDialogTemplates[0]));
