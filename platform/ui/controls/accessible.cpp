// The accessible face of dialogs, message boxes and the controls whose family asks for one:
// roles, painted text, pressable parts of a picture and the busy state. Differs from the
// platform: its accessibility API is replaced by Qt's (AT-SPI on the desktop).
#include "platform/ui/controls/accessible.h"

#include <QAccessible>
#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "platform/ui/controls/core.h"

namespace platform::ui::controls {
namespace {

// One area of a notifying picture, read as a button; it asks its owner for everything, so it
// never outlives what it describes.
class PartAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
  public:
    PartAccessible(QWidget* owner, int index) : owner_(owner), index_(index) {}

    bool isValid() const override { return part() != nullptr; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return ownerInterface() ? ownerInterface()->window() : nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return ownerInterface(); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override {
        const AccessiblePart* area = part();
        if (!area) return QString();
        if (t == QAccessible::Name) return toQString(area->name);
        if (t == QAccessible::Description) return displayText(area->description);
        return QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        const AccessiblePart* area = part();
        if (!area || !owner_) return QRect();
        const QRect local(area->area.left, area->area.top, area->area.right - area->area.left,
                          area->area.bottom - area->area.top);
        const QRect shown = windowRectIn(owner_, local);
        return QRect(owner_->mapToGlobal(shown.topLeft()), shown.size());
    }
    QAccessible::Role role() const override { return QAccessible::Button; }
    QAccessible::State state() const override {
        QAccessible::State state;
        if (!owner_ || !owner_->isVisible()) state.invisible = true;
        if (owner_ && !owner_->isEnabled()) state.disabled = true;
        state.focusable = true;
        Window* window = owner_ ? windowOf(owner_) : nullptr;
        if (window && owner_->hasFocus() && window->currentPart == index_) state.focused = true;
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        const AccessiblePart* area = part();
        auto* owner = static_cast<WindowAccessible*>(ownerInterface());
        if (name != pressAction() || !area || !owner) return;
        owner->pressAt(middleOf(*area));
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

  private:
    QAccessibleInterface* ownerInterface() const {
        return owner_ ? QAccessible::queryAccessibleInterface(owner_) : nullptr;
    }
    const AccessiblePart* part() const {
        Window* window = owner_ ? windowOf(owner_) : nullptr;
        if (!window || index_ >= static_cast<int>(window->accessibleParts.size())) return nullptr;
        return &window->accessibleParts[static_cast<std::size_t>(index_)];
    }
    QPointer<QWidget> owner_;
    int index_;
};

QAccessibleInterface* factory(const QString&, QObject* object) {
    if (!object || !object->isWidgetType()) return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (widget->objectName() == QLatin1String("Announcement"))
        return new QAccessibleWidget(widget, QAccessible::Notification);
    if (widget->objectName() == QLatin1String("MessageBox"))
        return new WindowAccessible(widget, QAccessible::AlertMessage);
    Window* window = windowOf(widget);
    if (!window) return nullptr;
    if (window->kind == Kind::Dialog) return new WindowAccessible(widget, QAccessible::Dialog);
    const ControlFamily* family = familyOf(window->kind);
    return family && family->accessible ? family->accessible(window, widget) : nullptr;
}

} // namespace

WindowAccessible::WindowAccessible(QWidget* widget, QAccessible::Role role, Press press)
    : QAccessibleWidget(widget, role), role_(role), press_(std::move(press)) {}

WindowAccessible::~WindowAccessible() {
    for (QAccessible::Id id : parts_)
        QAccessible::deleteAccessibleInterface(id);
}

QAccessible::Role WindowAccessible::role() const {
    Window* window = windowOf(widget());
    // A picture with areas of its own is read as a picture holding buttons.
    if (window && !window->accessibleParts.empty()) return QAccessible::Graphic;
    return role_;
}

QString WindowAccessible::text(QAccessible::Text t) const {
    Window* window = windowOf(widget());
    if (t == QAccessible::Description && window && !window->accessibleText.empty())
        return displayText(window->accessibleText);
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
        if (auto* label = qobject_cast<QLabel*>(widget())) return label->text();
    return QAccessibleWidget::text(t);
}

QAccessible::State WindowAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    Window* window = windowOf(widget());
    if (window && window->busy) state.busy = true;
    if (role_ == QAccessible::AlertMessage || role_ == QAccessible::Dialog) state.modal = true;
    if (role_ == QAccessible::Grouping) state.focusable = false; // a panel behind controls takes no keys
    return state;
}

QPoint middleOf(const platform::AccessiblePart& part) {
    return QPoint((part.area.left + part.area.right) / 2, (part.area.top + part.area.bottom) / 2);
}

// A picture with parts has the focus on the part the arrow keys reached.
QAccessibleInterface* WindowAccessible::focusChild() const {
    Window* window = windowOf(widget());
    if (window && !window->accessibleParts.empty() && widget()->hasFocus()) return child(window->currentPart);
    return QAccessibleWidget::focusChild();
}

QList<QPair<QAccessibleInterface*, QAccessible::Relation>>
WindowAccessible::relations(QAccessible::Relation match) const {
    auto found = QAccessibleWidget::relations(match);
    auto* label = qobject_cast<QLabel*>(widget());
    if ((match & QAccessible::Labelled) && label && label->buddy())
        if (QAccessibleInterface* buddy = QAccessible::queryAccessibleInterface(label->buddy()))
            found.append({buddy, QAccessible::Labelled});
    return found;
}

void WindowAccessible::syncParts() const {
    Window* window = windowOf(widget());
    const int version = window ? window->accessiblePartsVersion : -1;
    if (version == partsVersion_) return;
    partsVersion_ = version;
    for (QAccessible::Id id : parts_)
        QAccessible::deleteAccessibleInterface(id);
    parts_.clear();
    const int count = window ? static_cast<int>(window->accessibleParts.size()) : 0;
    for (int i = 0; i < count; ++i)
        parts_.push_back(QAccessible::registerAccessibleInterface(new PartAccessible(widget(), i)));
}

int WindowAccessible::childCount() const {
    syncParts();
    return QAccessibleWidget::childCount() + static_cast<int>(parts_.size());
}

QAccessibleInterface* WindowAccessible::child(int index) const {
    syncParts();
    const int own = QAccessibleWidget::childCount();
    if (index < own) return QAccessibleWidget::child(index);
    const int part = index - own;
    return part < static_cast<int>(parts_.size()) ? QAccessible::accessibleInterface(parts_[part]) : nullptr;
}

int WindowAccessible::indexOfChild(const QAccessibleInterface* child) const {
    syncParts();
    for (std::size_t i = 0; i < parts_.size(); ++i)
        if (QAccessible::accessibleInterface(parts_[i]) == child)
            return QAccessibleWidget::childCount() + static_cast<int>(i);
    return QAccessibleWidget::indexOfChild(child);
}

QStringList WindowAccessible::actionNames() const {
    QStringList names = QAccessibleWidget::actionNames();
    if (press_ && widget()->isEnabled()) names.prepend(pressAction());
    return names;
}

void WindowAccessible::doAction(const QString& name) {
    if (name == pressAction() && press_) {
        pressAt(QRect(QPoint(), deviceSize(widget())).center());
        return;
    }
    QAccessibleWidget::doAction(name);
}

QStringList WindowAccessible::keyBindingsForAction(const QString& name) const {
    if (name == pressAction() && press_ && widget()->focusPolicy() != Qt::NoFocus)
        return {QStringLiteral("Space")};
    return QAccessibleWidget::keyBindingsForAction(name);
}

// The press runs from the event loop, as Qt's own buttons do (animateClick): what it opens may
// run a modal loop, and the screen reader's call must have its answer before that.
void WindowAccessible::pressAt(QPoint at) const {
    Window* window = windowOf(widget());
    if (!window || !press_ || !widget()->isEnabled()) return;
    const HWND handle = window;
    QTimer::singleShot(0, widget(), [handle, at, press = press_] {
        if (Window* still = live(handle)) press(still, at);
    });
}

bool holdsControls(Window* self) {
    if (!self->parent || !self->widget) return false;
    const QRect area = self->widget->geometry();
    for (Window* other : self->parent->children)
        if (other != self && other->widget && other->kind != Kind::Static &&
            area.contains(other->widget->geometry().center()))
            return true;
    return false;
}

} // namespace platform::ui::controls

