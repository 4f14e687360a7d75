// Layer-internal: what every control family shares (text, font, colours, notifying the parent)
// and how a family plugs into creation from a template and into the message path.
#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QStyledItemDelegate>
#include <optional>
#include <string>

#include "platform/ui/window.h"

class QWidget;
class QFont;
class QAccessibleInterface;

namespace platform::ui::controls {

constexpr DWORD kStaticTypeMask = 0x1F;
constexpr DWORD kButtonTypeMask = 0x0F;

// One control being made from a dialog template item.
struct ControlTemplate {
    Window* dialog;
    const DLGITEMTEMPLATE& item;
    DWORD style;
    QRect rect; // in dialog pixels; a family may change it (a combo box is one line high)
    std::u16string text;
};

// A family of controls: one window class, its widgets, its creation and its messages.
struct ControlFamily {
    const char16_t* className;
    // Makes the widget for the template and says which kind of control it is.
    QWidget* (*create)(ControlTemplate& control, Kind* kind);
    // After the window exists: first text, picture, notifications. Null when there is nothing.
    void (*wire)(Window* control, const ControlTemplate& from);
    // The window text as the platform answers it; null keeps the text in the window record.
    std::u16string (*currentText)(Window* window);
    // WM_SETTEXT; null keeps the text in the window record.
    LRESULT (*setText)(Window* window, const std::u16string& text);
    // The family's own messages (text and font are the core's).
    LRESULT (*message)(Window* window, UINT msg, WPARAM wParam, LPARAM lParam);
    // After WM_SETFONT set the widget's font; null when the widget alone takes it.
    void (*fontChanged)(Window* window, const QFont& font);
    // The accessible interface of a control of the family; null (or a null answer) leaves it to Qt.
    QAccessibleInterface* (*accessible)(Window* window, QWidget* widget);
};

const ControlFamily* familyOf(Kind kind);

// Names every control of a freshly built dialog by its label (and lets keys reach its links).
void nameControls(Window* dialog);
// A label that changed its text renames the control it labels.
void renameLabelled(Window* label);
// Gives a control its name, and the parts a reader meets on their own (a combo box's dropped list,
// an edit's scroll bars) names taken from it.
void setControlName(QWidget* control, const QString& name);
// What a reader says for a shown text: a blank one (a gap between paragraphs, the empty choice of
// a list) is read as "Leerzeile", not as silence.
QString readableText(const QString& shown);

const ControlFamily& staticFamily();
const ControlFamily& buttonFamily();
const ControlFamily& editFamily();
const ControlFamily& comboBoxFamily();
const ControlFamily& listBoxFamily();
const ControlFamily& scrollBarFamily();
const ControlFamily& treeViewFamily();
const ControlFamily& tabFamily();

// ---- Shared services ----

// What WM_CTLCOLORSTATIC answered for one paint.
struct StaticColors {
    std::optional<QColor> background;
    std::optional<QColor> text;
};
StaticColors askStaticColors(Window* window);
// Paints as statics and check boxes do: asks the parent for the colours, fills the background and
// sets the text colour. False when the parent destroyed the control while it answered.
bool applyStaticColors(QWidget* widget, Window* window);

QString withoutPrefix(const QString& text); // "&Ok" shows as "Ok"
// Where a sorted list puts a new text: after every text that is not greater in German dictionary
// order (the device sorted by its locale; ä with a, case only breaks ties).
int sortedPosition(const QStringList& items, const QString& text);
// Copies a row's text into a caller's buffer the platform trusts to be long enough.
LRESULT copyRowText(const QString& text, LPARAM buffer);
// Stores the text in the window record and names the widget after it.
LRESULT keepText(Window* window, const std::u16string& text);

// Controls lay out and draw only what can be seen, so that no text makes a screen slow (Qt lays
// out a text whole, a megabyte of it for seconds). A row of a list, combo box or tree shows at
// most its first kShownRowChars characters, more than any row shows on the device even scrolled
// far sideways; a static at most kShownStaticChars, more than the whole screen holds. The
// window keeps the whole text for the program. Differs from the platform, which drew a row to
// its end however far the user scrolled.
constexpr int kShownRowChars = 1024;
constexpr int kShownStaticChars = 8192;
// The first `chars` characters of `text`, a surrogate pair never split.
QString shownPart(const QString& text, int chars = kShownRowChars);

// Rows of item views laid out and drawn from the shown part of their text.
class ShownPartDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

  protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

template <typename T> T* as(Window* window) {
    return dynamic_cast<T*>(window->widget.data());
}

// Counts changes made by the program, which notify nothing.
struct Quiet {
    explicit Quiet(int& counter) : counter_(counter) { ++counter_; }
    ~Quiet() { --counter_; }
    Quiet(const Quiet&) = delete;
    Quiet& operator=(const Quiet&) = delete;
    int& counter_;
};

} // namespace platform::ui::controls
