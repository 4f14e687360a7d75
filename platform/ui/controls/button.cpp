// Buttons: push buttons, check boxes, owner-drawn buttons (the dialog paints them through
// WM_DRAWITEM) and group frames. A tap sends BN_CLICKED; a group frame takes no taps.
#include <QAccessibleWidget>
#include <QCheckBox>
#include <QKeyEvent>
#include <QGroupBox>
#include <QPushButton>

#include "platform/gdi/gdi.h"
#include "platform/ui/controls/accessible.h"
#include "platform/ui/controls/core.h"

namespace platform::ui::controls {
namespace {

// Enter presses a button as Space does (the platform's dialogs press the focused button).
bool pressedByEnter(QAbstractButton* button, QKeyEvent* event) {
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) return false;
    event->accept();
    button->click();
    return true;
}

class PushButtonControl : public QPushButton {
  public:
    explicit PushButtonControl(QWidget* parent) : QPushButton(parent) {}

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (!pressedByEnter(this, event)) QPushButton::keyPressEvent(event);
    }
    void paintEvent(QPaintEvent* event) override {
        QPushButton::paintEvent(event);
        paintSurface(this, windowOf(this));
    }
};

class CheckBoxControl : public QCheckBox {
  public:
    explicit CheckBoxControl(QWidget* parent) : QCheckBox(parent) {}

  protected:
    // The whole control answers a tap, as on the device; Qt's answers only on its box and label,
    // a small target for a finger where the label is short.
    bool hitButton(const QPoint& at) const override { return rect().contains(at); }
    void keyPressEvent(QKeyEvent* event) override {
        if (!pressedByEnter(this, event)) QCheckBox::keyPressEvent(event);
    }
    void paintEvent(QPaintEvent* event) override {
        Window* window = windowOf(this);
        if (window) {
            PaintScope scope(window);
            if (!applyStaticColors(this, window)) return;
        }
        QCheckBox::paintEvent(event);
        paintSurface(this, window);
    }
};

class OwnerDrawButton : public QPushButton {
  public:
    explicit OwnerDrawButton(QWidget* parent) : QPushButton(parent) {}

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (!pressedByEnter(this, event)) QPushButton::keyPressEvent(event);
    }
    void paintEvent(QPaintEvent*) override {
        Window* window = windowOf(this);
        if (!window) return;
        const HWND handle = window;
        {
            PaintScope scope(window);
            HDC dc = GetDC(handle);
            DRAWITEMSTRUCT item{};
            item.CtlType = ODT_BUTTON;
            item.CtlID = static_cast<UINT>(window->id);
            item.itemAction = ODA_DRAWENTIRE;
            item.itemState = (isDown() ? ODS_SELECTED : 0) | (hasFocus() ? ODS_FOCUS : 0);
            item.hwndItem = handle;
            item.hDC = dc;
            const QSize size = deviceSize(this);
            item.rcItem = RECT{0, 0, size.width(), size.height()};
            notifyParent(window, WM_DRAWITEM, static_cast<WPARAM>(window->id),
                         reinterpret_cast<LPARAM>(&item));
            if (live(handle) && dc) ReleaseDC(handle, dc);
        }
        if (live(handle)) paintSurface(this, window);
    }
};

QWidget* create(ControlTemplate& from, Kind* kind) {
    QWidget* parent = from.dialog->widget;
    QWidget* widget = nullptr;
    switch (from.style & kButtonTypeMask) {
    case BS_AUTOCHECKBOX:
    case 0x2: // BS_CHECKBOX
        *kind = Kind::CheckBox;
        widget = new CheckBoxControl(parent);
        break;
    case BS_OWNERDRAW:
        *kind = Kind::OwnerDrawButton;
        widget = new OwnerDrawButton(parent);
        break;
    case BS_GROUPBOX: {
        *kind = Kind::GroupBox;
        auto* frame = new QGroupBox(parent);
        frame->setAttribute(Qt::WA_TransparentForMouseEvents); // a frame, not a button
        return frame;
    }
    default:
        *kind = Kind::PushButton;
        widget = new PushButtonControl(parent);
        break;
    }
    widget->setFocusPolicy((from.style & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus);
    return widget;
}

void wire(Window* control, const ControlTemplate& from) {
    auto* button = as<QAbstractButton>(control);
    if (!button) return; // a group frame tells nothing
    if (control->kind == Kind::CheckBox && (from.style & kButtonTypeMask) != BS_AUTOCHECKBOX)
        button->setCheckable(false);
    const HWND handle = control;
    QObject::connect(button, &QAbstractButton::clicked, button, [handle] {
        if (Window* window = live(handle)) sendCommand(window, BN_CLICKED);
    });
}

LRESULT setText(Window* window, const std::u16string& text) {
    window->text = text;
    if (auto* frame = as<QGroupBox>(window)) {
        frame->setTitle(withoutPrefix(displayText(text)));
        frame->setAccessibleName(frame->title());
    }
    if (auto* button = as<QAbstractButton>(window)) {
        const QString shown = withoutPrefix(displayText(text));
        button->setText(window->kind == Kind::OwnerDrawButton ? QString() : shown);
        button->setAccessibleName(shown);
    }
    return TRUE;
}

LRESULT message(Window* window, UINT msg, WPARAM wParam, LPARAM) {
    auto* button = as<QAbstractButton>(window);
    if (msg == BM_GETCHECK)
        return button && button->isCheckable() && button->isChecked() ? BST_CHECKED : BST_UNCHECKED;
    if (msg == BM_SETCHECK && window->kind == Kind::CheckBox && button) {
        button->setCheckable(true);
        button->setChecked(wParam == BST_CHECKED);
    }
    return 0;
}

// A check box ticks and unticks through a click, so that a reader's toggle is heard by the dialog
// as a tap is (Qt's own toggle action changes the box silently).
class CheckBoxAccessible : public QAccessibleWidget {
  public:
    explicit CheckBoxAccessible(QAbstractButton* box) : QAccessibleWidget(box, QAccessible::CheckBox) {}
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = box()->isChecked();
        return state;
    }
    QStringList actionNames() const override {
        return QStringList{toggleAction(), pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override {
        if (name != toggleAction() && name != pressAction()) return QAccessibleWidget::doAction(name);
        if (box()->isEnabled()) box()->animateClick();
    }
    QStringList keyBindingsForAction(const QString& name) const override {
        if (name == toggleAction() || name == pressAction()) return {QStringLiteral("Space")};
        return QAccessibleWidget::keyBindingsForAction(name);
    }

  private:
    QAbstractButton* box() const { return static_cast<QAbstractButton*>(widget()); }
};

// An owner-drawn button that no key reaches and that other controls lie on is a coloured panel
// behind a group: read as a grouping, not as a button that does nothing.
QAccessibleInterface* accessible(Window* window, QWidget* widget) {
    if (window->kind == Kind::CheckBox)
        if (auto* box = qobject_cast<QAbstractButton*>(widget)) return new CheckBoxAccessible(box);
    if (window->kind == Kind::OwnerDrawButton && !(window->style & WS_TABSTOP) && holdsControls(window))
        return new WindowAccessible(widget, QAccessible::Grouping);
    return nullptr;
}

} // namespace

const ControlFamily& buttonFamily() {
    static const ControlFamily family{u"BUTTON", create, wire, nullptr, setText, message, nullptr, accessible};
    return family;
}

} // namespace platform::ui::controls
