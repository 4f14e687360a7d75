#include "search/search_form.h"

#include <vector>

#include "screen/application.h"
#include "screen/globals.h"
#include "screen/screen.h"
#include "db/database.h"
#include "db/text_codec.h"
#include "platform/ui/hooks.h"
#include "resources/dialog_ids.h"
#include "search/query_builder.h"
#include "search/search_screen.h"
#include "search/sql_format.h"
#include "search/wait_animation.h"

using namespace search_form;

namespace {

constexpr const char16_t* kLevelNames[] = {u"egal", u"einfach (*)", u"überdurchschnittlich (**)",
                                           u"bekannt (***)", u"erstklassig (****)"};

constexpr int kLabelledControls[] = {kQualityLabel, kTermLabel,     kCountryLabel,
                                     kRegionLabel,  kFullTextLabel, kStartButton};

// The three owner-drawn frames are coloured panels behind their group's controls.
struct Group {
    int frame;
    COLORREF colour;
    std::vector<int> controls; // statics painted on the frame's colour
};
const Group kGroups[] = {
    {kColourFrame, RGB(216, 224, 224), {1015, 1016, 1017, 1018, 1029, 1030, 1031, 1032}},
    {kTasteFrame, RGB(255, 224, 192), {1037, 1038, 1039, 1040, 1041, 1042, 1043, 1044}},
    {kQualityFrame, RGB(247, 251, 192), {1019, 1027, 1022, 1028}},
};
constexpr int kGroupCount = sizeof kGroups / sizeof kGroups[0];

// Brushes of the group colours for the static colour message, made at each opening and released
// when the form closes (the message comes at every repaint; a brush per message would leak).
HBRUSH groupBrushes[kGroupCount] = {};

DLGPROC resultsScreen = nullptr;

// Text of the selected item of a combo box, cut at `limit` characters; `length` is the item's full
// length, negative when nothing is selected. The item is read into a buffer of its own length,
// since CB_GETLBTEXT is given no capacity.
std::u16string selectedItemText(HWND combo, int limit, int& length) {
    const LRESULT index = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    length = index == CB_ERR ? -1 : static_cast<int>(SendMessageW(combo, CB_GETLBTEXTLEN, index, 0));
    if (length <= 0) return {};
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(std::char_traits<char16_t>::length(text.c_str()));
    if (text.size() > static_cast<std::size_t>(limit)) text.resize(limit);
    return text;
}

std::u16string controlText(HWND window, int capacity) {
    std::vector<char16_t> buffer(static_cast<std::size_t>(capacity), u'\0');
    GetWindowTextW(window, buffer.data(), capacity);
    return buffer.data();
}

bool isChecked(HWND form, int id) {
    return IsDlgButtonChecked(form, id) != 0;
}

void refillRegions(HWND window, bool allCountries) {
    Database& database = *g_database;
    if (allCountries) {
        copySqlToBuffer(database.queryBuffer,
                        u"SELECT Region.REGIO_LANG FROM Region ORDER BY Region.ID_REGION",
                        kLookupStatementLimit);
    } else {
        int length = 0;
        const std::u16string country =
            selectedItemText(GetDlgItem(window, kCountryList), kCountryNameLimit, length);
        copySqlToBuffer(
            database.queryBuffer,
            formatSql(u"select Land from Land where Bezeichnung = '%s'", {doubledApostrophes(country)}),
            kLookupStatementLimit);
        // Empty unless found: a country without a code lists no regions.
        char16_t code[kCountryCodeCapacity] = u"";
        database.scalarQuery(code, kCountryCodeCapacity);
        copySqlToBuffer(database.queryBuffer,
                        formatSql(u"select Regio_Lang from Region where Land = '%s' order by Regio_Lang",
                                  {doubledApostrophes(code)}),
                        kLookupStatementLimit);
    }
    const HWND regions = GetDlgItem(window, kRegionList);
    SendMessageW(regions, CB_RESETCONTENT, 0, 0);
    SendMessageW(regions, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u" "));
    database.fillList(regions);
}

