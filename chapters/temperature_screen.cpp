// "Die richtige Temperatur": a thermometer and a paper scroll that rolls up and unrolls again
// with the serving temperatures of the band tapped or of the wine kind chosen.
#include "chapters/temperature_screen.h"

#include <string>
#include <vector>

#include "screen/application.h"
#include "screen/globals.h"
#include "screen/screen.h"
#include "chapters/chapter_screens.h"
#include "chapters/temperature_layout.h"
#include "db/text_codec.h"
#include "platform/ui/hooks.h"

namespace {

constexpr int kTextControl = 1056; // hidden; holds the introduction, the text itself is drawn
constexpr int kThermometer = 1054;
constexpr int kHeading = 1055;
constexpr int kWineKindList = 1005;

constexpr int kTopRollBitmap = 145;
constexpr int kPaperBitmap = 146;
constexpr int kBottomRollBitmap = 144;

constexpr int kTextBufferChars = 4000;
constexpr int kLoadedChars = 2000;
constexpr int kIntroductionString = 1;

HINSTANCE Module() {
    return g_application ? g_application->instance : nullptr;
}

// Copies rows [sourceTop, sourceTop + rows) of a bitmap, full width, to (kScrollLeft, top).
// Returns the bitmap's height (0 when it could not be loaded).
int CopyBitmap(HDC target, int bitmapId, int sourceTop, int rows, int top) {
    const HBITMAP bitmap = LoadBitmapW(Module(), MAKEINTRESOURCEW(bitmapId));
    if (!bitmap) return 0;
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    if (rows < 0) rows = info.bmHeight - sourceTop;
    if (rows > 0) {
        const HDC memory = CreateCompatibleDC(target);
        const HGDIOBJ previous = SelectObject(memory, bitmap);
        BitBlt(target, temperature::kScrollLeft, top, info.bmWidth, rows, memory, 0, sourceTop, SRCCOPY);
        SelectObject(memory, previous);
        DeleteDC(memory);
    }
    DeleteObject(bitmap);
    return info.bmHeight;
}

int BitmapHeight(int bitmapId) {
    const HBITMAP bitmap = LoadBitmapW(Module(), MAKEINTRESOURCEW(bitmapId));
    if (!bitmap) return 0;
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    DeleteObject(bitmap);
    return info.bmHeight;
}

void DrawScroll(HWND window, int frame) {
    const int t = temperature::kUnrollCurve[frame];
    const temperature::ScrollLayout layout =
        temperature::scrollLayout(t, BitmapHeight(kPaperBitmap), BitmapHeight(kBottomRollBitmap));
    const HDC dc = GetDC(window);
    if (!dc) return;
    if (layout.paperRows > 0)
        CopyBitmap(dc, kPaperBitmap, layout.paperSourceTop, layout.paperRows, layout.paperTop);
    CopyBitmap(dc, kTopRollBitmap, 0, -1, layout.topRollTop);
    CopyBitmap(dc, kBottomRollBitmap, 0, -1, layout.bottomRollTop);
    ReleaseDC(window, dc);
}

// The text the scroll shows for a height level.
void LoadLevelText(int level, char16_t* buffer) {
    LoadStringW(Module(), static_cast<UINT>(temperature::stringIdForLevel(level)), buffer, kLoadedChars);
}

void DrawLevelText(HWND window, TemperatureScreen& screen, int level, int frame) {
    if (!screen.textBuffer) return;
    LoadLevelText(level, screen.textBuffer);
    const HDC dc = GetDC(window);
    if (!dc) return;
    SetBkMode(dc, TRANSPARENT);
    const HGDIOBJ previous = SelectObject(dc, screen.textFont);
    SetTextColor(dc, RGB(0, 0, 0));
    RECT rect = temperature::textRect(temperature::kUnrollCurve[frame]);
    DrawTextW(dc, screen.textBuffer, -1, &rect, DT_CENTER);
    SelectObject(dc, previous);
    ReleaseDC(window, dc);
    // The scroll is painted; a screen reader reads the same text from the screen.
    platform::setAccessibleText(window, screen.textBuffer);
}

// Each band of the thermometer, named by its temperature, answers as a tap on it does; it is
// described by the text a tap on it unrolls.
void DescribeThermometer(HWND window) {
    const HWND thermometer = GetDlgItem(window, kThermometer);
    RECT bounds{};
    GetClientRect(thermometer, &bounds);
    POINT origin{0, 0};
    MapWindowPoints(thermometer, window, &origin, 1);
    std::vector<platform::AccessiblePart> bands;
    for (int level = 18; level >= 4; --level) {
        const int top = 6 + 14 * (18 - level) - origin.y; // heightLevel() read backwards
        std::u16string name;
        if (level >= 10) name += static_cast<char16_t>(u'0' + level / 10);
        name += static_cast<char16_t>(u'0' + level % 10);
        name += u"°C";
        std::vector<char16_t> wines(kLoadedChars + 1, u'\0');
        const int middle = origin.y + top + 7; // where the tap on the band lands
        LoadLevelText(temperature::heightLevel(static_cast<DWORD>(middle)), wines.data());
        bands.push_back({name, RECT{0, top, bounds.right, top + 14}, wines.data()});
    }
    platform::setAccessibleName(thermometer, u"Thermometer");
    platform::setAccessibleParts(thermometer, std::move(bands));
}

void StartPhase(HWND window, TIMERPROC phase) {
    SetTimer(window, temperature::kTimerId, temperature::kStepMs, phase);
}

// Frame indexes outside the curve (an object left in a strange state) start from the closed scroll.
int ValidFrame(int frame) {
    return frame < 0 || frame > temperature::kLastFrame ? 0 : frame;
}

void CreateFonts(HWND window, TemperatureScreen& screen) {
    for (HFONT* font : {&screen.headingFont, &screen.textFont, &screen.listFont})
        if (*font) DeleteObject(*font);
    screen.headingFont = CreateTahomaFont(20, FW_BOLD);
    screen.textFont = CreateTahomaFont(13, FW_NORMAL);
    screen.listFont = CreateTahomaFont(11, FW_NORMAL);
    SetControlFont(window, kHeading, screen.headingFont);
    SetControlFont(window, kTextControl, screen.textFont);
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(screen.textFont), TRUE);
    SetControlFont(window, kWineKindList, screen.listFont);
}