namespace {
std::function<void(QAccessibleEvent*)> announcementListener;
}

void platform::ui::heard(QAccessibleEvent* event) {
    if (announcementListener) announcementListener(event);
}

void platform::ui::announce(QAccessibleEvent* event) {
    heard(event);
    QAccessible::updateAccessibility(event);
}

void platform::ui::describeFrom(Window* label) {
    Window* control = live(label->describes);
    if (!control || !control->widget) return;
    const QString text = displayText(label->text).simplified();
    if (control->widget->accessibleDescription() == text) return;
    control->widget->setAccessibleDescription(text); // Qt tells screen readers
    QAccessibleEvent event(control->widget.data(), QAccessible::DescriptionChanged);
    heard(&event);
    // Said at once while the user works the control (readers that pass a description change by
    // hear it too).
    if (control->widget->hasFocus()) speak(text);
}

platform::ui::ReadersUntold::ReadersUntold()
    : before_(QAccessible::installUpdateHandler([](QAccessibleEvent*) {})) {}

platform::ui::ReadersUntold::~ReadersUntold() { QAccessible::installUpdateHandler(before_); }

void platform::ui::setAnnouncementListener(std::function<void(QAccessibleEvent*)> listener) {
    announcementListener = std::move(listener);
}

void platform::ui::installAccessibility() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    QAccessible::installFactory(controls::factory);
}