void initForm(SearchForm& form) {
    const HWND window = form.window;
    InitScreen(window, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN);
    form.qualityLevel = 0;

    form.headingFont = CreateTahomaFont(20, FW_BOLD);
    SetControlFont(window, kHeading, form.headingFont);
    form.labelFont = CreateTahomaFont(13, FW_BOLD);
    for (int id : kLabelledControls)
        SetControlFont(window, id, form.labelFont);
    for (int i = 0; i < kGroupCount; ++i)
        groupBrushes[i] = CreateSolidBrush(kGroups[i].colour);
    // The colour and taste panels carry no label of their own (the quality panel has "Qualität:").
    platform::setAccessibleName(GetDlgItem(window, kColourFrame), u"Farbe");
    platform::setAccessibleName(GetDlgItem(window, kTasteFrame), u"Geschmack");
    // The level's name beside the bar is what the bar's position means.
    platform::setAccessibleDescribedBy(GetDlgItem(window, kQualityBar), GetDlgItem(window, kQualityName));

    g_utility->inputPanelSwitch(false, true);

    const HWND bar = GetDlgItem(window, kQualityBar);
    SetScrollRange(bar, SB_CTL, 0, kHighestLevel, TRUE);
    SetScrollPos(bar, SB_CTL, 0, TRUE);
    SetDlgItemTextW(window, kQualityName, kLevelNames[0]);

    const HWND countries = GetDlgItem(window, kCountryList);
    SendMessageW(countries, CB_RESETCONTENT, 0, 0);
    SendMessageW(countries, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u" "));
    copySqlToBuffer(g_database->queryBuffer, u"SELECT Bezeichnung from Land ORDER by Bezeichnung",
                    kLookupStatementLimit);
    g_database->fillList(countries);

    refillRegions(window, true);
}

void runSearch(SearchForm& form) {
    const HWND window = form.window;
    const HWND picture = GetDlgItem(window, kAnimationControl);
    ShowWindow(picture, SW_SHOW);
    // The animation area must be on screen before this thread blocks in the search.
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);

    startWaitAnimation(form, picture, g_application->instance);
    buildSearchStatement(gatherSearchCriteria(window, form.qualityLevel), *g_database);
    if (resultsScreen) OpenScreen(kResultsDialog, resultsScreen, window);
    stopWaitAnimation(form);
}

void onCommand(SearchForm& form, WPARAM wParam) {
    const int id = LOWORD(wParam);
    if (id == kCountryList && HIWORD(wParam) == CBN_SELCHANGE) {
        int length = 0;
        selectedItemText(GetDlgItem(form.window, kCountryList), kCountryNameLimit, length);
        refillRegions(form.window, length < 2);
    }
    if (id == IDOK)
        EndDialog(form.window, 1);
    else if (id == kStartButton)
        runSearch(form);
    else
        g_utility->inputPanelSwitch(id == kSearchTerm, true);
}

// Line and page steps move one level, the ends go to 0 and 4, the thumb to where it is dragged.
void onQualityScroll(SearchForm& form, WPARAM wParam) {
    int level = form.qualityLevel;
    switch (LOWORD(wParam)) {
    case SB_LINERIGHT:
    case SB_PAGERIGHT:
        level = form.qualityLevel + 1;
        break;
    case SB_LINELEFT:
    case SB_PAGELEFT:
        level = form.qualityLevel - 1;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        level = static_cast<std::int16_t>(HIWORD(wParam));
        break;
    case SB_LEFT:
        level = 0;
        break;
    case SB_RIGHT:
        level = kHighestLevel;
        break;
    default:
        return;
    }
    if (level < 0 || level > kHighestLevel) return;
    SetScrollPos(GetDlgItem(form.window, kQualityBar), SB_CTL, level, TRUE);
    SetDlgItemTextW(form.window, kQualityName, kLevelNames[level]);
    form.qualityLevel = static_cast<std::int16_t>(level);
}

const Group* groupOfFrame(int id) {
    for (const Group& group : kGroups)
        if (group.frame == id) return &group;
    return nullptr;
}