void ReleaseScreen(TemperatureScreen& screen) {
    delete[] screen.textBuffer;
    screen.textBuffer = nullptr;
    for (HFONT* font : {&screen.headingFont, &screen.textFont, &screen.listFont}) {
        if (*font) DeleteObject(*font);
        *font = nullptr;
    }
}

void Initialise(HWND window, TemperatureScreen& screen) {
    delete[] screen.textBuffer; // left by an opening that never saw its destruction
    screen.textBuffer = new char16_t[kTextBufferChars]();
    InitScreen(window, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN);
    screen.frameIndex = 0;
    CreateFonts(window, screen);
    DescribeThermometer(window);
    inputPanelSwitch(false, true);
    LoadStringW(Module(), kIntroductionString, screen.textBuffer, kLoadedChars);
    SetDlgItemTextW(window, kTextControl, screen.textBuffer);
    screen.targetLevel = 0;
    screen.shownLevel = 0;
    StartPhase(window, temperature::OpeningPhase);
    DrawLevelText(window, screen, screen.shownLevel, screen.frameIndex);
    const HWND list = GetDlgItem(window, kWineKindList);
    for (const char16_t* kind : temperature::kWineKinds)
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kind));
    screen.selectionFlag = false;
}

void ChooseWineKind(HWND window, TemperatureScreen& screen) {
    const LRESULT index = SendDlgItemMessageW(window, kWineKindList, CB_GETCURSEL, 0, 0);
    if (index < 0 || index >= temperature::kWineKindCount) return;
    screen.selectionFlag = true;
    if (index == 0) {
        screen.recordedY = temperature::kEmptyChoiceY;
        screen.targetLevel = temperature::kEmptyChoiceLevel;
    } else {
        screen.recordedY = temperature::wineKindY(static_cast<int>(index));
        screen.targetLevel = temperature::heightLevel(screen.recordedY);
    }
    StartPhase(window, temperature::ClosingPhase);
}

