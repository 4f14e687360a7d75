// Combo boxes (drop-down lists): CBN_DROPDOWN when the list opens, CBN_SELCHANGE for a choice,
// CBN_CLOSEUP after it. Changes made by the program notify nothing.
// Differs from the platform: there, a list closing under the stylus made the window system send
// a stylus move to the window beneath; here the dialog gets that move after every choice from
// the dropped list, at the point where the stylus left it, also when the list hung beyond the
// dialog (screens count on exactly one such move after a choice).
#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QPointer>
#include <QStyle>
#include <QStylePainter>
#include <QTimer>
#include <algorithm>
#include <optional>

#include "platform/ui/controls/core.h"

namespace platform::ui::controls {
namespace {

// A row keeps its whole text here when the model holds only the shown part of it.
constexpr int kWholeTextRole = Qt::UserRole + 1;

class ComboBoxControl : public QComboBox {
  public:
    explicit ComboBoxControl(QWidget* parent) : QComboBox(parent) {
        // The box has the template's size: nothing measures the rows' texts for it.
        setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        // Emitted after hidePopup, before the close-up is reported.
        connect(this, QOverload<int>::of(&QComboBox::activated), this, [this](int) { chosen_ = true; });
    }
    void showPopup() override {
        chosen_ = false;
        if (Window* window = windowOf(this)) sendCommand(window, CBN_DROPDOWN);
        // A long name is cut at the list's right edge, as the device cut it, not in its middle.
        view()->setTextElideMode(Qt::ElideNone);
        view()->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        QComboBox::showPopup();
        placeDroppedList();
        if (!listWatched_) {
            view()->installEventFilter(this);
            listWatched_ = true;
        }
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
            QWidget* dialog = window->parent->widget;
            const QPoint p = deviceOffset(dialog, dialog->mapFromGlobal(*leftAt));
            sendObserved(window->parent, WM_MOUSEMOVE, 0,
                         MAKELPARAM(static_cast<WORD>(p.x()), static_cast<WORD>(p.y())));
        });
    }

  protected:
    // Tab in the dropped list keeps the highlighted row, as Return does, and goes on to the next
    // control (Shift+Tab to the one before), as the device's dialogs do; Qt left the focus nowhere.
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == view() && event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
                const bool back = key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier);
                if (view()->currentIndex().isValid() && view()->currentIndex().row() != currentIndex()) {
                    QKeyEvent accept(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
                    QApplication::sendEvent(view(), &accept);
                }
                if (view()->isVisible()) hidePopup();
                setFocus(Qt::PopupFocusReason);
                QKeyEvent onwards(QEvent::KeyPress, back ? Qt::Key_Backtab : Qt::Key_Tab,
                                  back ? Qt::ShiftModifier : Qt::NoModifier);
                QApplication::sendEvent(this, &onwards);
                return true;
            }
        }
        return QComboBox::eventFilter(watched, event);
    }
    // QComboBox's own drawing, with the shown part of the chosen row's text.
    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        painter.setPen(palette().color(QPalette::Text));
        QStyleOptionComboBox option;
        initStyleOption(&option);
        painter.drawComplexControl(QStyle::CC_ComboBox, option);
        option.currentText = shownPart(option.currentText);
        painter.drawControl(QStyle::CE_ComboBoxLabel, option);
    }

  private:
    // The dropped list stays inside the dialog (a name too long for it is cut at its right edge)
    // and shows whole rows only: below the box while as
    // many rows as it may show fit there, else on the side with more room (upwards above the menu
    // bar, as the device dropped it), as many whole rows as fit. Qt places it by the desktop
    // screen, which knows nothing of the device's bars. Differs from the platform: a list that
    // scrolls shows at least the rows its scroll bar needs for its arrows and a usable thumb.
    void placeDroppedList() {
        QWidget* popup = view()->window();
        QWidget* dialog = parentWidget();
        const int rowHeight = view()->sizeHintForRow(0);
        if (!popup || popup == window() || !dialog || rowHeight <= 0 || count() == 0) return;
        const int chrome = popup->height() - view()->viewport()->height();
        const QRect area(dialog->mapToGlobal(QPoint(0, 0)), dialog->size());
        const QRect box(mapToGlobal(QPoint(0, 0)), size());
        // At least as many rows as let its scroll bar hold both arrows and a thumb as long as one.
        const int barRows = (3 * style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view()) + rowHeight - 1) /
                            rowHeight;
        const int wanted = std::min(count(), std::max({1, maxVisibleItems(), count() > maxVisibleItems() ? barRows : 1}));
        const int below = area.bottom() - box.bottom(), above = box.top() - area.top();
        const bool upwards = chrome + wanted * rowHeight > below && above > below;
        const int room = upwards ? above : below;
        const int rows = std::clamp((room - chrome) / rowHeight, 1, wanted);
        const int height = chrome + rows * rowHeight;
        const int top = upwards ? box.top() - height : box.bottom() + 1;
        // As wide as Qt makes it for the longest name, but never past the dialog's right edge.
        const int left = std::max(area.left(), std::min(popup->x(), area.right() + 1 - popup->width()));
        const int width = std::min(popup->width(), area.right() + 1 - left);
        popup->setGeometry(left, top, width, height);
    }
    // Where the stylus lifts off the dropped list when it picks the current row.
    std::optional<QPoint> chosenRowOnScreen() const {
        if (!view() || !view()->isVisible() || currentIndex() < 0) return std::nullopt;
        const QRect row = view()->visualRect(model()->index(currentIndex(), modelColumn(), rootModelIndex()));
        if (!row.isValid()) return std::nullopt;
        return view()->viewport()->mapToGlobal(row.center());
    }
    bool chosen_ = false;
    bool listWatched_ = false;
};

