// Edits, single- and multi-line: they tell their dialog about focus (EN_SETFOCUS, EN_KILLFOCUS)
// and every change of their text (EN_CHANGE), also one the program makes. A bordered edit has a
// one-pixel edge on all four sides, as the device draws it (a sunken frame's light lower and right
// edges vanish on the white page).
#include <QAccessibleWidget>
#include <QFocusEvent>
#include <QFontMetrics>
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
    // Where the caret is drawn, in the widget's pixels (a line edit keeps it to itself).
    QRect caretArea() const { return this->cursorRect(); }

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

// A line edit as readers meet it: its text, caret and selection, and changes a reader makes.
// Qt's own reading reports the text's attribute runs as empty ranges, and Orca, which joins the
// runs to speak a line, left the last letter off every line it spoke ("kal" for "kalt"); here the
// whole text is one run.
class LineEditAccessible : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface {
  public:
    explicit LineEditAccessible(LineEditControl* edit) : QAccessibleWidget(edit, QAccessible::EditableText) {}
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        if (type == QAccessible::EditableTextInterface) return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return shown();
        return QAccessibleWidget::text(t);
    }
    void setText(QAccessible::Text t, const QString& text) override {
        if (t != QAccessible::Value) return QAccessibleWidget::setText(t, text);
        if (!edit()->isReadOnly()) edit()->setText(text);
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        if (edit()->isReadOnly())
            state.readOnly = true;
        else
            state.editable = true;
        state.selectableText = true;
        if (edit()->echoMode() != QLineEdit::Normal) state.passwordEdit = true;
        return state;
    }

    // Text.
    QString text(int start, int end) const override { return start > end ? QString() : shown().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(edit()->text().size()); }
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return QString();
    }
    int cursorPosition() const override { return edit()->cursorPosition(); }
    void setCursorPosition(int position) override { edit()->setCursorPosition(position); }
    void selection(int index, int* start, int* end) const override {
        *start = *end = 0;
        if (index != 0 || !edit()->hasSelectedText()) return;
        *start = edit()->selectionStart();
        *end = *start + static_cast<int>(edit()->selectedText().size());
    }
    int selectionCount() const override { return edit()->hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int index) override {
        if (index == 0) edit()->deselect();
    }
    void setSelection(int index, int start, int end) override {
        if (index == 0) edit()->setSelection(start, end - start);
    }
    // From where the caret is drawn and the widths of the letters between it and the offset.
    QRect characterRect(int offset) const override {
        const QString all = shown();
        if (offset < 0 || offset > all.size()) return QRect();
        const QFontMetrics metrics = edit()->fontMetrics();
        const QRect caret = edit()->caretArea();
        const int x = caret.center().x() + metrics.horizontalAdvance(all.left(offset)) -
                      metrics.horizontalAdvance(all.left(edit()->cursorPosition()));
        const int width = offset < all.size() ? metrics.horizontalAdvance(all.at(offset)) : 1;
        return QRect(edit()->mapToGlobal(QPoint(x, caret.top())), QSize(width, caret.height()));
    }
    int offsetAtPoint(const QPoint& point) const override {
        return edit()->cursorPositionAt(edit()->mapFromGlobal(point));
    }
    void scrollToSubstring(int start, int end) override {
        edit()->setCursorPosition(end);
        edit()->setCursorPosition(start);
    }

    // Changes a reader makes, as typing would make them (the dialog hears EN_CHANGE).
    void deleteText(int start, int end) override { replaceText(start, end, QString()); }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    void replaceText(int start, int end, const QString& text) override {
        QString all = edit()->text();
        if (edit()->isReadOnly() || start < 0 || start > end || end > all.size()) return;
        edit()->setText(all.replace(start, end - start, text));
    }

  private:
    LineEditControl* edit() const { return static_cast<LineEditControl*>(widget()); }
    QString shown() const { return edit()->echoMode() == QLineEdit::Normal ? edit()->text() : QString(); }
};

QAccessibleInterface* accessible(Window*, QWidget* widget) {
    auto* edit = dynamic_cast<LineEditControl*>(widget);
    return edit ? new LineEditAccessible(edit) : nullptr;
}

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
    static const ControlFamily family{u"EDIT", create, wire, currentText, setText, message, nullptr, accessible};
    return family;
}

} // namespace platform::ui::controls