void HandleCommand(HWND window, TemperatureScreen& screen, WPARAM wParam) {
    const int id = LOWORD(wParam);
    const WORD code = HIWORD(wParam);
    if (id == kThermometer && code == STN_CLICKED) {
        screen.targetLevel = temperature::heightLevel(screen.recordedY);
        StartPhase(window, temperature::ClosingPhase);
    } else if (id == kWineKindList && code == CBN_SELCHANGE) {
        ChooseWineKind(window, screen);
    }
    if (IsDoneCommand(wParam))
        EndDialog(window, 1);
    else
        inputPanelSwitch(false, true);
}

INT_PTR StaticColours(WPARAM wParam, LPARAM lParam) {
    const HDC dc = reinterpret_cast<HDC>(wParam);
    if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == kTextControl) {
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
    }
    return reinterpret_cast<INT_PTR>(GetStockObject(WHITE_BRUSH));
}

} // namespace

namespace temperature {

void OpeningPhase(HWND window, UINT, UINT_PTR, DWORD) {
    TemperatureScreen* screen = g_temperatureScreen;
    if (!screen) return;
    screen->frameIndex = ValidFrame(screen->frameIndex);
    DrawScroll(window, screen->frameIndex);
    DrawLevelText(window, *screen, screen->targetLevel, screen->frameIndex);
    if (screen->frameIndex < kLastFrame) {
        ++screen->frameIndex;
        return;
    }
    KillTimer(window, kTimerId);
    screen->shownLevel = screen->targetLevel;
    screen->selectionFlag = false;
}

void ClosingPhase(HWND window, UINT, UINT_PTR, DWORD) {
    TemperatureScreen* screen = g_temperatureScreen;
    if (!screen) return;
    screen->frameIndex = ValidFrame(screen->frameIndex);
    const int t = kUnrollCurve[screen->frameIndex];
    if (const HDC dc = GetDC(window)) {
        const HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        const RECT upper = upperWipe(t);
        const RECT lower = lowerWipe(t);
        FillRect(dc, &upper, white);
        FillRect(dc, &lower, white);
        ReleaseDC(window, dc);
    }
    DrawScroll(window, screen->frameIndex);
    DrawLevelText(window, *screen, screen->shownLevel, screen->frameIndex);
    if (screen->frameIndex > 0) {
        --screen->frameIndex;
        return;
    }
    screen->targetLevel = heightLevel(screen->recordedY);
    SetTimer(window, kTimerId, kStepMs, OpeningPhase);
}

} // namespace temperature

INT_PTR TemperatureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    TemperatureScreen* screen = g_temperatureScreen;
    if (!screen) return 0;
    screen->window = window;
    switch (message) {
    case WM_INITDIALOG:
        Initialise(window, *screen);
        return 0;
    case WM_COMMAND:
        HandleCommand(window, *screen, wParam);
        return 0;
    case WM_MOUSEMOVE:
        if (screen->selectionFlag) {
            screen->selectionFlag = false;
        } else {
            screen->recordedX = LOWORD(static_cast<WPARAM>(lParam));
            screen->recordedY = HIWORD(static_cast<WPARAM>(lParam));
        }
        return 0;
    case WM_CTLCOLORSTATIC:
        return StaticColours(wParam, lParam);
    case WM_DESTROY:
        KillTimer(window, temperature::kTimerId);
        ReleaseScreen(*screen);
        return 0;
    default:
        HandleShellStateMessage(message);
        return 0;
    }
}