QString wholeText(QComboBox* combo, int index) {
    const QVariant whole = combo->itemData(index, kWholeTextRole);
    return whole.isValid() ? whole.toString() : combo->itemText(index);
}

QStringList items(QComboBox* combo) {
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << wholeText(combo, i);
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
    QObject::connect(combo, QOverload<int>::of(&QComboBox::activated), combo, [handle, combo](int) {
        // The reader hears the new choice, then the dialog acts on it.
        const QString choice = readableText(combo->currentText());
        QAccessibleValueChangeEvent value(combo, choice);
        announce(&value);
        speak(choice); // readers that let a combo box's own events pass hear this
        if (Window* window = live(handle)) sendCommand(window, CBN_SELCHANGE);
    });
}

std::u16string currentText(Window* window) {
    auto* combo = as<QComboBox>(window);
    return combo && combo->currentIndex() >= 0 ? toU16(wholeText(combo, combo->currentIndex()))
                                               : std::u16string();
}

// The text chooses the row that has it; an empty text chooses none.
LRESULT setText(Window* window, const std::u16string& text) {
    if (auto* combo = as<QComboBox>(window)) {
        const int index = text.empty() ? -1 : static_cast<int>(items(combo).indexOf(toQString(text)));
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
        // The list lays out and draws only the shown part; the whole text stays with the row.
        combo->insertItem(position, shownPart(text));
        if (text.size() > kShownRowChars) combo->setItemData(position, text, kWholeTextRole);
        if (readableText(text) != text) combo->setItemData(position, readableText(text), Qt::AccessibleTextRole);
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
        return copyRowText(wholeText(combo, index), lParam);
    }
    case CB_GETLBTEXTLEN: {
        const int index = static_cast<int>(wParam);
        if (index < 0 || index >= combo->count()) return CB_ERR;
        return wholeText(combo, index).size();
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

// Read as a combo box with its choice as value and text (once: as its description too, Orca said
// it twice). Its list is a child only while it is dropped down: a closed list's rows would
// otherwise count as showing. Opening it is the tap's path.
class ComboBoxAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
  public:
    explicit ComboBoxAccessible(ComboBoxControl* combo) : QAccessibleWidget(combo, QAccessible::ComboBox) {}
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return current();
        return QAccessibleWidget::text(t);
    }
    int childCount() const override { return listShown() ? 1 : 0; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 && listShown() ? QAccessible::queryAccessibleInterface(combo()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return listShown() && child && child->object() == combo()->view() ? 0 : -1;
    }
    QStringList actionNames() const override {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override {
        if (name != showMenuAction() && name != pressAction()) return QAccessibleWidget::doAction(name);
        if (!combo()->isEnabled()) return;
        if (listShown())
            combo()->hidePopup();
        else
            combo()->showPopup();
    }

    // The chosen entry as read-only text.
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override { return current().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(current().size()); }
    QRect characterRect(int) const override { return QRect(); }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return QString();
    }

  private:
    ComboBoxControl* combo() const { return static_cast<ComboBoxControl*>(widget()); }
    QString current() const {
        return combo()->currentIndex() < 0 ? QString() : readableText(combo()->currentText());
    }
    bool listShown() const { return combo()->view() && combo()->view()->isVisible(); }
};

QAccessibleInterface* accessible(Window*, QWidget* widget) {
    auto* combo = dynamic_cast<ComboBoxControl*>(widget);
    return combo ? new ComboBoxAccessible(combo) : nullptr;
}

void fontChanged(Window* window, const QFont& font) {
    if (auto* combo = as<QComboBox>(window)) setDeviceFont(combo->view(), font);
}

} // namespace

const ControlFamily& comboBoxFamily() {
    static const ControlFamily family{u"COMBOBOX", create, wire, currentText, setText, message, fontChanged, accessible};
    return family;
}

} // namespace platform::ui::controls