int groupOfControl(int id) {
    for (int i = 0; i < kGroupCount; ++i)
        for (int control : kGroups[i].controls)
            if (control == id) return i;
    return -1;
}

INT_PTR drawGroupFrame(const DRAWITEMSTRUCT& item) {
    const Group* group = groupOfFrame(static_cast<int>(item.CtlID));
    if (!group) return FALSE;
    const HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    const HBRUSH brush = CreateSolidBrush(group->colour);
    const HGDIOBJ oldPen = SelectObject(item.hDC, pen);
    const HGDIOBJ oldBrush = SelectObject(item.hDC, brush);
    SetBkMode(item.hDC, OPAQUE);
    Rectangle(item.hDC, item.rcItem.left, item.rcItem.top, item.rcItem.right, item.rcItem.bottom);
    SelectObject(item.hDC, oldPen);
    SelectObject(item.hDC, oldBrush);
    DeleteObject(pen);
    DeleteObject(brush);
    return TRUE;
}

INT_PTR staticColour(HDC dc, HWND control) {
    const int group = groupOfControl(GetDlgCtrlID(control));
    if (group < 0 || !groupBrushes[group]) return 0;
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, kGroups[group].colour);
    return reinterpret_cast<INT_PTR>(groupBrushes[group]);
}

void onDestroy(SearchForm& form) {
    g_utility->inputPanelSwitch(false, true);
    // The thread draws into a control of this window: it must be gone before the window is.
    endWaitAnimation(form);
    for (HBRUSH& brush : groupBrushes) {
        if (brush) DeleteObject(brush);
        brush = nullptr;
    }
    if (form.headingFont) DeleteObject(form.headingFont);
    if (form.labelFont) DeleteObject(form.labelFont);
    form.headingFont = form.labelFont = nullptr;
    form.window = nullptr;
}

} // namespace

const char16_t* qualityLevelName(int level) {
    return level >= 0 && level <= kHighestLevel ? kLevelNames[level] : nullptr;
}

SearchCriteria gatherSearchCriteria(HWND form, std::int16_t qualityLevel) {
    SearchCriteria criteria;
    criteria.countryName =
        selectedItemText(GetDlgItem(form, kCountryList), kCountryNameLimit, criteria.countryNameLength);
    criteria.searchTerm = controlText(GetDlgItem(form, kSearchTerm), kSearchTermLimit + 1);
    criteria.fullText = isChecked(form, kFullTextBox);
    criteria.regionName = controlText(GetDlgItem(form, kRegionList), kRegionNameLimit + 1);
    criteria.red = isChecked(form, kRedBox);
    criteria.white = isChecked(form, kWhiteBox);
    criteria.rose = isChecked(form, kRoseBox);
    criteria.brown = isChecked(form, kBrownBox);
    criteria.dry = isChecked(form, kDryBox);
    criteria.mediumSweet = isChecked(form, kMediumSweetBox);
    criteria.sweet = isChecked(form, kSweetBox);
    criteria.sparkling = isChecked(form, kSparklingBox);
    criteria.qualityLevel = qualityLevel;
    criteria.especiallyGood = isChecked(form, kEspeciallyGoodBox);
    return criteria;
}

void setSearchResultsScreen(DLGPROC proc) {
    resultsScreen = proc;
}
DLGPROC searchResultsScreen() {
    return resultsScreen;
}

INT_PTR SearchFormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    SearchForm& form = *g_searchForm;
    form.window = window;
    switch (message) {
    case WM_INITDIALOG:
        initForm(form);
        return 0;
    case WM_COMMAND:
        onCommand(form, wParam);
        return 0;
    case WM_HSCROLL:
        if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == kQualityBar) onQualityScroll(form, wParam);
        return 0;
    case WM_DRAWITEM:
        return drawGroupFrame(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_CTLCOLORSTATIC:
        return staticColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DESTROY:
        onDestroy(form);
        return 0;
    default:
        HandleShellStateMessage(message);
        return 0;
    }
}
