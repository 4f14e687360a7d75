// Combo boxes (drop-down lists): CBN_DROPDOWN when the list opens, CBN_SELCHANGE for a choice,
// CBN_CLOSEUP after it. Changes made by the program notify nothing.
// Differs from the platform: there, a list closing under the stylus made the window system send
// a stylus move to the window beneath; here the dialog gets that move after every choice from
// the dropped list, at the point where the stylus left it, also when the list hung beyond the
// dialog (screens count on exactly one such move after a choice).
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QPointer>
#include <QTimer>
#include <algorithm>
#include <optional>

#include "platform/ui/controls/core.h"

namespace platform::ui::controls {
namespace {

class ComboBoxControl : public QComboBox {
  public:
    explicit ComboBoxControl(QWidget* parent) : QComboBox(parent) {
        // Emitted after hidePopup, before the close-up is reported.
        connect(this, QOverload<int>::of(&QComboBox::activated), this, [this](int) { chosen_ = true; });
    }
    void showPopup() override {
        chosen_ = false;
        if (Window* window = windowOf(this)) sendCommand(window, CBN_DROPDOWN);
        QComboBox::showPopup();
    }
    void hidePopup() override {
        const std::optional<QPoint> leftAt = chosenRowOnScreen();
        QComboBox::hidePopup();
        // The platform reports the close after the selection change.
        const HWND handle = windowOf(this);
        const QPointer<ComboBoxControl> self(this);
        QTimer::singleShot(0, qApp, [handle, self, leftAt] {
            Window* window = live(handle);
            if (!window) return;
            sendCommand(window, CBN_CLOSEUP);
            const bool chosen = self && self->chosen_;
            if (self) self->chosen_ = false;
            window = live(handle);
            if (!chosen || !leftAt || !window || !window->parent || !window->parent->widget) return;
            const QPoint p = window->parent->widget->mapFromGlobal(*leftAt);
            sendObserved(window->parent, WM_MOUSEMOVE, 0, MAKELPARAM(static_cast<WORD>(p.x()), static_cast<WORD>(p.y())));
        });
    }

  private:
    // Where the stylus lifts off the dropped list when it picks the current row.
    std::optional<QPoint> chosenRowOnScreen() const {
        if (!view() || !view()->isVisible() || currentIndex() < 0) return std::nullopt;
        const QRect row = view()->visualRect(model()->index(currentIndex(), modelColumn(), rootModelIndex()));
        if (!row.isValid()) return std::nullopt;
        return view()->viewport()->mapToGlobal(row.center());
    }
    bool chosen_ = false;
};

QStringList items(QComboBox* combo) {
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

QWidget* create(ControlTemplate& from, Kind* kind) {
    *kind = Kind::ComboBox;
    auto* combo = new ComboBoxControl(from.dialog->widget);
    const int lineHeight = std::max(1, from.dialog->baseY);
    combo->setMaxVisibleItems(std::max(1, (from.rect.height() - from.dialog->baseY) / lineHeight));
    // The rectangle's height is the dropped-down list's; the box itself is one line high.
    from.rect.setHeight(from.dialog->baseY + 7);
    return combo;
}

void wire(Window* control, const ControlTemplate&) {
    const HWND handle = control;
    auto* combo = as<QComboBox>(control);
    QObject::connect(combo, QOverload<int>::of(&QComboBox::activated), combo, [handle](int) {
        if (Window* window = live(handle)) sendCommand(window, CBN_SELCHANGE);
    });
}

std::u16string currentText(Window* window) {
    auto* combo = as<QComboBox>(window);
    return combo && combo->currentIndex() >= 0 ? toU16(combo->currentText()) : std::u16string();
}

// The text chooses the row that has it; an empty text chooses none.
LRESULT setText(Window* window, const std::u16string& text) {
    if (auto* combo = as<QComboBox>(window)) {
        const int index = text.empty() ? -1 : combo->findText(toQString(text), Qt::MatchExactly);
        if (!text.empty() && index < 0) return CB_ERR;
        combo->setCurrentIndex(index);
    }
    return TRUE;
}

LRESULT message(Window* window, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* combo = as<QComboBox>(window);
    if (!combo) return CB_ERR;
    const QSignalBlocker block(combo);
    switch (msg) {
    case CB_ADDSTRING: {
        const QString text = toQString(reinterpret_cast<LPCWSTR>(lParam));
        const int current = combo->currentIndex();
        const int position = (window->style & CBS_SORT) ? sortedPosition(items(combo), text) : combo->count();
        combo->insertItem(position, text);
        // Adding never selects anything on the platform.
        combo->setCurrentIndex(current < 0 ? -1 : (position <= current ? current + 1 : current));
        return position;
    }
    case CB_GETCOUNT:
        return combo->count();
    case CB_GETCURSEL:
        return combo->currentIndex() < 0 ? CB_ERR : combo->currentIndex();
    case CB_GETLBTEXT: {
        const int index = static_cast<int>(wParam);
        if (index < 0 || index >= combo->count()) return CB_ERR;
        return copyRowText(combo->itemText(index), lParam);
    }
    case CB_GETLBTEXTLEN: {
        const int index = static_cast<int>(wParam);
        if (index < 0 || index >= combo->count()) return CB_ERR;
        return combo->itemText(index).size();
    }
    case CB_RESETCONTENT:
        combo->clear();
        combo->setCurrentIndex(-1);
        return 0;
    case CB_SETCURSEL: {
        const int index = static_cast<int>(static_cast<std::intptr_t>(wParam));
        if (index < 0 || index >= combo->count()) {
            combo->setCurrentIndex(-1);
            return CB_ERR;
        }
        combo->setCurrentIndex(index);
        return index;
    }
    case CB_SHOWDROPDOWN:
        if (wParam)
            combo->showPopup();
        else
            combo->hidePopup();
        return TRUE;
    default:
        return 0;
    }
}

void fontChanged(Window* window, const QFont& font) {
    if (auto* combo = as<QComboBox>(window)) combo->view()->setFont(font);
}

} // namespace

const ControlFamily& comboBoxFamily() {
    static const ControlFamily family{u"COMBOBOX", create, wire, currentText, setText, message, fontChanged};
    return family;
}

} // namespace platform::ui::controls