// ---- The calls screens make ----

using namespace platform::ui;

void platform::setAccessibleName(HWND handle, const std::u16string& name) {
    Window* window = live(handle);
    if (!window || !window->widget) return;
    controls::setControlName(window->widget, toQString(name));
    window->widget->setProperty("namedByLabel", false);
}

// A text a screen reader speaks at once, wherever the focus is: a notification that shows.
void platform::ui::speak(const QString& text) {
    QWidget* area = shellHost() ? shellHost()->dialogArea() : nullptr;
    if (!area || text.isEmpty()) return;
    static QPointer<QWidget> notice;
    if (!notice || notice->parentWidget() != area) {
        notice = new QWidget(area);
        notice->setObjectName(QStringLiteral("Announcement"));
        notice->setAttribute(Qt::WA_TransparentForMouseEvents);
        notice->setFocusPolicy(Qt::NoFocus);
        notice->setGeometry(0, 0, 1, 1);
    }
    notice->hide();
    notice->setAccessibleName(text);
    notice->show(); // Qt tells readers that it shows
    notice->lower();
    QAccessibleEvent shown(notice.data(), QAccessible::ObjectShow);
    heard(&shown);
}

void platform::setAccessibleText(HWND handle, const std::u16string& text) {
    Window* window = live(handle);
    if (!window || window->accessibleText == text) return;
    window->accessibleText = text;
    if (window->widget) {
        QAccessibleEvent event(window->widget.data(), QAccessible::DescriptionChanged);
        announce(&event);
        // A shown screen's new text is heard at once; readers speak a screen's description only
        // when it opens.
        if (window->kind == Kind::Dialog && window->widget->isVisible()) speak(displayText(text));
    }
}

void platform::setAccessibleParts(HWND handle, std::vector<AccessiblePart> parts) {
    Window* window = live(handle);
    if (!window) return;
    const bool hadParts = !window->accessibleParts.empty();
    window->accessibleParts = std::move(parts);
    ++window->accessiblePartsVersion;
    window->currentPart = 0;
    // A picture's parts are reached with Tab and the arrow keys as well as tapped.
    const bool hasParts = !window->accessibleParts.empty();
    if (window->kind == Kind::Static && window->widget && hadParts != hasParts)
        window->widget->setFocusPolicy(hasParts ? Qt::TabFocus : Qt::NoFocus);
    if (window->widget) {
        QAccessibleEvent event(window->widget.data(), QAccessible::ObjectReorder);
        announce(&event);
    }
}

void platform::setAccessibleDescribedBy(HWND control, HWND label) {
    Window* by = live(label);
    if (!by || !live(control)) return;
    by->describes = control;
    describeFrom(by);
}

void platform::setAccessibleBusy(HWND handle, bool busy) {
    Window* window = live(handle);
    if (!window || window->busy == busy) return;
    window->busy = busy;
    if (window->widget) {
        QAccessible::State changed;
        changed.busy = true;
        QAccessibleStateChangeEvent event(window->widget.data(), changed);
        announce(&event);
    }
}
