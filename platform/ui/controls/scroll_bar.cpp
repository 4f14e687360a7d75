// Horizontal scroll bars: every step, page, jump and drag goes to the dialog as WM_HSCROLL.
// The platform leaves the thumb where it is; the dialog moves it with SBM_SETPOS.
#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>
#include <optional>

#include "platform/ui/controls/core.h"

namespace platform::ui::controls {
namespace {

class ScrollBarControl : public QScrollBar {
  public:
    explicit ScrollBarControl(QWidget* parent) : QScrollBar(Qt::Horizontal, parent) {
        connect(this, &QAbstractSlider::actionTriggered, this, [this](int action) { onAction(action); });
        connect(this, &QAbstractSlider::sliderReleased, this, [this] { thumbReleased_ = true; });
    }
    int position = 0; // the position the dialog set

    // A step or page by a screen reader: the same messages as the arrow, then the end of the scroll.
    void act(SliderAction action) {
        triggerAction(action);
        send(SB_ENDSCROLL, 0);
    }
    // A value set by a screen reader: the messages of a drag of the thumb to it.
    void moveTo(int wanted) {
        tracked_ = std::clamp(wanted, minimum(), maximum());
        send(SB_THUMBTRACK, tracked_);
        send(SB_THUMBPOSITION, tracked_);
        send(SB_ENDSCROLL, 0);
    }

  protected:
    // Right and Down go towards the maximum, Left and Up towards the minimum, as the device's
    // scroll bars do under the arrow keys (Qt's scroll bars turn the horizontal keys round).
    void keyPressEvent(QKeyEvent* event) override {
        SliderAction action = SliderNoAction;
        switch (event->key()) {
        case Qt::Key_Right:
        case Qt::Key_Down:
            action = SliderSingleStepAdd;
            break;
        case Qt::Key_Left:
        case Qt::Key_Up:
            action = SliderSingleStepSub;
            break;
        case Qt::Key_PageDown:
            action = SliderPageStepAdd;
            break;
        case Qt::Key_PageUp:
            action = SliderPageStepSub;
            break;
        case Qt::Key_Home:
            action = SliderToMinimum;
            break;
        case Qt::Key_End:
            action = SliderToMaximum;
            break;
        default:
            return QScrollBar::keyPressEvent(event);
        }
        event->accept();
        triggerAction(action);
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        QScrollBar::mouseReleaseEvent(event);
        finish();
    }
    void keyReleaseEvent(QKeyEvent* event) override {
        QScrollBar::keyReleaseEvent(event);
        if (!event->isAutoRepeat()) finish();
    }

  private:
    void onAction(int action) {
        const int wanted = sliderPosition();
        setSliderPosition(position);
        WORD code;
        switch (action) {
        case SliderSingleStepAdd:
            code = SB_LINERIGHT;
            break;
        case SliderSingleStepSub:
            code = SB_LINELEFT;
            break;
        case SliderPageStepAdd:
            code = SB_PAGERIGHT;
            break;
        case SliderPageStepSub:
            code = SB_PAGELEFT;
            break;
        case SliderToMinimum:
            code = SB_LEFT;
            break;
        case SliderToMaximum:
            code = SB_RIGHT;
            break;
        case SliderMove:
            code = SB_THUMBTRACK;
            tracked_ = wanted;
            break;
        default:
            return;
        }
        send(code, code == SB_THUMBTRACK ? tracked_ : 0);
    }
    void finish() {
        if (thumbReleased_) {
            thumbReleased_ = false;
            send(SB_THUMBPOSITION, tracked_);
        }
        send(SB_ENDSCROLL, 0);
    }
    void send(WORD code, int pos) {
        Window* window = windowOf(this);
        if (!window) return;
        notifyParent(window, WM_HSCROLL, MAKEWPARAM(code, static_cast<WORD>(pos)),
                     reinterpret_cast<LPARAM>(static_cast<HWND>(window)));
    }
    int tracked_ = 0;
    bool thumbReleased_ = false;
};

QWidget* create(ControlTemplate& from, Kind* kind) {
    *kind = Kind::ScrollBar;
    auto* bar = new ScrollBarControl(from.dialog->widget);
    bar->setRange(0, 100);
    bar->setPageStep(0);
    bar->setSingleStep(1);
    bar->setFocusPolicy(Qt::StrongFocus);
    return bar;
}

class ScrollBarAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
  public:
    explicit ScrollBarAccessible(ScrollBarControl* bar) : QAccessibleWidget(bar, QAccessible::ScrollBar) {}
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    // The position is read as what the screen shows for it, where a static says it.
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value && !widget()->accessibleDescription().isEmpty())
            return widget()->accessibleDescription();
        return QAccessibleWidget::text(t);
    }
    QVariant currentValue() const override { return bar()->position; }
    void setCurrentValue(const QVariant& value) override { bar()->moveTo(value.toInt()); }
    QVariant maximumValue() const override { return bar()->maximum(); }
    QVariant minimumValue() const override { return bar()->minimum(); }
    QVariant minimumStepSize() const override { return 1; }
    QStringList actionNames() const override {
        return QStringList{increaseAction(), decreaseAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override {
        if (!bar()->isEnabled()) return;
        if (name == increaseAction())
            bar()->act(QAbstractSlider::SliderSingleStepAdd);
        else if (name == decreaseAction())
            bar()->act(QAbstractSlider::SliderSingleStepSub);
        else
            QAccessibleWidget::doAction(name);
    }

  private:
    ScrollBarControl* bar() const { return static_cast<ScrollBarControl*>(widget()); }
};

QAccessibleInterface* accessible(Window*, QWidget* widget) {
    auto* bar = dynamic_cast<ScrollBarControl*>(widget);
    return bar ? new ScrollBarAccessible(bar) : nullptr;
}

LRESULT message(Window* window, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* bar = as<ScrollBarControl>(window);
    if (!bar) return 0;
    switch (msg) {
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW: {
        const int low = static_cast<int>(static_cast<std::intptr_t>(wParam));
        const int high = static_cast<int>(lParam);
        bar->setRange(low, std::max(low, high));
        bar->position = std::clamp(bar->position, bar->minimum(), bar->maximum());
        bar->setValue(bar->position);
        return TRUE;
    }
    case SBM_SETPOS: {
        const int previous = bar->position;
        bar->position =
            std::clamp(static_cast<int>(static_cast<std::intptr_t>(wParam)), bar->minimum(), bar->maximum());
        // A bar whose levels have names is heard by the new name (its description changes with
        // it); readers would say the bare number before it.
        const bool named = !bar->accessibleDescription().isEmpty();
        {
            const QSignalBlocker block(bar);
            std::optional<ReadersUntold> untold;
            if (named) untold.emplace();
            bar->setValue(bar->position);
            bar->setSliderPosition(bar->position);
        }
        bar->update();
        if (previous != bar->position && !named) {
            QAccessibleValueChangeEvent event(bar, bar->position);
            announce(&event);
        }
        return previous;
    }
    case SBM_GETPOS:
        return bar->position;
    default:
        return 0;
    }
}

} // namespace

const ControlFamily& scrollBarFamily() {
    static const ControlFamily family{u"SCROLLBAR", create, nullptr, nullptr, nullptr, message, nullptr, accessible};
    return family;
}

} // namespace platform::ui::controls
