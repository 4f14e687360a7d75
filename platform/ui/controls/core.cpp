// What every control shares: creation from a template item, the message path (text and font
// here, the rest in each family's file) and the services the families use.
#include "platform/ui/controls/core.h"

#include <QFont>
#include <QPainter>
#include <QWidget>
#include <cmath>

#include "platform/data/german_order.h"
#include "platform/gdi/gdi_internal.h"

namespace platform::ui {
namespace controls {

StaticColors askStaticColors(Window* window) {
    StaticColors colors;
    if (!window || !window->parent) return colors;
    const HWND handle = window;
    HDC dc = GetDC(handle);
    const LRESULT brush = notifyParent(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(handle));
    if (dc) {
        const platform::gdi::TextState state = platform::gdi::textStateOf(dc);
        colors.text = state.textColor;
        if (brush) colors.background = platform::gdi::brushColor(reinterpret_cast<HBRUSH>(brush));
        if (!colors.background && brush && state.bkMode == OPAQUE && state.bkColor)
            colors.background = state.bkColor;
        ReleaseDC(handle, dc);
    }
    return colors;
}

bool applyStaticColors(QWidget* widget, Window* window) {
    const StaticColors colors = askStaticColors(window);
    if (!live(window)) return false;
    if (colors.background) {
        QPainter painter(widget);
        painter.fillRect(widget->rect(), *colors.background);
    }
    QPalette p = widget->palette();
    p.setColor(QPalette::WindowText, colors.text.value_or(Qt::black));
    if (p != widget->palette()) widget->setPalette(p);
    return true;
}

QString shownPart(const QString& text, int chars) {
    if (text.size() <= chars) return text;
    int cut = chars;
    if (cut > 0 && text[cut - 1].isHighSurrogate()) --cut;
    return text.left(cut);
}

void ShownPartDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    if (option->text.size() > kShownRowChars) option->text = shownPart(option->text);
}

QString withoutPrefix(const QString& text) {
    QString out;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size()) {
            ++i;
        }
        out += text[i];
    }
    return out;
}

int sortedPosition(const QStringList& items, const QString& text) {
    const std::u16string_view added(reinterpret_cast<const char16_t*>(text.utf16()),
                                    static_cast<std::size_t>(text.size()));
    int position = 0;
    while (position < items.size()) {
        const QString& item = items[position];
        const std::u16string_view row(reinterpret_cast<const char16_t*>(item.utf16()),
                                      static_cast<std::size_t>(item.size()));
        if (ado::compareGerman(row, added) > 0) break;
        ++position;
    }
    return position;
}

LRESULT copyRowText(const QString& row, LPARAM buffer) {
    const std::u16string text = toU16(row);
    auto* out = reinterpret_cast<char16_t*>(buffer);
    if (out) {
        text.copy(out, text.size());
        out[text.size()] = u'\0';
    }
    return static_cast<LRESULT>(text.size());
}

LRESULT keepText(Window* window, const std::u16string& text) {
    window->text = text;
    if (window->widget) window->widget->setAccessibleName(toQString(text));
    return TRUE;
}

namespace {

int mulDiv(int value, int numerator, int denominator) {
    return static_cast<int>(std::lround(static_cast<double>(value) * numerator / denominator));
}

const ControlFamily* familyNamed(const std::u16string& className) {
    const ControlFamily* const families[] = {&staticFamily(),   &buttonFamily(),  &editFamily(),
                                             &comboBoxFamily(), &listBoxFamily(), &scrollBarFamily(),
                                             &treeViewFamily(), &tabFamily()};
    for (const ControlFamily* family : families) {
        const std::u16string wanted(family->className);
        if (wanted.size() != className.size()) continue;
        bool same = true;
        for (std::size_t i = 0; i < wanted.size() && same; ++i)
            same = QChar(wanted[i]).toUpper() == QChar(className[i]).toUpper();
        if (same) return family;
    }
    return nullptr;
}

} // namespace

const ControlFamily* familyOf(Kind kind) {
    switch (kind) {
    case Kind::Static:
        return &staticFamily();
    case Kind::PushButton:
    case Kind::CheckBox:
    case Kind::OwnerDrawButton:
    case Kind::GroupBox:
        return &buttonFamily();
    case Kind::Edit:
    case Kind::MultiLineEdit:
        return &editFamily();
    case Kind::ListBox:
        return &listBoxFamily();
    case Kind::ComboBox:
        return &comboBoxFamily();
    case Kind::ScrollBar:
        return &scrollBarFamily();
    case Kind::TreeView:
        return &treeViewFamily();
    case Kind::TabControl:
        return &tabFamily();
    default:
        return nullptr;
    }
}

namespace {

LRESULT setText(const ControlFamily& family, Window* window, const std::u16string& text) {
    return family.setText ? family.setText(window, text) : keepText(window, text);
}

} // namespace
} // namespace controls

using namespace controls;

void finishControls(Window* dialog) {
    nameControls(dialog);
}

void applyFont(Window* window, const QFont& font) {
    if (!window->widget) return;
    setDeviceFont(window->widget, font);
    const ControlFamily* family = familyOf(window->kind);
    if (family && family->fontChanged) family->fontChanged(window, font);
}

Window* createControl(Window* dialog, const DLGITEMTEMPLATE& item) {
    const std::u16string className = item.className ? std::u16string(item.className) : std::u16string();
    const ControlFamily* family = familyNamed(className);
    if (!family) return nullptr;
    ControlTemplate from{dialog, item, item.style,
                         QRect(mulDiv(item.x, dialog->baseX, 4), mulDiv(item.y, dialog->baseY, 8),
                               mulDiv(item.cx, dialog->baseX, 4), mulDiv(item.cy, dialog->baseY, 8)),
                         item.text ? std::u16string(item.text) : std::u16string()};
    Kind kind = Kind::Static;
    QWidget* widget = family->create(from, &kind);
    if (!widget) return nullptr;

    Window* control = createWindow(kind, className, dialog, widget);
    control->id = item.id;
    control->style = from.style | WS_CHILD;
    control->exStyle = item.exStyle;
    control->visible = (from.style & WS_VISIBLE) != 0;
    setDeviceGeometry(widget, from.rect);
    // The first text is set before the notifications are wired, so it reports no change.
    if (!from.text.empty()) setText(*family, control, from.text);
    if (family->wire) family->wire(control, from);
    if (!(from.style & WS_VISIBLE)) widget->hide();
    if (from.style & WS_DISABLED) widget->setEnabled(false);
    return control;
}

LRESULT controlMessage(Window* window, UINT msg, WPARAM wParam, LPARAM lParam) {
    QWidget* widget = window->widget;
    if (!widget) return 0;
    const ControlFamily* family = familyOf(window->kind);
    if (!family) return 0;
    switch (msg) {
    case WM_SETTEXT:
        return setText(*family, window,
                       lParam ? std::u16string(reinterpret_cast<LPCWSTR>(lParam)) : std::u16string());
    case WM_GETTEXT:
        return copyText(family->currentText ? family->currentText(window) : window->text, wParam, lParam);
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(
            (family->currentText ? family->currentText(window) : window->text).size());
    case WM_SETFONT:
        window->font = reinterpret_cast<HFONT>(wParam);
        applyFont(window, platform::gdi::fontOf(window->font));
        if (lParam) widget->update();
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(window->font);
    case CCM_SETVERSION:
        if (window->kind != Kind::TabControl) return -1; // only tab controls keep a version
        break;
    default:
        break;
    }
    return family->message ? family->message(window, msg, wParam, lParam) : 0;
}

} // namespace platform::ui
