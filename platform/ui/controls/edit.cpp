// Edits, single- and multi-line: they tell their dialog about focus (EN_SETFOCUS, EN_KILLFOCUS)
// and every change of their text (EN_CHANGE), also one the program makes. A bordered edit has a
// one-pixel edge on all four sides, as the device draws it (a sunken frame's light lower and right
// edges vanish on the white page).
#include <QFocusEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <type_traits>

#include "platform/ui/controls/core.h"

namespace platform::ui::controls {
namespace {

constexpr const char* kBoxedProperty = "talvinoBoxed";

template <typename Edit> class EditControl : public Edit {
  public:
    explicit EditControl(QWidget* parent) : Edit(parent) {}

  protected:
    void paintEvent(QPaintEvent* event) override {
        Edit::paintEvent(event);
        // A line edit has no frame of its own here (see create); its edge is drawn over it.
        if constexpr (std::is_same_v<Edit, QLineEdit>) {
            if (this->property(kBoxedProperty).toBool()) {
                QPainter painter(this);
                painter.setPen(this->palette().color(QPalette::WindowText));
                painter.drawRect(this->rect().adjusted(0, 0, -1, -1));
            }
        }
    }
    // Qt tells readers of the caret and selection before it tells them of the focus, and Orca
    // then takes the edit as already announced: entered by Tab, it was silent. Left, the edit
    // drops its selection, which readers said ("unselected") before the next control.
    void focusInEvent(QFocusEvent* event) override {
        {
            const ReadersUntold untold;
            Edit::focusInEvent(event);
        }
        if (Window* window = windowOf(this)) sendCommand(window, EN_SETFOCUS);
    }
    void focusOutEvent(QFocusEvent* event) override {
        {
            const ReadersUntold untold;
            Edit::focusOutEvent(event);
        }
        if (Window* window = windowOf(this)) sendCommand(window, EN_KILLFOCUS);
    }
};
using LineEditControl = EditControl<QLineEdit>;
using MultiLineEditControl = EditControl<QPlainTextEdit>;

QWidget* create(ControlTemplate& from, Kind* kind) {
    const DWORD style = from.style;
    const bool edged = (style & WS_BORDER) || (from.item.exStyle & WS_EX_CLIENTEDGE);
    if (style & ES_MULTILINE) {
        *kind = Kind::MultiLineEdit;
        auto* edit = new MultiLineEditControl(from.dialog->widget);
        edit->setVerticalScrollBarPolicy((style & WS_VSCROLL) ? Qt::ScrollBarAlwaysOn
                                                              : Qt::ScrollBarAlwaysOff);
        edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        edit->setLineWrapMode((style & ES_AUTOHSCROLL) ? QPlainTextEdit::NoWrap
                                                       : QPlainTextEdit::WidgetWidth);
        edit->setReadOnly(style & ES_READONLY);
        edit->setTabChangesFocus(true);
        edit->setFrameStyle(edged ? (QFrame::Box | QFrame::Plain) : QFrame::NoFrame);
        edit->setLineWidth(1);
        return edit;
    }
    *kind = Kind::Edit;
    auto* edit = new LineEditControl(from.dialog->widget);
    edit->setReadOnly(style & ES_READONLY);
    edit->setFrame(false);
    edit->setProperty(kBoxedProperty, edged);
    if (edged) edit->setTextMargins(1, 1, 1, 1);
    edit->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return edit;
}

void wire(Window* control, const ControlTemplate&) {
    const HWND handle = control;
    auto changed = [handle] {
        if (Window* window = live(handle)) sendCommand(window, EN_CHANGE);
    };
    if (auto* edit = as<QLineEdit>(control)) QObject::connect(edit, &QLineEdit::textChanged, edit, changed);
    if (auto* edit = as<QPlainTextEdit>(control))
        QObject::connect(edit, &QPlainTextEdit::textChanged, edit, changed);
}

// The platform's line breaks are "\r\n"; the widget keeps "\n".
std::u16string currentText(Window* window) {
    std::u16string current;
    if (auto* edit = as<QLineEdit>(window)) current = toU16(edit->text());
    if (auto* edit = as<QPlainTextEdit>(window)) {
        for (QChar c : edit->toPlainText()) {
            if (c == QLatin1Char('\n')) current += u'\r';
            current += c.unicode();
        }
    }
    return current;
}

LRESULT setText(Window* window, const std::u16string& text) {
    if (auto* edit = as<QLineEdit>(window)) edit->setText(toQString(text));
    if (auto* edit = as<QPlainTextEdit>(window)) edit->setPlainText(displayText(text));
    return TRUE;
}

LRESULT message(Window* window, UINT msg, WPARAM wParam, LPARAM) {
    if (msg == EM_LIMITTEXT) {
        if (auto* edit = as<QLineEdit>(window)) edit->setMaxLength(wParam ? static_cast<int>(wParam) : 32767);
    }
    return 0;
}

} // namespace

const ControlFamily& editFamily() {
    static const ControlFamily family{u"EDIT", create, wire, currentText, setText, message, nullptr, nullptr};
    return family;
}

} // namespace platform::ui::controls
