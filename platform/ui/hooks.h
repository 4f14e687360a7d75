// What tests and tools reach of the window system beyond the platform's own calls: modeless
// dialogs, the answer to message boxes, and a word when a dialog becomes active.
// Free of Qt, so tools and tests may include it next to the screens' headers.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui/windows.h"

namespace platform {

// Creates a dialog from a template without a modal loop (WM_INITDIALOG is sent, the dialog shows
// unless EndDialog was called during it). Destroy it with destroyDialog.
HWND createDialog(HINSTANCE module, LPCDLGTEMPLATEW dialogTemplate, HWND parent, DLGPROC proc,
                  LPARAM initParam);
// Sends WM_DESTROY to the dialog and destroys it with its controls.
void destroyDialog(HWND dialog);

// Answers every MessageBoxW instead of showing it; an empty function shows boxes again.
using MessageBoxResponder =
    std::function<int(HWND owner, const std::u16string& text, const std::u16string& caption, UINT type)>;
void setMessageBoxResponder(MessageBoxResponder responder);

// Called on the interface thread, from the event loop, whenever a dialog has become the active
// one (shown and topmost): after it opened and when a dialog above it closed.
void setDialogActivatedHook(std::function<void(HWND)> hook);
// One call of `step` after the next dialog has become active (for the tour tool).
void callAfterNextDialogShown(std::function<void(HWND)> step);

// While the interface thread is busy (a long query), shows at once what device contexts drew
// from other threads since the windows last painted. Does nothing on other threads.
void showPendingDrawing();

HWND activeDialog();               // the topmost open dialog, or null
std::vector<HWND> openDialogs();   // every dialog not yet destroyed, opener first
int dialogTemplateId(HWND dialog); // the resource number of the template it was made from, 0 if none
bool isModalLoopRunning(HWND dialog);

// Sees every message a control sends to the dialog (notifications, stylus, colours, drawing),
// before the dialog procedure does. An empty function removes it.
using MessageObserver = std::function<void(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)>;
void setMessageObserver(HWND dialog, MessageObserver observer);

// ---- Accessibility of what a screen paints itself ----
// Controls are named from their templates (own text, or the label beside or above them); these
// calls are for what a screen knows alone: a name no label gives, the text it paints, the areas
// of a picture that answer taps, and work under way.
void setAccessibleName(HWND window, const std::u16string& name);
// The text a screen reader reads for a window whose content is painted (announced when it changes).
void setAccessibleText(HWND window, const std::u16string& text);
// Areas of a notifying picture, in its client coordinates, each read as a button of its own;
// pressing one sends what a tap in its middle sends; its description says what the tap shows.
struct AccessiblePart {
    AccessiblePart(std::u16string partName, RECT partArea, std::u16string partDescription = {})
        : name(std::move(partName)), area(partArea), description(std::move(partDescription)) {}
    std::u16string name;
    RECT area;
    std::u16string description;
};
void setAccessibleParts(HWND window, std::vector<AccessiblePart> parts);
void setAccessibleBusy(HWND window, bool busy);
// What a static shows is read as the description of a control, and announced when it changes: the
// header line of the entry a tree has reached, the name of the level a scroll bar stands at (read
// as the bar's value too).
void setAccessibleDescribedBy(HWND control, HWND label);

} // namespace platform
